// Frames between the program and km207-driverhost, which serves the entries
// of one driver library over its standard input and output.
//
// Every frame is a 12-byte header and a payload; all numbers little-endian:
//
//   offset  size  field
//   0       2     magic 'K' 'H'
//   2       1     version (kVersion)
//   3       1     type; a reply has the request's type | 0x80
//   4       4     sequence number; a reply carries its request's
//   8       4     payload length, at most kMaxPayload
//
// Payloads are sequences of 32-bit values and byte strings (a 32-bit length,
// then the bytes); each type has exactly one length, or a bounded one where
// it carries a string. The reader and the decoders below check every length
// before they touch a byte, so no frame, however formed, reads or writes
// outside its buffers. Plain C++ without platform calls: the program and the
// host (also the 32-bit Windows build) share it.
#pragma once

#include "driver_kinds.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace kmhost {

constexpr uint8_t kMagic0 = 'K';
constexpr uint8_t kMagic1 = 'H';
constexpr uint8_t kVersion = 1;
constexpr size_t kHeaderSize = 12;
constexpr uint32_t kMaxPayload = 4096;

constexpr uint32_t kMaxPath = 1024;    // bytes of a library path
constexpr uint32_t kMaxText = 1024;    // bytes of the LAN Init's IP text
constexpr uint32_t kRequestValues = 8; // request of Send
constexpr uint32_t kArrayValues = 100; // reply buffer of Send, text array of Error
constexpr uint32_t kConfigValues = 16; // configuration block of Init

enum class Type : uint8_t {
    Open = 1,       // load the library, resolve its seven entries
    Init = 2,       // the kind's form of Init
    SetConfig = 3,  // SetConfig
    Send = 4,       // Send
    Done = 5,       // Done
    Error = 6,      // Error
    Crashed = 0x7E, // the host's last word: the library crashed serving the request
    Refused = 0x7F  // host's answer to a request it cannot serve
};
constexpr uint8_t kReplyBit = 0x80;

// Result of Open.
enum OpenResult : uint32_t {
    kOpenBound = 0,
    kOpenNotLoaded = 1,    // the library did not load
    kOpenEntryMissing = 2, // it lacks one of the seven entries
};

// Reason of a Refused reply.
enum RefusedReason : uint32_t {
    kRefusedFrame = 1,   // header broken: the host stops after saying so
    kRefusedPayload = 2, // payload of the wrong length or with a value out of range
    kRefusedNotOpen = 3, // no library yet
    kRefusedOpen = 4,    // a library is already open
    kRefusedType = 5,    // unknown type
};

// How the library crashed (Crashed): a Windows exception, or a signal.
enum CrashCause : uint32_t {
    kCrashException = 1, // code: the exception code (0xC0000005 ...)
    kCrashSignal = 2,    // code: the signal number
};

// Which references a call passes (the rest are null for the library).
enum Present : uint32_t {
    kHasRequest = 1,
    kHasReply = 2,
    kHasOut = 4,
    kHasStatus = 8,
    kHasText = 16,
};

// Reads values in order; any read past the end fails and stays failed.
class Cursor {
  public:
    Cursor(const uint8_t* data, size_t size) : p_(data), left_(size) {}
    uint32_t u32() {
        if (left_ < 4) {
            ok_ = false;
            left_ = 0;
            return 0;
        }
        const uint32_t v =
            uint32_t(p_[0]) | uint32_t(p_[1]) << 8 | uint32_t(p_[2]) << 16 | uint32_t(p_[3]) << 24;
        p_ += 4;
        left_ -= 4;
        return v;
    }
    void values(uint32_t* out, size_t n) {
        if constexpr (std::endian::native == std::endian::little) {
            if (left_ < 4 * n) {
                ok_ = false;
                left_ = 0;
                std::memset(out, 0, 4 * n);
                return;
            }
            std::memcpy(out, p_, 4 * n);
            p_ += 4 * n;
            left_ -= 4 * n;
        } else {
            for (size_t i = 0; i < n; ++i)
                out[i] = u32();
        }
    }
    // A byte string of at most `max` bytes.
    std::string bytes(uint32_t max) {
        const uint32_t n = u32();
        if (!ok_ || n > max || n > left_) {
            ok_ = false;
            left_ = 0;
            return {};
        }
        std::string s(reinterpret_cast<const char*>(p_), n);
        p_ += n;
        left_ -= n;
        return s;
    }
    // Everything read, nothing left over.
    bool done() const { return ok_ && left_ == 0; }

  private:
    const uint8_t* p_;
    size_t left_;
    bool ok_ = true;
};

class Writer {
  public:
    explicit Writer(std::vector<uint8_t>& out) : out_(out) {}
    void u32(uint32_t v) { values(&v, 1); }
    void values(const uint32_t* v, size_t n) {
        const size_t at = out_.size();
        out_.resize(at + 4 * n);
        uint8_t* p = out_.data() + at;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(p, v, 4 * n);
            return;
        }
        for (size_t i = 0; i < n; ++i, p += 4) {
            p[0] = static_cast<uint8_t>(v[i]);
            p[1] = static_cast<uint8_t>(v[i] >> 8);
            p[2] = static_cast<uint8_t>(v[i] >> 16);
            p[3] = static_cast<uint8_t>(v[i] >> 24);
        }
    }
    void bytes(const std::string& s) {
        u32(static_cast<uint32_t>(s.size()));
        out_.insert(out_.end(), s.begin(), s.end());
    }

  private:
    std::vector<uint8_t>& out_;
};

// ---- Messages. Each has put() and get(); get() fails on any value out of range.

struct OpenRequest {
    uint32_t kind = 0; // a row of kDriverKinds: the prefix and the form of Init
    std::string path;  // UTF-8; a bare file name goes through the platform's search
    void put(Writer& w) const {
        w.u32(kind);
        w.bytes(path);
    }
    bool get(Cursor& c) {
        kind = c.u32();
        path = c.bytes(kMaxPath);
        return driver_kind(kind) && !path.empty() && path.find('\0') == std::string::npos;
    }
};

struct OpenReply {
    uint32_t result = kOpenNotLoaded;
    uint32_t pointer_bits = 0; // the host's, for the log
    void put(Writer& w) const {
        w.u32(result);
        w.u32(pointer_bits);
    }
    bool get(Cursor& c) {
        result = c.u32();
        pointer_bits = c.u32();
        return result <= kOpenEntryMissing;
    }
};

struct InitRequest {
    uint32_t handle = 0;                // the handle cell as the caller holds it
    uint32_t cells[kConfigValues] = {}; // the block; a Value Init takes cell 0
    bool has_text = false;              // Config Init: cell 0 refers to this text
    std::string text;
    void put(Writer& w) const {
        w.u32(handle);
        w.values(cells, kConfigValues);
        w.u32(has_text ? uint32_t(kHasText) : 0u);
        w.bytes(text);
    }
    bool get(Cursor& c) {
        handle = c.u32();
        c.values(cells, kConfigValues);
        const uint32_t flags = c.u32();
        text = c.bytes(kMaxText);
        has_text = flags == kHasText;
        return (flags & ~uint32_t(kHasText)) == 0 && text.find('\0') == std::string::npos;
    }
};

// Result and the handle cell afterwards (Init, Done).
struct HandleReply {
    uint32_t result = 0;
    uint32_t handle = 0;
    void put(Writer& w) const {
        w.u32(result);
        w.u32(handle);
    }
    bool get(Cursor& c) {
        result = c.u32();
        handle = c.u32();
        return true;
    }
};

struct SetConfigRequest {
    uint32_t handle = 0, baud = 0, timing = 0, last = 0;
    void put(Writer& w) const {
        w.u32(handle);
        w.u32(baud);
        w.u32(timing);
        w.u32(last);
    }
    bool get(Cursor& c) {
        handle = c.u32();
        baud = c.u32();
        timing = c.u32();
        last = c.u32();
        return true;
    }
};

struct ResultReply {
    uint32_t result = 0;
    void put(Writer& w) const { w.u32(result); }
    bool get(Cursor& c) {
        result = c.u32();
        return true;
    }
};

// The cells go both ways as the caller holds them, so a library that leaves
// one alone leaves the caller's value, exactly as in the caller's process.
struct SendRequest {
    uint32_t handle = 0;
    uint32_t present = 0;
    uint32_t request[kRequestValues] = {};
    uint32_t out = 0, status = 0;
    uint32_t reply[kArrayValues] = {};
    void put(Writer& w) const {
        w.u32(handle);
        w.u32(present);
        w.values(request, kRequestValues);
        w.u32(out);
        w.u32(status);
        w.values(reply, kArrayValues);
    }
    bool get(Cursor& c) {
        handle = c.u32();
        present = c.u32();
        c.values(request, kRequestValues);
        out = c.u32();
        status = c.u32();
        c.values(reply, kArrayValues);
        return (present & ~uint32_t(kHasRequest | kHasReply | kHasOut | kHasStatus)) == 0;
    }
};

struct SendReply {
    uint32_t result = 0;
    uint32_t out = 0, status = 0;
    uint32_t reply[kArrayValues] = {};
    void put(Writer& w) const {
        w.u32(result);
        w.u32(out);
        w.u32(status);
        w.values(reply, kArrayValues);
    }
    bool get(Cursor& c) {
        result = c.u32();
        out = c.u32();
        status = c.u32();
        c.values(reply, kArrayValues);
        return true;
    }
};

struct DoneRequest {
    uint32_t handle = 0;
    void put(Writer& w) const { w.u32(handle); }
    bool get(Cursor& c) {
        handle = c.u32();
        return true;
    }
};

struct ErrorRequest {
    uint32_t code = 0;
    uint32_t present = 0;
    uint32_t text[kArrayValues] = {};
    void put(Writer& w) const {
        w.u32(code);
        w.u32(present);
        w.values(text, kArrayValues);
    }
    bool get(Cursor& c) {
        code = c.u32();
        present = c.u32();
        c.values(text, kArrayValues);
        return (present & ~uint32_t(kHasText)) == 0;
    }
};

struct ErrorReply {
    uint32_t result = 0;
    uint32_t text[kArrayValues] = {};
    void put(Writer& w) const {
        w.u32(result);
        w.values(text, kArrayValues);
    }
    bool get(Cursor& c) {
        result = c.u32();
        c.values(text, kArrayValues);
        return true;
    }
};

struct RefusedReply {
    uint32_t reason = kRefusedFrame;
    void put(Writer& w) const { w.u32(reason); }
    bool get(Cursor& c) {
        reason = c.u32();
        return true;
    }
};

struct CrashedReply {
    uint32_t cause = kCrashException;
    uint32_t code = 0;
    void put(Writer& w) const {
        w.u32(cause);
        w.u32(code);
    }
    bool get(Cursor& c) {
        cause = c.u32();
        code = c.u32();
        return cause == kCrashException || cause == kCrashSignal;
    }
};

// ---- Frames.

struct Frame {
    uint8_t type = 0;
    uint32_t seq = 0;
    std::vector<uint8_t> payload;
};

// A whole frame carrying `msg`, into `out` (its capacity is kept, so a
// buffer used again allocates nothing).
template <typename Msg>
void encode_into(std::vector<uint8_t>& out, uint8_t type, uint32_t seq, const Msg& msg) {
    out.assign({kMagic0, kMagic1, kVersion, type});
    Writer w(out);
    w.u32(seq);
    w.u32(0); // length, filled in below
    msg.put(w);
    const uint32_t len = static_cast<uint32_t>(out.size() - kHeaderSize);
    for (int i = 0; i < 4; ++i)
        out[8 + i] = static_cast<uint8_t>(len >> (8 * i));
}

// A Crashed frame, written by a crash handler: fixed size, no allocation.
constexpr size_t kCrashedFrameSize = kHeaderSize + 8;
inline void encode_crashed(uint8_t (&out)[kCrashedFrameSize], uint32_t seq, const CrashedReply& r) {
    const uint32_t words[4] = {seq, 8, r.cause, r.code};
    out[0] = kMagic0;
    out[1] = kMagic1;
    out[2] = kVersion;
    out[3] = static_cast<uint8_t>(Type::Crashed) | kReplyBit;
    for (size_t i = 0; i < 16; ++i)
        out[4 + i] = static_cast<uint8_t>(words[i / 4] >> (8 * (i % 4)));
}

template <typename Msg> std::vector<uint8_t> encode(uint8_t type, uint32_t seq, const Msg& msg) {
    std::vector<uint8_t> out;
    encode_into(out, type, seq, msg);
    return out;
}

// The payload holds exactly one valid `Msg`.
template <typename Msg> bool decode(const std::vector<uint8_t>& payload, Msg& msg) {
    Cursor c(payload.data(), payload.size());
    const bool valid = msg.get(c);
    return valid && c.done();
}

// Cuts a byte stream into frames. A header with the wrong magic, version or
// an oversized length breaks the stream for good: nothing after it can be
// trusted to start a frame.
class FrameReader {
  public:
    enum class Status { Ready, Incomplete, Broken };

    void feed(const uint8_t* data, size_t size) {
        if (!broken_) buf_.insert(buf_.end(), data, data + size);
    }

    Status next(Frame& frame) {
        if (broken_) return Status::Broken;
        if (buf_.size() < kHeaderSize) {
            // Check what has arrived of the header already, so garbage is
            // refused without waiting for more of it.
            if ((!buf_.empty() && buf_[0] != kMagic0) || (buf_.size() > 1 && buf_[1] != kMagic1) ||
                (buf_.size() > 2 && buf_[2] != kVersion))
                return breaks();
            return Status::Incomplete;
        }
        if (buf_[0] != kMagic0 || buf_[1] != kMagic1 || buf_[2] != kVersion) return breaks();
        const uint32_t len = le32(&buf_[8]);
        if (len > kMaxPayload) return breaks();
        if (buf_.size() - kHeaderSize < len) return Status::Incomplete;
        frame.type = buf_[3];
        frame.seq = le32(&buf_[4]);
        frame.payload.assign(buf_.begin() + kHeaderSize, buf_.begin() + kHeaderSize + len);
        buf_.erase(buf_.begin(), buf_.begin() + kHeaderSize + len);
        return Status::Ready;
    }

    // Bytes received and not yet taken as a frame.
    size_t pending() const { return buf_.size(); }

  private:
    static uint32_t le32(const uint8_t* p) {
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    Status breaks() {
        broken_ = true;
        buf_.clear();
        return Status::Broken;
    }
    std::vector<uint8_t> buf_;
    bool broken_ = false;
};

} // namespace kmhost
