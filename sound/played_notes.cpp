#include "sound/played_notes.h"

void playedNotesSilenced(PlayedNotes& played) {
    for (auto& row : played.holds)
        for (uint8_t& holds : row) holds = 0;
    for (auto& row : played.struck)
        for (PlayedNotes::Struck& struck : row)
            if (struck.count > 0) struck.stopped = true;
}
