#include "game/practice_hud.h"

#include <cstring>

#include "piano/keyboard_view.h"
#include "render/text.h"

namespace {

const Colour statusColour{1.0f, 1.0f, 0.0f, 1.0f};
const Colour passColour{0.95f, 0.95f, 0.95f, 1.0f};
const Colour lastPassColour{0.55f, 1.0f, 0.55f, 1.0f};
const Colour loopEndColour{0.9f, 0.35f, 0.0f, 1.0f};
constexpr float loopBandAlpha = 0.45f;
constexpr float lineSize = 20.0f;
// Shares of a white key: where a black key stands and how wide it is; how far down it reaches.
constexpr float blackOffset = 0.65f, blackWidth = 0.66f, blackLength = 0.625f;

void fill(Sprite& pixel, float x, float y, float width, float height, const Colour& colour) {
    pixel.x = x;
    pixel.y = y;
    pixel.scaleX = width;
    pixel.scaleY = height;
    pixel.colour = colour;
    pixel.rotation = 0;
    drawSprite(pixel);
}

} // namespace

KeyRect keyRect(const KeyPlaces& places, uint8_t key) {
    if (key < places.lowestNote || places.whiteKeyCount == 0) return {};
    const uint32_t r = key - places.lowestNote;
    const uint32_t semitone = r % 12;
    const float white = float(places.frameWidth) / float(places.whiteKeyCount);
    const float position = float(whitePosition[semitone] + 7 * (r / 12));
    if (position >= float(places.whiteKeyCount)) return {};
    if (isBlackKey(semitone)) return {(position + blackOffset) * white, blackWidth * white, true};
    return {position * white, white, false};
}

void drawPracticeLines(const Practice& practice, bool waitForMe, bool speedTrainer,
                       uint32_t frameWidth) {
    const std::vector<std::string> lines = practiceStatusLines(practice, waitForMe, speedTrainer);
    for (size_t i = 0; i < lines.size(); ++i)
        drawText(lines[i].c_str(), 0, 140.0f + lineSize * float(i), lineSize, statusColour);
    if (!practiceShown(practice)) return;
    const bool last = practice.pass.lastShownFor > 0;
    const std::string line = shownPassLine(practice.pass);
    const float x = float(frameWidth) - textWidth(line.c_str(), lineSize) - 8.0f;
    drawText(line.c_str(), x, 44.0f, lineSize, last ? lastPassColour : passColour);
}

void drawLoopBand(Sprite& pixel, const PracticeLoop& loop, double songLength, uint32_t frameWidth) {
    if (!(songLength > 0)) return;
    auto xOf = [&](double t) { return float(double(frameWidth) * t / songLength); };
    if (loopActive(loop)) {
        const float a = loopBandAlpha; // the blend takes colours premultiplied
        fill(pixel, xOf(loop.start), 18.0f, xOf(loop.end) - xOf(loop.start), 24.0f,
             {1.0f * a, 0.6f * a, 0.1f * a, a});
    }
    if (loop.hasStart) fill(pixel, xOf(loop.start) - 1.0f, 14.0f, 3.0f, 32.0f, loopEndColour);
    if (loop.hasEnd) fill(pixel, xOf(loop.end) - 1.0f, 14.0f, 3.0f, 32.0f, loopEndColour);
}

void drawWantedKeys(Sprite& pixel, const std::vector<WaitNote>& wanted,
                    const std::vector<Track>& tracks, const Palette& palette,
                    const KeyPlaces& places) {
    for (const WaitNote& note : wanted) {
        const KeyRect key = keyRect(places, note.key);
        if (key.width <= 0 || note.track >= tracks.size()) continue;
        const Colour colour = palette[paletteSlot(tracks[note.track].colour)];
        const float height = places.keyboardHeight * (key.black ? blackLength : 1.0f);
        // The key's lower part in the track's colour, framed so it stands out from a key that
        // merely sounds, and a bar on the hit line above it.
        const float inset = key.width * 0.12f;
        fill(pixel, key.x + inset, places.keyboardTop + height * 0.55f, key.width - 2 * inset,
             height * 0.38f, {0.05f, 0.05f, 0.05f, 1.0f});
        fill(pixel, key.x + inset + 2, places.keyboardTop + height * 0.55f + 2,
             key.width - 2 * inset - 4, height * 0.38f - 4, colour);
        fill(pixel, key.x, places.keyboardTop - 6.0f, key.width, 6.0f, colour);
    }
}
