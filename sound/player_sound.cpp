#include "sound/player_sound.h"

#include <cmath>
#include <mutex>

#include "sound/sound_state.h"

namespace {

constexpr uint8_t noteOffStatus = 0x80, noteOnStatus = 0x90;

// With sendLock held.
bool press(SoundState& sound, const std::vector<uint8_t>& message) {
    uint8_t& holds = sound.played.holds[message[1]][message[0] & 0x0F];
    if (holds == 255) return false; // could never all be released
    ++holds;
    if (sound.output) sound.output->play(message);
    return true;
}

// A stale release, whose note a bulk release already stopped, must not end a computer note on
// the same key and channel.
bool release(SoundState& sound, const std::vector<uint8_t>& message) {
    uint8_t& holds = sound.played.holds[message[1]][message[0] & 0x0F];
    if (holds == 0) return false;
    --holds;
    if (sound.output) sound.output->stop(message);
    return true;
}

uint8_t noteVelocity(uint8_t route, uint8_t velocity, float volume) {
    if (route != InputGame) return velocity > 127 ? 127 : velocity;
    const float scaled = std::fmin(static_cast<float>(velocity) * volume, 127.0f);
    // A velocity scaled down to 0 would reach the instrument as a note-off.
    return scaled >= 1.0f ? static_cast<uint8_t>(scaled) : 1;
}

} // namespace

int shiftedKey(int key, int8_t transposition) {
    if (key < 0 || key > 127) return -1;
    const int shifted = key + transposition;
    return shifted >= 0 && shifted <= 127 ? shifted : -1;
}

bool soundPlayedNote(SoundState& sound, std::vector<uint8_t>& message, SoundedWith& with) {
    if (message.size() < 3 || message[1] > 127) return false;
    const uint8_t status = message[0] & 0xF0;
    const bool on = status == noteOnStatus && message[2] != 0;
    if (!on && status != noteOffStatus && status != noteOnStatus) return false;
    message.resize(3);
    const uint8_t channel = message[0] & 0x0F;
    PlayedNotes& played = sound.played;
    std::lock_guard<std::mutex> lock(sound.sendLock);
    const int8_t transposition = played.transposition;
    with = {transposition, played.releases};
    PlayedNotes::Struck& struck = played.struck[message[1]][channel];
    if (!on) {
        // A note-off of nothing sounded here stops nothing, but still ends the key's colour.
        if (struck.count == 0) {
            const int key = shiftedKey(message[1], transposition);
            message[1] = static_cast<uint8_t>(key);
            return key >= 0;
        }
        message[1] = static_cast<uint8_t>(struck.key);
        if (!struck.stopped) release(sound, message);
        if (--struck.count == 0 || struck.stopped) struck = {};
        return true;
    }
    const uint8_t route = played.route.load(std::memory_order_relaxed);
    const int key = shiftedKey(message[1], transposition);
    if (route == InputSilent || key < 0) return false;
    // A silenced note struck again starts afresh; the transposition changes only with a release
    // that forgets every note, so an unreleased note of this key sounds on the same key.
    if (struck.stopped) struck = {};
    if (struck.count == 255) return false;
    message[1] = static_cast<uint8_t>(key);
    message[2] =
        noteVelocity(route, message[2], played.inputVolume.load(std::memory_order_relaxed));
    if (!press(sound, message)) return false;
    struck.key = static_cast<int8_t>(key);
    ++struck.count;
    return true;
}

bool soundKeyPress(SoundState& sound, const std::vector<uint8_t>& message) {
    std::lock_guard<std::mutex> lock(sound.sendLock);
    return press(sound, message);
}

bool soundKeyRelease(SoundState& sound, const std::vector<uint8_t>& message) {
    std::lock_guard<std::mutex> lock(sound.sendLock);
    return release(sound, message);
}

void forgetPlayedNotes(SoundState& sound, int8_t transposition) {
    std::lock_guard<std::mutex> lock(sound.sendLock);
    PlayedNotes& played = sound.played;
    std::vector<uint8_t> stop(3);
    for (int key = 0; key < 128; ++key)
        for (int channel = 0; channel < 16; ++channel) {
            stop = {uint8_t(0x80 | channel), uint8_t(key), 0};
            while (release(sound, stop)) {
            }
        }
    for (auto& row : played.struck)
        for (PlayedNotes::Struck& struck : row) struck = {};
    played.transposition = transposition;
    ++played.releases;
}
