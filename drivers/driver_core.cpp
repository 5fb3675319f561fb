#include "driver_core.h"

#include "driver_errors.h"
#include "km_driver.h"
#include "serial_port.h"
#include "udp_port.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <vector>

namespace km {

using proto::Reject;

uint32_t serial_response_timeout_ms(uint32_t baud) {
    if (baud == 0) baud = kDefaultBaud;
    const uint64_t wire_bits = 2 * proto::kFrameSize * 10;
    return static_cast<uint32_t>((wire_bits * 1000 + baud - 1) / baud) + kTurnaroundMs;
}

uint32_t status_from_module(uint8_t module_status) {
    switch (module_status) {
    case proto::kStatusOk:
        return kOk;
    case proto::kStatusUnknownCommand:
        return kErrUnknownCommand;
    case proto::kStatusBadRegister:
        return kErrBadRegister;
    case proto::kStatusBadValue:
        return kErrBadValue;
    default:
        return kErrModule;
    }
}

namespace {

// ---------------------------------------------------------------- serial

class SerialChannel : public Channel {
  public:
    uint32_t open(const std::string& path) { return port_.open(path, baud_); }

    uint32_t configure(uint32_t baud, uint32_t timing, uint32_t retries) override {
        uint32_t st = port_.set_baud(baud);
        if (st != kOk) return st;
        return Channel::configure(baud, timing, retries);
    }

    uint32_t exchange(const proto::Request& req, proto::Reply& rep) override {
        settle(req);
        uint8_t frame[proto::kFrameSize];
        proto::encode_request(req, frame);
        const int timeout = static_cast<int>(serial_response_timeout_ms(baud_));
        uint32_t result = kErrTimeout;
        for (uint32_t attempt = 0; attempt <= retries_; ++attempt) {
            port_.discard_input();
            result = port_.write_all(frame, sizeof frame, timeout);
            if (result == kOk) result = read_reply(frame, req, rep, timeout);
            if (result == kOk) break;
            // This attempt's answer may still come, and serial frames carry
            // no sequence number: the next exchange first waits for quiet.
            unsettled_ = true;
            if (result == kErrIo) break;
        }
        if (unsettled_) {
            failed_at_ = steady_ms();
            failed_address_ = req.address;
        }
        return result;
    }

  private:
    // Inter-character timeout: the timing value, or three characters' time.
    int gap_ms() const {
        if (timing_ > 0) return static_cast<int>(std::min<uint32_t>(timing_, 10000));
        return static_cast<int>(30000 / std::max<uint32_t>(baud_, 1)) + 1;
    }

    // After an attempt without an answer a reply may still be on its way.
    // Wait until the line has been quiet for a while (bounded) so that it is
    // not taken for the answer to the next request. Serial frames carry no
    // sequence number, so only a late reply from the same address could pass
    // for the next answer: that case waits long. A late reply from another
    // address is told apart by its address, so a few character times of quiet
    // do there, and a scan over silent addresses costs about a timeout each.
    void settle(const proto::Request& next) {
        if (!unsettled_) return;
        unsettled_ = false;
        const uint32_t baud = std::max<uint32_t>(baud_ ? baud_ : kDefaultBaud, 1);
        const int64_t quiet =
            next.address == failed_address_
                ? std::max<int64_t>(serial_response_timeout_ms(baud_), kSettleQuietMs)
                : std::max<int64_t>((kSettleQuietChars * 10 * 1000 + baud - 1) / baud,
                                    kSettleQuietMinMs);
        const int64_t cap = steady_ms() + kSettleMaxMs;
        int64_t last = failed_at_;
        uint8_t junk[64];
        for (;;) {
            const int64_t now = steady_ms();
            const int64_t wait = std::min(last + quiet, cap) - now;
            if (wait <= 0) break;
            int n = port_.read_some(junk, sizeof junk, static_cast<int>(wait));
            if (n < 0) break;
            if (n > 0) last = steady_ms();
        }
    }

    // Reads until a reply for `req` arrived, the line went quiet inside a
    // frame (corrupt), or the deadline passed.
    uint32_t read_reply(const uint8_t* sent, const proto::Request& req, proto::Reply& rep,
                        int timeout_ms) {
        const int64_t deadline = steady_ms() + timeout_ms;
        std::vector<uint8_t> buf;
        bool other = false;
        uint8_t chunk[64];
        for (;;) {
            if (take_frames(buf, sent, req, rep, other)) return kOk;
            const int64_t left = deadline - steady_ms();
            if (left <= 0) break;
            const int wait = buf.empty() ? static_cast<int>(left)
                                         : static_cast<int>(std::min<int64_t>(left, gap_ms()));
            int n = port_.read_some(chunk, sizeof chunk, wait);
            if (n < 0) return kErrIo;
            if (n == 0) {
                if (!buf.empty()) return kErrCorrupt; // quiet inside a frame
                continue;
            }
            buf.insert(buf.end(), chunk, chunk + n);
            if (buf.size() > kMaxPending) return kErrCorrupt; // a babbling line
        }
        if (!buf.empty()) return kErrCorrupt;
        return other ? kErrOtherModule : kErrTimeout;
    }

    // Consumes whole frames at the front of `buf`; true when the reply is in.
    static bool take_frames(std::vector<uint8_t>& buf, const uint8_t* sent,
                            const proto::Request& req, proto::Reply& rep, bool& other) {
        constexpr std::size_t n = proto::kFrameSize;
        while (buf.size() >= n) {
            // An RS-485 adapter that hears itself: our own request comes back.
            if (std::memcmp(buf.data(), sent, n) == 0) {
                buf.erase(buf.begin(), buf.begin() + n);
                continue;
            }
            Reject r = proto::decode_reply(buf.data(), n, req, rep);
            if (r == Reject::None) return true;
            if (r == Reject::WrongAddress || r == Reject::WrongCommand) {
                // A sound frame, but not the answer to this request.
                if (r == Reject::WrongAddress) other = true;
                buf.erase(buf.begin(), buf.begin() + n);
                continue;
            }
            // Noise in front of the reply: look for a whole reply further in.
            for (std::size_t off = 1; off + n <= buf.size(); ++off)
                if (proto::decode_reply(buf.data() + off, n, req, rep) == Reject::None) return true;
            return false;
        }
        return false;
    }

    static constexpr int64_t kSettleQuietMs = 200;
    static constexpr int64_t kSettleQuietChars = 5;
    static constexpr int64_t kSettleQuietMinMs = 1;
    static constexpr int64_t kSettleMaxMs = 1000;
    static constexpr std::size_t kMaxPending = 256;

    SerialPort port_;
    bool unsettled_ = false;
    int64_t failed_at_ = 0;
    uint8_t failed_address_ = 0;
};

// ---------------------------------------------------------------- UDP

class UdpChannel : public Channel {
  public:
    uint32_t open(uint32_t ip, uint16_t port, uint32_t timeout_ms) {
        // 0 (or anything tiny) would give no module time to answer at all.
        timeout_ms_ = std::max(timeout_ms, kMinUdpTimeoutMs);
        // Start the transaction numbers somewhere different per handle.
        txn_ = static_cast<uint16_t>(steady_ms() * 31);
        return port_.open(ip, port, timeout_ms_);
    }

    // The converter's serial side is set up on the converter itself; the
    // rate and timing are kept only to be reported back (Channel::configure).

    uint32_t exchange(const proto::Request& req, proto::Reply& rep) override {
        uint32_t result = kErrTimeout;
        for (uint32_t attempt = 0; attempt <= retries_; ++attempt) {
            // Stale datagrams need no flushing: the transaction number
            // tells them apart.
            ++txn_;
            uint8_t frame[proto::kUdpFrameSize];
            proto::encode_udp_request(txn_, req, frame);
            result = port_.send(frame, sizeof frame);
            if (result == kOk) result = await(req, rep);
            if (result == kOk) return kOk;
            if (result == kErrIo) break;
        }
        return result;
    }

  private:
    // Waits out the deadline for the answer with the current transaction
    // number; anything else from the peer is noted and skipped.
    uint32_t await(const proto::Request& req, proto::Reply& rep) {
        const int64_t deadline = steady_us() + int64_t{timeout_ms_} * 1000;
        bool other = false, damaged = false;
        uint8_t buf[64]; // above a frame's size, so an oversized datagram reads as Long
        for (;;) {
            const int n = port_.receive(buf, sizeof buf, deadline);
            if (n == UdpPort::kFailed) return kErrIo;
            if (n == UdpPort::kDeadline) break;
            // An empty datagram is a damaged frame like any other, never the
            // end of the wait.
            Reject r = proto::decode_udp_reply(buf, static_cast<std::size_t>(n), txn_, req, rep);
            if (r == Reject::None) return kOk;
            if (r == Reject::WrongAddress) other = true;
            // Stale and WrongCommand are late answers to earlier requests.
            if (r != Reject::Stale && r != Reject::WrongCommand && r != Reject::WrongAddress)
                damaged = true;
        }
        return damaged ? kErrCorrupt : other ? kErrOtherModule : kErrTimeout;
    }

    UdpPort port_;
    uint16_t txn_ = 0;
    uint32_t timeout_ms_ = 100;
};

// ---------------------------------------------------------------- handles

struct Slot {
    std::mutex lock; // one exchange at a time per handle
    std::unique_ptr<Channel> channel;
};

constexpr std::size_t kMaxHandles = 64;

struct HandleTable {
    std::mutex lock;
    std::map<uint32_t, std::shared_ptr<Slot>> slots;
    uint32_t next = 1;

    std::shared_ptr<Slot> find(uint32_t h) {
        std::lock_guard<std::mutex> g(lock);
        auto it = slots.find(h);
        return it == slots.end() ? nullptr : it->second;
    }
};

HandleTable& table() {
    static HandleTable t;
    return t;
}

} // namespace

uint32_t open_serial_channel(const std::string& path, std::unique_ptr<Channel>& out) {
    auto ch = std::make_unique<SerialChannel>();
    uint32_t st = ch->open(path);
    if (st == kOk) out = std::move(ch);
    return st;
}

uint32_t open_udp_channel(const uintptr_t* config, std::unique_ptr<Channel>& out) {
    if (!config) return kErrParameter;
    uint32_t ip = 0;
    if (!parse_ipv4(reinterpret_cast<const char*>(config[0]), ip)) return kErrIpAddress;
    if (config[1] == 0 || config[1] > 65535) return kErrUdpPort;
    // The program's dialog allows at most 65535 ms; nothing larger is sane.
    const uint32_t timeout = static_cast<uint32_t>(std::min<uintptr_t>(config[2], 65535));
    auto ch = std::make_unique<UdpChannel>();
    uint32_t st = ch->open(ip, static_cast<uint16_t>(config[1]), timeout);
    if (st == kOk) out = std::move(ch);
    return st;
}

uint32_t core_add(std::unique_ptr<Channel> ch, uint32_t* handle) {
    if (!handle || !ch) return kErrParameter;
    auto slot = std::make_shared<Slot>();
    slot->channel = std::move(ch);
    HandleTable& t = table();
    std::lock_guard<std::mutex> g(t.lock);
    if (t.slots.size() >= kMaxHandles) return kErrNoMemory;
    // Tokens are not reused soon, so a stale handle finds nothing.
    uint32_t h = t.next;
    while (h == 0 || t.slots.count(h))
        ++h;
    t.next = h + 1;
    t.slots.emplace(h, std::move(slot));
    *handle = h;
    return kOk;
}

uint32_t core_set_config(uint32_t handle, uint32_t baud, uint32_t timing, uint32_t retries) {
    auto slot = table().find(handle);
    if (!slot) return kErrHandle;
    std::lock_guard<std::mutex> g(slot->lock);
    return slot->channel->configure(baud, timing, retries);
}

uint32_t core_get_config(uint32_t handle, uint32_t* baud, uint32_t* timing, uint32_t* retries) {
    auto slot = table().find(handle);
    if (!slot) return kErrHandle;
    uint32_t b, t, r;
    {
        std::lock_guard<std::mutex> g(slot->lock);
        slot->channel->get_config(b, t, r);
    }
    if (baud) *baud = b;
    if (timing) *timing = t;
    if (retries) *retries = r;
    return kOk;
}

uint32_t core_send(uint32_t handle, const uint32_t* request, uint32_t* reply, uint32_t* out,
                   uint32_t* status) {
    if (!request || !reply || !out || !status) return kErrParameter;
    for (int i = 0; i < 4; ++i)
        reply[i] = 0;
    *out = 0;
    auto slot = table().find(handle);
    if (!slot) {
        *status = kErrHandle;
        return kErrHandle;
    }
    for (int i = 0; i < KM_REQUEST_LEN; ++i)
        if (request[i] > 0xFF) {
            *status = kErrParameter;
            return kOk;
        }
    proto::Request req;
    req.address = static_cast<uint8_t>(request[0]);
    req.command = static_cast<uint8_t>(request[1]);
    req.p5 = static_cast<uint8_t>(request[2]);
    for (int i = 0; i < 5; ++i)
        req.b[i] = static_cast<uint8_t>(request[3 + i]);
    proto::Reply rep;
    uint32_t st;
    {
        std::lock_guard<std::mutex> g(slot->lock);
        st = slot->channel->exchange(req, rep);
    }
    if (st == kOk) st = status_from_module(rep.status);
    if (st == kOk) {
        for (int i = 0; i < 4; ++i)
            reply[i] = rep.data[i];
        *out = rep.out;
    }
    *status = st;
    return kOk;
}

uint32_t core_done(uint32_t* handle) {
    if (!handle) return kErrParameter;
    std::shared_ptr<Slot> slot;
    {
        HandleTable& t = table();
        std::lock_guard<std::mutex> g(t.lock);
        auto it = t.slots.find(*handle);
        if (it == t.slots.end()) return kErrHandle;
        slot = std::move(it->second);
        t.slots.erase(it);
    }
    *handle = 0;
    // Wait for an exchange still running on another thread, then close.
    std::lock_guard<std::mutex> g(slot->lock);
    slot->channel.reset();
    return kOk;
}

uint32_t core_error(uint32_t code, uint32_t* text) {
    if (!text) return kErrParameter;
    driver_error_fill(code, text, KM_TEXT_LEN);
    return kOk;
}

} // namespace km
