#pragma once
// Reading the files the programs are given: opened without blocking and only when they are
// regular files, so a named pipe or a device in a file's place never stalls a program.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Why a file could not be read.
enum class FileProblem {
    None,
    Missing,        // nothing at the path, or a folder on the way is missing
    NotRegularFile, // a folder, pipe, socket or device
    Unreadable,     // no permission, an I/O error
    TooLarge,       // beyond the limit the caller gave
};

// "missing", "not a regular file", "unreadable", "too large" ("" for None).
const char* describeFileProblem(FileProblem problem);

// A regular file open for reading front to back.
struct FileReader {
    int fd = -1;
    uint64_t size = 0; // at opening; reads still stop where the file really ends
    FileProblem problem = FileProblem::None; // why opening or reading failed
    FileReader() = default;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    ~FileReader();
};

// False, with the reason in file.problem, when path cannot be opened or is not a regular file.
bool openForReading(FileReader& file, const std::string& path);
// Closes the file, if open.
void closeFile(FileReader& file);
// Reads up to size bytes at offset without moving the file's position, so several threads may
// read one file at once. The count read; 0 at the end of the file or when it cannot be read.
size_t readSomeAt(const FileReader& file, uint64_t offset, void* out, size_t size);
// Reads exactly size bytes; false when the file ends sooner or cannot be read (then file.problem
// is Unreadable).
bool readExactly(FileReader& file, void* out, size_t size);

inline constexpr uint64_t noSizeLimit = UINT64_MAX;
// Reads the regular file at path in one go. A file that is longer than limit when opened, or
// grows past it while read, is refused as TooLarge. On failure bytes is empty and problem (when
// given) says why.
bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes,
                   uint64_t limit = noSizeLimit, FileProblem* problem = nullptr);
