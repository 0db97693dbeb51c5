#include "platform/wave_player.h"

#include <SDL.h>

#include <cstring>
#include <vector>

namespace {

// Everything the audio thread reads; changed by the main thread only under the device lock.
struct Player {
    SDL_AudioDeviceID device = 0;
    bool unavailable = false; // opening failed; stay silent until closeWavePlayer
    bool subsystemUp = false;
    SDL_AudioSpec spec{};
    std::vector<uint8_t> samples; // the player's own copy of the playing image's data
    size_t position = 0;
    bool playing = false;
};
Player player;

uint32_t readU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t readU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

void fill(void*, Uint8* stream, int length) {
    size_t wanted = static_cast<size_t>(length);
    size_t done = 0;
    if (player.playing) {
        const size_t left = player.samples.size() - player.position;
        done = left < wanted ? left : wanted;
        std::memcpy(stream, player.samples.data() + player.position, done);
        player.position += done;
        if (player.position >= player.samples.size()) player.playing = false;
    }
    std::memset(stream + done, player.spec.silence, wanted - done);
}

bool openDevice(const WaveFormat& format) {
    if (player.unavailable) return false;
    const SDL_AudioFormat sdlFormat = format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    if (player.device != 0) {
        if (player.spec.freq == int(format.sampleRate) && player.spec.format == sdlFormat &&
            player.spec.channels == format.channels)
            return true;
        SDL_CloseAudioDevice(player.device);
        player.device = 0;
    }
    if (!player.subsystemUp) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            player.unavailable = true;
            return false;
        }
        player.subsystemUp = true;
    }
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(format.sampleRate);
    want.format = sdlFormat;
    want.channels = static_cast<Uint8>(format.channels);
    want.samples = 256; // about 6 ms at 44100 Hz: a struck key must sound at once
    want.callback = fill;
    // SDL converts to what the hardware takes; the callback always sees the wanted format.
    player.device = SDL_OpenAudioDevice(nullptr, 0, &want, &player.spec, 0);
    if (player.device == 0) {
        player.unavailable = true;
        return false;
    }
    SDL_PauseAudioDevice(player.device, 0);
    return true;
}

} // namespace

bool readWaveFormat(const uint8_t* image, size_t size, WaveFormat& format) {
    if (image == nullptr || size < 12) return false;
    if (std::memcmp(image, "RIFF", 4) != 0 || std::memcmp(image + 8, "WAVE", 4) != 0) return false;
    bool haveFormat = false;
    size_t at = 12;
    while (size - at >= 8) {
        const uint8_t* chunk = image + at;
        const size_t chunkSize = readU32(chunk + 4);
        const size_t body = at + 8;
        const size_t available = size - body;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (chunkSize < 16 || available < 16) return false;
            const uint8_t* f = image + body;
            if (readU16(f) != 1) return false; // PCM only
            format.channels = readU16(f + 2);
            format.sampleRate = readU32(f + 4);
            format.bitsPerSample = readU16(f + 14);
            if (format.channels < 1 || format.channels > 8) return false;
            if (format.sampleRate < 1000 || format.sampleRate > 384000) return false;
            if (format.bitsPerSample != 8 && format.bitsPerSample != 16) return false;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return false;
            format.dataOffset = body;
            format.dataSize = chunkSize < available ? chunkSize : available;
            const size_t frame = size_t(format.channels) * (format.bitsPerSample / 8);
            format.dataSize -= format.dataSize % frame;
            return true;
        }
        if (chunkSize > available) return false;
        at = body + chunkSize + (chunkSize & 1); // chunks are padded to even sizes
        if (at > size) return false;
    }
    return false;
}

bool playWave(const uint8_t* image, size_t size) {
    WaveFormat format;
    if (!readWaveFormat(image, size, format)) return false;
    if (!openDevice(format)) return false;
    SDL_LockAudioDevice(player.device);
    player.samples.assign(image + format.dataOffset, image + format.dataOffset + format.dataSize);
    player.position = 0;
    player.playing = true;
    SDL_UnlockAudioDevice(player.device);
    return true;
}

bool prepareWave(const uint8_t* image, size_t size) {
    WaveFormat format;
    if (!readWaveFormat(image, size, format) || !openDevice(format)) return false;
    // Room for an image of this size: playing one then copies without allocating, on whichever
    // thread sounds the note.
    SDL_LockAudioDevice(player.device);
    player.samples.reserve(format.dataSize);
    SDL_UnlockAudioDevice(player.device);
    return true;
}

void stopWave() {
    if (player.device == 0) return;
    SDL_LockAudioDevice(player.device);
    player.playing = false;
    player.position = 0;
    SDL_UnlockAudioDevice(player.device);
}

void closeWavePlayer() {
    if (player.device != 0) SDL_CloseAudioDevice(player.device);
    player.device = 0;
    player.playing = false;
    player.samples.clear();
    player.position = 0;
    if (player.subsystemUp) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    player.subsystemUp = false;
    player.unavailable = false;
}
