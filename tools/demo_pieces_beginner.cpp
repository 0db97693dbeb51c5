// The beginner folder: folk tunes and well-known melodies over simple left hands.
#include "tools/demo_pieces.h"

// French folk song, sung as a round: the left hand enters two bars after the right, an octave
// lower, and each hand sings it twice.
#define FRERE_JACQUES(o, l)                                                                        \
    "C" o ":q D" o ":q E" o ":q C" o ":q | C" o ":q D" o ":q E" o ":q C" o ":q | "                 \
    "E" o ":q F" o ":q G" o ":h | E" o ":q F" o ":q G" o ":h | "                                   \
    "G" o ":e A" o ":e G" o ":e F" o ":e E" o ":q C" o ":q | "                                     \
    "G" o ":e A" o ":e G" o ":e F" o ":e E" o ":q C" o ":q | "                                     \
    "C" o ":q G" l ":q C" o ":h | C" o ":q G" l ":q C" o ":h"
const Piece& frereJacques() {
    static const Piece piece{
        .title = "Frere Jacques",
        .folder = "Beginner",
        .voices = {{"Right Hand", 0, 80,
                    "@108 " FRERE_JACQUES("4", "3") " | " FRERE_JACQUES("4", "3") " | r:w | r:w"},
                   {"Left Hand", 1, 72,
                    "r:w | r:w | " FRERE_JACQUES("3", "2") " | " FRERE_JACQUES("3", "2")}}};
    return piece;
}
#undef FRERE_JACQUES

// English folk tune of the sixteenth century, in A minor; it slows a little at the end of the
// verse and comes to a broad close.
const Piece& greensleeves() {
    static const Piece piece{
        .title = "Greensleeves",
        .folder = "Beginner",
        .beatsPerBar = 3,
        .minor = true,
        .conductorTrack = true,
        .voices = {
            {"Melody", 0, 76,
             "@100 A4:q | C5:h D5:q | E5:q. F5:e E5:q | D5:h B4:q | G4:q. A4:e B4:q | C5:h A4:q | "
             "A4:q. G#4:e A4:q | B4:h G#4:q | E4:h A4:q | C5:h D5:q | E5:q. F5:e E5:q | D5:h B4:q "
             "| "
             "G4:q. A4:e B4:q | C5:q. B4:e A4:q | @96 G#4:q. @92 F#4:e @88 G#4:q | @84 A4:h.~ | "
             "A4:h. | @100 G5:h. | G5:q. F#5:e E5:q | D5:h B4:q | G4:q. A4:e B4:q | C5:h A4:q | "
             "A4:q. G#4:e A4:q | B4:h G#4:q | E4:h. | G5:h. | G5:q. F#5:e E5:q | D5:h B4:q | "
             "G4:q. A4:e B4:q | @96 C5:q. @92 B4:e @88 A4:q | @82 G#4:q. @76 F#4:e @70 G#4:q | "
             "@64 A4:h.~ | A4:h."}}};
    return piece;
}

// French folk melody ("Ah ! vous dirai-je, maman"), with left-hand fifths and sixths on the
// tonic, subdominant and dominant.
const Piece& twinkle() {
    static const Piece piece{
        .title = "Twinkle Twinkle Little Star",
        .folder = "Beginner",
        .viaNotepress = true,
        .voices = {{"Right Hand", 0, 80,
                    "@90 C4:q C4:q G4:q G4:q | A4:q A4:q G4:h | F4:q F4:q E4:q E4:q | "
                    "D4:q D4:q C4:h | G4:q G4:q F4:q F4:q | E4:q E4:q D4:h | "
                    "G4:q G4:q F4:q F4:q | E4:q E4:q D4:h | C4:q C4:q G4:q G4:q | "
                    "A4:q A4:q G4:h | F4:q F4:q E4:q E4:q | D4:q D4:q C4:h"},
                   {"Left Hand", 1, 64,
                    "C3+G3:w | F3+A3:h C3+G3:h | F3+A3:h C3+G3:h | G3+B3:h C3+G3:h | "
                    "C3+G3:h F3+A3:h | C3+G3:h G3+B3:h | C3+G3:h F3+A3:h | C3+G3:h G3+B3:h | "
                    "C3+G3:w | F3+A3:h C3+G3:h | F3+A3:h C3+G3:h | G3+B3:h C3+G3:h"}}};
    return piece;
}

// Ludwig van Beethoven, Symphony No. 9, finale: the theme in its own key of D major, twice. The
// left hand holds fifths the first time and walks in quarters the second; the second time swells
// to forte and broadens at the close.
#define ODE_A "F#4:q F#4:q G4:q A4:q | A4:q G4:q F#4:q E4:q | D4:q D4:q E4:q F#4:q | "
#define ODE_B                                                                                      \
    "E4:q E4:q F#4:q D4:q | E4:q F#4:e G4:e F#4:q D4:q | E4:q F#4:e G4:e F#4:q E4:q | "            \
    "D4:q E4:q A3:h | "
const Piece& odeToJoy() {
    static const Piece piece{
        .title = "Ode to Joy",
        .folder = "Beginner",
        .sharps = 2,
        .conductorTrack = true,
        .voices = {{"Right Hand", 0, 80,
                    "@100 !mp " ODE_A "F#4:q. E4:e E4:h | " ODE_A "E4:q. D4:e D4:h | "
                    "!mf " ODE_B "!mp " ODE_A "E4:q. D4:e D4:h | "
                    "!mf " ODE_A "F#4:q. E4:e E4:h | " ODE_A "E4:q. D4:e D4:h | "
                    "!< " ODE_B "!f F#4:q F#4:q G4:q A4:q | A4:q G4:q F#4:q E4:q | "
                    "@92 D4:q D4:q E4:q F#4:q | @84 E4:q. @76 D4:e @60 D4:h"},
                   {"Left Hand", 1, 68,
                    "!mp D3+A3:w | D3+A3:h A2+E3:h | D3+A3:w | D3+A3:h A2+E3:h | "
                    "D3+A3:w | D3+A3:h A2+E3:h | D3+A3:w | A2+E3:h D3+A3:h | "
                    "!mf A2+E3:h D3+A3:h | A2+E3:h D3+A3:h | A2+E3:h D3+A3:q A2+E3:q | "
                    "D3+A3:h A2+E3:h | "
                    "!mp D3+A3:w | D3+A3:h A2+E3:h | D3+A3:w | A2+E3:h D3+A3:h | "
                    "!mf D3:q A3:q F#3:q A3:q | D3:q A3:q A2:q E3:q | D3:q A3:q F#3:q A3:q | "
                    "D3:q A3:q A2:q E3:q | D3:q A3:q F#3:q A3:q | D3:q A3:q A2:q E3:q | "
                    "D3:q A3:q F#3:q A3:q | A2:q E3:q D3:q A3:q | "
                    "!< A2:q E3:q D3:q A3:q | A2:q E3:q D3:q A3:q | A2:q E3:q D3:q A2:q | "
                    "D3:q A3:q A2:q E3:q | "
                    "!f D3:q A3:q F#3:q A3:q | D3:q A3:q A2:q E3:q | D3:q A3:q F#3:q A3:q | "
                    "A2:q E3:q D3+A3:h"}}};
    return piece;
}
#undef ODE_A
#undef ODE_B

// Franz Xaver Gruber, "Stille Nacht", in C major: two verses, the first over held fifths, the
// second over a rocking left hand; it swells in the middle of the second verse and slows at the
// end.
#define SILENT_NIGHT                                                                               \
    "G4:q. A4:e G4:q | E4:h. | G4:q. A4:e G4:q | E4:h. | D5:h D5:q | B4:h. | C5:h C5:q | "         \
    "G4:h. | A4:h A4:q | C5:q. B4:e A4:q | G4:q. A4:e G4:q | E4:h. | "
#define ROCK_C "C3:e G3:e C4:e G3:e E3:e G3:e | "
#define ROCK_F "F2:e C3:e F3:e C3:e A2:e C3:e | "
#define ROCK_G "G2:e D3:e G3:e D3:e B2:e D3:e | "
#define ROCK_G7 "G2:e D3:e G3:e D3:e F3:e D3:e | "
const Piece& silentNight() {
    static const Piece piece{
        .title = "Silent Night",
        .folder = "Beginner",
        .beatsPerBar = 6,
        .beatUnit = 8,
        .conductorTrack = true,
        .voices = {
            {"Right Hand", 0, 80,
             "@80 !p " SILENT_NIGHT "A4:h A4:q | C5:q. B4:e A4:q | G4:q. A4:e G4:q | E4:h. | "
             "D5:h D5:q | F5:q. D5:e B4:q | C5:h. | E5:h. | C5:q. G4:e E4:q | G4:q. F4:e D4:q | "
             "C4:h.~ | C4:h. | "
             "!mp " SILENT_NIGHT "!< A4:h A4:q | C5:q. B4:e A4:q | G4:q. A4:e G4:q | E4:h. | "
             "!mf D5:h D5:q | F5:q. D5:e B4:q | C5:h. | E5:h. | !> C5:q. G4:e E4:q | "
             "@74 G4:q. F4:e D4:q | @66 !p C4:h.~ | @56 C4:h."},
            {"Left Hand", 1, 64,
             "!p C3+G3:h.~ | C3+G3:h. | C3+G3:h.~ | C3+G3:h. | G2+F3:h. | G2+D3:h. | "
             "C3+G3:h.~ | C3+G3:h. | F2+C3:h.~ | F2+C3:h. | C3+G3:h.~ | C3+G3:h. | "
             "F2+C3:h.~ | F2+C3:h. | C3+G3:h.~ | C3+G3:h. | G2+F3:h.~ | G2+F3:h. | "
             "C3+G3:h.~ | C3+G3:h. | C3+G3:h. | G2+F3:h. | C3+G3:h.~ | C3+G3:h. | "
             "!mp " ROCK_C ROCK_C ROCK_C ROCK_C ROCK_G7 ROCK_G ROCK_C ROCK_C ROCK_F ROCK_F ROCK_C
                 ROCK_C "!< " ROCK_F ROCK_F ROCK_C ROCK_C "!mf " ROCK_G7 ROCK_G7 ROCK_C ROCK_C
             "!> " ROCK_C ROCK_G7 "!p C3+G3:h.~ | C3+G3:h."}}};
    return piece;
}
#undef SILENT_NIGHT
#undef ROCK_C
#undef ROCK_F
#undef ROCK_G
#undef ROCK_G7

// James Lord Pierpont, "Jingle Bells", in C major: the verse over held fifths, then the chorus
// twice over a walking left hand, the second time louder and slowing into the last bar.
#define JINGLE_CHORUS_A                                                                            \
    "E5:q E5:q E5:h | E5:q E5:q E5:h | E5:q G5:q C5:q. D5:e | E5:w | F5:q F5:q F5:q. F5:e | "      \
    "F5:q E5:q E5:q E5:e E5:e | "
#define WALK_C "C3:q G3:q E3:q G3:q | "
#define WALK_F "F2:q C3:q A2:q C3:q | "
#define WALK_D7 "D3:q A3:q F#3:q A3:q | "
#define WALK_G7 "G2:q D3:q F3:q D3:q | "
#define JINGLE_CHORUS_LH                                                                           \
    WALK_C WALK_C WALK_C WALK_C WALK_F WALK_C WALK_D7 WALK_G7 WALK_C WALK_C WALK_C WALK_C WALK_F   \
        WALK_C WALK_G7
const Piece& jingleBells() {
    static const Piece piece{
        .title = "Jingle Bells",
        .folder = "Beginner",
        .conductorTrack = true,
        .voices = {
            {"Right Hand", 0, 80,
             "@112 !mp G4:q E5:q D5:q C5:q | G4:h. G4:e G4:e | G4:q E5:q D5:q C5:q | A4:w | "
             "A4:q F5:q E5:q D5:q | B4:w | G5:q G5:q F5:q D5:q | E5:w | G4:q E5:q D5:q C5:q | "
             "G4:w | G4:q E5:q D5:q C5:q | A4:h. A4:q | A4:q F5:q E5:q D5:q | "
             "G5:q G5:q G5:q G5:q | A5:q G5:q F5:q D5:q | C5:h. r:q | "
             "!mf " JINGLE_CHORUS_A "E5:q D5:q D5:q E5:q | D5:h G5:h | " JINGLE_CHORUS_A
             "G5:q G5:q F5:q D5:q | C5:w | "
             "!f " JINGLE_CHORUS_A "E5:q D5:q D5:q E5:q | D5:h G5:h | " JINGLE_CHORUS_A
             "@100 G5:q G5:q @88 F5:q D5:q | @72 C5:w"},
            {"Left Hand", 1, 64,
             "!mp C3+G3:w | C3+G3:w | C3+G3:w | F2+C3:w | F2+C3:w | G2+D3:w | G2+F3:w | C3+G3:w | "
             "C3+G3:w | C3+G3:w | C3+G3:w | F2+C3:w | D3+A3:w | G2+D3:w | G2+F3:w | C3+G3:w | "
             "!mf " JINGLE_CHORUS_LH WALK_C "!f " JINGLE_CHORUS_LH "C3+G3:w"}}};
    return piece;
}
#undef JINGLE_CHORUS_A
#undef JINGLE_CHORUS_LH
#undef WALK_C
#undef WALK_F
#undef WALK_D7
#undef WALK_G7
