#include "km_server.h"

#include "serial_line.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace km::emu {

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

Server::Server(Module& module) : own_bus_(module), bus_(own_bus_) {}

Server::Server(Bus& bus) : bus_(bus) {}

Server::~Server() {
    close_all();
}

void Server::answer(const proto::Request& req, bool udp, uint16_t txn, uint32_t ip, uint16_t port) {
    const Response r = bus_.exchange(req, udp ? kAnyBaud : line_baud_index());
    if (verbose_)
        std::fprintf(stderr, "%s rq addr=%u cmd=%u p5=%u b=%u,%u,%u,%u,%u -> %s\n",
                     udp ? "udp" : "pty", req.address, req.command, req.p5, req.b[0], req.b[1],
                     req.b[2], req.b[3], req.b[4], r.answered ? "reply" : "no reply");
    if (!r.answered) return;
    Pending p{};
    p.udp = udp;
    p.to_ip = ip;
    p.to_port = port;
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

void Server::on_udp(const uint8_t* data, std::size_t len, uint32_t ip, uint16_t port) {
    proto::Request req;
    uint16_t txn = 0;
    const proto::Reject rj = proto::decode_udp_request(data, len, txn, req);
    if (rj != proto::Reject::None) {
        if (verbose_) std::fprintf(stderr, "udp refused (%s)\n", proto::reject_name(rj));
        return;
    }
    ++udp_frames_;
    answer(req, true, txn, ip, port);
}

bool Server::open_serial(const std::string& device, uint32_t baud, std::string& error) {
    if (proto::baud_index(baud) < 0) {
        error = "not a rate of the module: " + std::to_string(baud);
        return false;
    }
    return open_line(device, baud, error);
}

int Server::line_baud_index() const {
    // A pseudo-terminal's speed is the one its client set on its side.
    const intptr_t line = slave_fd_ != -1 ? slave_fd_ : master_fd_;
    uint32_t baud = 0;
    if (!strict_baud_ || line == -1 || !platform::get_line_speed(line, baud)) return kAnyBaud;
    const int index = proto::baud_index(baud);
    return index < 0 ? kNoBaud : index;
}

void Server::on_datagram(const uint8_t* data, std::size_t len, uint32_t ip, uint16_t port) {
    if (relay_fd_ != -1 && ip == relay_ip_ && port == relay_port_)
        on_pty_bytes(data, len);
    else if (rx_fd_ == udp_fd_)
        on_udp(data, len, ip, port);
}

bool Server::line_speed_matches() const {
    return bus_.hears(line_baud_index());
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
            answer(req, false, 0, 0, 0);
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

void Server::send_now(const Pending& p) {
    if (p.udp)
        send_datagram(p);
    else
        write_line(p);
    if (verbose_) std::fprintf(stderr, "tx %s\n", hex(p.bytes.data(), p.size).c_str());
}

void Server::send_due() {
    if (pending_.empty()) return; // the usual case: no clock read
    const int64_t now = mono_ms();
    while (!pending_.empty() && pending_.front().due_ms <= now) {
        send_now(pending_.front());
        pending_.pop_front();
    }
}

} // namespace km::emu
