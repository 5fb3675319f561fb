// Scripted inputs of the emulator: a square wave and a pulse, timed from the
// module's start, over the fixed input word; and the script's text form.
#include "emu_test_util.h"
#include "km_module.h"

#include <gtest/gtest.h>

using namespace km::emu;

namespace {

TEST(InputScript, SquareAndPulseFollowTheirTimesOverTheFixedWord) {
    emu_test::ManualClock clock;
    Config cfg;
    cfg.inputs = 0x80000001;
    InputWave w;
    std::string error;
    ASSERT_TRUE(parse_input_wave("square:3:200", w, error)) << error;
    cfg.input_script.push_back(w);
    ASSERT_TRUE(parse_input_wave("pulse:31:500:100", w, error)) << error;
    cfg.input_script.push_back(w);
    cfg.input_pattern = false;
    Module m(cfg, clock.fn());
    // A scripted input follows its script whatever the word says: DIN3 low
    // first, DIN31 low before its pulse; DIN0 keeps the word's 1.
    EXPECT_EQ(m.inputs(), 0x00000001u);
    clock.advance(199);
    EXPECT_EQ(m.inputs() & 0x8u, 0u);
    clock.advance(1); // 200 ms: DIN3 rises
    EXPECT_EQ(m.inputs(), 0x00000009u);
    clock.advance(200); // 400 ms: falls
    EXPECT_EQ(m.inputs() & 0x8u, 0u);
    clock.advance(100); // 500 ms: DIN31 high for 100 ms
    EXPECT_EQ(m.inputs(), 0x80000001u);
    clock.advance(99);
    EXPECT_EQ(m.inputs() >> 31, 1u);
    clock.advance(1);
    EXPECT_EQ(m.inputs() >> 31, 0u);
}

TEST(InputScript, BadTextsAreRefused) {
    InputWave w;
    std::string error;
    for (const char* bad : {"square:32:100", "square:3:0", "square:3", "pulse:1:10", "saw:1:10",
                            "pulse:1:-5:10", "square:x:10", "square:1:10:5"}) {
        error.clear();
        EXPECT_FALSE(parse_input_wave(bad, w, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

} // namespace
