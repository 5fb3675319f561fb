// The interface kinds as their driver libraries see them: the prefix of the
// seven entries and the form of Init. The driver host needs no more; the
// program's table of kinds (link/Rozhrani.h) adds the rest to these rows.
// Plain C++ without Qt or platform calls, so every build of the host can
// include it.
#pragma once

#include <cstdint>

namespace kmhost {

// The C type of a kind's Init (km_driver.h).
enum class InitForm {
    Value,  // KmInitValueFn: one number (COM port, ISA base address)
    Plain,  // KmInitPlainFn: nothing; the driver finds its device
    Config, // KmInitLanFn: the configuration block, cell 0 the IP text
};

struct DriverKind {
    const char* prefix; // of the entries and the library file: "KSER410"
    InitForm init;
    // The driver waits for each reply as long as the block's UDP timeout
    // says, not by a serial line's timing.
    bool udp;
};

// Index: the interface kind, as the settings file, the connection dialog
// and the driver host number it.
inline constexpr uint32_t kKindCount = 5;
inline constexpr DriverKind kDriverKinds[kKindCount] = {
    {"KSER410", InitForm::Value, false}, {"KIB410", InitForm::Value, false},
    {"KPB4100", InitForm::Plain, false}, {"KUB4100", InitForm::Plain, false},
    {"KL4100", InitForm::Config, true},
};

// The row of a kind; null for any other value.
constexpr const DriverKind* driver_kind(uint32_t kind) {
    return kind < kKindCount ? &kDriverKinds[kind] : nullptr;
}

// Bytes of Init's arguments, for the decorated names of 32-bit Windows.
constexpr unsigned init_arg_bytes(InitForm form) {
    return form == InitForm::Plain ? 4 : 8;
}

} // namespace kmhost
