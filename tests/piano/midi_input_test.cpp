// The MIDI readers and the drain against a private JACK server
// (tests/support/with_jack.sh), with a virtual keyboard as the other end.
#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>

#include <memory>

#include "app/app_context.h"
#include "piano/note_readers.h"
#include "sound/midi_devices.h"
#include "sound/sound_output.h"
#include "support/jack_keyboard.h"
#include "support/midi_waits.h"

namespace {

using Message = std::vector<uint8_t>;

} // namespace

TEST(GameMidiInput, ReadersPlayAndTheDrainOnlyReleases) {
    ASSERT_NE(std::getenv("JACK_DEFAULT_SERVER"), nullptr) << "run through with_jack.sh";
    RtMidiOut keys(RtMidi::UNIX_JACK, "Test Keys");
    auto app = appListeningTo(keys);
    if (!midiInputOpen(app->sound)) GTEST_SKIP() << "no JACK input port";
    std::vector<Message> sent;
    app->sound.output = std::make_unique<SoundOutputMidi>(
        [&](const Message& message) { sent.push_back(message); }, app->sound.counts);

    const Message probe{0x80, 0, 0};
    Message got;
    ASSERT_TRUE(connectionCarries([&] { keys.sendMessage(&probe); },
                                  [&] { return nextMidiMessage(app->sound, got); }));

    const Message menuNote{0x90, 60, 50}, gameNote{0x91, 64, 50};
    keys.sendMessage(&menuNote);
    ASSERT_TRUE(eventually([&] {
        readMenuMidiInput(*app);
        return app->piano.held[60] == 0;
    }));
    // The input's thread sounds a note as the reader of the last frame asked.
    readGameMidiInput(*app, 2.0f, {});
    keys.sendMessage(&gameNote);
    ASSERT_TRUE(eventually([&] {
        readGameMidiInput(*app, 2.0f, {});
        return app->piano.held[64] == 0;
    }));
    EXPECT_EQ(sent, (std::vector<Message>{{0x90, 60, 50}, {0x91, 64, 100}}));

    // Frames without a reader: new notes stay silent, releases still end their holds.
    sent.clear();
    drainMidiInput(*app);
    for (const Message& message :
         std::vector<Message>{{0x90, 62, 80}, {0x80, 60, 0}, {0xC0, 3}, {0x91, 64, 0}}) {
        keys.sendMessage(&message);
    }
    ASSERT_TRUE(eventually([&] {
        drainMidiInput(*app);
        return app->piano.held[64] == -1;
    }));
    EXPECT_EQ(sent, (std::vector<Message>{{0x80, 60, 0}, {0x91, 64, 0}}));
    EXPECT_EQ(app->piano.held[60], -1);
    EXPECT_EQ(app->piano.held[62], -1);
    EXPECT_EQ(app->sound.counts.soundingTotal, 0);
    EXPECT_FALSE(nextMidiMessage(app->sound, got));

    app->sound.output.reset();
    stopMidiDevices(app->sound);
}
