// Runs against a private JACK server (tests/support/with_jack.sh); the other ends of the ports are
// virtual ports made here with the library's JACK back end.
#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "sound/device_names.h"
#include "sound/midi_devices.h"
#include "sound/midi_ports.h"
#include "sound/settings_file.h"
#include "sound/sound_output.h"
#include "sound/sound_state.h"
#include "sound/sound_system.h"
#include "support/midi_waits.h"

namespace {

using Message = std::vector<unsigned char>;

// A keyboard: a virtual output port whose notes reach the program's input.
std::unique_ptr<RtMidiOut> keyboard(const std::string& client) {
    auto out = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, client);
    out->openVirtualPort("out");
    return out;
}

// A synthesiser: a virtual input port that receives the program's output.
std::unique_ptr<RtMidiIn> synthesiser(const std::string& client) {
    auto in = std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, client);
    in->openVirtualPort("in");
    return in;
}

const Message probeNote{0x80, 0, 0};

// Every message up to and including the first with the given key.
std::vector<Message> receiveUntilKey(RtMidiIn& in, unsigned char key) {
    std::vector<Message> got;
    eventually([&] {
        Message m;
        while (in.getMessage(&m), !m.empty()) {
            got.push_back(m);
            if (m.size() > 1 && m[1] == key) return true;
        }
        return false;
    });
    return got;
}

class MidiDevices : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("JACK_DEFAULT_SERVER"), nullptr) << "run through with_jack.sh";
        buildDefaultDevices(app);
    }
    void TearDown() override {
        soundShutdown(app);
        stopMidiDevices(app);
    }
    // The program's clients, started the way start-up starts them.
    void startClients() {
        app.midiOut = startMidiOut(outputClientName);
        app.midiIn = startMidiIn(inputClientName);
        ASSERT_NE(app.midiOut, nullptr);
        ASSERT_NE(app.midiIn, nullptr);
        if (app.midiIn->getCurrentApi() != RtMidi::UNIX_JACK)
            GTEST_SKIP() << "another MIDI back end offers ports on this machine";
    }
    SoundState app;
};

} // namespace

TEST_F(MidiDevices, StartUpOpensTheFirstPortsAndRemembersTheirDevices) {
    auto keys = keyboard("Test Keys");
    auto synth = synthesiser("Test Synth");
    startMidiDevices(app);
    ASSERT_NE(app.midiIn, nullptr);
    if (app.midiIn->getCurrentApi() != RtMidi::UNIX_JACK) GTEST_SKIP();

    // The program's own ports are not offered to itself.
    EXPECT_EQ(inputPortDevices(app), std::vector<std::string>{"Test Keys:out"});
    EXPECT_EQ(outputPortDevices(app), std::vector<std::string>{"Test Synth:in"});

    EXPECT_EQ(app.inputPort, 0);
    ASSERT_EQ(app.inputDevices.size(), 2u);
    EXPECT_EQ(app.selectedInputDevice, 1);
    const InputDeviceRecord& record = app.inputDevices[1];
    EXPECT_STREQ(record.name, "Test Keys:out");
    EXPECT_EQ(std::memcmp(record.name + 13, "\0evice\0", 7), 0); // the default text's tail
    EXPECT_EQ(record.minNote, 48);
    EXPECT_EQ(record.maxNote, 66);
    EXPECT_EQ(record.noteSpan, 18);

    EXPECT_EQ(app.outputPort, 0);
    ASSERT_EQ(app.outputDevices.size(), 2u);
    EXPECT_EQ(app.selectedOutputDevice, 1);
    EXPECT_STREQ(app.outputDevices[1].name, "Test Synth:in");

    soundStartup(app);
    EXPECT_EQ(app.outputKind, SoundOutputKindMidi);

    // Input is polled: the keyboard's note waits in the queue.
    std::vector<uint8_t> got;
    ASSERT_TRUE(connectionCarries([&] { keys->sendMessage(&probeNote); },
                                  [&] { return nextMidiMessage(app, got); }));
    const Message sent{0x91, 64, 90};
    keys->sendMessage(&sent);
    EXPECT_TRUE(midiInputOpen(app));
    EXPECT_TRUE(eventually([&] { return nextMidiMessage(app, got); }));
    EXPECT_EQ(got, sent);
    EXPECT_FALSE(nextMidiMessage(app, got));
}

TEST_F(MidiDevices, KnownDeviceReusesItsLastRecord) {
    auto keys = keyboard("Test Keys");
    app.inputDevices.push_back(newInputRecord("Test Keys:out"));
    app.inputDevices.push_back(newInputRecord("Other:out"));
    app.inputDevices.push_back(newInputRecord("Test Keys:out"));
    app.inputDevices[3].minNote = 21;
    startClients();
    openInputPort(app, 0);
    EXPECT_EQ(app.inputPort, 0);
    EXPECT_EQ(app.selectedInputDevice, 3); // the last match wins
    openInputPort(app, 0);
    EXPECT_EQ(app.selectedInputDevice, 3);
    EXPECT_EQ(app.inputDevices.size(), 4u);
    EXPECT_EQ(app.inputDevices[3].minNote, 21);
}

TEST_F(MidiDevices, VanishedPortReconnectsToPortZeroOrToNone) {
    auto keysA = keyboard("Keys A");
    auto keysB = keyboard("Keys B");
    startClients();
    const std::vector<std::string> ports = inputPortDevices(app);
    ASSERT_EQ(ports.size(), 2u);
    const uint32_t b = ports[0] == "Keys B:out" ? 0 : 1;
    openInputPort(app, b);
    EXPECT_STREQ(app.inputDevices[app.selectedInputDevice].name, "Keys B:out");

    keysB.reset();
    ASSERT_TRUE(eventually([&] { return inputPortDevices(app).size() == 1; }));
    ensureMidiInput(app);
    EXPECT_EQ(app.inputPort, 0);
    EXPECT_STREQ(app.inputDevices[app.selectedInputDevice].name, "Keys A:out");

    // Choosing "Virtual Keyboard" while a port exists lasts until the next poll.
    openInputPort(app, noPort);
    EXPECT_EQ(app.inputPort, -1);
    EXPECT_EQ(app.selectedInputDevice, 0);
    ensureMidiInput(app);
    EXPECT_EQ(app.inputPort, 0);

    keysA.reset();
    ASSERT_TRUE(eventually([&] { return inputPortDevices(app).empty(); }));
    ensureMidiInput(app);
    EXPECT_EQ(app.inputPort, -1);
    EXPECT_EQ(app.selectedInputDevice, 0);
    EXPECT_FALSE(libraryPortOpen(app.midiIn));

    auto keysC = keyboard("Keys C");
    ASSERT_TRUE(eventually([&] { return inputPortDevices(app).size() == 1; }));
    ensureMidiInput(app);
    EXPECT_EQ(app.inputPort, 0);
    EXPECT_STREQ(app.inputDevices[app.selectedInputDevice].name, "Keys C:out");
    EXPECT_EQ(app.inputDevices.size(), 4u);
}

TEST_F(MidiDevices, NoteOffLeavesOnlyWithTheLastHolder) {
    auto synth = synthesiser("Test Synth");
    startClients();
    openOutputPort(app, 0);
    ASSERT_EQ(app.outputPort, 0);
    soundStartup(app);
    ASSERT_EQ(app.outputKind, SoundOutputKindMidi);

    ASSERT_TRUE(connectionCarries([&] { app.midiOut->sendMessage(&probeNote); },
                                  [&] {
                                      Message m;
                                      synth->getMessage(&m);
                                      return !m.empty();
                                  }));

    SoundOutputManager& out = *app.output;
    out.play({0x92, 60, 100});
    out.play({0x92, 60, 100});
    out.stop({0x82, 60, 0});
    out.stop({0x82, 60, 0});
    out.play({0x93, 61, 200}); // a velocity byte from a damaged file keeps only its low bits
    out.play({0x90, 100, 1});  // marks the end of what was sent
    const std::vector<Message> got = receiveUntilKey(*synth, 100);
    const std::vector<Message> expected{
        {0x92, 60, 100}, {0x92, 60, 100}, {0x82, 60, 0}, {0x93, 61, 72}, {0x90, 100, 1}};
    EXPECT_EQ(got, expected);
}

TEST_F(MidiDevices, ChoosingOutputsSwitchesBetweenMidiAndTheSimpleSynth) {
    auto synth = synthesiser("Test Synth");
    startClients();
    openOutputPort(app, 0);
    soundStartup(app);
    ASSERT_EQ(app.outputKind, SoundOutputKindMidi);

    openOutputPort(app, noPort);
    EXPECT_EQ(app.outputKind, SoundOutputKindWave);
    EXPECT_EQ(app.outputPort, -1);
    EXPECT_EQ(app.selectedOutputDevice, 0);
    EXPECT_FALSE(libraryPortOpen(app.midiOut));

    openOutputPort(app, 0);
    EXPECT_EQ(app.outputKind, SoundOutputKindMidi);
    EXPECT_EQ(app.selectedOutputDevice, 1);
    EXPECT_EQ(app.outputDevices.size(), 2u);

    openOutputPort(app, 1); // past the list
    EXPECT_EQ(app.outputKind, SoundOutputKindWave);
    EXPECT_EQ(app.outputPort, -1);
}

// A list of 255 remembered devices is full: a new device plays through a spare record that is
// never saved, and no selection wraps round to another device's record.
TEST_F(MidiDevices, FullListUsesASpareRecord) {
    auto keys = keyboard("Test Keys");
    for (int i = 1; i < 255; ++i)
        app.inputDevices.push_back(newInputRecord("Keys " + std::to_string(i)));
    startClients();
    openInputPort(app, 0);
    EXPECT_EQ(app.inputPort, 0);
    ASSERT_EQ(app.selectedInputDevice, 255);
    ASSERT_EQ(app.inputDevices.size(), 256u);
    EXPECT_STREQ(app.inputDevices[255].name, "Test Keys:out");
    learnKeyRange(app, 30, 0);
    EXPECT_EQ(app.inputDevices[255].minNote, 30);
    EXPECT_EQ(app.inputDevices[0].minNote, 48);
    openInputPort(app, 0);
    EXPECT_EQ(app.selectedInputDevice, 255);
    EXPECT_EQ(app.inputDevices.size(), 256u);
}

TEST_F(MidiDevices, PortTheLibraryFailsToOpenCountsAsNoPort) {
    auto keys = keyboard("Test Keys");
    startClients();
    EXPECT_FALSE(openLibraryPort(app.midiIn, 99, inputPortName));
    EXPECT_FALSE(libraryPortOpen(app.midiIn));
    EXPECT_TRUE(openLibraryPort(app.midiIn, 0, inputPortName));
}

// Started with a keyboard attached, the program remembers it in "Settings.dat" after quitting,
// with the range its keys taught.
TEST_F(MidiDevices, WholeRunRemembersTheKeyboard) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("cadenzio-midi-" + std::to_string(getpid()) + ".dat"))
                                 .string();
    std::filesystem::remove(path);
    auto keys = keyboard("Stage Piano");
    SoundState run;
    loadSettings(run, path);
    startMidiDevices(run);
    if (run.midiIn == nullptr || run.midiIn->getCurrentApi() != RtMidi::UNIX_JACK) {
        stopMidiDevices(run);
        GTEST_SKIP();
    }
    soundStartup(run);
    EXPECT_EQ(run.outputKind, SoundOutputKindWave); // no synthesiser port: the Simple Synth
    std::vector<uint8_t> probe;
    ASSERT_TRUE(connectionCarries([&] { keys->sendMessage(&probeNote); },
                                  [&] { return nextMidiMessage(run, probe); }));
    for (unsigned char key : {36, 96}) {
        const Message note{0x90, key, 64};
        keys->sendMessage(&note);
    }
    int learned = 0;
    EXPECT_TRUE(eventually([&] {
        std::vector<uint8_t> m;
        while (nextMidiMessage(run, m)) {
            learnKeyRange(run, m[1], 0);
            ++learned;
        }
        return learned == 2;
    }));
    soundShutdown(run);
    EXPECT_TRUE(saveSettings(run, path));
    stopMidiDevices(run);

    SoundState next;
    loadSettings(next, path);
    std::filesystem::remove(path);
    ASSERT_EQ(next.inputDevices.size(), 2u);
    EXPECT_STREQ(next.inputDevices[1].name, "Stage Piano:out");
    EXPECT_EQ(next.inputDevices[1].minNote, 36);
    EXPECT_EQ(next.inputDevices[1].maxNote, 96);
    EXPECT_EQ(next.inputDevices[1].noteSpan, 60);
}

// A flood that nobody reads: the input keeps the oldest messages and says once that it dropped
// the rest, instead of a line per message from the library's thread.
TEST_F(MidiDevices, UnreadFloodIsReportedOnce) {
    auto keys = keyboard("Test Keys");
    // A second reader of the keyboard shows when the whole flood has been delivered. It holds
    // the whole flood, so that its own library says nothing of a full queue.
    RtMidiIn listener(RtMidi::UNIX_JACK, "Test Listener", 4096);
    for (unsigned i = 0; i < listener.getPortCount(); ++i)
        if (listener.getPortName(i).find("Test Keys:out") != std::string::npos)
            listener.openPort(i);
    ASSERT_TRUE(listener.isPortOpen());
    ASSERT_TRUE(connectionCarries([&] { keys->sendMessage(&probeNote); },
                                  [&] {
                                      Message m;
                                      listener.getMessage(&m);
                                      return !m.empty();
                                  }));
    startClients();
    openInputPort(app, 0);
    ASSERT_EQ(app.inputPort, 0);
    std::vector<uint8_t> got;
    ASSERT_TRUE(connectionCarries([&] { keys->sendMessage(&probeNote); },
                                  [&] { return nextMidiMessage(app, got); }));

    testing::internal::CaptureStderr();
    const int sent = 1500;
    for (int i = 0; i < sent; ++i) {
        const Message note{0x90, uint8_t(i % 128), uint8_t(1 + i / 128)};
        keys->sendMessage(&note);
        if (i % 100 == 99) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const MidiInputQueue& queue = *app.midiIn;
    const bool filled = eventually([&] { return queue.writeCount - queue.readCount >= 1024; });
    // The server runs synchronously, one cycle after another: once a note sent after a note that
    // reached the listener has reached it too, the cycle that carried the first, and the whole
    // flood before it, is over for the program's input as well.
    bool delivered = true;
    for (unsigned char mark : {101, 102}) {
        const Message note{0x91, mark, 1};
        keys->sendMessage(&note);
        delivered = delivered && eventually([&] {
                        Message m;
                        while (listener.getMessage(&m), !m.empty())
                            if (m == note) return true;
                        return false;
                    });
    }
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(filled);
    ASSERT_TRUE(delivered) << "the listener never heard the end of the flood";
    EXPECT_EQ(said.find("limit reached"), std::string::npos) << said;
    size_t reports = 0;
    for (size_t at = said.find("input queue full"); at != std::string::npos;
         at = said.find("input queue full", at + 1))
        ++reports;
    EXPECT_EQ(reports, 1u) << said;

    for (int i = 0; i < 1024; ++i) {
        ASSERT_TRUE(nextMidiMessage(app, got));
        ASSERT_EQ(got, (Message{0x90, uint8_t(i % 128), uint8_t(1 + i / 128)}));
    }
    EXPECT_FALSE(nextMidiMessage(app, got));

    // Read again, the input carries new notes.
    const Message after{0x92, 70, 5};
    keys->sendMessage(&after);
    EXPECT_TRUE(eventually([&] { return nextMidiMessage(app, got); }));
    EXPECT_EQ(got, after);
}

// A library error met again (here a port that does not exist) is not repeated on standard error.
TEST_F(MidiDevices, RepeatedLibraryErrorIsReportedOnce) {
    startClients();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(openLibraryPort(app.midiIn, 99, inputPortName));
    const std::string first = testing::internal::GetCapturedStderr();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(openLibraryPort(app.midiIn, 99, inputPortName));
    EXPECT_FALSE(openLibraryPort(app.midiIn, 98, inputPortName));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_LE(std::count(first.begin(), first.end(), '\n'), 1) << first;
}
