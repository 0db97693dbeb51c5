#include "game/wait_for_me.h"

#include <algorithm>

namespace {

// The clock stops this far before a group's start: a note's lower end then lies short of the
// hit line by a fraction of a pixel, so nothing of the group starts.
constexpr double holdMargin = 0.001;

size_t groupEnd(const WaitForMe& wait, size_t first) {
    const double last = wait.notes[first].start + groupTolerance + 1e-9;
    size_t end = first + 1;
    while (end < wait.notes.size() && wait.notes[end].start <= last) ++end;
    return end;
}

bool complete(const WaitForMe& wait, size_t first, size_t end) {
    for (size_t i = first; i < end; ++i)
        if (!wait.notes[i].pressed) return false;
    return true;
}

} // namespace

void prepareWaitForMe(WaitForMe& wait, const std::vector<Track>& tracks,
                      const std::vector<uint32_t>& playerTracks, double t) {
    wait.notes.clear();
    for (uint32_t index : playerTracks) {
        if (index >= tracks.size()) continue;
        for (const Note& note : tracks[index].notes)
            wait.notes.push_back({note.start, note.key, index, false});
    }
    std::stable_sort(wait.notes.begin(), wait.notes.end(),
                     [](const WaitNote& a, const WaitNote& b) { return a.start < b.start; });
    placeWaitForMe(wait, t);
}

void placeWaitForMe(WaitForMe& wait, double t) {
    for (WaitNote& note : wait.notes) note.pressed = false;
    wait.group = size_t(
        std::upper_bound(wait.notes.begin(), wait.notes.end(), t,
                         [](double time, const WaitNote& note) { return time < note.start; }) -
        wait.notes.begin());
    wait.holding = false;
}

bool pressForWait(WaitForMe& wait, uint8_t key, double t) {
    // Groups in order from the first the clock has not passed, while they lie in the window.
    for (size_t first = wait.group; first < wait.notes.size();) {
        if (wait.notes[first].start - t >= pressWindow) return false;
        const size_t end = groupEnd(wait, first);
        bool wanted = false;
        for (size_t i = first; i < end; ++i) {
            WaitNote& note = wait.notes[i];
            if (note.key != key || note.pressed) continue;
            note.pressed = true; // every note of the key in the group: one press plays them
            wanted = true;
        }
        if (wanted) return true;
        first = end;
    }
    return false;
}

double waitClock(WaitForMe& wait, double now, double proposed) {
    wait.holding = false;
    while (wait.group < wait.notes.size()) {
        const size_t end = groupEnd(wait, wait.group);
        const double start = wait.notes[wait.group].start;
        if (complete(wait, wait.group, end)) {
            if (proposed < start) return proposed;
            wait.group = end; // passed: its presses are spent
            continue;
        }
        const double hold = start - holdMargin;
        if (proposed < hold) return proposed;
        wait.holding = true;
        return std::max(now, hold);
    }
    return proposed;
}

std::vector<WaitNote> wantedNotes(const WaitForMe& wait) {
    std::vector<WaitNote> wanted;
    if (!wait.holding || wait.group >= wait.notes.size()) return wanted;
    const size_t end = groupEnd(wait, wait.group);
    for (size_t i = wait.group; i < end; ++i)
        if (!wait.notes[i].pressed) wanted.push_back(wait.notes[i]);
    return wanted;
}
