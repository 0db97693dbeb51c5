#pragma once
// How a song is played, as the track setup page's four buttons start it; the values are the
// ones the play keeps (0 to 3).
#include <cstdint>

enum class PlayMode : int32_t {
    PlayLeftHand = 0,
    PlayRightHand = 1,
    PlayBothHands = 2,
    WatchAndListen = 3,
};
