// The intermediate folder: keyboard pieces played as written, both hands.
#include "tools/demo_pieces.h"

// Minuet in G major from the notebook for Anna Magdalena Bach (BWV Anh. 114), with both repeats
// played; the first half answers itself piano on the repeat, and the last bars slow a little.
#define MINUET_A_RH                                                                                \
    "D5:q G4:e A4:e B4:e C5:e | D5:q G4:q G4:q | E5:q C5:e D5:e E5:e F#5:e | G5:q G4:q G4:q | "    \
    "C5:q D5:e C5:e B4:e A4:e | B4:q C5:e B4:e A4:e G4:e | F#4:q G4:e A4:e B4:e G4:e | A4:h. | "   \
    "D5:q G4:e A4:e B4:e C5:e | D5:q G4:q G4:q | E5:q C5:e D5:e E5:e F#5:e | G5:q G4:q G4:q | "    \
    "C5:q D5:e C5:e B4:e A4:e | B4:q C5:e B4:e A4:e G4:e | A4:q B4:e A4:e G4:e F#4:e | G4:h. | "
#define MINUET_A_LH                                                                                \
    "G3+B3+D4:h A3:q | B3:h. | C4:h. | B3:h. | A3:h. | G3:h. | D4:q B3:q G3:q | "                  \
    "D4:q D3:e C4:e B3:e A3:e | B3:h A3:q | G3:q B3:q G3:q | C4:h. | B3:q C4:e B3:e A3:e G3:e | "  \
    "A3:h F#3:q | G3:h B3:q | C4:q D4:q D3:q | G3:h G2:q | "
#define MINUET_B_RH                                                                                \
    "B5:q G5:e A5:e B5:e G5:e | A5:q D5:e E5:e F#5:e D5:e | G5:q E5:e F#5:e G5:e D5:e | "          \
    "C#5:q B4:e C#5:e A4:q | A4:e B4:e C#5:e D5:e E5:e F#5:e | G5:q F#5:q E5:q | "                 \
    "F#5:q A4:q C#5:q | D5:h. | D5:q G4:e F#4:e G4:q | E5:q G4:e F#4:e G4:q | D5:q C5:q B4:q | "   \
    "A4:e G4:e F#4:e G4:e A4:q | D4:e E4:e F#4:e G4:e A4:e B4:e | "
#define MINUET_B_LH                                                                                \
    "G3:h. | F#3:h. | E3:q G3:q E3:q | A3:h A2:q | A3:h. | B3:q D4:q C#4:q | D4:q F#3:q A3:q | "   \
    "D4:q D3:q C4:q | B3:h. | C4:h. | B3:q A3:q G3:q | D4:h. | B3:h. | "
const Piece& minuetInG() {
    static const Piece piece{
        .title = "Minuet in G",
        .folder = "Intermediate",
        .beatsPerBar = 3,
        .sharps = 1,
        .conductorTrack = true,
        .voices = {{"Right Hand", 0, 80,
                    "@112 !mf " MINUET_A_RH "!p " MINUET_A_RH "!mf " MINUET_B_RH
                    "C5:q B4:q A4:q | B4:e D5:e G4:q F#4:q | G4:h. | " MINUET_B_RH
                    "@104 C5:q B4:q A4:q | @96 B4:e D5:e G4:q F#4:q | @84 G4:h."},
                   {"Left Hand", 1, 68,
                    "!mf " MINUET_A_LH "!p " MINUET_A_LH "!mf " MINUET_B_LH
                    "C4:q D4:q D3:q | G3:h D3:q | G3:h. | " MINUET_B_LH
                    "C4:q D4:q D3:q | G3:h D3:q | G2+G3:h."}}};
    return piece;
}
#undef MINUET_A_RH
#undef MINUET_A_LH
#undef MINUET_B_RH
#undef MINUET_B_LH

// Johann Sebastian Bach, Prelude in C major from the first book of the Well-Tempered Clavier
// (BWV 846). Each bar is one broken chord played twice: the left hand holds its two notes as
// written (the bass for a half bar, the second note from the second sixteenth), the right hand
// plays the upper three. It grows towards the long dominant pedal and broadens at the end.
#define PRELUDE_RH(c, d, e)                                                                        \
    "r:e " c ":s " d ":s " e ":s " c ":s " d ":s " e ":s r:e " c ":s " d ":s " e ":s " c ":s " d   \
    ":s " e ":s | "
#define PRELUDE_LH(a, b) a ":h " a ":h ; r:s " b ":e.~ " b ":q r:s " b ":e.~ " b ":q | "
// clang-format off
const Piece& preludeInC() {
    static const Piece piece{
        .title = "Prelude in C",
        .folder = "Intermediate",
        .conductorTrack = true,
        .voices = {
            {"Right Hand", 0, 68,
             "@69 !p "
             PRELUDE_RH("G4", "C5", "E5")    //  1
             PRELUDE_RH("A4", "D5", "F5")    //  2
             PRELUDE_RH("G4", "D5", "F5")    //  3
             PRELUDE_RH("G4", "C5", "E5")    //  4
             PRELUDE_RH("A4", "E5", "A5")    //  5
             PRELUDE_RH("F#4", "A4", "D5")   //  6
             PRELUDE_RH("G4", "D5", "G5")    //  7
             PRELUDE_RH("E4", "G4", "C5")    //  8
             PRELUDE_RH("E4", "G4", "C5")    //  9
             PRELUDE_RH("D4", "F#4", "C5")   // 10
             PRELUDE_RH("D4", "G4", "B4")    // 11
             PRELUDE_RH("E4", "G4", "C#5")   // 12
             PRELUDE_RH("D4", "A4", "D5")    // 13
             PRELUDE_RH("D4", "F4", "B4")    // 14
             PRELUDE_RH("C4", "G4", "C5")    // 15
             PRELUDE_RH("A3", "C4", "F4")    // 16
             PRELUDE_RH("A3", "C4", "F4")    // 17
             PRELUDE_RH("G3", "B3", "F4")    // 18
             "!< " PRELUDE_RH("G3", "C4", "E4")  // 19
             PRELUDE_RH("Bb3", "C4", "E4")   // 20
             PRELUDE_RH("A3", "C4", "E4")    // 21
             PRELUDE_RH("A3", "C4", "Eb4")   // 22
             PRELUDE_RH("B3", "C4", "D4")    // 23
             "!mf " PRELUDE_RH("G3", "B3", "D4")  // 24
             PRELUDE_RH("G3", "C4", "E4")    // 25
             PRELUDE_RH("G3", "C4", "F4")    // 26
             PRELUDE_RH("G3", "B3", "F4")    // 27
             "!> " PRELUDE_RH("A3", "C4", "F#4")  // 28
             PRELUDE_RH("G3", "C4", "G4")    // 29
             PRELUDE_RH("G3", "C4", "F4")    // 30
             PRELUDE_RH("G3", "B3", "F4")    // 31
             "@66 !p " PRELUDE_RH("G3", "Bb3", "E4")  // 32
             "@63 r:e F3:s A3:s C4:s F4:s C4:s A3:s C4:s A3:s F3:s A3:s F3:s D3:s F3:s D3:s | "  // 33
             "@58 r:e G4:s B4:s D5:s F5:s D5:s B4:s D5:s B4:s G4:s B4:s D4:s F4:s E4:s D4:s | "  // 34
             "@40 E4+G4+C5:w"},                                                                  // 35
            {"Left Hand", 1, 72,
             "!p "
             PRELUDE_LH("C4", "E4")    //  1
             PRELUDE_LH("C4", "D4")    //  2
             PRELUDE_LH("B3", "D4")    //  3
             PRELUDE_LH("C4", "E4")    //  4
             PRELUDE_LH("C4", "E4")    //  5
             PRELUDE_LH("C4", "D4")    //  6
             PRELUDE_LH("B3", "D4")    //  7
             PRELUDE_LH("B3", "C4")    //  8
             PRELUDE_LH("A3", "C4")    //  9
             PRELUDE_LH("D3", "A3")    // 10
             PRELUDE_LH("G3", "B3")    // 11
             PRELUDE_LH("G3", "Bb3")   // 12
             PRELUDE_LH("F3", "A3")    // 13
             PRELUDE_LH("F3", "Ab3")   // 14
             PRELUDE_LH("E3", "G3")    // 15
             PRELUDE_LH("E3", "F3")    // 16
             PRELUDE_LH("D3", "F3")    // 17
             PRELUDE_LH("G2", "D3")    // 18
             "!< " PRELUDE_LH("C3", "E3")  // 19
             PRELUDE_LH("C3", "G3")    // 20
             PRELUDE_LH("F2", "F3")    // 21
             PRELUDE_LH("F#2", "C3")   // 22
             PRELUDE_LH("Ab2", "F3")   // 23
             "!mf " PRELUDE_LH("G2", "F3")  // 24
             PRELUDE_LH("G2", "E3")    // 25
             PRELUDE_LH("G2", "D3")    // 26
             PRELUDE_LH("G2", "D3")    // 27
             "!> " PRELUDE_LH("G2", "Eb3")  // 28
             PRELUDE_LH("G2", "E3")    // 29
             PRELUDE_LH("G2", "D3")    // 30
             PRELUDE_LH("G2", "D3")    // 31
             "!p C2:w~ ; r:s C3:e.~ C3:q r:s C3:e.~ C3:q | "  // 32
             "C2:w~ ; r:s C3:e.~ C3:h. | "                    // 33
             "C2:w~ ; r:s B2:e.~ B2:h. | "                    // 34
             "C2+C3:w"}}};                                    // 35
    return piece;
}
// clang-format on
#undef PRELUDE_RH
#undef PRELUDE_LH

// Erik Satie, Gymnopédie No. 1: the introduction and the first two phrases of the melody. The
// left hand's bass is held through the bar, as the pedal holds it, under the chord on the second
// beat; while the right hand holds its long F sharp, the left leaves that note of the chord to it.
#define GYMNO_G "G2:h. ; r:q B3+D4+F#4:h | "
#define GYMNO_D "D2:h. ; r:q A3+C#4+F#4:h | "
// clang-format off
const Piece& gymnopedie() {
    static const Piece piece{
        .title = "Gymnopedie No. 1",
        .folder = "Intermediate",
        .beatsPerBar = 3,
        .sharps = 2,
        .conductorTrack = true,
        .voices = {
            {"Right Hand", 0, 72,
             "@60 !p r:h. | r:h. | r:h. | r:h. | "                  //  1- 4
             "r:q F#5:q A5:q | G5:q F#5:q C#5:q | "                  //  5- 6
             "B4:q C#5:q D5:q | A4:h. | "                            //  7- 8
             "F#4:h.~ | F#4:h.~ | F#4:h.~ | F#4:h. | "               //  9-12
             "r:q F#5:q A5:q | G5:q F#5:q C#5:q | "                  // 13-14
             "B4:q C#5:q D5:q | !< A4:h. | "                         // 15-16
             "C#5:h. | !mp F#5:h. | "                                // 17-18
             "!> E5:h.~ | @56 E5:h.~ | @50 !p E5:h."},               // 19-21
            {"Left Hand", 1, 56,
             "!p " GYMNO_G GYMNO_D GYMNO_G GYMNO_D                   //  1- 4
             GYMNO_G GYMNO_D GYMNO_G GYMNO_D                         //  5- 8
             "G2:h. ; r:q B3+D4:h | D2:h. ; r:q A3+C#4:h | "         //  9-10
             "G2:h. ; r:q B3+D4:h | D2:h. ; r:q A3+C#4:h | "         // 11-12
             GYMNO_G GYMNO_D GYMNO_G "!< " GYMNO_D                   // 13-16
             GYMNO_G "!mp " GYMNO_D                                  // 17-18
             "!> " GYMNO_G GYMNO_D "!p G2:h. ; r:q B3+D4+F#4:h"}}};  // 19-21
    return piece;
}
// clang-format on
#undef GYMNO_G
#undef GYMNO_D
