#include "shell/file_import.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/process.h"

namespace fs = std::filesystem;

namespace {

bool isSongFile(const fs::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".fff";
}

// A song file needs no conversion: it is copied as it is, unless it already is the one there.
void copySongFile(const fs::path& file, const fs::path& folder) {
    const fs::path target = folder / file.filename();
    std::error_code error;
    if (fs::equivalent(file, target, error)) return;
    error.clear();
    fs::copy_file(file, target, fs::copy_options::overwrite_existing, error);
    if (error)
        std::fprintf(stderr, "Could not import file: %s: %s\n", file.c_str(),
                     error.message().c_str());
}

} // namespace

int importOpenedFiles(const std::string& converterDirectory, const UserFolders& folders,
                      const std::vector<std::string>& files) {
    const fs::path imported = importedSongsFolder(folders);
    std::vector<std::string> toConvert;
    for (const std::string& file : files) {
        if (!isSongFile(file)) {
            toConvert.push_back(file);
            continue;
        }
        std::error_code ignored; // a failed copy says why
        fs::create_directories(imported, ignored);
        copySongFile(file, imported);
    }
    if (toConvert.empty()) return 0;

    ProcessRequest request =
        converterRequest(programIn(converterDirectory, "notepress"), toConvert, folders.data);
    request.wait = true;
    return runProcess(request).error;
}
