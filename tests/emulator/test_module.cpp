#include "emu_test_util.h"
#include "km_module.h"

#include <gtest/gtest.h>

#include <string>

using namespace km::emu;
using emu_test::rq;
using emu_test::word;
using km::proto::Reply;
using km::proto::Request;

namespace {

class ModuleTest : public ::testing::Test {
  protected:
    emu_test::ManualClock clock;
    Config cfg;
    std::unique_ptr<Module> m;

    void make() { m = std::make_unique<Module>(cfg, clock.fn()); }
    void SetUp() override { make(); }

    Reply ok(const Request& r) {
        Reply rep;
        EXPECT_TRUE(m->execute(r, rep));
        EXPECT_EQ(rep.status, km::proto::kStatusOk)
            << "cmd " << int(r.command) << " p5 " << int(r.p5);
        return rep;
    }
    uint8_t status_of(const Request& r) {
        Reply rep;
        EXPECT_TRUE(m->execute(r, rep));
        return rep.status;
    }
    std::string text(uint8_t p5) {
        const Reply r = ok(rq(0, 200, p5));
        return std::string(reinterpret_cast<const char*>(r.data), 4);
    }
};

} // namespace

TEST_F(ModuleTest, IdentificationInThreeParts) {
    EXPECT_EQ(text(0), "KM-2");
    EXPECT_EQ(text(1), "07  ");
    EXPECT_EQ(text(2), "1.02");
    EXPECT_EQ(ok(rq(0, 200, 1)).out, 1) << "out byte echoes P5";
    EXPECT_EQ(status_of(rq(0, 200, 3)), km::proto::kStatusBadRegister);
}

TEST_F(ModuleTest, IdentificationIsConfigurableAndPadded) {
    cfg.name = "KM-208";
    cfg.version = "2.1";
    make();
    EXPECT_EQ(text(0) + text(1), "KM-208  ");
    EXPECT_EQ(text(2), "2.1 ");
}

TEST_F(ModuleTest, ReplyEchoesAddressAndCommand) {
    cfg.address = 0x2A;
    make();
    Reply r;
    ASSERT_TRUE(m->execute(rq(0x2A, 100, 0), r));
    EXPECT_EQ(r.address, 0x2A);
    EXPECT_EQ(r.command, 100);
}

TEST_F(ModuleTest, CounterCountsWithTimeAndResets) {
    cfg.counter_rate = 10;
    make();
    EXPECT_EQ(word(ok(rq(0, 0, 80))), 0u);
    clock.advance(1500);
    EXPECT_EQ(word(ok(rq(0, 0, 80))), 15u);
    ok(rq(0, 1, 80));
    EXPECT_EQ(word(ok(rq(0, 0, 80))), 0u);
    clock.advance(300);
    EXPECT_EQ(word(ok(rq(0, 0, 80))), 3u);
}

TEST_F(ModuleTest, CounterMode0WrapsAt32Bits) {
    cfg.counter_start = 0xFFFFFFFFLL - 4;
    make();
    EXPECT_EQ(word(ok(rq(0, 0, 80))), 0xFFFFFFFBu);
    EXPECT_EQ(m->status() & kStErr24, 0u);
    clock.advance(1000); // +10
    EXPECT_EQ(word(ok(rq(0, 0, 80))), 5u);
    EXPECT_NE(m->status() & kStErr24, 0u) << "overflow is flagged";
}

TEST_F(ModuleTest, CounterMode1WrapsAt23Bits) {
    cfg.counter_mode = 1;
    cfg.counter_start = (1LL << 23) - 2;
    make();
    EXPECT_EQ(word(ok(rq(0, 0, 80))), (1u << 23) - 2);
    clock.advance(500); // +5
    EXPECT_EQ(word(ok(rq(0, 0, 80))), 3u);
    EXPECT_NE(m->status() & kStErr24, 0u);
}

TEST_F(ModuleTest, CounterMode2IsSignAndMagnitude) {
    cfg.counter_mode = 2;
    cfg.counter_rate = -1;
    make();
    EXPECT_EQ(word(ok(rq(0, 0, 80))), 0u);
    clock.advance(1000);
    Reply r = ok(rq(0, 0, 80));
    EXPECT_EQ(r.data[0], 1);
    EXPECT_EQ(r.data[1], 0);
    EXPECT_EQ(r.data[2], 0x80) << "sign in bit 7 of B3";
    EXPECT_EQ(r.data[3], 0);
    m->set_counter(-0x123456);
    r = ok(rq(0, 0, 80));
    EXPECT_EQ(word(r), 0x00923456u);
}

TEST_F(ModuleTest, CounterMode2WrapsFromLargestMagnitudeToNegative) {
    cfg.counter_mode = 2;
    cfg.counter_start = (1LL << 23) - 1;
    make();
    EXPECT_EQ(word(ok(rq(0, 0, 80))), 0x7FFFFFu);
    clock.advance(100); // +1
    EXPECT_EQ(word(ok(rq(0, 0, 80))), 0x800000u | 0x7FFFFFu) << "-(2^23 - 1)";
    EXPECT_NE(m->status() & kStErr24, 0u);
}

TEST_F(ModuleTest, ModeRegisterChangesTheCounterRangeWithoutAnOverflow) {
    cfg.counter_start = (1LL << 23) + 7;
    make();
    EXPECT_EQ(word(ok(rq(0, 0, 80))), (1u << 23) + 7);
    ok(rq(0, 101, 0)); // clear PWR/RST/PRF
    ok(rq(0, 103, 0, {0, 0, 0, 1, 1}));
    EXPECT_EQ(word(ok(rq(0, 0, 80))), 7u);
    EXPECT_EQ(m->status() & kStErr24, 0u);
}

TEST_F(ModuleTest, ClockReadsTimeAndDateInBinary) {
    Reply t = ok(rq(0, 100, 1));
    EXPECT_EQ(t.data[0], 30);
    EXPECT_EQ(t.data[1], 45);
    EXPECT_EQ(t.data[2], 13);
    EXPECT_EQ(t.data[3], 0);
    Reply d = ok(rq(0, 100, 2));
    EXPECT_EQ(d.data[0], 7);
    EXPECT_EQ(d.data[1], 12);
    EXPECT_EQ(d.data[2], 2026 % 4);
}

TEST_F(ModuleTest, ClockRunsWithTheHostClock) {
    clock.advance((10 * 3600 + 15 * 60 + 31) * 1000LL); // 13:45:30 -> 00:01:01 next day
    Reply t = ok(rq(0, 100, 1));
    EXPECT_EQ(t.data[0], 1);
    EXPECT_EQ(t.data[1], 1);
    EXPECT_EQ(t.data[2], 0);
    EXPECT_EQ(ok(rq(0, 100, 2)).data[0], 8);
}

TEST_F(ModuleTest, ClockHasItsOwnOffset) {
    cfg.clock_offset_ms = -3600 * 1000;
    make();
    EXPECT_EQ(ok(rq(0, 100, 1)).data[2], 12);
}

TEST_F(ModuleTest, ClockWriteTimeKeepsDateAndRunsOn) {
    ok(rq(0, 101, 1, {0, 5, 6, 7, 0}));
    Reply t = ok(rq(0, 100, 1));
    EXPECT_EQ(t.data[0], 5);
    EXPECT_EQ(t.data[1], 6);
    EXPECT_EQ(t.data[2], 7);
    EXPECT_EQ(ok(rq(0, 100, 2)).data[0], 7);
    clock.advance(2000);
    EXPECT_EQ(ok(rq(0, 100, 1)).data[0], 7);
}

TEST_F(ModuleTest, ClockWriteDateWithYearModulo4) {
    ok(rq(0, 101, 2, {0, 29, 2, 0, 0})); // 29 February exists in a year divisible by 4
    Reply d = ok(rq(0, 100, 2));
    EXPECT_EQ(d.data[0], 29);
    EXPECT_EQ(d.data[1], 2);
    EXPECT_EQ(d.data[2], 0);
    EXPECT_EQ(ok(rq(0, 100, 1)).data[2], 13) << "time of day kept";
    clock.advance(24 * 3600 * 1000LL);
    d = ok(rq(0, 100, 2));
    EXPECT_EQ(d.data[0], 1);
    EXPECT_EQ(d.data[1], 3);
}

TEST_F(ModuleTest, ClockRefusesImpossibleValues) {
    const uint8_t bad = km::proto::kStatusBadValue;
    EXPECT_EQ(status_of(rq(0, 101, 1, {0, 60, 0, 0})), bad);
    EXPECT_EQ(status_of(rq(0, 101, 1, {0, 0, 60, 0})), bad);
    EXPECT_EQ(status_of(rq(0, 101, 1, {0, 0, 0, 24})), bad);
    EXPECT_EQ(status_of(rq(0, 101, 2, {0, 29, 2, 1})), bad);
    EXPECT_EQ(status_of(rq(0, 101, 2, {0, 31, 4, 0})), bad);
    EXPECT_EQ(status_of(rq(0, 101, 2, {0, 0, 1, 0})), bad);
    EXPECT_EQ(status_of(rq(0, 101, 2, {0, 1, 13, 0})), bad);
    EXPECT_EQ(status_of(rq(0, 101, 2, {0, 1, 0, 0})), bad);
    EXPECT_EQ(status_of(rq(0, 101, 2, {0, 1, 1, 4})), bad);
    Reply t = ok(rq(0, 100, 1));
    EXPECT_EQ(t.data[2], 13) << "a refused write changes nothing";
}

TEST_F(ModuleTest, PowerFailureRegistersAtStartUp) {
    // Off for an hour before the first power-up.
    Reply st = ok(rq(0, 100, 3)), sd = ok(rq(0, 100, 4));
    Reply et = ok(rq(0, 100, 5)), ed = ok(rq(0, 100, 6));
    EXPECT_EQ(st.data[2], 12);
    EXPECT_EQ(st.data[1], 45);
    EXPECT_EQ(sd.data[0], 7);
    EXPECT_EQ(sd.data[2], 2);
    EXPECT_EQ(et.data[2], 13);
    EXPECT_EQ(et.data[0], 30);
    EXPECT_EQ(ed.data[1], 12);
}

TEST_F(ModuleTest, PowerCycleRecordsTheFailure) {
    clock.advance(60 * 1000);
    m->power_down();
    Reply r;
    EXPECT_FALSE(m->execute(rq(0, 100, 0), r)) << "a module without power says nothing";
    clock.advance(5 * 60 * 1000 + 7000);
    m->power_up();
    Reply st = ok(rq(0, 100, 3)), et = ok(rq(0, 100, 5));
    EXPECT_EQ(st.data[0], 30);
    EXPECT_EQ(st.data[1], 46);
    EXPECT_EQ(et.data[0], 37);
    EXPECT_EQ(et.data[1], 51);
    EXPECT_EQ(status_of(rq(0, 101, 3)), km::proto::kStatusBadRegister) << "read-only";
    EXPECT_EQ(status_of(rq(0, 101, 6)), km::proto::kStatusBadRegister);
    EXPECT_EQ(status_of(rq(0, 100, 7)), km::proto::kStatusBadRegister);
}

TEST_F(ModuleTest, StatusRegisterBitsAndClear) {
    Reply s = ok(rq(0, 100, 0));
    EXPECT_EQ(word(s), uint32_t{kStPwr | kStRst | kStPrf}) << "power-up sets PWR, RST, PRF";
    ok(rq(0, 101, 0));
    EXPECT_EQ(word(ok(rq(0, 100, 0))), 0u);
    ok(rq(0, 103, 0, {0, 33, 33, 1, 1}));
    EXPECT_EQ(word(ok(rq(0, 100, 0))), uint32_t{kStFn}) << "a stored setting sets FN";
    m->set_status_bits(1u << 31);
    s = ok(rq(0, 100, 0));
    EXPECT_EQ(s.data[3], 0x80);
    EXPECT_EQ(s.data[0], kStFn);
    m->power_cycle();
    EXPECT_EQ(word(ok(rq(0, 100, 0))) & (kStPwr | kStRst), uint32_t{kStPwr | kStRst});
}

TEST_F(ModuleTest, InputsRunAVisiblePattern) {
    const uint32_t a = word(ok(rq(0, 0, 64)));
    clock.advance(250);
    const uint32_t b = word(ok(rq(0, 0, 64)));
    clock.advance(250);
    const uint32_t c = word(ok(rq(0, 0, 64)));
    EXPECT_NE(a, b);
    EXPECT_NE(b, c);
}

TEST_F(ModuleTest, InputsSetByTestAndNegatedByRegisters) {
    m->set_inputs(0x12345678);
    Reply r = ok(rq(0, 0, 64));
    EXPECT_EQ(r.data[0], 0x78) << "B1 = DIN0-7";
    EXPECT_EQ(r.data[3], 0x12);
    clock.advance(1000);
    EXPECT_EQ(word(ok(rq(0, 0, 64))), 0x12345678u) << "set inputs hold";
    ok(rq(0, 103, 0, {0, 33, 33, 0xFF, 0xFF})); // negate DIN0-7
    ok(rq(0, 103, 0, {0, 42, 42, 0x0F, 0x0F})); // negate DIN24-27
    EXPECT_EQ(word(ok(rq(0, 0, 64))), 0x1D345687u);
    m->run_input_pattern();
    clock.advance(250);
    EXPECT_NE(word(ok(rq(0, 0, 64))), 0x1D345687u);
}

TEST_F(ModuleTest, OutputsWrittenAndNegated) {
    ok(rq(0, 1, 64, {0, 0x01, 0x80, 0x00, 0xF0}));
    EXPECT_EQ(m->outputs(), 0xF0008001u);
    EXPECT_EQ(m->output_pins(), 0xF0008001u);
    ok(rq(0, 103, 0, {0, 34, 34, 0x03, 0x03})); // negate DOUT0-1
    EXPECT_EQ(m->output_pins(), 0xF0008002u);
}

TEST_F(ModuleTest, OutputsTakeInitialStatesAtPowerUp) {
    ok(rq(0, 103, 0, {0, 32, 32, 0xAA, 0xAA}));
    ok(rq(0, 103, 0, {0, 41, 41, 0x55, 0x55}));
    ok(rq(0, 1, 64, {0, 0, 0, 0, 0}));
    EXPECT_EQ(m->outputs(), 0u);
    m->power_cycle();
    EXPECT_EQ(m->outputs(), 0x550000AAu);
}

TEST_F(ModuleTest, ConfigurationRegistersReadAndWrite) {
    const uint8_t regs[] = {0, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 62, 63};
    for (uint8_t reg : regs) {
        const uint8_t v = reg == 0 ? 2 : reg == 62 ? 8 : static_cast<uint8_t>(reg * 3 + 1);
        ok(rq(0, 103, 0, {0, reg, reg, v, v}));
        Reply r = ok(rq(0, 102, 0, {0, reg, reg, 0, 0}));
        EXPECT_EQ(r.data[2], v) << "register " << int(reg) << " in B3";
        EXPECT_EQ(m->config_register(reg), v);
    }
}

TEST_F(ModuleTest, ConfigurationDefaults) {
    cfg.baud_index = 6;
    cfg.counter_mode = 1;
    cfg.address = 200;
    cfg.registers = {{35, 0x5A}, {62, 9}};
    make();
    EXPECT_EQ(ok(rq(200, 102, 0, {0, 62, 62})).data[2], 6) << "invalid initial pair ignored";
    EXPECT_EQ(ok(rq(200, 102, 0, {0, 0, 0})).data[2], 1);
    EXPECT_EQ(ok(rq(200, 102, 0, {0, 63, 63})).data[2], 200);
    EXPECT_EQ(ok(rq(200, 102, 0, {0, 35, 35})).data[2], 0x5A);
    EXPECT_EQ(m->baud_index(), 6);
}

TEST_F(ModuleTest, ReadBackRequestCarryingTheValueReadsTheRegister) {
    ok(rq(0, 103, 0, {0, 0, 0, 2, 2}));
    EXPECT_EQ(ok(rq(0, 102, 0, {0, 0, 0, 2, 2})).data[2], 2);
    EXPECT_EQ(ok(rq(0, 102, 0, {0, 0, 0, 1, 1})).data[2], 2) << "B3/B4 of a read are not a write";
}

TEST_F(ModuleTest, ConfigurationErrors) {
    const uint8_t reg = km::proto::kStatusBadRegister, val = km::proto::kStatusBadValue;
    for (uint8_t r : {1, 31, 44, 61, 64, 255}) {
        EXPECT_EQ(status_of(rq(0, 102, 0, {0, r, r})), reg) << int(r);
        EXPECT_EQ(status_of(rq(0, 103, 0, {0, r, r, 0, 0})), reg) << int(r);
    }
    EXPECT_EQ(status_of(rq(0, 103, 0, {0, 0, 0, 3, 3})), val);
    EXPECT_EQ(status_of(rq(0, 103, 0, {0, 62, 62, 9, 9})), val);
    EXPECT_EQ(status_of(rq(0, 103, 0, {0, 62, 63, 1, 1})), reg) << "register numbers differ";
    EXPECT_EQ(status_of(rq(0, 102, 0, {0, 62, 63})), reg);
    EXPECT_EQ(status_of(rq(0, 103, 0, {0, 33, 33, 1, 2})), val) << "values differ";
    EXPECT_EQ(status_of(rq(0, 102, 1, {0, 62, 62})), reg) << "P5 must be 0";
    EXPECT_EQ(m->config_register(0), 0) << "refused writes store nothing";
    EXPECT_EQ(m->config_register(62), 4);
    EXPECT_EQ(m->config_register(33), 0);
    EXPECT_FALSE(m->set_config_register(5, 1));
}

TEST_F(ModuleTest, UnknownCommandsAndObjects) {
    for (uint8_t c : {2, 50, 99, 104, 199, 201, 255})
        EXPECT_EQ(status_of(rq(0, c, 0)), km::proto::kStatusUnknownCommand) << int(c);
    EXPECT_EQ(status_of(rq(0, 0, 65)), km::proto::kStatusBadRegister);
    EXPECT_EQ(status_of(rq(0, 0, 0)), km::proto::kStatusBadRegister);
    EXPECT_EQ(status_of(rq(0, 1, 81)), km::proto::kStatusBadRegister);
    EXPECT_EQ(status_of(rq(0, 101, 7)), km::proto::kStatusBadRegister);
}

TEST_F(ModuleTest, ErrorReplyCarriesNoData) {
    m->set_inputs(0xFFFFFFFF);
    Reply r;
    ASSERT_TRUE(m->execute(rq(0, 200, 9), r));
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(word(r), 0u);
}

TEST_F(ModuleTest, ForeignAddressGetsNoReply) {
    Reply r;
    EXPECT_FALSE(m->execute(rq(1, 200, 0), r));
    EXPECT_FALSE(m->exchange(rq(255, 200, 0)).answered);
    EXPECT_TRUE(m->exchange(rq(0, 200, 0)).answered);
    EXPECT_EQ(m->stats().requests, 2u);
    EXPECT_EQ(m->stats().handled, 1u);
}

TEST_F(ModuleTest, NewAddressTakesEffectAtPowerUp) {
    ok(rq(0, 103, 0, {0, 63, 63, 9, 9}));
    EXPECT_EQ(ok(rq(0, 102, 0, {0, 63, 63, 9, 9})).data[2], 9) << "verified at the old address";
    Reply r;
    EXPECT_FALSE(m->execute(rq(9, 200, 0), r));
    EXPECT_EQ(m->address(), 0);
    m->power_cycle();
    EXPECT_EQ(m->address(), 9);
    EXPECT_FALSE(m->execute(rq(0, 200, 0), r));
    EXPECT_TRUE(m->execute(rq(9, 200, 0), r));
}

TEST_F(ModuleTest, NewBaudIndexTakesEffectAtPowerUp) {
    EXPECT_EQ(m->baud_index(), 4);
    ok(rq(0, 103, 0, {0, 62, 62, 8, 8}));
    EXPECT_EQ(ok(rq(0, 102, 0, {0, 62, 62})).data[2], 8);
    EXPECT_EQ(m->baud_index(), 4);
    m->power_cycle();
    EXPECT_EQ(m->baud_index(), 8);
}

TEST(Calendar, RoundTripAndLeapDays) {
    const DateTime d{2024, 2, 29, 23, 59, 59, 999};
    const int64_t t = from_datetime(d);
    const DateTime b = to_datetime(t);
    EXPECT_EQ(b.year, 2024);
    EXPECT_EQ(b.month, 2);
    EXPECT_EQ(b.day, 29);
    EXPECT_EQ(b.hour, 23);
    EXPECT_EQ(b.ms, 999);
    const DateTime n = to_datetime(t + 1);
    EXPECT_EQ(n.month, 3);
    EXPECT_EQ(n.day, 1);
    EXPECT_EQ(to_datetime(-1).year, 1969);
    EXPECT_EQ(to_datetime(emu_test::kT0).hour, 13);
}

TEST(HostClock, IsNearTheSystemClock) {
    const int64_t utc = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    // Any time zone is within 14 hours of UTC.
    EXPECT_LT(std::llabs(host_local_ms() - utc), 14 * 3600 * 1000LL + 1000);
}
