#include "songs/song_file.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "songs/file_bytes.h"

namespace {

constexpr size_t trackHeaderSize = 18;
constexpr size_t noteRecordSize = 24;

// Fields are little-endian whatever the host; on a little-endian host these are plain copies.
template <class T> void putLe(uint8_t* out, T value) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &value, sizeof value);
    } else {
        uint8_t raw[sizeof value];
        std::memcpy(raw, &value, sizeof value);
        for (size_t i = 0; i < sizeof value; ++i) out[i] = raw[sizeof value - 1 - i];
    }
}

template <class T> T getLe(const uint8_t* in) {
    T value;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&value, in, sizeof value);
    } else {
        uint8_t raw[sizeof value];
        for (size_t i = 0; i < sizeof value; ++i) raw[i] = in[sizeof value - 1 - i];
        std::memcpy(&value, raw, sizeof value);
    }
    return value;
}

std::vector<uint8_t> songBytes(const Song& song) {
    size_t size = 4;
    for (const Track& t : song.tracks) size += trackHeaderSize + noteRecordSize * t.notes.size();
    // Zero-filled, which gives the padding of every note record.
    std::vector<uint8_t> out(size);
    uint8_t* p = out.data();
    putLe<uint32_t>(p, uint32_t(song.tracks.size()));
    p += 4;
    for (const Track& t : song.tracks) {
        putLe<uint32_t>(p, t.number);
        putLe<uint32_t>(p + 4, t.colour);
        putLe<float>(p + 8, t.length);
        p[12] = t.lowestKey;
        p[13] = t.highestKey;
        putLe<uint32_t>(p + 14, uint32_t(t.notes.size()));
        p += trackHeaderSize;
        for (const Note& n : t.notes) {
            putLe<double>(p, n.start);
            putLe<double>(p + 8, n.duration);
            p[16] = n.channel;
            p[17] = n.key;
            p[18] = n.velocity;
            p += noteRecordSize;
        }
    }
    return out;
}

// What the rest of the program relies on: MIDI keys and channels, finite times, notes in start
// order, and a key range that holds the notes. A file breaking any of these is damaged.
bool plausible(const Track& t) {
    if (!std::isfinite(t.length) || t.lowestKey > 128 || t.highestKey > 127) return false;
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

bool parseSong(Song& song, const uint8_t* data, size_t size) {
    // Every count is checked against the bytes left before anything is allocated for it.
    if (size < 4) return false;
    const uint32_t trackCount = getLe<uint32_t>(data);
    size_t pos = 4;
    if (trackCount > (size - pos) / trackHeaderSize) return false;
    song.tracks.resize(trackCount);
    for (Track& t : song.tracks) {
        if (size - pos < trackHeaderSize) return false;
        const uint8_t* p = data + pos;
        t.number = getLe<uint32_t>(p);
        t.colour = getLe<uint32_t>(p + 4);
        t.length = getLe<float>(p + 8);
        t.lowestKey = p[12];
        t.highestKey = p[13];
        const uint32_t noteCount = getLe<uint32_t>(p + 14);
        pos += trackHeaderSize;
        if (noteCount > (size - pos) / noteRecordSize) return false;
        t.notes.resize(noteCount);
        for (Note& n : t.notes) {
            const uint8_t* r = data + pos;
            n.start = getLe<double>(r);
            n.duration = getLe<double>(r + 8);
            n.channel = r[16];
            n.key = r[17];
            n.velocity = r[18];
            pos += noteRecordSize;
        }
        if (!plausible(t)) return false;
    }
    // Bytes after the last track record are not part of the song and are ignored.
    return true;
}

} // namespace

void writeSongFile(const Song& song, std::ostream& out) {
    const std::vector<uint8_t> bytes = songBytes(song);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool writeSongFile(const Song& song, const std::string& path) {
    const std::vector<uint8_t> bytes = songBytes(song);
    return replaceFile(path, bytes.data(), bytes.size());
}

bool readSongBytes(Song& song, const std::vector<uint8_t>& bytes) {
    clear(song);
    if (parseSong(song, bytes.data(), bytes.size())) return true;
    clear(song);
    return false;
}

bool readSongFile(Song& song, const std::string& path) {
    clear(song);
    std::vector<uint8_t> bytes;
    if (!readFileBytes(path, bytes)) return false;
    return readSongBytes(song, bytes);
}
