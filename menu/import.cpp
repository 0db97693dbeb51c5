// The import of a MIDI file of the library: notepress converts it into "Imported Songs", where the
// next scan finds it. The menu keeps its frames meanwhile, on a page of its own.
#include <cmath>
#include <cstring>
#include <string>

#include "app/app_context.h"
#include "app/state.h"
#include "menu/library_scan.h"
#include "menu/menu_colours.h"
#include "menu/menu_pages.h"
#include "platform/input.h"
#include "platform/process.h"
#include "platform/user_folders.h"
#include "render/text.h"

namespace {

// The first line that holds anything of what notepress wrote, errors first.
std::string firstLine(const ProcessResult& result) {
    for (const std::string* text : {&result.errorOutput, &result.output}) {
        size_t start = 0;
        while (start < text->size()) {
            size_t end = text->find('\n', start);
            if (end == std::string::npos) end = text->size();
            const std::string line = text->substr(start, end - start);
            if (line.find_first_not_of(" \t\r") != std::string::npos) return line;
            start = end + 1;
        }
    }
    return "";
}

// The library goes, whatever notepress did: the next visit to the browser reads it anew.
void emptyForRescan(MenuPages& menu) {
    // The file's node goes with the library: nothing may point into it afterwards.
    forgetLibrary(menu);
    menu.app->folderScan = false;
}

void importEnded(MenuPages& menu) {
    menu.importRunning = false;
    emptyForRescan(menu);
    const ProcessResult& result = menu.importProcess.result;
    if (result.error == 0 && result.exitStatus == 0) {
        menu.goToPage(MainMenuPage);
        return;
    }
    menu.importProblem = firstLine(result);
    if (menu.importProblem.empty())
        menu.importProblem = result.error != 0 ? "notepress could not be started: " +
                                                     std::string(std::strerror(result.error))
                                               : "notepress ended without a song file";
}

} // namespace

void importSong(MenuPages& menu, const FolderNode& file) {
    AppContext& app = *menu.app;
    // Started directly with the path as its one argument: no shell reads the name, so nothing
    // in it can run a command, and no command line has a length to overflow.
    // Installed, it writes into the user's data folder; the path then must not depend on ours.
    ProcessRequest request =
        converterRequest(programBeside("notepress"), {file.path}, app.folders.data);
    request.output.to = OutputTo::Capture;
    request.errors.to = OutputTo::Capture;
    menu.importName = entryName(file.path);
    menu.importSeconds = 0;
    menu.importProblem.clear();
    menu.goToPage(ImportPage);
    menu.importRunning = startProcess(request, menu.importProcess);
    if (!menu.importRunning) importEnded(menu);
}

int32_t updateImportPage(MenuPages& menu, float dt) {
    menu.pageEntered = false;
    if (menu.importRunning) {
        menu.importSeconds += dt;
        if (pollProcess(menu.importProcess)) importEnded(menu);
        return StayInState;
    }
    if (keyPressed(input, ScanEscape) || mouseButtonPressed(input, 0)) menu.goToPage(MainMenuPage);
    return StayInState;
}

void renderImportPage(MenuPages& menu) {
    const float size = float(menu.textSize);
    if (menu.importRunning || menu.importProblem.empty()) {
        drawText(("Importing " + menu.importName + "...").c_str(), 384, 300, size, plainTextColour);
        drawText((std::to_string(int(std::floor(menu.importSeconds))) + " s").c_str(), 384, 332,
                 size, plainTextColour);
        return;
    }
    drawText(("Could not import " + menu.importName).c_str(), 384, 300, size, plainTextColour);
    drawText(menu.importProblem.c_str(), 384, 332, size, plainTextColour);
    drawText("Click or press Escape to go back", 384, 396, size, plainTextColour);
}

void finishImport(MenuPages& menu) {
    if (!menu.importRunning) return;
    finishProcess(menu.importProcess);
    menu.importRunning = false;
}
