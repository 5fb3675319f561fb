#include "loopback_socket.h"

#include <winsock2.h>

namespace {
SOCKET sock(intptr_t s) {
    return static_cast<SOCKET>(s);
}

sockaddr_in loopback(uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    return a;
}
} // namespace

LoopbackSocket::LoopbackSocket() {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in a = loopback(0);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    int len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    fd_ = static_cast<intptr_t>(s);
    port_ = ntohs(a.sin_port);
}

LoopbackSocket::~LoopbackSocket() {
    if (fd_ != -1) closesocket(sock(fd_));
    WSACleanup();
}

void LoopbackSocket::send_to(uint16_t to, const uint8_t* data, std::size_t len) const {
    const sockaddr_in a = loopback(to);
    sendto(sock(fd_), reinterpret_cast<const char*>(data), static_cast<int>(len), 0,
           reinterpret_cast<const sockaddr*>(&a), sizeof a);
}

void LoopbackSocket::flood(uint16_t to, const uint8_t* data, std::size_t len, int count) const {
    for (int i = 0; i < count; ++i)
        send_to(to, data, len);
}

bool LoopbackSocket::receive(std::vector<uint8_t>& data, uint16_t& from, int timeout_ms) const {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(sock(fd_), &ready);
    timeval tv{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
    if (select(0, &ready, nullptr, nullptr, &tv) <= 0) return false;
    char buf[512];
    sockaddr_in a{};
    int len = sizeof a;
    const int n = recvfrom(sock(fd_), buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&a), &len);
    if (n < 0) return false;
    data.assign(buf, buf + n);
    from = ntohs(a.sin_port);
    return true;
}
