// The HUD's texts and what it queues, from the play's values alone.
#include "game/hud.h"

#include <gtest/gtest.h>

#include <cmath>

#include "render/text.h"
#include "render/text_queue.h"

namespace {

void emptyQueues() {
    spritePass(1920, 1080);
    textPass(1920, 1080);
}

TEST(Hud, ClockTextShowsTheLeadInWithAMinusSign) {
    ClockText lead = clockText(-1.0, 125.7, 1920);
    EXPECT_EQ(lead.text, "-00:01 / 02:05");
    EXPECT_EQ(lead.x, 960.0f - 83.0f);
    ClockText half = clockText(-0.5, 125.7, 1920);
    EXPECT_EQ(half.text, "00:00 / 02:05");
    EXPECT_EQ(half.x, 960.0f - 72.0f);
    EXPECT_EQ(clockText(61.9, 3600.0, 1000).text, "01:01 / 60:00");
    EXPECT_EQ(clockText(0.0, 0.0, 1920).text, "00:00 / 00:00");
}

TEST(Hud, ClockTextOfADamagedLengthStaysDefined) {
    EXPECT_EQ(clockText(0.0, NAN, 1920).text, "00:00 / 00:00");
    const std::string huge = clockText(0.0, 1e30, 1920).text;
    EXPECT_EQ(huge.substr(0, 8), "00:00 / ");
}

TEST(Hud, StatusLinesShowTheKeysValuesScaled) {
    PlayValues values;
    auto lines = statusLines(values, 0, 0);
    EXPECT_EQ(lines[0], "Screen Notes: 0");
    EXPECT_EQ(lines[1], "[Z/X] Octave: 0");
    EXPECT_EQ(lines[2], "[C/V] Song Speed: 1.00");
    EXPECT_EQ(lines[3], "[B/N] Note Spread: 1.00");
    EXPECT_EQ(lines[4], "[M/,] Input Volume: 1.00");
    values.songSpeed = 0.1f;
    values.noteSpread = 1200;
    values.inputVolume = 3.9f;
    lines = statusLines(values, 42, -24);
    EXPECT_EQ(lines[0], "Screen Notes: 42");
    EXPECT_EQ(lines[1], "[Z/X] Octave: -2");
    EXPECT_EQ(lines[2], "[C/V] Song Speed: 0.10");
    EXPECT_EQ(lines[3], "[B/N] Note Spread: 3.00");
    EXPECT_EQ(lines[4], "[M/,] Input Volume: 1.95");
}

TEST(Hud, ScreenNotesCountOnlyDrawnTracks) {
    std::vector<Track> tracks(3);
    tracks[0].upcoming = {0, 1};
    tracks[0].sounding = {2};
    tracks[0].ended = {3};
    tracks[1].playType = PlayType::Hidden;
    tracks[1].upcoming = {0};
    tracks[2].playType = PlayType::Muted;
    tracks[2].sounding = {0};
    EXPECT_EQ(screenNoteCount(tracks), 4u);
}

class HudDrawing : public ::testing::Test {
  protected:
    void SetUp() override {
        emptyQueues();
        sprites.progress.width = sprites.progress.height = 1;
        sprites.bookmarkBar.width = 1;
        sprites.bookmarkBar.height = 4;
        sprites.bookmark.width = 36;
        sprites.bookmark.height = 24;
        values.frameWidth = 1920;
        values.frameHeight = 1080;
        screen.hitLine = 799;
        screen.verticalScale = 1.1f;
    }
    void TearDown() override { emptyQueues(); }
    HudSprites sprites;
    PlayValues values;
    NoteScreen screen;
};

TEST_F(HudDrawing, ProgressFillIsTheSongsShareOfTheWidth) {
    values.songTime = 50;
    values.songLength = 200;
    drawProgressBar(sprites, values);
    const std::vector<SpriteCommand>& queue = spriteQueue();
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue[0].destination.top, 18);
    EXPECT_EQ(queue[0].destination.bottom, 42);
    EXPECT_EQ(queue[0].destination.right, 1920);
    EXPECT_EQ(queue[1].destination.top, 20);
    EXPECT_EQ(queue[1].destination.bottom, 40);
    EXPECT_EQ(queue[1].destination.right, 480);
    EXPECT_FLOAT_EQ(queue[1].colour.b, 0.7f);
    ASSERT_EQ(textQueue().size(), 1u);
    EXPECT_EQ(textQueue()[0].text, u"00:50 / 03:20");
}

TEST_F(HudDrawing, NoFillBeforeTheStartOrForASongOfNoLength) {
    values.songTime = -0.5;
    values.songLength = 10;
    drawProgressBar(sprites, values);
    values.songTime = 0;
    values.songLength = 0;
    drawProgressBar(sprites, values);
    EXPECT_EQ(spriteQueue().size(), 2u); // two backgrounds
}

TEST_F(HudDrawing, BookmarkFallsLikeANoteAndShowsOnlyOnScreen) {
    std::vector<float> bookmarks(9, 0.0f);
    bookmarks[2] = 10.0f;
    const double pixelsPerSecond = 400.0 * double(1.1f);
    const double appears = 10.0 - 799 / pixelsPerSecond;
    const double leaves = 10.0 + (1080 - 799) / pixelsPerSecond;

    values.songTime = appears - 0.001;
    drawBookmarks(sprites, bookmarks, values, screen);
    EXPECT_TRUE(spriteQueue().empty());
    values.songTime = appears + 0.001;
    drawBookmarks(sprites, bookmarks, values, screen);
    ASSERT_EQ(spriteQueue().size(), 2u);
    values.songTime = 10.0;
    drawBookmarks(sprites, bookmarks, values, screen);
    ASSERT_EQ(spriteQueue().size(), 4u);
    const SpriteCommand& bar = spriteQueue()[2];
    EXPECT_EQ(bar.destination.top, 797);
    EXPECT_EQ(bar.destination.right, 3840);
    EXPECT_EQ(spriteQueue()[3].destination.top, 801);
    ASSERT_EQ(textQueue().size(), 2u);
    EXPECT_EQ(textQueue()[1].text, u"3");
    EXPECT_EQ(textQueue()[1].y, 799.0f);
    values.songTime = leaves + 0.001;
    drawBookmarks(sprites, bookmarks, values, screen);
    EXPECT_EQ(spriteQueue().size(), 4u);

    // A bookmark at exactly 0.0 is no bookmark.
    emptyQueues();
    bookmarks.assign(9, 0.0f);
    values.songTime = 0.0;
    drawBookmarks(sprites, bookmarks, values, screen);
    EXPECT_TRUE(spriteQueue().empty());
}

} // namespace
