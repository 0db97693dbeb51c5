// The settings file reader, fed through a file as the program meets it: whatever it keeps must be
// lists the menus and the keyboard view can use.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "sound/settings_file.h"
#include "sound/sound_state.h"

namespace {

// Kept for the whole run (never destroyed), so the exit handler can still remove its folder.
const std::filesystem::path& settingsFolder() {
    static const auto* folder = new std::filesystem::path(
        std::filesystem::temp_directory_path() / ("settings_fuzzer-" + std::to_string(getpid())));
    return *folder;
}

const std::string& settingsPath() {
    static const auto* path = [] {
        std::filesystem::create_directories(settingsFolder());
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(settingsFolder(), ignored);
        });
        return new std::string((settingsFolder() / "Settings.dat").string());
    }();
    return *path;
}

void check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = settingsPath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    SoundState sound;
    loadSettings(sound, path);
    check(!sound.inputDevices.empty() && sound.inputDevices.size() <= 255);
    check(!sound.outputDevices.empty() && sound.outputDevices.size() <= 255);
    for (const InputDeviceRecord& r : sound.inputDevices) {
        check(std::memchr(r.name, '\0', sizeof r.name) != nullptr);
        check(r.minNote >= 0 && r.maxNote <= 127 && r.minNote <= r.maxNote);
    }
    for (const OutputDeviceRecord& r : sound.outputDevices)
        check(std::memchr(r.name, '\0', sizeof r.name) != nullptr);
    return 0;
}
