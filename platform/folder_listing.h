#pragma once
// Listing the entries of one folder, in the order the system gives them. Links are never
// followed into folders, so whoever walks a tree with this stays inside it.
#include <string>
#include <vector>

enum class EntryKind {
    File,   // a regular file, or a link to one
    Folder, // a real folder, never a link to one
    Other,  // links to folders, broken links, pipes, sockets, devices
};

struct FolderEntry {
    std::string name; // the bytes the system gave, whatever their encoding
    EntryKind kind = EntryKind::Other;
};

// The entries of the folder at path, without "." and "..". False, with entries empty, when the
// folder cannot be opened; with refuseLink, also when path itself is a link. An entry whose kind
// cannot be found out is Other; an error part-way ends the listing with what was read.
bool listFolder(const std::string& path, std::vector<FolderEntry>& entries,
                bool refuseLink = false);
