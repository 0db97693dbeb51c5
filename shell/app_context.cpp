#include "shell/app_context.h"

AppContext* application = nullptr;

void fillPalette(AppContext& app) {
    app.palette = {{
        {0.95f, 0.95f, 0.95f, 1},
        {0.66f, 0.91f, 0.42f, 1},
        {0.58f, 0.72f, 0.86f, 1},
        {0.93f, 0.90f, 0.44f, 1},
        {0.98f, 0.48f, 0.53f, 1},
        {0.76f, 0.59f, 0.77f, 1},
        {0.5f, 0.5f, 0.5f, 1},
        {0.43f, 0.64f, 0.17f, 1},
        {0.28f, 0.46f, 0.67f, 1},
        {0.85f, 0.78f, 0.13f, 1},
        {0.90f, 0.51f, 0.24f, 1},
        {0.49f, 0.40f, 0.51f, 1},
    }};
}

void buildSongFolderTree(AppContext& app) {
    auto root = std::make_unique<FolderNode>();
    root->path = "../";
    for (const char* path : {"./Songs", "./Imported Songs"}) {
        auto child = std::make_unique<FolderNode>();
        child->path = path;
        child->parent = root.get();
        root->children.push_back(std::move(child));
    }
    app.songFolders = std::move(root);
}
