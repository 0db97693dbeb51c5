#include "sound/device_names.h"

#include <cstring>

namespace {

constexpr size_t nameLimit = sizeof(InputDeviceRecord::name) - 1;

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

template <typename Record> Record named(std::string_view deviceName) {
    Record record;
    const size_t length = deviceName.size() < nameLimit ? deviceName.size() : nameLimit;
    std::memcpy(record.name, deviceName.data(), length);
    record.name[length] = '\0';
    return record;
}

bool isMidiThrough(std::string_view deviceName) {
    return deviceName.starts_with("Midi Through:");
}

} // namespace

std::string deviceNameOf(std::string_view portName) {
    portName = portName.substr(0, portName.find('\0'));
    const size_t space = portName.rfind(' ');
    if (space != std::string_view::npos) {
        const std::string_view suffix = portName.substr(space + 1);
        const size_t colon = suffix.find(':');
        if (colon != std::string_view::npos && allDigits(suffix.substr(0, colon)) &&
            allDigits(suffix.substr(colon + 1)))
            portName = portName.substr(0, space);
    }
    return std::string(portName.substr(0, nameLimit));
}

InputDeviceRecord newInputRecord(std::string_view deviceName) {
    return named<InputDeviceRecord>(deviceName);
}

OutputDeviceRecord newOutputRecord(std::string_view deviceName) {
    return named<OutputDeviceRecord>(deviceName);
}

bool loopsBackToInput(std::string_view deviceName) {
    static const std::string own = std::string(outputClientName) + ":" + outputPortName;
    return deviceName == own || isMidiThrough(deviceName);
}

bool loopsBackToOutput(std::string_view deviceName) {
    static const std::string own = std::string(inputClientName) + ":" + inputPortName;
    return deviceName == own || isMidiThrough(deviceName);
}
