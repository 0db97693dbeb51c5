#include "game/practice.h"

#include "platform/input.h"

namespace {

constexpr float passShownSeconds = 3.0f;

} // namespace

void preparePractice(Practice& practice, const std::vector<Track>& tracks,
                     std::vector<uint32_t> playerTracks, double t) {
    practice.playerTracks = std::move(playerTracks);
    prepareWaitForMe(practice.wait, tracks, practice.playerTracks, t);
    preparePass(practice.pass, tracks, practice.playerTracks, t);
    practice.loopChanged = false;
}

bool practiceShown(const Practice& practice) {
    return !practice.playerTracks.empty();
}

void practicePress(Practice& practice, const std::vector<Track>& tracks, uint8_t key, double t,
                   float speed, bool waitForMe) {
    // A press made while the clock stands has no timing to speak of.
    const bool timed = !(waitForMe && practice.wait.holding);
    if (waitForMe) pressForWait(practice.wait, key, t);
    passPress(practice.pass, tracks, key, t, speed, timed, practiceSpan(practice));
}

double practiceClock(Practice& practice, bool waitForMe, double now, double proposed) {
    if (!waitForMe) {
        practice.wait.holding = false;
        return proposed;
    }
    return waitClock(practice.wait, now, proposed);
}

void practiceJumped(Practice& practice, double t) {
    placeWaitForMe(practice.wait, t);
    beginPass(practice.pass, t);
    practice.loopChanged = false;
}

void practiceListsMoved(Practice& practice, const std::vector<Track>& tracks) {
    passEndedNotes(practice.pass, tracks, practiceSpan(practice));
}

float practicePassEnds(Practice& practice, const std::vector<Track>& tracks, double t, float speed,
                       bool speedTrainer) {
    const PassTotals totals =
        endPass(practice.pass, tracks, t, practiceSpan(practice), passShownSeconds);
    for (const TrackPass& counts : practice.pass.tracks)
        keepBetterPass(practice.bestPasses,
                       {counts.name, counts.hits, counts.hits + counts.misses});
    const bool wholeLoop = loopActive(practice.loop) && !practice.loopChanged &&
                           practice.pass.beganAt < practice.loop.start;
    if (speedTrainer && wholeLoop)
        speed = trainSpeed(practice.trainer, speed, totals.hits, totals.misses);
    return speed;
}

NoteSpan practiceSpan(const Practice& practice) {
    NoteSpan span;
    span.from = practice.pass.beganAt;
    if (loopActive(practice.loop)) {
        span.from = std::max(span.from, practice.loop.start);
        span.to = practice.loop.end;
    }
    return span;
}

void practiceKeys(Practice& practice, const InputDevices& input, PracticeSwitches switches,
                  double t) {
    if (keyPressed(input, ScanTab)) {
        switches.waitForMe = !switches.waitForMe;
        // Presses made while it was off were never gathered.
        if (switches.waitForMe) placeWaitForMe(practice.wait, t);
    }
    if (keyPressed(input, ScanBackslash)) switches.speedTrainer = !switches.speedTrainer;
    PracticeLoop& loop = practice.loop;
    const PracticeLoop before = loop;
    if (keyPressed(input, ScanLeftBracket)) {
        loop.hasStart = true;
        loop.start = std::max(t, 0.0); // the lead-in is no place to start a passage
    }
    if (keyPressed(input, ScanRightBracket)) {
        loop.hasEnd = true;
        loop.end = std::max(t, 0.0);
    }
    if (keyPressed(input, ScanBackspace)) loop = PracticeLoop{};
    if (loop.hasStart != before.hasStart || loop.hasEnd != before.hasEnd ||
        loop.start != before.start || loop.end != before.end)
        practice.loopChanged = true;
}

std::vector<std::string> practiceStatusLines(const Practice& practice, bool waitForMe,
                                             bool speedTrainer) {
    std::vector<std::string> lines;
    if (practiceShown(practice))
        lines.push_back(std::string("[Tab] Wait for Me: ") + (waitForMe ? "On" : "Off"));
    lines.push_back(loopStatusLine(practice.loop));
    if (practiceShown(practice)) lines.push_back(trainerStatusLine(practice.trainer, speedTrainer));
    return lines;
}
