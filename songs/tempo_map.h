#pragma once
// The song's tempo map: every set-tempo event of every track chunk, by tick, and the conversion
// of tick positions into seconds through it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "songs/song.h"

// Fills song.tempoMap from all track chunks, once per read file, under song.tempoLock. Every
// later call returns at once, so the map is complete before any track is timed.
void completeTempoMap(Song& song);

// Converts non-decreasing tick positions into seconds through the last tempo change at or before
// each. Before the first change the tempo is 120 beats per minute. A step past many changes (a
// track starting late in a long map) costs O(log n), so many tracks over one map stay linear.
struct TempoCursor {
    TempoCursor(const std::vector<TempoChange>& map, uint16_t ticksPerQuarter);

    double timeAt(uint64_t tick) {
        if (tick >= nextTick) enter(tick);
        return baseTime + double(tick - baseTick) * secondsPerTick;
    }

  private:
    void enter(uint64_t tick);

    const TempoChange* next;
    const TempoChange* end;
    double ticksPerQuarter;
    uint64_t nextTick; // tick of *next, or the largest tick when every change is passed
    uint64_t baseTick = 0;
    double baseTime = 0;
    double secondsPerTick;
};
