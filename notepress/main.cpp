// Notepress: converts the MIDI files named as arguments into song files in "Imported Songs".
#include <iostream>
#include <string>
#include <vector>

#include "notepress/notepress.h"

int main(int argc, char** argv) {
    const std::vector<std::string> inputPaths(argv + (argc > 0 ? 1 : 0), argv + argc);
    return runNotepress(inputPaths, std::cerr);
}
