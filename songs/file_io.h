#pragma once
// Files the songs code reads whole or replaces whole: reads with their size known up front, and
// atomic replacement through a temporary file beside the target.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A regular file open for reading front to back.
struct FileReader {
    int fd = -1;
    uint64_t size = 0; // at opening; reads still stop where the file really ends
    FileReader() = default;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    ~FileReader();
};

// False when path cannot be opened or is not a regular file.
bool openForReading(FileReader& file, const std::string& path);
// Reads exactly size bytes; false when the file ends sooner or cannot be read.
bool readExactly(FileReader& file, void* out, size_t size);
// Reads the regular file at path in one go.
bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes);

// A new file beside path that becomes path on commit. Until then path keeps its old content;
// an uncommitted or failed replacement removes its temporary file.
struct FileReplacement {
    int fd = -1;
    bool failed = false;
    std::string path;
    std::string temporary;
    FileReplacement() = default;
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    ~FileReplacement();
};

bool beginReplacement(FileReplacement& file, const std::string& path);
bool writeBytes(FileReplacement& file, const void* bytes, size_t size);
// Flushes the new file to the disk and renames it over path.
bool commitReplacement(FileReplacement& file);

// Asks the system to back [memory, memory + size) with pages now, in one call rather than one
// fault per page as it is first written. Only a speed hint; does nothing where unsupported.
void prefaultForWriting(void* memory, size_t size);
