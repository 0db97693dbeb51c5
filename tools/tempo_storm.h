#pragma once
// A crafted MIDI file that times many tracks through a long tempo map: one conductor track of
// tempo changes a tick apart, then tracks of one note each, placed anywhere along the map. Timing
// each track from the map's start makes its conversion quadratic.
#include <cstdint>
#include <vector>

#include "tools/smf_writer.h"

namespace smf {

// noteTracks + 1 track chunks (at most 65,535 in all).
inline std::vector<uint8_t> tempoStorm(uint32_t noteTracks, uint32_t tempoChanges) {
    const uint16_t division = 96;
    std::vector<std::vector<uint8_t>> tracks;
    tracks.reserve(noteTracks + 1);
    Track conductor;
    conductor.data.reserve(size_t(tempoChanges) * 7 + 4);
    for (uint32_t i = 0; i < tempoChanges; ++i) {
        // Tempos from about 50 to 600 beats per minute, in no order.
        conductor.tempo(i == 0 ? 0 : 1, 100000 + (i * 7919u) % 1100000);
    }
    conductor.endOfTrack();
    tracks.push_back(std::move(conductor.data));
    const uint32_t span = tempoChanges + 200;
    for (uint32_t t = 0; t < noteTracks; ++t) {
        Track track;
        const uint32_t start = uint32_t((uint64_t(t) * 2654435761u) % span);
        track.noteOn(start, uint8_t(t % 16), uint8_t(21 + t % 88), 90);
        track.noteOff(1 + t % 150, uint8_t(t % 16), uint8_t(21 + t % 88));
        track.endOfTrack();
        tracks.push_back(std::move(track.data));
    }
    return file(1, division, tracks);
}

} // namespace smf
