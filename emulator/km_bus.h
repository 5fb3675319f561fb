// Several modules on one bus line, each with its own registers.
//
// A request reaches every module that can hear it: on a line whose speed is
// enforced, only the modules whose active baud index is the line's; then
// the module at the request's address runs it. Two modules answering the
// same request drive the line at once: the reply arrives garbled.
#pragma once

#include "km_module.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace km::emu {

// Line speed not enforced: every module hears every request.
constexpr int kAnyBaud = -1;
// A line speed that is none of the nine: no module hears anything.
constexpr int kNoBaud = -2;

class Bus {
  public:
    Bus() = default;
    explicit Bus(Module& module) { add(module); }

    // The modules are not owned and must outlive the bus.
    void add(Module& module) { modules_.push_back(&module); }
    const std::vector<Module*>& modules() const { return modules_; }

    // One request on a line running at `line_baud_index` (kAnyBaud, kNoBaud
    // or 0-8).
    Response exchange(const proto::Request& req, int line_baud_index = kAnyBaud);
    // Whether any module hears a line at this speed.
    bool hears(int line_baud_index) const;
    // Damages a reply frame, with the random source of the module that
    // answered last.
    void corrupt_frame(uint8_t* frame, std::size_t len);

    // Requests that came over the line, whoever they were for.
    uint64_t requests() const { return requests_; }
    // Requests answered by more than one module.
    uint64_t collisions() const { return collisions_; }

  private:
    bool hears(const Module& m, int line_baud_index) const;

    std::vector<Module*> modules_;
    Module* last_ = nullptr;
    uint64_t requests_ = 0;
    uint64_t collisions_ = 0;
};

} // namespace km::emu
