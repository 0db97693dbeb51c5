#include "sound/midi_ports.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>

#include "platform/frame_wake.h"
#include "platform/quiet_stderr.h"
#include "sound/device_names.h"
#include "sound/player_sound.h"

namespace {

// Set by the library's error callback (which its input thread may call too); cleared before
// each call whose outcome matters.
std::atomic<bool> libraryFailed = false;

// Kinds already reported, one bit each: the library's error types, then the full queue.
std::atomic<uint32_t> reportedKinds = 0;
constexpr int queueFullKind = 31;
// While the clients start, failures are expected and standard error is silenced.
std::atomic<bool> starting = false;

// The library's warnings and errors reach standard error once per kind: the library would
// otherwise repeat them, from its input thread too, for as long as their cause lasts.
void reportLibraryError(int kind, const std::string& text) {
    const uint32_t bit = 1u << (static_cast<uint32_t>(kind) & 31);
    if (reportedKinds.fetch_or(bit) & bit) return;
    std::fprintf(stderr, "Cadenzio: MIDI: %s\n", text.c_str());
}

void noteLibraryError(RtMidiError::Type type, const std::string& text, void*) {
    if (type == RtMidiError::DEBUG_WARNING) return;
    libraryFailed = true;
    if (!starting) reportLibraryError(type, text);
}

// The library's input thread: a note is sounded here at once, then queued for the frame.
void queueFromLibrary(double, std::vector<unsigned char>* message, void* data) {
    if (message == nullptr) return;
    auto* client = static_cast<MidiInClient*>(data);
    SoundState* sound = client->sound.load(std::memory_order_acquire);
    if (sound == nullptr) {
        queueInputMessage(*client, *message);
        return;
    }
    if (message->size() != 3) return; // no note
    std::vector<uint8_t>& arriving = client->arriving;
    arriving.assign(message->begin(), message->end());
    SoundedWith with;
    if (soundPlayedNote(*sound, arriving, with)) queueInputMessage(*client, arriving, with);
}

MidiInClient* construct(RtMidi::Api api, const char* name, MidiInClient*) {
    // The library's own queue stays unused: messages go to the client's ring instead.
    auto* client = new MidiInClient(api, name);
    client->setCallback(queueFromLibrary, client);
    return client;
}
MidiOutClient* construct(RtMidi::Api api, const char* name, MidiOutClient*) {
    return new MidiOutClient(api, name);
}
size_t offered(MidiInClient* client) {
    return listInputPorts(client).size();
}
size_t offered(MidiOutClient* client) {
    return listOutputPorts(client).size();
}

template <typename Client> Client* start(const char* clientName) {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    StandardErrorSilenced quiet;
    starting = true;
    struct Started {
        ~Started() { starting = false; }
    } started;
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

// Bumped by every open and close of a port of the program's own; never 0.
uint32_t portGeneration = 1;

std::vector<PortEntry> askLibrary(RtMidi* client, bool (*loopsBack)(std::string_view)) {
    std::vector<PortEntry> ports;
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

template <typename Client>
const std::vector<PortEntry>& list(Client* client, bool (*loopsBack)(std::string_view)) {
    static const std::vector<PortEntry> none;
    if (client == nullptr) return none;
    PortListCache& cache = client->portList;
    const auto now = std::chrono::steady_clock::now();
    if (cache.generation != portGeneration || now - cache.takenAt >= std::chrono::seconds(1)) {
        std::vector<PortEntry> fresh = askLibrary(client, loopsBack);
        const auto same = [](const PortEntry& a, const PortEntry& b) {
            return a.index == b.index && a.device == b.device;
        };
        if (!std::equal(fresh.begin(), fresh.end(), cache.ports.begin(), cache.ports.end(), same))
            ++cache.changes;
        cache.ports = std::move(fresh);
        cache.takenAt = now;
        cache.generation = portGeneration;
    }
    return cache.ports;
}

template <typename Client> bool openPort(Client* client, unsigned index, const char* portName) {
    if (client == nullptr) return false;
    ++portGeneration;
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
        if (!client->isPortOpen()) return;
        ++portGeneration;
        client->closePort();
    } catch (const std::exception&) {
    }
}

} // namespace

MidiInClient* startMidiIn(const char* clientName) {
    return start<MidiInClient>(clientName);
}
MidiOutClient* startMidiOut(const char* clientName) {
    return start<MidiOutClient>(clientName);
}

const std::vector<PortEntry>& listInputPorts(MidiInClient* client) {
    return list(client, loopsBackToInput);
}
const std::vector<PortEntry>& listOutputPorts(MidiOutClient* client) {
    return list(client, loopsBackToOutput);
}

bool openLibraryPort(MidiInClient* client, unsigned index, const char* portName) {
    return openPort(client, index, portName);
}
bool openLibraryPort(MidiOutClient* client, unsigned index, const char* portName) {
    return openPort(client, index, portName);
}
void closeLibraryPort(MidiInClient* client) {
    closePort(client);
}
void closeLibraryPort(MidiOutClient* client) {
    closePort(client);
}
bool libraryPortOpen(MidiInClient* client) {
    return client != nullptr && client->isPortOpen();
}
bool libraryPortOpen(MidiOutClient* client) {
    return client != nullptr && client->isPortOpen();
}

void sendLibraryMessage(MidiOutClient* client, const std::vector<uint8_t>& message) {
    if (client == nullptr || message.empty()) return;
    try {
        if (client->isPortOpen()) client->sendMessage(&message);
    } catch (const RtMidiError&) {
        // A device that went away mid-note: the note is lost, the program goes on.
    }
}

bool takeQueuedMessage(MidiInputQueue& queue, std::vector<uint8_t>& message, SoundedWith* with) {
    message.clear();
    const uint32_t read = queue.readCount.load(std::memory_order_relaxed);
    if (read == queue.writeCount.load(std::memory_order_acquire)) return false;
    const MidiInputQueue::Entry& entry = queue.entries[read % MidiInputQueue::capacity];
    message.assign(entry.bytes, entry.bytes + entry.size);
    if (with != nullptr) *with = entry.with;
    queue.readCount.store(read + 1, std::memory_order_release);
    return true;
}

void queueInputMessage(MidiInputQueue& queue, const std::vector<uint8_t>& message,
                       SoundedWith with) {
    if (message.empty() || message.size() > 3) return;
    const uint32_t written = queue.writeCount.load(std::memory_order_relaxed);
    if (written - queue.readCount.load(std::memory_order_acquire) >= MidiInputQueue::capacity) {
        reportLibraryError(queueFullKind, "input queue full, messages dropped");
        return;
    }
    MidiInputQueue::Entry& entry = queue.entries[written % MidiInputQueue::capacity];
    entry.size = static_cast<uint8_t>(message.size());
    for (size_t i = 0; i < message.size(); ++i) entry.bytes[i] = message[i];
    entry.with = with;
    queue.writeCount.store(written + 1, std::memory_order_release);
    // The frame should colour the key without waiting out the rest of its period.
    if ((message[0] & 0xE0) == 0x80) wakeFrame();
}
