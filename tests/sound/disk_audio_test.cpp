// The Simple Synth heard through SDL's disk audio driver, which writes the device's samples to a
// file in real time.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "sound/simple_synth.h"
#include "sound/sound_output.h"
#include "sound/sound_state.h"
#include "sound/sound_system.h"

namespace fs = std::filesystem;

namespace {

constexpr uint8_t silence = 0x80; // 8-bit unsigned samples; the synth's lie in 0..20

uintmax_t sizeOf(const fs::path& path) {
    std::error_code error;
    const uintmax_t size = fs::file_size(path, error);
    return error ? 0 : size;
}

// Waits until the device has written at least more bytes after the given size; the file grows
// in step with the audio clock.
bool waitForBytes(const fs::path& path, uintmax_t size) {
    for (int i = 0; i < 2000; ++i) {
        if (sizeOf(path) >= size) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// Length of the run of s starting at from that equals the start of wave.
size_t matching(const std::vector<uint8_t>& s, size_t from, const std::vector<uint8_t>& wave) {
    size_t n = 0;
    while (from + n < s.size() && n < wave.size() && s[from + n] == wave[n]) ++n;
    return n;
}

} // namespace

TEST(DiskAudio, LastStruckKeySoundsUntilEveryKeyIsReleased) {
    const fs::path file =
        fs::temp_directory_path() / ("cadenzio-audio-" + std::to_string(getpid()) + ".raw");
    fs::remove(file);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);

    SoundState app; // no output port: start-up chooses the Simple Synth
    soundStartup(app);
    ASSERT_EQ(app.outputKind, SoundOutputKindWave);
    const std::vector<uint8_t> keyA(app.synthVoices[69].waveImage.begin() + 44,
                                    app.synthVoices[69].waveImage.end());
    const std::vector<uint8_t> keyB(app.synthVoices[60].waveImage.begin() + 44,
                                    app.synthVoices[60].waveImage.end());
    SoundOutputManager& out = *app.output;

    out.play({0x90, 69, 100});
    ASSERT_TRUE(waitForBytes(file, 2048)) << "the disk audio driver wrote nothing";
    out.play({0x90, 60, 100}); // cuts key A off
    ASSERT_TRUE(waitForBytes(file, sizeOf(file) + 4096));
    out.stop({0x80, 69, 0}); // key B is still held: it keeps sounding
    const uintmax_t releasedA = sizeOf(file);
    ASSERT_TRUE(waitForBytes(file, releasedA + 8192));
    out.stop({0x80, 60, 0}); // the last key: silence
    ASSERT_TRUE(waitForBytes(file, sizeOf(file) + 8192));
    soundShutdown(app); // closes the device, so the file is complete

    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> s{std::istreambuf_iterator<char>(in), {}};
    fs::remove(file);

    size_t at = 0;
    while (at < s.size() && s[at] == silence) ++at;
    ASSERT_LT(at, s.size());
    // Key A from its first sample, then key B from its first sample where A was cut off. Key A's
    // run is cut where key B's whole beginning follows.
    size_t runA = 0;
    for (size_t n = 1; n <= matching(s, at, keyA); ++n) {
        if (matching(s, at + n, keyB) >= 1024) {
            runA = n;
            break;
        }
    }
    ASSERT_GT(runA, 0u) << "key A was not followed by the start of key B";
    EXPECT_LT(runA, keyA.size());
    const size_t startB = at + runA;
    const size_t runB = matching(s, startB, keyB);
    // Releasing A left B sounding: B's run reaches well past the moment A was released (the file
    // size then lags the device by at most a stdio buffer and a device buffer).
    EXPECT_GT(startB + runB, releasedA + 6144);
    EXPECT_LT(runB, keyB.size());
    // After the last release only silence follows.
    size_t tail = startB + runB;
    ASSERT_GT(s.size() - tail, 2048u);
    for (; tail < s.size(); ++tail) ASSERT_EQ(s[tail], silence) << "byte " << tail;
}
