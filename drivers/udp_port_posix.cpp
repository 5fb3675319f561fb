#include "udp_port.h"

#include "driver_errors.h"
#include "udp_socket.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace km {

namespace {

// Longest a kernel timer may fire after its time: the timer wheel rounds a
// timeout up by at most an eighth, plus a tick (10 ms at 100 Hz).
int64_t latest_fire_us(int64_t timeout_us) {
    return timeout_us + timeout_us / 8 + 10000;
}

void set_timeout(int fd, int option, int64_t us) {
    timeval tv{};
    tv.tv_sec = static_cast<time_t>(us / 1000000);
    tv.tv_usec = static_cast<suseconds_t>(us % 1000000);
    setsockopt(fd, SOL_SOCKET, option, &tv, sizeof tv);
}

int fd_of(intptr_t sock) {
    return static_cast<int>(sock);
}

} // namespace

uint32_t UdpPort::open(uint32_t ip, uint16_t port, uint32_t timeout_ms) {
    close();
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return errno == EMFILE || errno == ENFILE || errno == ENOMEM ? kErrNoMemory : kErrIo;
    peer_ip_ = ip;
    peer_port_ = htons(port);
    const sockaddr_in any = platform::ipv4_address(0, 0);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
        ::close(fd);
        return kErrIo;
    }
    // Connected, the kernel itself drops datagrams from anyone but the peer,
    // so a flood from elsewhere never reaches the receive loop. Where no route
    // is known yet the socket stays unconnected: the source is checked per
    // datagram anyway, and a send reports the missing route.
    const sockaddr_in peer = platform::ipv4_address(peer_ip_, peer_port_);
    connected_ = connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0;
    // A reply usually comes within microseconds. The socket blocks in one
    // receive call (no poll first) under its own timeout, set so that it
    // fires before the deadline even when the kernel's timer is late; the
    // rest of the wait is then exact, by poll.
    const int64_t timeout_us = int64_t{timeout_ms} * 1000;
    const int64_t early = timeout_us * 7 / 8 - 10000;
    early_us_ = early > 0 && latest_fire_us(early) < timeout_us ? early : 0;
    if (early_us_ > 0) set_timeout(fd, SO_RCVTIMEO, early_us_);
    // Sending never waits past the reply's own timeout either.
    set_timeout(fd, SO_SNDTIMEO, timeout_us);
    sock_ = fd;
    return kOk;
}

void UdpPort::close() {
    if (sock_ != kClosed) {
        ::close(fd_of(sock_));
        sock_ = kClosed;
    }
}

UdpPort::Sent UdpPort::send_once(const uint8_t* data, std::size_t len) {
    // Connected, a send without an address uses the route the socket keeps
    // instead of looking it up again.
    const sockaddr_in peer = platform::ipv4_address(peer_ip_, peer_port_);
    const ssize_t n = connected_ ? ::send(fd_of(sock_), data, len, 0)
                                 : sendto(fd_of(sock_), data, len, 0,
                                          reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    if (n == static_cast<ssize_t>(len)) return Sent::Whole;
    // ECONNREFUSED: an earlier datagram's "port unreachable", reported here
    // instead of this one being sent.
    if (n < 0 && errno != EINTR && errno != EAGAIN && errno != ENOBUFS && errno != ECONNREFUSED)
        return Sent::Failed;
    return Sent::TryAgain;
}

int UdpPort::receive_once(uint8_t* buf, std::size_t cap, int64_t left_us, uint32_t& ip,
                          uint16_t& port) {
    const int fd = fd_of(sock_);
    int flags = MSG_TRUNC;
    // Block in the receive itself while the socket's timeout ends before the
    // deadline; else wait exactly, then take what came.
    if (early_us_ == 0 || latest_fire_us(early_us_) > left_us) {
        pollfd p{fd, POLLIN, 0};
        const int r = poll(&p, 1, static_cast<int>((left_us + 999) / 1000));
        if (r < 0 && errno != EINTR) return kFailed;
        if (r <= 0) return kWaitOn;
        flags |= MSG_DONTWAIT;
    }
    // Connected, only the peer's datagrams reach the socket: no source
    // address to fetch and compare.
    sockaddr_in from{};
    socklen_t fromlen = sizeof from;
    const ssize_t n =
        connected_ ? recv(fd, buf, cap, flags)
                   : recvfrom(fd, buf, cap, flags, reinterpret_cast<sockaddr*>(&from), &fromlen);
    if (n < 0) {
        // Timeout, a signal, or the ICMP "port unreachable" of a peer that
        // may come up later: no answer yet, so wait on.
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ECONNREFUSED)
            return kWaitOn;
        return kFailed;
    }
    if (!connected_) {
        if (fromlen != sizeof from || from.sin_family != AF_INET) return kWaitOn;
        ip = from.sin_addr.s_addr;
        port = from.sin_port;
    }
    // MSG_TRUNC gives the real length; an oversized datagram comes back cut
    // to `cap`, which the caller keeps above a frame's size.
    return static_cast<int>(static_cast<std::size_t>(n) < cap ? static_cast<std::size_t>(n) : cap);
}

} // namespace km
