#include "platform/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// $HOME, or the account's home folder when it is unset.
const char* homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    const passwd* account = getpwuid(getuid());
    return account ? account->pw_dir : nullptr;
}

bool makeFolder(const std::string& folder) {
    if (folder.empty()) return true;
    std::error_code error;
    fs::create_directories(folder, error);
    if (!error) return true;
    std::fprintf(stderr, "Cadenzio: cannot make the folder %s: %s\n", folder.c_str(),
                 error.message().c_str());
    return false;
}

// The paths made absolute against our working folder, for a program started in another one.
std::vector<std::string> absolutePaths(const std::vector<std::string>& paths) {
    std::vector<std::string> absolute;
    for (const std::string& path : paths) {
        std::error_code error;
        const fs::path made = path.empty() ? fs::path() : fs::absolute(path, error);
        absolute.push_back(error ? path : made.string());
    }
    return absolute;
}

} // namespace

std::string xdgBaseFolder(const char* value, const char* home, const char* fallback) {
    if (value && value[0] == '/') return value;
    if (home && home[0] == '/') return std::string(home) + fallback;
    return {};
}

UserFolders findUserFolders(const std::string& executableDirectory) {
    UserFolders folders;
    if (executableDirectory.empty()) return folders;
    const fs::path share = fs::path(executableDirectory).parent_path() / "share" / "cadenzio";
    std::error_code error;
    if (!fs::is_directory(share / "Data" / "Textures", error)) return folders;

    folders.installed = true;
    folders.textures = (share / "Data" / "Textures").string();
    folders.songs = (share / "Songs").string();
    const char* home = homeFolder();
    const std::string config = xdgBaseFolder(std::getenv("XDG_CONFIG_HOME"), home, "/.config");
    const std::string data = xdgBaseFolder(std::getenv("XDG_DATA_HOME"), home, "/.local/share");
    // Without any home the working folder is all there is.
    if (!config.empty()) folders.config = config + "/cadenzio";
    if (!data.empty()) folders.data = data + "/cadenzio";
    return folders;
}

std::string fileIn(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : programIn(folder, name);
}

std::string importedSongsFolder(const UserFolders& folders) {
    return programIn(folders.data, "Imported Songs");
}

bool makeUserFolders(const UserFolders& folders) {
    const bool config = makeFolder(folders.config);
    const bool data = makeFolder(folders.data);
    return config && data;
}

ProcessRequest converterRequest(const std::string& program, const std::vector<std::string>& files,
                                const std::string& dataFolder) {
    ProcessRequest request;
    request.program = program;
    request.arguments = dataFolder.empty() ? files : absolutePaths(files);
    request.workingFolder = dataFolder;
    return request;
}
