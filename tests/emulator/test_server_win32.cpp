// The emulator's Windows transport in-process: the server's loop on a
// thread, the test a Winsock client on loopback.
#include "emu_test_util.h"
#include "km_server.h"
#include "sim_process.h"
#include "wire_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace km::emu;
using emu_test::rq;
using km::proto::Reply;

namespace {

class WinServer : public ::testing::Test {
  protected:
    Module module{Config{}};
    Server server{module};
    std::atomic<bool> stop{false};
    std::thread loop;

    void start() {
        std::string err;
        ASSERT_TRUE(server.open_udp("127.0.0.1", 0, err)) << err;
        ASSERT_NE(server.udp_port(), 0);
        loop = std::thread([this] {
            while (!stop)
                server.poll_once(10);
        });
    }
    void TearDown() override {
        stop = true;
        if (loop.joinable()) loop.join();
    }
};

} // namespace

TEST_F(WinServer, NoPseudoTerminalButAClearReason) {
    EXPECT_FALSE(Server::pty_supported());
    std::string err;
    EXPECT_FALSE(server.open_pty(err));
    EXPECT_NE(err.find("--com"), std::string::npos) << err;
    EXPECT_FALSE(server.open_serial("COM250", 9600, err)) << "no such port";
    EXPECT_FALSE(err.empty());
}

TEST_F(WinServer, UdpAnswersWithTheSameTransactionAndIgnoresGarbage) {
    start();
    emu_test::UdpClient c(server.udp_port());
    c.send_raw({1, 2, 3});
    c.send(1, rq(7, 200, 0)); // another module's address
    EXPECT_TRUE(c.receive(150).empty());
    const auto req = rq(0, 200, 2);
    c.send(0xA55A, req);
    const auto b = c.receive(1000);
    ASSERT_EQ(b.size(), km::proto::kUdpFrameSize);
    Reply r;
    ASSERT_EQ(km::proto::decode_udp_reply(b.data(), b.size(), 0xA55A, req, r),
              km::proto::Reject::None);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data), 4), "1.02");
}

TEST_F(WinServer, DelayedReplyIsSentOnTimeWhileTheLoopWaits) {
    FaultRule f;
    f.kind = FaultKind::Delay;
    f.count = 1;
    f.delay_ms = 300;
    module.add_fault(f);
    start();
    emu_test::UdpClient c(server.udp_port());
    const auto t0 = std::chrono::steady_clock::now();
    c.send(5, rq(0, 200, 0));
    EXPECT_TRUE(c.receive(150).empty()) << "not yet";
    const auto b = c.receive(1000);
    ASSERT_FALSE(b.empty());
    const auto ms = std::chrono::steady_clock::now() - t0;
    EXPECT_GE(ms, std::chrono::milliseconds(290));
    EXPECT_LT(ms, std::chrono::milliseconds(800));
    Reply r;
    EXPECT_TRUE(c.ask(6, rq(0, 200, 0), r)) << "and the next one at once";
}

TEST(WinSim, TheExecutableAnswersOverUdpUntilItIsStopped) {
    SimProcess sim({"--name", "WIN-SIM", "--fw", "3.01"});
    ASSERT_TRUE(sim.running()) << sim.output();
    EXPECT_TRUE(sim.pty().empty()) << "no pseudo-terminal on Windows";
    emu_test::UdpClient c(sim.udp_port());
    Reply r;
    ASSERT_TRUE(c.ask(1, rq(0, 200, 0), r));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data), 4), "WIN-");
    ASSERT_TRUE(c.ask(2, rq(0, 200, 2), r));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data), 4), "3.01");
    sim.stop();
    EXPECT_FALSE(sim.running());
    EXPECT_FALSE(c.ask(3, rq(0, 200, 0), r, 200)) << "stopped means gone";
}
