// The settings page's port rows with a real MIDI port: a virtual keyboard on the private JACK
// server of with_jack.sh is the program's one input port, and no output port exists.
#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>

#include <cstdlib>

#include "page_fixture.h"
#include "sound/midi_devices.h"
#include "sound/midi_ports.h"
#include "sound/settings_file.h"

namespace {

const uint32_t grey = packColour({0.8f, 0.8f, 0.8f, 1});
const uint32_t yellow = packColour({0.8f, 0.8f, 0, 1});
const uint32_t green = packColour({0, 0.8f, 0, 1});

class SettingsPorts : public menutest::PageFixture {
  protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("JACK_DEFAULT_SERVER"), nullptr) << "run through with_jack.sh";
        keyboard = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "Test Keyboard");
        keyboard->openVirtualPort("out");
        PageFixture::SetUp();
        auto output = std::move(app.sound.output);
        buildDefaultDevices(app.sound);
        startMidiDevices(app.sound);
        app.sound.output = std::move(output);
        ASSERT_NE(app.sound.midiIn, nullptr);
        if (app.sound.midiIn->getCurrentApi() != RtMidi::UNIX_JACK ||
            inputPortDevices(app.sound).size() != 1)
            GTEST_SKIP() << "another MIDI back end offers ports on this machine";
        openPage(SettingsPage, InputSection);
        frame();
    }
    void TearDown() override {
        PageFixture::TearDown();
        stopMidiDevices(app.sound);
    }
    // The row text drawn at y, or nullptr.
    const QueuedText* rowAt(const std::vector<QueuedText>& texts, float y) {
        for (const QueuedText& t : texts)
            if (t.x == 384 && t.y == y) return &t;
        return nullptr;
    }
    std::unique_ptr<RtMidiOut> keyboard;
};

TEST_F(SettingsPorts, OneInputPortListsTheVirtualKeyboardThenThePortInYellowWhileOpen) {
    ASSERT_EQ(app.sound.inputPort, 0);
    input.cursorX = 1000;
    input.cursorY = 500;
    frame();
    auto texts = queuedTexts();
    ASSERT_NE(rowAt(texts, 72), nullptr);
    EXPECT_EQ(rowAt(texts, 72)->text, "Virtual Keyboard");
    EXPECT_EQ(rowAt(texts, 72)->colour, grey);
    ASSERT_NE(rowAt(texts, 104), nullptr);
    EXPECT_EQ(rowAt(texts, 104)->text, inputPortDevices(app.sound)[0]);
    EXPECT_EQ(rowAt(texts, 104)->colour, yellow);

    // The shared edge belongs to the later row.
    input.cursorX = 640;
    input.cursorY = 104;
    frame();
    EXPECT_EQ(menu->hoveredRow, 1);
    EXPECT_EQ(rowAt(queuedTexts(), 104)->colour, green);
    input.cursorY = 103;
    frame();
    EXPECT_EQ(menu->hoveredRow, 0);
    input.cursorX = 641;
    frame();
    EXPECT_EQ(menu->hoveredRow, -1);
}

TEST_F(SettingsPorts, ClickingTheVirtualKeyboardReopensTheOnlyPortWithinTheSameUpdate) {
    click(400, 80);
    EXPECT_EQ(app.sound.inputPort, 0);
    EXPECT_TRUE(midiInputOpen(app.sound));
    input.cursorX = 1000;
    frame();
    const auto texts = queuedTexts();
    EXPECT_EQ(rowAt(texts, 72)->colour, grey);
    EXPECT_EQ(rowAt(texts, 104)->colour, yellow);
}

TEST_F(SettingsPorts, WithoutAnOutputPortOnlyTheSimpleSynthIsListedInYellow) {
    openPage(SettingsPage, OutputSection);
    input.cursorX = 1000;
    frame();
    const auto texts = queuedTexts();
    ASSERT_NE(rowAt(texts, 72), nullptr);
    EXPECT_EQ(rowAt(texts, 72)->text, "Simple Synth");
    EXPECT_EQ(rowAt(texts, 72)->colour, yellow);
    EXPECT_EQ(rowAt(texts, 104), nullptr);
}

} // namespace
