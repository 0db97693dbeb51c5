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
#include "sound/simple_synth.h"
#include "sound/sound_state.h"
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

// Where the reason goes: shown to the user, or kept for the caller to show.
std::string* failureReason = nullptr;

bool failStart(const std::string& reason) {
    releaseFrom(reached);
    const std::string message = "Cadenzio cannot start: " + reason;
    if (failureReason != nullptr)
        *failureReason = message;
    else
        showErrorMessage(message.c_str());
    return false;
}

// The keyboard view laid out for the render size, and the note drawer the preferences chose.
void startViews(AppContext& app) {
    int width = 0, height = 0;
    renderSize(width, height);
    app.keyboardView = new KeyboardView();
    initialiseKeyboardView(*app.keyboardView, static_cast<uint32_t>(width),
                           static_cast<uint32_t>(height));
    switchNoteDrawer(app, app.play.fancyGraphics);
}
void stopViews(AppContext& app) {
    delete app.noteSprite;
    app.noteSprite = nullptr;
    delete app.keyboardView;
    app.keyboardView = nullptr;
}

} // namespace

bool startWindowAndDevices(Sprite& cursor, const UserFolders& folders, std::string* failure) {
    failureReason = failure;
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

ApplicationStart beginApplication(const UserFolders& folders) {
    ApplicationStart start;
    start.app = new AppContext();
    start.app->folders = folders;
    SoundState& sound = start.app->sound;
    start.sound = std::thread([&sound, config = folders.config] {
        loadSettings(sound, fileIn(config, settingsFileName));
        startMidiDevices(sound);
        // The Simple Synth plays when no output port opened; its voices take a while to make.
        if (sound.outputPort == -1 && !synthBankBuilt(sound.synthVoices))
            buildSynthBank(sound.synthVoices);
    });
    return start;
}

AppContext* finishApplication(ApplicationStart& start) {
    start.sound.join();
    AppContext* app = start.app;
    start.app = nullptr;
    loadAtlas();
    app->palette = defaultPalette();
    app->songFolders = makeSongFolderTree(app->folders.songs, importedSongsFolder(app->folders));
    loadPreferences(*app, fileIn(app->folders.config, preferencesFileName));
    loadKeyValueFile(app->history, fileIn(app->folders.data, historyFileName));
    startViews(*app);
    if (app->play.fullscreen != windowFullscreen()) toggleFullscreen();
    return app;
}

void abandonApplication(ApplicationStart& start) {
    start.sound.join();
    soundShutdown(start.app->sound);
    stopMidiDevices(start.app->sound);
    delete start.app;
    start.app = nullptr;
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
