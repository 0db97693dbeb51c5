#include "platform/file_reader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/prefault.h"

namespace {

FileProblem problemOf(int error) {
    if (error == ENOENT || error == ENOTDIR) return FileProblem::Missing;
    // O_NOFOLLOW is not used, so ELOOP is a circle of links: nothing to read.
    if (error == ELOOP) return FileProblem::Missing;
    if (error == ENXIO || error == ENODEV || error == EISDIR) return FileProblem::NotRegularFile;
    return FileProblem::Unreadable;
}

} // namespace

const char* describeFileProblem(FileProblem problem) {
    switch (problem) {
    case FileProblem::None:
        return "";
    case FileProblem::Missing:
        return "missing";
    case FileProblem::NotRegularFile:
        return "not a regular file";
    case FileProblem::Unreadable:
        return "unreadable";
    case FileProblem::TooLarge:
        return "too large";
    }
    return "";
}

FileReader::~FileReader() {
    closeFile(*this);
}

bool openForReading(FileReader& file, const std::string& path) {
    closeFile(file);
    file.problem = FileProblem::None;
    // Non-blocking, or opening a named pipe would wait for a writer; regular files ignore it.
    // No controlling terminal may come from opening a terminal device either.
    file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (file.fd < 0) {
        file.problem = problemOf(errno);
        return false;
    }
    struct stat info;
    if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        file.problem = FileProblem::NotRegularFile;
        closeFile(file);
        return false;
    }
    file.size = uint64_t(info.st_size);
    return true;
}

void closeFile(FileReader& file) {
    if (file.fd >= 0) ::close(file.fd);
    file.fd = -1;
    file.size = 0;
}

size_t readSomeAt(const FileReader& file, uint64_t offset, void* out, size_t size) {
    for (;;) {
        const ssize_t n = ::pread(file.fd, out, size, off_t(offset));
        if (n < 0 && errno == EINTR) continue;
        return n < 0 ? 0 : size_t(n);
    }
}

bool readExactly(FileReader& file, void* out, size_t size) {
    uint8_t* p = static_cast<uint8_t*>(out);
    while (size > 0) {
        const ssize_t n = ::read(file.fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) file.problem = FileProblem::Unreadable;
        if (n <= 0) return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}

bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes, uint64_t limit,
                   FileProblem* problem) {
    bytes.clear();
    FileReader file;
    auto fail = [&](FileProblem why) {
        bytes.clear();
        bytes.shrink_to_fit();
        if (problem) *problem = why;
        return false;
    };
    if (!openForReading(file, path)) return fail(file.problem);
    if (file.size > limit) return fail(FileProblem::TooLarge);
    // The size is only a first guess: the file may grow or shrink while it is read.
    bytes.reserve(size_t(file.size) + 1);
    prefaultForWriting(bytes.data(), bytes.capacity());
    bytes.resize(size_t(file.size) + 1);
    size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > limit) return fail(FileProblem::TooLarge);
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t n = ::read(file.fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(FileProblem::Unreadable);
        if (n == 0) break;
        filled += size_t(n);
    }
    if (filled > limit) return fail(FileProblem::TooLarge);
    bytes.resize(filled);
    if (problem) *problem = FileProblem::None;
    return true;
}
