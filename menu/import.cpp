// The import of a MIDI file of the library: notepress converts it into "Imported Songs", where the
// next scan finds it.
#include <string>

#include "app/app_context.h"
#include "menu/library_scan.h"
#include "menu/menu_pages.h"
#include "platform/process.h"
#include "platform/user_folders.h"

void importSong(MenuPages& menu, const FolderNode& file) {
    AppContext& app = *menu.app;
    // Started directly with the path as its one argument: no shell reads the name, so nothing
    // in it can run a command, and no command line has a length to overflow. Notepress reports
    // its own failures; whatever it did, the library is read again.
    ProcessRequest request;
    request.program = programBeside("notepress");
    request.arguments = {file.path};
    // Installed, it writes into the user's data folder; the path then must not depend on ours.
    if (!app.folders.data.empty()) {
        request.arguments = absolutePaths(request.arguments);
        request.workingFolder = app.folders.data;
    }
    request.wait = true;
    runProcess(request);

    if (menu.scanThread.joinable()) menu.scanThread.join();
    // The file's node goes with the library: nothing may point into it afterwards.
    menu.currentFolder = app.songFolders.get();
    menu.hoveredNode = nullptr;
    emptyLibrary(*app.songFolders, app.folderLock);
    app.folderScan = false;
    menu.goToPage(MainMenuPage);
}
