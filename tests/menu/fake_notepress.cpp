// Stands in for notepress beside the import test: writes each argument it was given, each ended
// by a zero byte, into the file named by CADENZIO_FAKE_NOTEPRESS_RECORD. While the file named by
// CADENZIO_FAKE_NOTEPRESS_HOLD exists it waits (at most a minute), so a test sees the menu go on
// meanwhile. An argument holding "broken" fails as notepress does on a file it cannot read.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    const char* record = std::getenv("CADENZIO_FAKE_NOTEPRESS_RECORD");
    if (record == nullptr) return 2;
    std::FILE* file = std::fopen(record, "wb");
    if (file == nullptr) return 2;
    for (int i = 1; i < argc; ++i) {
        std::fputs(argv[i], file);
        std::fputc('\0', file);
    }
    std::fclose(file);
    if (const char* hold = std::getenv("CADENZIO_FAKE_NOTEPRESS_HOLD"))
        for (int waited = 0; access(hold, F_OK) == 0 && waited < 6000; ++waited) usleep(10000);
    for (int i = 1; i < argc; ++i)
        if (std::strstr(argv[i], "broken")) {
            std::fprintf(stderr, "\nCould not open file: %s\nsecond line\n", argv[i]);
            return 1;
        }
    return 0;
}
