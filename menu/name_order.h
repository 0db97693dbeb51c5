#pragma once
// The order in which the song browser lists names: as people read them, case-insensitive and
// with digit runs compared as numbers ("Song 2" before "Song 10").
#include <string>

// True when name a comes before name b. Names that are not UTF-8 follow the others, in the order
// of their bytes; names equal but for case or leading zeros are ordered by their bytes, so the
// order is total.
bool nameBefore(const std::string& a, const std::string& b);
