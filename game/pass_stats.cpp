#include "game/pass_stats.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "game/wait_for_me.h"

namespace {

bool inSpan(const NoteSpan& span, const Note& note) {
    return note.start >= span.from && note.start < span.to;
}

NoteMark* markOf(PassStats& pass, uint32_t track, uint32_t note) {
    if (track >= pass.marks.size() || note >= pass.marks[track].size()) return nullptr;
    return &pass.marks[track][note];
}

enum class Fit { None, Spent, Hit };

// One note the press may fit: a hit when it is open and counted, else spent (no hit, not wrong).
Fit tryNote(PassStats& pass, TrackPass& counts, const Track& track, uint32_t index, double t,
            float speed, bool timed, const NoteSpan& span) {
    const Note& note = track.notes[index];
    NoteMark* mark = markOf(pass, counts.track, index);
    if (!mark || *mark != NoteMark::Open || !inSpan(span, note)) return Fit::Spent;
    *mark = NoteMark::Hit;
    ++counts.hits;
    if (timed && speed > 0) {
        counts.timingSum += (t - note.start) / double(speed) * 1000.0;
        ++counts.timed;
    }
    return Fit::Hit;
}

Fit fitPress(PassStats& pass, TrackPass& counts, const Track& track, uint8_t key, double t,
             float speed, bool timed, const NoteSpan& span) {
    Fit fit = Fit::None;
    for (uint32_t index : track.sounding) {
        if (index >= track.notes.size() || track.notes[index].key != key) continue;
        if (tryNote(pass, counts, track, index, t, speed, timed, span) == Fit::Hit) return Fit::Hit;
        fit = Fit::Spent;
    }
    for (uint32_t index : track.upcoming) {
        if (index >= track.notes.size() || track.notes[index].key != key) continue;
        const float distance = float(std::fabs(t - track.notes[index].start));
        if (distance > float(pressWindow)) break; // later notes start later still
        if (distance == float(pressWindow)) continue;
        if (tryNote(pass, counts, track, index, t, speed, timed, span) == Fit::Hit) return Fit::Hit;
        fit = Fit::Spent;
    }
    return fit;
}

// The hand that was probably meant: the track with a listed note nearest the key.
TrackPass& nearestTrack(PassStats& pass, const std::vector<Track>& tracks, uint8_t key) {
    TrackPass* nearest = &pass.tracks.front();
    int best = 1000;
    for (TrackPass& counts : pass.tracks) {
        const Track& track = tracks[counts.track];
        for (const std::vector<uint32_t>* list : {&track.sounding, &track.upcoming})
            for (uint32_t index : *list) {
                if (index >= track.notes.size()) continue;
                const int distance = std::abs(int(track.notes[index].key) - int(key));
                if (distance < best) {
                    best = distance;
                    nearest = &counts;
                }
            }
    }
    return *nearest;
}

} // namespace

void preparePass(PassStats& pass, const std::vector<Track>& tracks,
                 const std::vector<uint32_t>& playerTracks, double t) {
    pass = PassStats{};
    pass.marks.resize(tracks.size());
    for (uint32_t index : playerTracks) {
        if (index >= tracks.size()) continue;
        const Track& track = tracks[index];
        TrackPass counts;
        counts.track = index;
        counts.name = playTypeNames[size_t(track.playType) % 5];
        for (uint32_t other : playerTracks)
            if (other != index && other < tracks.size() && tracks[other].playType == track.playType)
                counts.name = "Track " + std::to_string(track.number);
        pass.tracks.push_back(counts);
        pass.marks[index].assign(track.notes.size(), NoteMark::Open);
    }
    beginPass(pass, t);
}

void beginPass(PassStats& pass, double t) {
    pass.beganAt = t;
    for (TrackPass& counts : pass.tracks) {
        counts.hits = counts.misses = counts.wrong = counts.timed = 0;
        counts.timingSum = 0;
    }
    for (std::vector<NoteMark>& marks : pass.marks)
        for (NoteMark& mark : marks) mark = NoteMark::Open;
}

void passPress(PassStats& pass, const std::vector<Track>& tracks, uint8_t key, double t,
               float speed, bool timed, const NoteSpan& span) {
    if (pass.tracks.empty()) return;
    bool fits = false;
    for (TrackPass& counts : pass.tracks) {
        if (counts.track >= tracks.size()) continue;
        const Fit fit = fitPress(pass, counts, tracks[counts.track], key, t, speed, timed, span);
        if (fit == Fit::Hit) return;
        fits = fits || fit == Fit::Spent;
    }
    if (!fits) ++nearestTrack(pass, tracks, key).wrong;
}

void passEndedNotes(PassStats& pass, const std::vector<Track>& tracks, const NoteSpan& span) {
    for (TrackPass& counts : pass.tracks) {
        if (counts.track >= tracks.size()) continue;
        const Track& track = tracks[counts.track];
        for (uint32_t index : track.ended) {
            NoteMark* mark = markOf(pass, counts.track, index);
            if (!mark || *mark != NoteMark::Open || !inSpan(span, track.notes[index])) continue;
            *mark = NoteMark::Missed;
            ++counts.misses;
        }
    }
}

PassTotals endPass(PassStats& pass, const std::vector<Track>& tracks, double t,
                   const NoteSpan& span, float showSeconds) {
    for (TrackPass& counts : pass.tracks) {
        if (counts.track >= tracks.size()) continue;
        const std::vector<Note>& notes = tracks[counts.track].notes;
        std::vector<NoteMark>& marks = pass.marks[counts.track];
        for (size_t i = 0; i < notes.size() && i < marks.size(); ++i) {
            if (marks[i] != NoteMark::Open || !inSpan(span, notes[i]) || notes[i].start > t)
                continue;
            marks[i] = NoteMark::Missed;
            ++counts.misses;
        }
    }
    pass.lastLine = passLine(pass);
    pass.lastShownFor = showSeconds;
    return passTotals(pass);
}

PassTotals passTotals(const PassStats& pass) {
    PassTotals totals;
    for (const TrackPass& counts : pass.tracks) {
        totals.hits += counts.hits;
        totals.misses += counts.misses;
    }
    return totals;
}

std::string passLine(const PassStats& pass) {
    std::string line;
    double timingSum = 0;
    uint32_t timed = 0;
    char text[96];
    for (const TrackPass& counts : pass.tracks) {
        std::snprintf(text, sizeof text, "%s%s %u/%u", line.empty() ? "" : "  ",
                      counts.name.c_str(), counts.hits, counts.hits + counts.misses);
        line += text;
        if (counts.wrong > 0) line += " (" + std::to_string(counts.wrong) + " wrong)";
        timingSum += counts.timingSum;
        timed += counts.timed;
    }
    if (timed > 0) {
        const long ms = std::lround(timingSum / timed);
        if (ms == 0)
            line += "  on time";
        else
            line += (ms < 0 ? "  early " : "  late ") + std::to_string(std::labs(ms)) + " ms";
    }
    return line;
}

std::string shownPassLine(const PassStats& pass) {
    return pass.lastShownFor > 0 ? pass.lastLine : passLine(pass);
}

void tickPassDisplay(PassStats& pass, float dt) {
    if (pass.lastShownFor > 0) pass.lastShownFor -= dt;
}

bool noteDrawnDarker(const PassStats& pass, uint32_t track, uint32_t noteIndex, const Note& note,
                     double songTime) {
    if (track >= pass.marks.size() || noteIndex >= pass.marks[track].size()) return false;
    const NoteMark mark = pass.marks[track][noteIndex];
    if (mark == NoteMark::Missed) return true;
    return mark == NoteMark::Open && songTime - note.start > pressWindow &&
           songTime < note.start + note.duration;
}
