#pragma once
// The sound outputs through which every note sounds, and their per-key bookkeeping.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

struct SoundState;

// A message is three bytes: status (0x90 note-on, 0x80 note-off, channel in the low four bits),
// key, velocity. Messages whose key byte is above 127 are ignored.
class SoundOutputManager {
  public:
    virtual ~SoundOutputManager() = default;
    virtual void play(const std::vector<uint8_t>& message) = 0;
    virtual void stop(const std::vector<uint8_t>& message) = 0;
};

// Where the MIDI output's messages go: the open output port, or a test's recorder.
using MidiSend = std::function<void(const std::vector<uint8_t>& message)>;

// Forwards notes; a note-off only when the key's last holder lets go.
class SoundOutputMidi : public SoundOutputManager {
  public:
    explicit SoundOutputMidi(MidiSend send);
    void play(const std::vector<uint8_t>& message) override;
    void stop(const std::vector<uint8_t>& message) override;

  private:
    void deliver(const std::vector<uint8_t>& message);
    MidiSend send;
};

// What the Simple Synth plays its wave images through: the platform's wave player, or a test's
// recorder.
struct WavePlayer {
    std::function<void(const uint8_t* image, size_t size)> play;
    std::function<void()> stop;
};

// The Simple Synth: plays the struck key's wave image, one key at a time.
class SoundOutputWav : public SoundOutputManager {
  public:
    explicit SoundOutputWav(WavePlayer player);
    void play(const std::vector<uint8_t>& message) override;
    void stop(const std::vector<uint8_t>& message) override;

  private:
    WavePlayer player;
};

enum : uint32_t { SoundOutputNone = 0, SoundOutputKindMidi = 1, SoundOutputKindWave = 2 };

// How many play calls per key (row) and channel (column) are not yet matched by a stop; a count
// stays at its limit rather than wrap.
extern uint16_t activeCounts[128][16];
// The sum of the counts.
extern int32_t soundingTotal;
// Scratch message that callers fill before play or stop; 3 bytes after soundStartup.
extern std::vector<uint8_t> soundMessage;

// A note-on (velocity as given) or note-off (velocity 0) of key on channel (its low four bits)
// through the current output, by way of soundMessage; nothing when there is no output.
void soundNote(SoundState& sound, uint8_t channel, uint8_t key, uint8_t velocity, bool on);

// Stops every sounding key on its channel, once, whatever its count (a note-off each on the MIDI
// output), and clears the counts.
void silenceSound(SoundState& sound);

// Replaces the current output by a new one of kind 1 (MIDI, through the state's output client)
// or 2 (Simple Synth, whose wave bank is built the first time and whose audio device opens now,
// so that the first struck key does not wait for it). The old output is silenced first. Other
// kinds change nothing.
void selectSoundOutput(SoundState& sound, uint32_t kind);

// After the MIDI clients are up: the MIDI output, or the Simple Synth when no output port is
// open. prepareNoteInput, when given, runs where the note input's key lists are set up.
void soundStartup(SoundState& sound, void (*prepareNoteInput)() = nullptr);
// Silences the output, frees it and the synth's sample buffers, closes the audio device and clears
// every count, so that a later soundStartup begins afresh.
void soundShutdown(SoundState& sound);
