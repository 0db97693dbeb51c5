// Stands in for the main menu, the settings page, the import and the latency test until their
// own files arrive: the merge that brings them deletes this file.
#include "app/app_context.h"
#include "menu/menu_state.h"
#include "platform/input.h"

int32_t updateMainPage(MenuState& menu) {
    if (menu.pageEntered) {
        menu.pageEntered = false;
        menu.currentFolder = menu.app->songFolders.get();
        menu.app->transposition = 0;
    }
    if (keyPressed(input, ScanEscape) || menu.quitRequested) return QuitProgram;
    if (keyPressed(input, ScanP)) {
        menu.importMode = false;
        menu.goToPage(SongBrowserPage);
    }
    return StayInState;
}
void renderMainPage(MenuState&) {}

int32_t updateSettingsPage(MenuState& menu, float) {
    if (keyPressed(input, ScanEscape)) menu.goToPage(MainMenuPage);
    return StayInState;
}
void renderSettingsPage(MenuState&) {}

void updateLatencyTest(MenuState&, float) {}

void importSong(MenuState& menu, const FolderNode&) {
    menu.goToPage(MainMenuPage);
}
