#pragma once
// What was practised: for each song, its plays, the time played and the day last played, kept in
// a file of its own beside the imported songs. Only the most recent songs are kept.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/key_value_file.h"

inline constexpr const char* historyFileName = "History.txt";
inline constexpr size_t historySongLimit = 2000;

// A hand's best pass through the song or a loop: notes hit out of the notes due.
struct HandBest {
    std::string hand; // "Right Hand", "Left Hand" or "Track N"
    uint32_t hits = 0, notes = 0;
};
// Whether a is the better pass: the larger share hit, then the more notes.
bool betterPass(const HandBest& a, const HandBest& b);
// Puts pass in bests: a hand's first pass, or a better one than the hand has there.
void keepBetterPass(std::vector<HandBest>& bests, const HandBest& pass);

struct SongHistory {
    uint32_t plays = 0;
    double seconds = 0;   // played, over every play
    std::string lastDate; // "YYYY-MM-DD", local time
    std::vector<HandBest> best;
};

// The song's entry (song key of preferences.h); all zero when there is none or it is damaged.
SongHistory findHistory(const KeyValueFile& file, const std::string& key);
// Counts one play of seconds on date, keeps each hand's better pass of the stored one and the
// play's, and makes the song the most recent one.
void recordPlay(KeyValueFile& file, const std::string& key, double seconds, const std::string& date,
                const std::vector<HandBest>& passes = {});
// "Played 12 times, 48 min, last 2026-12-03; best Right Hand 44/45"; "Not played yet" for a song
// without an entry.
std::string historyLine(const SongHistory& history);
// Today as "YYYY-MM-DD", local time.
std::string today();
