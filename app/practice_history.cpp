#include "app/practice_history.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

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
        start = end + 2;
    }
    return history;
}

} // namespace

SongHistory findHistory(const KeyValueFile& file, const std::string& key) {
    const std::string* value = findValue(file, key);
    return value ? parse(*value) : SongHistory{};
}

void recordPlay(KeyValueFile& file, const std::string& key, double seconds,
                const std::string& date) {
    if (key.empty()) return;
    SongHistory history = findHistory(file, key);
    history.plays += 1;
    if (std::isfinite(seconds) && seconds > 0) history.seconds += seconds;
    history.lastDate = date;
    char value[96];
    std::snprintf(value, sizeof value, "%u plays, %.0f s, last %s", history.plays, history.seconds,
                  history.lastDate.c_str());
    setValueLast(file, key, value);
    keepLastWithPrefix(file, "", historySongLimit);
}

std::string historyLine(const SongHistory& history) {
    if (history.plays == 0) return "Not played yet";
    char line[128];
    std::snprintf(line, sizeof line, "Played %u %s, %.0f min, last %s", history.plays,
                  history.plays == 1 ? "time" : "times", std::floor(history.seconds / 60 + 0.5),
                  history.lastDate.c_str());
    return line;
}

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return "";
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}
