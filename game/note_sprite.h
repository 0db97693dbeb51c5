#pragma once
// The falling-note drawers: a textured bar in three pieces (the default) or the coloured outline
// of a rectangle, and the routine that places every listed note of the song.
#include <cstdint>
#include <vector>

#include "app/palette.h"
#include "game/note_lists.h"
#include "render/colour.h"
#include "render/sprite_pass.h"
#include "songs/song.h"

struct KeyboardView;

class NoteSprite {
  public:
    virtual ~NoteSprite() = default;
    // Loads the drawer's textures and keeps their indices and sizes.
    virtual void loadTextures() = 0;
    // Queues the bar with the current colour, size and position.
    virtual void draw() = 0;
    virtual void setColour(const Colour& colour) = 0;
    virtual void setAlpha(float alpha) = 0;
    // x of the left edge, y of the lower end, in frame pixels.
    virtual void setPosition(int32_t x, int32_t y) = 0;
    virtual void setPosition(const float (&xy)[2]) = 0;
    // Width as a multiple of the note texture's width; full height of the bar in pixels.
    virtual void setSize(float widthFactor, float height) = 0;
    virtual void setSize(const float (&size)[2]) = 0;
    // The height a bar of this nominal height takes on screen, and whether it hides what lies
    // under it (an outline does not).
    virtual float drawnHeight(float height) const { return height; }
    virtual bool opaque() const { return false; }
};

// Top cap, middle and bottom cap ("NoteTop.png", "NoteMid.png", "NoteBot.png"); never lower
// than the two caps and one middle pixel.
class FancyNoteSprite : public NoteSprite {
  public:
    void loadTextures() override;
    void draw() override;
    void setColour(const Colour& colour) override;
    void setAlpha(float alpha) override;
    void setPosition(int32_t x, int32_t y) override;
    void setPosition(const float (&xy)[2]) override;
    void setSize(float widthFactor, float height) override;
    void setSize(const float (&size)[2]) override;
    float drawnHeight(float height) const override;
    bool opaque() const override { return true; }

    Sprite top, middle, bottom;
    int32_t middleHeight = 1;
};

// The outline of the bar, cut at the keyboard's top edge; "NoteMid.png" gives only its width.
class FastNoteSprite : public NoteSprite {
  public:
    // keyboard: the view whose top edge cuts the bars; none cuts them at 0.
    explicit FastNoteSprite(const KeyboardView* keyboard);
    void loadTextures() override;
    void draw() override;
    void setColour(const Colour& colour) override;
    void setAlpha(float alpha) override;
    void setPosition(int32_t x, int32_t y) override;
    void setPosition(const float (&xy)[2]) override;
    void setSize(float widthFactor, float height) override;
    void setSize(const float (&size)[2]) override;

    Sprite sprite;

  private:
    const KeyboardView* keyboard;
};

// Where the notes go on screen: the play's note screen at the display time, over the keys the
// keyboard view laid out (its start note, white key count, key x scale and frame width).
struct NoteLayout {
    NoteScreen screen;
    double displayTime = 0; // song time minus latency times speed
    const KeyboardView* keyboard = nullptr;
};

// Draws the ended, sounding and upcoming notes of every track that is neither Hidden nor Muted,
// in track order, through the drawer. A note that a later one of its key would wholly cover on
// screen is left out (for an outline drawer, only one drawn again exactly in its place): dense
// songs put thousands of notes on the same pixels.
void drawNotes(const std::vector<Track>& tracks, const NoteLayout& layout, NoteSprite& drawer,
               const Palette& palette);
