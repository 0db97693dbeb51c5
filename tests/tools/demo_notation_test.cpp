// The notation the demo pieces are typed in: what a hand's text becomes, and the slips it refuses.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "tools/demo_notation.h"

namespace {

constexpr uint32_t q = demoTicksPerQuarter;

Piece pieceIn(uint32_t beats, uint32_t unit) {
    Piece piece;
    piece.title = "Test";
    piece.beatsPerBar = beats;
    piece.beatUnit = unit;
    return piece;
}

ParsedVoice parse(const char* notes, uint32_t beats = 4, uint32_t unit = 4) {
    const Piece piece = pieceIn(beats, unit);
    return parseVoice(piece, {"Hand", 0, 60, notes});
}

// The message of the fault parsing notes throws, or "" when it parses.
std::string fault(const char* notes, uint32_t beats = 4, uint32_t unit = 4) {
    try {
        parse(notes, beats, unit);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

} // namespace

// A held bass under moving notes: each line of a bar restarts at the bar line, ties run on within
// a line, and the hand's notes come out in time order.
TEST(DemoNotation, LinesOfABarSoundTogether) {
    const ParsedVoice v = parse("C3:w~ ; r:s E3:e.~ E3:q r:s E3:e.~ E3:q | C3:h G3:h ; r:h B3:h");
    ASSERT_EQ(v.notes.size(), 5u);
    EXPECT_EQ(v.notes[0].key, 48);
    EXPECT_EQ(v.notes[0].length, 6 * q); // tied into the second bar
    EXPECT_EQ(v.notes[1].key, 52);
    EXPECT_EQ(v.notes[1].start, q / 4);
    EXPECT_EQ(v.notes[1].length, q / 4 * 7);
    EXPECT_EQ(v.notes[2].start, 2 * q + q / 4);
    EXPECT_EQ(v.notes[3].key, 55);
    EXPECT_EQ(v.notes[3].start, 6 * q);
    EXPECT_EQ(v.notes[4].key, 59);
    EXPECT_EQ(v.notes[4].start, 6 * q);
    EXPECT_EQ(v.end, 8 * q);
}

TEST(DemoNotation, BarsFitTheirMetre) {
    // Three eighths a bar, after a pickup of one.
    const ParsedVoice v = parse("E5:s D#5:s | E5:s D#5:s E5:s B4:s D5:s C5:s | A4:q.", 3, 8);
    EXPECT_EQ(v.notes.back().start, q / 2 + 3 * q / 2);
    EXPECT_EQ(v.end, q / 2 + 3 * q);

    EXPECT_NE(fault("C4:q | C4:h | C4:w", 4, 4).find("bar 2: bar of 960 ticks"), std::string::npos);
    EXPECT_NE(fault("C4:w ; C3:h | C4:w").find("bar 1: line 2 of 960 ticks"), std::string::npos);
    EXPECT_NE(fault("C4:w | C4:w C4:q").find("last bar too long"), std::string::npos);
}

TEST(DemoNotation, RefusesSlipsThatWouldNotPlay) {
    // A tie into a line the next bar leaves silent, or into a different key.
    EXPECT_NE(fault("C4:w ; E4:w~ | C4:w").find("tie to nothing"), std::string::npos);
    EXPECT_NE(fault("C4:h~ D4:h").find("tie to nothing"), std::string::npos);
    // One key struck by a second line while the first still holds it.
    EXPECT_NE(
        fault("C4:w | C3:w ; r:q C3:q r:h").find("bar 2: key 48 struck while it still sounds"),
        std::string::npos);
    EXPECT_NE(fault("H4:q").find("bad pitch"), std::string::npos);
    EXPECT_NE(fault("C4:x").find("bad value"), std::string::npos);
    EXPECT_NE(fault("!fff C4:w").find("bad dynamic mark"), std::string::npos);
    EXPECT_NE(fault("r:q~ C4:h.").find("marked rest"), std::string::npos);
}

// Marks scale the hand's own velocity (here 60, its mezzo forte); a hairpin moves between the
// marks around it; downbeats and accents stand out.
TEST(DemoNotation, DynamicsShapeVelocities) {
    const ParsedVoice v = parse("!p C4:q D4:q E4:q^ F4:q | !< C4:q D4:q E4:q F4:q | !f C4:w");
    ASSERT_EQ(v.notes.size(), 9u);
    EXPECT_EQ(v.notes[0].velocity, 40 + 8); // p, on the downbeat
    EXPECT_EQ(v.notes[1].velocity, 40);
    EXPECT_EQ(v.notes[2].velocity, 40 + 12);
    EXPECT_EQ(v.notes[4].velocity, 40 + 8); // the crescendo starts from p
    EXPECT_EQ(v.notes[6].velocity, 57);     // half way to f (73)
    EXPECT_LT(v.notes[6].velocity, v.notes[7].velocity);
    EXPECT_EQ(v.notes[8].velocity, 73 + 8);

    // Without marks the hand plays at its own velocity, as the tunes always did.
    EXPECT_EQ(parse("C4:q D4:q").notes[1].velocity, 60);
    EXPECT_NE(fault("!f C4:q !< D4:q !p E4:h").find("hairpin"), std::string::npos);
    EXPECT_NE(fault("!p C4:q !< D4:h.").find("hairpin"), std::string::npos);
}
