#pragma once

// Shows text in a modal error box with an OK button; without a display it goes to standard
// error instead.
void showErrorMessage(const char* text);
