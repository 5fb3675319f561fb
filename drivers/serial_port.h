// Serial transport shared by the four serial drivers: a raw 8N1 port with
// deadlines on every read and write. One implementation per platform:
// serial_port_posix.cpp (termios), serial_port_win32.cpp (Win32 comm API);
// serial_port.cpp is what both share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace km {

// Driver status of an errno from opening a device.
uint32_t status_from_open_errno(int err);

class SerialPort {
  public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens `path` raw 8N1 at `baud` and locks it against other users.
    // Returns a driver status (0, kErrNoDevice, kErrPermission, kErrBusy, ...).
    uint32_t open(const std::string& path, uint32_t baud);
    void close();
    bool is_open() const { return handle_ != kClosed; }

    uint32_t set_baud(uint32_t baud);
    // Drops whatever arrived and was not read.
    void discard_input();
    // Writes all bytes or fails at the deadline (ms from now).
    uint32_t write_all(const uint8_t* data, std::size_t len, int timeout_ms);
    // Waits up to `timeout_ms` for bytes; returns how many were read
    // (0 on timeout), or -1 when the port failed.
    int read_some(uint8_t* buf, std::size_t cap, int timeout_ms);

  private:
    // A file descriptor or a Windows HANDLE; both use -1 for "none".
    static constexpr intptr_t kClosed = -1;
    intptr_t handle_ = kClosed;
    // Windows: the named object that marks the port as ours (see open()).
    intptr_t claim_ = kClosed;
};

} // namespace km
