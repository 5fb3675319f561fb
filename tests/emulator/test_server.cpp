// The servers in-process: a thread runs the poll loop, the test is the client.
#include "emu_test_util.h"
#include "km_server.h"
#include "wire_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <termios.h>

using namespace km::emu;
using emu_test::rq;
using emu_test::word;
using km::proto::Reply;

namespace {

class ServerTest : public ::testing::Test {
  protected:
    Module module{Config{}};
    Server server{module};
    std::atomic<bool> stop{false};
    std::thread loop;

    // Faults and settings go in before start(); the loop thread owns the module after.
    void start() {
        std::string err;
        ASSERT_TRUE(server.open_udp("127.0.0.1", 0, err)) << err;
        ASSERT_TRUE(server.open_pty(err)) << err;
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
    void fault(FaultKind k, uint32_t count, uint32_t ms = 100) {
        FaultRule r;
        r.kind = k;
        r.count = count;
        r.delay_ms = ms;
        module.add_fault(r);
    }
};

} // namespace

TEST_F(ServerTest, UdpAnswersWithTheSameTransaction) {
    start();
    emu_test::UdpClient c(server.udp_port());
    const auto req = rq(0, 200, 2);
    c.send(0xA55A, req);
    const auto b = c.receive(1000);
    ASSERT_EQ(b.size(), km::proto::kUdpFrameSize);
    Reply r;
    ASSERT_EQ(km::proto::decode_udp_reply(b.data(), b.size(), 0xA55A, req, r),
              km::proto::Reject::None);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data), 4), "1.02");
}

TEST_F(ServerTest, UdpIgnoresGarbageAndForeignAddresses) {
    start();
    emu_test::UdpClient c(server.udp_port());
    c.send_raw({1, 2, 3});
    c.send_raw(std::vector<uint8_t>(12, 0));
    c.send(1, rq(7, 200, 0));
    EXPECT_TRUE(c.receive(150).empty());
    Reply r;
    EXPECT_TRUE(c.ask(2, rq(0, 200, 0), r));
    EXPECT_EQ(r.data[0], 'K');
}

TEST_F(ServerTest, PtyAnswersAndResyncsOverGarbage) {
    start();
    emu_test::PtyClient p(server.pty_path());
    ASSERT_TRUE(p.is_open());
    std::vector<uint8_t> junk = {0xFF, 0x00, 0xC8, 0x01, 0x02, 0x03, 0x04};
    std::vector<uint8_t> f(10);
    km::proto::encode_request(rq(0, 200, 1), f.data());
    junk.insert(junk.end(), f.begin(), f.end());
    p.write_raw(junk);
    const auto b = p.receive(10, 1000);
    Reply r;
    ASSERT_EQ(km::proto::decode_reply(b.data(), b.size(), rq(0, 200, 1), r),
              km::proto::Reject::None);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data), 4), "07  ");
    EXPECT_TRUE(p.receive(1, 100).empty()) << "exactly one reply";
}

TEST_F(ServerTest, PtyTakesFramesSplitAndBackToBack) {
    start();
    emu_test::PtyClient p(server.pty_path());
    std::vector<uint8_t> a(10), b(10);
    km::proto::encode_request(rq(0, 200, 0), a.data());
    km::proto::encode_request(rq(0, 200, 2), b.data());
    p.write_raw({a.begin(), a.begin() + 4});
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::vector<uint8_t> rest(a.begin() + 4, a.end());
    rest.insert(rest.end(), b.begin(), b.end());
    p.write_raw(rest);
    const auto got = p.receive(20, 1000);
    ASSERT_EQ(got.size(), 20u);
    Reply r1, r2;
    EXPECT_EQ(km::proto::decode_reply(got.data(), 10, rq(0, 200, 0), r1), km::proto::Reject::None);
    EXPECT_EQ(km::proto::decode_reply(got.data() + 10, 10, rq(0, 200, 2), r2),
              km::proto::Reject::None);
    EXPECT_EQ(r2.data[0], '1');
}

TEST_F(ServerTest, PtyDropsAStaleFragment) {
    server.set_serial_gap_ms(50);
    start();
    emu_test::PtyClient p(server.pty_path());
    std::vector<uint8_t> f(10);
    km::proto::encode_request(rq(0, 200, 0), f.data());
    p.write_raw({f.begin(), f.begin() + 7});
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    // The rest after the pause no longer completes the abandoned frame.
    p.write_raw({f.begin() + 7, f.end()});
    EXPECT_TRUE(p.receive(1, 200).empty());
    Reply r;
    EXPECT_TRUE(p.ask(rq(0, 200, 0), r));
    EXPECT_TRUE(p.receive(1, 100).empty());
}

TEST_F(ServerTest, PtySurvivesClientsComingAndGoing) {
    start();
    Reply r;
    {
        emu_test::PtyClient p(server.pty_path());
        ASSERT_TRUE(p.ask(rq(0, 100, 0), r));
    }
    emu_test::PtyClient q(server.pty_path());
    ASSERT_TRUE(q.is_open());
    EXPECT_TRUE(q.ask(rq(0, 100, 0), r));
    EXPECT_EQ(word(r) & kStPwr, uint32_t{kStPwr});
}

TEST_F(ServerTest, DelayedReplyArrivesLate) {
    fault(FaultKind::Delay, 1, 300);
    start();
    emu_test::UdpClient c(server.udp_port());
    const auto t0 = std::chrono::steady_clock::now();
    c.send(5, rq(0, 200, 0));
    EXPECT_TRUE(c.receive(150).empty()) << "not yet";
    const auto b = c.receive(1000);
    ASSERT_FALSE(b.empty());
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(290));
    Reply r;
    EXPECT_EQ(km::proto::decode_udp_reply(b.data(), b.size(), 5, rq(0, 200, 0), r),
              km::proto::Reject::None);
    // A late reply to an earlier request is told apart by its number.
    EXPECT_EQ(km::proto::decode_udp_reply(b.data(), b.size(), 6, rq(0, 200, 0), r),
              km::proto::Reject::Stale);
}

TEST_F(ServerTest, CorruptReplyFailsItsChecksumOnBothWires) {
    fault(FaultKind::Corrupt, 2);
    start();
    emu_test::UdpClient c(server.udp_port());
    c.send(9, rq(0, 200, 0));
    const auto b = c.receive(1000);
    ASSERT_EQ(b.size(), 12u);
    EXPECT_EQ(b[0], 9) << "transaction number left intact";
    Reply r;
    EXPECT_EQ(km::proto::decode_udp_reply(b.data(), b.size(), 9, rq(0, 200, 0), r),
              km::proto::Reject::BadCrc);

    emu_test::PtyClient p(server.pty_path());
    p.send(rq(0, 200, 0));
    const auto s = p.receive(10, 1000);
    ASSERT_EQ(s.size(), 10u);
    EXPECT_EQ(km::proto::decode_reply(s.data(), s.size(), rq(0, 200, 0), r),
              km::proto::Reject::BadCrc);
    EXPECT_TRUE(p.ask(rq(0, 200, 0), r)) << "faults used up";
}

TEST_F(ServerTest, DroppedReplyNeverComes) {
    fault(FaultKind::Drop, 1);
    start();
    emu_test::UdpClient c(server.udp_port());
    c.send(1, rq(0, 1, 80));
    EXPECT_TRUE(c.receive(200).empty());
    Reply r;
    EXPECT_TRUE(c.ask(2, rq(0, 1, 80), r));
}

TEST_F(ServerTest, ErrorStatusAndWrongReadbackOnTheWire) {
    fault(FaultKind::ErrorStatus, 1);
    fault(FaultKind::WrongReadback, 1);
    start();
    emu_test::UdpClient c(server.udp_port());
    Reply r;
    ASSERT_TRUE(c.ask(1, rq(0, 103, 0, {0, 0, 0, 1, 1}), r));
    EXPECT_EQ(r.status, km::proto::kStatusBadValue);
    ASSERT_TRUE(c.ask(2, rq(0, 103, 0, {0, 0, 0, 1, 1}), r));
    EXPECT_EQ(r.status, 0);
    ASSERT_TRUE(c.ask(3, rq(0, 102, 0, {0, 0, 0, 1, 1}), r));
    EXPECT_NE(r.data[2], 1);
    ASSERT_TRUE(c.ask(4, rq(0, 102, 0, {0, 0, 0, 1, 1}), r));
    EXPECT_EQ(r.data[2], 1);
}

namespace {

// Serves a server's pseudo-terminal with line speeds enforced, from a thread.
class StrictPty {
  public:
    explicit StrictPty(Server& server) : server_(server) {
        server_.set_strict_baud(true);
        std::string err;
        opened_ = server_.open_pty(err);
        if (opened_)
            loop_ = std::thread([this] {
                while (!stop_)
                    server_.poll_once(10);
            });
    }
    ~StrictPty() {
        stop_ = true;
        if (loop_.joinable()) loop_.join();
    }
    bool opened() const { return opened_; }

  private:
    Server& server_;
    bool opened_ = false;
    std::atomic<bool> stop_{false};
    std::thread loop_;
};

} // namespace

TEST(ServerBaud, StrictBaudAnswersOnlyAtTheModulesSpeed) {
    Config cfg;
    cfg.baud_index = 8; // 115200 Bd
    Module module{cfg};
    Server server{module};
    StrictPty pty(server);
    ASSERT_TRUE(pty.opened());
    emu_test::PtyClient p(server.pty_path());
    Reply r;
    p.set_speed(B9600);
    EXPECT_FALSE(p.ask(rq(0, 200, 0), r, 200));
    p.set_speed(B115200);
    EXPECT_TRUE(p.ask(rq(0, 200, 0), r));
}

TEST(ServerBaud, ModulesOnOneLineAnswerEachAtItsOwnSpeed) {
    Config slow, fast;
    slow.address = 1;
    fast.address = 2;
    fast.baud_index = 8; // 115200 Bd
    Module a{slow}, b{fast};
    Bus bus;
    bus.add(a);
    bus.add(b);
    Server server{bus};
    StrictPty pty(server);
    ASSERT_TRUE(pty.opened());
    emu_test::PtyClient p(server.pty_path());
    Reply r;
    p.set_speed(B9600);
    EXPECT_TRUE(p.ask(rq(1, 200, 0), r));
    EXPECT_FALSE(p.ask(rq(2, 200, 0), r, 200));
    p.set_speed(B115200);
    EXPECT_TRUE(p.ask(rq(2, 200, 0), r));
    EXPECT_FALSE(p.ask(rq(1, 200, 0), r, 200));
}

TEST(ServerBaud, TwoModulesAnsweringOneRequestGarbleTheReply) {
    Module a{Config{}}, b{Config{}};
    Bus bus;
    bus.add(a);
    bus.add(b);
    const Response r = bus.exchange(rq(0, 103, 0, {0, 0, 0, 1, 1}));
    EXPECT_TRUE(r.answered);
    EXPECT_TRUE(r.corrupt);
    EXPECT_EQ(bus.collisions(), 1u);
    EXPECT_EQ(a.config_register(0), 1) << "both heard the write";
    EXPECT_EQ(b.config_register(0), 1);
    EXPECT_FALSE(bus.exchange(rq(0, 200, 0), kNoBaud).answered);
}

TEST(ServerOpen, RefusesABadHost) {
    Module m{Config{}};
    Server s(m);
    std::string err;
    EXPECT_FALSE(s.open_udp("localhost-ish", 0, err));
    EXPECT_FALSE(err.empty());
}
