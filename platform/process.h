#pragma once
// Starting other programs directly, without a shell: every argument reaches the program as its
// own argv element, so no text in a path can run a command.
#include <string>
#include <vector>

// The directory of the running program without a trailing slash; empty when it cannot be told.
std::string executableDirectory();

// Starts program at path with the given arguments and returns at once. 0 on success, else the
// errno value (ENOENT, 2, when there is no such program).
int startProgram(const std::string& path, const std::vector<std::string>& arguments);

// Starts the program and waits for it to end. Returns as startProgram; on success exitStatus is
// the program's exit status, or -1 when a signal ended it.
int runProgram(const std::string& path, const std::vector<std::string>& arguments, int& exitStatus);
