// The track setup page: the chosen song loads on the load thread while its tracks are listed
// with their play types, and a play-mode button starts the game.
#include <cstdio>
#include <mutex>
#include <string>

#include "app/app_context.h"
#include "app/practice_history.h"
#include "app/preferences.h"
#include "app/state.h"
#include "menu/menu_colours.h"
#include "menu/menu_pages.h"
#include "platform/input.h"
#include "render/text.h"
#include "songs/song_loading.h"

namespace {

// Content coordinates (window y + scroll): rows of 152 pixels from 96, options of 31.
constexpr int32_t rowHeight = 152, firstRowTop = 96, optionHeight = 31, optionCount = 5;

// Starts the loader that fits the chosen file; any other node starts nothing. The path is copied
// into the thread, so nothing the loader reads can change or go before the join.
void startLoading(MenuPages& menu) {
    menu.stopLoading();
    menu.keepLoading = true;
    menu.loadFailed = false;
    menu.historyText.clear();
    menu.app->songKey.clear();
    const FolderNode* file = menu.currentNode;
    if (!file || (file->kind != FolderNode::MidiFile && file->kind != FolderNode::SongFile)) return;
    AppContext& app = *menu.app;
    app.songKey = songKey(*file);
    menu.historyText = historyLine(findHistory(app.history, app.songKey));
    menu.playTypesRestored = false;
    menu.loading = true;
    menu.loadThread = std::thread([&menu, &app, path = file->path, kind = file->kind] {
        const LoadEnd end = kind == FolderNode::MidiFile
                                ? loadMidiSong(app.song, app.songLock, path, &menu.keepLoading)
                                : loadSongFile(app.song, app.songLock, path, &menu.keepLoading);
        if (end == LoadEnd::TooLarge)
            std::fprintf(stderr, "Cadenzio: \"%s\" is too large to load\n", path.c_str());
        if (end != LoadEnd::Loaded) menu.loadFailed = true;
        menu.loading = false;
    });
}

// Once the loader is done, the song gets the play types chosen when it was last opened.
void restoreOnce(MenuPages& menu) {
    if (menu.loading || menu.playTypesRestored) return;
    menu.playTypesRestored = true;
    AppContext& app = *menu.app;
    std::lock_guard<std::mutex> lock(app.songLock);
    restorePlayTypes(app.preferences, app.songKey, app.song.tracks);
}

// The first track row drawn and hit-tested: the one at the scroll, or the one before it, whose
// lower part may still show.
int32_t firstRow(int32_t scroll) {
    const int32_t f = scroll / rowHeight;
    return f >= 1 ? f - 1 : f;
}

// The tracks the page shows: none while a loader may still rebuild the list.
size_t shownTracks(const MenuPages& menu, const Song& song) {
    return menu.loading ? 0 : song.tracks.size();
}

// Hit tests the track rows and their open list with the content point (x, y); returns the
// content y below the last row handled; picked tells whether a play type was chosen. Call with
// the song lock held.
int32_t updateRows(MenuPages& menu, Song& song, int32_t x, int32_t y, bool& click, bool& picked) {
    const int32_t boxWidth = int32_t(menu.trackBox.width);
    const bool inColumn = x >= 0 && x <= boxWidth;
    const int32_t count = int32_t(shownTracks(menu, song));
    int32_t top = firstRowTop + rowHeight * firstRow(menu.scroll);
    for (int32_t i = firstRow(menu.scroll); i < count; ++i, top += rowHeight) {
        if (i == menu.openTrack) {
            // The later option wins where two share an edge, for the hover and the click alike.
            menu.hoveredOption = -1;
            for (int32_t k = 0; k < optionCount; ++k)
                if (inColumn && y >= top + optionHeight * k && y <= top + optionHeight * (k + 1))
                    menu.hoveredOption = k;
            if (click && menu.hoveredOption >= 0) {
                song.tracks[size_t(i)].playType = PlayType(menu.hoveredOption);
                rememberPlayTypes(menu.app->preferences, menu.app->songKey, song.tracks);
                picked = true;
                menu.openTrack = -1;
                click = false; // one click, one change
            }
        } else if (click && inColumn && y >= top && y <= top + rowHeight) {
            menu.openTrack = menu.openTrack == -1 ? i : -1;
            click = false;
        }
    }
    return top;
}

std::string switchLabel(const char* name, bool on) {
    return std::string(name) + (on ? ": On" : ": Off");
}

} // namespace

int32_t updateTrackSetup(MenuPages& menu) {
    AppContext& app = *menu.app;
    if (menu.pageEntered) {
        menu.pageEntered = false;
        menu.scroll = 0;
        menu.playWhenLoaded = false;
        startLoading(menu);
        savePreferences(app); // what changed before the page (written only when something did)
    }
    // A song that could not be opened or was too large: back to the browser, set by the loader.
    if (menu.loadFailed) {
        menu.stopLoading();
        menu.loadFailed = false;
        menu.goToPage(SongBrowserPage);
        return StayInState;
    }

    restoreOnce(menu);

    const int32_t x = input.cursorX, y = input.cursorY + menu.scroll;
    bool click = mouseButtonPressed(input, 0);
    int32_t end = 0;
    bool changed = false; // a play type or a switch: saved once this frame's input is handled
    {
        std::lock_guard<std::mutex> lock(app.songLock);
        end = updateRows(menu, app.song, x, y, click, changed);
    }
    if (x <= int32_t(menu.trackBox.width)) {
        menu.scrollByWheel(input.mouse.wheel, end);
    } else if (click) {
        menu.openTrack = -1;
    }

    const struct {
        MenuButton& button;
        PlayMode mode;
    } modes[] = {{menu.playLeftHandButton, PlayMode::PlayLeftHand},
                 {menu.playRightHandButton, PlayMode::PlayRightHand},
                 {menu.playBothHandsButton, PlayMode::PlayBothHands},
                 {menu.watchAndListenButton, PlayMode::WatchAndListen}};
    for (const auto& m : modes) {
        updateButton(m.button, input);
        if (buttonClicked(m.button, input)) {
            app.playMode = m.mode;
            menu.playWhenLoaded = true;
        }
    }

    const struct {
        MenuButton& button;
        bool& on;
    } switches[] = {{menu.waitForMeButton, app.play.waitForMe},
                    {menu.speedTrainerButton, app.play.speedTrainer}};
    for (const auto& s : switches) {
        updateButton(s.button, input);
        if (buttonClicked(s.button, input)) {
            s.on = !s.on;
            changed = true;
        }
    }
    if (changed) savePreferences(app);

    // Leaving stops the loader where it is; the song it leaves is empty.
    if (keyPressed(input, ScanEscape)) {
        menu.stopLoading();
        menu.goToPage(SongBrowserPage);
        return StayInState;
    }
    // The game starts only with the whole song loaded; until then the frames go on, showing
    // "Loading...".
    if (!menu.playWhenLoaded || menu.loading) return StayInState;
    menu.playWhenLoaded = false;
    if (menu.loadThread.joinable()) menu.loadThread.join();
    restoreOnce(menu); // the game starts with the song's remembered play types
    return GoToGame;
}

void renderTrackSetup(MenuPages& menu) {
    AppContext& app = *menu.app;
    const float textSize = float(menu.textSize);
    // In the page titles' light grey: black, the dark text of the light boxes, would vanish into
    // the black background above them.
    drawText("Tracks", 32, float(64 - menu.scroll), textSize, plainTextColour);
    // The list is empty until the loader is done; a large file should not look like an empty one.
    if (menu.loading)
        drawText("Loading...", 32, float(96 - menu.scroll), textSize, plainTextColour);
    if (!menu.historyText.empty())
        drawText(menu.historyText.c_str(), 600 * menu.scaleX, 240 * menu.scaleY, textSize,
                 plainTextColour);

    {
        std::lock_guard<std::mutex> lock(app.songLock);
        const int32_t count = int32_t(shownTracks(menu, app.song));
        float y = float(firstRowTop + rowHeight * firstRow(menu.scroll) - menu.scroll);
        for (int32_t i = firstRow(menu.scroll); i < count && y <= float(menu.height);
             ++i, y += rowHeight) {
            const Track& track = app.song.tracks[size_t(i)];
            if (i == menu.openTrack) {
                for (int32_t k = 0; k < optionCount; ++k) {
                    Sprite box = menu.optionBox;
                    box.x = 0;
                    box.y = y + float(optionHeight * k);
                    drawSprite(box);
                    drawText(playTypeNames[k], 104, box.y, textSize,
                             k == menu.hoveredOption ? currentTextColour : buttonTextColour);
                }
                continue;
            }
            Sprite box = menu.trackBox;
            box.x = 0;
            box.y = y;
            if (track.colour < app.palette.size()) box.colour = app.palette[track.colour];
            drawSprite(box);
            const uint32_t type = uint32_t(track.playType);
            drawText(("Index: " + std::to_string(track.number)).c_str(), 4, y + 4, textSize,
                     darkTextColour);
            drawText(("Notes: " + std::to_string(track.notes.size())).c_str(), 130, y + 4, textSize,
                     darkTextColour);
            drawText((std::string("Play Type: ") + (type < 5 ? playTypeNames[type] : "")).c_str(),
                     4, y + 68, textSize, darkTextColour);
        }
    }

    for (const MenuButton* button : {&menu.playLeftHandButton, &menu.playRightHandButton,
                                     &menu.playBothHandsButton, &menu.watchAndListenButton})
        drawButton(*button, input);
    menu.waitForMeButton.label = switchLabel("Wait for Me", app.play.waitForMe);
    menu.speedTrainerButton.label = switchLabel("Speed Trainer", app.play.speedTrainer);
    drawButton(menu.waitForMeButton, input);
    drawButton(menu.speedTrainerButton, input);
}
