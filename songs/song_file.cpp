#include "songs/song_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "platform/file_reader.h"
#include "platform/file_replacement.h"

namespace {

constexpr size_t trackHeaderSize = 18;
constexpr size_t noteRecordSize = 24;

// On a little-endian host a Note is laid out like its record, so whole note arrays are read
// straight into the track (the padding then holds whatever the file had there).
constexpr bool notesAreRecords = std::endian::native == std::endian::little &&
                                 sizeof(Note) == noteRecordSize && offsetof(Note, start) == 0 &&
                                 offsetof(Note, duration) == 8 && offsetof(Note, channel) == 16 &&
                                 offsetof(Note, key) == 17 && offsetof(Note, velocity) == 18;

template <class T> void putLe(uint8_t* out, T value) {
    uint8_t raw[sizeof value];
    std::memcpy(raw, &value, sizeof value);
    for (size_t i = 0; i < sizeof value; ++i) {
        out[i] = raw[std::endian::native == std::endian::little ? i : sizeof value - 1 - i];
    }
}

template <class T> T getLe(const uint8_t* in) {
    uint8_t raw[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i) {
        raw[i] = in[std::endian::native == std::endian::little ? i : sizeof(T) - 1 - i];
    }
    T value;
    std::memcpy(&value, raw, sizeof value);
    return value;
}

// Serialises the song through a fixed buffer, handing each full buffer to sink(bytes, size).
template <class Sink> bool writeSong(const Song& song, Sink&& sink) {
    constexpr size_t blockSize = 1 << 18;
    uint8_t block[blockSize];
    size_t used = 0;
    auto room = [&](size_t n) {
        if (blockSize - used >= n) return true;
        const bool ok = sink(block, used);
        used = 0;
        return ok;
    };
    putLe<uint32_t>(block, uint32_t(song.tracks.size()));
    used = 4;
    for (const Track& t : song.tracks) {
        if (!room(trackHeaderSize)) return false;
        uint8_t* p = block + used;
        putLe<uint32_t>(p, t.number);
        putLe<uint32_t>(p + 4, t.colour);
        putLe<float>(p + 8, t.length);
        p[12] = t.lowestKey;
        p[13] = t.highestKey;
        putLe<uint32_t>(p + 14, uint32_t(t.notes.size()));
        used += trackHeaderSize;
        for (const Note& n : t.notes) {
            if (!room(noteRecordSize)) return false;
            p = block + used;
            putLe<double>(p, n.start);
            putLe<double>(p + 8, n.duration);
            p[16] = n.channel;
            p[17] = n.key;
            p[18] = n.velocity;
            std::memset(p + 19, 0, 5);
            used += noteRecordSize;
        }
    }
    return sink(block, used);
}

// Bytes in memory or a file, taken front to back; remaining() bounds every count read.
struct MemorySource {
    const uint8_t* data;
    size_t left;
    size_t remaining() const { return left; }
    bool take(void* out, size_t size) {
        if (size > left) return false;
        std::memcpy(out, data, size);
        data += size;
        left -= size;
        return true;
    }
};

struct FileSource {
    FileReader& file;
    size_t left;
    const std::atomic<bool>* keepReading;
    size_t remaining() const { return left; }
    bool take(void* out, size_t size) {
        if (keepReading && !keepReading->load(std::memory_order_relaxed)) return false;
        if (size > left || !readExactly(file, out, size)) return false;
        left -= size;
        return true;
    }
};

// What the rest of the program relies on: MIDI keys and channels, finite times, notes in start
// order, a key range that holds the notes, and a colour index the palette has (0 for a track
// never coloured, 1 to 5 otherwise; 6 + colour is its darker companion). A file breaking any of
// these is damaged.
constexpr uint32_t highestColour = 5;

bool plausible(const Track& t) {
    if (!std::isfinite(t.length) || t.lowestKey > 128 || t.highestKey > 127) return false;
    if (t.colour > highestColour) return false;
    if (!t.notes.empty() && t.lowestKey > t.highestKey) return false;
    double previous = -INFINITY;
    for (const Note& n : t.notes) {
        if (!std::isfinite(n.start) || !std::isfinite(n.duration) || n.duration < 0) return false;
        if (n.start < previous) return false;
        if (n.channel > 15 || n.key < t.lowestKey || n.key > t.highestKey) return false;
        previous = n.start;
    }
    return true;
}

// Notes come through a small staging array, and the track's array grows as they arrive: a count
// only says what the file claims to hold.
template <class Source> bool readNotes(Source& source, std::vector<Note>& notes, uint32_t count) {
    constexpr uint32_t stageNotes = 4096;
    if constexpr (notesAreRecords) {
        std::vector<Note> stage(std::min(count, stageNotes));
        while (count > 0) {
            const uint32_t n = std::min(count, stageNotes);
            if (!source.take(stage.data(), n * noteRecordSize)) return false;
            notes.insert(notes.end(), stage.begin(), stage.begin() + n);
            count -= n;
        }
    } else {
        uint8_t r[noteRecordSize];
        for (; count > 0; --count) {
            if (!source.take(r, noteRecordSize)) return false;
            notes.push_back({getLe<double>(r), getLe<double>(r + 8), r[16], r[17], r[18]});
        }
    }
    return true;
}

// Every count is checked against the bytes left before anything is allocated for it. Bytes after
// the last track record are not part of the song and are ignored.
template <class Source> bool readSong(Song& song, Source& source) {
    uint8_t header[trackHeaderSize];
    if (!source.take(header, 4)) return false;
    const uint32_t trackCount = getLe<uint32_t>(header);
    if (trackCount > source.remaining() / trackHeaderSize) return false;
    song.tracks.resize(trackCount);
    for (Track& t : song.tracks) {
        if (!source.take(header, trackHeaderSize)) return false;
        t.number = getLe<uint32_t>(header);
        t.colour = getLe<uint32_t>(header + 4);
        t.length = getLe<float>(header + 8);
        t.lowestKey = header[12];
        t.highestKey = header[13];
        const uint32_t noteCount = getLe<uint32_t>(header + 14);
        if (noteCount > source.remaining() / noteRecordSize) return false;
        if (!readNotes(source, t.notes, noteCount) || !plausible(t)) return false;
    }
    return true;
}

} // namespace

void writeSongFile(const Song& song, std::ostream& out) {
    writeSong(song, [&](const uint8_t* bytes, size_t size) {
        out.write(reinterpret_cast<const char*>(bytes), std::streamsize(size));
        return bool(out);
    });
}

bool writeSongFile(const Song& song, const std::string& path) {
    FileReplacement file;
    if (!beginReplacement(file, path)) return false;
    const bool written = writeSong(
        song, [&](const uint8_t* bytes, size_t size) { return writeBytes(file, bytes, size); });
    return written && commitReplacement(file);
}

bool readSongBytes(Song& song, const std::vector<uint8_t>& bytes) {
    clear(song);
    MemorySource source{bytes.data(), bytes.size()};
    if (readSong(song, source)) return true;
    clear(song);
    return false;
}

bool readSongFile(Song& song, const std::string& path, bool* opened,
                  const std::atomic<bool>* keepReading) {
    clear(song);
    FileReader file;
    const bool open = openForReading(file, path);
    if (opened) *opened = open;
    if (!open) return false;
    FileSource source{file, size_t(file.size), keepReading};
    if (readSong(song, source)) return true;
    clear(song);
    return false;
}
