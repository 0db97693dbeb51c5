#pragma once
// The play: the song's clock (one second of lead-in, a chosen speed, looping at the end), the
// notes moving through their lists, the computer's tracks sounding, the player's input, the play
// keys, and the play screen.
#include <cstdint>
#include <vector>

#include "app/state.h"
#include "game/hud.h"
#include "game/note_lists.h"

struct AppContext;
struct KeyboardView;

class GameState : public State {
  public:
    // frameWidth and frameHeight: the frame the screen is laid out against.
    GameState(AppContext& app, uint32_t frameWidth, uint32_t frameHeight);

    void enter() override;
    // Stops every note still sounding, the player's and the computer's.
    void leave() override;
    // GoToMenu on the frame Escape is pressed, else StayInState.
    int32_t update(float dt) override;
    void render() override;
    // The clock runs unless paused; paused, the picture stands still.
    bool animating() const override;

    // Jumps the clock to t; notes begun before the note found there are not played again.
    void seek(float t);
    // Back to the lead-in before the song's start, every list empty.
    void restart();

    // The play's values, public for the HUD and for tests.
    uint32_t windowWidth = 640;
    uint32_t windowHeight = 480;
    AppContext* context = nullptr;
    HudSprites sprites;
    double songTime = 0; // seconds; enter sets the lead-in
    double songLength = 0;
    float noteWidthScale = 1;
    float verticalScale = 1;
    int32_t keyboardHeight = 300;
    int32_t hitLine = 0;
    float inputVolume = 2.0f;
    float songSpeed = 1.0f; // song seconds per real second
    float noteSpread = 400; // pixels of one song second before the vertical scale
    bool paused = false;
    bool seekDragging = false;
    float keyRate = 1.0f;
    uint8_t lowestNote = 128;
    uint8_t highestNote = 0;
    uint8_t whiteKeyCount = 1;
    KeyboardView* keyboardView = nullptr;
    std::vector<float> bookmarks; // song times of bookmarks 1 to 9; 0.0 is none
    double playedSeconds = 0;     // real seconds the clock ran, for the practice history

    // Song time less the latency's worth of song: where the notes are drawn.
    double displayTime() const;
    NoteScreen noteScreen() const;

  private:
    // seek and restart with the song lock already held.
    void jumpTo(float t);
    void rewind();
    // Every note the player holds and the computer sounds stops; the keys lose their owners.
    void stopSounding();
    void bookmarkKeys();
    void mouseSeeking();
    void adjustmentKeys(float dt);
    void clamp();

    uint32_t frameWidth, frameHeight;
};
