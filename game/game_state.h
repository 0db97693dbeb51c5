#pragma once
// The play: the song's clock (one second of lead-in, a chosen speed, looping at the end), the
// notes moving through their lists, the computer's tracks sounding, the player's input, the play
// keys, and the play screen.
#include <cstdint>
#include <vector>

#include "app/state.h"
#include "game/hud.h"
#include "game/note_lists.h"
#include "game/play_values.h"
#include "game/practice.h"

struct AppContext;
struct KeyboardView;

// Its clock, speed, spread, input volume and frame are its PlayValues, which the HUD reads; the
// keyboard's layout (range, scale, hit line) is read from the keyboard view.
class GameState : public State, public PlayValues {
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

    // The rest of the play's values, public for tests.
    AppContext* context = nullptr;
    HudSprites sprites;
    bool paused = false;
    bool seekDragging = false;
    float keyRate = 1.0f;
    KeyboardView* keyboardView = nullptr;
    std::vector<float> bookmarks; // song times of bookmarks 1 to 9; 0.0 is none
    Practice practice;            // Wait for Me, the loop and the pass's figures
    double playedSeconds = 0;     // real seconds the clock ran, for the practice history

    // Song time less the latency's worth of song: where the notes are drawn.
    double displayTime() const;
    // The note spread over the keyboard's vertical scale and hit line.
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
    // The clock's step of this frame, held by Wait for Me, ending a pass at the song's or the
    // loop's end.
    void advanceClock(float dt);
    void renderPractice();
};
