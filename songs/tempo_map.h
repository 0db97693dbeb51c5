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

// Converts non-decreasing tick positions into seconds, applying every tempo change passed.
// Before the first change the tempo is 120 beats per minute.
struct TempoCursor {
    TempoCursor(const std::vector<TempoChange>& map, uint16_t ticksPerQuarter);

    double timeAt(uint64_t tick) {
        while (tick >= nextTick) enter();
        return baseTime + double(tick - baseTick) * secondsPerTick;
    }

  private:
    void enter();

    const TempoChange* next;
    const TempoChange* end;
    double ticksPerQuarter;
    uint64_t nextTick; // tick of *next, or the largest tick when every change is passed
    uint64_t baseTick = 0;
    double baseTime = 0;
    double secondsPerTick;
};
