#pragma once
// Cadenzio's background loading of the chosen song. A loader runs on a thread of its own while
// the main thread keeps reading the track list under the same lock; the track list is never
// read or changed while a loader rebuilds it.
#include <atomic>
#include <mutex>
#include <string>

#include "songs/song.h"

enum class LoadEnd {
    Loaded,   // the song holds what the file gave, perhaps nothing
    Unopened, // a song file that cannot be opened; the song is empty
    TooLarge, // memory ran out on the way, as on a damaged file; the song is empty
    Stopped,  // keepLoading was cleared before the end; the song is empty
};

// Reads and converts the MIDI file into song. A file that cannot be read leaves no tracks.
// Clearing keepLoading (when given) makes the loader stop early.
LoadEnd loadMidiSong(Song& song, std::mutex& songLock, const std::string& path,
                     const std::atomic<bool>* keepLoading = nullptr);

// Reads the song file into song; every track Displayed. The menu goes back to the song browser
// when it cannot be opened or is too large.
LoadEnd loadSongFile(Song& song, std::mutex& songLock, const std::string& path,
                     const std::atomic<bool>* keepLoading = nullptr);
