// A driver library loaded the way the program loads it: by file name from
// the folder the drivers are built into, entries resolved by name.
#pragma once

#include "driver_library.h"
#include "km_driver.h"

#include <memory>
#include <string>

struct DriverLib : kmhost::DriverEntries {
    explicit DriverLib(const std::string& prefix) : prefix(prefix) {
        path = std::string(KM_DRIVER_DIR) + "/" + prefix + ".so";
        lib = kmhost::open_driver_library(path);
        unsigned kind = 0;
        while (kind < 5 && prefix != kmhost::kDriverPrefixes[kind])
            ++kind;
        if (lib) kmhost::resolve_entries(*lib, kind, *this);
    }

    bool complete() const { return lib && init; }
    uint32_t init_value(uint32_t* handle, uint32_t value) const {
        return reinterpret_cast<KmInitValueFn>(init)(handle, value);
    }
    uint32_t init_plain(uint32_t* handle) const {
        return reinterpret_cast<KmInitPlainFn>(init)(handle);
    }
    uint32_t init_lan(uint32_t* handle, const uintptr_t* config) const {
        return reinterpret_cast<KmInitLanFn>(init)(handle, config);
    }

    std::string prefix;
    std::string path;
    std::unique_ptr<kmhost::DriverLibrary> lib;
};
