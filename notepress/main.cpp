// Notepress: converts the MIDI files named as arguments into song files in "Imported Songs".
#include <iostream>
#include <string>
#include <vector>

#include "notepress/notepress.h"
#include "platform/file_replacement.h"

int main(int argc, char** argv) {
    // Ctrl-C or a closed terminal during a long write leaves no hidden temporary file behind.
    removeReplacementsOnSignals();
    // Under a file-size limit a song file too large fails to write and says so.
    failWritesPastFileSizeLimit();
    const std::vector<std::string> inputPaths(argv + (argc > 0 ? 1 : 0), argv + argc);
    return runNotepress(inputPaths, std::cerr);
}
