// A driver library loaded the way the program loads it: by file name from
// the folder the drivers are built into (KM_DRIVER_DIR; empty: the
// platform's library search, which on Windows starts beside the test),
// entries resolved by name.
#pragma once

#include "driver_library.h"
#include "km_driver.h"

#include <array>
#include <memory>
#include <string>

struct DriverLib : kmhost::DriverEntries {
    explicit DriverLib(const std::string& prefix) : prefix(prefix) {
        const std::string dir = KM_DRIVER_DIR;
        path = (dir.empty() ? "" : dir + "/") + prefix + KM_DRIVER_SUFFIX;
        lib = kmhost::open_driver_library(path);
        unsigned kind = 0;
        while (kind < kmhost::kKindCount && prefix != kmhost::kDriverKinds[kind].prefix)
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

// The LAN Init block: the IP text, the UDP port and the timeout in ms.
struct LanConfig {
    std::string ip = "127.0.0.1";
    std::array<uintptr_t, KM_CONFIG_LEN> cells{};
    const uintptr_t* get(uintptr_t port, uintptr_t timeout) {
        cells.fill(0);
        cells[0] = reinterpret_cast<uintptr_t>(ip.c_str());
        cells[1] = port;
        cells[2] = timeout;
        return cells.data();
    }
};
