#pragma once
// What the play screen draws over the notes and keys: the bookmark markers, the progress bar with
// the clock, and the status lines naming the play keys with their values.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/note_lists.h"
#include "game/play_values.h"
#include "render/sprite_pass.h"

struct HudSprites {
    Sprite progress;    // "Pixel.png", stretched into the bar and its fill
    Sprite bookmark;    // "Bookmark.png"
    Sprite bookmarkBar; // "BookmarkBar.png"
};
void loadHudSprites(HudSprites& sprites);

// "mm:ss / mm:ss", with a minus sign while the clock is a whole second or more before the start,
// and where it goes so that it stands in the middle of the bar.
struct ClockText {
    std::string text;
    float x = 0;
};
ClockText clockText(double songTime, double songLength, uint32_t frameWidth);

// Listed notes of the tracks that are drawn (neither Hidden nor Muted).
uint32_t screenNoteCount(const std::vector<Track>& tracks);
// The play's values with the screen's note count and the transposition (semitones).
std::array<std::string, 5> statusLines(const PlayValues& play, uint32_t screenNotes,
                                       int8_t transposition);

// Each bookmark (0.0 is none) falls down the screen like a note starting at its time.
void drawBookmarks(HudSprites& sprites, const std::vector<float>& bookmarks, const PlayValues& play,
                   const NoteScreen& screen);
void drawProgressBar(HudSprites& sprites, const PlayValues& play);
void drawStatusLines(const PlayValues& play, uint32_t screenNotes, int8_t transposition);
