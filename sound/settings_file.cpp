#include "sound/settings_file.h"

#include <bit>
#include <cstdio>
#include <vector>

#include "platform/file_reader.h"
#include "platform/file_replacement.h"
#include "sound/device_names.h"
#include "sound/sound_state.h"

// The records are stored as their memory images, little-endian.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr uint32_t listLimit = 255; // indices above cannot be selected
// Far beyond two full lists; a longer file is damaged, and is not read into memory.
constexpr uint64_t largestSettingsFile = 16 << 20;

bool readCount(FileReader& in, uint32_t& count) {
    return readExactly(in, &count, sizeof count);
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
bool readRecords(FileReader& in, uint32_t count, std::vector<Record>& list) {
    list.clear();
    for (uint32_t i = 0; i < count; ++i) {
        Record record;
        if (!readExactly(in, &record, sizeof record)) return false;
        record.name[sizeof record.name - 1] = '\0';
        repairRange(record);
        if (i < listLimit) list.push_back(record);
    }
    return true;
}

template <typename Record>
void appendList(std::vector<uint8_t>& out, const std::vector<Record>& list) {
    const uint32_t count = list.size() < listLimit ? static_cast<uint32_t>(list.size()) : listLimit;
    const uint8_t* countBytes = reinterpret_cast<const uint8_t*>(&count);
    out.insert(out.end(), countBytes, countBytes + sizeof count);
    const uint8_t* records = reinterpret_cast<const uint8_t*>(list.data());
    out.insert(out.end(), records, records + count * sizeof(Record));
}

// Fills the lists from the file; false when it holds not even one complete input record.
bool readLists(FileReader& in, SoundState& sound) {
    uint32_t count = 0;
    if (!readCount(in, count)) return false;
    const bool inputsWhole = readRecords(in, count, sound.inputDevices);
    if (sound.inputDevices.empty()) return false;
    sound.outputDevices.clear();
    if (inputsWhole && readCount(in, count)) readRecords(in, count, sound.outputDevices);
    if (sound.outputDevices.empty()) sound.outputDevices.assign(1, newOutputRecord("Simple Synth"));
    return true;
}

} // namespace

void buildDefaultDevices(SoundState& sound) {
    sound.inputDevices.assign(1, newInputRecord("Virtual Keyboard"));
    sound.outputDevices.assign(1, newOutputRecord("Simple Synth"));
}

void loadSettings(SoundState& sound, const std::string& path) {
    sound.settingsSavable = true;
    FileReader in;
    openForReading(in, path);
    if (in.problem == FileProblem::None && in.size > largestSettingsFile)
        in.problem = FileProblem::TooLarge;
    const bool read = in.problem == FileProblem::None && readLists(in, sound);
    if (in.problem == FileProblem::NotRegularFile || in.problem == FileProblem::Unreadable) {
        // Whatever it holds may be all the devices the player has met: it stays as it is.
        std::fprintf(stderr, "\"%s\" is %s; running on the default devices without saving them\n",
                     path.c_str(), describeFileProblem(in.problem));
        buildDefaultDevices(sound);
        sound.settingsSavable = false;
        return;
    }
    if (in.problem == FileProblem::TooLarge)
        std::fprintf(stderr, "\"%s\" is too large to be settings; starting over\n", path.c_str());
    if (!read) {
        buildDefaultDevices(sound);
        saveSettings(sound, path);
    }
}

bool saveSettings(const SoundState& sound, const std::string& path) {
    if (!sound.settingsSavable) return false;
    std::vector<uint8_t> bytes;
    appendList(bytes, sound.inputDevices);
    appendList(bytes, sound.outputDevices);
    std::string problem;
    if (replaceFile(path, bytes.data(), bytes.size(), &problem)) return true;
    std::fprintf(stderr, "Cannot save the settings: %s\n", problem.c_str());
    return false;
}
