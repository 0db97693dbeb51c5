#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>

void showErrorMessage(const char* text) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Error", text, nullptr) != 0)
        std::fprintf(stderr, "%s\n", text);
}
