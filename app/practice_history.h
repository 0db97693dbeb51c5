#pragma once
// What was practised: for each song, its plays, the time played and the day last played, kept in
// a file of its own beside the imported songs. Only the most recent songs are kept.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/key_value_file.h"

inline constexpr const char* historyFileName = "History.txt";
inline constexpr size_t historySongLimit = 2000;

struct SongHistory {
    uint32_t plays = 0;
    double seconds = 0;   // played, over every play
    std::string lastDate; // "YYYY-MM-DD", local time
};

// The song's entry (song key of preferences.h); all zero when there is none or it is damaged.
SongHistory findHistory(const KeyValueFile& file, const std::string& key);
// Counts one play of seconds on date and makes the song the most recent one.
void recordPlay(KeyValueFile& file, const std::string& key, double seconds,
                const std::string& date);
// "Played 12 times, 48 min, last 2026-12-03"; "Not played yet" for a song without an entry.
std::string historyLine(const SongHistory& history);
// Today as "YYYY-MM-DD", local time.
std::string today();
