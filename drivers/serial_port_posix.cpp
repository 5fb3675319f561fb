#include "serial_port.h"

#include "driver_errors.h"
#include "serial_line.h"
#include "udp_port.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace km {

namespace {
int fd_of(intptr_t handle) {
    return static_cast<int>(handle);
}
} // namespace

uint32_t status_from_open_errno(int err) {
    switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
    // A folder, a symlink loop or an over-long name: no device by that name.
    case EISDIR:
    case ELOOP:
    case ENAMETOOLONG:
        return kErrNoDevice;
    case EACCES:
    case EPERM:
        return kErrPermission;
    case EBUSY:
    case EWOULDBLOCK:
        return kErrBusy;
    case ENOMEM:
    case EMFILE:
    case ENFILE:
        return kErrNoMemory;
    default:
        return kErrIo;
    }
}

uint32_t SerialPort::open(const std::string& path, uint32_t baud) {
    close();
    if (path.empty()) return kErrNoDevice;
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return status_from_open_errno(errno);
    // Advisory lock, as other serial programs take it: a second user is "busy".
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? kErrBusy : status_from_open_errno(err);
    }
    const platform::LineSetup setup = platform::set_raw_8n1(fd);
    if (setup != platform::LineSetup::Done) {
        int err = errno;
        ::close(fd);
        // Not a terminal at all: no serial port behind this name.
        if (setup == platform::LineSetup::NoLine && err == ENOTTY) return kErrNoDevice;
        return status_from_open_errno(err);
    }
    handle_ = fd;
    uint32_t st = set_baud(baud);
    if (st != kOk) close();
    return st;
}

void SerialPort::close() {
    if (handle_ != kClosed) {
        ::close(fd_of(handle_)); // also drops the lock
        handle_ = kClosed;
    }
}

void SerialPort::discard_input() {
    if (handle_ == kClosed) return;
    tcflush(fd_of(handle_), TCIFLUSH);
    // A pseudo-terminal may still hold bytes after the flush; read them off,
    // but never for ever on a line that keeps talking.
    uint8_t junk[64];
    for (int i = 0; i < 64 && ::read(fd_of(handle_), junk, sizeof junk) > 0; ++i) {
    }
}

uint32_t SerialPort::write_all(const uint8_t* data, std::size_t len, int timeout_ms) {
    if (handle_ == kClosed) return kErrHandle;
    const int64_t deadline = steady_ms() + timeout_ms;
    std::size_t done = 0;
    while (done < len) {
        ssize_t n = ::write(fd_of(handle_), data + done, len - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return kErrIo;
        int64_t left = deadline - steady_ms();
        if (left <= 0) return kErrTimeout;
        pollfd p{fd_of(handle_), POLLOUT, 0};
        if (poll(&p, 1, static_cast<int>(left)) < 0 && errno != EINTR) return kErrIo;
    }
    return kOk;
}

int SerialPort::read_some(uint8_t* buf, std::size_t cap, int timeout_ms) {
    if (handle_ == kClosed) return -1;
    const int64_t deadline = steady_ms() + (timeout_ms > 0 ? timeout_ms : 0);
    for (;;) {
        ssize_t n = ::read(fd_of(handle_), buf, cap);
        if (n > 0) return static_cast<int>(n);
        if (n < 0 && errno != EAGAIN && errno != EINTR) return -1;
        int64_t left = deadline - steady_ms();
        if (left <= 0) return 0;
        pollfd p{fd_of(handle_), POLLIN, 0};
        int r = poll(&p, 1, static_cast<int>(left));
        if (r < 0 && errno != EINTR) return -1;
        if (r > 0 && (p.revents & (POLLERR | POLLNVAL))) return -1;
        // POLLHUP on a pseudo-terminal whose master is gone: nothing to read,
        // wait out the deadline instead of spinning.
        if (r > 0 && (p.revents & POLLHUP) && !(p.revents & POLLIN)) {
            left = deadline - steady_ms();
            if (left > 0) poll(nullptr, 0, static_cast<int>(left));
            return 0;
        }
    }
}

} // namespace km
