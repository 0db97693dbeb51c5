#pragma once
// The note data the demo songs are typed in, and its reading into timed notes of one hand.
//
// A hand's notes are tokens separated by spaces:
//   C4:q        a note: letter, optional # or b, octave (C4 is key 60), then its value
//   C3+G3:h     a chord
//   r:h         a rest
//   A4:h.~      a tie: the same key in the next token of this line continues this note
//   E5:e^       an accent: played louder than the notes around it
//   |           bar line; every bar but the first (a pickup) and the last must be full
//   ;           the next line of the same bar: it starts again at the bar line and sounds
//               together with the lines before it, as the voices of one staff do (a bass held
//               under moving notes); each line of a bar fills the same time as the first
//   @100        tempo from here on, quarter notes per minute (written in one hand only)
//   !p          dynamics from here on: pp p mp mf f ff, scaling the hand's own velocity, which
//               is its mf (so an accompaniment written softer stays softer)
//   !< !>       crescendo or diminuendo from here to the next dynamic mark
// Values: w h q e s (whole to sixteenth), a full stop after one adds half of it.
// A key may not sound twice at once within a hand.
#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t demoTicksPerQuarter = 480;

// One hand: one MIDI track.
struct Voice {
    const char* name; // MIDI track name
    uint8_t channel;
    uint8_t velocity; // the level until the first dynamic mark; downbeats a little louder
    const char* notes;
};

struct Piece {
    const char* title = "";  // the file name the song browser shows, without extension
    const char* folder = ""; // the level folder inside Songs
    uint32_t beatsPerBar = 4;
    uint32_t beatUnit = 4; // 4 counts quarter notes, 8 eighth notes
    int8_t sharps = 0;     // key signature: sharps above 0, flats below
    bool minor = false;
    bool conductorTrack = false; // time signature, key and tempo in a track of their own
    bool viaNotepress = false;   // shipped as the song file notepress makes of the MIDI file
    std::vector<Voice> voices = {};
};

struct NoteEvent {
    uint32_t start;
    uint32_t length; // the written value; the sounding length is a little shorter
    uint8_t key;
    uint8_t velocity;
    bool tiedOn; // continues into the next token of its line
};

struct TempoMark {
    uint32_t tick;
    double bpm;
};

struct ParsedVoice {
    std::vector<NoteEvent> notes; // by start, then by the order written
    std::vector<TempoMark> tempos;
    uint32_t end = 0;
};

// Reads one hand of the piece; throws std::runtime_error naming the bar of a fault.
ParsedVoice parseVoice(const Piece& piece, const Voice& voice);
