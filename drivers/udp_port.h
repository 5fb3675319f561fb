// UDP transport of the LAN driver: one socket per handle, talking to one
// peer, with a deadline on every receive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <netinet/in.h>

namespace km {

// Parses dotted IPv4 text strictly (inet_pton). Null or anything else fails.
bool parse_ipv4(const char* text, in_addr& out);

class UdpPort {
  public:
    UdpPort() = default;
    ~UdpPort();
    UdpPort(const UdpPort&) = delete;
    UdpPort& operator=(const UdpPort&) = delete;

    // Opens a socket for the peer; returns a driver status.
    uint32_t open(const in_addr& ip, uint16_t port);
    void close();

    uint32_t send(const uint8_t* data, std::size_t len);
    // Waits until `deadline_ms` (steady clock, ms) for a datagram from the
    // peer; datagrams from anyone else are dropped. Returns its length,
    // 0 at the deadline, -1 when the socket failed.
    int receive(uint8_t* buf, std::size_t cap, int64_t deadline_ms);

  private:
    int fd_ = -1;
    sockaddr_in peer_{};
};

int64_t steady_ms();

} // namespace km
