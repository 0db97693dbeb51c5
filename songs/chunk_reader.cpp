#include "songs/chunk_reader.h"

#include <algorithm>

namespace {

// Large enough that reading costs little per byte, small enough for one per worker.
constexpr size_t bufferSize = 1 << 16;

} // namespace

ChunkReader::ChunkReader(const MidiSource& source, const TrackChunk& range) {
    if (source.file.fd >= 0) {
        file = &source.file;
        keepReading = source.keepReading;
        total = rest = range.size;
        fileOffset = range.offset;
        return;
    }
    // Bytes in memory: a range reaching past them is cut to what there is.
    const uint64_t size = source.bytes.size();
    const uint64_t first = std::min(range.offset, size);
    total = std::min(range.size, size - first);
    at = source.bytes.data() + first;
    end = at + total;
}

bool ChunkReader::refill() {
    if (rest == 0 || !file) return false;
    if (buffer.empty()) buffer.resize(size_t(std::min<uint64_t>(bufferSize, rest)));
    const size_t want = size_t(std::min<uint64_t>(buffer.size(), rest));
    const bool stopped = keepReading && !keepReading->load(std::memory_order_relaxed);
    const size_t got = stopped ? 0 : readSomeAt(*file, fileOffset, buffer.data(), want);
    if (got == 0) {
        // The file ended sooner than when it was opened, or reading was stopped: so does the
        // range.
        total -= rest;
        rest = 0;
        return false;
    }
    fileOffset += got;
    rest -= got;
    at = buffer.data();
    end = at + got;
    return true;
}

bool ChunkReader::skip(uint64_t count) {
    while (count > 0) {
        if (!fill()) return false;
        const uint64_t step = std::min<uint64_t>(count, uint64_t(end - at));
        at += step;
        count -= step;
        // A long skip in a file need not read what it passes over.
        if (at == end && count > 0 && file) {
            const uint64_t jump = std::min(count, rest);
            fileOffset += jump;
            rest -= jump;
            count -= jump;
            if (count > 0) return false;
        }
    }
    return true;
}
