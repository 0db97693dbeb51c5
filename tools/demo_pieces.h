#pragma once
// The demo pieces, by level; each level's note data lives in demo_pieces_<level>.cpp.
#include <vector>

#include "tools/demo_notation.h"

const Piece& frereJacques();
const Piece& greensleeves();
const Piece& twinkle();
const Piece& odeToJoy();
const Piece& silentNight();
const Piece& jingleBells();

const Piece& minuetInG();
const Piece& preludeInC();
const Piece& gymnopedie();

const Piece& furElise();
const Piece& canonInD();

inline std::vector<const Piece*> demoPieces() {
    return {&frereJacques(), &greensleeves(), &twinkle(),   &odeToJoy(),
            &silentNight(),  &jingleBells(),  &minuetInG(), &preludeInC(),
            &gymnopedie(),   &furElise(),     &canonInD()};
}
