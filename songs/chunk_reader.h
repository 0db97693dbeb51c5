#pragma once
// Reading a range of a MIDI song's bytes front to back: in place when they are in memory, through
// a buffer of the reader's own when they are in a file. Readers of different ranges of one file
// may run on different threads.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "songs/song.h"

struct ChunkReader {
    ChunkReader(const MidiSource& source, const TrackChunk& range);

    // Bytes not yet taken. A file that shrank since it was opened ends the range early.
    uint64_t left() const { return uint64_t(end - at) + rest; }
    uint64_t position() const { return total - left(); }
    // Makes at least one byte available at `at`; false at the end of the range.
    bool fill() { return at != end || refill(); }
    bool next(uint8_t& byte) {
        if (!fill()) return false;
        byte = *at++;
        return true;
    }
    // False when fewer than count bytes are left; the range is then used up.
    bool skip(uint64_t count);

    const uint8_t* at = nullptr; // the bytes at hand run from at to end
    const uint8_t* end = nullptr;

  private:
    bool refill();

    const FileReader* file = nullptr;
    const std::atomic<bool>* keepReading = nullptr;
    uint64_t total = 0;
    uint64_t rest = 0;       // bytes of the range after end, still in the file
    uint64_t fileOffset = 0; // where they start
    std::vector<uint8_t> buffer;
};
