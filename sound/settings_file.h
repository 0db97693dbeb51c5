#pragma once
// "Settings.dat": the remembered MIDI devices with their learned key ranges.
#include <string>

struct SoundState;

inline constexpr const char* settingsFileName = "Settings.dat";

// Fills the device lists from the file. When it cannot be read, or holds not even one complete
// input record, the default lists ("Virtual Keyboard", "Simple Synth") are built and saved. Of a
// damaged file the complete records are kept, with a key range outside the keys 0 to 127 set
// back to its default; an output list left empty gets its default record.
void loadSettings(SoundState& sound, const std::string& path = settingsFileName);

// Writes the lists (at most 255 records each) to a temporary file beside path and renames it over
// path, so that a failed save leaves the earlier file whole. False when nothing was written.
bool saveSettings(const SoundState& sound, const std::string& path = settingsFileName);

// Replaces the lists by the two pseudo-devices.
void buildDefaultDevices(SoundState& sound);
