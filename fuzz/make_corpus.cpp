// Writes the fuzzers' seed files into <folder>/<target>/, from our own writers: a few small MIDI
// files of the shapes the reader meets, their song files, and atlas lists.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file_reader.h"
#include "platform/file_replacement.h"
#include "songs/conversion.h"
#include "songs/midi_reader.h"
#include "songs/song.h"
#include "songs/song_file.h"
#include "sound/device_names.h"
#include "sound/settings_file.h"
#include "sound/sound_state.h"
#include "tools/smf_writer.h"
#include "tools/tempo_storm.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

bool writeSeed(const fs::path& path, const Bytes& bytes) {
    return replaceFile(path.string(), bytes.data(), bytes.size());
}

std::vector<Bytes> midiSeeds() {
    std::vector<Bytes> seeds;
    {
        smf::Track t;
        t.noteOn(0, 0, 60, 90);
        t.noteOff(96, 0, 60);
        t.endOfTrack();
        seeds.push_back(smf::file(0, 96, {t}));
    }
    {
        // Conductor with tempo changes, running status, velocity-0 note-offs, system exclusive,
        // pitch bend, a long text and notes ended on another channel.
        smf::Track conductor, melody, bass;
        conductor.text(0, 0x03, "Conductor");
        conductor.tempoBpm(0, 96);
        conductor.tempoBpm(384, 72);
        conductor.tempoBpm(0, 140);
        conductor.endOfTrack(10);
        melody.runningStatus = true;
        melody.programChange(0, 0, 1);
        for (int i = 0; i < 6; ++i) {
            melody.noteOn(i == 0 ? 0 : 24, 0, uint8_t(60 + i), 90);
            melody.noteOn(48, 0, uint8_t(60 + i), 0);
        }
        melody.sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
        melody.channelEvent(0, 0xE0, {0x00, 0x40});
        melody.text(0, 0x01, std::string(40, 'm'));
        melody.endOfTrack();
        bass.noteOn(0, 1, 36, 70);
        bass.noteOn(0, 1, 36, 70);
        bass.noteOff(96, 2, 36);
        bass.channelEvent(0, 0xF2, {0x10, 0x20});
        bass.endOfTrack();
        seeds.push_back(smf::file(1, 192, {conductor, melody, bass}));
    }
    {
        // Timecode division, format 2, an unknown chunk and trailing bytes.
        smf::Track t;
        t.noteOn(0, 9, 38, 100);
        t.noteOff(30, 9, 38);
        t.endOfTrack();
        Bytes file = smf::file(2, 0xE728, {t, t});
        const Bytes unknown{'X', 'Y', 'Z', 'W', 0, 0, 0, 2, 1, 2};
        file.insert(file.begin() + 14, unknown.begin(), unknown.end());
        file.push_back(0);
        seeds.push_back(file);
    }
    seeds.push_back(smf::tempoStorm(6, 40));
    return seeds;
}

std::vector<std::string> atlasSeeds() {
    return {"2\nNoteWhite.png 2 2 26 258\nNoteBlack.png 30 2 46 162\n",
            "3\r\na 0 0 1 1\r\nb -1 2 3 4000000000\r\nc 1 1 1\n",
            "1\n" + std::string(255, 'n') + " 0 0 8 8\n"};
}

// Settings files as the program saves them: the defaults, devices with learned ranges, and more
// devices than a list keeps.
bool writeSettingsSeeds(const fs::path& folder) {
    bool ok = true;
    SoundState sound;
    buildDefaultDevices(sound);
    ok &= saveSettings(sound, (folder / "defaults.dat").string());
    sound.inputDevices.push_back(newInputRecord("Keys"));
    sound.inputDevices.back().minNote = 21;
    sound.inputDevices.back().maxNote = 108;
    sound.inputDevices.back().noteSpan = 87;
    sound.outputDevices.push_back(newOutputRecord("Synth port 2"));
    ok &= saveSettings(sound, (folder / "devices.dat").string());
    for (int i = 0; i < 300; ++i) sound.inputDevices.push_back(newInputRecord("Input"));
    ok &= saveSettings(sound, (folder / "many.dat").string());
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: make_corpus <folder> <atlas list to add>\n");
        return 2;
    }
    const fs::path folder = argv[1];
    for (const char* target : {"midi", "song_file", "atlas_list", "settings"})
        fs::create_directories(folder / target);
    bool ok = true;
    const std::vector<Bytes> midi = midiSeeds();
    for (size_t i = 0; i < midi.size(); ++i) {
        ok &= writeSeed(folder / "midi" / ("seed" + std::to_string(i) + ".mid"), midi[i]);
        Song song;
        readMidiBytes(song, midi[i]);
        convertTracks(song);
        std::ostringstream out;
        writeSongFile(song, out);
        const std::string s = out.str();
        ok &= writeSeed(folder / "song_file" / ("seed" + std::to_string(i) + ".fff"),
                        Bytes(s.begin(), s.end()));
    }
    const std::vector<std::string> atlas = atlasSeeds();
    for (size_t i = 0; i < atlas.size(); ++i) {
        ok &= writeSeed(folder / "atlas_list" / ("seed" + std::to_string(i) + ".txt"),
                        Bytes(atlas[i].begin(), atlas[i].end()));
    }
    // The committed list, as painted by the texture generator.
    Bytes list;
    ok &= readFileBytes(argv[2], list) && !list.empty() &&
          writeSeed(folder / "atlas_list" / "notes2.txt", list);
    ok &= writeSettingsSeeds(folder / "settings");
    if (!ok) std::fprintf(stderr, "make_corpus: could not write the seeds into %s\n", argv[1]);
    return ok ? 0 : 1;
}
