// Helpers shared by the emulator tests.
#pragma once

#include "km_module.h"

#include <cstdint>
#include <initializer_list>
#include <memory>

namespace emu_test {

// 2026-12-07 13:45:30.000 local, a Monday; 2026 % 4 == 2.
constexpr int64_t kT0 = 1796651130000;

// A clock the test moves by hand.
struct ManualClock {
    std::shared_ptr<int64_t> now = std::make_shared<int64_t>(kT0);
    km::emu::Clock fn() const {
        auto p = now;
        return [p] { return *p; };
    }
    void advance(int64_t ms) { *now += ms; }
};

inline km::proto::Request rq(uint8_t address, uint8_t command, uint8_t p5,
                             std::initializer_list<uint8_t> b = {}) {
    km::proto::Request r;
    r.address = address;
    r.command = command;
    r.p5 = p5;
    int i = 0;
    for (uint8_t x : b)
        r.b[i++] = x;
    return r;
}

inline uint32_t word(const km::proto::Reply& r) {
    return static_cast<uint32_t>(r.data[0]) | static_cast<uint32_t>(r.data[1]) << 8 |
           static_cast<uint32_t>(r.data[2]) << 16 | static_cast<uint32_t>(r.data[3]) << 24;
}

} // namespace emu_test
