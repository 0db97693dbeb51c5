// Nothing sounds that nobody plays: every way out of a sounding note (silencing, leaving a state,
// shutting the sound down, changing pages, an input port that vanishes) ends it on the recorded
// MIDI output, however many times the key was struck. The input comes from a virtual keyboard on
// a private JACK server (tests/support/with_jack.sh).
#include <rtmidi/RtMidi.h>

#include <algorithm>

#include "menu_fixture.h"
#include "piano/key_owners.h"
#include "piano/note_readers.h"
#include "sound/device_records.h"
#include "sound/midi_devices.h"
#include "sound/sound_output.h"
#include "sound/sound_system.h"
#include "support/midi_waits.h"

namespace {

using namespace menutest;
using Message = std::vector<uint8_t>;

constexpr int32_t uiButtonX = 100, playY = 140; // the main menu's "Play"

class NothingLeftSounding : public MenuFixture {
  protected:
    void SetUp() override {
        MenuFixture::SetUp();
        ASSERT_NE(std::getenv("JACK_DEFAULT_SERVER"), nullptr) << "run through with_jack.sh";
        keys.openVirtualPort("out");
        app.sound.outputDevices.assign(1, OutputDeviceRecord{});
        startMidiDevices(app.sound);
    }
    void TearDown() override {
        MenuFixture::TearDown();
        stopMidiDevices(app.sound);
    }

    // The note-offs sent so far, as (key, channel) pairs.
    std::vector<std::pair<int, int>> noteOffs() const {
        std::vector<std::pair<int, int>> offs;
        for (const playtest::Sent& s : sent)
            if ((s.message[0] & 0xF0) == 0x80) offs.emplace_back(s.message[1], s.message[0] & 15);
        std::sort(offs.begin(), offs.end());
        return offs;
    }
    bool allCountsZero() const {
        for (const auto& row : app.sound.counts.activeCounts)
            for (uint16_t count : row)
                if (count != 0) return false;
        return app.sound.counts.soundingTotal == 0;
    }

    RtMidiOut keys{RtMidi::UNIX_JACK, "Test Keys"};
};

} // namespace

TEST_F(NothingLeftSounding, AKeyStruckMoreTimesThanACountOnceHeldEndsWhenThePlayIsLeft) {
    // 130 notes of key 60 at once on channel 3: 130 note-ons, then one note-off on leaving.
    std::vector<Note> notes(130, playtest::note(0, 10, 60, 3));
    addTrack(PlayType::Displayed, 1, notes);
    start(3);
    for (int i = 0; i < 80; ++i) {
        nextSnapshots({});
        game->update(playtest::frameStep);
    }
    ASSERT_EQ(sent.size(), 130u);
    game->leave();
    EXPECT_EQ(noteOffs(), (std::vector<std::pair<int, int>>{{60, 3}}));
    EXPECT_TRUE(allCountsZero());

    // Far past any count: the count holds at its limit, and silencing still ends the key.
    for (int i = 0; i < 70000; ++i) soundNote(app.sound, 5, 61, 90, true);
    silenceSound(app.sound);
    EXPECT_EQ(sent.back().message, (Message{0x85, 61, 0}));
    EXPECT_TRUE(allCountsZero());

    // Shutting the sound down ends what still sounds.
    soundNote(app.sound, 0, 62, 90, true);
    soundShutdown(app.sound);
    EXPECT_EQ(sent.back().message, (Message{0x80, 62, 0}));
}

TEST_F(NothingLeftSounding, QuittingFromTheMainMenuReleasesTheKeysHeld) {
    frame();
    for (uint8_t key : {60, 64, 67}) {
        Message press{0x91, key, 80};
        handleMenuMidiMessage(app, press);
    }
    frame({ScanA}); // the letter key of key 48
    frame({ScanA});
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(frame({ScanA, ScanEscape}), QuitProgram);
    menu->leave();
    EXPECT_EQ(noteOffs(), (std::vector<std::pair<int, int>>{{48, 0}, {60, 1}, {64, 1}, {67, 1}}));
    EXPECT_TRUE(allCountsZero());
}

TEST_F(NothingLeftSounding, ALetterKeyHeldAcrossAPageChangeIsReleased) {
    frame();
    frame({ScanA});
    ASSERT_EQ(sent.size(), 1u);
    // "Play" clicked while A is held: the browser does not read the keyboard.
    moveTo(uiButtonX, playY);
    leftButton = true;
    frame({ScanA});
    leftButton = false;
    frame({ScanA});
    frame({ScanA});
    ASSERT_EQ(menu->page, SongBrowserPage);
    EXPECT_EQ(noteOffs(), (std::vector<std::pair<int, int>>{{48, 0}}));
    frame(); // released on the browser
    frame({ScanEscape});
    frame();
    ASSERT_EQ(menu->page, MainMenuPage);
    EXPECT_EQ(sent.size(), 2u);
    EXPECT_TRUE(allCountsZero());
}

TEST_F(NothingLeftSounding, AnInputPortThatVanishesReleasesWhatItHeld) {
    if (!midiInputOpen(app.sound)) GTEST_SKIP() << "no JACK input port";
    frame();
    const Message press{0x90, 60, 80};
    ASSERT_TRUE(eventually([&] {
        keys.sendMessage(&press);
        frame();
        return app.piano.held[60] != -1;
    }));
    keys.closePort(); // the keyboard is unplugged with the key down
    ASSERT_TRUE(eventually([&] {
        frame();
        return app.piano.held[60] == -1;
    }));
    EXPECT_EQ(noteOffs(), (std::vector<std::pair<int, int>>{{60, 0}}));
    EXPECT_TRUE(allCountsZero());
}
