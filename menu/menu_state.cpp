#include "menu/menu_state.h"

#include "app/app_context.h"
#include "menu/menu_colours.h"
#include "piano/key_owners.h"
#include "piano/keyboard_view.h"
#include "piano/note_readers.h"
#include "sound/sound_system.h"

namespace {

constexpr float referenceWidth = 1920, referenceHeight = 1080;

void setUpButton(MenuButton& button, const char* label, float x, float y, float scaleX,
                 float scaleY) {
    loadSprite(button.normal, "BoxSelect.png");
    loadSprite(button.pressedSprite, "BoxSelect.png");
    button.label = label;
    button.textSize = 24;
    button.textColour = buttonTextColour;
    button.scaleX = button.scaleY = 1;
    button.x = x * scaleX;
    button.y = y * scaleY;
}

// Only the main menu and the settings page's Input section read the MIDI input.
bool readsMidiInput(uint32_t page, uint32_t section) {
    return page == MainMenuPage || (page == SettingsPage && section == InputSection);
}

} // namespace

MenuState::MenuState(AppContext& app, int32_t frameWidth, int32_t frameHeight)
    : context(&app), frameWidth(frameWidth), frameHeight(frameHeight) {}

MenuState::~MenuState() {
    joinThreads();
}

void MenuState::enter() {
    app = context;
    width = frameWidth;
    height = frameHeight;
    scaleX = float(width) / referenceWidth;
    scaleY = float(height) / referenceHeight;

    loadSprite(folderIcon, "FolderIcon.png");
    loadSprite(fileIcon, "MidiIcon.png");
    loadSprite(rowBackground, "TextBackground.png");
    loadSprite(trackBox, "TrackBox.png");
    loadSprite(optionBox, "BoxSelect.png");
    rowBackground.scaleX = 2 * float(width); // spans the window whatever its width
    rowBackground.scaleY = 1;

    const struct {
        MenuButton& button;
        const char* label;
        float x, y;
    } buttons[] = {{inputButton, "Input", 40, 72},
                   {outputButton, "Output", 40, 136},
                   {latencyButton, "Latency", 40, 200},
                   {songDirectoriesButton, "Song Directories", 40, 264},
                   {backButton, "Back", 40, 1000},
                   {testButton, "Test", 384, 104},
                   {playLeftHandButton, "Play Left Hand", 600, 300},
                   {playRightHandButton, "Play Right Hand", 900, 300},
                   {playBothHandsButton, "Play Both Hands", 600, 500},
                   {watchAndListenButton, "Watch and Listen", 900, 500},
                   {waitForMeButton, "", 600, 700},
                   {speedTrainerButton, "", 900, 700}};
    for (const auto& b : buttons) setUpButton(b.button, b.label, b.x, b.y, scaleX, scaleY);

    keyboardView = app->keyboardView;
    if (keyboardView) layoutKeyboard(*keyboardView, 0, 127);
    currentNode = app->songFolders.get();
}

void MenuState::leave() {
    stopLatencyClick(*this);
    finishImport(*this);
    joinThreads();
    // Keys held as the menu goes (quitting, or on to play) are never read again here.
    releaseHeldNotes(app->piano, app->sound);
    silenceSound(app->sound);
}

void MenuState::joinThreads() {
    stopLibraryScan();
    stopLoading();
}

int32_t MenuState::update(float dt) {
    // A page change (made by the last update or render) first: the new page may not read the
    // keyboard, and a key held now would never be released.
    if (page != pageSeen || settingsSection != sectionSeen) {
        pageSeen = page;
        sectionSeen = settingsSection;
        releaseHeldNotes(app->piano, app->sound);
        silenceSound(app->sound);
    }
    const bool reading = readsMidiInput(page, settingsSection);
    int32_t code = StayInState;
    switch (page) {
    case MainMenuPage:
        code = updateMainPage(*this);
        break;
    case SettingsPage:
        code = updateSettingsPage(*this, dt);
        break;
    case SongBrowserPage:
        code = updateSongBrowser(*this);
        break;
    case TrackSetupPage:
        code = updateTrackSetup(*this);
        break;
    case ImportPage:
        code = updateImportPage(*this, dt);
        break;
    default:
        break;
    }
    // Unread, the input's queue would fill, and its notes would all sound once a reader returns.
    if (!reading) drainMidiInput(*app);
    return code;
}

void MenuState::render() {
    switch (page) {
    case MainMenuPage:
        renderMainPage(*this);
        break;
    case SettingsPage:
        renderSettingsPage(*this);
        break;
    case SongBrowserPage:
        renderSongBrowser(*this);
        break;
    case TrackSetupPage:
        renderTrackSetup(*this);
        break;
    case ImportPage:
        renderImportPage(*this);
        break;
    default:
        break;
    }
}

bool MenuState::animating() const {
    return testRunning || scanning || loading || importRunning;
}
