#pragma once
// Reading the song folders into the song folder tree, on the scan thread, while the main thread
// browses the tree. Every change of an attached node happens under the folder lock, and the main
// thread reads the tree under it too. A sub-folder is built aside and attached only once it is
// complete and holds songs, so a node the browser can reach is never changed again (except the
// top folders, which grow) and never freed while a scan runs.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "app/song_folders.h"

// FolderNode::MidiFile for ".MID" and ".MIDI", SongFile for ".FFF", in any case; Folder for a
// path without extension; -1 for any other extension. The extension is the text from the last
// "." of the path's last component; dots in the folders above do not count.
int32_t songKindOf(const std::string& path);

// Scans each top folder below root, in order: the sub-folders that hold songs, then the song
// files, each in name order (name_order.h), are appended with their song counts. Links to folders
// are not followed and what cannot be listed is left out. Stops soon after keepScanning turns
// false, keeping what it attached; false when it was stopped before the end. A top folder's path is
// read under the lock, so the main thread changes one only while holding it.
bool scanLibrary(FolderNode& root, std::mutex& folderLock, const std::atomic<bool>& keepScanning);

struct MenuPages;
// Stops the menu's running library scan and empties the library, with nothing left pointing
// into it.
void forgetLibrary(MenuPages& menu);
// The last component of a path: what the browser shows of an entry.
std::string entryName(const std::string& path);

// Frees every node below the top folders and sets their song counts to 0. No scan may be
// running, and nothing may keep pointers to the freed nodes.
void emptyLibrary(FolderNode& root, std::mutex& folderLock);
