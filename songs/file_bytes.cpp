#include "songs/file_bytes.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes the descriptor on every path out.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

bool writeAll(int fd, const uint8_t* bytes, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += n;
        size -= size_t(n);
    }
    return true;
}

} // namespace

bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    Descriptor file;
    file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file.fd < 0) return false;
    struct stat info;
    if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    // The size is only a first guess: the file may change while it is read.
    bytes.resize(size_t(info.st_size) + 1);
    size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(file.fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0) {
            if (errno == EINTR) continue;
            bytes.clear();
            return false;
        }
        if (n == 0) break;
        filled += size_t(n);
    }
    bytes.resize(filled);
    return true;
}

bool replaceFile(const std::string& path, const uint8_t* bytes, size_t size) {
    // The temporary name is unique per process and call, hidden, and in the target's directory
    // so that the rename stays within one file system.
    static std::atomic<unsigned> counter{0};
    const size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp;
    Descriptor file;
    for (int attempt = 0; attempt < 100 && file.fd < 0; ++attempt) {
        temp = dir + "." + base + ".tmp" + std::to_string(::getpid()) + "_" +
               std::to_string(counter.fetch_add(1));
        file.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file.fd < 0 && errno != EEXIST) return false;
    }
    if (file.fd < 0) return false;
    bool ok = writeAll(file.fd, bytes, size);
    // Flushed to the disk before the rename, or a power cut could leave an empty file in place.
    ok = ok && ::fsync(file.fd) == 0;
    ok = ::close(file.fd) == 0 && ok;
    file.fd = -1;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}
