#pragma once
// MIDI track chunks of a song become its tracks of notes, on one worker per hardware thread.
#include <cstdint>

#include "songs/song.h"

void convertTracks(Song& song);
void convertTrack(Song& song, uint32_t index);
