#include <gtest/gtest.h>

#include <cstring>

#include "sound/device_names.h"
#include "sound/midi_devices.h"
#include "sound/sound_state.h"

TEST(DeviceName, CutsOnlyTheSequencersPortNumbers) {
    EXPECT_EQ(deviceNameOf("USB Keys:USB Keys MIDI 1 20:0"), "USB Keys:USB Keys MIDI 1");
    // Two ports of one device differ only in the numbers and share one name.
    EXPECT_EQ(deviceNameOf("Piano:Piano Port 24:1"), deviceNameOf("Piano:Piano Port 24:0"));
    // Client:port names without the numbers are whole device names, spaces and digits included.
    EXPECT_EQ(deviceNameOf("Test Keys:out one"), "Test Keys:out one");
    EXPECT_EQ(deviceNameOf("a2j:Keystation 49"), "a2j:Keystation 49");
    EXPECT_NE(deviceNameOf("a2j:Keystation 49"), deviceNameOf("a2j:Keystation 61"));
    EXPECT_EQ(deviceNameOf("Odd 14:"), "Odd 14:");
    EXPECT_EQ(deviceNameOf("Odd 1:2:3"), "Odd 1:2:3");
    EXPECT_EQ(deviceNameOf("NoSpace"), "NoSpace");
    EXPECT_EQ(deviceNameOf(""), "");
    EXPECT_EQ(deviceNameOf(std::string_view("Cut\0here 1:0", 12)), "Cut");
}

TEST(DeviceName, LongNamesKeep127Bytes) {
    const std::string longName(200, 'x');
    EXPECT_EQ(deviceNameOf(longName + " 20:0"), std::string(127, 'x'));
    const InputDeviceRecord record = newInputRecord(longName);
    EXPECT_EQ(std::string(record.name), std::string(127, 'x'));
    EXPECT_EQ(record.name[127], '\0');
}

TEST(DeviceName, NewRecordsKeepTheDefaultTextsTail) {
    const InputDeviceRecord in = newInputRecord("Virtual Keyboard");
    EXPECT_STREQ(in.name, "Virtual Keyboard");
    EXPECT_EQ(std::memcmp(in.name + 17, "ce\0", 3), 0);
    EXPECT_EQ(in.minNote, 48);
    EXPECT_EQ(in.maxNote, 66);
    EXPECT_EQ(in.noteSpan, 18);
    const OutputDeviceRecord out = newOutputRecord("Simple Synth");
    EXPECT_EQ(std::memcmp(out.name + 12, "\0 Device\0", 9), 0);
}

TEST(DeviceName, PortsThatLoopBackAreNotOffered) {
    EXPECT_TRUE(loopsBackToInput("RtMidi Output Client:RtMidi Output"));
    EXPECT_TRUE(loopsBackToOutput("RtMidi Input Client:RtMidi Input"));
    EXPECT_TRUE(loopsBackToInput(deviceNameOf("Midi Through:Midi Through Port-0 14:0")));
    EXPECT_TRUE(loopsBackToOutput(deviceNameOf("Midi Through:Midi Through Port-0 14:0")));
    EXPECT_FALSE(loopsBackToInput("RtMidi Input Client:RtMidi Input"));
    EXPECT_FALSE(loopsBackToOutput("Test Synth:in one"));
}

TEST(LearnKeyRange, OnlyWidensTheSelectedRecord) {
    SoundState app;
    int8_t transposition = 0;
    app.inputDevices = {newInputRecord("Virtual Keyboard"), newInputRecord("Keys")};
    app.selectedInputDevice = 1;
    learnKeyRange(app, 40, transposition);
    EXPECT_EQ(app.inputDevices[1].minNote, 40);
    EXPECT_EQ(app.inputDevices[1].maxNote, 66);
    EXPECT_EQ(app.inputDevices[1].noteSpan, 26);
    learnKeyRange(app, 70, transposition);
    learnKeyRange(app, 50, transposition);
    EXPECT_EQ(app.inputDevices[1].minNote, 40);
    EXPECT_EQ(app.inputDevices[1].maxNote, 70);
    EXPECT_EQ(app.inputDevices[1].noteSpan, 30);
    EXPECT_EQ(app.inputDevices[0].noteSpan, 18);

    // The key byte carries the transposition; the range is the device's own keys.
    transposition = -12;
    learnKeyRange(app, static_cast<uint8_t>(21 - 12), transposition);
    EXPECT_EQ(app.inputDevices[1].minNote, 21);
    transposition = 12;
    learnKeyRange(app, static_cast<uint8_t>(108 + 12), transposition);
    EXPECT_EQ(app.inputDevices[1].maxNote, 108);
    EXPECT_EQ(app.inputDevices[1].noteSpan, 87);

    // A byte above 127 is no key and teaches nothing.
    transposition = 0;
    learnKeyRange(app, 200, transposition);
    transposition = -12;
    learnKeyRange(app, static_cast<uint8_t>(130 - 12), transposition);
    EXPECT_EQ(app.inputDevices[1].maxNote, 108);

    // A selection past the list (a damaged state) changes nothing.
    app.selectedInputDevice = 9;
    learnKeyRange(app, 0, transposition);
    EXPECT_EQ(app.inputDevices[1].minNote, 21);
}
