#include "render/ui_binding.h"

#include <imgui.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gl.h"
#include "render/gl_program.h"
#include "render/ui_ini_file.h"
#include "render/vertex_array.h"

namespace {

constexpr int vertexMargin = 5000;
constexpr int indexMargin = 10000;

struct UiBinding {
    int displayWidth = 0, displayHeight = 0;
    GlProgram program;
    VertexArray vertexArray;
    int vertexCapacity = vertexMargin, indexCapacity = indexMargin;
    bool vertexBufferMade = false, indexBufferMade = false;
    GLuint fontTexture = 0;
    GLuint fontSampler = 0;
    std::vector<uint8_t> staging;
};

UiBinding* binding = nullptr;
// Outlives the binding: the settings are saved after it is gone.
std::string iniPath = uiIniFileName;

bool createDeviceObjects() {
    binding->program = buildGlProgram("UI", ShaderKind::Textured);
    if (!binding->program.id) return false;
    binding->vertexArray =
        createVertexArray(sizeof(ImDrawVert),
                          {{2, AttributeType::Float, offsetof(ImDrawVert, pos)},
                           {4, AttributeType::NormalisedByte, offsetof(ImDrawVert, col)},
                           {2, AttributeType::Float, offsetof(ImDrawVert, uv)}},
                          true);

    // The atlas's coverage becomes the alpha of white texels.
    ImGuiIO& io = ImGui::GetIO();
    unsigned char* alpha = nullptr;
    int width = 0, height = 0;
    io.Fonts->GetTexDataAsAlpha8(&alpha, &width, &height);
    std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4, 255);
    for (size_t i = 0; i < size_t(width) * size_t(height); ++i) rgba[i * 4 + 3] = alpha[i];
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glGenTextures(1, &binding->fontTexture);
    glBindTexture(GL_TEXTURE_2D, binding->fontTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 rgba.data());
    glBindTexture(GL_TEXTURE_2D, GLuint(previous));
    io.Fonts->SetTexID(reinterpret_cast<ImTextureID>(intptr_t(binding->fontTexture)));

    glGenSamplers(1, &binding->fontSampler);
    glSamplerParameteri(binding->fontSampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glSamplerParameteri(binding->fontSampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glSamplerParameteri(binding->fontSampler, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glSamplerParameteri(binding->fontSampler, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glSamplerParameterf(binding->fontSampler, GL_TEXTURE_MIN_LOD, 0);
    glSamplerParameterf(binding->fontSampler, GL_TEXTURE_MAX_LOD, 0);
    return true;
}

// Everything the UI draw changes, put back afterwards. Depth and stencil are not among them: the
// window has neither buffer and nothing turns their tests on.
struct SavedGlState {
    GLint program, activeTexture, texture, sampler, arrayBuffer, vertexArray;
    GLint viewport[4], scissorBox[4];
    GLint blendSrcRgb, blendDstRgb, blendSrcAlpha, blendDstAlpha, blendEqRgb, blendEqAlpha;
    GLint polygonMode[2];
    GLboolean blend, cull, scissorTest;

    void save() {
        glGetIntegerv(GL_ACTIVE_TEXTURE, &activeTexture);
        glActiveTexture(GL_TEXTURE0);
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        glGetIntegerv(GL_SAMPLER_BINDING, &sampler);
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
        glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
        glGetIntegerv(GL_VIEWPORT, viewport);
        glGetIntegerv(GL_SCISSOR_BOX, scissorBox);
        glGetIntegerv(GL_BLEND_SRC_RGB, &blendSrcRgb);
        glGetIntegerv(GL_BLEND_DST_RGB, &blendDstRgb);
        glGetIntegerv(GL_BLEND_SRC_ALPHA, &blendSrcAlpha);
        glGetIntegerv(GL_BLEND_DST_ALPHA, &blendDstAlpha);
        glGetIntegerv(GL_BLEND_EQUATION_RGB, &blendEqRgb);
        glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &blendEqAlpha);
        glGetIntegerv(GL_POLYGON_MODE, polygonMode);
        blend = glIsEnabled(GL_BLEND);
        cull = glIsEnabled(GL_CULL_FACE);
        scissorTest = glIsEnabled(GL_SCISSOR_TEST);
    }

    void restore() const {
        glUseProgram(GLuint(program));
        glBindTexture(GL_TEXTURE_2D, GLuint(texture));
        glBindSampler(0, GLuint(sampler));
        glActiveTexture(GLenum(activeTexture));
        glBindVertexArray(GLuint(vertexArray));
        glBindBuffer(GL_ARRAY_BUFFER, GLuint(arrayBuffer));
        glBlendEquationSeparate(GLenum(blendEqRgb), GLenum(blendEqAlpha));
        glBlendFuncSeparate(GLenum(blendSrcRgb), GLenum(blendDstRgb), GLenum(blendSrcAlpha),
                            GLenum(blendDstAlpha));
        auto enable = [](GLenum cap, GLboolean on) { on ? glEnable(cap) : glDisable(cap); };
        enable(GL_BLEND, blend);
        enable(GL_CULL_FACE, cull);
        enable(GL_SCISSOR_TEST, scissorTest);
        glPolygonMode(GL_FRONT_AND_BACK, GLenum(polygonMode[0]));
        glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        glScissor(scissorBox[0], scissorBox[1], scissorBox[2], scissorBox[3]);
    }
};

// The viewport stays the one the frame set for the picture.
void setUpRenderState() {
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO);
    glDisable(GL_CULL_FACE);
    glEnable(GL_SCISSOR_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    // Its own z mapping: the flat UI lies at 0.5.
    useGlProgram(binding->program,
                 viewportTransform(binding->displayWidth, binding->displayHeight, 0.5f, 0.5f));
    glActiveTexture(GL_TEXTURE0);
    glBindSampler(0, binding->fontSampler);
    bindVertexArray(binding->vertexArray);
}

// Copies every list into one buffer store, grown to total + margin when it is missing or too
// small; false when GL cannot provide the store.
bool upload(GLenum target, GLuint buffer, int& capacity, bool& made, int total, int margin,
            size_t unit, const ImDrawData* data, bool vertices) {
    if (!made || capacity < total) {
        capacity = total + margin;
        made = true;
    }
    size_t bytes = size_t(total) * unit;
    binding->staging.resize(bytes > 0 ? bytes : 1);
    uint8_t* out = binding->staging.data();
    for (int n = 0; n < data->CmdListsCount; ++n) {
        const ImDrawList* list = data->CmdLists[n];
        const void* from = vertices ? static_cast<const void*>(list->VtxBuffer.Data)
                                    : static_cast<const void*>(list->IdxBuffer.Data);
        size_t size = size_t(vertices ? list->VtxBuffer.Size : list->IdxBuffer.Size) * unit;
        if (size) std::memcpy(out, from, size);
        out += size;
    }
    glBindBuffer(target, buffer);
    while (glGetError() != GL_NO_ERROR) {
    }
    // A fresh store each frame, so the previous frame's draws are not waited for.
    glBufferData(target, GLsizeiptr(capacity) * GLsizeiptr(unit), nullptr, GL_STREAM_DRAW);
    if (glGetError() == GL_OUT_OF_MEMORY) {
        made = false;
        return false;
    }
    glBufferSubData(target, 0, GLsizeiptr(bytes), binding->staging.data());
    return true;
}

void renderDrawData(ImDrawData* data) {
    if (!binding || !binding->program.id || !data || data->CmdListsCount == 0) return;
    SavedGlState saved;
    saved.save();
    setUpRenderState();
    // The element buffer binding belongs to the vertex array bound above.
    bool uploaded = upload(GL_ARRAY_BUFFER, binding->vertexArray.vertices, binding->vertexCapacity,
                           binding->vertexBufferMade, data->TotalVtxCount, vertexMargin,
                           sizeof(ImDrawVert), data, true) &&
                    upload(GL_ELEMENT_ARRAY_BUFFER, binding->vertexArray.indices,
                           binding->indexCapacity, binding->indexBufferMade, data->TotalIdxCount,
                           indexMargin, sizeof(ImDrawIdx), data, false);
    if (uploaded) {
        const GLenum indexType = sizeof(ImDrawIdx) == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT;
        size_t indexOffset = 0;
        GLint vertexOffset = 0;
        for (int n = 0; n < data->CmdListsCount; ++n) {
            const ImDrawList* list = data->CmdLists[n];
            for (const ImDrawCmd& command : list->CmdBuffer) {
                if (command.UserCallback == ImDrawCallback_ResetRenderState) {
                    setUpRenderState();
                } else if (command.UserCallback) {
                    command.UserCallback(list, &command);
                } else {
                    const ImVec4& clip = command.ClipRect;
                    int box[4];
                    uiScissorBox({clip.x, clip.y, clip.z, clip.w}, saved.viewport,
                                 binding->displayWidth, binding->displayHeight, box);
                    if (box[2] > 0 && box[3] > 0) {
                        glScissor(box[0], box[1], box[2], box[3]);
                        glBindTexture(GL_TEXTURE_2D,
                                      GLuint(reinterpret_cast<intptr_t>(command.TextureId)));
                        glDrawElementsBaseVertex(
                            GL_TRIANGLES, GLsizei(command.ElemCount), indexType,
                            reinterpret_cast<const void*>(indexOffset * sizeof(ImDrawIdx)),
                            vertexOffset);
                    }
                }
                indexOffset += command.ElemCount;
            }
            vertexOffset += list->VtxBuffer.Size;
        }
    }
    saved.restore();
}

} // namespace

bool createUiBinding(int displayWidth, int displayHeight, const std::string& iniFile) {
    if (binding) return true;
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    const int keys[][2] = {
        {ImGuiKey_Tab, 9},       {ImGuiKey_LeftArrow, 37}, {ImGuiKey_RightArrow, 39},
        {ImGuiKey_UpArrow, 38},  {ImGuiKey_DownArrow, 40}, {ImGuiKey_PageUp, 33},
        {ImGuiKey_PageDown, 34}, {ImGuiKey_Home, 36},      {ImGuiKey_End, 35},
        {ImGuiKey_Delete, 46},   {ImGuiKey_Backspace, 8},  {ImGuiKey_Enter, 13},
        {ImGuiKey_Escape, 27},   {ImGuiKey_A, 65},         {ImGuiKey_C, 67},
        {ImGuiKey_V, 86},        {ImGuiKey_X, 88},         {ImGuiKey_Y, 89},
        {ImGuiKey_Z, 90}};
    for (const auto& key : keys) io.KeyMap[key[0]] = key[1];
    io.BackendRendererName = "cadenzio_gl";
    iniPath = iniFile;
    loadUiIniFile(iniPath.c_str());
    // Fixed at start-up: later window size changes do not reach the UI.
    io.DisplaySize = ImVec2(float(displayWidth), float(displayHeight));

    binding = new UiBinding;
    binding->displayWidth = displayWidth;
    binding->displayHeight = displayHeight;
    if (!createDeviceObjects()) {
        // The UI still runs its frames; it only draws nothing.
        io.Fonts->Build();
        return false;
    }
    return true;
}

void releaseUiBinding() {
    if (!binding) return;
    if (binding->fontSampler) glDeleteSamplers(1, &binding->fontSampler);
    if (binding->fontTexture) glDeleteTextures(1, &binding->fontTexture);
    releaseVertexArray(binding->vertexArray);
    releaseGlProgram(binding->program);
    delete binding;
    binding = nullptr;
    saveUiIniFile(iniPath.c_str());
    ImGui::DestroyContext();
}

void uiKeyEvent(int virtualKey, bool down) {
    if (!binding) return;
    ImGuiIO& io = ImGui::GetIO();
    if (virtualKey >= 0 && virtualKey < int(IM_ARRAYSIZE(io.KeysDown)))
        io.KeysDown[virtualKey] = down;
}

void uiTextInput(const char* utf8) {
    if (binding && utf8) ImGui::GetIO().AddInputCharactersUTF8(utf8);
}

void uiNewFrame(const UiFrameInput& input) {
    if (!binding) return;
    ImGuiIO& io = ImGui::GetIO();
    for (int i = 0; i < 3; ++i) io.MouseDown[i] = input.mouseDown[i];
    io.MouseWheel = input.wheel;
    io.MousePos = ImVec2(input.mouseX, input.mouseY);
    // The library refuses a zero or negative step; frames that fast still advance a little.
    io.DeltaTime = input.dt > 0 ? input.dt : 1e-6f;
    io.KeyCtrl = input.ctrl;
    io.KeyShift = input.shift;
    io.KeyAlt = input.alt;
    io.KeySuper = false;
    ImGui::NewFrame();
    saveUiIniFileWhenAsked(iniPath.c_str());
}

void uiRender() {
    if (!binding) return;
    ImGui::Render();
    renderDrawData(ImGui::GetDrawData());
}

bool uiAnimating() {
    if (ImGui::GetCurrentContext() == nullptr) return false;
    return ImGui::IsAnyItemActive() || ImGui::GetIO().WantTextInput;
}

void uiScissorBox(const UiClip& clip, const int viewport[4], int displayWidth, int displayHeight,
                  int box[4]) {
    // GL's scissor origin is the bottom-left corner.
    if (viewport[2] == displayWidth && viewport[3] == displayHeight) {
        // Unscaled: the rectangle as the library gives it, truncated.
        int x = int(clip.left), y = int(clip.top);
        int w = int(clip.right - clip.left), h = int(clip.bottom - clip.top);
        box[0] = viewport[0] + x;
        box[1] = viewport[1] + displayHeight - (y + h);
        box[2] = w;
        box[3] = h;
        return;
    }
    box[0] = viewport[0];
    box[1] = viewport[1];
    box[2] = box[3] = 0;
    if (clip.right <= clip.left || clip.bottom <= clip.top) return; // growing must not show it
    // Multiplied before dividing, so whole display units that land on whole pixels stay exact.
    auto scaled = [](float value, int shown, int display) {
        return double(value) * shown / (display > 0 ? display : 1);
    };
    int left = int(std::floor(scaled(clip.left, viewport[2], displayWidth)));
    int right = int(std::ceil(scaled(clip.right, viewport[2], displayWidth)));
    int top = int(std::floor(scaled(clip.top, viewport[3], displayHeight)));
    int bottom = int(std::ceil(scaled(clip.bottom, viewport[3], displayHeight)));
    box[0] += left;
    box[1] += viewport[3] - bottom;
    box[2] = right - left;
    box[3] = bottom - top;
}

void uiBufferCapacity(int& vertices, int& indices) {
    vertices = binding ? binding->vertexCapacity : 0;
    indices = binding ? binding->indexCapacity : 0;
}
