#include "loopback_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
sockaddr_in loopback(uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    return a;
}
} // namespace

LoopbackSocket::LoopbackSocket() {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = loopback(0);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    fd_ = fd;
    port_ = ntohs(a.sin_port);
}

LoopbackSocket::~LoopbackSocket() {
    if (fd_ >= 0) close(static_cast<int>(fd_));
}

void LoopbackSocket::send_to(uint16_t to, const uint8_t* data, std::size_t len) const {
    const sockaddr_in a = loopback(to);
    sendto(static_cast<int>(fd_), data, len, 0, reinterpret_cast<const sockaddr*>(&a), sizeof a);
}

void LoopbackSocket::flood(uint16_t to, const uint8_t* data, std::size_t len, int count) const {
    // Batches of 64 in one call: far faster than one receive call per
    // datagram can take them off.
    sockaddr_in a = loopback(to);
    iovec iov{const_cast<uint8_t*>(data), len};
    std::vector<mmsghdr> msgs(64);
    for (mmsghdr& m : msgs) {
        m = mmsghdr{};
        m.msg_hdr.msg_name = &a;
        m.msg_hdr.msg_namelen = sizeof a;
        m.msg_hdr.msg_iov = &iov;
        m.msg_hdr.msg_iovlen = 1;
    }
    for (int sent = 0; sent < count; sent += static_cast<int>(msgs.size()))
        sendmmsg(static_cast<int>(fd_), msgs.data(), static_cast<unsigned>(msgs.size()), 0);
}

bool LoopbackSocket::receive(std::vector<uint8_t>& data, uint16_t& from, int timeout_ms) const {
    pollfd p{static_cast<int>(fd_), POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) return false;
    uint8_t buf[512];
    sockaddr_in a{};
    socklen_t len = sizeof a;
    const ssize_t n =
        recvfrom(static_cast<int>(fd_), buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&a), &len);
    if (n < 0) return false;
    data.assign(buf, buf + n);
    from = ntohs(a.sin_port);
    return true;
}
