#include "songs/midi_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/file_reader.h"
#include "platform/prefault.h"
#include "songs/tempo_map.h"
#include "songs/track_walker.h"

namespace {

const uint8_t trackTag[4] = {'M', 'T', 'r', 'k'};

// Position of the first "MTrk" at or after from, or size when there is none.
size_t findTrackTag(const uint8_t* data, size_t size, size_t from) {
    while (from + 4 <= size) {
        const void* m = std::memchr(data + from, 'M', size - from - 3);
        if (!m) return size;
        const size_t at = size_t(static_cast<const uint8_t*>(m) - data);
        if (std::memcmp(data + at, trackTag, 4) == 0) return at;
        from = at + 1;
    }
    return size;
}

} // namespace

bool readMidiFile(Song& song, const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!readFileBytes(path, bytes)) return false;
    return readMidiBytes(song, bytes);
}

bool readMidiBytes(Song& song, const std::vector<uint8_t>& bytes) {
    clearTrackChunks(song);
    const uint8_t* data = bytes.data();
    const size_t size = bytes.size();

    // The header is everything before the first "MTrk" found from offset 4; of it only the track
    // count (bytes 10-11) and the division (bytes 12-13) are used.
    const size_t first = findTrackTag(data, size, 4);
    // Refused: a header too short to hold the count and the division.
    if (first < 14) return false;
    const uint32_t count = uint32_t(data[10]) << 8 | data[11];
    // Refused: no tracks declared.
    if (count == 0) return false;
    // An SMPTE division is read as a tick count with its top bit cleared.
    const uint16_t division = uint16_t((data[12] & 0x7F) << 8 | data[13]);
    // Refused: a division of 0 would give every tick an infinite length.
    if (division == 0) return false;
    // Refused: no track chunk at all.
    if (first == size) return false;

    // Chunks run from one "MTrk" to the next; their length fields are not used. A file declaring
    // more tracks than it has markers is read as far as it goes: the chunks found are kept.
    // Bytes 4-7 after a marker are the length field, so a marker closer than 8 bytes to the next
    // leaves an empty chunk.
    // Every chunk but the last needs its own 4-byte marker, which caps what the count can ask for.
    song.trackChunks.reserve(std::min<size_t>(count, size / 4));
    size_t at = first;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t next = i + 1 < count ? findTrackTag(data, size, at + 4) : size;
        const size_t begin = at + 8;
        TrackChunk& chunk = song.trackChunks.emplace_back();
        if (begin < next) {
            chunk.reserve(next - begin);
            prefaultForWriting(chunk.data(), chunk.capacity());
            chunk.assign(data + begin, data + next);
        }
        if (next == size) break;
        at = next;
    }
    song.ticksPerQuarter = division;
    return true;
}

std::vector<MidiEvent> decodeTrack(Song& song, uint32_t index) {
    std::vector<MidiEvent> events;
    if (index >= song.trackChunks.size() || song.ticksPerQuarter == 0) return events;
    completeTempoMap(song);
    // The map is complete and no longer written, so it is read without the lock.
    TempoCursor clock(song.tempoMap, song.ticksPerQuarter);
    const TrackChunk& chunk = song.trackChunks[index];
    events.reserve(chunk.size() / 3);
    double previous = 0;
    walkTrack(chunk.data(), chunk.size(), [&](const RawEvent& e) {
        if (e.size == 0) return;
        MidiEvent out;
        std::memcpy(out.bytes, e.bytes, 3);
        out.size = e.size;
        out.time = clock.timeAt(e.tick);
        out.delta = out.time - previous;
        previous = out.time;
        events.push_back(out);
    });
    return events;
}
