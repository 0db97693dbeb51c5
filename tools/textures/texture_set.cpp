#include "tools/textures/texture_set.h"

#include "platform/file_replacement.h"
#include "tools/textures/art.h"

namespace {

struct Painter {
    const char* name;
    Image (*paint)();
};

const Painter painters[] = {
    {"cursor.png", paintCursor},
    {"NoteTop.png", paintNoteTop},
    {"NoteMid.png", paintNoteMiddle},
    {"NoteBot.png", paintNoteBottom},
    {"NoteWhite.png", paintWhiteKey},
    {"NoteBlack.png", paintBlackKey},
    {"Pixel.png", paintPixel},
    {"Bookmark.png", paintBookmark},
    {"BookmarkBar.png", paintBookmarkBar},
    {"FolderIcon.png", paintFolderIcon},
    {"MidiIcon.png", paintMidiIcon},
    {"TextBackground.png", paintRowBackground},
    {"TrackBox.png", paintTrackBox},
    {"BoxSelect.png", paintOptionBox},
};

constexpr int appIconSizes[] = {64, 128, 256};

std::string appIconFile(int size) {
    return "cadenzio-" + std::to_string(size) + ".png";
}

} // namespace

std::vector<NamedImage> paintTextures() {
    std::vector<NamedImage> textures;
    for (const Painter& painter : painters) textures.push_back({painter.name, painter.paint()});
    return textures;
}

const std::vector<std::string>& atlasNames() {
    static const std::vector<std::string> names = {"NoteWhite.png", "NoteBlack.png", "NoteTop.png",
                                                   "NoteMid.png",   "NoteBot.png",   "Pixel.png"};
    return names;
}

Atlas buildTextureAtlas(const std::vector<NamedImage>& textures) {
    std::vector<const NamedImage*> members;
    for (const std::string& name : atlasNames())
        for (const NamedImage& texture : textures)
            if (texture.name == name) members.push_back(&texture);
    return buildAtlas(members);
}

std::vector<std::string> textureSetFiles() {
    std::vector<std::string> files;
    for (const Painter& painter : painters) files.push_back(painter.name);
    files.push_back("notes2.png");
    files.push_back("notes2.txt");
    return files;
}

bool writeTextureSet(const std::string& directory, std::string& error) {
    const std::vector<NamedImage> textures = paintTextures();
    for (const NamedImage& texture : textures)
        if (!writePng(texture.image, directory + "/" + texture.name, error)) return false;
    const Atlas atlas = buildTextureAtlas(textures);
    if (!writePng(atlas.image, directory + "/notes2.png", error)) return false;

    const std::string listPath = directory + "/notes2.txt";
    const std::string list = atlasList(atlas);
    return replaceFile(listPath, list.data(), list.size(), &error);
}

std::vector<std::string> appIconFiles() {
    std::vector<std::string> files;
    for (int size : appIconSizes) files.push_back(appIconFile(size));
    return files;
}

bool writeAppIcons(const std::string& directory, std::string& error) {
    for (int size : appIconSizes)
        if (!writePng(paintAppIcon(size), directory + "/" + appIconFile(size), error)) return false;
    return true;
}
