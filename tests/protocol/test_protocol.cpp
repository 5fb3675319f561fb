#include "km_protocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace km::proto;

namespace {

Request sample_request() {
    Request r;
    r.address = 17;
    r.command = 103;
    r.p5 = 0;
    r.b[0] = 0;
    r.b[1] = 62;
    r.b[2] = 62;
    r.b[3] = 8;
    r.b[4] = 8;
    return r;
}

Reply sample_reply(const Request& q) {
    Reply r;
    r.address = q.address;
    r.command = q.command;
    r.out = 0xA5;
    r.data[0] = 1;
    r.data[1] = 0x80;
    r.data[2] = 0xFF;
    r.data[3] = 0x7E;
    r.status = 0;
    return r;
}

bool same(const Request& a, const Request& b) {
    return a.address == b.address && a.command == b.command && a.p5 == b.p5 &&
           std::memcmp(a.b, b.b, 5) == 0;
}

bool same(const Reply& a, const Reply& b) {
    return a.address == b.address && a.command == b.command && a.out == b.out &&
           std::memcmp(a.data, b.data, 4) == 0 && a.status == b.status;
}

} // namespace

TEST(Crc16, ModbusCheckValue) {
    // The standard check value of CRC-16/MODBUS over "123456789".
    const uint8_t s[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(crc16(s, sizeof s, 0xFFFF), 0x4B37);
    EXPECT_EQ(crc16(s, 0, 0x1234), 0x1234);
}

TEST(Codec, RequestLayoutOnTheWire) {
    uint8_t f[kFrameSize];
    encode_request(sample_request(), f);
    const uint8_t head[8] = {17, 103, 0, 0, 62, 62, 8, 8};
    EXPECT_EQ(std::memcmp(f, head, 8), 0);
    const uint16_t c = crc16(f, 8, kRequestSeed);
    EXPECT_EQ(f[8], c & 0xFF);
    EXPECT_EQ(f[9], c >> 8);
}

TEST(Codec, ReplyLayoutOnTheWire) {
    uint8_t f[kFrameSize];
    encode_reply(sample_request(), sample_reply(sample_request()), f);
    const uint8_t head[8] = {17, 103, 0xA5, 1, 0x80, 0xFF, 0x7E, 0};
    EXPECT_EQ(std::memcmp(f, head, 8), 0);
    const uint16_t c = crc16(f, 8, reply_seed(sample_request()));
    EXPECT_EQ(f[8], c & 0xFF);
    EXPECT_EQ(f[9], c >> 8);
}

TEST(Codec, RequestRoundTripAllAddressesAndCommands) {
    for (int a = 0; a < 256; a += 5) {
        for (int c : {0, 1, 100, 101, 102, 103, 200, 255}) {
            Request q = sample_request();
            q.address = static_cast<uint8_t>(a);
            q.command = static_cast<uint8_t>(c);
            q.p5 = static_cast<uint8_t>(a ^ c);
            uint8_t f[kFrameSize];
            encode_request(q, f);
            Request back;
            ASSERT_EQ(decode_request(f, sizeof f, back), Reject::None);
            EXPECT_TRUE(same(q, back));
        }
    }
}

TEST(Codec, ReplyRoundTrip) {
    const Request q = sample_request();
    for (int st = 0; st < 256; st += 51) {
        Reply r = sample_reply(q);
        r.status = static_cast<uint8_t>(st);
        uint8_t f[kFrameSize];
        encode_reply(q, r, f);
        Reply back;
        ASSERT_EQ(decode_reply(f, sizeof f, q, back), Reject::None);
        EXPECT_TRUE(same(r, back));
    }
}

TEST(Codec, UdpRoundTrip) {
    const Request q = sample_request();
    uint8_t f[kUdpFrameSize];
    encode_udp_request(0xBEEF, q, f);
    EXPECT_EQ(f[0], 0xEF);
    EXPECT_EQ(f[1], 0xBE);
    uint16_t txn = 0;
    Request qb;
    ASSERT_EQ(decode_udp_request(f, sizeof f, txn, qb), Reject::None);
    EXPECT_EQ(txn, 0xBEEF);
    EXPECT_TRUE(same(q, qb));

    const Reply r = sample_reply(q);
    encode_udp_reply(0xBEEF, q, r, f);
    Reply rb;
    ASSERT_EQ(decode_udp_reply(f, sizeof f, 0xBEEF, q, rb), Reject::None);
    EXPECT_TRUE(same(r, rb));
}

TEST(Reject, ShortFramesAtEveryLength) {
    uint8_t f[kUdpFrameSize];
    encode_request(sample_request(), f);
    Request q;
    Reply r;
    for (std::size_t n = 0; n < kFrameSize; ++n) {
        // A buffer of exactly n bytes, so a read past it is caught by the sanitizers.
        std::vector<uint8_t> v(f, f + n);
        EXPECT_EQ(decode_request(v.data(), n, q), Reject::Short) << n;
        EXPECT_EQ(decode_reply(v.data(), n, sample_request(), r), Reject::Short) << n;
    }
    EXPECT_EQ(decode_request(nullptr, 0, q), Reject::Short);
    encode_udp_request(1, sample_request(), f);
    for (std::size_t n = 0; n < kUdpFrameSize; ++n) {
        std::vector<uint8_t> v(f, f + n);
        uint16_t t = 0;
        EXPECT_EQ(decode_udp_request(v.data(), n, t, q), Reject::Short) << n;
        EXPECT_EQ(decode_udp_reply(v.data(), n, 1, sample_request(), r), Reject::Short) << n;
    }
}

TEST(Reject, LongFrames) {
    std::vector<uint8_t> v(kUdpFrameSize + 1);
    encode_request(sample_request(), v.data());
    Request q;
    Reply r;
    EXPECT_EQ(decode_request(v.data(), kFrameSize + 1, q), Reject::Long);
    encode_reply(sample_request(), sample_reply(sample_request()), v.data());
    EXPECT_EQ(decode_reply(v.data(), kFrameSize + 1, sample_request(), r), Reject::Long);
    encode_udp_request(1, sample_request(), v.data());
    uint16_t t = 0;
    EXPECT_EQ(decode_udp_request(v.data(), v.size(), t, q), Reject::Long);
    encode_udp_reply(1, sample_request(), sample_reply(sample_request()), v.data());
    EXPECT_EQ(decode_udp_reply(v.data(), v.size(), 1, sample_request(), r), Reject::Long);
}

TEST(Reject, EverySingleBitFlipIsCaught) {
    const Request q = sample_request();
    uint8_t good[kFrameSize];
    encode_reply(q, sample_reply(q), good);
    for (std::size_t i = 0; i < kFrameSize; ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            uint8_t f[kFrameSize];
            std::memcpy(f, good, sizeof f);
            f[i] ^= static_cast<uint8_t>(1 << bit);
            Reply r;
            r.out = 0x11;
            EXPECT_EQ(decode_reply(f, sizeof f, q, r), Reject::BadCrc) << i << ":" << bit;
            EXPECT_EQ(r.out, 0x11) << "refused frame must not touch the output";
        }
    }
}

TEST(Reject, FrameOfTheOtherDirection) {
    // An echoed request on a two-wire line is never taken for a reply, nor a reply for a request.
    const Request q = sample_request();
    uint8_t f[kFrameSize];
    encode_request(q, f);
    Reply r;
    EXPECT_EQ(decode_reply(f, sizeof f, q, r), Reject::BadCrc);
    encode_reply(q, sample_reply(q), f);
    Request back;
    EXPECT_EQ(decode_request(f, sizeof f, back), Reject::BadCrc);
}

TEST(Reject, ForeignAddressAndCommand) {
    const Request q = sample_request();
    Reply other = sample_reply(q);
    other.address = 18;
    uint8_t f[kFrameSize];
    encode_reply(q, other, f);
    Reply r;
    EXPECT_EQ(decode_reply(f, sizeof f, q, r), Reject::WrongAddress);
    other = sample_reply(q);
    other.command = 102;
    encode_reply(q, other, f);
    EXPECT_EQ(decode_reply(f, sizeof f, q, r), Reject::WrongCommand);

    uint8_t u[kUdpFrameSize];
    other.command = q.command;
    other.address = 3;
    encode_udp_reply(9, q, other, u);
    EXPECT_EQ(decode_udp_reply(u, sizeof u, 9, q, r), Reject::WrongAddress);
}

TEST(Reject, ReplyToAnotherRequestOfTheSameCommand) {
    // A late reply to reading register 33 must not pass for reading 34.
    Request asked33 = sample_request();
    asked33.command = 102;
    asked33.b[1] = asked33.b[2] = 33;
    Request asked34 = asked33;
    asked34.b[1] = asked34.b[2] = 34;
    Reply late = sample_reply(asked33);
    uint8_t f[kFrameSize];
    encode_reply(asked33, late, f);
    Reply r;
    EXPECT_EQ(decode_reply(f, sizeof f, asked34, r), Reject::BadCrc);
    EXPECT_EQ(decode_reply(f, sizeof f, asked33, r), Reject::None);
    Request otherPart = asked33;
    otherPart.p5 = 1;
    EXPECT_EQ(decode_reply(f, sizeof f, otherPart, r), Reject::BadCrc);
    uint8_t u[kUdpFrameSize];
    encode_udp_reply(7, asked33, late, u);
    EXPECT_EQ(decode_udp_reply(u, sizeof u, 7, asked34, r), Reject::BadCrc);
}

TEST(Reject, StaleTransaction) {
    const Request q = sample_request();
    uint8_t u[kUdpFrameSize];
    encode_udp_reply(41, q, sample_reply(q), u);
    Reply r;
    EXPECT_EQ(decode_udp_reply(u, sizeof u, 42, q, r), Reject::Stale);
    EXPECT_EQ(decode_udp_reply(u, sizeof u, 41, q, r), Reject::None);
    // A corrupt frame is reported as corrupt even when its number is also off.
    u[5] ^= 0x40;
    EXPECT_EQ(decode_udp_reply(u, sizeof u, 42, q, r), Reject::BadCrc);
}

TEST(Reject, UdpRequestWithBadCrc) {
    uint8_t u[kUdpFrameSize];
    encode_udp_request(7, sample_request(), u);
    u[11] ^= 1;
    uint16_t t = 0xFFFF;
    Request q;
    EXPECT_EQ(decode_udp_request(u, sizeof u, t, q), Reject::BadCrc);
    EXPECT_EQ(t, 0xFFFF);
}

TEST(Reject, NamesAreDistinct) {
    const Reject all[] = {Reject::None,         Reject::Short,        Reject::Long, Reject::BadCrc,
                          Reject::WrongAddress, Reject::WrongCommand, Reject::Stale};
    for (Reject a : all) {
        for (Reject b : all) {
            if (a != b) {
                EXPECT_STRNE(reject_name(a), reject_name(b));
            }
        }
    }
}
