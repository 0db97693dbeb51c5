#pragma once
// The MIDI library's clients: starting them on a back end that works, and listing their ports.
#include <rtmidi/RtMidi.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "sound/played_notes.h"

struct SoundState;

// Input messages on their way from the library's input thread to the main thread's polls: a
// fixed ring, so that a flood neither grows memory nor blocks the library's thread. It takes over
// from the library's own queue, which complains on standard error for every message past its
// limit.
struct MidiInputQueue {
    static constexpr uint32_t capacity = 1024;
    struct Entry {
        uint8_t size = 0;
        uint8_t bytes[3] = {};
        SoundedWith with; // what the input's thread sounded it with
    };
    Entry entries[capacity];
    std::atomic<uint32_t> readCount{0};  // advanced by the main thread
    std::atomic<uint32_t> writeCount{0}; // advanced by the input thread
};

// A port the program offers: the library's port number and the port's device name.
struct PortEntry {
    unsigned index = 0;
    std::string device;
};

// A client's port list as last asked of the library. Asking is costly (a round of queries to the
// MIDI server for every port), so the list is asked again only once it is a second old, or when
// the program opened or closed a port of its own, which renumbers the library's ports.
struct PortListCache {
    std::vector<PortEntry> ports;
    std::chrono::steady_clock::time_point takenAt;
    uint32_t generation = 0; // of the program's own opens and closes; 0: never taken
    uint32_t changes = 0;    // how often a fresh list differed from the one before
};

// The program's two clients of the MIDI library; above sound/ they are opaque. The queue is the
// input client's first base, so it outlives the library's input thread, which the library's own
// destructor stops.
struct MidiInClient : MidiInputQueue, RtMidiIn {
    using RtMidiIn::RtMidiIn;
    PortListCache portList;
    // Where the input's thread sounds the player's notes before it queues them; null: messages
    // are queued as they come.
    std::atomic<SoundState*> sound{nullptr};
    std::vector<uint8_t> arriving = std::vector<uint8_t>(3); // the input thread's own buffer
};
struct MidiOutClient : RtMidiOut {
    using RtMidiOut::RtMidiOut;
    PortListCache portList;
};

// Tries the compiled back ends in the library's order and keeps the first that starts and offers
// a port, else the first that starts. Null when none starts; a null client has no ports. The
// library's own complaints while trying are kept off standard error, and its later errors are
// reported through results rather than exceptions.
MidiInClient* startMidiIn(const char* clientName);
MidiOutClient* startMidiOut(const char* clientName);

// The library's ports less those that would loop the program's own notes back to it, in the
// library's order: at most a second old (see PortListCache). Main thread only.
const std::vector<PortEntry>& listInputPorts(MidiInClient* client);
const std::vector<PortEntry>& listOutputPorts(MidiOutClient* client);

// Opens the library's port index on the client; false (and no port open) when the library fails.
bool openLibraryPort(MidiInClient* client, unsigned index, const char* portName);
bool openLibraryPort(MidiOutClient* client, unsigned index, const char* portName);
// Closes the client's port if one is open.
void closeLibraryPort(MidiInClient* client);
void closeLibraryPort(MidiOutClient* client);
bool libraryPortOpen(MidiInClient* client);
bool libraryPortOpen(MidiOutClient* client);

// Sends a message on the client's open port; nothing without a client or an open port, and a
// device that went away mid-note loses the note without an error.
void sendLibraryMessage(MidiOutClient* client, const std::vector<uint8_t>& message);

// What the input thread does with each message once sounded: queues it, or drops it when the
// queue is full (said once on standard error, like each kind of the library's own errors).
// Messages longer than three bytes carry no note and are dropped.
void queueInputMessage(MidiInputQueue& queue, const std::vector<uint8_t>& message,
                       SoundedWith with = {});
// The main thread's side: the oldest queued message, false (message emptied) when there is none.
bool takeQueuedMessage(MidiInputQueue& queue, std::vector<uint8_t>& message,
                       SoundedWith* with = nullptr);
