#include "platform/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

constexpr const char* temporaryPrefix = ".replacing-";
constexpr const char* temporarySuffix = ".tmp";

// Temporary files under way, in fixed buffers that a signal handler may read. A slot's path is
// complete before it is armed and stays untouched until it is disarmed.
struct Slot {
    std::atomic<bool> taken{false};
    std::atomic<bool> armed{false};
    char path[PATH_MAX];
};
constexpr int slotCount = 16;
Slot slots[slotCount];
static_assert(std::atomic<bool>::is_always_lock_free);

int armSlot(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < slotCount; ++i) {
        bool expected = false;
        if (!slots[i].taken.compare_exchange_strong(expected, true)) continue;
        std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
        slots[i].armed.store(true);
        return i;
    }
    return -1; // more at once than slots: a killed run's file goes with the next save instead
}

void disarmSlot(int& slot) {
    if (slot < 0) return;
    slots[slot].armed.store(false);
    slots[slot].taken.store(false);
    slot = -1;
}

void removeArmedAndReraise(int signal) {
    const int saved = errno;
    for (Slot& slot : slots)
        if (slot.armed.load()) ::unlink(slot.path);
    errno = saved;
    // The handler was installed with SA_RESETHAND: the signal, blocked until the handler returns,
    // then ends the process as if it had never been caught.
    ::raise(signal);
}

const int cleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Holds back the clean-up signals between creating a temporary file and arming its slot.
struct SignalsHeld {
    sigset_t previous;
    SignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (int signal : cleanedSignals) sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &previous);
    }
    ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous, nullptr); }
};

// The process id in a name of our pattern, or 0 when the name does not follow it.
pid_t temporaryOwner(const char* name) {
    const size_t prefix = std::strlen(temporaryPrefix), suffix = std::strlen(temporarySuffix);
    const size_t length = std::strlen(name);
    if (length <= prefix + suffix || std::strncmp(name, temporaryPrefix, prefix) != 0 ||
        std::strcmp(name + length - suffix, temporarySuffix) != 0)
        return 0;
    const char* p = name + prefix;
    const char* end = name + length - suffix;
    long long pid = 0;
    const char* digits = p;
    while (p < end && *p >= '0' && *p <= '9' && pid <= INT_MAX) pid = pid * 10 + (*p++ - '0');
    if (p == digits || p == end || *p != '-' || pid <= 0 || pid > INT_MAX) return 0;
    const char* counter = ++p;
    while (p < end && *p >= '0' && *p <= '9') ++p;
    if (p == counter || p != end) return 0;
    return pid_t(pid);
}

// The folder part of path with its slash: "dir/", or "./" for a name in the working folder.
std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

// Removes what killed runs left: our pattern, of a process that no longer exists.
void removeAbandonedTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t owner = temporaryOwner(entry->d_name);
        if (owner == 0 || owner == self) continue;
        if (::kill(owner, 0) == 0 || errno != ESRCH) continue;
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// The first failure's error number is the one kept.
bool fail(FileReplacement& file, int error) {
    if (file.error == 0) file.error = error != 0 ? error : EIO;
    return false;
}

void discardTemporary(FileReplacement& file) {
    if (file.fd >= 0) ::close(file.fd);
    file.fd = -1;
    if (!file.temporary.empty()) ::unlink(file.temporary.c_str());
    disarmSlot(file.slot);
    file.temporary.clear();
}

} // namespace

FileReplacement::~FileReplacement() {
    discardTemporary(*this);
}

bool beginReplacement(FileReplacement& file, const std::string& path) {
    discardTemporary(file);
    file.path = path;
    file.error = 0;
    // A folder in the target's place would only refuse the rename after the whole write.
    struct stat target;
    if (::lstat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) return fail(file, EISDIR);

    // In the target's folder, so that the rename stays within one file system; short whatever
    // the target's name, which may itself be as long as a name can be.
    const std::string folder = folderOf(path);
    removeAbandonedTemporaries(folder);
    static std::atomic<unsigned> counter{0};
    const std::string stem = folder + temporaryPrefix + std::to_string(::getpid()) + "-";
    // Names taken by others (planted, say) are passed over; each costs one failed open.
    for (int attempt = 0; attempt < 10000; ++attempt) {
        const std::string name = stem + std::to_string(counter.fetch_add(1)) + temporarySuffix;
        SignalsHeld held;
        // Exclusive and not through a link: whatever someone put at this name stays untouched.
        file.fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (file.fd >= 0) {
            file.temporary = name;
            file.slot = armSlot(name);
            return true;
        }
        if (errno != EEXIST) return fail(file, errno);
    }
    return fail(file, EEXIST);
}

bool writeBytes(FileReplacement& file, const void* bytes, size_t size) {
    if (file.fd < 0) return fail(file, EBADF);
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    while (file.error == 0 && size > 0) {
        const ssize_t n = ::write(file.fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            fail(file, n < 0 ? errno : ENOSPC);
            break;
        }
        p += n;
        size -= size_t(n);
    }
    if (file.error != 0) discardTemporary(file);
    return file.error == 0;
}

bool commitReplacement(FileReplacement& file) {
    if (file.fd < 0) {
        discardTemporary(file);
        return fail(file, EBADF);
    }
    // Flushed before the rename, or a power cut could put an empty file where a good one was.
    if (file.error == 0 && ::fsync(file.fd) != 0) fail(file, errno);
    if (::close(file.fd) != 0) fail(file, errno);
    file.fd = -1;
    if (file.error == 0 && ::rename(file.temporary.c_str(), file.path.c_str()) != 0)
        fail(file, errno);
    if (file.error != 0) {
        discardTemporary(file);
        return false;
    }
    disarmSlot(file.slot);
    file.temporary.clear();
    // The rename itself lasts only once the folder is on the disk too. Some file systems cannot
    // flush a folder; the file is in place all the same.
    const std::string folder = folderOf(file.path);
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

std::string replacementProblem(const FileReplacement& file) {
    return file.path + ": " + std::strerror(file.error ? file.error : EIO);
}

bool replaceFile(const std::string& path, const void* bytes, size_t size, std::string* problem) {
    FileReplacement file;
    const bool replaced =
        beginReplacement(file, path) && writeBytes(file, bytes, size) && commitReplacement(file);
    if (!replaced && problem) *problem = replacementProblem(file);
    return replaced;
}

void removeReplacementsOnSignals() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = removeArmedAndReraise;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal : cleanedSignals) sigaddset(&action.sa_mask, signal);
    for (int signal : cleanedSignals) ::sigaction(signal, &action, nullptr);
}

void failWritesPastFileSizeLimit() {
    ::signal(SIGXFSZ, SIG_IGN);
}
