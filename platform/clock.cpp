#include "platform/clock.h"

#include <SDL.h>

uint64_t clockCounter() {
    return SDL_GetPerformanceCounter();
}
uint64_t clockFrequency() {
    return SDL_GetPerformanceFrequency();
}
