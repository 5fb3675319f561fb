// The part of a driver shared by all five libraries: the handle table, the
// exchange of one command with retries, and the entry-point bodies.
#pragma once

#include "km_protocol.h"

#include <cstdint>
#include <memory>
#include <string>

namespace km {

// Bounds of SetConfig's values.
constexpr uint32_t kMaxRetries = 10;
constexpr uint32_t kTurnaroundMs = 50;
constexpr uint32_t kMinUdpTimeoutMs = 10;
constexpr uint32_t kDefaultBaud = 9600;
constexpr uint32_t kDefaultTiming = 13;
constexpr uint32_t kDefaultRetries = 2;

// Time the serial driver waits for a whole reply after it sent a request:
// the request and the reply, 20 bytes of 10 bits (start, 8 data, stop) each,
// at `baud`, plus kTurnaroundMs for the module's turnaround and the latency
// of USB adapters. 9600 Bd: 21 + 50 = 71 ms; 600 Bd: 334 + 50 = 384 ms.
uint32_t serial_response_timeout_ms(uint32_t baud);

// One open interface.
class Channel {
  public:
    virtual ~Channel() = default;
    // Keeps SetConfig's values (retries capped); a channel that applies them
    // to a device does so first and may refuse them.
    virtual uint32_t configure(uint32_t baud, uint32_t timing, uint32_t retries) {
        baud_ = baud;
        timing_ = timing;
        retries_ = retries < kMaxRetries ? retries : kMaxRetries;
        return 0;
    }
    void get_config(uint32_t& baud, uint32_t& timing, uint32_t& retries) const {
        baud = baud_;
        timing = timing_;
        retries = retries_;
    }
    // One command with its retries; a driver status.
    virtual uint32_t exchange(const proto::Request& req, proto::Reply& rep) = 0;

  protected:
    uint32_t baud_ = kDefaultBaud;
    uint32_t timing_ = kDefaultTiming;
    uint32_t retries_ = kDefaultRetries;
};

// Opens the serial device at `path` (empty: no device found).
uint32_t open_serial_channel(const std::string& path, std::unique_ptr<Channel>& out);
// Opens the UDP channel from the LAN Init block.
uint32_t open_udp_channel(const uintptr_t* config, std::unique_ptr<Channel>& out);

// Entry-point bodies.
uint32_t core_add(std::unique_ptr<Channel> ch, uint32_t* handle);
uint32_t core_set_config(uint32_t handle, uint32_t baud, uint32_t timing, uint32_t retries);
uint32_t core_get_config(uint32_t handle, uint32_t* baud, uint32_t* timing, uint32_t* retries);
uint32_t core_send(uint32_t handle, const uint32_t* request, uint32_t* reply, uint32_t* out,
                   uint32_t* status);
uint32_t core_done(uint32_t* handle);
uint32_t core_error(uint32_t code, uint32_t* text);

// Driver status of a module's nonzero status byte.
uint32_t status_from_module(uint8_t module_status);

} // namespace km
