#pragma once
// Walks the events of one MIDI track chunk in file order, in ticks. Shared by the tempo scan, the
// track decoder and the track conversion, so all three read a chunk exactly alike.
#include <cstddef>
#include <cstdint>

#include "songs/chunk_reader.h"

struct RawEvent {
    uint64_t tick = 0;            // ticks from the track start
    uint8_t status = 0;           // running status already applied
    uint8_t bytes[3] = {0, 0, 0}; // the event as kept; velocity-0 note-ons already note-offs
    uint8_t size = 0;             // 1 to 3 when kept; 0 when the event is longer and dropped
    uint8_t metaType = 0;         // for status 0xFF
    uint8_t data[3] = {0, 0, 0};  // the first bytes of a meta or system exclusive payload
    uint32_t dataLength = 0;      // the whole payload's
};

namespace track_walker {

// A variable-length quantity of at most 4 bytes; after the fourth byte it ends regardless. False
// when the chunk ends inside it.
inline bool readVlq(ChunkReader& in, uint32_t& value) {
    value = 0;
    for (int count = 0; count < 4; ++count) {
        uint8_t b = 0;
        if (!in.next(b)) return false;
        value = (value << 7) | (b & 0x7F);
        if (b < 0x80) break;
    }
    return true;
}

} // namespace track_walker

// Calls onEvent(const RawEvent&) for every complete event of the chunk. Damaged data end the
// track at the last complete event before it; nothing is read outside the chunk:
// - a delta, length or event cut off by the chunk's end is dropped and the track ends there;
// - a meta or system exclusive length reaching past the chunk's end ends the track there;
// - a data byte where a status is due continues the last channel-message status, also after
//   meta, system exclusive and system messages (files in the wild rely on it); with no channel
//   status seen yet there is nothing to continue, and the track ends there.
template <class OnEvent> void walkTrack(ChunkReader& in, OnEvent&& onEvent) {
    using track_walker::readVlq;
    uint64_t tick = 0;
    uint8_t channelStatus = 0;
    RawEvent e;
    while (in.left() > 0) {
        uint32_t delta = 0;
        if (!readVlq(in, delta)) return;
        tick += delta;
        if (!in.fill()) return;
        uint8_t status = *in.at;
        if (status >= 0x80) {
            ++in.at;
        } else {
            if (channelStatus == 0) return;
            status = channelStatus;
        }
        e.tick = tick;
        e.status = status;
        e.dataLength = 0;
        e.metaType = 0;
        if (status < 0xF0) {
            const uint8_t kind = status & 0xF0;
            const bool two = !(kind == 0xC0 || kind == 0xD0);
            uint8_t first = 0, second = 0;
            if (!in.next(first) || (two && !in.next(second))) return;
            channelStatus = status;
            e.bytes[0] = status;
            e.bytes[1] = first;
            e.bytes[2] = second;
            if (kind == 0x90 && second == 0) e.bytes[0] = uint8_t(status & 0xEF);
            e.size = two ? 3 : 2;
        } else if (status == 0xFF || status == 0xF0 || status == 0xF7) {
            if (status == 0xFF && !in.next(e.metaType)) return;
            uint32_t length = 0;
            const uint64_t lengthAt = in.position();
            if (!readVlq(in, length)) return;
            const bool oneByteLength = in.position() - lengthAt == 1;
            if (length > in.left()) return;
            e.dataLength = length;
            const uint32_t kept = length < 3 ? length : 3;
            for (uint32_t i = 0; i < kept; ++i)
                if (!in.next(e.data[i])) return;
            if (!in.skip(length - kept)) return;
            // A meta event is kept only when it fits 3 bytes whole, that is FF, its type and an
            // empty length (such as the end of track FF 2F 00); system exclusive never is.
            const bool fits = status == 0xFF && oneByteLength && length == 0;
            e.size = fits ? 3 : 0;
            e.bytes[0] = status;
            e.bytes[1] = e.metaType;
            e.bytes[2] = 0;
        } else {
            // System common and real-time messages; 0xF1 and 0xF4 to 0xFE get no data bytes.
            const uint32_t count = status == 0xF2 ? 2 : status == 0xF3 ? 1 : 0;
            uint8_t first = 0, second = 0;
            if (count >= 1 && !in.next(first)) return;
            if (count == 2 && !in.next(second)) return;
            e.bytes[0] = status;
            e.bytes[1] = first;
            e.bytes[2] = second;
            e.size = uint8_t(1 + count);
        }
        onEvent(static_cast<const RawEvent&>(e));
    }
}
