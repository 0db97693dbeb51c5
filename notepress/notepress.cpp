#include "notepress/notepress.h"

#include <filesystem>
#include <new>
#include <system_error>

#include "songs/conversion.h"
#include "songs/midi_reader.h"
#include "songs/song_file.h"

const char* const importedSongsFolder = "Imported Songs";

std::string songFileName(const std::string& inputPath) {
    // Both separators count, whichever comes last: a name that kept a slash would put the file
    // in a subfolder, or through "..", outside the import folder.
    std::string name = inputPath;
    const size_t separator = name.find_last_of("\\/");
    if (separator != std::string::npos) name.erase(0, separator + 1);
    const size_t stop = name.rfind('.');
    if (stop != std::string::npos) name.erase(stop);
    return name + ".fff";
}

std::string songFilePath(const std::string& inputPath) {
    return std::string(importedSongsFolder) + "/" + songFileName(inputPath);
}

static bool writeImported(const Song& song, const std::string& path) {
    if (writeSongFile(song, path)) return true;
    // The folder is made only when a write fails, then the write is tried once more.
    std::error_code ignored;
    std::filesystem::create_directory(importedSongsFolder, ignored);
    return writeSongFile(song, path);
}

// The same file however its paths are spelled (links, "./", hard links): compared by identity.
static bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

// Anything at all under that name, even a dangling link or a folder.
static bool entryExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() !=
           std::filesystem::file_type::not_found;
}

bool importFile(Song& song, const std::string& inputPath, std::ostream& err) {
    const std::string outputPath = songFilePath(inputPath);
    if (sameFile(inputPath, outputPath)) {
        err << "Not converted, the input is its own song file: " << inputPath << '\n';
        return false;
    }
    bool converted = false, tooLarge = false;
    try {
        converted = readMidiFile(song, inputPath);
        if (converted) convertTracks(song);
    } catch (const std::bad_alloc&) {
        tooLarge = true;
    }
    if (tooLarge) {
        // Memory ran out: the file is taken for damaged, and nothing is written for it.
        err << "Could not open file: " << inputPath << " (too large)\n";
        clear(song);
        return false;
    }
    if (!converted) {
        err << "Could not open file: " << inputPath << '\n';
        clear(song); // whatever the reader kept; the song file then holds no tracks
        // An empty song stands in for a missing one only: it never replaces a song file.
        if (entryExists(outputPath)) return false;
    }
    if (!writeImported(song, outputPath)) {
        err << "Could not write file: " << outputPath << '\n';
        converted = false;
    }
    clear(song);
    return converted;
}

int runNotepress(const std::vector<std::string>& inputPaths, std::ostream& err) {
    if (inputPaths.empty()) {
        err << "Usage: notepress <MIDI file>... (writes \"" << importedSongsFolder
            << "/<name>.fff\" for each)\n";
        return 0;
    }
    Song song;
    bool allConverted = true;
    for (const std::string& path : inputPaths) {
        if (!importFile(song, path, err)) allConverted = false;
    }
    return allConverted ? 0 : 1;
}
