#include "sound/midi_ports.h"

#include <fcntl.h>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <exception>

#include "sound/device_names.h"

namespace {

// Set by the library's error callback (which its input thread may call too); cleared before
// each call whose outcome matters.
std::atomic<bool> libraryFailed = false;

void noteLibraryError(RtMidiError::Type type, const std::string&, void*) {
    if (type != RtMidiError::DEBUG_WARNING) libraryFailed = true;
}

// The back ends print to standard error while failing to start (no ALSA sequencer, no JACK
// server); the program says it once, in its own words.
class QuietStandardError {
  public:
    QuietStandardError() {
        std::fflush(stderr);
        saved = dup(2);
        const int nothing = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved >= 0 && nothing >= 0) dup2(nothing, 2);
        if (nothing >= 0) close(nothing);
    }
    ~QuietStandardError() {
        std::fflush(stderr);
        if (saved >= 0) {
            dup2(saved, 2);
            close(saved);
        }
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

  private:
    int saved = -1;
};

RtMidiIn* construct(RtMidi::Api api, const char* name, RtMidiIn*) {
    return new RtMidiIn(api, name);
}
RtMidiOut* construct(RtMidi::Api api, const char* name, RtMidiOut*) {
    return new RtMidiOut(api, name);
}
size_t offered(RtMidiIn* client) {
    return listInputPorts(client).size();
}
size_t offered(RtMidiOut* client) {
    return listOutputPorts(client).size();
}

template <typename Client> Client* start(const char* clientName) {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    QuietStandardError quiet;
    Client* fallback = nullptr;
    for (RtMidi::Api api : apis) {
        if (api == RtMidi::RTMIDI_DUMMY) continue;
        Client* client = nullptr;
        try {
            client = construct(api, clientName, static_cast<Client*>(nullptr));
            client->setErrorCallback(noteLibraryError);
        } catch (const std::exception&) {
            delete client;
            continue;
        }
        // A JACK client without a server only warns; asking for its ports tells.
        libraryFailed = false;
        const size_t ports = offered(client);
        if (libraryFailed) {
            delete client;
            continue;
        }
        if (ports > 0) {
            delete fallback;
            return client;
        }
        if (fallback == nullptr)
            fallback = client;
        else
            delete client;
    }
    return fallback;
}

template <typename Client>
std::vector<PortEntry> list(Client* client, bool (*loopsBack)(std::string_view)) {
    std::vector<PortEntry> ports;
    if (client == nullptr) return ports;
    try {
        const unsigned count = client->getPortCount();
        for (unsigned i = 0; i < count; ++i) {
            const std::string name = client->getPortName(i);
            if (name.empty()) continue; // vanished between the count and the name
            std::string device = deviceNameOf(name);
            if (loopsBack(device)) continue;
            ports.push_back({i, std::move(device)});
        }
    } catch (const std::exception&) {
        // Keep what was listed before the library failed.
    }
    return ports;
}

template <typename Client> bool openPort(Client* client, unsigned index, const char* portName) {
    if (client == nullptr) return false;
    try {
        libraryFailed = false;
        client->openPort(index, portName);
        if (!libraryFailed && client->isPortOpen()) return true;
        if (client->isPortOpen()) client->closePort();
    } catch (const std::exception&) {
        try {
            if (client->isPortOpen()) client->closePort();
        } catch (const std::exception&) {
        }
    }
    return false;
}

template <typename Client> void closePort(Client* client) {
    if (client == nullptr) return;
    try {
        if (client->isPortOpen()) client->closePort();
    } catch (const std::exception&) {
    }
}

} // namespace

RtMidiIn* startMidiIn(const char* clientName) {
    return start<RtMidiIn>(clientName);
}
RtMidiOut* startMidiOut(const char* clientName) {
    return start<RtMidiOut>(clientName);
}

std::vector<PortEntry> listInputPorts(RtMidiIn* client) {
    return list(client, loopsBackToInput);
}
std::vector<PortEntry> listOutputPorts(RtMidiOut* client) {
    return list(client, loopsBackToOutput);
}

bool openLibraryPort(RtMidiIn* client, unsigned index, const char* portName) {
    return openPort(client, index, portName);
}
bool openLibraryPort(RtMidiOut* client, unsigned index, const char* portName) {
    return openPort(client, index, portName);
}
void closeLibraryPort(RtMidiIn* client) {
    closePort(client);
}
void closeLibraryPort(RtMidiOut* client) {
    closePort(client);
}
bool libraryPortOpen(RtMidiIn* client) {
    return client != nullptr && client->isPortOpen();
}
bool libraryPortOpen(RtMidiOut* client) {
    return client != nullptr && client->isPortOpen();
}
