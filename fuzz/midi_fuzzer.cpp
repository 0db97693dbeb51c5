// The MIDI reader and everything a loaded file goes through: conversion into tracks of notes (what
// Notepress writes) and the event decoding Cadenzio's player uses.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "songs/conversion.h"
#include "songs/midi_reader.h"
#include "songs/song.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    Song song;
    readMidiBytes(song, bytes);
    // Cadenzio converts whatever the reader kept, accepted or not.
    for (uint32_t i = 0; i < song.trackChunks.size() && i < 64; ++i) decodeTrack(song, i);
    // One worker: threads would cost more than the conversion of inputs this small.
    convertTracks(song, 1);
    return 0;
}
