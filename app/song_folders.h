#pragma once
// The song browser's tree: folders, MIDI files and song files below the song folders.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct FolderNode {
    enum Kind : int32_t { Folder = 0, MidiFile = 1, SongFile = 2 };
    int32_t songCount = 0; // folders: song files in it and below
    std::string path;
    int32_t kind = Folder;
    FolderNode* parent = nullptr;
    std::vector<std::unique_ptr<FolderNode>> children;
};

// The tree at start: "../" with the top folders, by default "./Songs" and "./Imported Songs".
std::unique_ptr<FolderNode>
makeSongFolderTree(const std::string& songs = "./Songs",
                   const std::string& importedSongs = "./Imported Songs");
