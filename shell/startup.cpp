#include "shell/startup.h"

#include <string>

#include "app/app_context.h"
#include "app/practice_history.h"
#include "app/preferences.h"
#include "game/debug_menu.h"
#include "game/keyboard_view.h"
#include "game/note_input.h"
#include "game/note_sprite.h"
#include "platform/input.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "render/shapes.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/texture_registry.h"
#include "render/ui_binding.h"
#include "sound/midi_devices.h"
#include "sound/settings_file.h"
#include "sound/sound_output.h"

Sprite cursor;

namespace {

// How far the device start-up got, so a failure releases exactly what exists.
enum Stage { None, Window, Input, Shapes, Sprites, Textures, Ui, Text };
Stage reached = None;

void releaseFrom(Stage stage) {
    if (stage >= Text) releaseTextRenderer();
    if (stage >= Ui) releaseUiBinding();
    if (stage >= Textures) releaseTextureRegistry();
    if (stage >= Sprites) releaseSpritePass();
    if (stage >= Shapes) releaseShapeRenderer();
    if (stage >= Input) releaseInput();
    if (stage >= Window) destroyWindow();
    reached = None;
}

bool failStart(const std::string& reason) {
    releaseFrom(reached);
    showErrorMessage(("Cadenzio cannot start: " + reason).c_str());
    return false;
}

// The keyboard view laid out for the render size, and the textured note drawer.
void startViews(AppContext& app) {
    int width = 0, height = 0;
    renderSize(width, height);
    app.keyboardView = new KeyboardView();
    initialiseKeyboardView(*app.keyboardView, app, static_cast<uint32_t>(width),
                           static_cast<uint32_t>(height));
    app.noteSprite = new FancyNoteSprite();
    app.noteSprite->loadTextures();
}
void stopViews(AppContext& app) {
    delete app.noteSprite;
    app.noteSprite = nullptr;
    delete app.keyboardView;
    app.keyboardView = nullptr;
}

} // namespace

bool startWindowAndDevices(const UserFolders& folders) {
    if (!createWindow("Cadenzio", 1920, 1080)) return failStart(windowError());
    reached = Window;
    createInput();
    reached = Input;
    if (!createShapeRenderer()) return failStart("the line renderer could not be created");
    reached = Shapes;
    if (!createSpritePass()) return failStart("the sprite renderer could not be created");
    reached = Sprites;
    createTextureRegistry(folders.textures.c_str());
    reached = Textures;
    int width = 0, height = 0;
    renderSize(width, height); // the UI lays out in the frame, like the states
    // Both keep what they made when they fail, so they are released like complete ones.
    bool uiMade = createUiBinding(width, height, fileIn(folders.config, uiIniFileName));
    reached = Ui;
    if (!uiMade) return failStart("the UI could not be set up");
    bool textMade = createTextRenderer("Consolas");
    reached = Text;
    if (!textMade) return failStart("no font for the text was found");
    loadSprite(cursor, "cursor.png");
    return true;
}

void stopWindowAndDevices() {
    releaseFrom(reached);
}

void startApplication(const UserFolders& folders) {
    application = new AppContext();
    application->folders = folders;
    loadAtlas();
    loadSettings(application->sound, fileIn(folders.config, settingsFileName));
    startMidiDevices(application->sound);
    application->palette = defaultPalette();
    startViews(*application);
    application->songFolders = makeSongFolderTree(folders.songs, importedSongsFolder(folders));
    loadPreferences(*application, fileIn(folders.config, preferencesFileName));
    loadKeyValueFile(application->history, fileIn(folders.data, historyFileName));
    const PlayPreferences& play = application->play;
    if (!play.fancyGraphics) {
        debugFlags.fancyGraphics = false;
        switchNoteDrawer(*application, false);
    }
    if (play.fullscreen != windowFullscreen()) toggleFullscreen();
}

void stopApplication() {
    if (!application) return;
    // Skipped by saveSettings itself when the existing file could not be read.
    saveSettings(application->sound, fileIn(application->folders.config, settingsFileName));
    application->play.fullscreen = windowFullscreen();
    savePreferences(*application);
    saveKeyValueFile(application->history);
    stopViews(*application);
    stopMidiDevices(application->sound);
    delete application;
    application = nullptr;
}

void startSoundOutputs() {
    soundStartup(application->sound, setUpNoteInput);
}
void stopSoundOutputs() {
    soundShutdown(application->sound);
}
