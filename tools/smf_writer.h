#pragma once
// A small Standard MIDI File writer: the demo-song generator, the tests and the benchmark build
// their MIDI files with it, byte by byte, so no file from elsewhere is needed.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace smf {

inline void putVlq(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = value & 0x7F;
        value >>= 7;
    } while (value != 0 && n < 5);
    while (n > 1) out.push_back(uint8_t(groups[--n] | 0x80));
    out.push_back(groups[0]);
}

inline void putBig(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(value >> (8 * i)));
}

// Builds the event bytes of one track chunk. Every call takes the delta in ticks since the
// previous event. With runningStatus set, a channel status equal to the previous one is omitted.
struct Track {
    std::vector<uint8_t> data;
    bool runningStatus = false;
    uint8_t lastStatus = 0;

    void channelEvent(uint32_t delta, uint8_t status, std::initializer_list<uint8_t> bytes) {
        putVlq(data, delta);
        if (!runningStatus || status != lastStatus) data.push_back(status);
        lastStatus = status;
        data.insert(data.end(), bytes.begin(), bytes.end());
    }
    void noteOn(uint32_t delta, uint8_t channel, uint8_t key, uint8_t velocity) {
        channelEvent(delta, uint8_t(0x90 | channel), {key, velocity});
    }
    void noteOff(uint32_t delta, uint8_t channel, uint8_t key, uint8_t velocity = 64) {
        channelEvent(delta, uint8_t(0x80 | channel), {key, velocity});
    }
    void programChange(uint32_t delta, uint8_t channel, uint8_t program) {
        channelEvent(delta, uint8_t(0xC0 | channel), {program});
    }
    void meta(uint32_t delta, uint8_t type, const std::vector<uint8_t>& bytes) {
        putVlq(data, delta);
        data.push_back(0xFF);
        data.push_back(type);
        putVlq(data, uint32_t(bytes.size()));
        data.insert(data.end(), bytes.begin(), bytes.end());
        lastStatus = 0; // writers in the wild differ here; ours always restates the status
    }
    void text(uint32_t delta, uint8_t type, const std::string& s) {
        meta(delta, type, std::vector<uint8_t>(s.begin(), s.end()));
    }
    void tempo(uint32_t delta, uint32_t microsecondsPerQuarter) {
        std::vector<uint8_t> b;
        putBig(b, microsecondsPerQuarter, 3);
        meta(delta, 0x51, b);
    }
    void tempoBpm(uint32_t delta, double bpm) { tempo(delta, uint32_t(60000000.0 / bpm + 0.5)); }
    void sysex(uint32_t delta, const std::vector<uint8_t>& bytes) {
        putVlq(data, delta);
        data.push_back(0xF0);
        putVlq(data, uint32_t(bytes.size()));
        data.insert(data.end(), bytes.begin(), bytes.end());
        lastStatus = 0;
    }
    void raw(std::initializer_list<uint8_t> bytes) { data.insert(data.end(), bytes); }
    void endOfTrack(uint32_t delta = 0) { meta(delta, 0x2F, {}); }
};

// A whole file: "MThd", length 6, format, track count, division, then one "MTrk" chunk per track.
inline std::vector<uint8_t> file(uint16_t format, uint16_t division,
                                 const std::vector<std::vector<uint8_t>>& tracks) {
    std::vector<uint8_t> out{'M', 'T', 'h', 'd'};
    putBig(out, 6, 4);
    putBig(out, format, 2);
    putBig(out, uint32_t(tracks.size()), 2);
    putBig(out, division, 2);
    for (const auto& t : tracks) {
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        putBig(out, uint32_t(t.size()), 4);
        out.insert(out.end(), t.begin(), t.end());
    }
    return out;
}

inline std::vector<uint8_t> file(uint16_t format, uint16_t division,
                                 const std::vector<Track>& tracks) {
    std::vector<std::vector<uint8_t>> data;
    for (const auto& t : tracks) data.push_back(t.data);
    return file(format, division, data);
}

} // namespace smf
