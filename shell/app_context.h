#pragma once
// The one application object: everything that must outlive a state lives here.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "render/colour.h"
#include "songs/song.h"
#include "sound/device_records.h"

class RtMidiIn;
class RtMidiOut;
class KeyboardView;
class NoteSprite;

// A node of the song browser's tree: a folder, a MIDI file or a song file.
struct FolderNode {
    enum Kind : int32_t { Folder = 0, MidiFile = 1, SongFile = 2 };
    int32_t songCount = 0;
    std::string path;
    int32_t kind = Folder;
    FolderNode* parent = nullptr;
    std::vector<std::unique_ptr<FolderNode>> children;
};

struct AppContext {
    RtMidiIn* midiIn = nullptr;   // owned; created and destroyed by the MIDI device start-up
    RtMidiOut* midiOut = nullptr; // owned
    int32_t inputPort = -1;       // open MIDI input port, -1 when none
    int32_t outputPort = -1;      // open MIDI output port, -1 when none (the Simple Synth)
    float latency = 0.05f;        // seconds
    int32_t playMode = 0;         // 0 left hand, 1 right hand, 2 both hands, 3 watch and listen
    std::array<Colour, 12> palette{};
    float keyboardTopY = 0;
    KeyboardView* keyboardView = nullptr; // owned
    NoteSprite* noteSprite = nullptr;     // owned
    int8_t transposition = 0;
    uint8_t selectedInputDevice = 0;
    uint8_t selectedOutputDevice = 0;
    std::vector<InputDeviceRecord> inputDevices;
    std::vector<OutputDeviceRecord> outputDevices;
    bool folderScan = false;
    std::unique_ptr<FolderNode> songFolders;
    std::mutex songLock;
    Song song;
    int32_t frameCounter = 0;
    float rateAccumulator = 0;
    float frameRate = 0;
};

// The application object: created by the application start-up, read by every state and view.
extern AppContext* application;

// The twelve track and note colours: entry c (1 to 5) for a track's colour index, 6 + c its
// darker companion, 0 the neutral colour.
void fillPalette(AppContext& app);
// The song browser's tree at start: "../" with the children "./Songs" and "./Imported Songs".
void buildSongFolderTree(AppContext& app);
