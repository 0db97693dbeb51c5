// A demo song watched to its end on a private JACK server (tests/support/with_jack.sh): every
// note reaches a virtual synthesiser in order, at its time, and Escape leaves nothing sounding.
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
