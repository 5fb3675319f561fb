// The LAN driver against a scripted converter on UDP loopback: only the
// address and port it sent to, with the current transaction number, answer.
#include "driver_errors.h"
#include "driver_lib.h"
#include "km_protocol.h"

#include "loopback_socket.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using namespace km::proto;

// Waits for one request on `s`; false after two seconds. `from` is the
// driver's port.
bool take_request(const LoopbackSocket& s, uint16_t& from, uint16_t& txn, Request& req) {
    std::vector<uint8_t> buf;
    return s.receive(buf, from, 2000) &&
           decode_udp_request(buf.data(), buf.size(), txn, req) == Reject::None;
}

std::array<uint8_t, kUdpFrameSize> reply_frame(uint16_t txn, const Request& req,
                                               std::array<uint8_t, 4> data, int address = -1) {
    Reply rep;
    rep.address = address < 0 ? req.address : static_cast<uint8_t>(address);
    rep.command = req.command;
    rep.out = req.p5;
    for (int i = 0; i < 4; ++i)
        rep.data[i] = data[i];
    std::array<uint8_t, kUdpFrameSize> f;
    encode_udp_reply(txn, req, rep, f.data());
    return f;
}

class UdpPeer : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(drv.complete());
        cells[0] = reinterpret_cast<uintptr_t>(ip.c_str());
        cells[1] = converter.port();
        cells[2] = 300;
        ASSERT_EQ(0u, drv.init_lan(&handle, cells.data()));
        ASSERT_EQ(0u, drv.set_config(handle, 9600, 13, 0));
    }
    void TearDown() override {
        if (handle) drv.done(&handle);
    }
    uint32_t send(std::array<uint32_t, 4>& data) {
        uint32_t req[8] = {5, 102, 0, 0, 62, 62, 0, 0}, rep[100] = {}, out = 0, status = 99;
        EXPECT_EQ(0u, drv.send(handle, req, rep, &out, &status));
        for (int i = 0; i < 4; ++i)
            data[i] = rep[i];
        return status;
    }

    DriverLib drv{"KL4100"};
    LoopbackSocket converter, stranger;
    std::string ip = "127.0.0.1";
    std::array<uintptr_t, KM_CONFIG_LEN> cells{};
    uint32_t handle = 0;
};

TEST_F(UdpPeer, OnlyTheConverterWithTheCurrentTransactionAnswers) {
    std::thread peer([&] {
        uint16_t from = 0;
        uint16_t txn = 0;
        Request req;
        if (!take_request(converter, from, txn, req)) return;
        // A stranger at another port, an old transaction, another module:
        // none of them is the answer.
        auto f = reply_frame(txn, req, {9, 9, 9, 9});
        stranger.send_to(from, f.data(), f.size());
        f = reply_frame(static_cast<uint16_t>(txn - 1), req, {8, 8, 8, 8});
        converter.send_to(from, f.data(), f.size());
        f = reply_frame(txn, req, {7, 7, 7, 7}, req.address + 1);
        converter.send_to(from, f.data(), f.size());
        uint8_t junk[3] = {1, 2, 3};
        converter.send_to(from, junk, sizeof junk);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        f = reply_frame(txn, req, {1, 2, 3, 4});
        converter.send_to(from, f.data(), f.size());
    });
    std::array<uint32_t, 4> data{};
    uint32_t status = send(data);
    peer.join();
    EXPECT_EQ(0u, status);
    EXPECT_EQ((std::array<uint32_t, 4>{1, 2, 3, 4}), data);
}

TEST_F(UdpPeer, AnswersOnlyFromStrangersAreNoAnswer) {
    std::thread peer([&] {
        uint16_t from = 0;
        uint16_t txn = 0;
        Request req;
        if (!take_request(converter, from, txn, req)) return;
        auto f = reply_frame(txn, req, {9, 9, 9, 9});
        stranger.send_to(from, f.data(), f.size());
    });
    std::array<uint32_t, 4> data{};
    EXPECT_EQ(km::kErrTimeout, send(data));
    peer.join();
    EXPECT_EQ((std::array<uint32_t, 4>{0, 0, 0, 0}), data);
}

TEST_F(UdpPeer, DamagedDatagramOnlyIsCorrupt) {
    std::thread peer([&] {
        uint16_t from = 0;
        uint16_t txn = 0;
        Request req;
        if (!take_request(converter, from, txn, req)) return;
        auto f = reply_frame(txn, req, {1, 2, 3, 4});
        f[6] ^= 0x40;
        converter.send_to(from, f.data(), f.size());
    });
    std::array<uint32_t, 4> data{};
    EXPECT_EQ(km::kErrCorrupt, send(data));
    peer.join();
}

TEST_F(UdpPeer, AnswerFromAnotherModuleOnlyIsReportedAsSuch) {
    std::thread peer([&] {
        uint16_t from = 0;
        uint16_t txn = 0;
        Request req;
        if (!take_request(converter, from, txn, req)) return;
        auto f = reply_frame(txn, req, {7, 7, 7, 7}, req.address + 1);
        converter.send_to(from, f.data(), f.size());
    });
    std::array<uint32_t, 4> data{};
    EXPECT_EQ(km::kErrOtherModule, send(data));
    peer.join();
}

TEST_F(UdpPeer, EmptyDatagramFromTheConverterIsDamageAndTheWaitGoesOn) {
    // Empty, then the real answer a little later: the answer counts.
    std::thread peer([&] {
        uint16_t from = 0;
        uint16_t txn = 0;
        Request req;
        if (!take_request(converter, from, txn, req)) return;
        converter.send_to(from, nullptr, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        auto f = reply_frame(txn, req, {1, 2, 3, 4});
        converter.send_to(from, f.data(), f.size());
    });
    std::array<uint32_t, 4> data{};
    EXPECT_EQ(0u, send(data));
    peer.join();
    EXPECT_EQ((std::array<uint32_t, 4>{1, 2, 3, 4}), data);

    // Nothing but an empty datagram: a damaged answer, not "no answer".
    std::thread lone([&] {
        uint16_t from = 0;
        uint16_t txn = 0;
        Request req;
        if (take_request(converter, from, txn, req)) converter.send_to(from, nullptr, 0);
    });
    EXPECT_EQ(km::kErrCorrupt, send(data));
    lone.join();
}

TEST_F(UdpPeer, FloodFromStrangersCannotHoldSendPastItsDeadline) {
    std::atomic<bool> stop{false};
    std::atomic<uint16_t> driver_port{0};
    std::thread peer([&] {
        uint16_t from = 0;
        uint16_t txn = 0;
        Request req;
        if (take_request(converter, from, txn, req)) driver_port = from;
    });
    // Two strangers blast datagrams at the driver's port in batches, far
    // faster than one datagram per receive call can take them off; they
    // stop on their own after three seconds at the latest.
    auto flood = [&] {
        while (!driver_port && !stop)
            std::this_thread::yield();
        LoopbackSocket s;
        uint8_t payload[kUdpFrameSize] = {};
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!stop && std::chrono::steady_clock::now() < end)
            s.flood(driver_port, payload, sizeof payload, 64);
    };
    std::thread f1(flood), f2(flood);
    std::array<uint32_t, 4> data{};
    const auto t0 = std::chrono::steady_clock::now();
    const uint32_t status = send(data);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0)
            .count();
    stop = true;
    peer.join();
    f1.join();
    f2.join();
    EXPECT_EQ(km::kErrTimeout, status);
    // One attempt of 300 ms; the floods would have run three seconds.
    EXPECT_LT(ms, 1500);
}

} // namespace
