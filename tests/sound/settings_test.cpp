#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "sound/device_names.h"
#include "sound/midi_devices.h"
#include "sound/settings_file.h"
#include "sound/sound_state.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("cadenzio-settings-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "Settings.dat").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    std::vector<uint8_t> fileBytes() const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void writeBytes(const std::vector<uint8_t>& bytes, size_t size) const {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(size));
    }

    fs::path dir;
    std::string path;
};

void putU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void putName(std::vector<uint8_t>& out, const char* text) {
    std::vector<uint8_t> name(128, 0);
    std::memcpy(name.data(), text, std::strlen(text));
    out.insert(out.end(), name.begin(), name.end());
}

bool isDefault(const SoundState& app) {
    return app.inputDevices.size() == 1 && app.outputDevices.size() == 1 &&
           std::strcmp(app.inputDevices[0].name, "Virtual Keyboard") == 0 &&
           std::strcmp(app.outputDevices[0].name, "Simple Synth") == 0;
}

} // namespace

TEST_F(SettingsFile, FirstStartWritesTheDefaultFileByteForByte) {
    SoundState app;
    loadSettings(app, path);
    ASSERT_TRUE(isDefault(app));

    std::vector<uint8_t> expected;
    putU32(expected, 1);
    putName(expected, "Virtual Keyboard");
    std::memcpy(&expected[4 + 17], "ce", 2); // what the default text leaves behind
    putU32(expected, 48);
    putU32(expected, 66);
    putU32(expected, 18);
    putU32(expected, 1);
    putName(expected, "Simple Synth");
    std::memcpy(&expected[148 + 13], " Device", 7);
    ASSERT_EQ(expected.size(), 276u);
    EXPECT_EQ(fileBytes(), expected);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(SettingsFile, LearnedRangeSurvivesSaveAndLoad) {
    SoundState app;
    loadSettings(app, path);
    app.inputDevices.push_back(newInputRecord("Stage Keys:Stage Keys MIDI 1"));
    app.outputDevices.push_back(newOutputRecord("Synth:in"));
    app.selectedInputDevice = 1;
    for (int key = 36; key <= 96; ++key) learnKeyRange(app, static_cast<uint8_t>(key), 0);
    ASSERT_TRUE(saveSettings(app, path));
    EXPECT_EQ(fs::file_size(path), 8u + 2 * 140 + 2 * 128);

    SoundState again;
    loadSettings(again, path);
    ASSERT_EQ(again.inputDevices.size(), 2u);
    ASSERT_EQ(again.outputDevices.size(), 2u);
    const InputDeviceRecord& keys = again.inputDevices[1];
    EXPECT_STREQ(keys.name, "Stage Keys:Stage Keys MIDI 1");
    EXPECT_EQ(keys.minNote, 36);
    EXPECT_EQ(keys.maxNote, 96);
    EXPECT_EQ(keys.noteSpan, 60);
    EXPECT_STREQ(again.outputDevices[1].name, "Synth:in");
    EXPECT_EQ(std::memcmp(&again.inputDevices[0], &app.inputDevices[0], 140), 0);
}

// A file of two input and two output records cut at every length: complete records are kept, an
// output list with none gets its default, and without one whole input record the defaults return.
TEST_F(SettingsFile, TruncatedFilesKeepTheirCompleteRecords) {
    SoundState source;
    buildDefaultDevices(source);
    source.inputDevices.push_back(newInputRecord("Keys A"));
    source.outputDevices.push_back(newOutputRecord("Synth B"));
    ASSERT_TRUE(saveSettings(source, path));
    const std::vector<uint8_t> whole = fileBytes();
    ASSERT_EQ(whole.size(), 544u);

    for (size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE("size " + std::to_string(size));
        writeBytes(whole, size);
        SoundState app;
        loadSettings(app, path);
        const size_t inputs = size < 144 ? 0 : size < 284 ? 1 : 2;
        if (inputs == 0) {
            ASSERT_TRUE(isDefault(app));
            EXPECT_EQ(fs::file_size(path), 276u); // the defaults are written at once
            continue;
        }
        ASSERT_EQ(app.inputDevices.size(), inputs);
        EXPECT_STREQ(app.inputDevices.back().name, inputs == 2 ? "Keys A" : "Virtual Keyboard");
        const size_t outputs = inputs < 2 || size < 416 ? 0 : size < 544 ? 1 : 2;
        ASSERT_EQ(app.outputDevices.size(), outputs == 0 ? 1 : outputs);
        EXPECT_STREQ(app.outputDevices[0].name, "Simple Synth");
    }
}

TEST_F(SettingsFile, DamagedCountsAndNames) {
    // A count far beyond the bytes that follow keeps the one record there.
    std::vector<uint8_t> bytes;
    putU32(bytes, 0xFFFFFFFFu);
    putName(bytes, "Only");
    putU32(bytes, 40);
    putU32(bytes, 80);
    putU32(bytes, 40);
    writeBytes(bytes, bytes.size());
    SoundState app;
    loadSettings(app, path);
    ASSERT_EQ(app.inputDevices.size(), 1u);
    EXPECT_STREQ(app.inputDevices[0].name, "Only");
    EXPECT_EQ(app.inputDevices[0].minNote, 40);
    ASSERT_EQ(app.outputDevices.size(), 1u);

    // A name without its zero byte ends at the record's last byte.
    bytes.clear();
    putU32(bytes, 1);
    bytes.insert(bytes.end(), 128, 'A');
    bytes.insert(bytes.end(), 12, 0);
    putU32(bytes, 0);
    writeBytes(bytes, bytes.size());
    SoundState unterminated;
    loadSettings(unterminated, path);
    ASSERT_EQ(unterminated.inputDevices.size(), 1u);
    EXPECT_EQ(std::string(unterminated.inputDevices[0].name), std::string(127, 'A'));
    EXPECT_STREQ(unterminated.outputDevices.at(0).name, "Simple Synth");

    // Key ranges outside the keys 0 to 127 start over; a sound one keeps its keys, and its span
    // follows them.
    bytes.clear();
    putU32(bytes, 4);
    const int32_t ranges[4][3] = {{-5, 66, 71}, {48, 300, 252}, {70, 40, -30}, {21, 108, 5}};
    for (const auto& range : ranges) {
        putName(bytes, "Keys");
        for (int32_t v : range) putU32(bytes, static_cast<uint32_t>(v));
    }
    putU32(bytes, 0);
    writeBytes(bytes, bytes.size());
    SoundState ranged;
    loadSettings(ranged, path);
    ASSERT_EQ(ranged.inputDevices.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        const InputDeviceRecord& r = ranged.inputDevices[i];
        EXPECT_EQ(std::vector<int32_t>({r.minNote, r.maxNote, r.noteSpan}),
                  std::vector<int32_t>({48, 66, 18}))
            << "record " << i;
    }
    const InputDeviceRecord& sound = ranged.inputDevices[3];
    EXPECT_EQ(std::vector<int32_t>({sound.minNote, sound.maxNote, sound.noteSpan}),
              std::vector<int32_t>({21, 108, 87}));

    // An empty input list cannot stand: nothing would be selectable.
    bytes.clear();
    putU32(bytes, 0);
    putU32(bytes, 0);
    writeBytes(bytes, bytes.size());
    SoundState empty;
    loadSettings(empty, path);
    EXPECT_TRUE(isDefault(empty));
}

// Only 255 records per list can be selected; more in a file are skipped, and a save writes 255.
TEST_F(SettingsFile, ListsBeyondTheSelectableRange) {
    std::vector<uint8_t> bytes;
    putU32(bytes, 300);
    for (int i = 0; i < 300; ++i) {
        putName(bytes, ("Keys " + std::to_string(i)).c_str());
        putU32(bytes, 48);
        putU32(bytes, 66);
        putU32(bytes, 18);
    }
    putU32(bytes, 1);
    putName(bytes, "Synth");
    writeBytes(bytes, bytes.size());

    SoundState app;
    loadSettings(app, path);
    ASSERT_EQ(app.inputDevices.size(), 255u);
    EXPECT_STREQ(app.inputDevices[254].name, "Keys 254");
    ASSERT_EQ(app.outputDevices.size(), 1u);
    EXPECT_STREQ(app.outputDevices[0].name, "Synth");

    app.inputDevices.push_back(newInputRecord("Met when full"));
    ASSERT_TRUE(saveSettings(app, path));
    EXPECT_EQ(fs::file_size(path), 8u + 255 * 140 + 128);
}

TEST_F(SettingsFile, FailedSavesSayWhy) {
    SoundState app;
    loadSettings(app, path);
    fs::remove(path);
    fs::create_directory(path);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(saveSettings(app, path));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Cannot save the settings: " + path + ": Is a directory\n");
    EXPECT_TRUE(fs::is_directory(path));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(saveSettings(app, (dir / "missing" / "Settings.dat").string()));
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}

// The fixed temporary name of older saves, planted as a link to a file of the user's.
TEST_F(SettingsFile, ALinkAtTheOldTemporaryNameIsLeftAlone) {
    const fs::path precious = dir / "precious.txt";
    std::ofstream(precious) << "mine";
    fs::create_symlink(precious, path + ".tmp");
    SoundState app;
    loadSettings(app, path);
    ASSERT_TRUE(saveSettings(app, path));
    EXPECT_EQ(readText(precious), "mine");
    EXPECT_FALSE(fs::is_symlink(path));
    EXPECT_EQ(fs::file_size(path), 276u);
}

// A pipe or a folder in the file's place: no wait for a writer, the defaults in memory, one line
// on standard error, and the entry stays as it was.
TEST_F(SettingsFile, WhatIsNoRegularFileIsNeitherWaitedOnNorReplaced) {
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    const child::Ending ending = child::run([&] {
        SoundState app;
        loadSettings(app, path);
        return isDefault(app) && !app.settingsSavable && !saveSettings(app, path) ? 0 : 1;
    });
    EXPECT_TRUE(ending.finished) << "loading a named pipe hangs";
    EXPECT_EQ(ending.status, 0);
    EXPECT_TRUE(fs::is_fifo(path));

    fs::remove(path);
    fs::create_directory(path);
    testing::internal::CaptureStderr();
    SoundState app;
    loadSettings(app, path);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(isDefault(app));
    EXPECT_FALSE(app.settingsSavable);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("not a regular file"), std::string::npos) << err;
    EXPECT_TRUE(fs::is_directory(path));
}

// Root reads anything, so the child loads as an unprivileged user. The file keeps every record;
// the run goes on with the defaults and says so once.
TEST_F(SettingsFile, AnUnreadableFileIsNeverSavedOver) {
    SoundState source;
    buildDefaultDevices(source);
    source.inputDevices.push_back(newInputRecord("Keys A"));
    ASSERT_TRUE(saveSettings(source, path));
    const std::vector<uint8_t> before = fileBytes();
    fs::permissions(path, fs::perms::none);
    fs::permissions(dir, fs::perms::all); // the save itself would be allowed
    const std::string errors = (dir / "errors.txt").string();
    const child::Ending ending = child::run([&] {
        const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || dup2(fd, 2) != 2 || !child::dropRoot()) return 2;
        SoundState app;
        loadSettings(app, path);
        if (!isDefault(app) || app.settingsSavable) return 1;
        return saveSettings(app, path) ? 1 : 0;
    });
    EXPECT_TRUE(ending.finished);
    EXPECT_EQ(ending.status, 0);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fileBytes(), before);
    const std::string err = readText(errors);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("unreadable"), std::string::npos) << err;
}
