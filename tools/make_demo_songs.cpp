// Writes the demo songs that a new player finds in runtime/Songs: Standard MIDI Files built from
// the note data below, and one song file converted from such a MIDI file by notepress.
// Usage: make_demo_songs <output folder> <notepress program>
//
// Note data, tokens separated by spaces:
//   C4:q        a note: letter, optional # or b, octave (C4 is key 60), then its value
//   C3+G3:h     a chord
//   r:h         a rest
//   A4:h.~      a tie: the same key in the next token continues this note
//   @100        tempo from here on, quarter notes per minute
//   |           bar line; every bar but the first (a pickup) and the last must be full
// Values: w h q e s (whole to sixteenth), a full stop after one adds half of it.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_reader.h"
#include "platform/file_replacement.h"
#include "platform/process.h"
#include "tools/smf_writer.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t ticksPerQuarter = 480;

struct Voice {
    const char* name; // MIDI track name
    uint8_t channel;
    uint8_t velocity; // downbeats are played a little louder
    const char* notes;
};

struct Piece {
    const char* title; // the file name the song browser shows, without extension
    uint32_t beatsPerBar;
    int8_t sharps; // key signature: sharps above 0, flats below
    bool minor;
    bool conductorTrack; // time signature, key and tempo in a track of their own
    bool viaNotepress;   // shipped as the song file notepress makes of the MIDI file
    std::vector<Voice> voices;
};

// Ludwig van Beethoven, Symphony No. 9, finale: the theme, in its own key of D major.
const Piece odeToJoy{
    "Ode to Joy",
    4,
    2,
    false,
    false,
    false,
    {{"Melody", 0, 80,
      "@100 F#4:q F#4:q G4:q A4:q | A4:q G4:q F#4:q E4:q | D4:q D4:q E4:q F#4:q | "
      "F#4:q. E4:e E4:h | F#4:q F#4:q G4:q A4:q | A4:q G4:q F#4:q E4:q | D4:q D4:q E4:q F#4:q | "
      "E4:q. D4:e D4:h | E4:q E4:q F#4:q D4:q | E4:q F#4:e G4:e F#4:q D4:q | "
      "E4:q F#4:e G4:e F#4:q E4:q | D4:q E4:q A3:h | F#4:q F#4:q G4:q A4:q | "
      "A4:q G4:q F#4:q E4:q | D4:q D4:q E4:q F#4:q | E4:q. D4:e D4:h"}}};

// French folk song, sung as a round: the left hand enters two bars after the right, an octave
// lower, and each hand sings it twice.
#define FRERE_JACQUES(o, l)                                                                        \
    "C" o ":q D" o ":q E" o ":q C" o ":q | C" o ":q D" o ":q E" o ":q C" o ":q | "                 \
    "E" o ":q F" o ":q G" o ":h | E" o ":q F" o ":q G" o ":h | "                                   \
    "G" o ":e A" o ":e G" o ":e F" o ":e E" o ":q C" o ":q | "                                     \
    "G" o ":e A" o ":e G" o ":e F" o ":e E" o ":q C" o ":q | "                                     \
    "C" o ":q G" l ":q C" o ":h | C" o ":q G" l ":q C" o ":h"
const Piece frereJacques{
    "Frere Jacques",
    4,
    0,
    false,
    false,
    false,
    {{"Right Hand", 0, 80,
      "@108 " FRERE_JACQUES("4", "3") " | " FRERE_JACQUES("4", "3") " | r:w | r:w"},
     {"Left Hand", 1, 72, "r:w | r:w | " FRERE_JACQUES("3", "2") " | " FRERE_JACQUES("3", "2")}}};
#undef FRERE_JACQUES

// English folk tune of the sixteenth century, in A minor; it slows a little at the end of the
// verse and comes to a broad close.
const Piece greensleeves{
    "Greensleeves",
    3,
    0,
    true,
    true,
    false,
    {{"Melody", 0, 76,
      "@100 A4:q | C5:h D5:q | E5:q. F5:e E5:q | D5:h B4:q | G4:q. A4:e B4:q | C5:h A4:q | "
      "A4:q. G#4:e A4:q | B4:h G#4:q | E4:h A4:q | C5:h D5:q | E5:q. F5:e E5:q | D5:h B4:q | "
      "G4:q. A4:e B4:q | C5:q. B4:e A4:q | @96 G#4:q. @92 F#4:e @88 G#4:q | @84 A4:h.~ | A4:h. | "
      "@100 G5:h. | G5:q. F#5:e E5:q | D5:h B4:q | G4:q. A4:e B4:q | C5:h A4:q | "
      "A4:q. G#4:e A4:q | B4:h G#4:q | E4:h. | G5:h. | G5:q. F#5:e E5:q | D5:h B4:q | "
      "G4:q. A4:e B4:q | @96 C5:q. @92 B4:e @88 A4:q | @82 G#4:q. @76 F#4:e @70 G#4:q | "
      "@64 A4:h.~ | A4:h."}}};

// French folk melody ("Ah ! vous dirai-je, maman"), with left-hand fifths and sixths on the
// tonic, subdominant and dominant.
const Piece twinkle{"Twinkle Twinkle Little Star",
                    4,
                    0,
                    false,
                    false,
                    true,
                    {{"Right Hand", 0, 80,
                      "@90 C4:q C4:q G4:q G4:q | A4:q A4:q G4:h | F4:q F4:q E4:q E4:q | "
                      "D4:q D4:q C4:h | G4:q G4:q F4:q F4:q | E4:q E4:q D4:h | "
                      "G4:q G4:q F4:q F4:q | E4:q E4:q D4:h | C4:q C4:q G4:q G4:q | "
                      "A4:q A4:q G4:h | F4:q F4:q E4:q E4:q | D4:q D4:q C4:h"},
                     {"Left Hand", 1, 64,
                      "C3+G3:w | F3+A3:h C3+G3:h | F3+A3:h C3+G3:h | G3+B3:h C3+G3:h | "
                      "C3+G3:h F3+A3:h | C3+G3:h G3+B3:h | C3+G3:h F3+A3:h | C3+G3:h G3+B3:h | "
                      "C3+G3:w | F3+A3:h C3+G3:h | F3+A3:h C3+G3:h | G3+B3:h C3+G3:h"}}};

const Piece* const pieces[] = {&odeToJoy, &frereJacques, &greensleeves, &twinkle};

struct NoteEvent {
    uint32_t start;
    uint32_t length; // the written value; the sounding length is a little shorter
    uint8_t key;
    uint8_t velocity;
    bool tiedOn; // continues into the next token
};

struct TempoMark {
    uint32_t tick;
    double bpm;
};

struct ParsedVoice {
    std::vector<NoteEvent> notes;
    std::vector<TempoMark> tempos;
    uint32_t end = 0;
};

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

uint8_t parseKey(const std::string& token, const std::string& pitch) {
    static const int semitone[] = {9, 11, 0, 2, 4, 5, 7}; // A to G
    if (pitch.size() < 2 || pitch[0] < 'A' || pitch[0] > 'G') fail("bad pitch in " + token);
    int key = semitone[pitch[0] - 'A'];
    size_t i = 1;
    if (pitch[i] == '#')
        ++key, ++i;
    else if (pitch[i] == 'b')
        --key, ++i;
    if (i >= pitch.size() || pitch.find_first_not_of("0123456789", i) != std::string::npos)
        fail("bad octave in " + token);
    key += (std::stoi(pitch.substr(i)) + 1) * 12;
    if (key < 0 || key > 127) fail("key out of range in " + token);
    return uint8_t(key);
}

uint32_t parseValue(const std::string& token, const std::string& value) {
    uint32_t ticks = 0;
    switch (value.empty() ? ' ' : value[0]) {
    case 'w':
        ticks = 4 * ticksPerQuarter;
        break;
    case 'h':
        ticks = 2 * ticksPerQuarter;
        break;
    case 'q':
        ticks = ticksPerQuarter;
        break;
    case 'e':
        ticks = ticksPerQuarter / 2;
        break;
    case 's':
        ticks = ticksPerQuarter / 4;
        break;
    default:
        fail("bad value in " + token);
    }
    if (value == std::string(1, value[0]) + ".") return ticks + ticks / 2;
    if (value.size() != 1) fail("bad value in " + token);
    return ticks;
}

ParsedVoice parseVoice(const Piece& piece, const Voice& voice) {
    ParsedVoice out;
    const uint32_t barTicks = piece.beatsPerBar * ticksPerQuarter;
    uint32_t now = 0;
    std::vector<uint32_t> barStarts{0};
    std::vector<size_t> tied; // notes of the previous token that the current one may continue
    std::istringstream tokens(voice.notes);
    std::string token;
    auto fail = [&](const std::string& what) {
        throw std::runtime_error(std::string(piece.title) + ", " + voice.name + ", bar " +
                                 std::to_string(barStarts.size()) + ": " + what);
    };
    while (tokens >> token) {
        if (token == "|") {
            const uint32_t length = now - barStarts.back();
            if (length > barTicks || (barStarts.size() > 1 && length != barTicks))
                fail("bar of " + std::to_string(length) + " ticks");
            barStarts.push_back(now);
            continue;
        }
        if (token[0] == '@') {
            out.tempos.push_back({now, std::stod(token.substr(1))});
            continue;
        }
        const size_t colon = token.find(':');
        if (colon == std::string::npos) fail("no value in " + token);
        std::string value = token.substr(colon + 1);
        const bool tieOn = !value.empty() && value.back() == '~';
        if (tieOn) value.pop_back();
        const uint32_t length = parseValue(token, value);
        const std::string pitches = token.substr(0, colon);
        std::vector<size_t> nowTied;
        if (pitches == "r") {
            if (tieOn) fail("tied rest");
        } else {
            std::istringstream chord(pitches);
            std::string pitch;
            while (std::getline(chord, pitch, '+')) {
                const uint8_t key = parseKey(token, pitch);
                auto held = std::find_if(tied.begin(), tied.end(),
                                         [&](size_t n) { return out.notes[n].key == key; });
                size_t index = out.notes.size();
                if (held != tied.end()) {
                    index = *held;
                    out.notes[index].length += length;
                } else {
                    out.notes.push_back({now, length, key, voice.velocity, false});
                }
                out.notes[index].tiedOn = tieOn;
                if (tieOn) nowTied.push_back(index);
            }
        }
        for (size_t n : tied)
            if (out.notes[n].tiedOn &&
                std::find(nowTied.begin(), nowTied.end(), n) == nowTied.end())
                fail("tie to nothing");
        tied = nowTied;
        now += length;
    }
    if (now - barStarts.back() > barTicks) fail("last bar too long");
    if (!tied.empty()) fail("tie to nothing");
    // Downbeats a little louder; a pickup's first note is not one.
    const bool pickup = barStarts.size() > 1 && barStarts[1] < barTicks;
    for (NoteEvent& note : out.notes) {
        const bool downbeat = std::binary_search(barStarts.begin(), barStarts.end(), note.start);
        if (downbeat && !(pickup && note.start == 0)) note.velocity += 8;
    }
    out.end = now;
    return out;
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
            track.meta(delta, 0x58, {uint8_t(piece.beatsPerBar), 2, 24, 8});
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
    return smf::file(tracks.size() == 1 ? 0 : 1, ticksPerQuarter, tracks);
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
        for (const Piece* piece : pieces) {
            if (piece->viaNotepress) {
                convertWithNotepress(*piece, outFolder, notepress);
                std::printf("%s.fff\n", piece->title);
            } else {
                replaceFile(outFolder / (std::string(piece->title) + ".mid"), midiFile(*piece));
                std::printf("%s.mid\n", piece->title);
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_demo_songs: %s\n", e.what());
        return 1;
    }
    return 0;
}
