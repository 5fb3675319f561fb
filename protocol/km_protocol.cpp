#include "km_protocol.h"

#include <array>

namespace km::proto {

namespace {

constexpr std::array<uint16_t, 256> make_crc_table() {
    std::array<uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t c = static_cast<uint16_t>(i);
        for (int k = 0; k < 8; ++k)
            c = (c & 1u) ? static_cast<uint16_t>((c >> 1) ^ 0xA001u) : c >> 1;
        t[i] = c;
    }
    return t;
}

constexpr std::array<uint16_t, 256> kCrcTable = make_crc_table();

constexpr std::size_t kPayload = kFrameSize - 2;

void put_crc(uint8_t* frame, uint16_t seed) {
    const uint16_t c = crc16(frame, kPayload, seed);
    frame[kPayload] = static_cast<uint8_t>(c & 0xFF);
    frame[kPayload + 1] = static_cast<uint8_t>(c >> 8);
}

// Length and checksum of one 10-byte frame.
Reject check_frame(const uint8_t* in, std::size_t len, uint16_t seed) {
    if (len < kFrameSize || in == nullptr) return Reject::Short;
    if (len > kFrameSize) return Reject::Long;
    const uint16_t c = crc16(in, kPayload, seed);
    if (in[kPayload] != (c & 0xFF) || in[kPayload + 1] != (c >> 8)) return Reject::BadCrc;
    return Reject::None;
}

Reject check_udp(const uint8_t* in, std::size_t len) {
    if (len < kUdpFrameSize || in == nullptr) return Reject::Short;
    if (len > kUdpFrameSize) return Reject::Long;
    return Reject::None;
}

} // namespace

const char* reject_name(Reject r) {
    switch (r) {
    case Reject::None:
        return "none";
    case Reject::Short:
        return "short";
    case Reject::Long:
        return "long";
    case Reject::BadCrc:
        return "bad-crc";
    case Reject::WrongAddress:
        return "wrong-address";
    case Reject::WrongCommand:
        return "wrong-command";
    case Reject::Stale:
        return "stale";
    }
    return "unknown";
}

uint16_t crc16(const uint8_t* data, std::size_t len, uint16_t seed) {
    uint16_t c = seed;
    for (std::size_t i = 0; i < len; ++i)
        c = static_cast<uint16_t>((c >> 8) ^ kCrcTable[(c ^ data[i]) & 0xFF]);
    return c;
}

void encode_request(const Request& req, uint8_t out[kFrameSize]) {
    out[0] = req.address;
    out[1] = req.command;
    out[2] = req.p5;
    for (int i = 0; i < 5; ++i)
        out[3 + i] = req.b[i];
    put_crc(out, kRequestSeed);
}

uint16_t reply_seed(const Request& req) {
    const uint8_t bound[6] = {req.p5, req.b[0], req.b[1], req.b[2], req.b[3], req.b[4]};
    return crc16(bound, sizeof bound, kReplySeed);
}

void encode_reply(const Request& req, const Reply& rep, uint8_t out[kFrameSize]) {
    out[0] = rep.address;
    out[1] = rep.command;
    out[2] = rep.out;
    for (int i = 0; i < 4; ++i)
        out[3 + i] = rep.data[i];
    out[7] = rep.status;
    put_crc(out, reply_seed(req));
}

Reject decode_request(const uint8_t* in, std::size_t len, Request& out) {
    const Reject r = check_frame(in, len, kRequestSeed);
    if (r != Reject::None) return r;
    out.address = in[0];
    out.command = in[1];
    out.p5 = in[2];
    for (int i = 0; i < 5; ++i)
        out.b[i] = in[3 + i];
    return Reject::None;
}

Reject decode_reply(const uint8_t* in, std::size_t len, const Request& sent, Reply& out) {
    const Reject r = check_frame(in, len, reply_seed(sent));
    if (r != Reject::None) return r;
    if (in[0] != sent.address) return Reject::WrongAddress;
    if (in[1] != sent.command) return Reject::WrongCommand;
    out.address = in[0];
    out.command = in[1];
    out.out = in[2];
    for (int i = 0; i < 4; ++i)
        out.data[i] = in[3 + i];
    out.status = in[7];
    return Reject::None;
}

void encode_udp_request(uint16_t txn, const Request& req, uint8_t out[kUdpFrameSize]) {
    out[0] = static_cast<uint8_t>(txn & 0xFF);
    out[1] = static_cast<uint8_t>(txn >> 8);
    encode_request(req, out + 2);
}

void encode_udp_reply(uint16_t txn, const Request& req, const Reply& rep,
                      uint8_t out[kUdpFrameSize]) {
    out[0] = static_cast<uint8_t>(txn & 0xFF);
    out[1] = static_cast<uint8_t>(txn >> 8);
    encode_reply(req, rep, out + 2);
}

Reject decode_udp_request(const uint8_t* in, std::size_t len, uint16_t& txn, Request& out) {
    const Reject r = check_udp(in, len);
    if (r != Reject::None) return r;
    Request req;
    const Reject f = decode_request(in + 2, kFrameSize, req);
    if (f != Reject::None) return f;
    txn = static_cast<uint16_t>(in[0] | (in[1] << 8));
    out = req;
    return Reject::None;
}

Reject decode_udp_reply(const uint8_t* in, std::size_t len, uint16_t txn, const Request& sent,
                        Reply& out) {
    const Reject r = check_udp(in, len);
    if (r != Reject::None) return r;
    // A corrupt frame is reported as such even if its number also looks wrong.
    const Reject c = check_frame(in + 2, kFrameSize, reply_seed(sent));
    if (c != Reject::None) return c;
    if (static_cast<uint16_t>(in[0] | (in[1] << 8)) != txn) return Reject::Stale;
    return decode_reply(in + 2, kFrameSize, sent, out);
}

} // namespace km::proto
