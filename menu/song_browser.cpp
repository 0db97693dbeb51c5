// The song browser: the library's folders and song files as rows, walked with the mouse.
#include <functional>
#include <mutex>
#include <string>

#include "app/app_context.h"
#include "app/state.h"
#include "menu/library_scan.h"
#include "menu/menu_colours.h"
#include "menu/menu_pages.h"
#include "platform/input.h"
#include "render/text.h"

namespace {

constexpr int32_t rowHeight = 48;
constexpr Colour lightRow{0.75f, 0.75f, 0.75f, 1}, darkRow{0.5f, 0.5f, 0.5f, 1};
constexpr Colour songCountColour{0.75f, 0.75f, 0.75f, 1};

// Rows in content coordinates (window y + scroll): the "../" row spans 104 to 152, and each
// entry's row from its top t - 8 to t + 40.
constexpr int32_t firstRowTop = 112, parentRowTop = 104, parentRowBottom = 152;

bool isFile(const FolderNode& node) {
    return node.kind == FolderNode::MidiFile || node.kind == FolderNode::SongFile;
}

// Discards what an earlier scan read and reads the library anew on the scan thread. An earlier
// scan of this menu is stopped first: its result is thrown away anyway.
void startLibraryScan(MenuPages& menu) {
    AppContext& app = *menu.app;
    forgetLibrary(menu);
    app.folderScan = true;
    menu.keepScanning = true;
    menu.scanning = true;
    menu.scanFinished = false;
    menu.scanThread = std::thread([&menu, &app] {
        menu.scanFinished = scanLibrary(*app.songFolders, app.folderLock, menu.keepScanning);
        menu.scanning = false;
    });
}

// The content y just below the folder's last row.
int32_t rowsEnd(const FolderNode& folder) {
    const size_t rows = folder.children.size() + (folder.parent ? 1 : 0);
    return firstRowTop + rowHeight * int32_t(rows);
}

// The row under the point, the later one where two rows share an edge; nullptr for none. Call
// with the folder lock held.
FolderNode* rowAt(const MenuPages& menu, int32_t x, int32_t y) {
    const FolderNode& folder = *menu.currentNode;
    if (x < 0 || x > menu.width) return nullptr;
    FolderNode* found = nullptr;
    int32_t top = firstRowTop;
    if (folder.parent) {
        if (y >= parentRowTop && y <= parentRowBottom) found = folder.parent;
        top += rowHeight;
    }
    for (const std::unique_ptr<FolderNode>& child : folder.children) {
        if (y >= top - 8 && y <= top + 40) found = child.get();
        top += rowHeight;
    }
    return found;
}

} // namespace

int32_t updateSongBrowser(MenuPages& menu) {
    AppContext& app = *menu.app;
    if (menu.pageEntered) {
        menu.pageEntered = false;
        menu.scroll = 0;
        // Back from the track setup page: reopen the chosen file's folder.
        if (menu.currentNode && isFile(*menu.currentNode) && menu.currentNode->parent)
            menu.currentNode = menu.currentNode->parent;
    }
    if (!app.folderScan) startLibraryScan(menu);
    if (!menu.currentNode) menu.currentNode = app.songFolders.get();

    const bool click = mouseButtonPressed(input, 0);
    int32_t end = 0;
    {
        std::lock_guard<std::mutex> lock(app.folderLock);
        FolderNode* row = rowAt(menu, input.cursorX, input.cursorY + menu.scroll);
        menu.hoveredNode = nullptr;
        if (row && click) {
            menu.currentNode = row;
            menu.scroll = 0;
        } else {
            menu.hoveredNode = row;
        }
        end = rowsEnd(*menu.currentNode);
    }

    // Attached nodes keep their fields, so the chosen file is read without the lock.
    if (isFile(*menu.currentNode)) {
        if (menu.importMode && menu.currentNode->kind == FolderNode::MidiFile)
            importSong(menu, *menu.currentNode);
        else
            menu.goToPage(TrackSetupPage);
        return StayInState;
    }

    menu.scrollByWheel(input.mouse.wheel, end);

    if (keyPressed(input, ScanEscape)) menu.goToPage(MainMenuPage);
    return StayInState;
}

void renderSongBrowser(MenuPages& menu) {
    AppContext& app = *menu.app;
    if (!menu.currentNode) return;
    std::lock_guard<std::mutex> lock(app.folderLock);
    const FolderNode& folder = *menu.currentNode;
    const float textSize = float(menu.textSize);
    const float top = float(64 - menu.scroll);
    drawText(("Current Directory: " + folder.path).c_str(), 40, top, textSize, plainTextColour);

    float y = top + rowHeight;
    bool shade = false;
    // Rows off the window are skipped, so a folder of thousands costs only what shows.
    auto shown = [&] { return y + 40 >= 0 && y - 8 <= float(menu.height); };
    auto drawRow = [&](const Sprite& icon) {
        Sprite background = menu.rowBackground;
        background.colour = shade ? darkRow : lightRow;
        background.x = 0;
        background.y = y - 8;
        drawSprite(background);
        shade = !shade;
        Sprite placed = icon;
        placed.x = 0;
        placed.y = y;
        drawSprite(placed);
    };
    if (folder.parent) {
        drawRow(menu.folderIcon);
        const bool hovered = menu.hoveredNode == folder.parent;
        drawText("../", 40, y, textSize, hovered ? hoveredTextColour : plainTextColour);
        y += rowHeight;
    }
    for (const std::unique_ptr<FolderNode>& child : folder.children) {
        if (!shown()) {
            shade = !shade;
            y += rowHeight;
            continue;
        }
        if (isFile(*child)) {
            drawRow(menu.fileIcon);
        } else {
            drawRow(menu.folderIcon);
            drawText(std::to_string(child->songCount).c_str(), 1750 * menu.scaleX, y + 8, textSize,
                     songCountColour);
        }
        const bool hovered = menu.hoveredNode == child.get();
        drawText(entryName(child->path).c_str(), 40, y, textSize,
                 hovered ? hoveredTextColour : plainTextColour);
        y += rowHeight;
    }
}
