#pragma once
// Plays in-memory RIFF wave images on the system's audio device, one at a time.
#include <cstddef>
#include <cstdint>

// Starts playing a complete wave file image and returns at once; whatever this player was
// playing is cut off. The image is copied, so the caller may free it afterwards. Returns false,
// playing nothing, for an image whose header is not plain PCM (8 or 16 bits, 1 to 8 channels)
// and when there is no audio device.
bool playWave(const uint8_t* image, size_t size);

// Opens the audio device for images of this one's format and makes room for one of its size,
// playing nothing, so that the first playWave neither waits for the device nor allocates. False
// as playWave.
bool prepareWave(const uint8_t* image, size_t size);

// Ends the sound that playWave started, if any.
void stopWave();

// Closes the audio device; the next playWave opens it again.
void closeWavePlayer();

// The format read from a wave image's header, and where its samples lie in the image.
struct WaveFormat {
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t bitsPerSample = 0;
    size_t dataOffset = 0;
    size_t dataSize = 0; // cut to what the image holds
};

// Reads and checks the header; false when the image is no playable PCM wave.
bool readWaveFormat(const uint8_t* image, size_t size, WaveFormat& format);
