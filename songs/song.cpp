#include "songs/song.h"

#include <cstdint>

const char* const playTypeNames[5] = {"Left Hand", "Right Hand", "Displayed", "Hidden", "Muted"};

void clearTrackChunks(Song& song) {
    std::lock_guard<std::mutex> lock(song.tempoLock);
    song.trackChunks.clear();
    closeFile(song.midiSource.file);
    std::vector<uint8_t>().swap(song.midiSource.bytes);
    song.tempoMap.clear();
    song.tempoMapComplete = false;
}

void clear(Song& song) {
    clearTrackChunks(song);
    song.tracks.clear();
}

void searchTrack(Track& track, float t) {
    if (track.notes.empty()) return;
    const double target = t;
    const std::vector<Note>& notes = track.notes;
    // 64-bit indices: a track of more than 2^31 notes cannot occur, but the sums must not wrap.
    int64_t lo = 0;
    int64_t hi = int64_t(notes.size()) - 1;
    int64_t mid = 0;
    // The probe order below decides which of several equal starts is found; keep it as it is.
    for (;;) {
        mid = (lo + hi) / 2;
        if (notes[size_t(mid)].start > target) {
            hi = mid - 1;
            if (lo > hi) break;
        } else {
            lo = mid + 1;
            if (lo > hi) break;
            if (notes[size_t(lo)].start >= target) break;
        }
    }
    uint32_t cursor = uint32_t(mid);
    while (cursor > 0 && notes[cursor].start == notes[cursor - 1].start) --cursor;
    track.cursor = cursor;
}
