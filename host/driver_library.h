// Loading one driver library and resolving its seven entries. One small file
// per platform implements open_driver_library; the program's in-process
// binding and the driver host both use it. No Qt.
#pragma once

#include "driver_kinds.h"
#include "km_driver.h"

#include <memory>
#include <string>

namespace kmhost {

class DriverLibrary {
  public:
    virtual ~DriverLibrary() = default; // releases the library
    // The exported function `name`; on Windows also its __stdcall decorated
    // forms ("_name@N", "name@N") for `arg_bytes` bytes of arguments.
    virtual void* entry(const std::string& name, unsigned arg_bytes) const = 0;
};

// Loads the library at `path` (UTF-8). A path without a folder goes through
// the platform's library search under exactly that file name. Null when it
// does not load.
std::unique_ptr<DriverLibrary> open_driver_library(const std::string& path);

// The seven entries of a kind's driver. `init` has the kind's form.
struct DriverEntries {
    KmVersionFn version = nullptr;
    void* init = nullptr;
    KmSetConfigFn set_config = nullptr;
    KmGetConfigFn get_config = nullptr;
    KmSendFn send = nullptr;
    KmDoneFn done = nullptr;
    KmErrorFn error = nullptr;
};

// Resolves all seven in the order Version, Init, SetConfig, GetConfig, Send,
// Done, Error; false (and `out` cleared) when any is missing.
bool resolve_entries(const DriverLibrary& lib, unsigned kind, DriverEntries& out);

} // namespace kmhost
