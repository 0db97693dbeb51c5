// The note input's MIDI readers and the drain, and the play waiting for the player, against a
// private JACK server (tests/support/with_jack.sh), with a virtual keyboard as the other end.
#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>

#include <cstring>
#include <memory>

#include "app/app_context.h"
#include "game/game_state.h"
#include "game/keyboard_view.h"
#include "game/note_input.h"
#include "play_fixture.h"
#include "sound/midi_devices.h"
#include "sound/sound_output.h"
#include "support/midi_waits.h"

namespace {

using Message = std::vector<uint8_t>;

} // namespace

TEST(GameMidiInput, ReadersPlayAndTheDrainOnlyReleases) {
    ASSERT_NE(std::getenv("JACK_DEFAULT_SERVER"), nullptr) << "run through with_jack.sh";
    RtMidiOut keys(RtMidi::UNIX_JACK, "Test Keys");
    keys.openVirtualPort("out");
    auto app = std::make_unique<AppContext>();
    app->sound.inputDevices.push_back(InputDeviceRecord{});
    app->sound.outputDevices.push_back(OutputDeviceRecord{});
    startMidiDevices(app->sound);
    if (!midiInputOpen(app->sound)) GTEST_SKIP() << "no JACK input port";
    std::memset(activeCounts, 0, sizeof activeCounts);
    soundingTotal = 0;
    soundMessage.assign(3, 0);
    setUpNoteInput();
    std::vector<Message> sent;
    app->sound.output =
        std::make_unique<SoundOutputMidi>([&](const Message& message) { sent.push_back(message); });

    const Message probe{0x80, 0, 0};
    Message got;
    ASSERT_TRUE(connectionCarries([&] { keys.sendMessage(&probe); },
                                  [&] { return nextMidiMessage(app->sound, got); }));

    const Message menuNote{0x90, 60, 50}, gameNote{0x91, 64, 50};
    keys.sendMessage(&menuNote);
    ASSERT_TRUE(eventually([&] {
        readMenuMidiInput(*app);
        return noteInput.held[60] == 0;
    }));
    PlayContext play;
    keys.sendMessage(&gameNote);
    ASSERT_TRUE(eventually([&] {
        readGameMidiInput(*app, play);
        return noteInput.held[64] == 0;
    }));
    EXPECT_EQ(sent, (std::vector<Message>{{0x90, 60, 50}, {0x91, 64, 100}}));

    // Frames without a reader: new notes stay silent, releases still end their holds.
    sent.clear();
    for (const Message& message :
         std::vector<Message>{{0x90, 62, 80}, {0x80, 60, 0}, {0xC0, 3}, {0x91, 64, 0}}) {
        keys.sendMessage(&message);
    }
    ASSERT_TRUE(eventually([&] {
        drainMidiInput(*app);
        return noteInput.held[64] == -1;
    }));
    EXPECT_EQ(sent, (std::vector<Message>{{0x80, 60, 0}, {0x91, 64, 0}}));
    EXPECT_EQ(noteInput.held[60], -1);
    EXPECT_EQ(noteInput.held[62], -1);
    EXPECT_EQ(soundingTotal, 0);
    EXPECT_FALSE(nextMidiMessage(app->sound, got));

    app->sound.output.reset();
    stopMidiDevices(app->sound);
}

// Wait for Me against a real port: the right hand's chords come late from the instrument, and the
// computer's left hand, due with or after each chord, waits for it.
TEST(GameMidiInput, TheLeftHandWaitsForTheRightHandsLateChords) {
    ASSERT_NE(std::getenv("JACK_DEFAULT_SERVER"), nullptr) << "run through with_jack.sh";
    playtest::useTexturesWithoutGpu();
    RtMidiOut keys(RtMidi::UNIX_JACK, "Test Keys");
    keys.openVirtualPort("out");
    auto app = std::make_unique<AppContext>();
    app->sound.inputDevices.push_back(InputDeviceRecord{});
    app->sound.outputDevices.push_back(OutputDeviceRecord{});
    startMidiDevices(app->sound);
    if (!midiInputOpen(app->sound)) GTEST_SKIP() << "no JACK input port";
    std::memset(activeCounts, 0, sizeof activeCounts);
    soundingTotal = 0;
    soundMessage.assign(3, 0);
    setUpNoteInput();
    const Message probe{0x80, 0, 0};
    Message got;
    ASSERT_TRUE(connectionCarries([&] { keys.sendMessage(&probe); },
                                  [&] { return nextMidiMessage(app->sound, got); }));

    struct Heard {
        Message message;
        double songTime;
    };
    std::vector<Heard> heard;
    std::unique_ptr<GameState> game;
    app->sound.output = std::make_unique<SoundOutputMidi>([&](const Message& message) {
        heard.push_back({message, game ? game->songTime : 0});
    });
    KeyboardView view;
    initialiseKeyboardView(view, *app, 1920, 1080);
    app->keyboardView = &view;
    input = InputDevices{};

    // The right hand's groups at 0.5, 1.0 and 1.5 s; the left hand (channel 1) with each and
    // between them.
    const struct {
        double start;
        std::vector<uint8_t> keys;
    } chords[] = {{0.5, {72, 76}}, {1.0, {74}}, {1.5, {76, 79}}};
    Track right, left;
    right.playType = PlayType::RightHand;
    right.colour = 1;
    for (const auto& chord : chords)
        for (uint8_t key : chord.keys) right.notes.push_back(playtest::note(chord.start, 0.3, key));
    left.playType = PlayType::LeftHand;
    left.colour = 2;
    for (double start : {0.5, 0.75, 1.0, 1.25, 1.5})
        left.notes.push_back(playtest::note(start, 0.2, uint8_t(48 + start * 4), 1));
    for (Track* track : {&right, &left}) {
        track->length = 2.0f;
        for (const Note& n : track->notes) {
            track->lowestKey = std::min(track->lowestKey, n.key);
            track->highestKey = std::max(track->highestKey, n.key);
        }
        app->song.tracks.push_back(*track);
    }
    app->playMode = 1;
    app->play.waitForMe = true;
    game = std::make_unique<GameState>(*app, 1920, 1080);
    game->enter();
    const auto frame = [&] { game->update(1.0f / 60); };

    for (const auto& chord : chords) {
        for (int i = 0; i < 600 && !game->practice.wait.holding; ++i) frame();
        ASSERT_TRUE(game->practice.wait.holding) << chord.start;
        const double held = game->songTime;
        for (int i = 0; i < 30; ++i) frame(); // late: the clock stands meanwhile
        EXPECT_EQ(game->songTime, held);
        for (uint8_t key : chord.keys) {
            const Message on{0x90, key, 80}, off{0x80, key, 0};
            keys.sendMessage(&on);
            keys.sendMessage(&off);
        }
        ASSERT_TRUE(eventually([&] {
            frame();
            return game->songTime > held;
        })) << chord.start;
    }
    while (game->songTime < 1.9) frame();

    // Each left-hand note starts only after every key of the right hand's latest group at or
    // before its time was heard, and at its own time: the clock went on without a jump.
    size_t leftNotes = 0;
    for (size_t i = 0; i < heard.size(); ++i) {
        const Message& m = heard[i].message;
        if (m[0] != 0x91) continue;
        ++leftNotes;
        const double start = (m[1] - 48) / 4.0;
        EXPECT_NEAR(heard[i].songTime, start, 1.0 / 60 + 0.002) << int(m[1]);
        const auto* group = &chords[0];
        for (const auto& chord : chords)
            if (chord.start <= start) group = &chord;
        for (uint8_t key : group->keys) {
            bool before = false;
            for (size_t j = 0; j < i; ++j)
                before = before || (heard[j].message == Message{0x90, key, 127});
            EXPECT_TRUE(before) << "key " << int(key) << " before left hand key " << int(m[1]);
        }
    }
    EXPECT_EQ(leftNotes, 5u);
    game->leave();
    EXPECT_EQ(soundingTotal, 0);
    app->sound.output.reset();
    stopMidiDevices(app->sound);
    releaseTextureRegistry();
    setTextureSource(pngTextureSource());
}
