#pragma once
// What the player sounds, kept where both the MIDI input's thread and the frame reach it
// (player_sound.h sounds through it).
#include <atomic>
#include <cstdint>

// How the input's thread sounds a note-on, as the page or play that reads the input last asked:
// not at all (no reader; releases still end their notes), as the menu does (velocity capped at
// 127) or as the play does (scaled by the input volume).
enum InputRoute : uint8_t { InputSilent = 0, InputMenu = 1, InputGame = 2 };

// What a message from the instrument was sounded with, for the frame that takes it later.
struct SoundedWith {
    int8_t transposition = 0;
    uint16_t releases = 0; // PlayedNotes::releases when it sounded
};

struct PlayedNotes {
    // Published by the frame for the input's thread.
    std::atomic<uint8_t> route{InputMenu};
    std::atomic<float> inputVolume{2.0f};
    // The rest under the sound state's sendLock. The transposition notes are sounded with; it
    // changes only together with a release of everything held (forgetPlayedNotes).
    int8_t transposition = 0;
    // Counts forgetPlayedNotes, so that the frame can tell a note sounded before the last one.
    uint16_t releases = 0;
    // The player's note-ons of each sounding key and channel not yet released, from both the
    // instrument and the computer keyboard, so that a release stops each on its own channel.
    uint8_t holds[128][16] = {};
    // Per key and channel as the instrument sent them: the key its unreleased note-ons sounded
    // on, so that their note-offs go there whatever the transposition has become. A silenced
    // note keeps its key (stopped), for its note-off to end the key's colour.
    struct Struck {
        int8_t key = -1;
        uint8_t count = 0;
        bool stopped = false;
    };
    Struck struck[128][16];
};

// With sendLock held: after everything was silenced, nothing the player held still sounds.
void playedNotesSilenced(PlayedNotes& played);
