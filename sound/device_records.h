#pragma once
// The remembered MIDI devices; both records are stored in "Settings.dat" as their memory image.
#include <cstdint>

// The default names are spelt as the settings file has always stored them: they are part of its
// bytes, so "Unkown" stays.
struct InputDeviceRecord {
    char name[128] = "Unkown Input Device";
    int32_t minNote = 48;
    int32_t maxNote = 66;
    int32_t noteSpan = 18;
};
static_assert(sizeof(InputDeviceRecord) == 140);

struct OutputDeviceRecord {
    char name[128] = "Unkown Output Device";
};
static_assert(sizeof(OutputDeviceRecord) == 128);
