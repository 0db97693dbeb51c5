#include "app/preferences.h"

#include <mutex>

#include "app/app_context.h"
#include "app/song_folders.h"
#include "platform/file_reader.h"

namespace {

constexpr const char* playTypesPrefix = "play types ";
constexpr size_t playTypesSongLimit = 2000;

std::string folderKey(size_t index) {
    return "song folder " + std::to_string(index + 1);
}

std::string flag(bool value) {
    return value ? "1" : "0";
}

} // namespace

void loadPreferences(AppContext& app, const std::string& path) {
    KeyValueFile& file = app.preferences;
    loadKeyValueFile(file, path);
    readNumber(findValue(file, "latency"), 0.0, 10.0, app.latency);
    PlayPreferences& play = app.play;
    readNumber(findValue(file, "song speed"), 0.1, 3.0, play.songSpeed);
    readNumber(findValue(file, "note spread"), 100.0, 1200.0, play.noteSpread);
    readNumber(findValue(file, "input volume"), 0.0, 3.9, play.inputVolume);
    readFlag(findValue(file, "fancy graphics"), play.fancyGraphics);
    readFlag(findValue(file, "fullscreen"), play.fullscreen);
    readFlag(findValue(file, "wait for me"), play.waitForMe);
    readFlag(findValue(file, "speed trainer"), play.speedTrainer);
    if (!app.songFolders) return;
    std::lock_guard<std::mutex> lock(app.folderLock);
    for (size_t i = 0; i < app.songFolders->children.size(); ++i) {
        const std::string* folder = findValue(file, folderKey(i));
        if (!folder || folder->empty()) continue;
        // The settings page edits a path in a buffer of 256 bytes.
        std::string path = unescapeText(*folder);
        if (path.size() < 256) app.songFolders->children[i]->path = std::move(path);
    }
}

bool savePreferences(AppContext& app) {
    KeyValueFile& file = app.preferences;
    setValue(file, "latency", formatNumber(app.latency));
    if (app.songFolders) {
        std::lock_guard<std::mutex> lock(app.folderLock);
        for (size_t i = 0; i < app.songFolders->children.size(); ++i)
            setValue(file, folderKey(i), escapeText(app.songFolders->children[i]->path));
    }
    const PlayPreferences& play = app.play;
    setValue(file, "song speed", formatNumber(play.songSpeed));
    setValue(file, "note spread", formatNumber(play.noteSpread));
    setValue(file, "input volume", formatNumber(play.inputVolume));
    setValue(file, "fancy graphics", flag(play.fancyGraphics));
    setValue(file, "fullscreen", flag(play.fullscreen));
    setValue(file, "wait for me", flag(play.waitForMe));
    setValue(file, "speed trainer", flag(play.speedTrainer));
    return saveKeyValueFile(file);
}

std::string songKey(const FolderNode& file) {
    if (file.kind != FolderNode::MidiFile && file.kind != FolderNode::SongFile) return {};
    // The song folder is the ancestor just below the root.
    const FolderNode* top = file.parent;
    while (top && top->parent && top->parent->parent) top = top->parent;
    if (!top) return {};
    std::string inside = file.path;
    if (inside.compare(0, top->path.size(), top->path) == 0 && inside.size() > top->path.size() &&
        inside[top->path.size()] == '/')
        inside = inside.substr(top->path.size() + 1);
    FileReader reader;
    if (!openForReading(reader, file.path)) return {};
    return escapeText(inside) + " (" + std::to_string(reader.size) + " bytes)";
}

void rememberPlayTypes(KeyValueFile& file, const std::string& key,
                       const std::vector<Track>& tracks) {
    if (key.empty()) return;
    std::string value;
    for (const Track& track : tracks) {
        if (!value.empty()) value += ' ';
        value += std::to_string(int(track.playType));
    }
    setValueLast(file, playTypesPrefix + key, value);
    keepLastWithPrefix(file, playTypesPrefix, playTypesSongLimit);
}

bool restorePlayTypes(const KeyValueFile& file, const std::string& key,
                      std::vector<Track>& tracks) {
    if (key.empty()) return false;
    const std::string* value = findValue(file, playTypesPrefix + key);
    if (!value) return false;
    std::vector<PlayType> types;
    for (char c : *value) {
        if (c == ' ') continue;
        if (c < '0' || c > '4') return false;
        types.push_back(PlayType(c - '0'));
    }
    if (types.size() != tracks.size()) return false;
    for (size_t i = 0; i < tracks.size(); ++i) tracks[i].playType = types[i];
    return true;
}
