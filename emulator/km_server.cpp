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
#include <sys/socket.h>
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
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
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
        ::sendto(udp_fd_, p.bytes.data(), p.bytes.size(), 0,
                 reinterpret_cast<const sockaddr*>(&p.to), sizeof p.to);
    } else {
        // A client that stopped reading fills the line; the reply is then lost,
        // as on a real bus.
        const ssize_t n = ::write(master_fd_, p.bytes.data(), p.bytes.size());
        (void)n;
    }
    if (verbose_) std::fprintf(stderr, "tx %s\n", hex(p.bytes.data(), p.bytes.size()).c_str());
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
        p.bytes.resize(proto::kUdpFrameSize);
        proto::encode_udp_reply(txn, req, r.reply, p.bytes.data());
    } else {
        p.bytes.resize(proto::kFrameSize);
        proto::encode_reply(req, r.reply, p.bytes.data());
    }
    if (r.corrupt) {
        // Damage the frame itself, never the UDP transaction number.
        const std::size_t skip = udp ? 2 : 0;
        bus_.corrupt_frame(p.bytes.data() + skip, p.bytes.size() - skip);
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

void Server::on_udp() {
    for (;;) {
        uint8_t buf[512];
        sockaddr_in from{};
        socklen_t fl = sizeof from;
        const ssize_t n =
            ::recvfrom(udp_fd_, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &fl);
        if (n < 0) return; // EAGAIN: drained
        proto::Request req;
        uint16_t txn = 0;
        const proto::Reject rj =
            proto::decode_udp_request(buf, static_cast<std::size_t>(n), txn, req);
        if (rj != proto::Reject::None) {
            if (verbose_) std::fprintf(stderr, "udp refused (%s)\n", proto::reject_name(rj));
            continue;
        }
        ++udp_frames_;
        answer(req, true, txn, &from);
    }
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
    if (n <= 0) return;
    if (strict_baud_ && !line_speed_matches()) {
        if (verbose_) std::fprintf(stderr, "pty: %zd bytes at a foreign line speed ignored\n", n);
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
    const int64_t now = mono_ms();
    while (!pending_.empty() && pending_.front().due_ms <= now) {
        send_now(pending_.front());
        pending_.pop_front();
    }
}

void Server::poll_once(int timeout_ms) {
    pollfd fds[2];
    int n = 0;
    int udp_i = -1, pty_i = -1;
    if (udp_fd_ >= 0) {
        udp_i = n;
        fds[n++] = {udp_fd_, POLLIN, 0};
    }
    if (master_fd_ >= 0) {
        pty_i = n;
        fds[n++] = {master_fd_, POLLIN, 0};
    }
    const int due = next_due_ms();
    if (due >= 0 && (timeout_ms < 0 || due < timeout_ms)) timeout_ms = due;
    const int rc = ::poll(fds, static_cast<nfds_t>(n), timeout_ms);
    if (rc > 0) {
        if (udp_i >= 0 && (fds[udp_i].revents & POLLIN)) on_udp();
        if (pty_i >= 0 && (fds[pty_i].revents & POLLIN)) on_pty();
    }
    send_due();
}

} // namespace km::emu
