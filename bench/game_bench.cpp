// The play's CPU time per frame on a dense song, and its seek in a song of a million notes.
// Nothing here touches GL: the frame's sprites go through the sprite batch into a target that
// only copies the vertices out, so a software rasteriser's work never enters the figures.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/app_context.h"
#include "copying_sprite_target.h"
#include "game/game_state.h"
#include "game/hud.h"
#include "game/note_sprite.h"
#include "piano/keyboard_view.h"
#include "platform/input.h"
#include "render/sprite_batch.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/texture_registry.h"
#include "render/texture_source.h"
#include "sound/sound_output.h"

namespace {

constexpr float frameStep = 1.0f / 60;

struct Play {
    AppContext app;
    KeyboardView view;
    std::unique_ptr<GameState> game;
};

// Textures decoded from the runtime folder but never uploaded.
void startRegistry() {
    static bool started = false;
    if (started) return;
    started = true;
    TextureSource source = pngTextureSource();
    source.upload = [](const RgbaImage& image) { return GpuTexture{1, image.width, image.height}; };
    setTextureSource(source);
    createTextureRegistry(CADENZIO_SOURCE_DIR "/runtime/Data/Textures");
}

// tracks x notesPerTrack notes, each track starting a note every spacing seconds, keys 21 to 108.
std::unique_ptr<Play> makePlay(uint32_t tracks, uint32_t notesPerTrack, double spacing,
                               double duration) {
    startRegistry();
    auto play = std::make_unique<Play>();
    AppContext& app = play->app;
    app.palette = defaultPalette();
    app.playMode = PlayMode::WatchAndListen;
    app.sound.inputDevices.assign(1, InputDeviceRecord{});
    app.sound.output =
        std::make_unique<SoundOutputMidi>(MidiSend(), app.sound.counts); // counts, sends nothing
    app.sound.soundMessage.assign(3, 0);
    initialiseKeyboardView(play->view, 1920, 1080);
    app.keyboardView = &play->view;
    app.noteSprite = new FancyNoteSprite();
    app.noteSprite->loadTextures();
    app.song.tracks.resize(tracks);
    for (uint32_t t = 0; t < tracks; ++t) {
        Track& track = app.song.tracks[t];
        track.number = t;
        track.colour = t % 5 + 1;
        track.notes.resize(notesPerTrack);
        for (uint32_t i = 0; i < notesPerTrack; ++i) {
            Note& n = track.notes[i];
            n.start = double(i) * spacing + double(t) * spacing / tracks;
            n.duration = duration;
            n.key = uint8_t(21 + (i * 7 + t * 11) % 88);
            n.velocity = 80;
            n.channel = uint8_t(t % 16);
        }
        track.lowestKey = 21;
        track.highestKey = 108;
        track.length = float(track.notes.back().start + duration);
    }
    play->game = std::make_unique<GameState>(app, 1920, 1080);
    play->game->enter();
    return play;
}

void emptyQueues() {
    spritePass(1920, 1080); // no sprite pass was made: this only empties the queues
    textPass(1920, 1080);
}

// Keeps the dense part of the song on screen: back to 5 s when the end comes near.
void stayInTheSong(Play& play) {
    GameState& game = *play.game;
    if (game.songTime < 5 || game.songTime > game.songLength - 3) {
        game.seek(5.0f);
        for (int i = 0; i < 150; ++i) game.update(frameStep);
    }
}

// About 10,000 notes listed at once: 10 tracks, a note every 2 ms each, 0.2 s long.
std::unique_ptr<Play> densePlay() {
    return makePlay(10, 15000, 0.002, 0.2);
}

void reportNotes(benchmark::State& state, Play& play) {
    state.counters["notes_on_screen"] = double(screenNoteCount(play.app.song.tracks));
}

// Times a play's update and render, with prepare run untimed before each frame.
template <typename Prepare>
void timePlayFrames(benchmark::State& state, Play& play, Prepare prepare) {
    input = InputDevices{};
    size_t sprites = 0;
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
        play.game->update(frameStep);
        play.game->render();
        state.PauseTiming();
        sprites = spriteQueue().size();
        state.ResumeTiming();
    }
    reportNotes(state, play);
    state.counters["sprites"] = double(sprites);
    emptyQueues();
}

void BM_PlayFrameUpdateAndRenderQueueing(benchmark::State& state) {
    auto play = densePlay();
    timePlayFrames(state, *play, [&] {
        stayInTheSong(*play);
        emptyQueues();
    });
}

void BM_PlayFrameSpriteBatchVertices(benchmark::State& state) {
    auto play = densePlay();
    input = InputDevices{};
    std::vector<SpriteVertex> uploaded;
    SpriteBatch batch(copyingSpriteTarget(uploaded));
    batch.setViewport(1920, 1080);
    size_t sprites = 0;
    for (auto _ : state) {
        state.PauseTiming();
        stayInTheSong(*play);
        emptyQueues();
        play->game->update(frameStep);
        play->game->render();
        sprites = spriteQueue().size();
        state.ResumeTiming();
        batch.Begin(SpriteSortMode::Deferred, BlendState::NonPremultiplied);
        for (const SpriteCommand& command : spriteQueue()) {
            const TextureEntry* entry = textureEntry(command.textureIndex);
            if (!entry) continue;
            // The sprite pass's own loop.
            batch.Draw(&entryImage(*entry), command.destination, &entry->source, command.colour,
                       command.rotation, 0, 0, SpriteEffectsNone, 0);
        }
        batch.End();
    }
    reportNotes(state, *play);
    state.counters["sprites"] = double(sprites);
    emptyQueues();
}

// 200,000 notes within 0.4 s (20 tracks, a note every 40 us each): the whole burst on screen at
// once, thousands of notes on the same pixels of one key.
void BM_PlayFrameOfABurst(benchmark::State& state) {
    auto play = makePlay(20, 10000, 0.00004, 0.1);
    timePlayFrames(state, *play, [&] {
        emptyQueues();
        play->game->seek(0.2f);
    });
}

void BM_SeekInAMillionNotes(benchmark::State& state) {
    const uint32_t tracks = uint32_t(state.range(0));
    auto play = makePlay(tracks, 1000000 / tracks, 0.001 * tracks, 0.1);
    uint32_t step = 0;
    for (auto _ : state) {
        // Spread over the song so every probe path is taken.
        const float t = float((step++ * 7919u) % 1000u);
        play->game->seek(t);
    }
    benchmark::DoNotOptimize(play->app.song.tracks[0].cursor);
}

BENCHMARK(BM_PlayFrameUpdateAndRenderQueueing)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PlayFrameSpriteBatchVertices)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PlayFrameOfABurst)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SeekInAMillionNotes)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
