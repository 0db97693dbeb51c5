#include "songs/song.h"

const char* const playTypeNames[5] = {"Left Hand", "Right Hand", "Displayed", "Hidden", "Muted"};

void clear(Song& song) {
    song.trackChunks.clear();
    song.tempoMap.clear();
    song.tracks.clear();
}

void searchTrack(Track&, float) {}
