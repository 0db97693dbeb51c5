// Writes the demo songs that a new player finds in runtime/Songs, one folder per level: Standard
// MIDI Files built from the note data of demo_pieces_*.cpp (notation in demo_notation.h), and one
// song file converted from such a MIDI file by notepress.
// Usage: make_demo_songs <output folder> <notepress program>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_reader.h"
#include "platform/file_replacement.h"
#include "platform/process.h"
#include "tools/demo_notation.h"
#include "tools/demo_pieces.h"
#include "tools/smf_writer.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

// One event of a track before it is written: meta events first at a tick, then note-offs, then
// note-ons, so a repeated key is released before it is struck again.
struct Pending {
    uint32_t tick = 0;
    enum Kind { Name, Metre, Key, Tempo, Program, NoteOff, NoteOn } kind = Name;
    uint8_t channel = 0, key = 0, velocity = 0;
    double bpm = 0;
    std::string text = {};
};

std::vector<uint8_t> writeTrack(std::vector<Pending> events, const Piece& piece, uint32_t end) {
    std::stable_sort(events.begin(), events.end(), [](const Pending& a, const Pending& b) {
        auto rank = [](Pending::Kind k) {
            return k == Pending::NoteOn ? 2 : k == Pending::NoteOff;
        };
        return a.tick != b.tick ? a.tick < b.tick : rank(a.kind) < rank(b.kind);
    });
    smf::Track track;
    track.runningStatus = true;
    uint32_t last = 0;
    for (const Pending& e : events) {
        const uint32_t delta = e.tick - last;
        last = e.tick;
        switch (e.kind) {
        case Pending::Name:
            track.text(delta, 0x03, e.text);
            break;
        case Pending::Metre:
            track.meta(delta, 0x58,
                       {uint8_t(piece.beatsPerBar), uint8_t(std::countr_zero(piece.beatUnit)),
                        uint8_t(96 / piece.beatUnit), 8});
            break;
        case Pending::Key:
            track.meta(delta, 0x59, {uint8_t(piece.sharps), uint8_t(piece.minor ? 1 : 0)});
            break;
        case Pending::Tempo:
            track.tempoBpm(delta, e.bpm);
            break;
        case Pending::Program:
            track.programChange(delta, e.channel, 0);
            break;
        case Pending::NoteOff:
            track.noteOff(delta, e.channel, e.key, 64);
            break;
        case Pending::NoteOn:
            track.noteOn(delta, e.channel, e.key, e.velocity);
            break;
        }
    }
    track.endOfTrack(end - last);
    return track.data;
}

std::vector<Pending> conductorEvents(const Piece& piece, const std::vector<ParsedVoice>& parsed) {
    std::vector<Pending> events{{.kind = Pending::Name, .text = piece.title},
                                {.kind = Pending::Metre},
                                {.kind = Pending::Key}};
    for (const ParsedVoice& voice : parsed)
        for (const TempoMark& mark : voice.tempos)
            events.push_back({.tick = mark.tick, .kind = Pending::Tempo, .bpm = mark.bpm});
    return events;
}

std::vector<Pending> voiceEvents(const Voice& voice, const ParsedVoice& parsed) {
    std::vector<Pending> events{{.kind = Pending::Name, .text = voice.name},
                                {.kind = Pending::Program, .channel = voice.channel}};
    for (const NoteEvent& note : parsed.notes) {
        // A short gap before the next note keeps repeated keys apart.
        const uint32_t sounding = note.length - std::min<uint32_t>(note.length / 10, 48);
        events.push_back({.tick = note.start,
                          .kind = Pending::NoteOn,
                          .channel = voice.channel,
                          .key = note.key,
                          .velocity = note.velocity});
        events.push_back({.tick = note.start + sounding,
                          .kind = Pending::NoteOff,
                          .channel = voice.channel,
                          .key = note.key});
    }
    return events;
}

std::vector<uint8_t> midiFile(const Piece& piece) {
    std::vector<ParsedVoice> parsed;
    for (const Voice& voice : piece.voices) parsed.push_back(parseVoice(piece, voice));
    const uint32_t end = parsed[0].end;
    for (const ParsedVoice& voice : parsed)
        if (voice.end != end) fail(std::string(piece.title) + ": voices of different lengths");

    std::vector<std::vector<uint8_t>> tracks;
    if (piece.conductorTrack)
        tracks.push_back(writeTrack(conductorEvents(piece, parsed), piece, end));
    for (size_t v = 0; v < piece.voices.size(); ++v) {
        std::vector<Pending> events = voiceEvents(piece.voices[v], parsed[v]);
        if (v == 0 && !piece.conductorTrack) {
            // The first track carries the song's title, metre, key and tempo.
            events[0].text = piece.title;
            std::vector<Pending> conductor = conductorEvents(piece, parsed);
            events.insert(events.begin() + 1, conductor.begin() + 1, conductor.end());
        }
        tracks.push_back(writeTrack(events, piece, end));
    }
    return smf::file(tracks.size() == 1 ? 0 : 1, demoTicksPerQuarter, tracks);
}

// Atomic, so an interrupted run leaves the committed song whole.
void replaceFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::string problem;
    if (!::replaceFile(path.string(), bytes.data(), bytes.size(), &problem)) fail(problem);
}

std::vector<uint8_t> readFile(const fs::path& path) {
    std::vector<uint8_t> bytes;
    if (!readFileBytes(path.string(), bytes)) fail("cannot read " + path.string());
    return bytes;
}

// notepress writes "Imported Songs/<title>.fff" below its working folder; that happens in a
// scratch folder, and only the song file is kept.
void convertWithNotepress(const Piece& piece, const fs::path& outFolder,
                          const fs::path& notepress) {
    std::string scratchName = (fs::temp_directory_path() / "make_demo_songs-XXXXXX").string();
    if (!mkdtemp(scratchName.data())) fail("cannot make a scratch folder");
    const fs::path scratch = scratchName;
    const std::string midiName = std::string(piece.title) + ".mid";
    const std::string songName = std::string(piece.title) + ".fff";
    try {
        replaceFile(scratch / midiName, midiFile(piece));
        ProcessRequest request;
        request.program = notepress.string();
        request.arguments = {midiName};
        request.workingFolder = scratch.string();
        const ProcessResult run = runProcess(request);
        if (run.error != 0) fail("cannot start notepress: error " + std::to_string(run.error));
        if (run.exitStatus != 0)
            fail("notepress ended with status " + std::to_string(run.exitStatus));
        replaceFile(outFolder / songName, readFile(scratch / "Imported Songs" / songName));
    } catch (...) {
        fs::remove_all(scratch);
        throw;
    }
    fs::remove_all(scratch);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: make_demo_songs <output folder> <notepress program>\n");
        return 2;
    }
    try {
        const fs::path outFolder = argv[1];
        const fs::path notepress = fs::absolute(argv[2]);
        fs::create_directories(outFolder);
        for (const Piece* piece : demoPieces()) {
            const fs::path folder = outFolder / piece->folder;
            fs::create_directories(folder);
            if (piece->viaNotepress) {
                convertWithNotepress(*piece, folder, notepress);
                std::printf("%s/%s.fff\n", piece->folder, piece->title);
            } else {
                replaceFile(folder / (std::string(piece->title) + ".mid"), midiFile(*piece));
                std::printf("%s/%s.mid\n", piece->folder, piece->title);
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_demo_songs: %s\n", e.what());
        return 1;
    }
    return 0;
}
