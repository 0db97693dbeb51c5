// MIDI input on pages that do not read it, against a private JACK server
// (tests/support/with_jack.sh) with a virtual keyboard as the other end: each frame empties the
// input without sounding, and the release of a held note still ends it.
#include <rtmidi/RtMidi.h>

#include "menu_fixture.h"
#include "sound/device_records.h"
#include "sound/midi_devices.h"
#include "sound/sound_output.h"
#include "support/midi_waits.h"

namespace {

using namespace menutest;
using Message = std::vector<uint8_t>;

class MenuMidiInput : public MenuFixture {
  protected:
    void SetUp() override {
        MenuFixture::SetUp();
        ASSERT_NE(std::getenv("JACK_DEFAULT_SERVER"), nullptr) << "run through with_jack.sh";
        keys.openVirtualPort("out");
        app.sound.inputDevices.assign(1, InputDeviceRecord{});
        app.sound.outputDevices.assign(1, OutputDeviceRecord{});
        startMidiDevices(app.sound);
        if (!midiInputOpen(app.sound)) GTEST_SKIP() << "no JACK input port";
        app.sound.counts = SoundCounts{};
        app.sound.soundMessage.assign(3, 0);
        app.sound.output = std::make_unique<SoundOutputMidi>(
            [this](const Message& message) { played.push_back(message); }, app.sound.counts);
        const Message probe{0x80, 0, 0};
        Message got;
        ASSERT_TRUE(connectionCarries([&] { keys.sendMessage(&probe); },
                                      [&] { return nextMidiMessage(app.sound, got); }));
    }
    void TearDown() override {
        MenuFixture::TearDown();
        app.sound.output.reset();
        stopMidiDevices(app.sound);
    }

    // The player holds key 60, pressed on the main menu.
    void holdKey() {
        Message press{0x90, 60, 50};
        handleMenuMidiMessage(app, press);
        ASSERT_EQ(app.piano.held[60], 0);
        frame(); // the page's frame tells the input's thread to sound nothing new
        played.clear();
    }
    // Sends a new note and the held note's release, then runs frames until the release is in.
    void playDuringFrames() {
        for (const Message& message : std::vector<Message>{{0x90, 62, 80}, {0x80, 60, 0}})
            keys.sendMessage(&message);
        ASSERT_TRUE(eventually([&] {
            frame();
            return app.piano.held[60] == -1;
        }));
    }

    RtMidiOut keys{RtMidi::UNIX_JACK, "Test Keys"};
    std::vector<Message> played;
};

TEST_F(MenuMidiInput, PagesWithoutAReaderEmptyTheInputAndOnlyReleasesSound) {
    makeFile(songs() / "a.mid");
    open();
    struct Visit {
        uint32_t page, section;
    };
    for (const Visit visit :
         {Visit{SongBrowserPage, InputSection}, Visit{SettingsPage, OutputSection},
          Visit{SettingsPage, LatencySection}, Visit{SettingsPage, SongDirectoriesSection},
          Visit{TrackSetupPage, InputSection}}) {
        SCOPED_TRACE(testing::Message() << "page " << visit.page << ", section " << visit.section);
        if (visit.page == TrackSetupPage) {
            menu->currentNode = app.songFolders->children[0]->children.at(0).get();
        }
        menu->goToPage(visit.page);
        menu->settingsSection = visit.section;
        frame();
        finishScan();
        holdKey();
        playDuringFrames();
        EXPECT_EQ(played, std::vector<Message>{Message({0x80, 60, 0})});
        EXPECT_EQ(app.piano.held[62], -1);
        EXPECT_EQ(app.sound.counts.soundingTotal, 0);
        Message left;
        EXPECT_FALSE(nextMidiMessage(app.sound, left));
    }
}

} // namespace
