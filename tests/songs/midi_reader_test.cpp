#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "song_test_support.h"

namespace {

using songtest::chunkBytes;
using songtest::oneTrackFile;
using songtest::readBytes;

// The decoded events of the only (or the given) track of a file.
std::vector<MidiEvent> decodeFile(const std::vector<uint8_t>& file, uint32_t track = 0) {
    auto song = readBytes(file);
    return decodeTrack(*song, track);
}

std::vector<uint8_t> bytesOf(const MidiEvent& e) {
    return std::vector<uint8_t>(e.bytes, e.bytes + e.size);
}

using Bytes = std::vector<uint8_t>;

TEST(MidiFile, SplitsChunksAtMarkersAndReadsTheDivision) {
    smf::Track a, b;
    a.noteOn(0, 0, 60, 100);
    a.endOfTrack();
    b.noteOn(0, 1, 62, 90);
    auto file = smf::file(1, 480, {a, b});
    // An unknown chunk after the first track becomes part of it: markers, not lengths, count.
    const Bytes unknown{'X', 'Y', 'Z', 'W', 0, 0, 0, 1, 7};
    const size_t secondTrack = 14 + 8 + a.data.size();
    file.insert(file.begin() + long(secondTrack), unknown.begin(), unknown.end());

    bool ok = false;
    auto song = readBytes(file, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(song->ticksPerQuarter, 480);
    ASSERT_EQ(song->trackChunks.size(), 2u);
    Bytes first = a.data;
    first.insert(first.end(), unknown.begin(), unknown.end());
    EXPECT_EQ(chunkBytes(*song, 0), first);
    EXPECT_EQ(chunkBytes(*song, 1), b.data);
}

TEST(MidiFile, LengthFieldsAndHeaderTagAreIgnored) {
    smf::Track t;
    t.noteOn(0, 0, 60, 100);
    t.noteOff(10, 0, 60);
    auto file = oneTrackFile(t.data);
    file[0] = 'X';                                    // header tag
    file[18] = file[19] = file[20] = file[21] = 0xFF; // chunk length
    file[8] = 0x12;                                   // format word
    auto song = readBytes(file);
    ASSERT_EQ(song->trackChunks.size(), 1u);
    EXPECT_EQ(chunkBytes(*song, 0), t.data);
}

TEST(MidiFile, SmpteDivisionLosesItsTopBit) {
    auto file = oneTrackFile({0, 0xFF, 0x2F, 0});
    file[12] = 0xE7;
    file[13] = 0x28;
    auto song = readBytes(file);
    EXPECT_EQ(song->ticksPerQuarter, 0x6728);
}

TEST(MidiFile, RefusedHeaders) {
    const Bytes events{0, 0x90, 60, 100};
    bool ok = true;

    auto zeroTracks = oneTrackFile(events);
    zeroTracks[10] = zeroTracks[11] = 0;
    auto song = readBytes(zeroTracks, &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(song->trackChunks.empty());

    auto zeroDivision = oneTrackFile(events, 0);
    readBytes(zeroDivision, &ok);
    EXPECT_FALSE(ok);

    // A header cut short: the first marker sits before byte 14.
    auto shortHeader = oneTrackFile(events);
    shortHeader.erase(shortHeader.begin() + 10, shortHeader.begin() + 14);
    readBytes(shortHeader, &ok);
    EXPECT_FALSE(ok);

    // No marker at all.
    auto noTrack = oneTrackFile(events);
    noTrack[14] = 'X';
    readBytes(noTrack, &ok);
    EXPECT_FALSE(ok);

    readBytes({}, &ok);
    EXPECT_FALSE(ok);
    readBytes({'M', 'T', 'r', 'k'}, &ok);
    EXPECT_FALSE(ok);
}

TEST(MidiFile, MoreDeclaredTracksThanMarkersKeepsWhatIsThere) {
    auto file = smf::file(1, 96, std::vector<Bytes>{{0, 0xC0, 5}, {0, 0xC1, 6}});
    file[10] = 0x12; // 0x12xx tracks declared, two present
    bool ok = false;
    auto song = readBytes(file, &ok);
    EXPECT_TRUE(ok);
    ASSERT_EQ(song->trackChunks.size(), 2u);
    EXPECT_EQ(chunkBytes(*song, 1), (Bytes{0, 0xC1, 6}));
}

TEST(MidiFile, FewerDeclaredTracksGiveTheLastChunkTheRest) {
    auto file = smf::file(1, 96, std::vector<Bytes>{{1}, {2}, {3}});
    file[11] = 2;
    auto song = readBytes(file);
    ASSERT_EQ(song->trackChunks.size(), 2u);
    EXPECT_EQ(chunkBytes(*song, 0), Bytes{1});
    EXPECT_EQ(chunkBytes(*song, 1), (Bytes{2, 'M', 'T', 'r', 'k', 0, 0, 0, 1, 3}));
}

TEST(MidiFile, MarkersCloserThanAChunkHeaderGiveEmptyChunks) {
    Bytes file = smf::file(1, 96, std::vector<Bytes>{{}, {}});
    // "MTrk" "MTrk" at the end, the second leaving no room for a length field.
    file.insert(file.end(), {'M', 'T', 'r', 'k', 'M', 'T', 'r', 'k'});
    file[11] = 4;
    auto song = readBytes(file);
    ASSERT_EQ(song->trackChunks.size(), 4u);
    for (const TrackChunk& chunk : song->trackChunks) EXPECT_EQ(chunk.size, 0u);
}

TEST(MidiFile, ReadFromDisk) {
    const std::string path = std::string(CADENZIO_BINARY_DIR) + "/midi_reader_test.mid";
    smf::Track t;
    t.noteOn(0, 0, 60, 100);
    const auto file = oneTrackFile(t.data);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    Song song;
    EXPECT_TRUE(readMidiFile(song, path));
    EXPECT_EQ(song.trackChunks.size(), 1u);
    Song missing;
    EXPECT_FALSE(readMidiFile(missing, path + ".missing"));
    EXPECT_FALSE(readMidiFile(missing, CADENZIO_BINARY_DIR)); // a directory
    const std::string pipe = path + ".pipe";
    ::unlink(pipe.c_str());
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(readMidiFile(missing, pipe)); // refused at once, not waiting for a writer
    ::unlink(pipe.c_str());
    EXPECT_TRUE(missing.trackChunks.empty());

    // Read from the file a piece at a time, markers and events falling across the pieces' edges,
    // a song converts as from memory.
    std::vector<smf::Track> tracks(5);
    for (size_t i = 0; i < tracks.size(); ++i) {
        if (i == 0) tracks[i].tempoBpm(0, 90);
        for (int n = 0; n < 7001 * int(i); ++n) {
            tracks[i].noteOn(n % 3, uint8_t(i), uint8_t(40 + n % 30), 90);
            tracks[i].noteOff(5, uint8_t(i), uint8_t(40 + n % 30));
        }
        tracks[i].endOfTrack();
    }
    const Bytes large = smf::file(1, 96, tracks);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(large.data()), std::streamsize(large.size()));
    Song fromFile;
    ASSERT_TRUE(readMidiFile(fromFile, path));
    convertTracks(fromFile);
    const auto fromMemory = songtest::convertBytes(large);
    ASSERT_EQ(fromFile.tracks.size(), 4u);
    ASSERT_EQ(fromMemory->tracks.size(), 4u);
    EXPECT_EQ(fromFile.tempoMap.size(), 1u);
    for (size_t i = 0; i < 4; ++i) {
        const std::vector<Note>& a = fromFile.tracks[i].notes;
        const std::vector<Note>& b = fromMemory->tracks[i].notes;
        ASSERT_EQ(a.size(), 7001 * (i + 1));
        ASSERT_EQ(a.size(), b.size());
        for (size_t n = 0; n < a.size(); ++n) {
            ASSERT_EQ(a[n].start, b[n].start);
            ASSERT_EQ(a[n].duration, b[n].duration);
            ASSERT_EQ(a[n].key, b[n].key);
            ASSERT_EQ(a[n].channel, b[n].channel);
        }
    }
}

TEST(TrackDecoder, DeltasInSecondsAtDefaultAndSetTempo) {
    smf::Track t;
    t.noteOn(96, 0, 60, 100); // 0.5 s at the default 120 bpm
    t.tempo(0, 1000000);      // 60 bpm
    t.noteOff(96, 0, 60);     // 1 s
    t.endOfTrack(48);
    auto song = readBytes(oneTrackFile(t.data));
    const auto events = decodeTrack(*song, 0);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_DOUBLE_EQ(events[0].delta, 0.5);
    EXPECT_DOUBLE_EQ(events[1].delta, 1.0);
    EXPECT_DOUBLE_EQ(events[2].delta, 0.5);
    EXPECT_DOUBLE_EQ(events[2].time, 2.0);
    ASSERT_EQ(song->tempoMap.size(), 1u);
    EXPECT_DOUBLE_EQ(song->tempoMap[0].tempo, 60.0);
    EXPECT_DOUBLE_EQ(song->tempoMap[0].time, 0.5);
}

TEST(TrackDecoder, TempoAtTimeZeroAppliesToTheTrackAfterIt) {
    smf::Track tempo, notes;
    tempo.tempo(0, 500000);
    tempo.tempoBpm(0, 60); // same tick: the map keeps one entry with the later tempo
    tempo.endOfTrack();
    notes.noteOn(96, 0, 60, 100);
    auto song = readBytes(smf::file(1, 96, {tempo, notes}));
    const auto events = decodeTrack(*song, 1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_DOUBLE_EQ(events[0].delta, 1.0);
    ASSERT_EQ(song->tempoMap.size(), 1u);
    EXPECT_DOUBLE_EQ(song->tempoMap[0].tempo, 60.0);
}

TEST(TrackDecoder, VelocityZeroNoteOnBecomesNoteOffOfTheSameChannel) {
    smf::Track t;
    t.noteOn(0, 5, 60, 0);
    const auto events = decodeFile(oneTrackFile(t.data));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(bytesOf(events[0]), (Bytes{0x85, 60, 0}));
}

TEST(TrackDecoder, RunningStatus) {
    const auto events = decodeFile(oneTrackFile({0, 0x90, 0x3C, 0x40, 0, 0x3E, 0x40, 0, 0x3C, 0}));
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(bytesOf(events[1]), (Bytes{0x90, 0x3E, 0x40}));
    EXPECT_EQ(bytesOf(events[2]), (Bytes{0x80, 0x3C, 0})); // running note-on of velocity 0
}

TEST(TrackDecoder, RunningStatusContinuesAfterMetaAndSysex) {
    const Bytes data{0, 0x90, 0x3C, 0x40,        //
                     0, 0xFF, 0x01, 0x01, 'a',   // text
                     0, 0x3E, 0x40,              // running note-on
                     0, 0xF0, 0x02, 0x7E, 0xF7,  // system exclusive
                     0, 0x40, 0x40,              // running note-on
                     0, 0xC2, 0x07, 0,    0x08}; // one-byte running program change
    const auto events = decodeFile(oneTrackFile(data));
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(bytesOf(events[1]), (Bytes{0x90, 0x3E, 0x40}));
    EXPECT_EQ(bytesOf(events[2]), (Bytes{0x90, 0x40, 0x40}));
    EXPECT_EQ(bytesOf(events[4]), (Bytes{0xC2, 0x08}));
}

TEST(TrackDecoder, DataByteWithoutAnyChannelStatusEndsTheTrack) {
    EXPECT_TRUE(decodeFile(oneTrackFile({0, 0x3C, 0x40, 0, 0x90, 0x3C, 0x40})).empty());
    // After a meta event there is still no channel status to continue.
    const auto events = decodeFile(oneTrackFile({5, 0xFF, 0x2F, 0, 0, 0x3C, 0x40}));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(bytesOf(events[0]), (Bytes{0xFF, 0x2F, 0}));
}

TEST(TrackDecoder, DroppedEventsCarryTheirDeltas) {
    smf::Track t;
    t.text(10, 0x03, "Piano"); // track name, dropped
    t.sysex(20, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
    t.text(30, 0x01, std::string(200, 'x')); // two-byte length
    t.noteOn(36, 0, 60, 100);
    t.endOfTrack(96);
    const auto events = decodeFile(oneTrackFile(t.data));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_DOUBLE_EQ(events[0].delta, 0.5); // 10 + 20 + 30 + 36 ticks
    EXPECT_EQ(bytesOf(events[0]), (Bytes{0x90, 60, 100}));
    EXPECT_EQ(bytesOf(events[1]), (Bytes{0xFF, 0x2F, 0})); // end of track kept
    EXPECT_DOUBLE_EQ(events[1].delta, 0.5);
}

// However short, system exclusive is no event of the song: a stray F0 00 after the end of the
// track must not stretch the track's length.
TEST(TrackDecoder, ShortSystemExclusiveIsDroppedToo) {
    const Bytes data{0,  0x90, 60,   100, 96, 0x80, 60, 0, // a note of 0.5 s
                     96, 0xFF, 0x2F, 0,                    // end of track at 1.0 s
                     96, 0xF0, 0,                          // two bytes of system exclusive
                     96, 0xF7, 0x01, 0x7E};                // three bytes of escaped data
    const auto events = decodeFile(oneTrackFile(data));
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(bytesOf(events[2]), (Bytes{0xFF, 0x2F, 0}));
    const auto song = songtest::convertBytes(oneTrackFile(data));
    ASSERT_EQ(song->tracks.size(), 1u);
    EXPECT_FLOAT_EQ(song->tracks[0].length, 1.0f);
}

TEST(TrackDecoder, SystemMessagesWithFixedSizes) {
    const auto events = decodeFile(oneTrackFile({0, 0xF2, 1, 2, 0, 0xF3, 3, 0, 0xF6, 0, 0xF1}));
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(bytesOf(events[0]), (Bytes{0xF2, 1, 2}));
    EXPECT_EQ(bytesOf(events[1]), (Bytes{0xF3, 3}));
    EXPECT_EQ(bytesOf(events[2]), Bytes{0xF6});
    EXPECT_EQ(bytesOf(events[3]), Bytes{0xF1});
}

TEST(TrackDecoder, DeltaEndsAfterFourBytes) {
    // 0x81 0x80 0x80 0x80 is cut off after its fourth byte: 0x200000 ticks, then a status.
    const auto events = decodeFile(oneTrackFile({0x81, 0x80, 0x80, 0x80, 0xC0, 1}, 0x6000));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_DOUBLE_EQ(events[0].delta, double(0x200000) * 60.0 / (0x6000 * 120.0));
}

// Each damaged chunk keeps the events before the damage and ends there.
TEST(TrackDecoder, DamageEndsTheTrackAtTheLastCompleteEvent) {
    const Bytes good{0, 0x90, 60, 100};
    const std::vector<Bytes> tails{
        {0x81},                                  // delta cut off
        {0},                                     // delta with no event
        {0, 0x80, 60},                           // channel event cut off
        {0, 0xFF},                               // meta without type
        {0, 0xFF, 0x01},                         // meta without length
        {0, 0xFF, 0x01, 0x85},                   // meta length cut off
        {0, 0xFF, 0x01, 0x05, 'a'},              // meta data past the end
        {0, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F}, // huge length
        {0, 0xF0, 0x10, 1, 2},                   // system exclusive past the end
        {0, 0xF2, 1},                            // system common cut off
    };
    for (const Bytes& tail : tails) {
        Bytes data = good;
        data.insert(data.end(), tail.begin(), tail.end());
        const auto events = decodeFile(oneTrackFile(data));
        ASSERT_EQ(events.size(), 1u) << "tail of " << tail.size() << " bytes";
        EXPECT_EQ(bytesOf(events[0]), (Bytes{0x90, 60, 100}));
    }
}

TEST(TrackDecoder, OutOfRangeAndEmptyChunks) {
    auto song = readBytes(smf::file(1, 96, std::vector<Bytes>{{}}));
    EXPECT_TRUE(decodeTrack(*song, 0).empty());
    EXPECT_TRUE(decodeTrack(*song, 1).empty());
}

} // namespace
