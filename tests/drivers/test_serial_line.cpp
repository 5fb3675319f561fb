// The serial driver against a scripted module on a real pseudo-terminal:
// echoing adapters, other modules, noise, pauses inside a frame, late replies.
#include "driver_core.h"
#include "driver_errors.h"
#include "driver_lib.h"
#include "pty_peer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

namespace {

using km::proto::Request;
using Writes = std::vector<PeerWrite>;

// Answer of the scripted module: out = P5, data = B1..B4 of the request + 1.
std::vector<uint8_t> answer(const Request& req) {
    return PtyPeer::reply(req, req.p5,
                          {static_cast<uint8_t>(req.b[1] + 1), static_cast<uint8_t>(req.b[2] + 1),
                           static_cast<uint8_t>(req.b[3] + 1), static_cast<uint8_t>(req.b[4] + 1)});
}

class SerialLine : public testing::Test {
  protected:
    // Opens KSER410 on COM6 pointed at the peer.
    void open(PtyPeer& peer, uint32_t retries = 2, uint32_t baud = 9600, uint32_t timing = 13) {
        ASSERT_FALSE(peer.path().empty());
        setenv("KM207_COM6", peer.path().c_str(), 1);
        ASSERT_TRUE(drv.complete());
        ASSERT_EQ(0u, drv.init_value(&handle, 6));
        ASSERT_EQ(0u, drv.set_config(handle, baud, timing, retries));
    }
    void TearDown() override {
        if (handle) drv.done(&handle);
        unsetenv("KM207_COM6");
    }

    struct Result {
        uint32_t result, status, out;
        std::array<uint32_t, 4> data;
        long ms;
    };
    Result send(uint8_t address, uint8_t command, uint8_t p5, std::array<uint8_t, 5> b) {
        uint32_t req[8] = {address, command, p5, b[0], b[1], b[2], b[3], b[4]};
        std::array<uint32_t, 100> rep;
        rep.fill(0xAAAAAAAA);
        Result r{};
        auto t0 = std::chrono::steady_clock::now();
        r.result = drv.send(handle, req, rep.data(), &r.out, &r.status);
        r.ms = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - t0)
                                     .count());
        for (int i = 0; i < 4; ++i)
            r.data[i] = rep[i];
        for (int i = 4; i < 100; ++i)
            EXPECT_EQ(0xAAAAAAAAu, rep[i]) << "reply value " << i;
        return r;
    }

    DriverLib drv{"KSER410"};
    uint32_t handle = 0;
    const long T = static_cast<long>(km::serial_response_timeout_ms(9600));
};

TEST_F(SerialLine, PlainReplyFillsReplyAndOut) {
    PtyPeer peer([](const Request& req, const std::vector<uint8_t>&, int) {
        return Writes{{0, answer(req)}};
    });
    open(peer);
    Result r = send(3, 102, 0, {0, 62, 62, 0, 0});
    EXPECT_EQ(0u, r.result);
    EXPECT_EQ(0u, r.status);
    EXPECT_EQ(0u, r.out);
    EXPECT_EQ((std::array<uint32_t, 4>{63, 63, 1, 1}), r.data);
    EXPECT_EQ(1, peer.requests());
}

TEST_F(SerialLine, AdapterEchoOfTheRequestIsSkipped) {
    PtyPeer peer([](const Request& req, const std::vector<uint8_t>& raw, int) {
        return Writes{{0, raw}, {5, answer(req)}};
    });
    open(peer);
    Result r = send(0, 200, 1, {9, 0, 0, 0, 0});
    EXPECT_EQ(0u, r.status);
    EXPECT_EQ(1u, r.out);
    EXPECT_EQ((std::array<uint32_t, 4>{1, 1, 1, 1}), r.data);
    EXPECT_EQ(1, peer.requests()) << "answered at the first attempt";
}

TEST_F(SerialLine, EchoAndReplyInOneBurstAreSeparated) {
    PtyPeer peer([](const Request& req, const std::vector<uint8_t>& raw, int) {
        std::vector<uint8_t> both = raw;
        auto rep = answer(req);
        both.insert(both.end(), rep.begin(), rep.end());
        return Writes{{0, both}};
    });
    open(peer);
    Result r = send(0, 0, 80, {0, 4, 5, 6, 7});
    EXPECT_EQ(0u, r.status);
    EXPECT_EQ((std::array<uint32_t, 4>{5, 6, 7, 8}), r.data);
}

TEST_F(SerialLine, ReplyFromAnotherModuleIsNotTheAnswer) {
    PtyPeer peer([](const Request& req, const std::vector<uint8_t>&, int) {
        return Writes{{0, PtyPeer::reply(req, 0, {1, 2, 3, 4}, 0, req.address + 1)}};
    });
    open(peer);
    Result r = send(7, 0, 80, {0, 0, 0, 0, 0});
    EXPECT_EQ(0u, r.result);
    EXPECT_EQ(km::kErrOtherModule, r.status);
    EXPECT_EQ((std::array<uint32_t, 4>{0, 0, 0, 0}), r.data);
    EXPECT_EQ(0u, r.out);
    EXPECT_EQ(3, peer.requests()) << "one try and two retries";
    EXPECT_GE(r.ms, 3 * T - 3) << "kept listening until the deadline each time";
}

TEST_F(SerialLine, AnotherModuleFirstThenOursIsTheAnswer) {
    PtyPeer peer([](const Request& req, const std::vector<uint8_t>&, int) {
        return Writes{{0, PtyPeer::reply(req, 0, {1, 2, 3, 4}, 0, 99)}, {10, answer(req)}};
    });
    open(peer);
    Result r = send(7, 0, 80, {0, 10, 20, 30, 40});
    EXPECT_EQ(0u, r.status);
    EXPECT_EQ((std::array<uint32_t, 4>{11, 21, 31, 41}), r.data);
    EXPECT_EQ(1, peer.requests());
}

TEST_F(SerialLine, NoiseBeforeTheReplyIsSkipped) {
    PtyPeer peer([](const Request& req, const std::vector<uint8_t>&, int) {
        std::vector<uint8_t> bytes = {0xFF, 0x00, 0x55};
        auto rep = answer(req);
        bytes.insert(bytes.end(), rep.begin(), rep.end());
        return Writes{{0, bytes}};
    });
    open(peer);
    Result r = send(1, 100, 0, {0, 0, 0, 0, 0});
    EXPECT_EQ(0u, r.status);
    EXPECT_EQ((std::array<uint32_t, 4>{1, 1, 1, 1}), r.data);
}

TEST_F(SerialLine, ShortPauseInsideAFrameIsTolerated) {
    PtyPeer peer([](const Request& req, const std::vector<uint8_t>&, int) {
        auto rep = answer(req);
        return Writes{{0, {rep.begin(), rep.begin() + 4}}, {4, {rep.begin() + 4, rep.end()}}};
    });
    open(peer, 2, 9600, 100); // a generous timing value: a loaded test machine pauses too
    Result r = send(1, 0, 64, {0, 0, 0, 0, 0});
    EXPECT_EQ(0u, r.status);
    EXPECT_EQ(1, peer.requests());
}

TEST_F(SerialLine, PauseLongerThanTheTimingValueBreaksTheFrameAndIsRetried) {
    PtyPeer peer([](const Request& req, const std::vector<uint8_t>&, int index) {
        auto rep = answer(req);
        if (index > 0) return Writes{{0, rep}};
        return Writes{{0, {rep.begin(), rep.begin() + 4}}, {40, {rep.begin() + 4, rep.end()}}};
    });
    open(peer);
    Result r = send(1, 0, 64, {0, 1, 1, 1, 1});
    EXPECT_EQ(0u, r.status);
    EXPECT_EQ((std::array<uint32_t, 4>{2, 2, 2, 2}), r.data);
    EXPECT_EQ(2, peer.requests());
}

TEST_F(SerialLine, DamagedRepliesGiveCorruptAfterTheRetries) {
    PtyPeer peer([](const Request& req, const std::vector<uint8_t>&, int) {
        auto rep = answer(req);
        rep[5] ^= 0x10;
        return Writes{{0, rep}};
    });
    open(peer);
    Result r = send(0, 102, 0, {0, 0, 0, 0, 0});
    EXPECT_EQ(0u, r.result);
    EXPECT_EQ(km::kErrCorrupt, r.status);
    EXPECT_EQ(3, peer.requests());
}

TEST_F(SerialLine, DamagedReplyEndsItsAttemptWhenTheLineGoesQuiet) {
    PtyPeer peer([](const Request& req, const std::vector<uint8_t>&, int) {
        auto rep = answer(req);
        rep[2] ^= 0x01;
        return Writes{{0, rep}};
    });
    open(peer, 0, 600, 13); // 384 ms to the deadline at 600 Bd
    Result r = send(0, 102, 0, {0, 0, 0, 0, 0});
    EXPECT_EQ(km::kErrCorrupt, r.status);
    EXPECT_LT(r.ms, static_cast<long>(km::serial_response_timeout_ms(600)) - 150)
        << "waited for the deadline instead of the pause after the frame";
}

TEST_F(SerialLine, ModuleErrorStatusBecomesItsDriverCode) {
    PtyPeer peer([](const Request& req, const std::vector<uint8_t>&, int) {
        return Writes{{0, PtyPeer::reply(req, 0, {0, 0, 0, 0}, req.b[1])}};
    });
    open(peer);
    EXPECT_EQ(km::kErrUnknownCommand, send(0, 55, 0, {0, 1, 0, 0, 0}).status);
    EXPECT_EQ(km::kErrBadRegister, send(0, 102, 0, {0, 2, 0, 0, 0}).status);
    EXPECT_EQ(km::kErrBadValue, send(0, 103, 0, {0, 3, 0, 0, 0}).status);
    EXPECT_EQ(km::kErrModule, send(0, 103, 0, {0, 9, 0, 0, 0}).status);
    EXPECT_EQ(4, peer.requests()) << "an answer with an error status is not retried";
}

TEST_F(SerialLine, SilenceGivesTimeoutAfterEachRetry) {
    PtyPeer peer([](const Request&, const std::vector<uint8_t>&, int) { return Writes{}; });
    open(peer, 1);
    Result r = send(0, 200, 0, {0, 0, 0, 0, 0});
    EXPECT_EQ(0u, r.result);
    EXPECT_EQ(km::kErrTimeout, r.status);
    EXPECT_EQ(2, peer.requests());
    EXPECT_GE(r.ms, 2 * T - 2);
    EXPECT_LT(r.ms, 2 * T + 500);
}

TEST_F(SerialLine, LateReplyIsNeverTakenForTheNextRequest) {
    // The first request is answered 150 ms late, after the driver gave up;
    // the next one (same command, other register) is answered at once.
    PtyPeer peer([](const Request& req, const std::vector<uint8_t>&, int index) {
        return Writes{{index == 0 ? 150 : 0, answer(req)}};
    });
    open(peer, 0);
    Result first = send(0, 102, 0, {0, 10, 10, 0, 0});
    EXPECT_EQ(km::kErrTimeout, first.status);
    Result next = send(0, 102, 0, {0, 62, 62, 0, 0});
    EXPECT_EQ(0u, next.status);
    EXPECT_EQ((std::array<uint32_t, 4>{63, 63, 1, 1}), next.data)
        << "the late answer to register 10 was taken for register 62";
}

} // namespace
