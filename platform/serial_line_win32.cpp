#include "serial_line.h"

#include "km_protocol.h"
#include "win32_text.h"

#include <windows.h>

namespace km::platform {

namespace {

HANDLE handle_of(intptr_t line) {
    return reinterpret_cast<HANDLE>(line);
}

bool get_state(intptr_t line, DCB& dcb) {
    dcb = DCB{};
    dcb.DCBlength = sizeof dcb;
    return GetCommState(handle_of(line), &dcb) != 0;
}

} // namespace

LineSetup set_raw_8n1(intptr_t line) {
    DCB dcb;
    if (!get_state(line, dcb)) return LineSetup::NoLine;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.fParity = FALSE;
    dcb.StopBits = ONESTOPBIT;
    // No flow control either way; DTR and RTS held on.
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    // Every byte as it came, and an error does not stop later reads.
    dcb.fBinary = TRUE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    return SetCommState(handle_of(line), &dcb) ? LineSetup::Done : LineSetup::Refused;
}

LineSetup set_line_speed(intptr_t line, uint32_t baud) {
    if (proto::baud_index(baud) < 0) return LineSetup::Refused;
    DCB dcb;
    if (!get_state(line, dcb)) return LineSetup::NoLine;
    dcb.BaudRate = baud;
    return SetCommState(handle_of(line), &dcb) ? LineSetup::Done : LineSetup::Refused;
}

bool get_line_speed(intptr_t line, uint32_t& baud) {
    DCB dcb;
    if (!get_state(line, dcb)) return false;
    baud = dcb.BaudRate;
    return true;
}

std::wstring serial_device_name(const std::string& name) {
    std::wstring w = widen(name);
    if (!w.empty() && w.find_first_of(L"\\/:") == std::wstring::npos) w = L"\\\\.\\" + w;
    return w;
}

} // namespace km::platform
