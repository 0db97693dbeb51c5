#pragma once
// Where Cadenzio finds its own files and keeps the user's. Run from the source tree (or any build
// folder) everything lives in the working folder, as it always has; installed, the program's
// files are under the prefix and the user's under the XDG base folders, and nothing is written
// under the prefix.
#include <string>
#include <vector>

#include "platform/process.h"

struct UserFolders {
    bool installed = false;
    std::string textures = "Data/Textures"; // the textures and the atlas
    std::string songs = "./Songs";          // the demo songs
    // "Settings.dat", "imgui.ini" and the preferences; empty: the working folder.
    std::string config;
    // "Imported Songs" and the practice history; empty: the working folder.
    std::string data;
};

// The folders of a program in executableDirectory. It counts as installed when
// executableDirectory/../share/cadenzio/Data/Textures exists; the user's folders are then
// $XDG_CONFIG_HOME/cadenzio and $XDG_DATA_HOME/cadenzio, by default ~/.config/cadenzio and
// ~/.local/share/cadenzio.
UserFolders findUserFolders(const std::string& executableDirectory);

// An XDG base folder: value when it is an absolute path (the XDG rules ignore a relative one),
// else home + fallback (such as "/.config"); empty when neither gives one.
std::string xdgBaseFolder(const char* value, const char* home, const char* fallback);

// name in folder; name alone, relative to the working folder, for an empty folder.
std::string fileIn(const std::string& folder, const std::string& name);

// The folder the converter writes into: "Imported Songs" in the data folder.
std::string importedSongsFolder(const UserFolders& folders);

// Creates the config and data folders with their parents where missing (an installed program's
// first start). False, with a line on standard error, when one cannot be made.
bool makeUserFolders(const UserFolders& folders);

// The converter (program) started on files so that it writes into the user's "Imported Songs":
// in dataFolder, with the files' paths made absolute, when there is one; else in ours.
ProcessRequest converterRequest(const std::string& program, const std::vector<std::string>& files,
                                const std::string& dataFolder);
