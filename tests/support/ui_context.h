#pragma once
// A UI context of the test's own on a 1920 x 1080 display: its font atlas built, so that frames
// can run, and no settings file read or written.
#include <imgui.h>

inline void createTestUiContext() {
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(1920, 1080);
    unsigned char* pixels = nullptr;
    int width = 0, height = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
}
