#pragma once
// The MIDI library's clients: starting them on a back end that works, and listing their ports.
#include <string>
#include <vector>

class RtMidiIn;
class RtMidiOut;

// Tries the compiled back ends in the library's order and keeps the first that starts and offers
// a port, else the first that starts. Null when none starts; a null client has no ports. The
// library's own complaints while trying are kept off standard error, and its later errors are
// reported through results rather than exceptions.
RtMidiIn* startMidiIn(const char* clientName);
RtMidiOut* startMidiOut(const char* clientName);

// A port the program offers: the library's port number and the port's device name.
struct PortEntry {
    unsigned index = 0;
    std::string device;
};

// The library's ports less those that would loop the program's own notes back to it, in the
// library's order. Asked afresh at every call.
std::vector<PortEntry> listInputPorts(RtMidiIn* client);
std::vector<PortEntry> listOutputPorts(RtMidiOut* client);

// Opens the library's port index on the client; false (and no port open) when the library fails.
bool openLibraryPort(RtMidiIn* client, unsigned index, const char* portName);
bool openLibraryPort(RtMidiOut* client, unsigned index, const char* portName);
// Closes the client's port if one is open.
void closeLibraryPort(RtMidiIn* client);
void closeLibraryPort(RtMidiOut* client);
bool libraryPortOpen(RtMidiIn* client);
bool libraryPortOpen(RtMidiOut* client);
