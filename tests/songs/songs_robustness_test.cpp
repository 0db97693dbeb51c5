// Damaged MIDI and song files load or are refused, and whatever loads is a song the rest of the
// program can use. Run under the sanitizer build, this also shows no read outside any buffer.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "song_test_support.h"
#include "songs/tempo_map.h"
#include "songs/track_walker.h"
#include "tools/tempo_storm.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes validMidiFile() {
    smf::Track conductor, melody, bass, drums;
    conductor.text(0, 0x03, "Conductor");
    conductor.tempoBpm(0, 96);
    conductor.tempoBpm(384, 72);
    conductor.tempoBpm(100, 140);
    conductor.endOfTrack(10);

    melody.runningStatus = true;
    melody.text(0, 0x03, "Melody");
    melody.programChange(0, 0, 1);
    for (int i = 0; i < 40; ++i) {
        melody.noteOn(i == 0 ? 0 : 24, 0, uint8_t(60 + i % 13), 90);
        melody.noteOn(48, 0, uint8_t(60 + i % 13), 0);
        if (i % 9 == 0) melody.sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
        if (i % 7 == 0) melody.channelEvent(0, 0xE0, {0x00, 0x40});
    }
    melody.endOfTrack();

    bass.runningStatus = true;
    for (int i = 0; i < 30; ++i) {
        bass.noteOn(0, 1, uint8_t(36 + i % 5), 70);
        bass.noteOn(0, 1, uint8_t(43 + i % 5), 70);
        bass.noteOff(96, 1, uint8_t(36 + i % 5));
        bass.noteOff(0, 1, uint8_t(43 + i % 5));
    }
    bass.endOfTrack();

    for (int i = 0; i < 25; ++i) {
        drums.noteOn(12, 9, 38, 100);
        drums.noteOff(12, 9, 38);
        drums.channelEvent(0, 0xB9, {7, uint8_t(100 - i)});
    }
    drums.text(0, 0x01, std::string(150, 'd'));
    drums.endOfTrack();
    return smf::file(1, 192, {conductor, melody, bass, drums});
}

// What the game relies on in a loaded song.
void expectUsable(const Song& song, bool converted) {
    for (size_t i = 0; i < song.tracks.size(); ++i) {
        const Track& t = song.tracks[i];
        if (converted) {
            ASSERT_FALSE(t.notes.empty());
            ASSERT_EQ(t.number, i);
            ASSERT_EQ(t.colour, i % 5 + 1);
        }
        ASSERT_TRUE(std::isfinite(t.length));
        ASSERT_LE(t.colour, 5u);
        ASSERT_LE(t.highestKey, 127);
        ASSERT_LE(t.lowestKey, 128);
        double previous = -INFINITY;
        for (const Note& n : t.notes) {
            ASSERT_TRUE(std::isfinite(n.start) && std::isfinite(n.duration));
            ASSERT_GE(n.duration, 0.0);
            ASSERT_GE(n.start, previous);
            ASSERT_LE(n.channel, 15);
            ASSERT_GE(n.key, t.lowestKey);
            ASSERT_LE(n.key, t.highestKey);
            previous = n.start;
        }
    }
}

// Returns the number of notes loaded, or -1 when the file was refused.
long loadMidi(const Bytes& bytes) {
    Song song;
    const bool accepted = readMidiBytes(song, bytes);
    if (!accepted) {
        EXPECT_TRUE(song.trackChunks.empty());
    }
    convertTracks(song); // what Cadenzio's loader does whatever the reader said
    if (!accepted) {
        EXPECT_TRUE(song.tracks.empty());
    }
    expectUsable(song, true);
    long notes = 0;
    for (const Track& t : song.tracks) notes += long(t.notes.size());
    return accepted ? notes : -1;
}

bool loadSongFile(const Bytes& bytes) {
    Song song;
    if (!readSongBytes(song, bytes)) {
        EXPECT_TRUE(song.tracks.empty());
        return false;
    }
    expectUsable(song, false);
    return true;
}

// One to four random damages of the kinds files meet: changed, inserted, removed, repeated
// bytes, and stray chunk markers.
Bytes mutate(Bytes bytes, std::mt19937& random) {
    const uint8_t special[] = {0x00, 0x7F, 0x80, 0x81, 0x90, 0xF0, 0xF7, 0xFF, 0x2F, 0x51, 'M'};
    const int count = 1 + int(random() % 4);
    for (int m = 0; m < count; ++m) {
        const size_t at = bytes.empty() ? 0 : random() % bytes.size();
        switch (random() % 6) {
        case 0:
            if (!bytes.empty()) bytes[at] = uint8_t(random());
            break;
        case 1:
            if (!bytes.empty()) bytes[at] = special[random() % sizeof special];
            break;
        case 2:
            bytes.insert(bytes.begin() + long(at), uint8_t(random()));
            break;
        case 3: {
            const size_t n = std::min<size_t>(1 + random() % 16, bytes.size() - at);
            bytes.erase(bytes.begin() + long(at), bytes.begin() + long(at + n));
            break;
        }
        case 4: {
            const size_t n = std::min<size_t>(1 + random() % 32, bytes.size() - at);
            Bytes copy(bytes.begin() + long(at), bytes.begin() + long(at + n));
            bytes.insert(bytes.begin() + long(random() % (bytes.size() + 1)), copy.begin(),
                         copy.end());
            break;
        }
        default: {
            const Bytes tag{'M', 'T', 'r', 'k'};
            bytes.insert(bytes.begin() + long(at), tag.begin(), tag.end());
            break;
        }
        }
    }
    return bytes;
}

TEST(Robustness, EveryTruncationOfAMidiFile) {
    const Bytes file = validMidiFile();
    {
        auto song = songtest::convertBytes(file);
        ASSERT_EQ(song->tracks.size(), 3u); // the sample itself converts fully
    }
    long previous = -1;
    for (size_t size = 0; size <= file.size(); ++size) {
        SCOPED_TRACE(size);
        const long notes = loadMidi(Bytes(file.begin(), file.begin() + long(size)));
        if (HasFatalFailure()) return;
        // A longer piece of the same file never loses notes that a shorter one had.
        ASSERT_GE(notes, previous);
        previous = notes;
    }
    EXPECT_EQ(previous, 40 + 60 + 25);
}

TEST(Robustness, RandomMutationsOfAMidiFile) {
    const Bytes file = validMidiFile();
    std::mt19937 random(20240501);
    int refused = 0, withNotes = 0;
    for (int i = 0; i < 3000; ++i) {
        SCOPED_TRACE(i);
        const long notes = loadMidi(mutate(file, random));
        if (HasFatalFailure()) return;
        refused += notes < 0;
        withNotes += notes > 0;
    }
    // Both ways out are taken, so the mutations reach the decoder as well as the header checks.
    EXPECT_GT(refused, 0);
    EXPECT_GT(withNotes, 1000);
}

TEST(Robustness, EveryTruncationAndRandomMutationsOfASongFile) {
    const Bytes file = songtest::songFileBytes(*songtest::convertBytes(validMidiFile()));
    for (size_t size = 0; size < file.size(); ++size) {
        Song song;
        ASSERT_FALSE(readSongBytes(song, Bytes(file.begin(), file.begin() + long(size)))) << size;
        ASSERT_TRUE(song.tracks.empty());
    }
    std::mt19937 random(77);
    int loaded = 0;
    for (int i = 0; i < 3000; ++i) {
        SCOPED_TRACE(i);
        loaded += loadSongFile(mutate(file, random));
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(loaded, 0);
}

// The plain reading of a tempo map: the last change at or before the tick, found from the start.
double referenceTime(const std::vector<TempoChange>& map, uint16_t division, uint64_t tick) {
    uint64_t baseTick = 0;
    double baseTime = 0;
    double secondsPerTick = 60.0 / (double(division) * 120.0);
    for (const TempoChange& c : map) {
        if (c.tick > tick) break;
        baseTick = c.tick;
        baseTime = c.time;
        secondsPerTick = 60.0 / (double(division) * c.tempo);
    }
    return baseTime + double(tick - baseTick) * secondsPerTick;
}

TEST(Robustness, TempoCursorStepsOfEverySizeMatchThePlainReading) {
    std::mt19937 random(4711);
    for (const size_t changes : {0u, 1u, 2u, 3u, 17u, 1000u}) {
        std::vector<TempoChange> map;
        uint64_t tick = 0;
        double time = 0;
        for (size_t i = 0; i < changes; ++i) {
            tick += i == 0 ? random() % 3 : 1 + random() % 5;
            time += 0.01 * double(1 + random() % 7);
            map.push_back({time, 40.0 + double(random() % 200), tick});
        }
        const uint64_t last = tick + 10;
        // Steps of 0, 1, a few, and jumps over large parts of the map, from several starts.
        for (int run = 0; run < 40; ++run) {
            TempoCursor cursor(map, 96);
            uint64_t at = random() % (last + 1);
            while (at <= last + 5) {
                ASSERT_EQ(cursor.timeAt(at), referenceTime(map, 96, at))
                    << changes << " changes, tick " << at;
                const uint32_t kind = random() % 4;
                at += kind == 0 ? 0 : kind == 1 ? 1 : kind == 2 ? random() % 8 : random() % 400;
            }
        }
    }
}

TEST(Robustness, ManyTracksOverALongTempoMapGetThePlainReadingsTimes) {
    const uint32_t noteTracks = 3000;
    const Bytes file = smf::tempoStorm(noteTracks, 40000);
    auto song = songtest::convertBytes(file);
    ASSERT_EQ(song->tracks.size(), noteTracks);
    ASSERT_EQ(song->tempoMap.size(), 40000u);
    for (uint32_t t = 0; t < noteTracks; ++t) {
        std::vector<uint64_t> ticks; // the note-on's, then the note-off's
        ChunkReader in(song->midiSource, song->trackChunks[t + 1]);
        walkTrack(in, [&](const RawEvent& e) {
            if (e.status < 0xF0) ticks.push_back(e.tick);
        });
        ASSERT_EQ(ticks.size(), 2u);
        ASSERT_EQ(song->tracks[t].notes.size(), 1u);
        const Note& note = song->tracks[t].notes[0];
        const double start = referenceTime(song->tempoMap, 96, ticks[0]);
        ASSERT_EQ(note.start, start) << t;
        ASSERT_EQ(note.duration, referenceTime(song->tempoMap, 96, ticks[1]) - start) << t;
    }
}

} // namespace
