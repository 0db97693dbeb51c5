// The advanced folder: faster figures, both hands moving.
#include "tools/demo_pieces.h"

// Ludwig van Beethoven, Bagatelle in A minor WoO 59 ("Für Elise"): the opening section with both
// its repeats, ending on the tonic. The left hand's broken chords are held to the end of the bar,
// as the pedal holds them.
#define ELISE_ARPEGGIO(a, b, c) a ":q. ; r:s " b ":e.~ " b ":e ; r:e " c ":q | "
#define ELISE_THEME_RH                                                                             \
    "E5:s D#5:s E5:s B4:s D5:s C5:s | A4:e r:s C4:s E4:s A4:s | B4:e r:s E4:s G#4:s B4:s | "       \
    "C5:e r:s E4:s E5:s D#5:s | E5:s D#5:s E5:s B4:s D5:s C5:s | "
#define ELISE_THEME_END_RH "A4:e r:s C4:s E4:s A4:s | B4:e r:s E4:s C5:s B4:s | "
#define ELISE_THEME_LH                                                                             \
    "r:q. | " ELISE_ARPEGGIO("A2", "E3", "A3") ELISE_ARPEGGIO("E2", "E3", "G#3")                   \
        ELISE_ARPEGGIO("A2", "E3", "A3") "r:q. | "
#define ELISE_THEME_END_LH ELISE_ARPEGGIO("A2", "E3", "A3") ELISE_ARPEGGIO("E2", "E3", "G#3")
#define ELISE_EPISODE_RH                                                                           \
    "!< E5:e. G4:s F5:s E5:s | D5:e. F4:s E5:s D5:s | C5:e. E4:s D5:s C5:s | "                     \
    "!mf B4:e r:s E4:s E5:s r:s | !> r:s E5:s E6:s r:s r:s D#5:s | E5:s r:s r:s D#5:s E5:s D#5:s " \
    "| "
#define ELISE_EPISODE_LH                                                                           \
    "!< " ELISE_ARPEGGIO("C3", "G3", "C4") ELISE_ARPEGGIO("G2", "G3", "B3")                        \
        ELISE_ARPEGGIO("A2", "E3", "A3") "!mf E2:s E3:s r:s r:e. | !> r:q. | r:q. | "
// clang-format off
const Piece& furElise() {
    static const Piece piece{
        .title = "Fur Elise",
        .folder = "Advanced",
        .beatsPerBar = 3,
        .beatUnit = 8,
        .minor = true,
        .conductorTrack = true,
        .voices = {
            {"Right Hand", 0, 76,
             "@60 !p E5:s D#5:s | "
             ELISE_THEME_RH ELISE_THEME_END_RH "A4:e r:e E5:s D#5:s | "      //  1- 8, first time
             ELISE_THEME_RH ELISE_THEME_END_RH "A4:e r:s B4:s C5:s D5:s | "  //  1- 8, second time
             ELISE_EPISODE_RH                                                 //  9-14
             "!p " ELISE_THEME_RH ELISE_THEME_END_RH "A4:e r:s B4:s C5:s D5:s | "  // 15-22
             ELISE_EPISODE_RH                                                 //  9-14 again
             "!p " ELISE_THEME_RH "@56 " ELISE_THEME_END_RH "@46 A4:q."},     // 15-22 again
            {"Left Hand", 1, 64,
             "!p r:e | "
             ELISE_THEME_LH ELISE_THEME_END_LH ELISE_ARPEGGIO("A2", "E3", "A3")
             ELISE_THEME_LH ELISE_THEME_END_LH ELISE_ARPEGGIO("A2", "E3", "A3")
             ELISE_EPISODE_LH
             "!p " ELISE_THEME_LH ELISE_THEME_END_LH ELISE_ARPEGGIO("A2", "E3", "A3")
             ELISE_EPISODE_LH
             "!p " ELISE_THEME_LH ELISE_THEME_END_LH "A2:q. ; r:s E3:e.~ E3:e ; r:e A3:q"}}};
    return piece;
}
// clang-format on
#undef ELISE_ARPEGGIO
#undef ELISE_THEME_RH
#undef ELISE_THEME_END_RH
#undef ELISE_THEME_LH
#undef ELISE_THEME_END_LH
#undef ELISE_EPISODE_RH
#undef ELISE_EPISODE_LH

// Johann Pachelbel, Canon in D, in a simple setting: the two-bar ground in the left hand (alone,
// then with fifths, then in octaves), and above it the violins' first lines in turn: quarters, the
// same in thirds, then eighths and sixteenths. It grows to forte and slows into the last chord.
#define CANON_BASS "D3:q A2:q B2:q F#2:q | G2:q D2:q G2:q A2:q | "
#define CANON_FIFTHS "D3+A3:q A2+E3:q B2+F#3:q F#2+C#3:q | G2+D3:q D2+A2:q G2+D3:q A2+E3:q | "
#define CANON_OCTAVES "D2+D3:q A1+A2:q B1+B2:q F#1+F#2:q | G1+G2:q D2+D3:q G1+G2:q A1+A2:q | "
#define CANON_THIRDS "F#5+D5:q E5+C#5:q D5+B4:q C#5+A4:q | B4+G4:q A4+F#4:q B4+G4:q C#5+E4:q | "
// clang-format off
const Piece& canonInD() {
    static const Piece piece{
        .title = "Canon in D",
        .folder = "Advanced",
        .sharps = 2,
        .conductorTrack = true,
        .voices = {
            {"Right Hand", 0, 76,
             "@54 !p r:w | r:w | "                                                     //  1- 2
             "F#5:q E5:q D5:q C#5:q | B4:q A4:q B4:q C#5:q | "                         //  3- 4
             "!mp " CANON_THIRDS                                                       //  5- 6
             "!< D4:e F#4:e A4:e G4:e F#4:e D4:e F#4:e E4:e | "                        //  7
             "D4:e B3:e D4:e A4:e G4:e B4:e A4:e G4:e | "                              //  8
             "!mf F#4:e D4:e E4:e C#5:e D5:e F#5:e A5:e A4:e | "                       //  9
             "B4:e G4:e A4:e F#4:e D4:e D5:e D5:e. C#5:s | "                           // 10
             "!< D5:s C#5:s D5:s D4:s C#4:s A4:s E4:s F#4:s "
             "D4:s D5:s C#5:s B4:s C#5:s F#5:s A5:s B5:s | "                           // 11
             "G5:s F#5:s E5:s G5:s F#5:s E5:s D5:s C#5:s "
             "B4:s A4:s G4:s F#4:s E4:s G4:s F#4:s E4:s | "                            // 12
             "!f " CANON_THIRDS                                                        // 13-14
             "D5:e F#5:e A5:e G5:e F#5:e D5:e F#5:e E5:e | "                           // 15
             "@50 D5:e B4:e D5:e A5:e @46 G5:e B5:e A5:e G5:e | "                      // 16
             "@40 D5+F#5+A5:w"},                                                       // 17
            {"Left Hand", 1, 64,
             "!p " CANON_BASS CANON_BASS "!mp " CANON_BASS                             //  1- 6
             "!< " CANON_FIFTHS "!mf " CANON_FIFTHS "!< " CANON_FIFTHS                 //  7-12
             "!f " CANON_OCTAVES CANON_OCTAVES                                         // 13-16
             "D2+D3:w"}}};                                                             // 17
    return piece;
}
// clang-format on
#undef CANON_BASS
#undef CANON_FIFTHS
#undef CANON_OCTAVES
#undef CANON_THIRDS
