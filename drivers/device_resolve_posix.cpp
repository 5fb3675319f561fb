#include "device_resolve.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <libserialport.h>
#include <system_error>
#include <vector>

namespace km {

namespace fs = std::filesystem;

namespace {
// Entries of the tty class, sorted so "first" is stable.
std::vector<std::string> tty_names(const std::string& sys_tty) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(sys_tty, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool read_number(const fs::path& file, uint64_t& out) {
    std::ifstream in(file);
    std::string text;
    if (!(in >> text)) return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(text.c_str(), &end, 0);
    if (errno != 0 || end == text.c_str() || *end) return false;
    out = v;
    return true;
}
} // namespace

std::string com_device(uint32_t n) {
    return "/dev/ttyS" + std::to_string(n - 1);
}

std::string find_tty_by_io_port(uint32_t base, const std::string& sys_tty) {
    if (base == 0) return {}; // ports without I/O space read 0x0
    for (const std::string& name : tty_names(sys_tty)) {
        uint64_t port = 0;
        if (read_number(fs::path(sys_tty) / name / "port", port) && port == base)
            return "/dev/" + name;
    }
    return {};
}

std::string find_tty_on_pci(const std::string& sys_tty) {
    for (const std::string& name : tty_names(sys_tty)) {
        std::error_code ec;
        fs::path dev = fs::canonical(fs::path(sys_tty) / name / "device", ec);
        if (ec) continue; // virtual terminals have no device
        // The first bus above the port decides; serial-base is only the
        // kernel's port layer. A USB adapter sits on usb-serial/usb, even
        // though its host controller is a PCI device further up.
        for (fs::path p = dev; !p.empty() && p != p.root_path(); p = p.parent_path()) {
            fs::path sub = fs::canonical(p / "subsystem", ec);
            if (ec) continue;
            if (sub.filename() == "serial-base") continue;
            if (sub.filename() == "pci") return "/dev/" + name;
            break;
        }
    }
    return {};
}

std::string find_usb_serial() {
    sp_port** ports = nullptr;
    if (sp_list_ports(&ports) != SP_OK) return {};
    std::vector<std::string> usb;
    for (int i = 0; ports[i]; ++i)
        if (sp_get_port_transport(ports[i]) == SP_TRANSPORT_USB)
            usb.push_back(sp_get_port_name(ports[i]));
    sp_free_port_list(ports);
    std::sort(usb.begin(), usb.end());
    return usb.empty() ? std::string() : usb.front();
}

} // namespace km
