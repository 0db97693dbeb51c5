#pragma once
// The sound outputs through which every note sounds, and their per-key bookkeeping.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "sound/simple_synth.h"
#include "sound/sound_counts.h"

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
    SoundOutputMidi(MidiSend send, SoundCounts& counts);
    void play(const std::vector<uint8_t>& message) override;
    void stop(const std::vector<uint8_t>& message) override;

  private:
    void deliver(const std::vector<uint8_t>& message);
    MidiSend send;
    SoundCounts* counts;
};

// What the Simple Synth plays its wave images through: the platform's wave player, or a test's
// recorder.
struct WavePlayer {
    std::function<void(const uint8_t* image, size_t size)> play;
    std::function<void()> stop;
};

// The Simple Synth: plays the struck key's wave image from the bank, one key at a time.
class SoundOutputWav : public SoundOutputManager {
  public:
    SoundOutputWav(WavePlayer player, SoundCounts& counts, const SynthBank& bank);
    void play(const std::vector<uint8_t>& message) override;
    void stop(const std::vector<uint8_t>& message) override;

  private:
    WavePlayer player;
    SoundCounts* counts;
    const SynthBank* bank;
};

enum : uint32_t { SoundOutputNone = 0, SoundOutputKindMidi = 1, SoundOutputKindWave = 2 };
