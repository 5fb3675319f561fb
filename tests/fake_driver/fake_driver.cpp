// Test driver: exports the seven entry points under FAKE_PREFIX and journals
// every call into the shared control library.
//
// Variants: FAKE_BROKEN lacks GetConfig. FAKE_STANDALONE stands in for a
// driver on its own (in a driver host, or as a Windows DLL): it answers from
// a module model of its own and keeps no journal. FAKE_FAULT makes Send crash
// (1) or never return (2) for requests to fake::kFaultAddress.
#include "driver_errors.h"
#include "fake_control.h"
#include "km_driver.h"

#include <cstring>
#ifdef FAKE_STANDALONE
#include "fake_module.h"
#endif
#if defined(FAKE_FAULT) && FAKE_FAULT == 2
#include <chrono>
#include <thread>
#endif

#define KM_CAT2(a, b) a##_##b
#define KM_CAT(a, b) KM_CAT2(a, b)
#define KM_ENTRY(name) KM_CAT(FAKE_PREFIX, name)
#define KM_STR2(a) #a
#define KM_STR(a) KM_STR2(a)

namespace {
std::string entry(const char* name) {
    return std::string(KM_STR(FAKE_PREFIX)) + "_" + name;
}

void log(const char* name, std::vector<uint64_t> args, std::string text = {}) {
    fake::record({entry(name), std::move(args), std::move(text)});
}

uint32_t init_common(uint32_t* handle) {
    uint32_t code = fake::result("Init");
    if (code == 0 && handle) *handle = fake::handle();
    return code;
}

__attribute__((constructor)) void on_load() {
#ifdef FAKE_STANDALONE
    static km::emu::Module module;
    fake::set_journal(false);
    fake::attach_module(module);
#endif
    log("load", {});
}
__attribute__((destructor)) void on_unload() {
    log("unload", {});
}
} // namespace

extern "C" {

KM_EXPORT uint32_t KM_CALL KM_ENTRY(Version)(void) {
    log("Version", {});
    return 0x0100;
}

#if FAKE_INIT_FORM == 1
KM_EXPORT uint32_t KM_CALL KM_ENTRY(Init)(uint32_t* handle, uint32_t value) {
    log("Init", {handle ? *handle : 0, value});
    return init_common(handle);
}
#elif FAKE_INIT_FORM == 2
KM_EXPORT uint32_t KM_CALL KM_ENTRY(Init)(uint32_t* handle) {
    log("Init", {handle ? *handle : 0});
    return init_common(handle);
}
#else
KM_EXPORT uint32_t KM_CALL KM_ENTRY(Init)(uint32_t* handle, const uintptr_t* config) {
    std::vector<uint64_t> args{handle ? *handle : 0};
    std::string ip;
    if (config) {
        for (int i = 0; i < KM_CONFIG_LEN; ++i)
            args.push_back(config[i]);
        if (config[0]) ip = reinterpret_cast<const char*>(config[0]);
    }
    log("Init", args, ip);
    return init_common(handle);
}
#endif

KM_EXPORT uint32_t KM_CALL KM_ENTRY(SetConfig)(uint32_t handle, uint32_t baud, uint32_t timing,
                                               uint32_t retries) {
    log("SetConfig", {handle, baud, timing, retries});
    return fake::result("SetConfig");
}

#ifndef FAKE_BROKEN
KM_EXPORT uint32_t KM_CALL KM_ENTRY(GetConfig)(uint32_t handle, uint32_t* baud, uint32_t* timing,
                                               uint32_t* retries) {
    log("GetConfig", {handle});
    if (baud) *baud = 0;
    if (timing) *timing = 0;
    if (retries) *retries = 0;
    return 0;
}
#endif

KM_EXPORT uint32_t KM_CALL KM_ENTRY(Send)(uint32_t handle, const uint32_t* request, uint32_t* reply,
                                          uint32_t* out, uint32_t* status) {
    std::vector<uint64_t> args{handle};
    if (request)
        for (int i = 0; i < KM_REQUEST_LEN; ++i)
            args.push_back(request[i]);
    // What the caller had preset, so tests can see it.
    args.push_back(out ? *out : 0xFFFFFFFFu);
    args.push_back(status ? *status : 0xFFFFFFFFu);
    log("Send", args);
#ifdef FAKE_FAULT
    if (request && request[0] == fake::kFaultAddress) {
#if FAKE_FAULT == 1
        // A real access violation, not a call the compiler could see through.
        static volatile uintptr_t nowhere = 0;
        *reinterpret_cast<volatile uint32_t*>(nowhere) = 1;
#else
        for (;;)
            std::this_thread::sleep_for(std::chrono::seconds(1));
#endif
    }
#endif
    fake::SendReply r = fake::respond(request);
    if (r.result != 0) return r.result;
    if (status) *status = r.stav;
    if (out) *out = r.vystup;
    if (reply)
        for (size_t i = 0; i < r.odpoved.size() && i < KM_REPLY_LEN; ++i)
            reply[i] = r.odpoved[i];
    return 0;
}

KM_EXPORT uint32_t KM_CALL KM_ENTRY(Done)(uint32_t* handle) {
    log("Done", {handle ? *handle : 0});
    if (handle) *handle = fake::done_handle();
    return fake::result("Done");
}

KM_EXPORT uint32_t KM_CALL KM_ENTRY(Error)(uint32_t code, uint32_t* text) {
    log("Error", {code});
    km::driver_error_fill(code, text, KM_TEXT_LEN);
    return 0;
}
}
