#pragma once
// ".fff" song files: a little-endian dump of the tracks and their 24-byte note records.
#include <atomic>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "songs/song.h"

void writeSongFile(const Song& song, std::ostream& out);
// Writes beside path and renames over it, so a good file is never left half replaced.
bool writeSongFile(const Song& song, const std::string& path);

// Reads into a cleared song. False, with the song left empty, when the file cannot be read or
// its counts do not fit the bytes it holds; opened (when given) tells the two apart. Reading stops
// early, as on a damaged file, once keepReading (when given) is cleared. Memory running out
// throws std::bad_alloc, with the song partly filled.
bool readSongFile(Song& song, const std::string& path, bool* opened = nullptr,
                  const std::atomic<bool>* keepReading = nullptr);
bool readSongBytes(Song& song, const std::vector<uint8_t>& bytes);
