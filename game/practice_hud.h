#pragma once
// What the play screen shows of the practice aids: their status lines, the running pass at the
// top right, the loop on the progress bar, and the keys Wait for Me waits for.
#include <cstdint>
#include <vector>

#include "app/palette.h"
#include "game/practice.h"
#include "render/sprite_pass.h"

// Where the keys lie: the displayed range from lowestNote over whiteKeyCount white keys across
// frameWidth, their top edge at keyboardTop and keyboardHeight high.
struct KeyPlaces {
    uint32_t lowestNote = 0;
    uint32_t whiteKeyCount = 1;
    uint32_t frameWidth = 1920;
    float keyboardTop = 0;
    float keyboardHeight = 0;
};

struct KeyRect {
    float x = 0, width = 0;
    bool black = false;
};
// Where key stands on the keyboard; a width of 0 when it is off the displayed range.
KeyRect keyRect(const KeyPlaces& places, uint8_t key);

// The lines under the play's status lines, and the pass line at the top right.
void drawPracticeLines(const Practice& practice, bool waitForMe, bool speedTrainer,
                       uint32_t frameWidth);
// The loop as a band on the progress bar, each end set marked; pixel is a one-pixel sprite.
void drawLoopBand(Sprite& pixel, const PracticeLoop& loop, double songLength, uint32_t frameWidth);
// Each key still wanted marked "press me" in its track's colour.
void drawWantedKeys(Sprite& pixel, const std::vector<WaitNote>& wanted,
                    const std::vector<Track>& tracks, const Palette& palette,
                    const KeyPlaces& places);
