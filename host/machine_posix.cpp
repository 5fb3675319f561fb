#include "machine.h"

#include <cerrno>
#include <cstdio>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kmhost {
namespace {

// A whole static 32-bit x86 Linux program: the ELF header, one loadable
// segment, and exit(0) through int 0x80. Nothing else to load, so only the
// kernel's support for the format decides whether it starts.
constexpr unsigned char kProbe[] = {
    0x7f, 0x45, 0x4c, 0x46, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x54, 0x80, 0x04, 0x08, 0x34, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x34, 0x00, 0x20, 0x00, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x04, 0x08,
    0x00, 0x80, 0x04, 0x08, 0x5b, 0x00, 0x00, 0x00, 0x5b, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00,
    0x00, 0x10, 0x00, 0x00, 0x31, 0xdb, 0x31, 0xc0, 0x40, 0xcd, 0x80};
static_assert(sizeof(kProbe) == 0x5b);

Runs32 probe() {
#ifdef __linux__
    // An anonymous file, so no temporary folder mounted noexec can spoil
    // the answer and nothing is left on disk.
    const int fd = memfd_create("km207-probe32", MFD_CLOEXEC);
    if (fd < 0) return Runs32::unknown;
    size_t done = 0;
    while (done < sizeof(kProbe)) {
        const ssize_t n = ::write(fd, kProbe + done, sizeof(kProbe) - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            return Runs32::unknown;
        }
        done += static_cast<size_t>(n);
    }
    char path[32];
    std::snprintf(path, sizeof(path), "/proc/self/fd/%d", fd);
    char* argv[] = {path, nullptr};
    pid_t pid = 0;
    // glibc's posix_spawn returns the error of the child's exec itself.
    const int rc = posix_spawn(&pid, path, nullptr, nullptr, argv, environ);
    ::close(fd);
    if (rc == ENOEXEC) return Runs32::no;
    if (rc != 0) return Runs32::unknown;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return Runs32::unknown;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Runs32::yes : Runs32::unknown;
#else
    return Runs32::unknown;
#endif
}

} // namespace

Runs32 runs_32bit_programs() {
    static const Runs32 answer = probe();
    return answer;
}

} // namespace kmhost
