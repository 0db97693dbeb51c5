#pragma once
// The current sound output through which every note sounds, and its per-key bookkeeping.
#include <cstdint>
#include <vector>

struct AppContext;
class RtMidiOut;

// A message is three bytes: status (0x90 note-on, 0x80 note-off, channel in the low four bits),
// key, velocity. Messages whose key byte is above 127 are ignored.
class SoundOutputManager {
  public:
    virtual ~SoundOutputManager() = default;
    virtual void play(const std::vector<uint8_t>& message) = 0;
    virtual void stop(const std::vector<uint8_t>& message) = 0;
};

// Forwards notes to the open MIDI output port.
class SoundOutputMidi : public SoundOutputManager {
  public:
    void play(const std::vector<uint8_t>& message) override;
    void stop(const std::vector<uint8_t>& message) override;
};

// The Simple Synth: plays the struck key's wave image, one key at a time.
class SoundOutputWav : public SoundOutputManager {
  public:
    void play(const std::vector<uint8_t>& message) override;
    void stop(const std::vector<uint8_t>& message) override;
};

enum : uint32_t { SoundOutputNone = 0, SoundOutputKindMidi = 1, SoundOutputKindWave = 2 };

// Valid between soundStartup and soundShutdown; null outside.
SoundOutputManager* currentSoundOutput();
uint32_t soundOutputKind();

// How many play calls per key (row) and channel (column) are not yet matched by a stop.
extern int8_t activeCounts[128][16];
// play calls not yet matched by a stop, over all keys and channels.
extern int32_t soundingTotal;
// Scratch message that callers fill before play or stop; 3 bytes after soundStartup.
extern std::vector<uint8_t> soundMessage;

// Replaces the current output by a new one of kind 1 (MIDI) or 2 (Simple Synth, whose wave
// bank is built the first time). Counts carry over; notes the old output sounded are not ended.
void selectSoundOutput(uint32_t kind);

// After the MIDI clients are up: the MIDI output, or the Simple Synth when no output port is
// open. setUpNoteInput, when given, runs where the note input's key lists are set up.
void soundStartup(AppContext& app, void (*setUpNoteInput)() = nullptr);
// Frees the output and the synth's sample buffers, closes the audio device and clears every
// count, so that a later soundStartup begins afresh.
void soundShutdown();
