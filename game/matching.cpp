#include "game/matching.h"

#include <cmath>

#include "app/palette.h"

bool isPlayersTrack(PlayMode playMode, PlayType playType) {
    switch (playMode) {
    case PlayMode::PlayLeftHand:
        return playType == PlayType::LeftHand;
    case PlayMode::PlayRightHand:
        return playType == PlayType::RightHand;
    case PlayMode::PlayBothHands:
        return playType == PlayType::LeftHand || playType == PlayType::RightHand;
    default:
        return false;
    }
}

MatchResult matchKey(const PlayContext& play, uint8_t key) {
    if (play.tracks == nullptr) return {};
    for (const Track& track : *play.tracks) {
        if (!isPlayersTrack(play.playMode, track.playType)) continue;
        const auto colour = static_cast<uint8_t>(paletteSlot(track.colour));
        for (uint32_t index : track.sounding)
            if (index < track.notes.size() && track.notes[index].key == key) return {true, colour};
        for (uint32_t index : track.upcoming) {
            if (index >= track.notes.size()) continue;
            const Note& note = track.notes[index];
            if (note.key != key) continue;
            const float distance = static_cast<float>(std::fabs(play.songTime - note.start));
            if (distance < float(pressWindow)) return {true, colour};
            if (distance > float(pressWindow)) break; // later notes start later still
        }
    }
    return {};
}

uint8_t pressResult(const PlayContext& play, uint8_t key) {
    const MatchResult match = matchKey(play, key);
    return match.matched ? match.colour : uint8_t{0};
}
