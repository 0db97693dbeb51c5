#include "platform/process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace {

// The two ends of the pipes that carry captured output; -1 where nothing is captured.
struct Pipes {
    int read[3] = {-1, -1, -1};
    int write[3] = {-1, -1, -1};
    ~Pipes() {
        for (int fd : read)
            if (fd >= 0) ::close(fd);
        for (int fd : write)
            if (fd >= 0) ::close(fd);
    }
};

// Routes the child's descriptor target (1 or 2) as asked. The pipe ends are close-on-exec, so no
// other program started meanwhile keeps them open; the duplicate in the child is not.
int route(const OutputRoute& how, int target, posix_spawn_file_actions_t& actions, Pipes& pipes) {
    if (how.to == OutputTo::File)
        return posix_spawn_file_actions_addopen(&actions, target, how.file.c_str(),
                                                O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (how.to == OutputTo::Capture) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) return errno;
        pipes.read[target] = ends[0];
        pipes.write[target] = ends[1];
        return posix_spawn_file_actions_adddup2(&actions, ends[1], target);
    }
    return 0;
}

// Reads the captured pipes (read ends, -1 where none) until the program has closed them all;
// both at once, so a program filling one pipe while we wait on the other cannot stall us.
void drain(int (&pipes)[3], ProcessResult& result) {
    std::string* into[3] = {nullptr, &result.output, &result.errorOutput};
    for (;;) {
        pollfd fds[2];
        int targets[2];
        nfds_t count = 0;
        for (int target = 1; target <= 2; ++target)
            if (pipes[target] >= 0) {
                fds[count] = {pipes[target], POLLIN, 0};
                targets[count++] = target;
            }
        if (count == 0) return;
        if (::poll(fds, count, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        for (nfds_t i = 0; i < count; ++i) {
            if (fds[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
            if (n > 0) {
                into[targets[i]]->append(buffer, size_t(n));
            } else {
                ::close(fds[i].fd);
                pipes[targets[i]] = -1;
            }
        }
    }
}

} // namespace

namespace {

// Starts the program with its outputs routed; on success the captured pipes' read ends are in
// pipes.read and their write ends are closed.
bool spawn(const ProcessRequest& request, Pipes& pipes, ProcessResult& result) {
    std::vector<char*> argv;
    argv.reserve(request.arguments.size() + 2);
    argv.push_back(const_cast<char*>(request.program.c_str()));
    for (const std::string& argument : request.arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int error = route(request.output, 1, actions, pipes);
    if (error == 0) error = route(request.errors, 2, actions, pipes);
    if (error == 0 && !request.workingFolder.empty())
        error = posix_spawn_file_actions_addchdir_np(&actions, request.workingFolder.c_str());
    pid_t pid = -1;
    // glibc reports a failed exec or file action (missing file, no permission) as the result.
    if (error == 0)
        error = posix_spawn(&pid, request.program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        result.error = error;
        return false;
    }
    result.pid = pid;
    for (int& fd : pipes.write) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    return true;
}

// Reads each open pipe until it would block or ends; an ended pipe is closed and set to -1.
void readAvailable(int (&pipes)[3], ProcessResult& result) {
    std::string* into[3] = {nullptr, &result.output, &result.errorOutput};
    for (int target = 1; target <= 2; ++target) {
        while (pipes[target] >= 0) {
            char buffer[4096];
            const ssize_t n = ::read(pipes[target], buffer, sizeof buffer);
            if (n > 0) {
                into[target]->append(buffer, size_t(n));
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
            ::close(pipes[target]);
            pipes[target] = -1;
        }
    }
}

void noteEnding(ProcessResult& result, int status) {
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

} // namespace

ProcessResult runProcess(const ProcessRequest& request) {
    ProcessResult result;
    const bool captures =
        request.output.to == OutputTo::Capture || request.errors.to == OutputTo::Capture;
    if (captures && !request.wait) {
        result.error = EINVAL; // nobody would read the pipe
        return result;
    }
    Pipes pipes;
    if (!spawn(request, pipes, result)) return result;
    if (request.wait) {
        drain(pipes.read, result);
        waitForProcess(result);
    }
    return result;
}

RunningProcess::~RunningProcess() {
    for (int fd : pipes)
        if (fd >= 0) ::close(fd);
}

bool startProcess(const ProcessRequest& request, RunningProcess& process) {
    process.result = ProcessResult{};
    process.ended = false;
    Pipes pipes;
    if (!spawn(request, pipes, process.result)) return false;
    for (int target = 1; target <= 2; ++target) {
        const int fd = pipes.read[target];
        if (fd < 0) continue;
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        process.pipes[target] = fd;
        pipes.read[target] = -1;
    }
    return true;
}

bool pollProcess(RunningProcess& process) {
    if (process.ended || process.result.pid <= 0) return true;
    readAvailable(process.pipes, process.result);
    if (process.pipes[1] >= 0 || process.pipes[2] >= 0) return false;
    int status = 0;
    const pid_t done = ::waitpid(process.result.pid, &status, WNOHANG);
    if (done == 0 || (done < 0 && errno == EINTR)) return false;
    if (done < 0)
        process.result.error = errno;
    else
        noteEnding(process.result, status);
    process.ended = true;
    return true;
}

void finishProcess(RunningProcess& process) {
    if (process.ended || process.result.pid <= 0) return;
    drain(process.pipes, process.result);
    waitForProcess(process.result);
    process.ended = true;
}

void waitForProcess(ProcessResult& result) {
    if (result.pid <= 0) return;
    int status = 0;
    while (::waitpid(result.pid, &status, 0) < 0) {
        if (errno != EINTR) {
            result.error = errno;
            return;
        }
    }
    noteEnding(result, status);
}

std::string executableDirectory() {
    std::string buffer(4096, '\0');
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return {};
    buffer.resize(static_cast<size_t>(length));
    size_t slash = buffer.rfind('/');
    if (slash == std::string::npos) return {};
    return buffer.substr(0, slash == 0 ? 1 : slash);
}

std::string programIn(const std::string& directory, const std::string& name) {
    if (directory.empty()) return "./" + name;
    return directory.back() == '/' ? directory + name : directory + "/" + name;
}

std::string programBeside(const std::string& name) {
    return programIn(executableDirectory(), name);
}
