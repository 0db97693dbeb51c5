// The song file reader.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "songs/song.h"
#include "songs/song_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Song song;
    if (readSongBytes(song, std::vector<uint8_t>(data, data + size))) {
        // What the game does with a loaded song first.
        for (Track& track : song.tracks) searchTrack(track, 1.0f);
    }
    return 0;
}
