#include "songs/conversion.h"

void convertTracks(Song&) {}
void convertTrack(Song&, uint32_t) {}
