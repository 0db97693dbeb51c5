#include "game/note_lists.h"

#include <algorithm>

#include "game/matching.h"
#include "piano/key_owners.h"
#include "sound/sound_system.h"

namespace {

double pixelsPerSecond(const NoteScreen& screen) {
    return double(screen.noteSpread) * double(screen.verticalScale);
}

bool takesPart(const Track& track) {
    return track.playType != PlayType::Muted;
}

// Damaged song files may hold keys above 127; the owner lists have 128 entries.
bool validKey(const Note& note) {
    return note.key < 128;
}

// Keeps the entries for which keep is true, in order; one pass, however many go.
template <typename Keep> void compact(std::vector<uint32_t>& list, Keep keep) {
    size_t kept = 0;
    for (size_t i = 0; i < list.size(); ++i)
        if (keep(list[i])) list[kept++] = list[i];
    list.resize(kept);
}

// A computer note's end: it stops, and unless its track is Hidden its key loses the owner entry.
void stopComputerNote(const Track& track, const Note& note, PianoState& piano, SoundState& sound) {
    if (track.playType != PlayType::Hidden && validKey(note))
        removeKeyOwner(piano, note.key, uint8_t(track.colour));
    soundComputerNote(sound, note, false);
}

void expire(Track& track, const NoteScreen& screen, double displayTime) {
    const float hitLine = float(screen.hitLine);
    compact(track.ended,
            [&](uint32_t i) { return noteTop(screen, track.notes[i], displayTime) < hitLine; });
}

void endNotes(Track& track, const NoteScreen& screen, double songTime, PlayMode playMode,
              PianoState& piano, SoundState& sound) {
    const float hitLine = float(screen.hitLine);
    const bool computer = computerPlaysTrack(playMode, track.playType);
    compact(track.sounding, [&](uint32_t i) {
        const Note& note = track.notes[i];
        if (noteTop(screen, note, songTime) < hitLine) return true;
        track.ended.push_back(i);
        if (computer) stopComputerNote(track, note, piano, sound);
        return false;
    });
}

void startNotes(Track& track, const NoteScreen& screen, double songTime, PlayMode playMode,
                PianoState& piano, SoundState& sound) {
    const float hitLine = float(screen.hitLine);
    const bool computer = computerPlaysTrack(playMode, track.playType);
    const bool shown = track.playType != PlayType::Hidden;
    size_t started = 0;
    for (; started < track.upcoming.size(); ++started) {
        const uint32_t i = track.upcoming[started];
        const Note& note = track.notes[i];
        if (noteBottom(screen, note, songTime) < hitLine) break;
        track.sounding.push_back(i);
        if (computer) {
            if (shown && validKey(note)) addKeyOwner(piano, note.key, uint8_t(track.colour));
            soundComputerNote(sound, note, true);
        }
    }
    // One move of the rest, however many started this frame.
    track.upcoming.erase(track.upcoming.begin(), track.upcoming.begin() + ptrdiff_t(started));
}

void comeOnScreen(Track& track, const NoteScreen& screen, double songTime) {
    const uint32_t count = uint32_t(track.notes.size());
    while (track.cursor < count && noteBottom(screen, track.notes[track.cursor], songTime) >= 0)
        track.upcoming.push_back(track.cursor++);
}

void emptyLists(Track& track) {
    track.upcoming.clear();
    track.sounding.clear();
    track.ended.clear();
}

} // namespace

float noteBottom(const NoteScreen& screen, const Note& note, double t) {
    return float((t - note.start) * pixelsPerSecond(screen) + screen.hitLine);
}

float noteTop(const NoteScreen& screen, const Note& note, double t) {
    const double k = pixelsPerSecond(screen);
    return float((t - note.start) * k + screen.hitLine - note.duration * k);
}

float timeMarkY(const NoteScreen& screen, double mark, double t) {
    return float((t - mark) * pixelsPerSecond(screen) + screen.hitLine);
}

bool trackDrawn(const Track& track) {
    return track.playType != PlayType::Hidden && track.playType != PlayType::Muted;
}

bool computerPlaysTrack(PlayMode playMode, PlayType playType) {
    return playType != PlayType::Muted && !isPlayersTrack(playMode, playType);
}

void advanceNoteLists(std::vector<Track>& tracks, const NoteScreen& screen, double songTime,
                      double displayTime, PlayMode playMode, PianoState& piano, SoundState& sound) {
    for (Track& track : tracks)
        if (takesPart(track)) expire(track, screen, displayTime);
    for (Track& track : tracks)
        if (takesPart(track)) endNotes(track, screen, songTime, playMode, piano, sound);
    for (Track& track : tracks)
        if (takesPart(track)) startNotes(track, screen, songTime, playMode, piano, sound);
    for (Track& track : tracks)
        if (takesPart(track)) comeOnScreen(track, screen, songTime);
}

void placeTracks(std::vector<Track>& tracks, float t) {
    for (Track& track : tracks) {
        if (!takesPart(track)) continue;
        searchTrack(track, t);
        emptyLists(track);
    }
}

void rewindTracks(std::vector<Track>& tracks) {
    for (Track& track : tracks) {
        if (!takesPart(track)) continue;
        track.cursor = 0;
        emptyLists(track);
    }
}

void silenceComputerNotes(std::vector<Track>& tracks, PlayMode playMode, PianoState& piano,
                          SoundState& sound) {
    for (Track& track : tracks) {
        if (!takesPart(track) || !computerPlaysTrack(playMode, track.playType)) continue;
        for (uint32_t i : track.sounding) {
            stopComputerNote(track, track.notes[i], piano, sound);
            track.ended.push_back(i);
        }
        track.sounding.clear();
    }
}

void soundComputerNote(SoundState& sound, const Note& note, bool on) {
    soundNote(sound, note.channel, note.key, note.velocity, on);
}
