// The play screen drawn on a real GL context and read back: a falling note in its track's colour
// above the keys, a key coloured by the computer's note sounding on it, and the progress bar.
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "app/app_context.h"
#include "game/game_state.h"
#include "game/note_sprite.h"
#include "piano/keyboard_view.h"
#include "platform/input.h"
#include "platform/window.h"
#include "render/all_renderers.h"
#include "render/frame.h"
#include "render/shapes.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/texture_registry.h"
#include "render/ui_binding.h"
#include "sound/sound_output.h"
#include "support/gl_pixels.h"

namespace {

using glpixels::Pixel;
using glpixels::pixelAt;

constexpr int width = 1920, height = 1080;

// The pixel is the colour tinted by a light texel: the same hue, nearly the same brightness.
void expectTint(const Pixel& pixel, const Colour& colour, const char* what) {
    const double shade = pixel.g / (255.0 * double(colour.g));
    EXPECT_GT(shade, 0.75) << what;
    EXPECT_LE(shade, 1.01) << what;
    EXPECT_NEAR(pixel.r, 255.0 * double(colour.r) * shade, 4) << what;
    EXPECT_NEAR(pixel.b, 255.0 * double(colour.b) * shade, 4) << what;
}

class PlayGl : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(openRenderers(width, height, CADENZIO_SOURCE_DIR "/runtime/Data/Textures"))
            << windowError();
    }
    static void TearDownTestSuite() { closeRenderers(); }
    void SetUp() override {
        app.palette = defaultPalette();
        initialiseKeyboardView(view, width, height);
        app.keyboardView = &view;
        app.noteSprite = new FancyNoteSprite();
        app.noteSprite->loadTextures();
        app.sound.inputDevices.assign(1, InputDeviceRecord{});
        app.sound.inputDevices[0].minNote = 0;
        app.sound.inputDevices[0].maxNote = 127;
        app.sound.output = std::make_unique<SoundOutputMidi>(MidiSend(), app.sound.counts);
        app.sound.soundMessage.assign(3, 0);
        input = InputDevices{};
    }
    void TearDown() override {
        game->leave();
        delete app.noteSprite;
    }
    // Runs the play to the time t and draws one frame as the main loop does.
    void playTo(double t) {
        game = std::make_unique<GameState>(app, width, height);
        game->enter();
        while (game->songTime + 1.0 / 60 <= t) game->update(1.0f / 60);
        UiFrameInput ui;
        ui.dt = 1.0f / 60;
        uiNewFrame(ui);
        game->render();
        drawQueuedFrame(width, height, {});
    }
    Track& track(PlayType type, uint32_t colour, uint8_t key, double start, double duration) {
        Track t;
        t.colour = colour;
        t.playType = type;
        Note n;
        n.start = start;
        n.duration = duration;
        n.key = key;
        n.velocity = 90;
        t.notes = {n};
        t.lowestKey = t.highestKey = key;
        t.length = 4;
        app.song.tracks.push_back(t);
        return app.song.tracks.back();
    }
    AppContext app;
    KeyboardView view;
    std::unique_ptr<GameState> game;
};

TEST_F(PlayGl, FallingNoteAndSoundingKeyTakeTheirTracksColours) {
    track(PlayType::Displayed, 1, 60, 2.0, 1.0); // falls over the first key (C)
    track(PlayType::Displayed, 2, 64, 0.2, 3.0); // sounds on E
    track(PlayType::Displayed, 3, 71, 3.5, 0.5); // sets the range to one octave
    playTo(1.6);
    ASSERT_EQ(view.whiteKeyCount, 7u);
    const int keyWidth = width / 7;

    // The note's lower end is at the hit line when the display time reaches its start.
    const double display = game->displayTime();
    const double perSecond = double(game->noteSpread) * double(view.verticalScale);
    const int bottom = int((display - 2.0) * perSecond + view.hitLine);
    ASSERT_GT(bottom - int(perSecond), 60);
    expectTint(pixelAt(keyWidth / 2, bottom - int(perSecond) / 2), app.palette[1], "note");
    EXPECT_EQ(pixelAt(keyWidth / 2, bottom + 20).g, 0) << "below the note";

    // E, the third white key, sounds for the computer: colour 2, undimmed.
    expectTint(pixelAt(keyWidth * 5 / 2, height - 40), app.palette[2], "E");
    // D beside it is idle: the neutral light grey.
    expectTint(pixelAt(keyWidth * 3 / 2, height - 40), app.palette[0], "D");

    // Progress bar: the fill to 40 % of the width at 1.6 s of 4, the background after it.
    const Pixel fill = pixelAt(width / 8, 22);
    EXPECT_NEAR(fill.r, 64, 3);
    EXPECT_NEAR(fill.b, 178, 3);
    const Pixel background = pixelAt(width * 2 / 5 + 60, 22);
    EXPECT_NEAR(background.r, 204, 3);
    EXPECT_NEAR(background.b, 217, 3);
}

TEST_F(PlayGl, OutlineDrawerCutsTheBarAtTheKeyboard) {
    track(PlayType::Displayed, 4, 62, 0.5, 2.0); // sounding across the hit line
    track(PlayType::Displayed, 3, 71, 3.5, 0.5);
    delete app.noteSprite;
    app.noteSprite = new FastNoteSprite(&view);
    app.noteSprite->loadTextures();
    playTo(1.5);
    const int keyWidth = width / 7;
    // The bar's left edge is a line in the track's colour above the keyboard...
    const int x = keyWidth;
    bool found = false;
    for (int dx = -1; dx <= 1 && !found; ++dx) {
        const Pixel p = pixelAt(x + dx, view.hitLine - 100);
        found = std::abs(p.r - int(255 * app.palette[4].r)) < 3 &&
                std::abs(p.g - int(255 * app.palette[4].g)) < 3;
    }
    EXPECT_TRUE(found);
    // ...and its inside is empty.
    EXPECT_EQ(pixelAt(x + keyWidth / 2, view.hitLine - 100).r, 0);
}

} // namespace
