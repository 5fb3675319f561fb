// IPv4 datagram sockets alike on both platforms: the socket address of a
// host and port, and on Windows the start of Winsock (winsock_win32.cpp).
#pragma once

#ifdef _WIN32
// Winsock before anything that includes windows.h.
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#endif

#include <cstdint>

namespace km::platform {

#ifdef _WIN32
// Starts Winsock once per process and leaves it running: a driver library
// may be loaded and released many times, the socket layer stays. False
// when it did not start.
bool winsock_up();
#endif

// `ip` and `port` in network byte order; 0 for any.
inline sockaddr_in ipv4_address(uint32_t ip, uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = ip;
    a.sin_port = port;
    return a;
}

} // namespace km::platform
