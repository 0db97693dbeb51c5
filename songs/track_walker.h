#pragma once
// Walks the events of one MIDI track chunk in file order, in ticks. Shared by the tempo scan, the
// track decoder and the track conversion, so all three read a chunk exactly alike.
#include <cstddef>
#include <cstdint>

struct RawEvent {
    uint64_t tick = 0;             // ticks from the track start
    uint8_t status = 0;            // running status already applied
    uint8_t bytes[3] = {0, 0, 0};  // the event as kept; velocity-0 note-ons already note-offs
    uint8_t size = 0;              // 1 to 3 when kept; 0 when the event is longer and dropped
    uint8_t metaType = 0;          // for status 0xFF
    const uint8_t* data = nullptr; // meta or system exclusive payload
    uint32_t dataLength = 0;
};

namespace track_walker {

// A variable-length quantity of at most 4 bytes; after the fourth byte it ends regardless. False
// when the chunk ends inside it.
inline bool readVlq(const uint8_t* data, size_t size, size_t& pos, uint32_t& value) {
    value = 0;
    for (int n = 0; n < 4; ++n) {
        if (pos >= size) return false;
        const uint8_t b = data[pos++];
        value = (value << 7) | (b & 0x7F);
        if (b < 0x80) break;
    }
    return true;
}

} // namespace track_walker

// Calls onEvent(const RawEvent&) for every complete event of the chunk. Damaged data end the
// track at the last complete event before it; nothing is read outside [data, data + size):
// - a delta, length or event cut off by the chunk's end is dropped and the track ends there;
// - a meta or system exclusive length reaching past the chunk's end ends the track there;
// - a data byte where a status is due continues the last channel-message status, also after
//   meta, system exclusive and system messages (files in the wild rely on it); with no channel
//   status seen yet there is nothing to continue, and the track ends there.
template <class OnEvent> void walkTrack(const uint8_t* data, size_t size, OnEvent&& onEvent) {
    using track_walker::readVlq;
    size_t pos = 0;
    uint64_t tick = 0;
    uint8_t channelStatus = 0;
    RawEvent e;
    while (pos < size) {
        uint32_t delta = 0;
        if (!readVlq(data, size, pos, delta)) return;
        tick += delta;
        if (pos >= size) return;
        const size_t start = pos;
        uint8_t status = data[pos];
        if (status >= 0x80) {
            ++pos;
        } else {
            if (channelStatus == 0) return;
            status = channelStatus;
        }
        e.tick = tick;
        e.status = status;
        e.data = nullptr;
        e.dataLength = 0;
        e.metaType = 0;
        if (status < 0xF0) {
            const uint8_t kind = status & 0xF0;
            const size_t count = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
            if (size - pos < count) return;
            channelStatus = status;
            e.bytes[0] = status;
            e.bytes[1] = data[pos];
            e.bytes[2] = count == 2 ? data[pos + 1] : 0;
            if (kind == 0x90 && e.bytes[2] == 0) e.bytes[0] = uint8_t(status & 0xEF);
            e.size = uint8_t(1 + count);
            pos += count;
        } else if (status == 0xFF || status == 0xF0 || status == 0xF7) {
            if (status == 0xFF) {
                if (pos >= size) return;
                e.metaType = data[pos++];
            }
            uint32_t length = 0;
            if (!readVlq(data, size, pos, length)) return;
            if (length > size - pos) return;
            e.data = data + pos;
            e.dataLength = length;
            pos += length;
            // A meta event is kept only when it fits 3 bytes whole (such as the end of track
            // FF 2F 00); system exclusive never is, however short.
            const size_t total = pos - start;
            e.size = status == 0xFF && total <= 3 ? uint8_t(total) : 0;
            for (size_t i = 0; i < 3; ++i) e.bytes[i] = i < total ? data[start + i] : 0;
        } else {
            // System common and real-time messages; 0xF1 and 0xF4 to 0xFE get no data bytes.
            const size_t count = status == 0xF2 ? 2 : status == 0xF3 ? 1 : 0;
            if (size - pos < count) return;
            e.bytes[0] = status;
            e.bytes[1] = count >= 1 ? data[pos] : 0;
            e.bytes[2] = count == 2 ? data[pos + 1] : 0;
            e.size = uint8_t(1 + count);
            pos += count;
        }
        onEvent(static_cast<const RawEvent&>(e));
    }
}
