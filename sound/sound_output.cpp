#include "sound/sound_output.h"

namespace {

// A message the count table cannot hold is dropped whole.
bool countable(const std::vector<uint8_t>& message) {
    return message.size() >= 2 && message[1] <= 127;
}
uint16_t& countOf(SoundCounts& counts, const std::vector<uint8_t>& message) {
    return counts.activeCounts[message[1]][message[0] & 0x0F];
}

// Counts one play. A count at its limit stays there: it never wraps to look silent, and
// silencing does not depend on it.
void count(SoundCounts& counts, const std::vector<uint8_t>& message) {
    uint16_t& c = countOf(counts, message);
    if (c == UINT16_MAX) return;
    ++c;
    ++counts.soundingTotal;
}

// Counts one stop; true when the key's last holder let go, or nobody held it (a stray note-off
// is passed on, and changes no count).
bool uncount(SoundCounts& counts, const std::vector<uint8_t>& message) {
    uint16_t& c = countOf(counts, message);
    if (c == 0) return true;
    --c;
    --counts.soundingTotal;
    return c == 0;
}

} // namespace

SoundOutputMidi::SoundOutputMidi(MidiSend send, SoundCounts& counts)
    : send(std::move(send)), counts(&counts) {}

void SoundOutputMidi::deliver(const std::vector<uint8_t>& message) {
    if (!send) return;
    // A data byte with its top bit set (a velocity from a damaged song file) would reach the
    // device as a status byte and garble what follows; only its low seven bits are sent.
    for (size_t i = 1; i < message.size(); ++i) {
        if (message[i] > 127) {
            std::vector<uint8_t> masked = message;
            for (size_t j = 1; j < masked.size(); ++j) masked[j] &= 0x7F;
            send(masked);
            return;
        }
    }
    send(message);
}

void SoundOutputMidi::play(const std::vector<uint8_t>& message) {
    if (!countable(message)) return;
    deliver(message);
    count(*counts, message);
}

void SoundOutputMidi::stop(const std::vector<uint8_t>& message) {
    if (!countable(message)) return;
    if (uncount(*counts, message)) deliver(message);
}

SoundOutputWav::SoundOutputWav(WavePlayer player, SoundCounts& counts, const SynthBank& bank)
    : player(std::move(player)), counts(&counts), bank(&bank) {}

void SoundOutputWav::play(const std::vector<uint8_t>& message) {
    if (!countable(message)) return;
    const std::vector<uint8_t>& image = (*bank)[message[1]].waveImage;
    if (player.play) player.play(image.data(), image.size());
    count(*counts, message);
}

void SoundOutputWav::stop(const std::vector<uint8_t>& message) {
    if (!countable(message)) return;
    if (!uncount(*counts, message)) return;
    // Other keys still held: the last struck one keeps sounding.
    if (counts->soundingTotal != 0) return;
    if (player.stop) player.stop();
}
