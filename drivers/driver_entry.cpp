// The seven entry points of one driver library. Built once per library with
// KM_DRIVER_PREFIX (KSER410 ...) and KM_DRIVER_KIND (0 ... 4).
#include "device_resolve.h"
#include "driver_core.h"
#include "driver_errors.h"
#include "km_driver.h"

#include <exception>
#include <new>

#define KM_CAT2(a, b) a##_##b
#define KM_CAT(a, b) KM_CAT2(a, b)
#define KM_ENTRY(name) KM_CAT(KM_DRIVER_PREFIX, name)

namespace {
constexpr uint32_t kDriverVersion = 0x0100;

// No exception may cross the C boundary; the only one to expect is bad_alloc.
template <typename F> uint32_t guarded(F f) {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return km::kErrNoMemory;
    } catch (...) {
        return km::kErrIo;
    }
}

[[maybe_unused]] uint32_t open_at(uint32_t* handle, const std::string& path) {
    std::unique_ptr<km::Channel> ch;
    uint32_t st = km::open_serial_channel(path, ch);
    if (st == km::kOk) st = km::core_add(std::move(ch), handle);
    return st;
}

// The device file of this kind of interface.
#if KM_DRIVER_KIND == 0
std::string device_of(uint32_t com) {
    return km::resolve_com(com);
}
#elif KM_DRIVER_KIND == 1
std::string device_of(uint32_t base) {
    return km::resolve_isa(base);
}
#elif KM_DRIVER_KIND == 2
std::string device_of() {
    return km::resolve_pci();
}
#elif KM_DRIVER_KIND == 3
std::string device_of() {
    return km::resolve_usb();
}
#endif

// A failed Init leaves no handle behind; the channel closed itself.
uint32_t finish_init(uint32_t* handle, uint32_t st) {
    if (st != km::kOk) *handle = 0;
    return st;
}
} // namespace

extern "C" {

KM_EXPORT uint32_t KM_CALL KM_ENTRY(Version)(void) {
    return kDriverVersion;
}

#if KM_DRIVER_KIND == 0 || KM_DRIVER_KIND == 1
KM_EXPORT uint32_t KM_CALL KM_ENTRY(Init)(uint32_t* handle, uint32_t value) {
    if (!handle) return km::kErrParameter;
    return finish_init(handle, guarded([&] { return open_at(handle, device_of(value)); }));
}
#elif KM_DRIVER_KIND == 2 || KM_DRIVER_KIND == 3
KM_EXPORT uint32_t KM_CALL KM_ENTRY(Init)(uint32_t* handle) {
    if (!handle) return km::kErrParameter;
    return finish_init(handle, guarded([&] { return open_at(handle, device_of()); }));
}
#else
KM_EXPORT uint32_t KM_CALL KM_ENTRY(Init)(uint32_t* handle, const uintptr_t* config) {
    if (!handle) return km::kErrParameter;
    return finish_init(handle, guarded([&] {
                           std::unique_ptr<km::Channel> ch;
                           uint32_t st = km::open_udp_channel(config, ch);
                           if (st == km::kOk) st = km::core_add(std::move(ch), handle);
                           return st;
                       }));
}
#endif

KM_EXPORT uint32_t KM_CALL KM_ENTRY(SetConfig)(uint32_t handle, uint32_t baud, uint32_t timing,
                                               uint32_t retries) {
    return guarded([&] { return km::core_set_config(handle, baud, timing, retries); });
}

KM_EXPORT uint32_t KM_CALL KM_ENTRY(GetConfig)(uint32_t handle, uint32_t* baud, uint32_t* timing,
                                               uint32_t* retries) {
    return guarded([&] { return km::core_get_config(handle, baud, timing, retries); });
}

KM_EXPORT uint32_t KM_CALL KM_ENTRY(Send)(uint32_t handle, const uint32_t* request, uint32_t* reply,
                                          uint32_t* out, uint32_t* status) {
    return guarded([&] { return km::core_send(handle, request, reply, out, status); });
}

KM_EXPORT uint32_t KM_CALL KM_ENTRY(Done)(uint32_t* handle) {
    return guarded([&] { return km::core_done(handle); });
}

KM_EXPORT uint32_t KM_CALL KM_ENTRY(Error)(uint32_t code, uint32_t* text) {
    return guarded([&] { return km::core_error(code, text); });
}

} // extern "C"
