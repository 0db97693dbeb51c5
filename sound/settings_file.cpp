#include "sound/settings_file.h"

#include <bit>
#include <cstdio>
#include <fstream>
#include <vector>

#include "sound/device_names.h"
#include "sound/sound_state.h"

// The records are stored as their memory images, little-endian.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr uint32_t listLimit = 255; // indices above cannot be selected

bool readCount(std::ifstream& in, uint32_t& count) {
    return static_cast<bool>(in.read(reinterpret_cast<char*>(&count), sizeof count));
}

// The keyboard view and the octave keys compute with a learned range, so one outside the keys
// 0 to 127 (a damaged file) starts over from the default; the span follows the range.
void repairRange(InputDeviceRecord& record) {
    if (record.minNote < 0 || record.maxNote > 127 || record.minNote > record.maxNote) {
        const InputDeviceRecord fresh;
        record.minNote = fresh.minNote;
        record.maxNote = fresh.maxNote;
    }
    record.noteSpan = record.maxNote - record.minNote;
}
void repairRange(OutputDeviceRecord&) {}

// Reads up to count records, keeping the first listLimit; stops at the first incomplete one.
// True when all count records were there.
template <typename Record>
bool readRecords(std::ifstream& in, uint32_t count, std::vector<Record>& list) {
    list.clear();
    for (uint32_t i = 0; i < count; ++i) {
        Record record;
        if (!in.read(reinterpret_cast<char*>(&record), sizeof record)) return false;
        record.name[sizeof record.name - 1] = '\0';
        repairRange(record);
        if (i < listLimit) list.push_back(record);
    }
    return true;
}

template <typename Record> bool writeList(std::ofstream& out, const std::vector<Record>& list) {
    const uint32_t count = list.size() < listLimit ? static_cast<uint32_t>(list.size()) : listLimit;
    out.write(reinterpret_cast<const char*>(&count), sizeof count);
    out.write(reinterpret_cast<const char*>(list.data()),
              static_cast<std::streamsize>(count * sizeof(Record)));
    return static_cast<bool>(out);
}

} // namespace

void buildDefaultDevices(SoundState& sound) {
    sound.inputDevices.assign(1, newInputRecord("Virtual Keyboard"));
    sound.outputDevices.assign(1, newOutputRecord("Simple Synth"));
}

void loadSettings(SoundState& sound, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    uint32_t count = 0;
    if (!in || !readCount(in, count)) {
        buildDefaultDevices(sound);
        saveSettings(sound, path);
        return;
    }
    const bool inputsWhole = readRecords(in, count, sound.inputDevices);
    if (sound.inputDevices.empty()) {
        buildDefaultDevices(sound);
        saveSettings(sound, path);
        return;
    }
    sound.outputDevices.clear();
    if (inputsWhole && readCount(in, count)) readRecords(in, count, sound.outputDevices);
    if (sound.outputDevices.empty()) sound.outputDevices.assign(1, newOutputRecord("Simple Synth"));
}

bool saveSettings(const SoundState& sound, const std::string& path) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        const bool written =
            writeList(out, sound.inputDevices) && writeList(out, sound.outputDevices);
        out.close();
        if (!written || !out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
