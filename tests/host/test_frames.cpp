// The frames between the program and km207-driverhost, and the host itself
// fed with what no program should send.
#include "km_host_frame.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

using namespace kmhost;

namespace {

std::vector<uint8_t> bytes(const QByteArray& a) {
    return {a.begin(), a.end()};
}

std::vector<uint8_t> payload_of(const std::vector<uint8_t>& frame) {
    return {frame.begin() + kHeaderSize, frame.end()};
}

TEST(HostFrames, ASendRequestCrossesWhole) {
    SendRequest in;
    in.handle = 0xA1B2C3D4;
    in.present = kHasRequest | kHasReply | kHasStatus;
    for (uint32_t i = 0; i < kRequestValues; ++i)
        in.request[i] = i * 0x01010101u;
    in.status = 10;
    in.reply[99] = 0xFFFFFFFF;
    const std::vector<uint8_t> wire = encode(static_cast<uint8_t>(Type::Send), 7, in);

    // Arriving a byte at a time changes nothing.
    FrameReader reader;
    Frame f;
    for (size_t i = 0; i + 1 < wire.size(); ++i) {
        reader.feed(&wire[i], 1);
        ASSERT_EQ(reader.next(f), FrameReader::Status::Incomplete) << i;
    }
    reader.feed(&wire.back(), 1);
    ASSERT_EQ(reader.next(f), FrameReader::Status::Ready);
    EXPECT_EQ(f.type, static_cast<uint8_t>(Type::Send));
    EXPECT_EQ(f.seq, 7u);
    SendRequest out;
    ASSERT_TRUE(decode(f.payload, out));
    EXPECT_EQ(out.handle, in.handle);
    EXPECT_EQ(out.present, in.present);
    EXPECT_EQ(std::vector<uint32_t>(out.request, out.request + 8),
              std::vector<uint32_t>(in.request, in.request + 8));
    EXPECT_EQ(out.status, 10u);
    EXPECT_EQ(out.reply[99], 0xFFFFFFFFu);
}

TEST(HostFrames, EveryMalformedPieceIsRefused) {
    const std::vector<uint8_t> good = encode(1, 1, OpenRequest{4, "/x/KL4100.so"});
    // Payload one byte short or one byte long, a kind above 4, a string
    // longer than its frame, a NUL inside the path.
    std::vector<uint8_t> payload = payload_of(good);
    OpenRequest r;
    EXPECT_TRUE(decode(payload, r));
    EXPECT_FALSE(decode(std::vector<uint8_t>(payload.begin(), payload.end() - 1), r));
    payload.push_back(0);
    EXPECT_FALSE(decode(payload, r));
    EXPECT_FALSE(decode(payload_of(encode(1, 1, OpenRequest{5, "a"})), r));
    EXPECT_FALSE(decode(std::vector<uint8_t>{0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}, r));
    EXPECT_FALSE(decode(payload_of(encode(1, 1, OpenRequest{0, std::string("a\0b", 3)})), r));

    // Headers: wrong magic or version, or a length above the limit, break the
    // stream for good, before the rest of the frame has arrived.
    for (size_t at : {0u, 1u, 2u}) {
        std::vector<uint8_t> bad = good;
        bad[at] ^= 0x20;
        FrameReader reader;
        reader.feed(bad.data(), at + 1);
        Frame f;
        EXPECT_EQ(reader.next(f), FrameReader::Status::Broken) << at;
        reader.feed(good.data(), good.size());
        EXPECT_EQ(reader.next(f), FrameReader::Status::Broken) << "stays broken";
    }
    std::vector<uint8_t> big = good;
    big[8] = 0x01;
    big[9] = 0x10; // 4097 bytes
    FrameReader reader;
    reader.feed(big.data(), kHeaderSize);
    Frame f;
    EXPECT_EQ(reader.next(f), FrameReader::Status::Broken);
}

// The host itself: requests before a library is open are refused and it
// keeps serving; a broken header makes it say so and stop.
TEST(HostFrames, TheHostRefusesAndStopsOnGarbage) {
    QProcess host;
    host.start(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("km207-driverhost")),
        {});
    ASSERT_TRUE(host.waitForStarted(5000));
    const auto ask = [&host](const std::vector<uint8_t>& frame, Frame& reply) {
        host.write(reinterpret_cast<const char*>(frame.data()), qint64(frame.size()));
        FrameReader reader;
        while (host.waitForReadyRead(5000)) {
            const std::vector<uint8_t> got = bytes(host.readAllStandardOutput());
            reader.feed(got.data(), got.size());
            if (reader.next(reply) == FrameReader::Status::Ready) return true;
        }
        return false;
    };
    const uint8_t refused = static_cast<uint8_t>(Type::Refused) | kReplyBit;
    Frame reply;
    RefusedReply why;
    ASSERT_TRUE(ask(encode(static_cast<uint8_t>(Type::Send), 3, SendRequest{}), reply));
    EXPECT_EQ(reply.type, refused);
    EXPECT_EQ(reply.seq, 3u);
    ASSERT_TRUE(decode(reply.payload, why));
    EXPECT_EQ(why.reason, kRefusedNotOpen);

    ASSERT_TRUE(ask(encode(0x33, 4, ResultReply{}), reply));
    ASSERT_TRUE(decode(reply.payload, why));
    EXPECT_EQ(why.reason, kRefusedType);

    ASSERT_TRUE(ask(encode(static_cast<uint8_t>(Type::Open), 5, ResultReply{}), reply));
    ASSERT_TRUE(decode(reply.payload, why));
    EXPECT_EQ(why.reason, kRefusedPayload);

    ASSERT_TRUE(ask({'G', 'E', 'T', ' ', '/', ' '}, reply));
    ASSERT_TRUE(decode(reply.payload, why));
    EXPECT_EQ(why.reason, kRefusedFrame);
    ASSERT_TRUE(host.waitForFinished(5000));
    EXPECT_EQ(host.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(host.exitCode(), 2);
}

} // namespace
