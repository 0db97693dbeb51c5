#include "game/practice_loop.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr float speedStep = 0.05f, fastest = 1.0f, slowest = 0.3f;

// The ladder's rungs are hundredths: steps of 0.05 do not collect float dust on the status line.
float hundredths(float speed) {
    return std::round(speed * 100.0f) / 100.0f;
}

} // namespace

bool loopActive(const PracticeLoop& loop) {
    return loop.hasStart && loop.hasEnd && loop.end > loop.start;
}

bool loopReachesEnd(const PracticeLoop& loop, double t) {
    return loopActive(loop) && t >= loop.end;
}

double countInTime(const PracticeLoop& loop) {
    return loop.start - countIn;
}

std::string loopTimeText(double t) {
    const double tenths = std::round(std::fabs(t) * 10.0);
    const long minutes = long(tenths / 600.0);
    const double seconds = (tenths - double(minutes) * 600.0) / 10.0;
    char text[32];
    std::snprintf(text, sizeof text, "%s%ld:%04.1f", t < 0 && tenths > 0 ? "-" : "", minutes,
                  seconds);
    return text;
}

std::string loopStatusLine(const PracticeLoop& loop) {
    if (!loop.hasStart && !loop.hasEnd) return "[ [ ] ] Loop: off";
    std::string line = "[ [ ] ] Loop: ";
    if (loop.hasStart) line += loopTimeText(loop.start) + " ";
    line += "-";
    if (loop.hasEnd) line += " " + loopTimeText(loop.end);
    return line;
}

float trainSpeed(SpeedTrainer& trainer, float speed, uint32_t hits, uint32_t misses) {
    trainer.moved = true;
    trainer.lastMove = 0;
    if (misses == 0 && hits > 0 && speed < fastest) {
        speed = std::fmin(hundredths(speed + speedStep), fastest);
        trainer.lastMove = 1;
    } else if (misses > 1 && speed > slowest) {
        speed = std::fmax(hundredths(speed - speedStep), slowest);
        trainer.lastMove = -1;
    }
    trainer.speed = speed;
    return speed;
}

std::string trainerStatusLine(const SpeedTrainer& trainer) {
    if (!trainer.on) return "[\\] Speed Trainer: Off";
    if (!trainer.moved) return "[\\] Speed Trainer: On";
    const char* move = trainer.lastMove > 0   ? "raised to"
                       : trainer.lastMove < 0 ? "lowered to"
                                              : "kept at";
    char text[64];
    std::snprintf(text, sizeof text, "[\\] Speed Trainer: On, speed %s %.2f", move,
                  double(trainer.speed));
    return text;
}
