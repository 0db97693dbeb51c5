#include "app/song_folders.h"

std::unique_ptr<FolderNode> makeSongFolderTree() {
    auto root = std::make_unique<FolderNode>();
    root->path = "../";
    for (const char* path : {"./Songs", "./Imported Songs"}) {
        auto child = std::make_unique<FolderNode>();
        child->path = path;
        child->parent = root.get();
        root->children.push_back(std::move(child));
    }
    return root;
}
