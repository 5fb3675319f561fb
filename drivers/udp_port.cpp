#include "udp_port.h"

#include "driver_errors.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace km {

int64_t steady_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool parse_ipv4(const char* text, in_addr& out) {
    if (!text) return false;
    return inet_pton(AF_INET, text, &out) == 1;
}

UdpPort::~UdpPort() {
    close();
}

uint32_t UdpPort::open(const in_addr& ip, uint16_t port) {
    close();
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return errno == EMFILE || errno == ENFILE || errno == ENOMEM ? kErrNoMemory : kErrIo;
    peer_ = sockaddr_in{};
    peer_.sin_family = AF_INET;
    peer_.sin_addr = ip;
    peer_.sin_port = htons(port);
    // Not connected: a broadcast or multi-homed converter may answer from a
    // socket the kernel would not match; the source is checked per datagram.
    sockaddr_in any{};
    any.sin_family = AF_INET;
    if (bind(fd, reinterpret_cast<sockaddr*>(&any), sizeof any) != 0) {
        ::close(fd);
        return kErrIo;
    }
    fd_ = fd;
    return kOk;
}

void UdpPort::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

uint32_t UdpPort::send(const uint8_t* data, std::size_t len) {
    if (fd_ < 0) return kErrHandle;
    for (int tries = 0; tries < 3; ++tries) {
        ssize_t n =
            sendto(fd_, data, len, 0, reinterpret_cast<const sockaddr*>(&peer_), sizeof peer_);
        if (n == static_cast<ssize_t>(len)) return kOk;
        if (n < 0 && errno != EINTR && errno != EAGAIN && errno != ENOBUFS) break;
    }
    return kErrIo;
}

int UdpPort::receive(uint8_t* buf, std::size_t cap, int64_t deadline_ms) {
    if (fd_ < 0) return -1;
    for (;;) {
        // Wait first: right after a send nothing is there yet, and a read
        // that finds nothing would only cost a system call per exchange.
        const int64_t left = deadline_ms - steady_ms();
        if (left <= 0) return 0;
        pollfd p{fd_, POLLIN, 0};
        int r = poll(&p, 1, static_cast<int>(left));
        if (r < 0 && errno != EINTR) return -1;
        if (r <= 0) continue;
        for (;;) {
            sockaddr_in from{};
            socklen_t fromlen = sizeof from;
            ssize_t n =
                recvfrom(fd_, buf, cap, MSG_TRUNC, reinterpret_cast<sockaddr*>(&from), &fromlen);
            if (n < 0) {
                // ICMP "port unreachable" surfaces as ECONNREFUSED; the peer
                // may come up later, so it is only "no answer".
                if (errno == EAGAIN || errno == EINTR || errno == ECONNREFUSED) break;
                return -1;
            }
            const bool from_peer = fromlen == sizeof from && from.sin_family == AF_INET &&
                                   from.sin_addr.s_addr == peer_.sin_addr.s_addr &&
                                   from.sin_port == peer_.sin_port;
            if (!from_peer) continue;
            // MSG_TRUNC gives the real length; an oversized datagram comes back
            // cut to `cap`, which the caller keeps above a frame's size.
            return static_cast<int>(static_cast<std::size_t>(n) < cap ? static_cast<std::size_t>(n)
                                                                      : cap);
        }
    }
}

} // namespace km
