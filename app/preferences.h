#pragma once
// What the player chose and expects to find again at the next start: kept in a text file beside
// "Settings.dat", which stays as it is.
#include <string>
#include <vector>

#include "app/key_value_file.h"
#include "app/play_preferences.h"
#include "songs/song.h"

struct AppContext;
struct FolderNode;

inline constexpr const char* preferencesFileName = "Preferences.txt";

// Reads the file at path into app: the latency, the song folder paths (into the tree's top
// folders, which must exist), the play preferences. Values missing or out of range keep what
// app holds.
void loadPreferences(AppContext& app, const std::string& path);
// Writes app's current values into the file and saves it when anything changed.
bool savePreferences(AppContext& app);

// A song as the preferences and the history know it: its path inside its song folder and its
// size in bytes, so that the same file is found again wherever the song folder was moved. Empty
// for a node that is no song file or cannot be read.
std::string songKey(const FolderNode& file);

// The play types chosen for the song, remembered under its key (the 2,000 most recent songs).
void rememberPlayTypes(KeyValueFile& file, const std::string& key,
                       const std::vector<Track>& tracks);
// Gives the tracks the play types remembered for the song when their count matches; false when
// nothing was restored.
bool restorePlayTypes(const KeyValueFile& file, const std::string& key, std::vector<Track>& tracks);
