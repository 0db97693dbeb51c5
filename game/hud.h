#pragma once
// What the play screen draws over the notes and keys: the bookmark markers, the progress bar with
// the clock, and the status lines naming the play keys with their values.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/note_lists.h"
#include "render/sprite_pass.h"

struct HudSprites {
    Sprite progress;    // "Pixel.png", stretched into the bar and its fill
    Sprite bookmark;    // "Bookmark.png"
    Sprite bookmarkBar; // "BookmarkBar.png"
};
void loadHudSprites(HudSprites& sprites);

// The play's values the HUD shows.
struct HudValues {
    double songTime = 0; // seconds; negative during the lead-in
    double songLength = 0;
    float songSpeed = 1;
    float noteSpread = 400;
    float inputVolume = 2;
    int8_t transposition = 0;
    uint32_t screenNotes = 0;
    NoteScreen screen; // where a bookmark falls, like a note starting at its time
    uint32_t windowWidth = 1920;
    uint32_t windowHeight = 1080;
};

// "mm:ss / mm:ss", with a minus sign while the clock is a whole second or more before the start,
// and where it goes so that it stands in the middle of the bar.
struct ClockText {
    std::string text;
    float x = 0;
};
ClockText clockText(double songTime, double songLength, uint32_t windowWidth);

// Listed notes of the tracks that are drawn (neither Hidden nor Muted).
uint32_t screenNoteCount(const std::vector<Track>& tracks);
std::array<std::string, 5> statusLines(const HudValues& values);

// Each bookmark (0.0 is none) falls down the screen like a note starting at its time.
void drawBookmarks(HudSprites& sprites, const std::vector<float>& bookmarks,
                   const HudValues& values);
void drawProgressBar(HudSprites& sprites, const HudValues& values);
void drawStatusLines(const HudValues& values);
