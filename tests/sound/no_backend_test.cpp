// A machine without any MIDI back end: no ALSA sequencer and no JACK server.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "sound/midi_devices.h"
#include "sound/settings_file.h"
#include "sound/sound_output.h"
#include "sound/sound_state.h"
#include "sound/sound_system.h"

namespace fs = std::filesystem;

TEST(NoMidiBackEnd, StartsOnThePseudoDevicesAndSaysSoOnce) {
    if (fs::exists("/dev/snd/seq")) GTEST_SKIP() << "this machine has an ALSA sequencer";
    // A server name nobody runs, so that no JACK server is found either.
    setenv("JACK_DEFAULT_SERVER", ("cadenzio-absent-" + std::to_string(getpid())).c_str(), 1);
    setenv("SDL_AUDIODRIVER", "cadenzio-no-such-driver", 1);
    const fs::path path =
        fs::temp_directory_path() / ("cadenzio-nobackend-" + std::to_string(getpid()) + ".dat");
    fs::remove(path);

    SoundState app;
    loadSettings(app, path.string());
    EXPECT_EQ(fs::file_size(path), 276u);
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(startMidiDevices(app));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(app.midiIn, nullptr);
    EXPECT_EQ(app.midiOut, nullptr);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

    EXPECT_EQ(app.inputPort, -1);
    EXPECT_EQ(app.outputPort, -1);
    EXPECT_STREQ(app.inputDevices[app.selectedInputDevice].name, "Virtual Keyboard");
    EXPECT_STREQ(app.outputDevices[app.selectedOutputDevice].name, "Simple Synth");
    soundStartup(app);
    EXPECT_EQ(app.outputKind, SoundOutputKindWave);

    // Everything the menus and the game do with the devices still works, with no ports.
    EXPECT_NO_THROW({
        ensureMidiInput(app);
        openInputPort(app, 0);
        openOutputPort(app, 0);
        learnKeyRange(app, 60, 0);
        app.output->play({0x90, 60, 100});
        app.output->stop({0x80, 60, 0});
    });
    std::vector<uint8_t> message{1, 2, 3};
    EXPECT_FALSE(midiInputOpen(app));
    EXPECT_FALSE(nextMidiMessage(app, message));
    EXPECT_TRUE(message.empty());
    EXPECT_TRUE(inputPortDevices(app).empty());
    EXPECT_TRUE(outputPortDevices(app).empty());
    EXPECT_EQ(app.outputKind, SoundOutputKindWave);
    EXPECT_EQ(app.inputPort, -1);

    soundShutdown(app);
    EXPECT_TRUE(saveSettings(app, path.string()));
    stopMidiDevices(app);
    EXPECT_EQ(fs::file_size(path), 276u);
    fs::remove(path);
}
