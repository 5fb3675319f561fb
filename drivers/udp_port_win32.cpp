// The UDP transport through Winsock. Every receive waits in select() up to
// the deadline; the POSIX file's early socket timeout is left out, as a
// Windows socket timeout is whole milliseconds on a coarse clock.
#include "udp_port.h"

#include "driver_errors.h"
#include "udp_socket.h"

#include <mswsock.h>

namespace km {

namespace {

SOCKET socket_of(intptr_t s) {
    return static_cast<SOCKET>(s);
}

} // namespace

uint32_t UdpPort::open(uint32_t ip, uint16_t port, uint32_t timeout_ms) {
    close();
    if (!platform::winsock_up()) return kErrIo;
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) return WSAGetLastError() == WSAENOBUFS ? kErrNoMemory : kErrIo;
    // A socket is inherited by no child process.
    SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    peer_ip_ = ip;
    peer_port_ = htons(port);
    const sockaddr_in any = platform::ipv4_address(0, 0);
    if (bind(s, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
        closesocket(s);
        return kErrIo;
    }
    // A peer's "port unreachable" would otherwise fail the next receive
    // with WSAECONNRESET; it means no answer, which the deadline tells.
    BOOL report = FALSE;
    DWORD got = 0;
    WSAIoctl(s, SIO_UDP_CONNRESET, &report, sizeof report, nullptr, 0, &got, nullptr, nullptr);
    // Connected, the stack itself drops datagrams from anyone but the peer.
    const sockaddr_in peer = platform::ipv4_address(peer_ip_, peer_port_);
    connected_ = connect(s, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0;
    early_us_ = 0;
    // Sending never waits past the reply's own timeout either.
    const DWORD send_ms = timeout_ms > 0 ? timeout_ms : 1;
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&send_ms), sizeof send_ms);
    sock_ = static_cast<intptr_t>(s);
    return kOk;
}

void UdpPort::close() {
    if (sock_ != kClosed) {
        closesocket(socket_of(sock_));
        sock_ = kClosed;
    }
}

UdpPort::Sent UdpPort::send_once(const uint8_t* data, std::size_t len) {
    const SOCKET s = socket_of(sock_);
    const sockaddr_in peer = platform::ipv4_address(peer_ip_, peer_port_);
    const char* bytes = reinterpret_cast<const char*>(data);
    const int n = connected_ ? ::send(s, bytes, static_cast<int>(len), 0)
                             : sendto(s, bytes, static_cast<int>(len), 0,
                                      reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    if (n == static_cast<int>(len)) return Sent::Whole;
    const int err = WSAGetLastError();
    // WSAECONNRESET: an earlier datagram's "port unreachable".
    if (n == SOCKET_ERROR && err != WSAEINTR && err != WSAEWOULDBLOCK && err != WSAENOBUFS &&
        err != WSAECONNRESET)
        return Sent::Failed;
    return Sent::TryAgain;
}

int UdpPort::receive_once(uint8_t* buf, std::size_t cap, int64_t left_us, uint32_t& ip,
                          uint16_t& port) {
    const SOCKET s = socket_of(sock_);
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(s, &ready);
    const int64_t wait_ms = (left_us + 999) / 1000;
    timeval tv{static_cast<long>(wait_ms / 1000), static_cast<long>(wait_ms % 1000) * 1000};
    const int r = select(0, &ready, nullptr, nullptr, &tv);
    if (r == SOCKET_ERROR && WSAGetLastError() != WSAEINTR) return kFailed;
    if (r <= 0) return kWaitOn;
    sockaddr_in from{};
    int fromlen = sizeof from;
    char* bytes = reinterpret_cast<char*>(buf);
    const int n = connected_ ? recv(s, bytes, static_cast<int>(cap), 0)
                             : recvfrom(s, bytes, static_cast<int>(cap), 0,
                                        reinterpret_cast<sockaddr*>(&from), &fromlen);
    // A datagram longer than `cap` arrives cut to it and reports WSAEMSGSIZE;
    // the caller keeps `cap` above a frame's size.
    int len = n;
    if (n == SOCKET_ERROR) {
        const int err = WSAGetLastError();
        if (err == WSAEMSGSIZE) {
            len = static_cast<int>(cap);
        } else if (err == WSAEWOULDBLOCK || err == WSAEINTR || err == WSAECONNRESET) {
            return kWaitOn; // no answer yet
        } else {
            return kFailed;
        }
    }
    if (!connected_) {
        if (fromlen != sizeof from || from.sin_family != AF_INET) return kWaitOn;
        ip = from.sin_addr.s_addr;
        port = from.sin_port;
    }
    return len;
}

} // namespace km
