#include "songs/file_io.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

FileReader::~FileReader() {
    if (fd >= 0) ::close(fd);
}

bool openForReading(FileReader& file, const std::string& path) {
    if (file.fd >= 0) ::close(file.fd);
    file.size = 0;
    // Non-blocking, or opening a named pipe would wait for a writer; regular files ignore it.
    file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file.fd < 0) return false;
    struct stat info;
    if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(file.fd);
        file.fd = -1;
        return false;
    }
    file.size = uint64_t(info.st_size);
    return true;
}

bool readExactly(FileReader& file, void* out, size_t size) {
    uint8_t* p = static_cast<uint8_t*>(out);
    while (size > 0) {
        const ssize_t n = ::read(file.fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}

bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    FileReader file;
    if (!openForReading(file, path)) return false;
    // The size is only a first guess: the file may grow or shrink while it is read.
    bytes.reserve(size_t(file.size) + 1);
    prefaultForWriting(bytes.data(), bytes.capacity());
    bytes.resize(size_t(file.size) + 1);
    size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(file.fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            bytes.clear();
            return false;
        }
        if (n == 0) break;
        filled += size_t(n);
    }
    bytes.resize(filled);
    return true;
}

FileReplacement::~FileReplacement() {
    if (fd >= 0) ::close(fd);
    if (!temporary.empty()) ::unlink(temporary.c_str());
}

bool beginReplacement(FileReplacement& file, const std::string& path) {
    // Unique per process and call, hidden, and in the target's directory, so that the rename
    // stays within one file system. Short whatever the target's name, which may itself be as long
    // as a file name can be.
    static std::atomic<unsigned> counter{0};
    const size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    file.path = path;
    file.failed = false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = dir + ".replacing-" + std::to_string(::getpid()) + "-" +
                                 std::to_string(counter.fetch_add(1)) + ".tmp";
        file.fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file.fd >= 0) {
            file.temporary = name;
            return true;
        }
        if (errno != EEXIST) break;
    }
    file.failed = true;
    return false;
}

bool writeBytes(FileReplacement& file, const void* bytes, size_t size) {
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    while (!file.failed && size > 0) {
        const ssize_t n = ::write(file.fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            file.failed = true;
            break;
        }
        p += n;
        size -= size_t(n);
    }
    return !file.failed;
}

bool commitReplacement(FileReplacement& file) {
    if (file.fd < 0) return false;
    // Flushed before the rename, or a power cut could put an empty file where a good one was.
    bool ok = !file.failed && ::fsync(file.fd) == 0;
    ok = ::close(file.fd) == 0 && ok;
    file.fd = -1;
    ok = ok && ::rename(file.temporary.c_str(), file.path.c_str()) == 0;
    if (ok) file.temporary.clear();
    file.failed = !ok;
    return ok;
}

void prefaultForWriting(void* memory, size_t size) {
#ifdef MADV_POPULATE_WRITE
    const uintptr_t page = uintptr_t(::sysconf(_SC_PAGESIZE));
    // Only whole pages inside the range: the pages at its ends may hold other live data, which
    // populating leaves intact anyway, but madvise needs an aligned start.
    const uintptr_t begin = (uintptr_t(memory) + page - 1) & ~(page - 1);
    const uintptr_t end = (uintptr_t(memory) + size) & ~(page - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)memory;
    (void)size;
#endif
}
