#pragma once
// The in-memory song shared by Cadenzio and Notepress: tracks of notes timed in seconds.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/file_reader.h"

enum class PlayType : uint32_t {
    LeftHand = 0,
    RightHand = 1,
    Displayed = 2,
    Hidden = 3,
    Muted = 4
};

// Display names, indexed by PlayType value.
extern const char* const playTypeNames[5];

struct Note {
    double start = 0;    // seconds from song start
    double duration = 0; // seconds
    uint8_t channel = 0; // of the event that ended the note
    uint8_t key = 0;
    uint8_t velocity = 0;
};

// Where a MIDI song's bytes are while its chunks are converted: the file, kept open and read a
// piece at a time, so that a file never has to fit in memory; or bytes handed over in memory.
struct MidiSource {
    FileReader file;            // the source while open
    std::vector<uint8_t> bytes; // the source when no file is open
    // When given and cleared, reading the file stops early: every range then ends where its
    // reader stands.
    const std::atomic<bool>* keepReading = nullptr;
};

// The bytes of one MIDI track chunk after its 8-byte chunk header, as a range of the source.
struct TrackChunk {
    uint64_t offset = 0;
    uint64_t size = 0;
};

struct TempoChange {
    double time = 0;   // seconds from song start
    double tempo = 0;  // beats per minute
    uint64_t tick = 0; // position in ticks from song start, where the change takes effect
};

struct Track {
    uint32_t cursor = 0;
    uint32_t number = 0;
    uint32_t colour = 0;
    float length = 0; // seconds; the time of the track's last event
    uint8_t lowestKey = 128;
    uint8_t highestKey = 0;
    PlayType playType = PlayType::Displayed;
    std::vector<Note> notes;
    std::vector<uint32_t> upcoming;
    std::vector<uint32_t> sounding;
    std::vector<uint32_t> ended;
};

struct Song {
    MidiSource midiSource;
    std::vector<TrackChunk> trackChunks;
    std::vector<TempoChange> tempoMap; // sorted by time; guarded by tempoLock during conversion
    std::mutex tempoLock;
    // Set once tempoMap holds every tempo event of trackChunks; from then on the map is only read.
    bool tempoMapComplete = false;
    uint16_t ticksPerQuarter = 96;
    std::vector<Track> tracks;
};

// Empties the track chunks, their source and the tempo map read from them; the tracks stay.
void clearTrackChunks(Song& song);
// Empties chunks, their source, tempo map and tracks; the division keeps its value.
void clear(Song& song);

// Places track.cursor at the note at or just before t, moved back to the first of the notes
// that start together with it. A track without notes is left alone.
void searchTrack(Track& track, float t);
