#include "songs/midi_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/file_reader.h"
#include "songs/chunk_reader.h"
#include "songs/tempo_map.h"
#include "songs/track_walker.h"

namespace {

const uint8_t trackTag[4] = {'M', 'T', 'r', 'k'};

// Moves in past the next "MTrk" and returns the tag's position in the reader's range, or the
// range's size when there is none.
uint64_t nextTrackTag(ChunkReader& in) {
    uint32_t matched = 0; // bytes of the tag matched so far, perhaps across two pieces of a file
    while (in.fill()) {
        if (matched == 0) {
            const void* m = std::memchr(in.at, 'M', size_t(in.end - in.at));
            in.at = m ? static_cast<const uint8_t*>(m) + 1 : in.end;
            matched = m ? 1 : 0;
        } else if (*in.at == trackTag[matched]) {
            ++in.at;
            if (++matched == 4) return in.position() - 4;
        } else {
            matched = 0; // the byte is looked at again: it may begin a tag itself
        }
    }
    return in.position();
}

// Splits the song's source into chunks.
bool readChunks(Song& song, uint64_t size) {
    uint8_t header[14];
    ChunkReader front(song.midiSource, {0, size});
    for (uint8_t& b : header)
        if (!front.next(b)) return false;

    // The header is everything before the first "MTrk" found from offset 4; of it only the track
    // count (bytes 10-11) and the division (bytes 12-13) are used.
    ChunkReader tags(song.midiSource, {4, size - 4});
    const uint64_t first = 4 + nextTrackTag(tags);
    // Refused: a header too short to hold the count and the division.
    if (first < 14) return false;
    const uint32_t count = uint32_t(header[10]) << 8 | header[11];
    // Refused: no tracks declared.
    if (count == 0) return false;
    // An SMPTE division is read as a tick count with its top bit cleared.
    const uint16_t division = uint16_t((header[12] & 0x7F) << 8 | header[13]);
    // Refused: a division of 0 would give every tick an infinite length.
    if (division == 0) return false;
    // Refused: no track chunk at all.
    if (first >= size) return false;

    // Chunks run from one "MTrk" to the next; their length fields are not used. A file declaring
    // more tracks than it has markers is read as far as it goes: the chunks found are kept.
    // Bytes 4-7 after a marker are the length field, so a marker closer than 8 bytes to the next
    // leaves an empty chunk. Every chunk but the last needs its own 4-byte marker, which caps
    // what the count can ask for.
    song.trackChunks.reserve(size_t(std::min<uint64_t>(count, size / 4)));
    uint64_t at = first;
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t next = i + 1 < count ? 4 + nextTrackTag(tags) : size;
        const uint64_t begin = at + 8;
        song.trackChunks.push_back(begin < next ? TrackChunk{begin, next - begin} : TrackChunk{});
        if (next >= size) break;
        at = next;
    }
    song.ticksPerQuarter = division;
    return true;
}

} // namespace

bool readMidiFile(Song& song, const std::string& path) {
    clearTrackChunks(song);
    // The file stays open and is read as the chunks are converted; it is never held whole.
    if (!openForReading(song.midiSource.file, path)) return false;
    if (readChunks(song, song.midiSource.file.size)) return true;
    clearTrackChunks(song);
    return false;
}

bool readMidiBytes(Song& song, std::vector<uint8_t> bytes) {
    clearTrackChunks(song);
    song.midiSource.bytes = std::move(bytes);
    if (readChunks(song, song.midiSource.bytes.size())) return true;
    clearTrackChunks(song);
    return false;
}

std::vector<MidiEvent> decodeTrack(Song& song, uint32_t index) {
    std::vector<MidiEvent> events;
    if (index >= song.trackChunks.size() || song.ticksPerQuarter == 0) return events;
    completeTempoMap(song);
    // The map is complete and no longer written, so it is read without the lock.
    TempoCursor clock(song.tempoMap, song.ticksPerQuarter);
    // The list grows as events are found: a chunk's size says nothing about what it holds.
    ChunkReader in(song.midiSource, song.trackChunks[index]);
    double previous = 0;
    walkTrack(in, [&](const RawEvent& e) {
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
