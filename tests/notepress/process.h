#pragma once
// Runs a program as a child process in a given working folder, for end-to-end tests.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_folder.h"

extern char** environ;

namespace testing_process {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;         // exit status; -1 when the program did not exit normally
    std::string errorOutput; // what it wrote on standard error
};

// Runs argv[0] with the arguments argv in folder; standard error goes to errorFile (an absolute
// path, kept outside folder so that it does not show among the program's files).
inline Outcome run(const fs::path& folder, const std::vector<std::string>& argv,
                   const fs::path& errorFile) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    std::vector<std::string> copies = argv;
    std::vector<char*> pointers;
    for (std::string& s : copies) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    Outcome outcome;
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, copies[0].c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return outcome;
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
    outcome.errorOutput = readText(errorFile);
    return outcome;
}

} // namespace testing_process
