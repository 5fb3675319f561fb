// Devices of the serial kinds on Windows. COM n is \\.\COMn, which also
// reaches COM10 and above. Windows has no portable way to tell which COM
// port sits on an ISA base address, a PCI card or a USB adapter, and a
// guess could send frames to the wrong device: those kinds open only the
// port their KM207_KIB410 / KM207_KPB4100 / KM207_KUB4100 variable names
// ("COM5" or \\.\COM5), and without it Init reports "device not found".
#include "device_resolve.h"

namespace km {

std::string com_device(uint32_t n) {
    return "\\\\.\\COM" + std::to_string(n);
}

std::string find_tty_by_io_port(uint32_t, const std::string&) {
    return {};
}

std::string find_tty_on_pci(const std::string&) {
    return {};
}

std::string find_usb_serial() {
    return {};
}

} // namespace km
