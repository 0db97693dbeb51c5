#include "game/game_state.h"

#include <algorithm>
#include <mutex>

#include "app/app_context.h"
#include "app/practice_history.h"
#include "app/preferences.h"
#include "game/matching.h"
#include "game/note_sprite.h"
#include "game/practice_hud.h"
#include "piano/key_owners.h"
#include "piano/keyboard_view.h"
#include "piano/note_readers.h"
#include "platform/input.h"
#include "sound/sound_system.h"

namespace {

constexpr double leadIn = -1.0;
constexpr float maxFrameStep = 0.1f; // seconds

bool eitherHeld(uint8_t left, uint8_t right) {
    return keyHeld(input, left) || keyHeld(input, right);
}

// One value that a pair of held keys lowers and raises at rate per second, and that left Ctrl
// with either key resets.
void adjust(float& value, uint8_t lowerKey, uint8_t raiseKey, float rate, float reset, float dt) {
    if (keyHeld(input, ScanLeftControl)) {
        if (keyPressed(input, lowerKey) || keyPressed(input, raiseKey)) value = reset;
        return;
    }
    if (keyHeld(input, lowerKey)) value -= rate * dt;
    if (keyHeld(input, raiseKey)) value += rate * dt;
}

} // namespace

GameState::GameState(AppContext& app, uint32_t frameWidth, uint32_t frameHeight) : context(&app) {
    this->frameWidth = frameWidth;
    this->frameHeight = frameHeight;
}

void GameState::enter() {
    AppContext& app = *context;
    keyboardView = app.keyboardView;
    songTime = leadIn;
    app.transposition = 0;
    // The values of the last play, kept from run to run.
    songSpeed = app.play.songSpeed;
    noteSpread = app.play.noteSpread;
    inputVolume = app.play.inputVolume;
    clamp();
    bookmarks.assign(9, 0.0f);
    loadHudSprites(sprites);

    uint32_t lowest = 128, highest = 0;
    {
        std::lock_guard<std::mutex> lock(app.songLock);
        songLength = 0;
        for (const Track& track : app.song.tracks) {
            songLength = std::max(songLength, double(track.length));
            if (!trackDrawn(track)) continue;
            lowest = std::min<uint32_t>(lowest, track.lowestKey);
            highest = std::max<uint32_t>(highest, track.highestKey);
        }
        rewindTracks(app.song.tracks);
        std::vector<uint32_t> players;
        for (uint32_t i = 0; i < app.song.tracks.size(); ++i)
            if (isPlayersTrack(app.playMode, app.song.tracks[i].playType)) players.push_back(i);
        preparePractice(practice, app.song.tracks, std::move(players), songTime);
    }
    if (keyboardView) layoutKeyboard(*keyboardView, lowest, highest);
}

void GameState::leave() {
    AppContext& app = *context;
    stopSounding();

    app.play.songSpeed = songSpeed;
    app.play.noteSpread = noteSpread;
    app.play.inputVolume = inputVolume;
    savePreferences(app);
    recordPlay(app.history, app.songKey, playedSeconds, today(), practice.bestPasses);
    saveKeyValueFile(app.history);
}

int32_t GameState::update(float dt) {
    // A long frame (a hitch, a song still loading) would hand the clock the whole wait at once,
    // skipping the lead-in and starting every note of the span in one burst.
    dt = std::min(dt, maxFrameStep);
    AppContext& app = *context;
    std::lock_guard<std::mutex> lock(app.songLock);
    std::vector<Track>& tracks = app.song.tracks;

    PlayContext play;
    play.tracks = &tracks;
    play.playMode = app.playMode;
    play.songTime = songTime;
    // Each press is matched for the keys' colours and counted by the practice aids, which
    // change nothing the matching reads.
    const bool waiting = app.play.waitForMe && practiceShown(practice);
    const PressMatch match = [&](uint8_t key) {
        practicePress(practice, tracks, key, songTime, songSpeed, waiting);
        return pressResult(play, key);
    };
    readGameMidiInput(app, inputVolume, match);
    readGameKeyboard(app, input, inputVolume, match);

    if (!paused) {
        playedSeconds += dt;
        advanceClock(dt);
    }
    tickPassDisplay(practice.pass, dt);
    bookmarkKeys();
    if (input.mouse.wheel != 0) jumpTo(float(songTime + input.mouse.wheel * 0.001));
    mouseSeeking();
    advanceNoteLists(tracks, noteScreen(), songTime, displayTime(), app.playMode, app.piano,
                     app.sound);
    practiceListsMoved(practice, tracks);
    shiftOctave(app, input);
    adjustmentKeys(dt);
    if (keyPressed(input, Scan0) || keyPressed(input, ScanF2)) rewind();
    if (keyPressed(input, ScanSpace)) {
        paused = !paused;
        // No drone through the pause; the computer's notes start again with their next ones.
        if (paused) silenceComputerNotes(tracks, app.playMode, app.piano, app.sound);
    }
    practiceKeys(practice, input, {app.play.waitForMe, app.play.speedTrainer}, songTime);
    clamp();
    return keyPressed(input, ScanEscape) ? GoToMenu : StayInState;
}

void GameState::render() {
    AppContext& app = *context;
    std::lock_guard<std::mutex> lock(app.songLock);
    const std::vector<Track>& tracks = app.song.tracks;

    if (keyboardView) drawLanes(*keyboardView);
    const NoteScreen screen = noteScreen();
    const double now = songTime;
    if (app.noteSprite && keyboardView)
        drawNotes(tracks, NoteLayout{screen, displayTime(), keyboardView}, *app.noteSprite,
                  app.palette, [&](uint32_t t, uint32_t i) {
                      return noteDrawnDarker(practice.pass, t, i, tracks[t].notes[i], now);
                  });
    if (keyboardView) drawKeys(*keyboardView, app);

    drawBookmarks(sprites, bookmarks, *this, screen);
    drawProgressBar(sprites, *this);
    drawStatusLines(*this, screenNoteCount(tracks), app.transposition);
    renderPractice();
}

void GameState::advanceClock(float dt) {
    AppContext& app = *context;
    const std::vector<Track>& tracks = app.song.tracks;
    const bool waiting = app.play.waitForMe && practiceShown(practice);
    // The step in single precision, the sum in double: a minute of frames does not drift.
    songTime = practiceClock(practice, waiting, songTime, songTime + double(dt * songSpeed));
    if (songTime > songLength) {
        songSpeed = practicePassEnds(practice, tracks, songTime, songSpeed, app.play.speedTrainer);
        rewind();
    } else if (loopReachesEnd(practice.loop, songTime)) {
        songSpeed = practicePassEnds(practice, tracks, songTime, songSpeed, app.play.speedTrainer);
        jumpTo(float(countInTime(practice.loop)));
    }
}

void GameState::renderPractice() {
    AppContext& app = *context;
    drawLoopBand(sprites.progress, practice.loop, songLength, frameWidth);
    drawPracticeLines(practice, app.play.waitForMe, app.play.speedTrainer, frameWidth);
    if (!app.play.waitForMe) return;
    KeyPlaces places;
    if (!keyboardView) return;
    places.lowestNote = keyboardView->startNote;
    places.whiteKeyCount = keyboardView->whiteKeyCount;
    places.frameWidth = frameWidth;
    places.keyboardTop = float(noteScreen().hitLine);
    places.keyboardHeight = float(frameHeight) - places.keyboardTop;
    drawWantedKeys(sprites.progress, wantedNotes(practice.wait), app.song.tracks, app.palette,
                   places);
}

bool GameState::animating() const {
    return !paused;
}

void GameState::seek(float t) {
    std::lock_guard<std::mutex> lock(context->songLock);
    jumpTo(t);
}

void GameState::restart() {
    std::lock_guard<std::mutex> lock(context->songLock);
    rewind();
}

void GameState::jumpTo(float t) {
    songTime = t;
    stopSounding();
    placeTracks(context->song.tracks, t);
    practiceJumped(practice, songTime);
}

void GameState::rewind() {
    songTime = leadIn;
    stopSounding();
    rewindTracks(context->song.tracks);
    practiceJumped(practice, songTime);
}

void GameState::stopSounding() {
    AppContext& app = *context;
    releaseHeldNotes(app.piano, app.sound);
    trimKeyOwnerLists(app.piano);
    silenceSound(app.sound);
}

double GameState::displayTime() const {
    return songTime - double(context->latency * songSpeed);
}

NoteScreen GameState::noteScreen() const {
    NoteScreen screen;
    screen.noteSpread = noteSpread;
    if (keyboardView) {
        screen.verticalScale = keyboardView->verticalScale;
        screen.hitLine = keyboardView->hitLine;
    }
    return screen;
}

void GameState::bookmarkKeys() {
    for (int k = 1; k <= 9; ++k) {
        if (!keyPressed(input, Scan1 + k - 1)) continue;
        float& bookmark = bookmarks[size_t(k - 1)];
        if (eitherHeld(ScanLeftControl, ScanRightControl))
            bookmark = 0.0f;
        else if (eitherHeld(ScanLeftShift, ScanRightShift))
            bookmark = float(songTime);
        else if (eitherHeld(ScanLeftAlt, ScanRightAlt))
            jumpTo(bookmark); // an empty bookmark is the song's start
        else
            jumpTo(float(k * 0.1 * songLength));
    }
}

void GameState::mouseSeeking() {
    // The menu flag is the one the debug menu bar left in the previous frame.
    if (mouseButtonPressed(input, 0) && !context->debugMenuOpen) seekDragging = true;
    if (!mouseButtonHeld(input, 0)) {
        seekDragging = false;
        return;
    }
    if (!seekDragging) return;
    const int32_t x = input.cursorX, y = input.cursorY;
    if (x >= 0 && x <= int32_t(frameWidth) && y >= 18 && y <= 42)
        jumpTo(float(songLength) * float(x) / float(frameWidth));
}

void GameState::adjustmentKeys(float dt) {
    adjust(songSpeed, ScanC, ScanV, keyRate, 1.0f, dt);
    adjust(noteSpread, ScanB, ScanN, keyRate * 400.0f, 400.0f, dt);
    adjust(inputVolume, ScanM, ScanComma, keyRate * 2.0f, 2.0f, dt);
}

void GameState::clamp() {
    songSpeed = std::clamp(songSpeed, 0.1f, 3.0f);
    noteSpread = std::clamp(noteSpread, 100.0f, 1200.0f);
    inputVolume = std::clamp(inputVolume, 0.0f, 3.9f);
}
