// A driver library loaded the way the program loads it: by file name from
// the folder the drivers are built into, entries resolved by name.
#pragma once

#include "km_driver.h"

#include <dlfcn.h>
#include <string>

struct DriverLib {
    explicit DriverLib(const std::string& prefix) : prefix(prefix) {
        path = std::string(KM_DRIVER_DIR) + "/" + prefix + ".so";
        lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!lib) return;
        version = reinterpret_cast<KmVersionFn>(sym("Version"));
        init_raw = sym("Init");
        set_config = reinterpret_cast<KmSetConfigFn>(sym("SetConfig"));
        get_config = reinterpret_cast<KmGetConfigFn>(sym("GetConfig"));
        send = reinterpret_cast<KmSendFn>(sym("Send"));
        done = reinterpret_cast<KmDoneFn>(sym("Done"));
        error = reinterpret_cast<KmErrorFn>(sym("Error"));
    }
    ~DriverLib() {
        if (lib) dlclose(lib);
    }
    DriverLib(const DriverLib&) = delete;
    DriverLib& operator=(const DriverLib&) = delete;

    void* sym(const char* entry) const { return dlsym(lib, (prefix + "_" + entry).c_str()); }
    bool complete() const {
        return lib && version && init_raw && set_config && get_config && send && done && error;
    }
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
    void* lib = nullptr;
    KmVersionFn version = nullptr;
    void* init_raw = nullptr;
    KmSetConfigFn set_config = nullptr;
    KmGetConfigFn get_config = nullptr;
    KmSendFn send = nullptr;
    KmDoneFn done = nullptr;
    KmErrorFn error = nullptr;
};
