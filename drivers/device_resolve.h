// Which device each serial interface kind talks through. The environment
// overrides are read here for every platform; the search without them is
// one file per platform (device_resolve_posix.cpp, device_resolve_win32.cpp).
#pragma once

#include <cstdint>
#include <string>

namespace km {

constexpr const char* kSysTty = "/sys/class/tty";

// COM n -> /dev/ttyS{n-1} (Windows: \\.\COMn); KM207_COM{n} overrides.
// Empty when n is 0.
std::string resolve_com(uint32_t n);
// The serial device whose I/O port equals `base`; KM207_KIB410 overrides.
std::string resolve_isa(uint32_t base, const std::string& sys_tty = kSysTty);
// The first serial device on a PCI bus; KM207_KPB4100 overrides.
std::string resolve_pci(const std::string& sys_tty = kSysTty);
// The first USB serial device; KM207_KUB4100 overrides.
std::string resolve_usb();

// Parts of the above without the overrides, per platform; also for the tests.
std::string com_device(uint32_t n);
std::string find_tty_by_io_port(uint32_t base, const std::string& sys_tty);
std::string find_tty_on_pci(const std::string& sys_tty);
std::string find_usb_serial();

} // namespace km
