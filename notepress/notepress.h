#pragma once
// Notepress: every MIDI file named on the command line becomes a song file in "Imported Songs".
#include <ostream>
#include <string>
#include <vector>

#include "songs/song.h"

// The folder, below the working directory, that receives the song files.
extern const char* const importedSongsFolder;

// The song file name for an input path: its last path component (after the last backslash or
// slash) cut at its last full stop, plus ".fff". "D:\Music\Evening Song.mid" gives
// "Evening Song.fff"; a path ending in a separator gives ".fff".
std::string songFileName(const std::string& inputPath);

// Where the song file of an input goes: importedSongsFolder, a slash, songFileName.
std::string songFilePath(const std::string& inputPath);

// Converts one input into its song file. An unreadable input gives a song without tracks, written
// only where nothing of that name exists yet; an input that is its own song file is refused and
// nothing is written. Messages go to err. The song is cleared afterwards. True when the input was
// read and its song file written.
bool importFile(Song& song, const std::string& inputPath, std::ostream& err);

// The whole program: each input in order with one reused song. 0 when every input was converted,
// 1 otherwise; without inputs a usage line and 0.
int runNotepress(const std::vector<std::string>& inputPaths, std::ostream& err);
