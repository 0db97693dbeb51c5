#include "menu/library_scan.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "app/app_context.h"
#include "menu/menu_pages.h"
#include "menu/name_order.h"
#include "platform/folder_listing.h"

namespace {

struct Scan {
    std::mutex& lock;
    const std::atomic<bool>& keepScanning;
};

std::unique_ptr<FolderNode> makeNode(const std::string& path, int32_t kind, FolderNode& parent) {
    auto node = std::make_unique<FolderNode>();
    node->path = path;
    node->kind = kind;
    node->parent = &parent;
    return node;
}

// Appends node to folder, taking the lock when folder can be seen by the browser.
void attach(FolderNode& folder, std::unique_ptr<FolderNode> node, bool shown, Scan& scan) {
    std::unique_lock<std::mutex> lock(scan.lock, std::defer_lock);
    if (shown) lock.lock();
    folder.songCount += node->kind == FolderNode::Folder ? node->songCount : 1;
    folder.children.push_back(std::move(node));
}

// path is folder's path, read by the caller. A shown folder is one the browser can reach.
void scanFolder(FolderNode& folder, const std::string& path, bool shown, bool top, Scan& scan) {
    std::vector<FolderEntry> entries;
    // A top folder may be a link the user chose; below it no link is entered.
    if (!listFolder(path, entries, !top)) return;
    // Folders first, then the rest, each in reading order; nodes are attached in this order.
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        const bool folderA = a.kind == EntryKind::Folder, folderB = b.kind == EntryKind::Folder;
        if (folderA != folderB) return folderA;
        return nameBefore(a.name, b.name);
    });
    for (const FolderEntry& entry : entries) {
        if (!scan.keepScanning) return;
        const std::string entryPath = path + "/" + entry.name;
        // A folder is entered whatever its name holds ("Vol.2", "my.music").
        if (entry.kind == EntryKind::Folder) {
            auto sub = makeNode(entryPath, FolderNode::Folder, folder);
            scanFolder(*sub, entryPath, false, false, scan);
            if (sub->songCount > 0) attach(folder, std::move(sub), shown, scan);
        } else if (entry.kind == EntryKind::File) {
            const int32_t kind = songKindOf(entryPath);
            if (kind > FolderNode::Folder)
                attach(folder, makeNode(entryPath, kind, folder), shown, scan);
        }
    }
}

} // namespace

int32_t songKindOf(const std::string& path) {
    // Only the entry's own name has an extension; the folders above it may hold dots anywhere.
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return FolderNode::Folder;
    std::string extension = path.substr(dot);
    for (char& c : extension)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (extension == ".MID" || extension == ".MIDI") return FolderNode::MidiFile;
    if (extension == ".FFF") return FolderNode::SongFile;
    return -1;
}

bool scanLibrary(FolderNode& root, std::mutex& folderLock, const std::atomic<bool>& keepScanning) {
    Scan scan{folderLock, keepScanning};
    // The top folders themselves are fixed while a scan runs; only their paths may change.
    for (const std::unique_ptr<FolderNode>& top : root.children) {
        if (!keepScanning) return false;
        std::string path;
        {
            std::lock_guard<std::mutex> lock(folderLock);
            path = top->path;
        }
        scanFolder(*top, path, true, true, scan);
    }
    return keepScanning;
}

void emptyLibrary(FolderNode& root, std::mutex& folderLock) {
    std::vector<std::unique_ptr<FolderNode>> freed;
    {
        std::lock_guard<std::mutex> lock(folderLock);
        for (const std::unique_ptr<FolderNode>& top : root.children) {
            for (std::unique_ptr<FolderNode>& child : top->children)
                freed.push_back(std::move(child));
            top->children.clear();
            top->songCount = 0;
        }
    }
}

void forgetLibrary(MenuPages& menu) {
    AppContext& app = *menu.app;
    menu.stopLibraryScan();
    emptyLibrary(*app.songFolders, app.folderLock);
    menu.currentNode = app.songFolders.get();
    menu.hoveredNode = nullptr;
}

std::string entryName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void MenuPages::stopLibraryScan() {
    if (!scanThread.joinable()) return;
    keepScanning = false;
    scanThread.join();
    if (!scanFinished && app) app->folderScan = false;
}
