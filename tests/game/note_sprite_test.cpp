// Falling-note geometry through both drawers, read from the queued sprites and lines.
#include "game/note_sprite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>

#include "app/app_context.h"
#include "piano/keyboard_view.h"
#include "render/shape_list.h"
#include "render/shapes.h"
#include "support/fake_textures.h"

namespace {

class NoteSpriteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app = std::make_unique<AppContext>();
        palette = defaultPalette();
        fancy.loadTextures();
        // One octave from 60 on a 1920 x 1080 frame, as the keyboard lays it out.
        layout.displayTime = 1.0;
        layout.screen.noteSpread = 400;
        layout.screen.verticalScale = 1.1f;
        layout.screen.hitLine = 798;
        keys.frameWidth = 1920;
        keys.startNote = 60;
        keys.whiteKeyCount = 7;
        keys.keyXScale = 274.0f / 24;
        layout.keyboard = &keys;
    }
    void TearDown() override {
        spritePass(0, 0);
        shapePass(0, 0);
    }
    Track& addTrack(uint32_t colour, PlayType type = PlayType::Displayed) {
        tracks.emplace_back();
        tracks.back().colour = colour;
        tracks.back().playType = type;
        return tracks.back();
    }
    static void addNote(Track& track, std::vector<uint32_t>& list, uint8_t key, double start,
                        double duration) {
        list.push_back(uint32_t(track.notes.size()));
        track.notes.push_back({start, duration, 0, key, 64});
    }

    FakeTextures textures;
    std::unique_ptr<AppContext> app;
    Palette palette;
    FancyNoteSprite fancy;
    KeyboardView keys;
    NoteLayout layout;
    std::vector<Track> tracks;
};

} // namespace

TEST_F(NoteSpriteTest, FancyBarIsTwoCapsAroundAStretchedMiddle) {
    Track& track = addTrack(1);
    addNote(track, track.upcoming, 60, 1.0, 1.0);  // 440 pixels high, lower end on the hit line
    addNote(track, track.upcoming, 60, 1.0, 0.01); // 4.4 pixels: still caps and a middle pixel
    drawNotes(tracks, layout, fancy, palette);
    const std::vector<SpriteCommand>& queue = spriteQueue();
    ASSERT_EQ(queue.size(), 6u);
    auto spans = [&](size_t i, int top, int bottom) {
        EXPECT_EQ(queue[i].destination.top, top) << i;
        EXPECT_EQ(queue[i].destination.bottom, bottom) << i;
        EXPECT_EQ(queue[i].destination.left, 0);
        EXPECT_EQ(queue[i].destination.right, 274);
    };
    spans(0, 798 - 440, 798 - 433); // top cap, middle, bottom cap
    spans(1, 798 - 433, 798 - 7);
    spans(2, 798 - 7, 798);
    spans(3, 798 - 15, 798 - 8);
    spans(4, 798 - 8, 798 - 7);
    spans(5, 798 - 7, 798);
    EXPECT_EQ(queue[0].colour.r, palette[1].r);
}

TEST_F(NoteSpriteTest, NotesStandOverTheirKeys) {
    keys.whiteKeyCount = 14;
    keys.keyXScale = 137.0f / 24;
    Track& track = addTrack(2);
    addNote(track, track.upcoming, 61, 1.5, 0.5); // C sharp
    addNote(track, track.upcoming, 76, 1.0, 0.5); // E of the second octave
    drawNotes(tracks, layout, fancy, palette);
    const std::vector<SpriteCommand>& queue = spriteQueue();
    ASSERT_EQ(queue.size(), 6u);
    const SpriteCommand& sharp = queue[2];
    EXPECT_EQ(sharp.destination.left, int(1920 * 0.65f / 14));
    EXPECT_EQ(sharp.destination.right - sharp.destination.left, int(137.0f / 24 * 0.66f * 24));
    EXPECT_EQ(sharp.destination.bottom, 798 - int(0.5 * 400 * 1.1f)); // half a second above
    EXPECT_EQ(sharp.colour.b, palette[8].b);
    EXPECT_EQ(queue[5].destination.left, int(9 * 1920.0f / 14));
    EXPECT_EQ(queue[5].colour.b, palette[2].b);
}

TEST_F(NoteSpriteTest, ListsDrawInOrderAndHiddenOrMutedTracksNot) {
    Track& hidden = addTrack(1, PlayType::Hidden);
    addNote(hidden, hidden.upcoming, 60, 1.0, 1.0);
    Track& muted = addTrack(1, PlayType::Muted);
    addNote(muted, muted.sounding, 60, 1.0, 1.0);
    Track& shown = addTrack(1, PlayType::LeftHand);
    addNote(shown, shown.upcoming, 64, 1.0, 1.0);
    addNote(shown, shown.sounding, 62, 1.0, 1.0);
    addNote(shown, shown.ended, 60, 1.0, 1.0);
    shown.upcoming.push_back(99); // past the notes: skipped
    drawNotes(tracks, layout, fancy, palette);
    const std::vector<SpriteCommand>& queue = spriteQueue();
    ASSERT_EQ(queue.size(), 9u);
    EXPECT_EQ(queue[0].destination.left, 0);
    EXPECT_EQ(queue[3].destination.left, int(1920.0f / 7));
    EXPECT_EQ(queue[6].destination.left, int(2 * 1920.0f / 7));
}

TEST_F(NoteSpriteTest, FastBarIsAnOutlineCutAtTheKeyboard) {
    keys.keyboardTopY = 798.4f;
    FastNoteSprite fast(&keys);
    fast.loadTextures();
    Track& track = addTrack(3);
    addNote(track, track.sounding, 60, 0.5, 1.0);  // started: from 578 down to 1018
    addNote(track, track.upcoming, 62, 1.5, 0.25); // above the keyboard
    addNote(track, track.ended, 64, 0.0, 0.2);     // wholly behind the keys
    drawNotes(tracks, layout, fast, palette);
    const ShapeList& lines = queuedShapes();
    ASSERT_EQ(lines.count, 16u);
    auto box = [&](size_t first) {
        float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
        for (size_t i = first; i < first + 8; ++i) {
            left = std::min(left, lines.vertices[i].x);
            right = std::max(right, lines.vertices[i].x);
            top = std::min(top, lines.vertices[i].y);
            bottom = std::max(bottom, lines.vertices[i].y);
        }
        return std::array<float, 4>{left, top, right, bottom};
    };
    EXPECT_EQ(box(0), (std::array<float, 4>{0, 1018 - 440, 274, 798.4f}));
    const float upcomingBottom = float(798 - int(0.5 * 400 * 1.1f));
    EXPECT_EQ(box(8), (std::array<float, 4>{274, upcomingBottom - 110, 274 + 274, upcomingBottom}));
    EXPECT_EQ(lines.vertices[8].b, palette[3].b);
}

TEST_F(NoteSpriteTest, NotesWhollyUnderALaterNoteOfTheirKeyAreLeftOut) {
    Track& first = addTrack(1);
    addNote(first, first.upcoming, 60, 1.0, 0.1); // under the second track's long note
    addNote(first, first.upcoming, 60, 1.0, 2.0); // reaches above it: shown
    addNote(first, first.upcoming, 62, 1.0, 0.1); // another key: shown
    Track& second = addTrack(2);
    addNote(second, second.upcoming, 60, 1.0, 1.0);
    drawNotes(tracks, layout, fancy, palette);
    const std::vector<SpriteCommand>& queue = spriteQueue();
    ASSERT_EQ(queue.size(), 9u);
    EXPECT_EQ(queue[0].destination.top, 798 - 880);
    EXPECT_EQ(queue[3].destination.left, int(1920.0f / 7));
    EXPECT_EQ(queue[6].destination.top, 798 - 440);
    EXPECT_EQ(queue[6].colour.r, palette[2].r);
    spritePass(0, 0);

    // Outlines hide nothing: only one drawn again in the very same place is left out.
    keys.keyboardTopY = 798;
    FastNoteSprite fast(&keys);
    fast.loadTextures();
    drawNotes(tracks, layout, fast, palette);
    EXPECT_EQ(queuedShapes().count, 4 * 8u);
    addNote(second, second.upcoming, 62, 1.0, 0.1);
    shapePass(0, 0);
    drawNotes(tracks, layout, fast, palette);
    EXPECT_EQ(queuedShapes().count, 4 * 8u);
}
