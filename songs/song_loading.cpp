#include "songs/song_loading.h"

#include <cstdint>
#include <new>
#include <vector>

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

bool stopped(const std::atomic<bool>* keepLoading) {
    return keepLoading && !keepLoading->load();
}

} // namespace

LoadEnd loadMidiSong(Song& song, std::mutex& songLock, const std::string& path,
                     const std::atomic<bool>* keepLoading) {
    Song aside;
    aside.ticksPerQuarter = clearShared(song, songLock);
    aside.midiSource.keepReading = keepLoading;
    try {
        // A file that cannot be read leaves no chunks, and so no tracks.
        readMidiFile(aside, path);
        convertTracks(aside);
    } catch (const std::bad_alloc&) {
        return LoadEnd::TooLarge;
    }
    if (stopped(keepLoading)) return LoadEnd::Stopped;
    swapIn(song, songLock, aside);
    return LoadEnd::Loaded;
}

LoadEnd loadSongFile(Song& song, std::mutex& songLock, const std::string& path,
                     const std::atomic<bool>* keepLoading) {
    Song aside;
    aside.ticksPerQuarter = clearShared(song, songLock);
    bool opened = false;
    try {
        // Read from the file as it goes: the notes are the only copy in memory. A damaged file
        // leaves the song empty, like a file without tracks; only a file that cannot be opened
        // sends the player back.
        readSongFile(aside, path, &opened, keepLoading);
    } catch (const std::bad_alloc&) {
        return LoadEnd::TooLarge;
    }
    if (!opened) return LoadEnd::Unopened;
    if (stopped(keepLoading)) return LoadEnd::Stopped;
    for (Track& track : aside.tracks) track.playType = PlayType::Displayed;
    swapIn(song, songLock, aside);
    return LoadEnd::Loaded;
}
