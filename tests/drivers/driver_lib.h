// A driver library loaded the way the program loads it: by file name from
// the folder the drivers are built into, entries resolved by name.
#pragma once

#include "driver_library.h"
#include "km_driver.h"

#include <memory>
#include <string>

struct DriverLib {
    explicit DriverLib(const std::string& prefix) : prefix(prefix) {
        path = std::string(KM_DRIVER_DIR) + "/" + prefix + ".so";
        lib = kmhost::open_driver_library(path);
        unsigned kind = 0;
        while (kind < 5 && prefix != kmhost::kDriverPrefixes[kind])
            ++kind;
        kmhost::DriverEntries e;
        if (!lib || !kmhost::resolve_entries(*lib, kind, e)) return;
        version = e.version;
        init_raw = e.init;
        set_config = e.set_config;
        get_config = e.get_config;
        send = e.send;
        done = e.done;
        error = e.error;
    }

    bool complete() const { return lib && init_raw; }
    uint32_t init_value(uint32_t* handle, uint32_t value) const {
        return reinterpret_cast<KmInitValueFn>(init_raw)(handle, value);
    }
    uint32_t init_plain(uint32_t* handle) const {
        return reinterpret_cast<KmInitPlainFn>(init_raw)(handle);
    }
    uint32_t init_lan(uint32_t* handle, const uintptr_t* config) const {
        return reinterpret_cast<KmInitLanFn>(init_raw)(handle, config);
    }

    std::string prefix;
    std::string path;
    std::unique_ptr<kmhost::DriverLibrary> lib;
    KmVersionFn version = nullptr;
    void* init_raw = nullptr;
    KmSetConfigFn set_config = nullptr;
    KmGetConfigFn get_config = nullptr;
    KmSendFn send = nullptr;
    KmDoneFn done = nullptr;
    KmErrorFn error = nullptr;
};
