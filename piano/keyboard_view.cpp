#include "piano/keyboard_view.h"

#include "app/app_context.h"
#include "piano/key_owners.h"
#include "sound/midi_devices.h"

namespace {

// Where a black key follows each white key of the octave (C to B), as a fraction of a white key.
constexpr float blackKeyOffsets[7] = {0.65f, 0.65f, 0, 0.65f, 0.65f, 0.65f, 0};

Colour scaled(Colour colour, float factor) {
    colour.r *= factor;
    colour.g *= factor;
    colour.b *= factor;
    return colour;
}

// The keys the selected instrument reaches at the current transposition; a device with no
// record reaches the default range.
void reach(const AppContext& app, int32_t& low, int32_t& high) {
    const InputDeviceRecord record = selectedInputRecord(app.sound);
    low = record.minNote + app.transposition;
    high = record.maxNote + app.transposition;
}

} // namespace

bool isBlackKey(uint32_t key) {
    switch (key % 12) {
    case 1:
    case 3:
    case 6:
    case 8:
    case 10:
        return true;
    default:
        return false;
    }
}

void initialiseKeyboardView(KeyboardView& view, uint32_t frameWidth, uint32_t frameHeight) {
    view.frameWidth = frameWidth;
    view.frameHeight = frameHeight;
    loadSprite(view.whiteKey, "NoteWhite.png");
    loadSprite(view.blackKey, "NoteBlack.png");
    loadSprite(view.line, "Pixel.png");
    view.line.scaleX = 1.0f;
    view.line.scaleY = static_cast<float>(frameHeight);
    view.line.colour = {0.25f, 0.25f, 0.25f, 1.0f};
    view.whiteKeyWidth = view.whiteKey.width;
    view.whiteKeyHeight = view.whiteKey.height;
}

void layoutKeyboard(KeyboardView& view, uint32_t lowest, uint32_t highest) {
    if (highest > 127) highest = 127;
    // No visible key: one octave, so that nothing divides by a count of 0.
    if (lowest > highest) lowest = highest = 60;
    const uint32_t start = lowest / 12 * 12;
    uint32_t end = (highest / 12 + 1) * 12;
    if (end > 127) end = 127;
    uint32_t whiteKeys = 0;
    for (uint32_t key = start; key < end; ++key)
        if (!isBlackKey(key)) ++whiteKeys;

    const uint32_t keyWidth = view.frameWidth / whiteKeys;
    view.keyXScale =
        view.whiteKeyWidth > 0 ? static_cast<float>(keyWidth) / view.whiteKeyWidth : 1.0f;
    view.verticalScale = static_cast<float>(view.frameHeight) / 1080.0f * 1.1f;
    for (Sprite* key : {&view.whiteKey, &view.blackKey}) {
        key->scaleX = view.keyXScale;
        key->scaleY = view.verticalScale;
    }
    view.keyboardTopY =
        static_cast<float>(view.frameHeight) - view.whiteKeyHeight * view.verticalScale;
    view.hitLine = int32_t(view.frameHeight) - int32_t(view.verticalScale * view.whiteKeyHeight);
    view.whiteKeyCount = whiteKeys;
    view.semitoneRange = end - start;
    view.startNote = start;
    view.endNote = end;
}

void drawLanes(const KeyboardView& view) {
    if (view.whiteKeyCount == 0) return;
    const float keyWidth =
        static_cast<float>(view.frameWidth) / static_cast<float>(view.whiteKeyCount);
    Sprite line = view.line;
    line.y = 0;
    for (uint32_t i = 1; i <= view.semitoneRange / 7; ++i) {
        line.x = static_cast<float>(7 * i - 4) * keyWidth; // F
        drawSprite(line);
        line.x = static_cast<float>(7 * i) * keyWidth; // C
        drawSprite(line);
    }
}

Colour whiteKeyColour(const AppContext& app, int8_t held, uint8_t owner, bool reachable) {
    Colour colour = app.palette[paletteSlot(held > 0 ? uint32_t(held) : owner)];
    if (held >= 0) colour = scaled(colour, 0.5f);
    if (!reachable) colour = scaled(colour, 0.3f);
    return colour;
}

Colour blackKeyColour(const AppContext& app, int8_t held, uint8_t owner, bool reachable) {
    Colour colour;
    if (held > 0) {
        colour = app.palette[6 + paletteSlot(uint32_t(held))];
    } else {
        colour = app.palette[6 + paletteSlot(owner)];
        if (paletteSlot(owner) == 0) colour = scaled(colour, held == -1 ? 0.6f : 0.4f);
    }
    if (!reachable) colour = scaled(colour, 0.5f);
    return colour;
}

void drawKeys(const KeyboardView& view, const AppContext& app) {
    if (view.whiteKeyCount == 0) return;
    int32_t low = 0, high = 0;
    reach(app, low, high);
    const float count = static_cast<float>(view.whiteKeyCount);
    const float width = static_cast<float>(view.frameWidth);
    auto colourOf = [&](uint32_t key, auto colourFunction) {
        const bool reachable =
            static_cast<int32_t>(key) >= low && static_cast<int32_t>(key) <= high;
        return colourFunction(app, app.piano.held[key], lastKeyOwner(app.piano, key), reachable);
    };

    Sprite white = view.whiteKey;
    uint32_t t = 0;
    for (uint32_t i = 0; i < view.whiteKeyCount; ++i) {
        const uint32_t key = view.startNote + t;
        if (key > 127) break;
        white.colour = colourOf(key, whiteKeyColour);
        white.x = static_cast<float>(i) / count * width;
        white.y = view.keyboardTopY;
        drawSprite(white);
        t += blackKeyOffsets[i % 7] != 0 ? 2 : 1;
    }

    // After every white key, so that the black keys lie on top.
    Sprite black = view.blackKey;
    t = 0;
    for (uint32_t i = 0; i < view.whiteKeyCount; ++i) {
        ++t;
        const float offset = blackKeyOffsets[i % 7];
        if (offset == 0) continue;
        const uint32_t key = view.startNote + t;
        ++t;
        if (key >= view.endNote || key > 127) continue;
        black.colour = colourOf(key, blackKeyColour);
        black.x = (static_cast<float>(i) + offset) / count * width;
        black.y = view.keyboardTopY - 2.0f;
        drawSprite(black);
    }
}
