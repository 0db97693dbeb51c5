// Cadenzio's entry: with arguments it only hands them to the converter; without, the game.
#include <memory>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "game/game_state.h"
#include "menu/menu_state.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/signals.h"
#include "platform/user_folders.h"
#include "platform/window.h"
#include "shell/file_import.h"
#include "shell/launcher.h"
#include "shell/main_loop.h"
#include "shell/startup.h"

namespace {

std::unique_ptr<State> makeState(AppContext& app, int32_t code) {
    int width = 0, height = 0;
    renderSize(width, height);
    if (code == GoToMenu) return std::make_unique<MenuState>(app, width, height);
    if (code == GoToGame)
        return std::make_unique<GameState>(app, uint32_t(width), uint32_t(height));
    return nullptr;
}

int runGame(const UserFolders& folders) {
    catchTerminationSignals();
    Overlay overlay;
    ApplicationStart start = beginApplication(folders);
    // The MIDI clients' start keeps standard error quiet meanwhile: a failure is told after it.
    std::string failure;
    if (!startWindowAndDevices(overlay.cursor, folders, &failure)) {
        abandonApplication(start);
        showErrorMessage(failure.c_str());
        return 1;
    }
    AppContext* app = finishApplication(start);
    startSoundOutputs(*app);
    overlay.app = app;
    overlay.debug.fancyGraphics = app->play.fancyGraphics; // as the preferences left it

    const StateFactory factory = [app](int32_t code) { return makeState(*app, code); };
    StateMachine machine;
    if (startStates(machine, factory, GoToMenu)) runMainLoop(machine, factory, overlay);
    // Closing the window ends the loop with a state still current; leave it so that whatever
    // it runs in the background stops before the devices go.
    endStates(machine);

    overlay.app = nullptr;
    stopSoundOutputs(*app);
    stopApplication(app);
    stopWindowAndDevices();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string directory = executableDirectory();
    const UserFolders folders = findUserFolders(directory);
    if (folders.installed) makeUserFolders(folders);
    // Opened from a file manager: the files are imported first, then the game starts.
    if (argc >= 2 && std::string(argv[1]) == importOption) {
        int code = importOpenedFiles(directory, folders, {argv + 2, argv + argc});
        if (code != 0) showErrorMessage(launchErrorMessage(code).c_str());
        return runGame(folders);
    }
    if (argc >= 2) {
        std::vector<std::string> arguments(argv + 1, argv + argc);
        int code = launchConverter(directory, arguments, folders.data);
        if (code != 0) showErrorMessage(launchErrorMessage(code).c_str());
        return 0;
    }
    return runGame(folders);
}
