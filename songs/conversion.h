#pragma once
// MIDI track chunks of a song become its tracks of notes, on one worker per hardware thread.
#include <cstdint>
#include <vector>

#include "songs/song.h"

// The tracks one worker converts: indices first to end - 1; empty when first equals end.
struct WorkerShare {
    uint32_t first = 0;
    uint32_t end = 0;
};

// Worker j (from 0) gets trackCount / workerCount tracks, one more while j < the remainder; the
// shares follow each other from index 0. No worker count gives no shares.
std::vector<WorkerShare> workerShares(uint32_t trackCount, uint32_t workerCount);
// One worker per hardware thread, at least one.
uint32_t conversionWorkerCount();

// Converts every track chunk into song.tracks, drops tracks without notes, numbers and colours
// the rest (1 to 5) and makes a two-track song right hand and left hand. The calling thread is one
// of the workers; with one worker no thread is started. Throws std::bad_alloc, with no tracks
// left, when memory ran out in any of them.
void convertTracks(Song& song, uint32_t workerCount = conversionWorkerCount());
// Converts track chunk index into song.tracks[index], which must exist.
void convertTrack(Song& song, uint32_t index);
