#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/user_folders.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

// A build folder keeps everything in the working folder; a program with share/cadenzio beside
// its bin folder keeps the user's files in the XDG folders, a relative XDG value being ignored.
TEST(UserFolders, InstalledOnlyBesideSharedDataAndThenInTheXdgFolders) {
    TempFolder temp;
    fs::create_directories(temp.path / "bin");
    const UserFolders built = findUserFolders((temp.path / "bin").string());
    EXPECT_FALSE(built.installed);
    EXPECT_EQ(fileIn(built.config, "Settings.dat"), "Settings.dat");
    EXPECT_EQ(importedSongsFolder(built), "./Imported Songs");
    EXPECT_EQ(built.textures, "Data/Textures");

    fs::create_directories(temp.path / "share/cadenzio/Data/Textures");
    setenv("HOME", (temp.path / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (temp.path / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", "relative/data", 1);
    const UserFolders installed = findUserFolders((temp.path / "bin").string());
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
    EXPECT_TRUE(installed.installed);
    EXPECT_EQ(installed.textures, (temp.path / "share/cadenzio/Data/Textures").string());
    EXPECT_EQ(installed.songs, (temp.path / "share/cadenzio/Songs").string());
    EXPECT_EQ(installed.config, (temp.path / "config/cadenzio").string());
    EXPECT_EQ(installed.data, (temp.path / "home/.local/share/cadenzio").string());
    EXPECT_EQ(importedSongsFolder(installed),
              (temp.path / "home/.local/share/cadenzio/Imported Songs").string());
    EXPECT_TRUE(makeUserFolders(installed));
    EXPECT_TRUE(fs::is_directory(installed.config));
    EXPECT_TRUE(fs::is_directory(installed.data));

    EXPECT_EQ(xdgBaseFolder(nullptr, "/home/u", "/.config"), "/home/u/.config");
    EXPECT_EQ(xdgBaseFolder("", "/home/u", "/.config"), "/home/u/.config");
    EXPECT_EQ(xdgBaseFolder(nullptr, nullptr, "/.config"), "");
}
