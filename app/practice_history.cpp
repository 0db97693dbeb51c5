#include "app/practice_history.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

// "Right Hand 44/45": the hand's name, then its hits over its notes.
void parseBest(const std::string& text, std::vector<HandBest>& best) {
    const size_t space = text.rfind(' ');
    if (space == std::string::npos || space == 0 || best.size() >= 16) return;
    unsigned hits = 0, notes = 0;
    int used = -1;
    const std::string figures = text.substr(space + 1);
    if (std::sscanf(figures.c_str(), "%u/%u%n", &hits, &notes, &used) != 2 ||
        used != int(figures.size()) || hits > notes)
        return;
    best.push_back({text.substr(0, space), hits, notes});
}

// "12 plays, 2880 s, last 2026-12-03": each field ", "-separated, so that fields added later are
// skipped by a reader that does not know them.
SongHistory parse(const std::string& value) {
    SongHistory history;
    size_t start = 0;
    while (start <= value.size()) {
        size_t end = value.find(", ", start);
        if (end == std::string::npos) end = value.size();
        const std::string field = value.substr(start, end - start);
        unsigned plays = 0;
        double seconds = 0;
        char date[11] = {};
        // %n is reached only when the whole pattern matched.
        int used = -1;
        const int length = int(field.size());
        if (std::sscanf(field.c_str(), "%u plays%n", &plays, &used) == 1 && used == length)
            history.plays = plays;
        else if ((used = -1, std::sscanf(field.c_str(), "%lf s%n", &seconds, &used)) == 1 &&
                 used == length && std::isfinite(seconds) && seconds >= 0)
            history.seconds = seconds;
        else if ((used = -1, std::sscanf(field.c_str(), "last %10[0-9-]%n", date, &used)) == 1 &&
                 used == length)
            history.lastDate = date;
        else if (field.rfind("best ", 0) == 0)
            parseBest(field.substr(5), history.best);
        start = end + 2;
    }
    return history;
}

// "Right Hand 44/45": a hand's best pass, as both the file and the page write it.
std::string bestText(const HandBest& best) {
    return best.hand + " " + std::to_string(best.hits) + "/" + std::to_string(best.notes);
}

} // namespace

SongHistory findHistory(const KeyValueFile& file, const std::string& key) {
    const std::string* value = findValue(file, key);
    return value ? parse(*value) : SongHistory{};
}

bool betterPass(const HandBest& a, const HandBest& b) {
    if (a.notes == 0) return false;
    if (b.notes == 0) return true;
    // Cross-multiplied in 64 bits: the shares compared without rounding.
    const uint64_t left = uint64_t(a.hits) * b.notes, right = uint64_t(b.hits) * a.notes;
    return left != right ? left > right : a.notes > b.notes;
}

void keepBetterPass(std::vector<HandBest>& bests, const HandBest& pass) {
    auto kept = std::find_if(bests.begin(), bests.end(),
                             [&](const HandBest& b) { return b.hand == pass.hand; });
    if (kept == bests.end())
        bests.push_back(pass);
    else if (betterPass(pass, *kept))
        *kept = pass;
}

void recordPlay(KeyValueFile& file, const std::string& key, double seconds, const std::string& date,
                const std::vector<HandBest>& passes) {
    if (key.empty()) return;
    SongHistory history = findHistory(file, key);
    history.plays += 1;
    if (std::isfinite(seconds) && seconds > 0) history.seconds += seconds;
    history.lastDate = date;
    for (const HandBest& pass : passes)
        // A comma would split the stored field.
        if (!pass.hand.empty() && pass.hand.find(',') == std::string::npos)
            keepBetterPass(history.best, pass);
    char value[96];
    std::snprintf(value, sizeof value, "%u plays, %.0f s, last %s", history.plays, history.seconds,
                  history.lastDate.c_str());
    std::string text = value;
    for (const HandBest& best : history.best)
        if (best.notes > 0) text += ", best " + bestText(best);
    setValueLast(file, key, text);
    keepLastWithPrefix(file, "", historySongLimit);
}

std::string historyLine(const SongHistory& history) {
    if (history.plays == 0) return "Not played yet";
    char line[128];
    std::snprintf(line, sizeof line, "Played %u %s, %.0f min, last %s", history.plays,
                  history.plays == 1 ? "time" : "times", std::floor(history.seconds / 60 + 0.5),
                  history.lastDate.c_str());
    std::string text = line;
    const char* separator = "; best ";
    for (const HandBest& best : history.best) {
        if (best.notes == 0) continue;
        text += separator + bestText(best);
        separator = ", ";
    }
    return text;
}

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return "";
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}
