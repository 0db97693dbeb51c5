// The keyboard and a falling note on a real GL context with the shipped textures, checked by
// reading pixels back.
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <memory>

#include "app/app_context.h"
#include "game/note_sprite.h"
#include "piano/keyboard_view.h"
#include "platform/window.h"
#include "render/frame.h"
#include "render/shapes.h"
#include "render/texture_registry.h"
#include "support/gl_pixels.h"

namespace {

using glpixels::shadeAt;
using Pixel = glpixels::Shade;

constexpr int width = 1920, height = 1080;

} // namespace

TEST(GameGl, KeysAndNotesShowTheirTrackColours) {
    ASSERT_TRUE(createWindow("Cadenzio", width, height));
    ASSERT_TRUE(createShapeRenderer());
    ASSERT_TRUE(createSpritePass());
    createTextureRegistry(CADENZIO_SOURCE_DIR "/runtime/Data/Textures");
    auto app = std::make_unique<AppContext>();
    app->palette = defaultPalette();
    KeyboardView view;
    initialiseKeyboardView(view, width, height);
    layoutKeyboard(view, 60, 71);
    app->piano.keyOwners[62].push_back(1); // a computer note of colour 1 sounds on D

    Track track;
    track.colour = 2;
    track.notes.push_back({1.0, 0.5, 0, 64, 64}); // E, lower end 0.25 s above the hit line
    track.upcoming.push_back(0);
    NoteLayout layout;
    layout.displayTime = 0.75;
    layout.screen.verticalScale = view.verticalScale;
    layout.screen.hitLine = int32_t(view.keyboardTopY);
    layout.keyboard = &view;
    FancyNoteSprite fancy;
    fancy.loadTextures();

    drawLanes(view);
    drawNotes({track}, layout, fancy, app->palette);
    drawKeys(view, *app);
    drawQueuedFrame(width, height, {});

    // The same spot of the idle C and of the coloured D: the key texture tinted 0.95 grey
    // against the tint of colour 1.
    const int y = height - 30, keyWidth = width / 7;
    const Pixel idle = shadeAt(100, y), coloured = shadeAt(keyWidth + 100, y);
    ASSERT_GT(idle.r, 0.5f);
    const Colour& tint = app->palette[1];
    EXPECT_NEAR(coloured.r, idle.r / 0.95f * tint.r, 0.02f);
    EXPECT_NEAR(coloured.g, idle.g / 0.95f * tint.g, 0.02f);
    EXPECT_NEAR(coloured.b, idle.b / 0.95f * tint.b, 0.02f);

    // The note's middle above the keys, in colour 2 over the black background.
    const Pixel note = shadeAt(2 * keyWidth + keyWidth / 2, int(view.keyboardTopY) - 150);
    const Colour& noteTint = app->palette[2];
    EXPECT_NEAR(note.b / note.r, noteTint.b / noteTint.r, 0.05f);
    EXPECT_GT(note.b, 0.5f);
    // Beside it, between the lanes, nothing is drawn.
    const Pixel beside = shadeAt(4 * keyWidth + keyWidth / 2, int(view.keyboardTopY) - 150);
    EXPECT_EQ(beside.r + beside.g + beside.b, 0.0f);

    releaseTextureRegistry();
    releaseSpritePass();
    releaseShapeRenderer();
    destroyWindow();
}
