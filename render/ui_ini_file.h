#pragma once
// The UI library's window settings ("imgui.ini"), read and written by our own file layer: the
// library's loader would open the file blindly and hang on a pipe, and its saver writes in place.
// All three need a UI context.

inline constexpr const char* uiIniFileName = "imgui.ini";

// Stops the library from opening the file itself and loads the settings from path. A missing
// file is a first start; one that is refused or unreadable is skipped with a line on standard
// error, and is not saved over while the program runs; one too large to be window settings is
// damaged: skipped with a line, and replaced by the next save.
void loadUiIniFile(const char* path = uiIniFileName);
// Replaces the file at path with the library's current settings, unless loading refused it.
void saveUiIniFile(const char* path = uiIniFileName);
// Saves when the library asks for it (its settings changed a while ago).
void saveUiIniFileWhenAsked(const char* path = uiIniFileName);
