#pragma once
// Standard MIDI Files: split into track chunks, then decoded track by track into timed events.
#include <cstdint>
#include <string>
#include <vector>

#include "songs/song.h"

struct MidiEvent {
    uint8_t bytes[3] = {0, 0, 0};
    uint8_t size = 0; // 1 to 3
    double delta = 0; // seconds since the previous event of the list
    double time = 0;  // seconds from song start
};

// Fills song.trackChunks and song.ticksPerQuarter from the file, which stays open as the song's
// source until the song is cleared. False when the file cannot be read or is refused; the song
// then holds no chunks.
bool readMidiFile(Song& song, const std::string& path);
// The same from bytes in memory, which the song keeps as its source.
bool readMidiBytes(Song& song, std::vector<uint8_t> bytes);

// The kept events of track chunk index, each with its delta in seconds. Times come from the
// event's tick position through the whole tempo map, which is completed first from every chunk.
std::vector<MidiEvent> decodeTrack(Song& song, uint32_t index);
