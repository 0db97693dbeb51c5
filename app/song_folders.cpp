#include "app/song_folders.h"

std::unique_ptr<FolderNode> makeSongFolderTree(const std::string& songs,
                                               const std::string& importedSongs) {
    auto root = std::make_unique<FolderNode>();
    root->path = "../";
    for (const std::string* path : {&songs, &importedSongs}) {
        auto child = std::make_unique<FolderNode>();
        child->path = *path;
        child->parent = root.get();
        root->children.push_back(std::move(child));
    }
    return root;
}
