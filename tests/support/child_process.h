#pragma once
// Code under test run in a forked child: a hang becomes a failure instead of a stuck test, and
// the child can drop root's privileges or lower its limits without touching the test itself.
#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

namespace child {

// How the child ended.
struct Ending {
    bool finished = false; // false: still running at the deadline, so it was killed
    int status = -1;       // its exit status, or -1 when a signal ended it
    int signal = 0;        // the signal that ended it
};

// The body's result (0 to 255) becomes the child's exit status.
inline Ending run(const std::function<int()>& body,
                  std::chrono::seconds deadline = std::chrono::seconds(60)) {
    Ending ending;
    const pid_t pid = fork();
    if (pid < 0) return ending;
    if (pid == 0) _exit(body());
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            ending.finished = true;
            ending.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            ending.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
            return ending;
        }
        if (std::chrono::steady_clock::now() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return ending;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// In a child: become the unprivileged user "nobody" when running as root, who may read and
// write anything. False when that fails.
inline bool dropRoot() {
    if (getuid() != 0) return true;
    return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
}

} // namespace child
