// Serves a Module on the wire: UDP datagrams and a pseudo-terminal that
// stands in for a serial line. Single-threaded; call poll_once() in a loop.
#pragma once

#include "km_bus.h"
#include "km_module.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include <netinet/in.h>

namespace km::emu {

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
    // line survives clients coming and going.
    bool open_pty(std::string& error);

    uint16_t udp_port() const { return udp_port_; }
    const std::string& udp_host() const { return udp_host_; }
    const std::string& pty_path() const { return pty_path_; }

    // Waits at most `timeout_ms` for traffic, answers it, sends due replies.
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
        sockaddr_in to;
        std::vector<uint8_t> bytes;
    };

    void on_udp();
    void on_pty();
    bool line_speed_matches() const;
    // Baud index of the pseudo-terminal's speed: kAnyBaud unless strict.
    int line_baud_index() const;
    void answer(const proto::Request& req, bool udp, uint16_t txn, const sockaddr_in* to);
    void send_now(const Pending& p);
    void send_due();
    int next_due_ms() const;

    Bus own_bus_;
    Bus& bus_;
    int udp_fd_ = -1;
    uint16_t udp_port_ = 0;
    std::string udp_host_;
    int master_fd_ = -1;
    int slave_fd_ = -1;
    std::string pty_path_;
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
