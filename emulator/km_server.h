// Serves a Module on the wire: UDP datagrams and a serial line, which is a
// pseudo-terminal on Linux or a COM port. Call poll_once() in a loop; the
// module is touched only on that thread. A helper thread, started by the
// first poll_once(), only carries the line's bytes to the socket that
// poll_once() waits on, so one blocking receive serves both sides.
// The transport is one file per platform (km_server_posix.cpp,
// km_server_win32.cpp); what the module hears and answers is km_server.cpp.
#pragma once

#include "km_bus.h"
#include "km_module.h"

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <thread>
#include <vector>

namespace km::emu {

// Milliseconds of the steady clock, and bytes as hex for the verbose log.
int64_t mono_ms();
std::string hex(const uint8_t* p, std::size_t n);

class Server {
  public:
    // One module on the line.
    explicit Server(Module& module);
    // Several modules on one line; the bus must outlive the server.
    explicit Server(Bus& bus);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Binds a UDP socket; port 0 picks a free port. False with `error` set on failure.
    bool open_udp(const std::string& host, uint16_t port, std::string& error);
    // Opens a raw pseudo-terminal; a slave descriptor stays open here so the
    // line survives clients coming and going. Only where pty_supported().
    bool open_pty(std::string& error);
    static bool pty_supported();
    // Serves the serial port `device` (e.g. "COM5", "/dev/ttyUSB0"), raw
    // 8N1 at `baud`, one of the bus's nine rates.
    bool open_serial(const std::string& device, uint32_t baud, std::string& error);

    uint16_t udp_port() const { return udp_port_; }
    const std::string& udp_host() const { return udp_host_; }
    // The pseudo-terminal's path, or the serial port's name.
    const std::string& pty_path() const { return pty_path_; }

    // Waits at most `timeout_ms` (negative: no limit) for traffic, answers
    // it, sends due replies. Open both sides before the first call.
    void poll_once(int timeout_ms);

    // Partial serial frames older than this are thrown away when new bytes come.
    void set_serial_gap_ms(int ms) { gap_ms_ = ms; }
    // One line per request and reply on stderr.
    void set_verbose(bool v) { verbose_ = v; }
    // Serial bytes reach only the modules whose active baud index is the
    // line speed the client set on the pseudo-terminal, as on a real line
    // where a wrong speed gives garbage. UDP frames carry no speed: every
    // module answers them whatever its baud index.
    void set_strict_baud(bool v) { strict_baud_ = v; }

    uint64_t serial_frames() const { return serial_frames_; }
    uint64_t udp_frames() const { return udp_frames_; }

  private:
    struct Pending {
        int64_t due_ms;
        bool udp;
        uint32_t to_ip;   // network byte order
        uint16_t to_port; // network byte order
        // The frame, in place: a reply costs no allocation.
        std::array<uint8_t, proto::kUdpFrameSize> bytes;
        std::size_t size;
    };

    // open_serial() once the rate is known to be one of the nine.
    bool open_line(const std::string& device, uint32_t baud, std::string& error);
    void start_relay();
    void relay_loop();
    // Takes one datagram off the socket poll_once() waits on; `timeout_ms`
    // as in poll_once().
    void receive_one(int timeout_ms);
    // A datagram off that socket: the relay's carries the line's bytes.
    void on_datagram(const uint8_t* data, std::size_t len, uint32_t ip, uint16_t port);
    void on_udp(const uint8_t* data, std::size_t len, uint32_t ip, uint16_t port);
    void on_pty();
    void on_pty_bytes(const uint8_t* data, std::size_t len);
    bool line_speed_matches() const;
    // Baud index of the line's speed: kAnyBaud unless strict.
    int line_baud_index() const;
    void answer(const proto::Request& req, bool udp, uint16_t txn, uint32_t ip, uint16_t port);
    void close_all();
    void send_now(const Pending& p);
    void send_datagram(const Pending& p);
    void write_line(const Pending& p);
    void send_due();
    int next_due_ms() const;

    Bus own_bus_;
    Bus& bus_;
    // Descriptors, sockets and handles; -1 is "none" for each kind.
    intptr_t udp_fd_ = -1;
    uint16_t udp_port_ = 0;
    std::string udp_host_;
    // The line's end we read and write: the pseudo-terminal's master or
    // the serial port.
    intptr_t master_fd_ = -1;
    intptr_t slave_fd_ = -1;
    std::string pty_path_;
    // The socket poll_once() blocks on: the UDP socket, or one of its own
    // when only the serial line is served.
    intptr_t rx_fd_ = -1;
    // Receive timeout last set on rx_fd_, in ms (-1: none set yet).
    int rx_timeout_ms_ = -1;
    // Relay of the line's bytes: its socket and address, what stops it (a
    // pipe, or an event), its thread.
    bool relay_tried_ = false;
    intptr_t relay_fd_ = -1;
    uint32_t relay_ip_ = 0;   // network byte order
    uint16_t relay_port_ = 0; // network byte order
    intptr_t relay_stop_[2] = {-1, -1};
    std::thread relay_;
    std::vector<uint8_t> rx_;
    int64_t last_rx_ms_ = 0;
    int gap_ms_ = 200;
    bool verbose_ = false;
    bool strict_baud_ = false;
    std::deque<Pending> pending_;
    uint64_t serial_frames_ = 0;
    uint64_t udp_frames_ = 0;
};

} // namespace km::emu
