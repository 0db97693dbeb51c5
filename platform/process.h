#pragma once
// Starting other programs directly, without a shell: every argument reaches the program as its
// own argv element, so no text in a path can run a command.
#include <string>
#include <vector>

// Where a started program's standard output or standard error goes.
enum class OutputTo {
    Inherit, // where ours goes
    File,    // into a file, created or emptied
    Capture, // into the result; only for a program that is waited for
};
struct OutputRoute {
    OutputTo to = OutputTo::Inherit;
    std::string file; // for OutputTo::File
};

struct ProcessRequest {
    std::string program;                // a path; see programBeside
    std::vector<std::string> arguments; // argv[1] onwards; argv[0] is the program
    std::string workingFolder;          // empty: ours
    OutputRoute output, errors;         // standard output, standard error
    bool wait = true;
};

struct ProcessResult {
    int error = 0;       // 0, or the errno value that kept the program from starting (ENOENT: 2)
    int pid = -1;        // of a started program
    int exitStatus = -1; // after the wait: its exit status, or -1 when a signal ended it
    int signal = 0;      // after the wait: the signal that ended it, or 0
    std::string output, errorOutput; // what was captured
};

// Starts the program and, when asked, waits for it to end.
ProcessResult runProcess(const ProcessRequest& request);
// Waits for a program started with wait false and fills in how it ended.
void waitForProcess(ProcessResult& result);

// A program that runs while its starter goes on, its captured output read as it comes.
struct RunningProcess {
    ProcessResult result;
    int pipes[3] = {-1, -1, -1}; // read ends of captured standard output (1) and error (2)
    bool ended = false;          // it ended, and what it wrote has been read
    RunningProcess() = default;
    RunningProcess(const RunningProcess&) = delete;
    RunningProcess& operator=(const RunningProcess&) = delete;
    // Closes the pipes; a program still running is left to run.
    ~RunningProcess();
};
// Starts the program without waiting (request.wait is not looked at). False, with
// process.result.error set, when it could not be started.
bool startProcess(const ProcessRequest& request, RunningProcess& process);
// Reads what the program has written so far, without blocking; true once it has ended and its
// outputs are closed, with process.result filled in.
bool pollProcess(RunningProcess& process);
// Blocks until the program has ended, reading its output.
void finishProcess(RunningProcess& process);

// The directory of the running program without a trailing slash; empty when it cannot be told.
std::string executableDirectory();
// The program called name in directory ("./name" for an empty directory).
std::string programIn(const std::string& directory, const std::string& name);
// The program called name beside the running one ("./name" when that directory is unknown).
std::string programBeside(const std::string& name);
