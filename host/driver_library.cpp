#include "driver_library.h"

namespace kmhost {

bool resolve_entries(const DriverLibrary& lib, unsigned kind, DriverEntries& out) {
    out = DriverEntries{};
    const DriverKind* k = driver_kind(kind);
    if (!k) return false;
    const std::string prefix = std::string(k->prefix) + "_";
    // Argument bytes of each entry, for the decorated names of 32-bit Windows.
    const unsigned init_bytes = init_arg_bytes(k->init);
    DriverEntries e;
    e.version = reinterpret_cast<KmVersionFn>(lib.entry(prefix + "Version", 0));
    e.init = lib.entry(prefix + "Init", init_bytes);
    e.set_config = reinterpret_cast<KmSetConfigFn>(lib.entry(prefix + "SetConfig", 16));
    e.get_config = reinterpret_cast<KmGetConfigFn>(lib.entry(prefix + "GetConfig", 16));
    e.send = reinterpret_cast<KmSendFn>(lib.entry(prefix + "Send", 20));
    e.done = reinterpret_cast<KmDoneFn>(lib.entry(prefix + "Done", 4));
    e.error = reinterpret_cast<KmErrorFn>(lib.entry(prefix + "Error", 8));
    if (!e.version || !e.init || !e.set_config || !e.get_config || !e.send || !e.done || !e.error)
        return false;
    out = e;
    return true;
}

} // namespace kmhost
