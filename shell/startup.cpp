#include "shell/startup.h"

#include <string>

#include "app/app_context.h"
#include "app/practice_history.h"
#include "app/preferences.h"
#include "game/note_sprite.h"
#include "piano/keyboard_view.h"
#include "platform/input.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "render/shapes.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/texture_registry.h"
#include "render/ui_binding.h"
#include "shell/debug_menu.h"
#include "sound/midi_devices.h"
#include "sound/settings_file.h"
#include "sound/sound_system.h"

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
    initialiseKeyboardView(*app.keyboardView, static_cast<uint32_t>(width),
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

bool startWindowAndDevices(Sprite& cursor, const UserFolders& folders) {
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

AppContext* startApplication(const UserFolders& folders) {
    AppContext* app = new AppContext();
    app->folders = folders;
    loadAtlas();
    loadSettings(app->sound, fileIn(folders.config, settingsFileName));
    startMidiDevices(app->sound);
    app->palette = defaultPalette();
    startViews(*app);
    app->songFolders = makeSongFolderTree(folders.songs, importedSongsFolder(folders));
    loadPreferences(*app, fileIn(folders.config, preferencesFileName));
    loadKeyValueFile(app->history, fileIn(folders.data, historyFileName));
    if (!app->play.fancyGraphics) switchNoteDrawer(*app, false);
    if (app->play.fullscreen != windowFullscreen()) toggleFullscreen();
    return app;
}

void stopApplication(AppContext*& app) {
    if (!app) return;
    // Skipped by saveSettings itself when the existing file could not be read.
    saveSettings(app->sound, fileIn(app->folders.config, settingsFileName));
    app->play.fullscreen = windowFullscreen();
    savePreferences(*app);
    saveKeyValueFile(app->history);
    stopViews(*app);
    stopMidiDevices(app->sound);
    delete app;
    app = nullptr;
}

void startSoundOutputs(AppContext& app) {
    soundStartup(app.sound);
}
void stopSoundOutputs(AppContext& app) {
    soundShutdown(app.sound);
}
