#include "songs/song_loading.h"

#include <cstdint>
#include <vector>

#include "platform/file_reader.h"
#include "songs/conversion.h"
#include "songs/midi_reader.h"
#include "songs/song_file.h"

namespace {

// Empties the shared song, so that nothing of the earlier song shows while the new one is built.
// Returns the division the new song starts from.
uint16_t clearShared(Song& song, std::mutex& songLock) {
    std::lock_guard<std::mutex> lock(songLock);
    clear(song);
    return song.ticksPerQuarter;
}

// Hands the tracks built aside to the shared song. The emptied list goes back to the caller's
// song and is freed there, outside the lock.
void swapIn(Song& song, std::mutex& songLock, Song& aside) {
    std::lock_guard<std::mutex> lock(songLock);
    song.tracks.swap(aside.tracks);
    song.ticksPerQuarter = aside.ticksPerQuarter;
}

} // namespace

void loadMidiSong(Song& song, std::mutex& songLock, const std::string& path) {
    Song aside;
    aside.ticksPerQuarter = clearShared(song, songLock);
    // A file that cannot be read leaves no chunks, and so no tracks.
    readMidiFile(aside, path);
    convertTracks(aside);
    swapIn(song, songLock, aside);
}

bool loadSongFile(Song& song, std::mutex& songLock, const std::string& path) {
    Song aside;
    aside.ticksPerQuarter = clearShared(song, songLock);
    std::vector<uint8_t> bytes;
    if (!readFileBytes(path, bytes)) return false;
    // A damaged file leaves the song empty, like a file without tracks; only a file that cannot
    // be opened sends the player back.
    readSongBytes(aside, bytes);
    for (Track& track : aside.tracks) track.playType = PlayType::Displayed;
    swapIn(song, songLock, aside);
    return true;
}
