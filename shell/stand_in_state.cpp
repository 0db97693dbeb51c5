#include "shell/stand_in_state.h"

#include <imgui.h>

#include <algorithm>
#include <string>
#include <thread>

#include "app/app_context.h"
#include "platform/input.h"
#include "render/shapes.h"
#include "render/text.h"
#include "songs/song_loading.h"

namespace {

// Some of the demo songs in "Songs", one per digit key.
constexpr int demoSongCount = 5;
const char* const demoSongs[demoSongCount] = {
    "Songs/Beginner/Ode to Joy.mid", "Songs/Beginner/Greensleeves.mid",
    "Songs/Beginner/Twinkle Twinkle Little Star.fff", "Songs/Intermediate/Minuet in G.mid",
    "Songs/Advanced/Fur Elise.mid"};

// Loads on a loader thread and joins it, as the track setup page will.
void loadDemoSong(AppContext& app, const std::string& path) {
    std::thread loader([&app, path] {
        if (path.ends_with(".fff"))
            loadSongFile(app.song, app.songLock, path);
        else
            loadMidiSong(app.song, app.songLock, path);
    });
    loader.join();
}

} // namespace

void StandInState::enter() {
    const char* names[4] = {"NoteWhite.png", "NoteBlack.png", "FolderIcon.png", "TrackBox.png"};
    float x = 100;
    for (int i = 0; i < 4; ++i) {
        loadSprite(sprites[i], names[i]);
        sprites[i].x = x;
        sprites[i].y = 200;
        x += sprites[i].width + 40;
    }
}

int32_t StandInState::update(float dt) {
    seconds += dt;
    for (int i = 0; i < demoSongCount; ++i)
        if (application && keyPressed(input, Scan1 + i)) {
            loadDemoSong(*application, demoSongs[i]);
            application->playMode = 3; // watch and listen
            return GoToGame;
        }
    return keyPressed(input, ScanEscape) ? QuitProgram : StayInState;
}

void StandInState::render() {
    float right = 100, bottom = 200;
    for (Sprite& sprite : sprites) {
        drawSprite(sprite);
        right = std::max(right, sprite.x + sprite.width * sprite.scaleX);
        bottom = std::max(bottom, sprite.y + sprite.height * sprite.scaleY);
    }
    const Colour& frame = application ? application->palette[1] : Colour{0, 1, 0, 1};
    addRectangleOutline(80, 180, right + 20, bottom + 20, frame);
    drawText("Cadenzio", 100, 100, 48, Colour{1, 1, 1, 1});
    drawText("Press 1 to 5 to watch a demo song, Escape to quit.", 100, bottom + 40, 24,
             Colour{0.8f, 0.8f, 0.8f, 1});
    for (int i = 0; i < demoSongCount; ++i) {
        const std::string line = std::to_string(i + 1) + "  " + demoSongs[i];
        drawText(line.c_str(), 100, bottom + 80 + 30 * float(i), 24, Colour{0.8f, 0.8f, 0.8f, 1});
    }

    ImGui::SetNextWindowPos(ImVec2(1500, 100), ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowSize(ImVec2(300, 100), ImGuiCond_FirstUseEver);
    ImGui::Begin("Cadenzio");
    ImGui::Text("Running for %.1f s", static_cast<double>(seconds));
    ImGui::End();
}
