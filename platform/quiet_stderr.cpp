#include "platform/quiet_stderr.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

StandardErrorSilenced::StandardErrorSilenced() {
    std::fflush(stderr);
    saved = dup(2);
    const int nothing = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && nothing >= 0) dup2(nothing, 2);
    if (nothing >= 0) close(nothing);
}

StandardErrorSilenced::~StandardErrorSilenced() {
    std::fflush(stderr);
    if (saved >= 0) {
        dup2(saved, 2);
        close(saved);
    }
}
