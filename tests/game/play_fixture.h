#pragma once
// A play without a window: the real keyboard view and note drawer over textures that are decoded
// but never uploaded, a MIDI output whose messages are recorded, and the input snapshots and the
// frame step chosen by the test.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "game/game_state.h"
#include "game/note_sprite.h"
#include "piano/keyboard_view.h"
#include "platform/input.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/text_queue.h"
#include "render/texture_registry.h"
#include "render/texture_source.h"
#include "sound/sound_output.h"

namespace playtest {

constexpr float frameStep = 1.0f / 60;

struct Sent {
    std::vector<uint8_t> message;
    double songTime = 0; // the clock when it was sent
    size_t frame = 0;
};

inline Note note(double start, double duration, uint8_t key, uint8_t channel = 0,
                 uint8_t velocity = 100) {
    Note n;
    n.start = start;
    n.duration = duration;
    n.key = key;
    n.channel = channel;
    n.velocity = velocity;
    return n;
}

// The registry on the program's own textures, decoded at their real sizes but never uploaded.
inline void useTexturesWithoutGpu() {
    TextureSource source = pngTextureSource();
    source.upload = [](const RgbaImage& image) { return GpuTexture{1, image.width, image.height}; };
    source.release = [](GpuTexture&) {};
    setTextureSource(source);
    createTextureRegistry(CADENZIO_SOURCE_DIR "/runtime/Data/Textures");
}

class PlayFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        useTexturesWithoutGpu();
        app.palette = defaultPalette();
        initialiseKeyboardView(view, 1920, 1080);
        app.keyboardView = &view;
        app.noteSprite = new FancyNoteSprite();
        app.noteSprite->loadTextures();
        app.sound.inputDevices.assign(1, InputDeviceRecord{});
        app.sound.output = std::make_unique<SoundOutputMidi>(
            [this](const std::vector<uint8_t>& message) {
                sent.push_back({message, game ? game->songTime : 0, frames});
            },
            app.sound.counts);
        app.sound.soundMessage.assign(3, 0);
        input = InputDevices{};
    }

    void TearDown() override {
        game.reset();
        delete app.noteSprite;
        app.noteSprite = nullptr;
        app.sound.output.reset();
        emptyQueues();
        releaseTextureRegistry();
        setTextureSource(pngTextureSource());
        input = InputDevices{};
    }

    static void emptyQueues() {
        spritePass(1920, 1080); // without a sprite pass these only empty the queues
        textPass(1920, 1080);
    }

    Track& addTrack(PlayType type, uint32_t colour, std::vector<Note> notes, float length = 0) {
        Track track;
        track.number = uint32_t(app.song.tracks.size());
        track.colour = colour;
        track.playType = type;
        track.notes = std::move(notes);
        for (const Note& n : track.notes) {
            track.lowestKey = std::min(track.lowestKey, n.key);
            track.highestKey = std::max(track.highestKey, n.key);
            length = std::max(length, float(n.start + n.duration));
        }
        track.length = length;
        app.song.tracks.push_back(std::move(track));
        return app.song.tracks.back();
    }

    // playMode as the play keeps it, 0 to 3 (or a value outside them).
    void start(int32_t playMode = 3) {
        app.playMode = static_cast<PlayMode>(playMode);
        game = std::make_unique<GameState>(app, 1920, 1080);
        game->enter();
    }

    // The input snapshots of a new frame: keys is what is held now, the first mouse button is down
    // while leftButton is set, and the wheel turns by wheel for this frame only; the previous
    // frame's snapshots become the old ones.
    void nextSnapshots(std::initializer_list<uint8_t> keys) {
        std::memcpy(input.previousKeys, input.keys, sizeof input.keys);
        std::memset(input.keys, 0, sizeof input.keys);
        for (uint8_t key : keys) input.keys[key] = 0x80;
        input.previousMouse = input.mouse;
        input.mouse.buttons[0] = leftButton ? 0x80 : 0;
        input.mouse.wheel = wheel;
        wheel = 0;
    }

    // One frame of the play with these snapshots.
    int32_t frame(std::initializer_list<uint8_t> keys = {}, float dt = frameStep) {
        nextSnapshots(keys);
        ++frames;
        return game->update(dt);
    }
    void run(int count, std::initializer_list<uint8_t> keys = {}, float dt = frameStep) {
        for (int i = 0; i < count; ++i) frame(keys, dt);
    }

    // The note-ons sent, as keys in order.
    std::vector<uint8_t> startedKeys() const {
        std::vector<uint8_t> keys;
        for (const Sent& s : sent)
            if ((s.message[0] & 0xF0) == 0x90) keys.push_back(s.message[1]);
        return keys;
    }
    bool anyNoteSounding() const {
        for (const auto& key : app.sound.counts.activeCounts)
            for (uint16_t count : key)
                if (count != 0) return true;
        return false;
    }

    AppContext app;
    KeyboardView view;
    std::unique_ptr<GameState> game;
    std::vector<Sent> sent;
    size_t frames = 0;
    bool leftButton = false;
    int32_t wheel = 0;
};

} // namespace playtest
