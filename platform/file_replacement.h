#pragma once
// Replacing a file whole and atomically: the new content goes to a temporary file of our own
// beside the target, is flushed to the disk, and is renamed over the target. Readers see the old
// file or the new one, never a mix; a failed or interrupted replacement leaves the old one.
//
// Temporary files are named ".replacing-<process id>-<n>.tmp", created exclusively and never
// through a link. Each replacement first removes such files that processes no longer running
// left in its folder.
#include <cstddef>
#include <string>

// A new file beside path that becomes path on commit. Until then path keeps its old content;
// an uncommitted or failed replacement removes its temporary file.
struct FileReplacement {
    int fd = -1;
    int error = 0; // the system's error number of the first failure; 0 while none failed
    int slot = -1; // where the signal clean-up knows the temporary file
    std::string path;
    std::string temporary;
    FileReplacement() = default;
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    ~FileReplacement();
};

// Creates the temporary file. Fails when path names a folder, or its folder cannot be written.
bool beginReplacement(FileReplacement& file, const std::string& path);
bool writeBytes(FileReplacement& file, const void* bytes, size_t size);
// Flushes the new file to the disk, renames it over path and flushes the folder.
bool commitReplacement(FileReplacement& file);
// "<path>: <reason>" for a failed replacement.
std::string replacementProblem(const FileReplacement& file);

// The whole content in one call. On failure problem (when given) gets replacementProblem.
bool replaceFile(const std::string& path, const void* bytes, size_t size,
                 std::string* problem = nullptr);

// From now on SIGINT, SIGTERM and SIGHUP remove the temporary files of replacements under way,
// then end the process by the same signal. For programs that do not handle these signals
// themselves.
void removeReplacementsOnSignals();

// From now on a write past the file-size limit fails (EFBIG) instead of ending the process by
// SIGXFSZ, so the replacement fails and removes its temporary file at once.
void failWritesPastFileSizeLimit();
