#include "wire_client.h"

#include <winsock2.h>

namespace emu_test {

namespace {
SOCKET sock(intptr_t s) {
    return static_cast<SOCKET>(s);
}
} // namespace

UdpClient::UdpClient(uint16_t port) : port_(port) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    fd_ = static_cast<intptr_t>(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
}

UdpClient::~UdpClient() {
    if (fd_ != -1) ::closesocket(sock(fd_));
    WSACleanup();
}

void UdpClient::send_raw(const std::vector<uint8_t>& bytes) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port_);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::sendto(sock(fd_), reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()),
             0, reinterpret_cast<sockaddr*>(&a), sizeof a);
}

std::vector<uint8_t> UdpClient::receive(int timeout_ms) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(sock(fd_), &ready);
    timeval tv{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
    if (::select(0, &ready, nullptr, nullptr, &tv) <= 0) return {};
    std::vector<uint8_t> buf(512);
    const int n =
        ::recv(sock(fd_), reinterpret_cast<char*>(buf.data()), static_cast<int>(buf.size()), 0);
    if (n <= 0) return {};
    buf.resize(static_cast<std::size_t>(n));
    return buf;
}

} // namespace emu_test
