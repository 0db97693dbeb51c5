#pragma once
// Shared helpers of the song tests: MIDI files from the SMF writer, converted songs, song bytes.
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "songs/chunk_reader.h"
#include "songs/conversion.h"
#include "songs/midi_reader.h"
#include "songs/song.h"
#include "songs/song_file.h"
#include "tools/smf_writer.h"

namespace songtest {

// A Song holds a mutex and so cannot be returned by value.
inline std::unique_ptr<Song> readBytes(const std::vector<uint8_t>& bytes,
                                       bool* accepted = nullptr) {
    auto song = std::make_unique<Song>();
    const bool ok = readMidiBytes(*song, bytes);
    if (accepted) *accepted = ok;
    return song;
}

// The bytes of track chunk index, as its reader hands them out.
inline std::vector<uint8_t> chunkBytes(const Song& song, size_t index) {
    std::vector<uint8_t> bytes;
    ChunkReader in(song.midiSource, song.trackChunks.at(index));
    for (uint8_t b = 0; in.next(b);) bytes.push_back(b);
    return bytes;
}

inline std::unique_ptr<Song> convertBytes(const std::vector<uint8_t>& bytes) {
    auto song = readBytes(bytes);
    convertTracks(*song);
    return song;
}

inline std::vector<uint8_t> songFileBytes(const Song& song) {
    std::ostringstream out;
    writeSongFile(song, out);
    const std::string s = out.str();
    return std::vector<uint8_t>(s.begin(), s.end());
}

// One track chunk's raw event bytes; the file header and markers come from smf::file.
inline std::vector<uint8_t> oneTrackFile(const std::vector<uint8_t>& events,
                                         uint16_t division = 96) {
    return smf::file(0, division, std::vector<std::vector<uint8_t>>{events});
}

} // namespace songtest
