// Paints the game's textures and the "notes2" atlas into a directory (normally
// runtime/Data/Textures) and, when a second directory is given, the program's icons into it
// (normally desktop/icons). The output is the same, byte for byte, on every run.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/textures/texture_set.h"

namespace {

bool makeDirectory(const std::string& directory) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec) std::fprintf(stderr, "%s: %s\n", directory.c_str(), ec.message().c_str());
    return !ec;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s <texture directory> [<icon directory>]\n",
                     argc > 0 ? argv[0] : "make_textures");
        return 2;
    }
    const std::string directory = argv[1];
    if (!makeDirectory(directory)) return 1;
    std::string error;
    if (!writeTextureSet(directory, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("wrote %zu files into %s\n", textureSetFiles().size(), directory.c_str());
    if (argc == 3) {
        const std::string icons = argv[2];
        if (!makeDirectory(icons)) return 1;
        if (!writeAppIcons(icons, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        std::printf("wrote %zu files into %s\n", appIconFiles().size(), icons.c_str());
    }
    return 0;
}
