#pragma once
// The high-resolution clock: a counter and its ticks per second.
#include <cstdint>

uint64_t clockCounter();
uint64_t clockFrequency();
