// The main menu: its four UI buttons, the octave keys within the input device's learned range,
// and leaving the program.
#include <gtest/gtest.h>

#include "page_fixture.h"

namespace {

using menutest::PageFixture;

class MainPage : public PageFixture {
  protected:
    // Note-offs sent for key, counted over what was sent since the last call.
    int stopsOf(uint8_t key) {
        int stops = 0;
        for (const playtest::Sent& s : sent)
            if ((s.message[0] & 0xF0) == 0x80 && s.message[1] == key) ++stops;
        sent.clear();
        return stops;
    }
    // Strikes the computer key A (key 48 plus the transposition) and, holding it, presses the
    // octave key; returns the note-offs of the held key that the press sent.
    int pressOctaveKeyHolding(uint8_t octaveKey) {
        frame();
        frame({ScanA});
        const auto held = static_cast<uint8_t>(48 + app.transposition);
        sent.clear();
        frame({ScanA, octaveKey});
        const int stops = stopsOf(held);
        frame();
        return stops;
    }
};

TEST_F(MainPage, OctaveKeysKeepTheLearnedRangeWithinTheKeysAndReleaseHeldNotes) {
    // The default range 48 to 66: up to +60 (66 + 60 = 126), down to -48 (48 - 48 = 0).
    frame();
    for (int expected : {12, 24, 36, 48, 60}) {
        EXPECT_EQ(pressOctaveKeyHolding(ScanX), 1)
            << "the held note goes on the way to " << expected;
        EXPECT_EQ(app.transposition, expected);
    }
    EXPECT_EQ(pressOctaveKeyHolding(ScanX), 0) << "a refused press releases nothing";
    EXPECT_EQ(app.transposition, 60);

    openPage(MainMenuPage); // entering the page resets the transposition
    frame();
    EXPECT_EQ(app.transposition, 0);
    for (int expected : {-12, -24, -36, -48}) {
        EXPECT_EQ(pressOctaveKeyHolding(ScanZ), 1) << "on the way to " << expected;
        EXPECT_EQ(app.transposition, expected);
    }
    EXPECT_EQ(pressOctaveKeyHolding(ScanZ), 0);
    EXPECT_EQ(app.transposition, -48);
}

TEST_F(MainPage, OctaveLimitsFollowTheSelectedDevicesRange) {
    app.sound.inputDevices[0].minNote = 21;
    app.sound.inputDevices[0].maxNote = 108;
    frame();
    for (int i = 0; i < 3; ++i) frame({ScanX}), frame();
    EXPECT_EQ(app.transposition, 12);
    for (int i = 0; i < 4; ++i) frame({ScanZ}), frame();
    EXPECT_EQ(app.transposition, -12);
}

TEST_F(MainPage, ButtonsOpenTheirPagesAndQuitWaitsForTheNextUpdate) {
    frame();
    click(112, 144); // "Play"
    EXPECT_EQ(menu->page, SongBrowserPage);
    EXPECT_FALSE(menu->importMode);

    openPage(MainMenuPage);
    frame();
    click(112, 200); // "Import"
    EXPECT_EQ(menu->page, SongBrowserPage);
    EXPECT_TRUE(menu->importMode);

    openPage(MainMenuPage);
    frame();
    click(112, 256); // "Settings"
    EXPECT_EQ(menu->page, SettingsPage);

    openPage(MainMenuPage);
    frame();
    input.cursorX = 112;
    input.cursorY = 312; // "Quit"
    leftButton = true;
    EXPECT_EQ(frame(), StayInState);
    leftButton = false;
    EXPECT_EQ(frame(), StayInState) << "the click lands in this frame's render";
    EXPECT_TRUE(menu->quitRequested);
    EXPECT_EQ(frame(), QuitProgram);
}

TEST_F(MainPage, EscapeQuitsAtOnceAndClearsTheSong) {
    app.song.tracks.resize(2);
    frame();
    EXPECT_EQ(frame({ScanEscape}), QuitProgram);
    EXPECT_TRUE(app.song.tracks.empty());
}

TEST_F(MainPage, NamesThePseudoDevicesWithoutMidi) {
    frame();
    const auto texts = queuedTexts();
    const auto* in = findText(texts, "Input: Virtual Keyboard");
    const auto* out = findText(texts, "Output: Simple Synth");
    ASSERT_NE(in, nullptr);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(in->y, 20);
    EXPECT_EQ(out->y, 52);
}

} // namespace
