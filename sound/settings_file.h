#pragma once
// "Settings.dat": the remembered MIDI devices with their learned key ranges.
#include <string>

struct SoundState;

inline constexpr const char* settingsFileName = "Settings.dat";

// Fills the device lists from the file. When it is missing, or holds not even one complete input
// record, the default lists ("Virtual Keyboard", "Simple Synth") are built and saved. Of a
// damaged file the complete records are kept, with a key range outside the keys 0 to 127 set
// back to its default; an output list left empty gets its default record. A file that exists but
// cannot be read, or is no regular file, gives the defaults with one line on standard error, and
// settingsSavable false: it is never saved over in this run.
void loadSettings(SoundState& sound, const std::string& path = settingsFileName);

// Writes the lists (at most 255 records each) to a temporary file beside path and renames it over
// path, so that a failed save leaves the earlier file whole. False, with a line on standard error
// when the save failed, when nothing was written; also false without trying when the lists did
// not come from a readable file (see loadSettings).
bool saveSettings(const SoundState& sound, const std::string& path = settingsFileName);

// Replaces the lists by the two pseudo-devices.
void buildDefaultDevices(SoundState& sound);
