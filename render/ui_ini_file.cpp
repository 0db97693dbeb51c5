#include "render/ui_ini_file.h"

#include <imgui.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/file_reader.h"
#include "platform/file_replacement.h"

namespace {

// Window positions of a few debug windows; a longer file is damaged, and the next save
// replaces it.
constexpr uint64_t largestIniFile = 16 << 20;
// False after a refused or unreadable file: what is there is not ours to replace.
bool savable = true;

} // namespace

void loadUiIniFile(const char* path) {
    ImGui::GetIO().IniFilename = nullptr;
    std::vector<uint8_t> bytes;
    FileProblem problem = FileProblem::None;
    savable = true;
    if (!readFileBytes(path, bytes, largestIniFile, &problem)) {
        savable = problem == FileProblem::Missing || problem == FileProblem::TooLarge;
        if (problem != FileProblem::Missing)
            std::fprintf(stderr, "\"%s\" is %s; the windows start at their default places\n", path,
                         describeFileProblem(problem));
        return;
    }
    ImGui::LoadIniSettingsFromMemory(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void saveUiIniFile(const char* path) {
    ImGui::GetIO().WantSaveIniSettings = false;
    if (!savable) return;
    size_t size = 0;
    const char* text = ImGui::SaveIniSettingsToMemory(&size);
    std::string problem;
    if (!replaceFile(path, text, size, &problem))
        std::fprintf(stderr, "Cannot save the window places: %s\n", problem.c_str());
}

void saveUiIniFileWhenAsked(const char* path) {
    if (ImGui::GetIO().WantSaveIniSettings) saveUiIniFile(path);
}
