#include "km_server.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
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

int64_t mono_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string hex(const uint8_t* p, std::size_t n) {
    std::string s;
    char b[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(b, sizeof b, "%02x", p[i]);
        if (i) s += ' ';
        s += b;
    }
    return s;
}

} // namespace

Server::Server(Module& module) : own_bus_(module), bus_(own_bus_) {}

Server::Server(Bus& bus) : bus_(bus) {}

Server::~Server() {
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
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
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

void Server::send_now(const Pending& p) {
    if (p.udp) {
        // A full send queue loses the reply rather than stalling the module.
        ::sendto(udp_fd_, p.bytes.data(), p.size, MSG_DONTWAIT,
                 reinterpret_cast<const sockaddr*>(&p.to), sizeof p.to);
    } else {
        // A client that stopped reading fills the line; the reply is then lost,
        // as on a real bus.
        const ssize_t n = ::write(master_fd_, p.bytes.data(), p.size);
        (void)n;
    }
    if (verbose_) std::fprintf(stderr, "tx %s\n", hex(p.bytes.data(), p.size).c_str());
}

void Server::answer(const proto::Request& req, bool udp, uint16_t txn, const sockaddr_in* to) {
    const Response r = bus_.exchange(req, udp ? kAnyBaud : line_baud_index());
    if (verbose_)
        std::fprintf(stderr, "%s rq addr=%u cmd=%u p5=%u b=%u,%u,%u,%u,%u -> %s\n",
                     udp ? "udp" : "pty", req.address, req.command, req.p5, req.b[0], req.b[1],
                     req.b[2], req.b[3], req.b[4], r.answered ? "reply" : "no reply");
    if (!r.answered) return;
    Pending p{};
    p.udp = udp;
    if (to) p.to = *to;
    if (udp) {
        p.size = proto::kUdpFrameSize;
        proto::encode_udp_reply(txn, req, r.reply, p.bytes.data());
    } else {
        p.size = proto::kFrameSize;
        proto::encode_reply(req, r.reply, p.bytes.data());
    }
    if (r.corrupt) {
        // Damage the frame itself, never the UDP transaction number.
        const std::size_t skip = udp ? 2 : 0;
        bus_.corrupt_frame(p.bytes.data() + skip, p.size - skip);
    }
    if (r.delay_ms == 0) {
        send_now(p);
        return;
    }
    p.due_ms = mono_ms() + r.delay_ms;
    pending_.push_back(std::move(p));
    std::stable_sort(pending_.begin(), pending_.end(),
                     [](const Pending& a, const Pending& b) { return a.due_ms < b.due_ms; });
}

void Server::on_udp(const uint8_t* data, std::size_t len, const sockaddr_in& from) {
    proto::Request req;
    uint16_t txn = 0;
    const proto::Reject rj = proto::decode_udp_request(data, len, txn, req);
    if (rj != proto::Reject::None) {
        if (verbose_) std::fprintf(stderr, "udp refused (%s)\n", proto::reject_name(rj));
        return;
    }
    ++udp_frames_;
    answer(req, true, txn, &from);
}

int Server::line_baud_index() const {
    static const speed_t kSpeeds[9] = {B600,   B1200,  B2400,  B4800,  B9600,
                                       B19200, B38400, B57600, B115200};
    if (!strict_baud_) return kAnyBaud;
    termios t{};
    if (::tcgetattr(slave_fd_, &t) != 0) return kAnyBaud;
    const speed_t speed = ::cfgetospeed(&t);
    for (int i = 0; i < 9; ++i)
        if (speed == kSpeeds[i]) return i;
    return kNoBaud;
}

bool Server::line_speed_matches() const {
    return bus_.hears(line_baud_index());
}

void Server::on_pty() {
    uint8_t buf[512];
    const ssize_t n = ::read(master_fd_, buf, sizeof buf);
    if (n > 0) on_pty_bytes(buf, static_cast<std::size_t>(n));
}

void Server::on_pty_bytes(const uint8_t* buf, std::size_t n) {
    if (strict_baud_ && !line_speed_matches()) {
        if (verbose_) std::fprintf(stderr, "pty: %zu bytes at a foreign line speed ignored\n", n);
        rx_.clear();
        return;
    }
    const int64_t now = mono_ms();
    if (!rx_.empty() && now - last_rx_ms_ > gap_ms_) rx_.clear(); // a stale fragment
    last_rx_ms_ = now;
    rx_.insert(rx_.end(), buf, buf + n);
    // Slide one byte at a time until a frame decodes, so garbage is skipped.
    std::size_t pos = 0;
    while (rx_.size() - pos >= proto::kFrameSize) {
        proto::Request req;
        if (proto::decode_request(rx_.data() + pos, proto::kFrameSize, req) ==
            proto::Reject::None) {
            pos += proto::kFrameSize;
            ++serial_frames_;
            answer(req, false, 0, nullptr);
        } else {
            ++pos;
        }
    }
    rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(pos));
}

int Server::next_due_ms() const {
    if (pending_.empty()) return -1;
    const int64_t d = pending_.front().due_ms - mono_ms();
    return d < 0 ? 0 : static_cast<int>(std::min<int64_t>(d, 1000000));
}

void Server::send_due() {
    if (pending_.empty()) return; // the usual case: no clock read
    const int64_t now = mono_ms();
    while (!pending_.empty() && pending_.front().due_ms <= now) {
        send_now(pending_.front());
        pending_.pop_front();
    }
}

void Server::start_relay() {
    relay_tried_ = true;
    if (master_fd_ < 0) return;
    if (rx_fd_ < 0) {
        // Only the pseudo-terminal is served: a loopback socket of our own
        // takes its bytes.
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
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
    len = sizeof relay_addr_;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&relay_addr_), &len) != 0 ||
        ::pipe2(relay_stop_, O_CLOEXEC) != 0) {
        ::close(fd);
        relay_addr_ = sockaddr_in{};
        return;
    }
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
        pollfd p[2] = {{master_fd_, POLLIN, 0}, {relay_stop_[0], POLLIN, 0}};
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
    const bool relayed = relay_fd_ >= 0 && fl == sizeof from &&
                         from.sin_addr.s_addr == relay_addr_.sin_addr.s_addr &&
                         from.sin_port == relay_addr_.sin_port;
    if (relayed)
        on_pty_bytes(buf, static_cast<std::size_t>(n));
    else if (rx_fd_ == udp_fd_)
        on_udp(buf, static_cast<std::size_t>(n), from);
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
            fds[n++] = {rx_fd_, POLLIN, 0};
        }
        if (pty_direct) {
            pty_i = n;
            fds[n++] = {master_fd_, POLLIN, 0};
        }
        if (::poll(fds, static_cast<nfds_t>(n), timeout_ms) > 0) {
            if (rx_i >= 0 && (fds[rx_i].revents & POLLIN)) receive_one(0);
            if (pty_i >= 0 && (fds[pty_i].revents & POLLIN)) on_pty();
        }
    }
    send_due();
}

} // namespace km::emu
