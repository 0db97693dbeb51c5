#pragma once
// Cadenzio's background loading of the chosen song. A loader runs on a thread of its own while
// the main thread keeps reading the track list under the same lock; the track list is never
// read or changed while a loader rebuilds it.
#include <mutex>
#include <string>

#include "songs/song.h"

// Reads and converts the MIDI file into song. A file that cannot be read leaves no tracks.
void loadMidiSong(Song& song, std::mutex& songLock, const std::string& path);

// Reads the song file into song; every track Displayed. False when the file cannot be opened,
// with the song left empty: the menu then goes back to the song browser.
bool loadSongFile(Song& song, std::mutex& songLock, const std::string& path);
