#include "game/hud.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "render/text.h"

namespace {

const Colour barBackground{0.8f, 0.8f, 0.85f, 1.0f};
const Colour barFill{0.25f, 0.25f, 0.7f, 1.0f};
const Colour clockColour{0.05f, 0.05f, 0.05f, 1.0f};
const Colour bookmarkNumber{0.25f, 0.25f, 0.25f, 1.0f};
const Colour statusColour{1.0f, 1.0f, 0.0f, 1.0f};

// Toward zero, held within 32 bits: a damaged song's length may be anything.
int32_t truncated(double value) {
    if (!(value == value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return int32_t(value);
}

struct MinutesSeconds {
    int32_t minutes, seconds; // seconds negative before the start
};
MinutesSeconds split(double time) {
    const int32_t s = truncated(time);
    return {truncated(time / 60.0), s % 60};
}

} // namespace

void loadHudSprites(HudSprites& sprites) {
    loadSprite(sprites.bookmark, "Bookmark.png");
    loadSprite(sprites.bookmarkBar, "BookmarkBar.png");
    loadSprite(sprites.progress, "Pixel.png");
    sprites.progress.x = 0;
    sprites.progress.y = 20;
    sprites.progress.scaleY = 20;
}

ClockText clockText(double songTime, double songLength, uint32_t frameWidth) {
    const MinutesSeconds now = split(songTime), length = split(songLength);
    char text[64];
    const float middle = float(frameWidth) * 0.5f;
    if (now.seconds < 0) {
        std::snprintf(text, sizeof text, "-%02d:%02d / %02d:%02d", now.minutes,
                      std::abs(now.seconds), length.minutes, length.seconds);
        return {text, middle - 83.0f};
    }
    std::snprintf(text, sizeof text, "%02d:%02d / %02d:%02d", now.minutes, now.seconds,
                  length.minutes, length.seconds);
    return {text, middle - 72.0f};
}

uint32_t screenNoteCount(const std::vector<Track>& tracks) {
    uint32_t count = 0;
    for (const Track& track : tracks)
        if (trackDrawn(track))
            count += uint32_t(track.ended.size() + track.sounding.size() + track.upcoming.size());
    return count;
}

std::array<std::string, 5> statusLines(const PlayValues& play, uint32_t screenNotes,
                                       int8_t transposition) {
    char line[5][64];
    std::snprintf(line[0], sizeof line[0], "Screen Notes: %d", int(screenNotes));
    std::snprintf(line[1], sizeof line[1], "[Z/X] Octave: %d", transposition / 12);
    std::snprintf(line[2], sizeof line[2], "[C/V] Song Speed: %.2f", double(play.songSpeed));
    std::snprintf(line[3], sizeof line[3], "[B/N] Note Spread: %.2f",
                  double(play.noteSpread / 400.0f));
    std::snprintf(line[4], sizeof line[4], "[M/,] Input Volume: %.2f",
                  double(play.inputVolume * 0.5f));
    return {line[0], line[1], line[2], line[3], line[4]};
}

void drawBookmarks(HudSprites& sprites, const std::vector<float>& bookmarks, const PlayValues& play,
                   const NoteScreen& screen) {
    for (size_t i = 0; i < bookmarks.size(); ++i) {
        if (bookmarks[i] == 0.0f) continue;
        const float y = timeMarkY(screen, bookmarks[i], play.songTime);
        if (!(y > 0 && y < float(play.frameHeight))) continue;
        sprites.bookmarkBar.scaleX = 2.0f * float(play.frameWidth);
        sprites.bookmarkBar.scaleY = 1.0f;
        sprites.bookmarkBar.x = 0;
        sprites.bookmarkBar.y = y - 2.0f;
        drawSprite(sprites.bookmarkBar);
        sprites.bookmark.x = 0;
        sprites.bookmark.y = y + 2.0f;
        drawSprite(sprites.bookmark);
        const std::string number = std::to_string(i + 1);
        drawText(number.c_str(), 10.0f, y, 24.0f, bookmarkNumber);
    }
}

void drawProgressBar(HudSprites& sprites, const PlayValues& play) {
    Sprite& bar = sprites.progress;
    bar.x = 0;
    bar.y = 18.0f;
    bar.scaleY = 24.0f;
    bar.scaleX = float(play.frameWidth);
    bar.colour = barBackground;
    drawSprite(bar);

    // A song of no length has no fill (the share would be 0/0); before the start the fill has
    // no width either.
    if (play.songLength > 0) {
        bar.y = 20.0f;
        bar.scaleY = 20.0f;
        bar.scaleX = float(double(play.frameWidth) * play.songTime / play.songLength);
        bar.colour = barFill;
        if (bar.scaleX > 0) drawSprite(bar);
    }

    const ClockText clock = clockText(play.songTime, play.songLength, play.frameWidth);
    drawText(clock.text.c_str(), clock.x, 19.0f, 20.0f, clockColour);
}

void drawStatusLines(const PlayValues& play, uint32_t screenNotes, int8_t transposition) {
    const std::array<std::string, 5> lines = statusLines(play, screenNotes, transposition);
    for (size_t i = 0; i < lines.size(); ++i)
        drawText(lines[i].c_str(), 0, 40.0f + 20.0f * float(i), 20.0f, statusColour);
}
