// Backs the test driver with the in-process module model, so window and link
// tests talk to a live module through the driver library they bind.
#pragma once

#include "km_bus.h"
#include "km_module.h"

#include <cstdint>

namespace fake {

struct ModuleLink {
    // A reply later than this counts as lost (status 5); 0 waits for any delay.
    uint32_t timeout_ms = 100;
    // Really sleep for a delayed reply that is still in time.
    bool sleep_on_delay = true;
};

// Every Send without a scripted reply goes to `module` (faults applied) and
// comes back as a driver would hand it over: Vystup = the reply's out byte,
// Odpoved[0..3] = its four data bytes, Stav = 0 or a driver status code
// (no reply: 5, damaged reply: 6, module error status 1/2/3: 16/17/18, other: 12,
// a request value above 255: 19). The module must outlive the attachment.
void attach_module(km::emu::Module& module, ModuleLink link = {});
// The same for several modules on one line: each hears only the rate that
// the last SetConfig set (9600 Bd before one), as a serial line where speeds
// are enforced; two that answer one request garble the reply (status 6).
// The bus must outlive the attachment.
void attach_bus(km::emu::Bus& bus, ModuleLink link = {});
// Back to the plain responder-less driver.
void detach_module();

} // namespace fake
