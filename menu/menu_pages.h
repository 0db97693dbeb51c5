#pragma once
// What the menu's four pages (main menu, settings, song browser, track setup) share: the menu's
// fields, and the pages themselves, each in a file of its own. The menu state runs the active
// page's update and render each frame; a page change marks the new page as entered so that it
// runs its entry actions on its first update.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <deque>
#include <string>
#include <thread>

#include "menu/menu_button.h"
#include "platform/process.h"
#include "render/sprite_pass.h"

struct AppContext;
struct FolderNode;
struct KeyboardView;

enum MenuPage : uint32_t {
    MainMenuPage = 0,
    SettingsPage = 1,
    SongBrowserPage = 2,
    TrackSetupPage = 3,
    ImportPage = 4 // notepress converting a file, or why it could not
};
enum SettingsSection : uint32_t {
    InputSection = 0,
    OutputSection = 1,
    LatencySection = 2,
    SongDirectoriesSection = 3
};

struct MenuPages {
    // Switches the page and marks it entered.
    void goToPage(uint32_t newPage) {
        page = newPage;
        pageEntered = true;
    }
    // Asks a running library scan to stop and waits for it. A scan cut short is done again on
    // the next visit to the browser.
    void stopLibraryScan();
    // Asks a running loader to stop and waits for it.
    void stopLoading() {
        if (!loadThread.joinable()) return;
        keepLoading = false;
        loadThread.join();
    }
    // The wheel scrolls a page's rows, never above the first nor past the last (contentEnd, in
    // content pixels).
    void scrollByWheel(int32_t wheel, int32_t contentEnd) {
        scroll += int32_t(std::trunc(float(wheel) * -0.5f));
        scroll = std::clamp(scroll, 0, std::max(0, contentEnd - height));
    }

    int32_t width = 640, height = 480; // the frame, taken at enter
    float scaleX = 1, scaleY = 1;      // width / 1920, height / 1080
    AppContext* app = nullptr;
    uint32_t page = MainMenuPage;
    bool pageEntered = true;
    uint32_t pageSeen = MainMenuPage, sectionSeen = 0; // as the last update found them
    KeyboardView* keyboardView = nullptr;

    // Settings page
    uint32_t settingsSection = InputSection;
    MenuButton inputButton, outputButton, latencyButton, songDirectoriesButton, backButton,
        testButton;
    int32_t hoveredRow = -1;

    // Latency test
    bool testRunning = false;
    bool clickSounding = false;
    uint32_t tapCount = 0;
    uint32_t windowCount = 0;
    std::deque<float> tapErrors;
    float errorSum = 0;
    float beatPhase = 0;
    float timeSinceTap = 0;

    // Song browser
    Sprite rowBackground; // "TextBackground.png"
    Sprite folderIcon;    // "FolderIcon.png"
    Sprite fileIcon;      // "MidiIcon.png"
    std::thread scanThread;
    std::atomic<bool> keepScanning{true};
    std::atomic<bool> scanning{false};     // from the scan's start until its thread is done
    std::atomic<bool> scanFinished{false}; // the last scan read every folder
    bool importMode = false;
    // The folder the browser shows, or the song file clicked in it until the browser shows that
    // file's folder again.
    FolderNode* currentNode = nullptr;
    FolderNode* hoveredNode = nullptr;
    int32_t scroll = 0; // pixels, of the browser and the track setup page

    // Track setup
    std::thread loadThread;
    // Set by a song file loader that could not open its file; the next update goes back to the
    // browser.
    std::atomic<bool> loadFailed{false};
    // True from the start of a load until its loader has returned.
    std::atomic<bool> loading{false};
    bool playTypesRestored = false; // the remembered play types were given to the loaded song
    std::string historyText;        // the song's practice history, one line
    // Cleared to make a running loader stop early.
    std::atomic<bool> keepLoading{true};
    // A play button was clicked while the song was loading: the game starts once it is loaded.
    bool playWhenLoaded = false;
    int32_t openTrack = -1;
    int32_t hoveredOption = 0;
    Sprite trackBox;  // "TrackBox.png"
    Sprite optionBox; // "BoxSelect.png"
    MenuButton playLeftHandButton, playRightHandButton, playBothHandsButton, watchAndListenButton;
    MenuButton waitForMeButton, speedTrainerButton; // their labels say whether each is on

    // Import
    RunningProcess importProcess;
    bool importRunning = false;
    std::string importName;    // the file's name, as the page shows it
    float importSeconds = 0;   // since the start
    std::string importProblem; // notepress's first line when it failed; empty while none

    int32_t textSize = 20;
    int32_t titleSize = 40;
    bool menuWindowOpen = true;
    int32_t menuWindowFlags = 47; // no title bar, resize, move, scroll bar or collapse
    float buttonSize[2] = {128, 32};
    float gapSize[2] = {128, 16};
    bool quitRequested = false;
};

// The pages, each in a file of its own. Updates return the state's transition code.
int32_t updateMainPage(MenuPages& menu);
void renderMainPage(MenuPages& menu);
int32_t updateSettingsPage(MenuPages& menu, float dt);
void renderSettingsPage(MenuPages& menu);
int32_t updateSongBrowser(MenuPages& menu);
void renderSongBrowser(MenuPages& menu);
int32_t updateTrackSetup(MenuPages& menu);
void renderTrackSetup(MenuPages& menu);

// The latency section of the settings page (its Test button and the test itself).
void updateLatencyTest(MenuPages& menu, float dt);
// Ends the test's click when it sounds; the test itself goes on when its section is shown again.
void stopLatencyClick(MenuPages& menu);
// Starts notepress on a MIDI file of the library and shows the import page while it runs.
void importSong(MenuPages& menu, const FolderNode& file);
// The import page: waits for notepress with the frames going on, then empties the library for a
// rescan and returns to the main menu; when notepress failed, says so until a click or Escape.
int32_t updateImportPage(MenuPages& menu, float dt);
void renderImportPage(MenuPages& menu);
// Waits for a notepress still running (the menu is ending).
void finishImport(MenuPages& menu);
