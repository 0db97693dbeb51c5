#include "songs/tempo_map.h"

#include <algorithm>
#include <cstring>

#include "songs/chunk_reader.h"
#include "songs/track_walker.h"

namespace {

constexpr double defaultTempo = 120.0;

struct TempoEvent {
    uint64_t tick;
    uint32_t microsecondsPerQuarter;
};

// A set-tempo event is always spelled FF 51 (meta events have no running status), so a chunk
// without that byte pair holds none and need not be walked.
bool mayHoldTempo(const MidiSource& source, const TrackChunk& chunk) {
    ChunkReader in(source, chunk);
    bool afterFF = false; // the last byte looked at, perhaps in the piece before, was 0xFF
    while (in.fill()) {
        if (afterFF) {
            if (*in.at == 0x51) return true;
            afterFF = false;
            if (*in.at != 0xFF) ++in.at;
            continue;
        }
        const void* m = std::memchr(in.at, 0xFF, size_t(in.end - in.at));
        in.at = m ? static_cast<const uint8_t*>(m) + 1 : in.end;
        afterFF = m != nullptr;
    }
    return false;
}

} // namespace

void completeTempoMap(Song& song) {
    std::lock_guard<std::mutex> lock(song.tempoLock);
    if (song.tempoMapComplete) return;
    song.tempoMapComplete = true;
    song.tempoMap.clear();
    if (song.ticksPerQuarter == 0) return;

    std::vector<TempoEvent> events;
    for (const TrackChunk& chunk : song.trackChunks) {
        if (!mayHoldTempo(song.midiSource, chunk)) continue;
        ChunkReader in(song.midiSource, chunk);
        walkTrack(in, [&](const RawEvent& e) {
            if (e.status != 0xFF || e.metaType != 0x51 || e.dataLength < 3) return;
            const uint32_t us = uint32_t(e.data[0]) << 16 | uint32_t(e.data[1]) << 8 | e.data[2];
            // A tempo of 0 microseconds per quarter would stop time; such an event is ignored.
            if (us == 0) return;
            events.push_back({e.tick, us});
        });
    }
    // Stable: of several changes at one tick, the last in file order wins.
    std::stable_sort(events.begin(), events.end(),
                     [](const TempoEvent& a, const TempoEvent& b) { return a.tick < b.tick; });

    const double tpq = song.ticksPerQuarter;
    uint64_t tick = 0;
    double time = 0;
    double tempo = defaultTempo;
    for (const TempoEvent& e : events) {
        const double bpm = 60000000.0 / e.microsecondsPerQuarter;
        if (!song.tempoMap.empty() && song.tempoMap.back().tick == e.tick) {
            song.tempoMap.back().tempo = bpm;
        } else {
            // The same expression as TempoCursor's, so times stay monotonic across a change.
            time += double(e.tick - tick) * (60.0 / (tpq * tempo));
            song.tempoMap.push_back({time, bpm, e.tick});
        }
        tick = e.tick;
        tempo = bpm;
    }
}

TempoCursor::TempoCursor(const std::vector<TempoChange>& map, uint16_t division)
    : next(map.data()), end(map.data() + map.size()), ticksPerQuarter(division),
      nextTick(map.empty() ? UINT64_MAX : map.front().tick),
      secondsPerTick(60.0 / (ticksPerQuarter * defaultTempo)) {}

void TempoCursor::enter(uint64_t tick) {
    // Galloping: the next change or two is the common step; a longer one doubles its stride
    // until it overshoots, then searches only the last stride.
    const TempoChange* passed = next; // its tick is at or before tick
    size_t stride = 1;
    while (size_t(end - passed) > stride && passed[stride].tick <= tick) {
        passed += stride;
        stride *= 2;
    }
    const TempoChange* limit = passed + std::min(stride, size_t(end - passed));
    next = std::upper_bound(passed + 1, limit, tick,
                            [](uint64_t t, const TempoChange& c) { return t < c.tick; });
    const TempoChange& entered = next[-1];
    baseTick = entered.tick;
    baseTime = entered.time;
    secondsPerTick = 60.0 / (ticksPerQuarter * entered.tempo);
    nextTick = next == end ? UINT64_MAX : next->tick;
}
