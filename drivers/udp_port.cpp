// The platform-free part of the UDP transport: address text, clocks, the
// retries of a send and the deadline of a receive.
#include "udp_port.h"

#include "driver_errors.h"

#include <chrono>
#include <cstring>

namespace km {

int64_t steady_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t steady_us() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

bool parse_ipv4(const char* text, uint32_t& out) {
    if (!text) return false;
    // The rules of POSIX inet_pton, written out so that every platform
    // accepts the same texts: four decimal parts 0-255, no leading zero, no
    // sign, no blank, nothing before or after.
    uint8_t parts[4] = {};
    int count = 0;
    bool digit = false;
    for (const char* p = text; *p; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            if (!digit) {
                if (++count > 4) return false;
                digit = true;
            } else if (parts[count - 1] == 0) {
                return false;
            }
            const unsigned v = parts[count - 1] * 10u + static_cast<unsigned>(c - '0');
            if (v > 255) return false;
            parts[count - 1] = static_cast<uint8_t>(v);
        } else if (c == '.' && digit && count < 4) {
            digit = false;
        } else {
            return false;
        }
    }
    if (count != 4 || !digit) return false;
    // Network byte order: the first part is the lowest-addressed byte.
    std::memcpy(&out, parts, sizeof out);
    return true;
}

UdpPort::~UdpPort() {
    close();
}

uint32_t UdpPort::send(const uint8_t* data, std::size_t len) {
    if (sock_ == kClosed) return kErrHandle;
    for (int tries = 0; tries < 3; ++tries) {
        const Sent r = send_once(data, len);
        if (r == Sent::Whole) return kOk;
        if (r == Sent::Failed) break;
    }
    return kErrIo;
}

int UdpPort::receive(uint8_t* buf, std::size_t cap, int64_t deadline_us) {
    if (sock_ == kClosed) return kFailed;
    for (;;) {
        const int64_t left = deadline_us - steady_us();
        if (left <= 0) return kDeadline;
        uint32_t ip = peer_ip_;
        uint16_t port = peer_port_;
        const int n = receive_once(buf, cap, left, ip, port);
        if (n == kFailed) return kFailed;
        // Anyone else's datagram is dropped; the deadline above still holds.
        if (n >= 0 && ip == peer_ip_ && port == peer_port_) return n;
    }
}

} // namespace km
