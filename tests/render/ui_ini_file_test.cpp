// The UI's window settings go through our file layer, not the library's own loader and saver.
#include "render/ui_ini_file.h"

#include <gtest/gtest.h>
#include <imgui.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/child_process.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class UiIniFile : public testing::Test {
  protected:
    TempFolder temp;
    fs::path path = temp.path / "imgui.ini";
    void SetUp() override { ImGui::CreateContext(); }
    void TearDown() override { ImGui::DestroyContext(); }
};

const std::string placedWindow = "[Window][Debug##Default]\nPos=123,45\nSize=400,300\n"
                                 "Collapsed=0\n\n";

} // namespace

TEST_F(UiIniFile, SettingsSurviveLoadAndSaveAndTheLibraryOpensNothing) {
    writeBytes(path, std::vector<uint8_t>(placedWindow.begin(), placedWindow.end()));
    loadUiIniFile(path.c_str());
    EXPECT_EQ(ImGui::GetIO().IniFilename, nullptr);
    fs::remove(path);
    ImGui::GetIO().WantSaveIniSettings = true;
    saveUiIniFileWhenAsked(path.c_str());
    EXPECT_FALSE(ImGui::GetIO().WantSaveIniSettings);
    EXPECT_NE(readText(path).find("Pos=123,45"), std::string::npos) << readText(path);
    // Nothing asked: nothing written.
    fs::remove(path);
    saveUiIniFileWhenAsked(path.c_str());
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path), fs::directory_iterator()), 0);
}

// A pipe in the file's place is not waited on, and neither it nor a folder there is replaced.
TEST_F(UiIniFile, WhatIsNoRegularFileIsRefusedAndKept) {
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    const child::Ending ending = child::run([&] {
        loadUiIniFile(path.c_str());
        saveUiIniFile(path.c_str());
        return 0;
    });
    EXPECT_TRUE(ending.finished) << "loading the ini file from a named pipe hangs";
    EXPECT_EQ(ending.status, 0);
    EXPECT_TRUE(fs::is_fifo(path));

    fs::remove(path);
    fs::create_directory(path);
    testing::internal::CaptureStderr();
    loadUiIniFile(path.c_str());
    saveUiIniFile(path.c_str());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "\"" + path.string() +
                       "\" is not a regular file; the windows start at their default places\n");
    EXPECT_TRUE(fs::is_directory(path));
}
