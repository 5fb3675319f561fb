// Regular files on POSIX systems.
#include "regular_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kmhost {

namespace {

RegularFile reason(int error) {
    if (error == ENOENT || error == ENOTDIR) return RegularFile::Missing;
    if (error == EACCES || error == EPERM) return RegularFile::Denied;
    return RegularFile::Failed;
}

} // namespace

int open_regular_file(const std::string& path, RegularFile& result) {
    struct stat st {};
    // Looked at first, so a device is never opened at all...
    if (::stat(path.c_str(), &st) != 0) {
        result = reason(errno);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        result = RegularFile::NotRegular;
        return -1;
    }
    // ...and opened without waiting, in case a FIFO took its place meanwhile.
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        result = reason(errno);
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        result = RegularFile::NotRegular;
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    result = RegularFile::Opened;
    return fd;
}

int open_file_for_append(const std::string& path, bool overwrite, RegularFile& result) {
    struct stat st {};
    const bool exists = ::lstat(path.c_str(), &st) == 0; // a link too, even a dangling one
    if (exists && !overwrite) {
        result = RegularFile::Exists;
        return -1;
    }
    // A device or a FIFO is never opened; one slipped in meanwhile is opened
    // without waiting and refused below.
    if (exists && ::stat(path.c_str(), &st) != 0) {
        result = reason(errno);
        return -1;
    }
    if (exists && !S_ISREG(st.st_mode)) {
        result = RegularFile::NotRegular;
        return -1;
    }
    const int flags = O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd;
    do {
        fd = exists ? ::open(path.c_str(), flags)
                    : ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        result = errno == EEXIST ? RegularFile::Exists : reason(errno);
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        result = RegularFile::NotRegular;
        return -1;
    }
    if (exists && ::ftruncate(fd, 0) != 0) {
        result = reason(errno);
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    result = RegularFile::Opened;
    return fd;
}

} // namespace kmhost
