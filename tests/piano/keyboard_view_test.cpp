// Keyboard layout, lanes and key colours, read from the queued sprites.
#include "piano/keyboard_view.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/app_context.h"
#include "support/fake_textures.h"

namespace {

class KeyboardViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app = std::make_unique<AppContext>();
        app->palette = defaultPalette();
        initialise(1920, 1080);
    }
    void TearDown() override { spritePass(0, 0); }
    void initialise(uint32_t width, uint32_t height) {
        view = KeyboardView{};
        initialiseKeyboardView(view, width, height);
    }
    // The colour drawn for key k after a drawKeys of the layout from 0 to 127.
    Colour drawnColour(uint32_t k) {
        spritePass(0, 0);
        drawKeys(view, *app);
        const std::vector<SpriteCommand>& queue = spriteQueue();
        const bool black = k % 12 == 1 || k % 12 == 3 || k % 12 == 6 || k % 12 == 8 || k % 12 == 10;
        size_t index = black ? 74 : 0; // white keys first, then the black ones
        for (uint32_t key = 0; key < k; ++key) {
            const bool keyBlack =
                key % 12 == 1 || key % 12 == 3 || key % 12 == 6 || key % 12 == 8 || key % 12 == 10;
            if (keyBlack == black) ++index;
        }
        EXPECT_EQ(queue.size(), 127u);
        return index < queue.size() ? queue[index].colour : Colour{};
    }
    static void expectGrey(const Colour& colour, float grey) {
        EXPECT_NEAR(colour.r, grey, 1e-5);
        EXPECT_NEAR(colour.g, grey, 1e-5);
        EXPECT_NEAR(colour.b, grey, 1e-5);
        EXPECT_EQ(colour.a, 1.0f);
    }
    static void expectColour(const Colour& colour, const Colour& expected, float factor = 1) {
        EXPECT_NEAR(colour.r, expected.r * factor, 1e-5);
        EXPECT_NEAR(colour.g, expected.g * factor, 1e-5);
        EXPECT_NEAR(colour.b, expected.b * factor, 1e-5);
    }

    FakeTextures textures;
    std::unique_ptr<AppContext> app;
    KeyboardView view;
};

} // namespace

TEST_F(KeyboardViewTest, LayoutIsWholeOctavesBelowKey127) {
    EXPECT_EQ(view.whiteKeyWidth, 24);
    EXPECT_EQ(view.line.scaleY, 1080);

    layoutKeyboard(view, 60, 71);
    EXPECT_EQ(view.startNote, 60u);
    EXPECT_EQ(view.endNote, 72u);
    EXPECT_EQ(view.whiteKeyCount, 7u);
    EXPECT_FLOAT_EQ(view.verticalScale, 1.1f);
    EXPECT_FLOAT_EQ(view.keyboardTopY, 1080 - 256 * 1.1f);
    EXPECT_EQ(view.hitLine, 1080 - 281); // the keys are 281.6 pixels high, 281 whole ones

    layoutKeyboard(view, 50, 73);
    EXPECT_EQ(view.startNote, 48u);
    EXPECT_EQ(view.endNote, 84u);
    EXPECT_EQ(view.whiteKeyCount, 21u);

    layoutKeyboard(view, 100, 127);
    EXPECT_EQ(view.endNote, 127u);
    layoutKeyboard(view, 0, 127); // the menu's keyboard: keys 0 to 126
    EXPECT_EQ(view.whiteKeyCount, 74u);
    EXPECT_EQ(view.semitoneRange, 127u);

    // No visible track, or keys no song can have: the octave from 60, never a division by 0.
    for (auto [low, high] : {std::pair{128u, 0u}, std::pair{200u, 300u}}) {
        layoutKeyboard(view, low, high);
        EXPECT_EQ(view.startNote, 60u);
        EXPECT_EQ(view.endNote, 72u);
        EXPECT_EQ(view.whiteKeyCount, 7u);
    }
}

TEST_F(KeyboardViewTest, KeyWidthAndScaleFollowTheFrame) {
    initialise(1000, 720);
    layoutKeyboard(view, 50, 73);
    EXPECT_FLOAT_EQ(view.keyXScale * view.whiteKeyWidth, 47); // 13 pixels stay empty
    EXPECT_NEAR(view.verticalScale, 0.7333f, 1e-4);
    drawKeys(view, *app);
    const SpriteCommand& first = spriteQueue().front();
    EXPECT_EQ(first.destination.right - first.destination.left, 47);
    EXPECT_EQ(first.destination.top, int(720 - 256 * view.verticalScale));
}

TEST_F(KeyboardViewTest, LanesMarkEveryFAndC) {
    layoutKeyboard(view, 60, 71);
    drawLanes(view);
    const std::vector<SpriteCommand>& queue = spriteQueue();
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue[0].destination.left, int(3 * (1920.0f / 7)));
    EXPECT_EQ(queue[1].destination.left, 1920);
    EXPECT_EQ(queue[0].destination.bottom - queue[0].destination.top, 1080);
    EXPECT_EQ(queue[0].destination.right - queue[0].destination.left, 1);
    EXPECT_NEAR(queue[0].colour.r, 0.25f, 1e-6);
}

TEST_F(KeyboardViewTest, KeysShowWhoSoundsThem) {
    layoutKeyboard(view, 0, 127);
    expectGrey(drawnColour(60), 0.95f); // idle
    expectGrey(drawnColour(61), 0.3f);

    app->piano.keyOwners[60].push_back(3); // a computer note of colour 3
    app->piano.keyOwners[61].push_back(3);
    expectColour(drawnColour(60), app->palette[3]);
    expectColour(drawnColour(61), app->palette[9]);

    app->piano.held[62] = 2; // the player's press matched colour 2
    app->piano.held[63] = 2;
    expectColour(drawnColour(62), app->palette[2], 0.5f);
    expectColour(drawnColour(63), app->palette[8]);

    app->piano.held[64] = 0; // a press that matched nothing
    app->piano.held[66] = 0;
    expectGrey(drawnColour(64), 0.475f);
    expectGrey(drawnColour(66), 0.2f);

    // A colour index the palette lacks shows neutral rather than reading past it.
    app->piano.keyOwners[65].push_back(200);
    expectGrey(drawnColour(65), 0.95f);
}

TEST_F(KeyboardViewTest, KeysOutOfReachAreDimmed) {
    layoutKeyboard(view, 0, 127);
    InputDeviceRecord keyboard;
    keyboard.minNote = 36;
    keyboard.maxNote = 96;
    app->sound.inputDevices = {InputDeviceRecord{}, keyboard};
    app->sound.selectedInputDevice = 1;
    app->transposition = 12;
    expectGrey(drawnColour(47), 0.95f * 0.3f);
    expectGrey(drawnColour(48), 0.95f);
    expectGrey(drawnColour(108), 0.95f);
    expectGrey(drawnColour(109), 0.3f * 0.5f);

    // A selection without a record reaches the default 48 to 66.
    app->transposition = 0;
    app->sound.selectedInputDevice = 7;
    expectGrey(drawnColour(47), 0.95f * 0.3f);
    expectGrey(drawnColour(48), 0.95f);
    expectGrey(drawnColour(66), 0.3f);
    expectGrey(drawnColour(67), 0.95f * 0.3f);
}
