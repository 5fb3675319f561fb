#include "emu_test_util.h"
#include "km_module.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace km::emu;
using emu_test::rq;
using emu_test::word;

namespace {

class FaultTest : public ::testing::Test {
  protected:
    emu_test::ManualClock clock;
    Module m{Config{}, clock.fn()};
};

FaultRule rule(FaultKind k, uint32_t count, double p = 0.0) {
    FaultRule r;
    r.kind = k;
    r.count = count;
    r.probability = p;
    return r;
}

} // namespace

TEST_F(FaultTest, NoFaultsAnswersPlainly) {
    const Response r = m.exchange(rq(0, 200, 0));
    EXPECT_TRUE(r.answered);
    EXPECT_FALSE(r.corrupt);
    EXPECT_EQ(r.delay_ms, 0u);
    EXPECT_EQ(r.reply.status, 0);
}

TEST_F(FaultTest, DropNextNRepliesButCommandsRun) {
    m.add_fault(rule(FaultKind::Drop, 2));
    EXPECT_FALSE(m.exchange(rq(0, 1, 64, {0, 0x0F})).answered);
    EXPECT_EQ(m.outputs(), 0x0Fu) << "the command ran, only its reply was lost";
    EXPECT_FALSE(m.exchange(rq(0, 200, 0)).answered);
    EXPECT_TRUE(m.exchange(rq(0, 200, 0)).answered);
    EXPECT_EQ(m.stats().dropped, 2u);
}

TEST_F(FaultTest, DelayCarriesTheTime) {
    FaultRule r = rule(FaultKind::Delay, 1);
    r.delay_ms = 250;
    m.add_fault(r);
    Response a = m.exchange(rq(0, 200, 0));
    EXPECT_TRUE(a.answered);
    EXPECT_EQ(a.delay_ms, 250u);
    EXPECT_EQ(a.reply.data[0], 'K');
    EXPECT_EQ(m.exchange(rq(0, 200, 0)).delay_ms, 0u);
}

TEST_F(FaultTest, CorruptMarksTheReplyAndBreaksItsChecksum) {
    m.add_fault(rule(FaultKind::Corrupt, 1));
    const auto req = rq(0, 200, 0);
    Response a = m.exchange(req);
    ASSERT_TRUE(a.answered);
    EXPECT_TRUE(a.corrupt);
    uint8_t f[km::proto::kFrameSize];
    km::proto::encode_reply(req, a.reply, f);
    m.corrupt_frame(f, sizeof f);
    km::proto::Reply back;
    EXPECT_EQ(km::proto::decode_reply(f, sizeof f, req, back), km::proto::Reject::BadCrc);
    EXPECT_FALSE(m.exchange(req).corrupt);
}

TEST_F(FaultTest, WrongReadbackOnlyHitsCommand102) {
    m.add_fault(rule(FaultKind::WrongReadback, 1));
    EXPECT_EQ(m.exchange(rq(0, 103, 0, {0, 0, 0, 2, 2})).reply.status, 0);
    EXPECT_EQ(m.exchange(rq(0, 100, 0)).reply.status, 0);
    const Response a = m.exchange(rq(0, 102, 0, {0, 0, 0, 2, 2}));
    EXPECT_EQ(a.reply.status, 0);
    EXPECT_NE(a.reply.data[2], 2) << "another value than the register holds";
    EXPECT_EQ(m.config_register(0), 2);
    EXPECT_EQ(m.exchange(rq(0, 102, 0, {0, 0, 0})).reply.data[2], 2) << "count used up";
}

TEST_F(FaultTest, ErrorStatusRefusesTheCommand) {
    FaultRule r = rule(FaultKind::ErrorStatus, 1);
    r.status = km::proto::kStatusBadRegister;
    m.add_fault(r);
    const Response a = m.exchange(rq(0, 1, 64, {0, 0xFF, 0xFF, 0xFF, 0xFF}));
    ASSERT_TRUE(a.answered);
    EXPECT_EQ(a.reply.status, km::proto::kStatusBadRegister);
    EXPECT_EQ(word(a.reply), 0u);
    EXPECT_EQ(m.outputs(), 0u) << "a refused command does not run";
    EXPECT_EQ(m.exchange(rq(0, 1, 64, {0, 1})).reply.status, 0);
    EXPECT_EQ(m.outputs(), 1u);
}

TEST_F(FaultTest, CommandFilter) {
    FaultRule r = rule(FaultKind::Drop, 1);
    r.command = 0;
    m.add_fault(r);
    EXPECT_TRUE(m.exchange(rq(0, 200, 0)).answered);
    EXPECT_FALSE(m.exchange(rq(0, 0, 80)).answered);
    EXPECT_TRUE(m.exchange(rq(0, 0, 80)).answered);
}

TEST_F(FaultTest, ForeignRequestsDoNotUseUpACount) {
    m.add_fault(rule(FaultKind::Drop, 1));
    EXPECT_FALSE(m.exchange(rq(5, 200, 0)).answered);
    EXPECT_FALSE(m.exchange(rq(0, 200, 0)).answered);
    EXPECT_TRUE(m.exchange(rq(0, 200, 0)).answered);
}

TEST_F(FaultTest, ProbabilityIsSeededAndRoughlyRight) {
    auto run = [&](uint64_t seed) {
        Module x{Config{}, clock.fn()};
        x.seed(seed);
        x.add_fault(rule(FaultKind::Drop, 0, 0.25));
        std::vector<bool> seen;
        for (int i = 0; i < 2000; ++i)
            seen.push_back(x.exchange(rq(0, 200, 0)).answered);
        return seen;
    };
    const auto a = run(7), b = run(7), c = run(8);
    EXPECT_EQ(a, b) << "same seed, same faults";
    EXPECT_NE(a, c);
    const auto lost = std::count(a.begin(), a.end(), false);
    EXPECT_GT(lost, 400);
    EXPECT_LT(lost, 600);
}

TEST_F(FaultTest, CountFirstThenProbability) {
    m.add_fault(rule(FaultKind::Drop, 3, 0.0));
    m.add_fault(rule(FaultKind::Delay, 0, 1.0));
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(m.exchange(rq(0, 200, 0)).answered);
    const Response r = m.exchange(rq(0, 200, 0));
    EXPECT_TRUE(r.answered);
    EXPECT_EQ(r.delay_ms, 100u);
    m.clear_faults();
    EXPECT_EQ(m.exchange(rq(0, 200, 0)).delay_ms, 0u);
}

TEST(FaultText, Parses) {
    FaultRule r;
    std::string err;
    ASSERT_TRUE(parse_fault("drop:count=2", r, err)) << err;
    EXPECT_EQ(r.kind, FaultKind::Drop);
    EXPECT_EQ(r.count, 2u);
    ASSERT_TRUE(parse_fault("delay:p=0.5,ms=300,cmd=102", r, err)) << err;
    EXPECT_EQ(r.kind, FaultKind::Delay);
    EXPECT_DOUBLE_EQ(r.probability, 0.5);
    EXPECT_EQ(r.delay_ms, 300u);
    EXPECT_EQ(r.command, 102);
    ASSERT_TRUE(parse_fault("status:count=1,status=2", r, err)) << err;
    EXPECT_EQ(r.kind, FaultKind::ErrorStatus);
    EXPECT_EQ(r.status, 2);
    ASSERT_TRUE(parse_fault("readback:count=1", r, err));
    EXPECT_EQ(r.kind, FaultKind::WrongReadback);
    ASSERT_TRUE(parse_fault("corrupt:p=1", r, err));
    EXPECT_EQ(r.kind, FaultKind::Corrupt);
}

TEST(FaultText, Refuses) {
    FaultRule r;
    std::string err;
    for (const char* bad :
         {"", "explode:count=1", "drop", "drop:count=0", "drop:count=x", "drop:p=1.5",
          "drop:p=-0.1", "drop:count=1,cmd=256", "status:count=1,status=0",
          "drop:count=1,colour=red", "drop:count", "drop:p=1,address=256"}) {
        EXPECT_FALSE(parse_fault(bad, r, err)) << bad;
        EXPECT_FALSE(err.empty()) << bad;
    }
}
