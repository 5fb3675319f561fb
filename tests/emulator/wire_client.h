// Minimal bus clients for the emulator tests: UDP (wire_client_posix.cpp,
// wire_client_win32.cpp) and a pseudo-terminal (Linux only).
#pragma once

#include "km_protocol.h"

#include <cstdint>
#include <string>
#include <vector>

namespace emu_test {

class UdpClient {
  public:
    explicit UdpClient(uint16_t port);
    ~UdpClient();
    void send_raw(const std::vector<uint8_t>& bytes);
    void send(uint16_t txn, const km::proto::Request& req);
    // Next datagram within `timeout_ms`; empty when none came.
    std::vector<uint8_t> receive(int timeout_ms);
    // Sends and decodes the reply; false when none came or it did not decode.
    bool ask(uint16_t txn, const km::proto::Request& req, km::proto::Reply& rep,
             int timeout_ms = 1000);

  private:
    intptr_t fd_ = -1; // a descriptor or a Winsock SOCKET
    uint16_t port_;
};

class PtyClient {
  public:
    explicit PtyClient(const std::string& path);
    ~PtyClient();
    bool is_open() const { return fd_ >= 0; }
    // Line speed as a termios constant (B9600, ...).
    void set_speed(unsigned speed);
    void write_raw(const std::vector<uint8_t>& bytes);
    void send(const km::proto::Request& req);
    // Reads until `n` bytes came or `timeout_ms` passed.
    std::vector<uint8_t> receive(std::size_t n, int timeout_ms);
    bool ask(const km::proto::Request& req, km::proto::Reply& rep, int timeout_ms = 1000);

  private:
    int fd_ = -1;
};

} // namespace emu_test
