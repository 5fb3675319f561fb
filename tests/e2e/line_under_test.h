// The line of the end-to-end tests of "Přehled linky" and `km207 line
// watch`: eight modules of km207-sim, four at 9600 Bd and four at 19200 Bd.
// During a run the test makes one stop answering (SIGUSR2 switches it off)
// and power-cycles another alone (SIGUSR1); a third has ERR24 from the
// start. The power-cycled module starts with its status register cleared,
// as an earlier acknowledgement would have left it, so its power-up shows
// in its status word.
#pragma once

#include <string>
#include <vector>

namespace line_under_test {

struct Module {
    int address;
    int baud_index;
};
inline const std::vector<Module> kModules = {{1, 4},  {2, 4},  {3, 4},  {4, 4},
                                             {11, 5}, {12, 5}, {13, 5}, {14, 5}};
constexpr int kStops = 3;   // stops answering
constexpr int kCycled = 12; // power-cycled
constexpr int kErr24 = 14;  // ERR24 set

// The emulator's arguments; on the serial line a module hears only at its
// own rate.
inline std::vector<std::string> sim_args() {
    std::vector<std::string> a = {"--strict-baud",
                                  "--usr2-modules",
                                  std::to_string(kStops),
                                  "--usr1-modules",
                                  std::to_string(kCycled),
                                  "--status-bits",
                                  std::to_string(kErr24) + "=0x74",
                                  "--status-bits",
                                  std::to_string(kCycled) + "=0"};
    for (const Module& m : kModules) {
        a.push_back("--module");
        a.push_back(std::to_string(m.address) + ":" + std::to_string(m.baud_index));
    }
    return a;
}

} // namespace line_under_test
