// Read + convert, song file write and song file read of a generated 1,000,000-note, 16-track
// MIDI file, and read + convert of a crafted file of 65,533 tracks timed through 600,000 tempo
// changes. "songs_bench --write-midi=PATH" and "--write-tempo-storm=PATH" only write that MIDI
// file, for timing notepress.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>
#include <unistd.h>

#include "songs/conversion.h"
#include "songs/midi_reader.h"
#include "songs/song.h"
#include "songs/song_file.h"
#include "tools/smf_writer.h"
#include "tools/tempo_storm.h"

namespace {

constexpr uint32_t totalNotes = 1000000;
constexpr uint32_t noteTracks = 15;

// A conductor track with a tempo change every two bars, then 15 tracks of four-note chords
// written with running status; chords end with velocity-0 note-ons, every fifth with note-offs.
std::vector<uint8_t> bigMidiFile() {
    const uint16_t division = 480;
    const uint32_t chordsPerTrack = totalNotes / noteTracks / 4 + 1;
    std::vector<smf::Track> tracks(noteTracks + 1);
    smf::Track& conductor = tracks[0];
    conductor.text(0, 0x03, "Conductor");
    const uint32_t chordTicks = 240;
    const uint32_t songTicks = chordsPerTrack * chordTicks;
    for (uint32_t tick = 0, i = 0; tick < songTicks; tick += 4 * division * 2, ++i) {
        conductor.tempo(tick == 0 ? 0 : 4 * division * 2, 400000 + (i * 7919) % 300000);
    }
    conductor.endOfTrack();

    uint32_t written = 0;
    for (uint32_t t = 1; t <= noteTracks; ++t) {
        smf::Track& track = tracks[t];
        track.runningStatus = true;
        track.text(0, 0x03, "Track " + std::to_string(t));
        track.programChange(0, uint8_t(t % 16), uint8_t(t));
        const uint8_t channel = uint8_t(t % 16);
        for (uint32_t c = 0; c < chordsPerTrack && written < totalNotes; ++c) {
            const uint8_t root = uint8_t(36 + (c * 5 + t * 3) % 48);
            const uint8_t keys[4] = {root, uint8_t(root + 4), uint8_t(root + 7),
                                     uint8_t(root + 12)};
            const uint32_t chord = std::min<uint32_t>(4, totalNotes - written);
            for (uint32_t k = 0; k < chord; ++k)
                track.noteOn(k == 0 && c > 0 ? 40 : 0, channel, keys[k], 80);
            for (uint32_t k = 0; k < chord; ++k) {
                const uint32_t delta = k == 0 ? chordTicks - 40 : 0;
                if (c % 5 == 0) {
                    track.noteOff(delta, channel, keys[k], 0);
                } else {
                    track.noteOn(delta, channel, keys[k], 0);
                }
            }
            written += chord;
        }
        track.endOfTrack();
    }
    return smf::file(1, division, tracks);
}

std::vector<uint8_t> tempoStormFile() {
    return smf::tempoStorm(65532, 600000);
}

struct Files {
    std::string midi;
    std::string song;
    size_t songBytes = 0;
    size_t notes = 0;
};

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

const Files& files() {
    static Files f = [] {
        Files made;
        const auto dir = std::filesystem::temp_directory_path();
        const std::string stem = "songs_bench_" + std::to_string(::getpid());
        made.midi = (dir / (stem + ".mid")).string();
        made.song = (dir / (stem + ".fff")).string();
        writeBytes(made.midi, bigMidiFile());
        Song song;
        readMidiFile(song, made.midi);
        convertTracks(song);
        for (const Track& t : song.tracks) made.notes += t.notes.size();
        writeSongFile(song, made.song);
        made.songBytes = std::filesystem::file_size(made.song);
        return made;
    }();
    return f;
}

void setNoteRate(benchmark::State& state) {
    state.counters["notes/s"] = benchmark::Counter(
        double(files().notes) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void ReadAndConvert(benchmark::State& state) {
    const Files& f = files();
    Song song;
    for (auto _ : state) {
        readMidiFile(song, f.midi);
        convertTracks(song);
        benchmark::DoNotOptimize(song.tracks.data());
    }
    setNoteRate(state);
}

void WriteSongFile(benchmark::State& state) {
    const Files& f = files();
    Song song;
    readMidiFile(song, f.midi);
    convertTracks(song);
    const std::string path = f.song + ".write";
    for (auto _ : state) writeSongFile(song, path);
    std::remove(path.c_str());
    state.SetBytesProcessed(int64_t(f.songBytes) * state.iterations());
    setNoteRate(state);
}

void ReadSongFile(benchmark::State& state) {
    const Files& f = files();
    Song song;
    for (auto _ : state) {
        readSongFile(song, f.song);
        benchmark::DoNotOptimize(song.tracks.data());
    }
    state.SetBytesProcessed(int64_t(f.songBytes) * state.iterations());
    setNoteRate(state);
}

// What one notepress run does with the file: read, convert, write the song file.
void WholeConversion(benchmark::State& state) {
    const Files& f = files();
    Song song;
    const std::string path = f.song + ".whole";
    for (auto _ : state) {
        readMidiFile(song, f.midi);
        convertTracks(song);
        writeSongFile(song, path);
    }
    std::remove(path.c_str());
    setNoteRate(state);
}

// Every track's first note lies somewhere along the long tempo map.
void TempoStormConversion(benchmark::State& state) {
    const std::vector<uint8_t> bytes = tempoStormFile();
    Song song;
    for (auto _ : state) {
        // The reader takes its bytes by value: the copy is not part of the conversion.
        state.PauseTiming();
        std::vector<uint8_t> copy = bytes;
        state.ResumeTiming();
        readMidiBytes(song, std::move(copy));
        convertTracks(song);
        benchmark::DoNotOptimize(song.tracks.data());
    }
}

BENCHMARK(ReadAndConvert)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WriteSongFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadSongFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WholeConversion)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TempoStormConversion)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    const struct {
        const char* option;
        std::vector<uint8_t> (*make)();
    } writers[] = {{"--write-midi=", bigMidiFile}, {"--write-tempo-storm=", tempoStormFile}};
    for (int i = 1; i < argc; ++i) {
        for (const auto& w : writers) {
            if (std::strncmp(argv[i], w.option, std::strlen(w.option)) != 0) continue;
            const std::string path = argv[i] + std::strlen(w.option);
            if (!writeBytes(path, w.make())) {
                std::fprintf(stderr, "Could not write %s\n", path.c_str());
                return 1;
            }
            return 0;
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    files();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(files().midi.c_str());
    std::remove(files().song.c_str());
    return 0;
}
