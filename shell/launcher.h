#pragma once
// Cadenzio started with arguments only hands them to the converter beside it.
#include <string>
#include <vector>

// Starts "notepress" in directory (empty: the working directory) with the arguments, each its
// own argument of the converter, in workingFolder (empty: ours; a path argument is then made
// absolute first). 0 on success, else the error code (2 when it is missing).
int launchConverter(const std::string& directory, const std::vector<std::string>& arguments,
                    const std::string& workingFolder = "");

// "ShellExecute Error <code>", with ": Could not find notepress" when the code means not found.
std::string launchErrorMessage(int code);
