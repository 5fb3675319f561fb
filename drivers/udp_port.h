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
    // receive() results that are not a datagram's length.
    static constexpr int kDeadline = -1;
    static constexpr int kFailed = -2;

    UdpPort() = default;
    ~UdpPort();
    UdpPort(const UdpPort&) = delete;
    UdpPort& operator=(const UdpPort&) = delete;

    // Opens a socket for the peer, tuned for waits of `timeout_ms` after each
    // send; returns a driver status.
    uint32_t open(const in_addr& ip, uint16_t port, uint32_t timeout_ms);
    void close();

    uint32_t send(const uint8_t* data, std::size_t len);
    // Waits until `deadline_us` (steady_us clock) for a datagram from the
    // peer; datagrams from anyone else are dropped. Returns its length (0 for
    // an empty datagram), kDeadline once the deadline passed, or kFailed when
    // the socket failed.
    int receive(uint8_t* buf, std::size_t cap, int64_t deadline_us);

  private:
    int fd_ = -1;
    bool connected_ = false;
    sockaddr_in peer_{};
    // The socket's own receive timeout (0: none); see open().
    int64_t early_us_ = 0;
};

int64_t steady_ms();
int64_t steady_us();

} // namespace km
