#include "km_server.h"

#include "serial_line.h"
#include "udp_socket.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <termios.h>
#include <unistd.h>

namespace km::emu {

namespace {
int as_fd(intptr_t d) {
    return static_cast<int>(d);
}
} // namespace

bool Server::pty_supported() {
    return true;
}

void Server::close_all() {
    if (relay_.joinable()) {
        const char stop = 1;
        const ssize_t n = ::write(relay_stop_[1], &stop, 1);
        (void)n;
        relay_.join();
    }
    for (int fd : {relay_stop_[0], relay_stop_[1], relay_fd_})
        if (fd >= 0) ::close(fd);
    if (rx_fd_ >= 0 && rx_fd_ != udp_fd_) ::close(rx_fd_);
    if (udp_fd_ >= 0) ::close(udp_fd_);
    if (slave_fd_ >= 0) ::close(slave_fd_);
    if (master_fd_ >= 0) ::close(master_fd_);
}

bool Server::open_udp(const std::string& host, uint16_t port, std::string& error) {
    sockaddr_in a = platform::ipv4_address(0, htons(port));
    if (inet_pton(AF_INET, host.c_str(), &a.sin_addr) != 1) {
        error = "not an IPv4 address: " + host;
        return false;
    }
    // Blocking: poll_once() waits in the receive itself.
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        error = "bind " + host + ":" + std::to_string(port) + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    udp_fd_ = fd;
    rx_fd_ = fd;
    udp_port_ = ntohs(a.sin_port);
    udp_host_ = host;
    return true;
}

bool Server::open_pty(std::string& error) {
    const int m = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m < 0 || ::grantpt(m) != 0 || ::unlockpt(m) != 0) {
        error = std::string("pseudo-terminal: ") + std::strerror(errno);
        if (m >= 0) ::close(m);
        return false;
    }
    char name[128];
    if (::ptsname_r(m, name, sizeof name) != 0) {
        error = std::string("ptsname: ") + std::strerror(errno);
        ::close(m);
        return false;
    }
    const int s = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (s < 0) {
        error = std::string("open ") + name + ": " + std::strerror(errno);
        ::close(m);
        return false;
    }
    // Raw bytes both ways: no echo, no line editing, no CR/LF translation.
    termios t{};
    if (::tcgetattr(s, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(s, TCSANOW, &t);
    }
    ::fcntl(m, F_SETFL, ::fcntl(m, F_GETFL) | O_NONBLOCK);
    master_fd_ = m;
    slave_fd_ = s;
    pty_path_ = name;
    return true;
}

bool Server::open_line(const std::string& device, uint32_t baud, std::string& error) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "open " + device + ": " + std::strerror(errno);
        return false;
    }
    if (platform::set_raw_8n1(fd) == platform::LineSetup::NoLine) {
        error = device + " is no serial port";
        ::close(fd);
        return false;
    }
    // A line that does not take a setting is served as it is.
    platform::set_line_speed(fd, baud);
    master_fd_ = fd;
    pty_path_ = device;
    return true;
}

void Server::send_datagram(const Pending& p) {
    // A full send queue loses the reply rather than stalling the module.
    const sockaddr_in to = platform::ipv4_address(p.to_ip, p.to_port);
    ::sendto(as_fd(udp_fd_), p.bytes.data(), p.size, MSG_DONTWAIT,
             reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

void Server::write_line(const Pending& p) {
    // A client that stopped reading fills the line; the reply is then lost,
    // as on a real bus.
    const ssize_t n = ::write(master_fd_, p.bytes.data(), p.size);
    (void)n;
}

void Server::on_pty() {
    uint8_t buf[512];
    const ssize_t n = ::read(master_fd_, buf, sizeof buf);
    if (n > 0) on_pty_bytes(buf, static_cast<std::size_t>(n));
}

void Server::start_relay() {
    relay_tried_ = true;
    if (master_fd_ < 0) return;
    if (rx_fd_ < 0) {
        // Only the pseudo-terminal is served: a loopback socket of our own
        // takes its bytes.
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const sockaddr_in a = platform::ipv4_address(htonl(INADDR_LOOPBACK), 0);
        if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
            if (fd >= 0) ::close(fd);
            return; // poll_once() then serves the pseudo-terminal directly
        }
        rx_fd_ = fd;
    }
    sockaddr_in to{};
    socklen_t len = sizeof to;
    ::getsockname(rx_fd_, reinterpret_cast<sockaddr*>(&to), &len);
    if (to.sin_addr.s_addr == htonl(INADDR_ANY)) to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    sockaddr_in relay{};
    len = sizeof relay;
    int stop[2];
    if (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&relay), &len) != 0 ||
        ::pipe2(stop, O_CLOEXEC) != 0) {
        ::close(fd);
        return;
    }
    relay_ip_ = relay.sin_addr.s_addr;
    relay_port_ = relay.sin_port;
    relay_stop_[0] = stop[0];
    relay_stop_[1] = stop[1];
    relay_fd_ = fd;
    // Signals stay with the serving thread, where they end its wait.
    sigset_t all, old;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &old);
    relay_ = std::thread([this] { relay_loop(); });
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

void Server::relay_loop() {
    uint8_t buf[512];
    for (;;) {
        pollfd p[2] = {{as_fd(master_fd_), POLLIN, 0}, {as_fd(relay_stop_[0]), POLLIN, 0}};
        if (::poll(p, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (p[1].revents) return;
        if (p[0].revents & POLLIN) {
            const ssize_t n = ::read(master_fd_, buf, sizeof buf);
            if (n > 0) ::send(relay_fd_, buf, static_cast<std::size_t>(n), 0);
        } else if (p[0].revents) {
            // No client side open (our own slave descriptor keeps one, so
            // this is rare): do not spin.
            ::poll(&p[1], 1, 10);
            if (p[1].revents) return;
        }
    }
}

void Server::receive_one(int timeout_ms) {
    int flags = 0;
    if (timeout_ms == 0) {
        flags = MSG_DONTWAIT;
    } else {
        // The socket's own timeout bounds the blocking receive; set only when
        // it changes, so a steady loop costs no call for it.
        const int want = timeout_ms < 0 ? 0 : timeout_ms;
        if (want != rx_timeout_ms_) {
            timeval tv{want / 1000, static_cast<suseconds_t>(want % 1000) * 1000};
            ::setsockopt(rx_fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
            rx_timeout_ms_ = want;
        }
    }
    uint8_t buf[512];
    sockaddr_in from{};
    socklen_t fl = sizeof from;
    const ssize_t n =
        ::recvfrom(rx_fd_, buf, sizeof buf, flags, reinterpret_cast<sockaddr*>(&from), &fl);
    if (n < 0) return; // timeout, signal
    on_datagram(buf, static_cast<std::size_t>(n), from.sin_addr.s_addr, from.sin_port);
}

void Server::poll_once(int timeout_ms) {
    if (!relay_tried_) start_relay();
    const int due = next_due_ms();
    if (due >= 0 && (timeout_ms < 0 || due < timeout_ms)) timeout_ms = due;
    const bool pty_direct = master_fd_ >= 0 && !relay_.joinable();
    if (rx_fd_ >= 0 && pending_.empty() && !pty_direct) {
        // One blocking receive: the request (or the relayed serial bytes)
        // comes straight out of the wait, and the reply goes out after it.
        receive_one(timeout_ms);
    } else {
        // Replies to send at a given time, or no relay: an exact wait on
        // everything.
        pollfd fds[2];
        int n = 0, rx_i = -1, pty_i = -1;
        if (rx_fd_ >= 0) {
            rx_i = n;
            fds[n++] = {as_fd(rx_fd_), POLLIN, 0};
        }
        if (pty_direct) {
            pty_i = n;
            fds[n++] = {as_fd(master_fd_), POLLIN, 0};
        }
        if (::poll(fds, static_cast<nfds_t>(n), timeout_ms) > 0) {
            if (rx_i >= 0 && (fds[rx_i].revents & POLLIN)) receive_one(0);
            if (pty_i >= 0 && (fds[pty_i].revents & POLLIN)) on_pty();
        }
    }
    send_due();
}

} // namespace km::emu
