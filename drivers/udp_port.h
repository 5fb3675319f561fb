// UDP transport of the LAN driver: one socket per handle, talking to one
// peer, with a deadline on every receive. One implementation per platform:
// udp_port_posix.cpp (BSD sockets), udp_port_win32.cpp (Winsock); the
// retries and the deadline are udp_port.cpp's.
#pragma once

#include <cstddef>
#include <cstdint>

namespace km {

// Parses dotted IPv4 text strictly: four decimal parts 0-255, nothing else.
// Null or anything else fails. `out` is in network byte order.
bool parse_ipv4(const char* text, uint32_t& out);

class UdpPort {
  public:
    // receive() results that are not a datagram's length.
    static constexpr int kDeadline = -1;
    static constexpr int kFailed = -2;

    UdpPort() = default;
    ~UdpPort();
    UdpPort(const UdpPort&) = delete;
    UdpPort& operator=(const UdpPort&) = delete;

    // Opens a socket for the peer (`ip` in network byte order), tuned for
    // waits of `timeout_ms` after each send; returns a driver status.
    uint32_t open(uint32_t ip, uint16_t port, uint32_t timeout_ms);
    void close();

    uint32_t send(const uint8_t* data, std::size_t len);
    // Waits until `deadline_us` (steady_us clock) for a datagram from the
    // peer; datagrams from anyone else are dropped. Returns its length (0 for
    // an empty datagram), kDeadline once the deadline passed, or kFailed when
    // the socket failed.
    int receive(uint8_t* buf, std::size_t cap, int64_t deadline_us);

  private:
    // What one try at sending gave.
    enum class Sent { Whole, TryAgain, Failed };
    Sent send_once(const uint8_t* data, std::size_t len);
    // receive_once() result: nothing to return yet, wait on.
    static constexpr int kWaitOn = -3;
    // One wait of at most `left_us` for a datagram, then one taken off the
    // socket: its length (kWaitOn, kFailed otherwise) and, when the socket
    // is not connected, its source in `ip` and `port`.
    int receive_once(uint8_t* buf, std::size_t cap, int64_t left_us, uint32_t& ip, uint16_t& port);

    // A file descriptor or a Winsock SOCKET; both use -1 (~0) for "none".
    static constexpr intptr_t kClosed = -1;
    intptr_t sock_ = kClosed;
    bool connected_ = false;
    uint32_t peer_ip_ = 0;   // network byte order
    uint16_t peer_port_ = 0; // network byte order
    // The socket's own receive timeout (0: none); see open().
    int64_t early_us_ = 0;
};

int64_t steady_ms();
int64_t steady_us();

} // namespace km
