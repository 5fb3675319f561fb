// A UDP socket on 127.0.0.1 for tests that play the peer of a driver or
// the emulator. One file per platform (loopback_socket_posix.cpp,
// loopback_socket_win32.cpp); every address is loopback, so a peer is
// named by its port alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class LoopbackSocket {
  public:
    // Bound to a free port.
    LoopbackSocket();
    ~LoopbackSocket();
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;

    uint16_t port() const { return port_; }
    void send_to(uint16_t to, const uint8_t* data, std::size_t len) const;
    // `count` copies of one datagram, as fast as the platform sends them.
    void flood(uint16_t to, const uint8_t* data, std::size_t len, int count) const;
    // The next datagram within `timeout_ms` (0: only one already there);
    // false when none came.
    bool receive(std::vector<uint8_t>& data, uint16_t& from, int timeout_ms) const;

  private:
    intptr_t fd_ = -1; // a descriptor or a Winsock SOCKET
    uint16_t port_ = 0;
};
