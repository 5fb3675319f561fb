#include "device_resolve.h"

#include <cstdlib>

namespace km {

namespace {
// A set, non-empty environment variable.
bool env_override(const char* name, std::string& out) {
    const char* v = std::getenv(name);
    if (!v || !*v) return false;
    out = v;
    return true;
}
} // namespace

std::string resolve_com(uint32_t n) {
    std::string path;
    if (env_override(("KM207_COM" + std::to_string(n)).c_str(), path)) return path;
    if (n == 0) return {};
    return com_device(n);
}

std::string resolve_isa(uint32_t base, const std::string& sys_tty) {
    std::string path;
    if (env_override("KM207_KIB410", path)) return path;
    return find_tty_by_io_port(base, sys_tty);
}

std::string resolve_pci(const std::string& sys_tty) {
    std::string path;
    if (env_override("KM207_KPB4100", path)) return path;
    return find_tty_on_pci(sys_tty);
}

std::string resolve_usb() {
    std::string path;
    if (env_override("KM207_KUB4100", path)) return path;
    return find_usb_serial();
}

} // namespace km
