#pragma once
// The one application object: everything that must outlive a state lives here.
#include <cstdint>
#include <memory>
#include <mutex>

#include "app/key_value_file.h"
#include "app/palette.h"
#include "app/piano_state.h"
#include "app/play_mode.h"
#include "app/play_preferences.h"
#include "app/song_folders.h"
#include "platform/user_folders.h"
#include "songs/song.h"
#include "sound/sound_state.h"

struct KeyboardView;
class NoteSprite;

struct AppContext {
    UserFolders folders;   // where the textures, songs and the user's files are
    SoundState sound;      // MIDI clients, open ports, devices and the sound output
    PianoState piano;      // held keys and key owners
    float latency = 0.05f; // seconds
    PlayMode playMode = PlayMode::PlayLeftHand;
    Palette palette{};
    KeyboardView* keyboardView = nullptr; // owned; made and freed by the start-up
    NoteSprite* noteSprite = nullptr;     // owned
    int8_t transposition = 0;             // semitones, in steps of 12
    bool folderScan = false;              // the song folders have been scanned (or are being)
    // A menu of the debug menu bar is open: written by the bar after each state's update, so the
    // play's drag check sees the previous frame's value.
    bool debugMenuOpen = false;
    std::unique_ptr<FolderNode> songFolders;
    // Taken by the scan thread to add to the song folder tree and to read a top folder's path,
    // and by the main thread to read the tree while a scan may run or to change it.
    std::mutex folderLock;
    // Taken by whoever rebuilds or reads the song's track list while a loader may run.
    std::mutex songLock;
    Song song;
    // The song's key in the preferences and the history (preferences.h); empty when none.
    std::string songKey;
    PlayPreferences play;
    KeyValueFile preferences; // "Preferences.txt"
    KeyValueFile history;     // "History.txt"
};
