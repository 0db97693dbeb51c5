// A demo song watched to its end on a private JACK server (tests/support/with_jack.sh): every
// note reaches a virtual synthesiser in order, at its time, and Escape leaves nothing sounding.
// And a play that waits for chords a virtual keyboard plays late.
#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "app/app_context.h"
#include "game/game_state.h"
#include "piano/keyboard_view.h"
#include "platform/input.h"
#include "play_fixture.h"
#include "songs/song_loading.h"
#include "sound/midi_devices.h"
#include "sound/midi_ports.h"
#include "sound/settings_file.h"
#include "sound/sound_output.h"
#include "sound/sound_system.h"
#include "support/jack_keyboard.h"
#include "support/midi_waits.h"

namespace {

using Message = std::vector<unsigned char>;

struct Sent {
    Message message;
    double songTime;
    size_t frame;
};

// A virtual synthesiser that records what reaches it. Messages come in through a callback: the
// library's own input queue is not safe between its thread and ours, and under load a message
// read while it is being written comes out empty and is lost.
class Synth {
  public:
    Synth() : in(RtMidi::UNIX_JACK, "Test Synth") {
        in.setCallback(&Synth::arrived, this);
        in.openVirtualPort("in");
    }
    bool take(Message& message) {
        std::lock_guard<std::mutex> guard(lock);
        if (messages.empty()) return false;
        message = std::move(messages.front());
        messages.pop_front();
        return true;
    }

  private:
    static void arrived(double, Message* message, void* self) {
        Synth& synth = *static_cast<Synth*>(self);
        std::lock_guard<std::mutex> guard(synth.lock);
        synth.messages.push_back(*message);
    }
    std::mutex lock;
    std::deque<Message> messages;
    RtMidiIn in; // last, so it stops calling back before the rest goes
};

// Takes what the synthesiser received until count messages are there or nothing more comes.
std::vector<Message> receive(Synth& synth, size_t count) {
    std::vector<Message> got;
    for (int idle = 0; idle < 1000 && got.size() < count;) {
        Message m;
        if (!synth.take(m)) {
            ++idle;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        idle = 0;
        got.push_back(m);
    }
    return got;
}

class PlaySound : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("JACK_DEFAULT_SERVER"), nullptr) << "run through with_jack.sh";
        playtest::useTexturesWithoutGpu();
        synth = std::make_unique<Synth>();
        buildDefaultDevices(app.sound);
        startMidiDevices(app.sound);
        ASSERT_NE(app.sound.midiOut, nullptr);
        if (app.sound.midiOut->getCurrentApi() != RtMidi::UNIX_JACK || app.sound.outputPort != 0)
            GTEST_SKIP() << "another MIDI back end offers ports on this machine";
        soundStartup(app.sound);
        // Every message the play sends is noted with the clock, then goes to the port.
        app.sound.output = std::make_unique<SoundOutputMidi>(
            [this](const Message& message) {
                sent.push_back({message, game ? game->songTime : 0, frames});
                sendLibraryMessage(app.sound.midiOut, message);
            },
            app.sound.counts);
        app.palette = defaultPalette();
        initialiseKeyboardView(view, 1920, 1080);
        app.keyboardView = &view;
        input = InputDevices{};
        waitForConnection();
    }
    void TearDown() override {
        game.reset();
        soundShutdown(app.sound);
        stopMidiDevices(app.sound);
        releaseTextureRegistry();
        setTextureSource(pngTextureSource());
    }
    // A new JACK connection carries events only from a later cycle on.
    void waitForConnection() {
        const Message probe{0x80, 0, 0};
        for (int i = 0; i < 500; ++i) {
            sendLibraryMessage(app.sound.midiOut, probe);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            Message m;
            if (synth->take(m)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                while (synth->take(m)) {
                }
                return;
            }
        }
        FAIL() << "the synthesiser never heard the program";
    }
    // One frame, then what it sent is taken off the synthesiser before the next: the frames run
    // much faster than real time, and a JACK cycle's port buffer holds only so many events.
    int32_t frame(bool escape = false) {
        std::memcpy(input.previousKeys, input.keys, sizeof input.keys);
        input.keys[ScanEscape] = escape ? 0x80 : 0;
        ++frames;
        const int32_t code = game->update(1.0f / 60);
        collect();
        return code;
    }
    // After a wait that ended short, a message is lost: the test fails on the counts, without
    // waiting again at every later frame.
    void collect() {
        if (received.size() >= sent.size() || lost) return;
        const size_t wanted = sent.size() - received.size();
        const std::vector<Message> more = receive(*synth, wanted);
        received.insert(received.end(), more.begin(), more.end());
        lost = more.size() < wanted;
    }

    AppContext app;
    KeyboardView view;
    std::unique_ptr<Synth> synth;
    std::unique_ptr<GameState> game;
    std::vector<Sent> sent;
    std::vector<Message> received;
    bool lost = false;
    size_t frames = 0;
};

struct Expected {
    size_t frame;
    size_t track, index;
    const Note* note;
};

TEST_F(PlaySound, WatchAndListenSendsEveryNoteInOrderAtItsTime) {
    loadMidiSong(app.song, app.songLock,
                 CADENZIO_SOURCE_DIR "/runtime/Songs/Intermediate/Minuet in G.mid");
    ASSERT_FALSE(app.song.tracks.empty());
    app.playMode = PlayMode::WatchAndListen;
    game = std::make_unique<GameState>(app, 1920, 1080);
    game->enter();
    std::vector<double> clock{game->songTime}; // the clock after each frame, from frame 0
    while (game->songTime + 1.0 / 60 <= game->songLength) {
        frame();
        clock.push_back(game->songTime);
    }
    EXPECT_EQ(frame(true), GoToMenu);
    game->leave();

    // Each note starts in the first frame whose clock has reached its start; within one frame
    // the tracks go in order.
    std::vector<Expected> expected;
    for (size_t t = 0; t < app.song.tracks.size(); ++t)
        for (size_t i = 0; i < app.song.tracks[t].notes.size(); ++i) {
            const Note& n = app.song.tracks[t].notes[i];
            const size_t f =
                size_t(std::lower_bound(clock.begin(), clock.end(), n.start) - clock.begin());
            expected.push_back({f, t, i, &n});
        }
    std::stable_sort(expected.begin(), expected.end(), [](const Expected& a, const Expected& b) {
        return a.frame != b.frame ? a.frame < b.frame : a.track < b.track;
    });
    std::vector<Sent> ons;
    for (const Sent& s : sent)
        if ((s.message[0] & 0xF0) == 0x90) ons.push_back(s);
    ASSERT_EQ(ons.size(), expected.size());
    for (size_t i = 0; i < ons.size(); ++i) {
        const Note& n = *expected[i].note;
        const Message want{uint8_t(0x90 | n.channel), n.key, n.velocity};
        ASSERT_EQ(ons[i].message, want) << "note " << i;
        EXPECT_GE(ons[i].songTime, n.start) << "note " << i;
        EXPECT_LT(ons[i].songTime, n.start + 1.0 / 60) << "note " << i;
    }

    // The synthesiser got exactly what was sent, and every key ends released.
    std::vector<Message> wanted;
    for (const Sent& s : sent) wanted.push_back(s.message);
    collect();
    const std::vector<Message>& got = received;
    ASSERT_EQ(got.size(), wanted.size());
    for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], wanted[i]) << "message " << i;
}

TEST_F(PlaySound, EscapeMidSongLeavesNoNoteSounding) {
    loadMidiSong(app.song, app.songLock,
                 CADENZIO_SOURCE_DIR "/runtime/Songs/Beginner/Greensleeves.mid");
    app.playMode = PlayMode::WatchAndListen;
    game = std::make_unique<GameState>(app, 1920, 1080);
    game->enter();
    while (game->songTime < 7.3) frame();
    ASSERT_GT(app.sound.counts.soundingTotal, 0);
    frame(true);
    game->leave();

    collect();
    const std::vector<Message>& got = received;
    ASSERT_EQ(got.size(), sent.size());
    std::map<int, bool> sounding;
    for (const Message& m : got) sounding[(m[0] & 0x0F) * 128 + m[1]] = (m[0] & 0xF0) == 0x90;
    for (const auto& [keyChannel, on] : sounding) EXPECT_FALSE(on) << keyChannel;
    EXPECT_EQ(app.sound.counts.soundingTotal, 0);
}

} // namespace

// Wait for Me against a real port: the right hand's chords come late from the instrument, and the
// computer's left hand, due with or after each chord, waits for it.
TEST(PlayWaiting, TheLeftHandWaitsForTheRightHandsLateChords) {
    ASSERT_NE(std::getenv("JACK_DEFAULT_SERVER"), nullptr) << "run through with_jack.sh";
    playtest::useTexturesWithoutGpu();
    RtMidiOut keys(RtMidi::UNIX_JACK, "Test Keys");
    auto app = appListeningTo(keys);
    if (!midiInputOpen(app->sound)) GTEST_SKIP() << "no JACK input port";
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
    app->sound.output = std::make_unique<SoundOutputMidi>(
        [&](const Message& message) {
            heard.push_back({message, game ? game->songTime : 0});
        },
        app->sound.counts);
    KeyboardView view;
    initialiseKeyboardView(view, 1920, 1080);
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
    app->playMode = PlayMode::PlayRightHand;
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
    EXPECT_EQ(app->sound.counts.soundingTotal, 0);
    app->sound.output.reset();
    stopMidiDevices(app->sound);
    releaseTextureRegistry();
    setTextureSource(pngTextureSource());
}
