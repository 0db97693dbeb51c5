#pragma once
// A passage played over and over: its two ends, the count-in before it, and the speed trainer
// that moves the song speed after each pass through it.
#include <cstdint>
#include <string>

// Each pass through the loop starts this many song seconds before the loop's start.
constexpr double countIn = 1.0;

struct PracticeLoop {
    bool hasStart = false, hasEnd = false;
    double start = 0, end = 0; // song seconds
};

// Only a loop whose end lies after its start plays as one.
bool loopActive(const PracticeLoop& loop);
// Whether the clock at t has reached the end of an active loop.
bool loopReachesEnd(const PracticeLoop& loop, double t);
// Where each pass through the loop begins.
double countInTime(const PracticeLoop& loop);
// "[ [ ] ] Loop: 0:12.5 - 0:20.0", an end not yet set left blank, or "[ [ ] ] Loop: off".
std::string loopStatusLine(const PracticeLoop& loop);
// m:ss.s
std::string loopTimeText(double t);

struct SpeedTrainer {
    bool on = false;
    int8_t lastMove = 0; // +1 raised, -1 lowered, 0 none yet or kept
    bool moved = false;  // a pass has been judged since it was switched on
    float speed = 1.0f;  // the speed it left after the last judged pass
};

// The trainer's step after a whole pass through the loop: every note hit raises the speed by
// 0.05 up to 1.00, more than one miss lowers it by 0.05 down to 0.30; a speed already beyond a
// limit stays. Returns the new speed.
float trainSpeed(SpeedTrainer& trainer, float speed, uint32_t hits, uint32_t misses);
// "[\] Speed Trainer: On", with the speed of the last judged pass once there is one.
std::string trainerStatusLine(const SpeedTrainer& trainer);
