#include "platform/folder_listing.h"

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

EntryKind kindOfMode(mode_t mode) {
    if (S_ISREG(mode)) return EntryKind::File;
    if (S_ISDIR(mode)) return EntryKind::Folder;
    return EntryKind::Other;
}

// d_type where the file system gives it, else the entry's own status; a link is looked through
// only to tell a linked file, which may be read, from anything else.
EntryKind kindOf(int folder, const dirent& entry) {
    struct stat status;
    switch (entry.d_type) {
    case DT_REG:
        return EntryKind::File;
    case DT_DIR:
        return EntryKind::Folder;
    case DT_LNK:
        break;
    case DT_UNKNOWN:
        if (fstatat(folder, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            return EntryKind::Other;
        if (!S_ISLNK(status.st_mode)) return kindOfMode(status.st_mode);
        break;
    default:
        return EntryKind::Other;
    }
    if (fstatat(folder, entry.d_name, &status, 0) != 0) return EntryKind::Other;
    return S_ISREG(status.st_mode) ? EntryKind::File : EntryKind::Other;
}

} // namespace

bool listFolder(const std::string& path, std::vector<FolderEntry>& entries, bool refuseLink) {
    entries.clear();
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (refuseLink ? O_NOFOLLOW : 0);
    const int fd = open(path.c_str(), flags);
    if (fd < 0) return false;
    DIR* folder = fdopendir(fd);
    if (!folder) {
        close(fd);
        return false;
    }
    while (const dirent* entry = readdir(folder)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
        entries.push_back({entry->d_name, kindOf(fd, *entry)});
    }
    closedir(folder);
    return true;
}
