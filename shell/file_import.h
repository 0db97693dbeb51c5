#pragma once
// Files opened with Cadenzio from a file manager ("cadenzio --import FILE..."): each is imported
// into "Imported Songs" before the game starts, where the song browser lists it.
#include <string>
#include <vector>

#include "platform/user_folders.h"

inline constexpr const char* importOption = "--import";

// Song files (".fff") are copied into the imported songs folder; every other file goes to the
// "notepress" in converterDirectory, started in the data folder and waited for. 0, or the error
// code that kept the converter from starting (see launchErrorMessage).
int importOpenedFiles(const std::string& converterDirectory, const UserFolders& folders,
                      const std::vector<std::string>& files);
