// Stands in for notepress beside the import test: writes each argument it was given, each ended
// by a zero byte, into the file named by CADENZIO_FAKE_NOTEPRESS_RECORD, and does nothing else.
#include <cstdio>
#include <cstdlib>

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
    return 0;
}
