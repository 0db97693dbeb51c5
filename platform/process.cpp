#include "platform/process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace {

int spawn(const std::string& path, const std::vector<std::string>& arguments, pid_t& pid) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    // glibc reports a failed exec (missing file, no permission) as the result.
    return posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ);
}

} // namespace

std::string executableDirectory() {
    std::string buffer(4096, '\0');
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return {};
    buffer.resize(static_cast<size_t>(length));
    size_t slash = buffer.rfind('/');
    if (slash == std::string::npos) return {};
    return buffer.substr(0, slash == 0 ? 1 : slash);
}

int startProgram(const std::string& path, const std::vector<std::string>& arguments) {
    pid_t pid = 0;
    return spawn(path, arguments, pid);
}

int runProgram(const std::string& path, const std::vector<std::string>& arguments,
               int& exitStatus) {
    pid_t pid = 0;
    int error = spawn(path, arguments, pid);
    if (error != 0) return error;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return errno;
    }
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return 0;
}
