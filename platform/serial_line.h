// A serial line set up for the bus, the same on every platform: raw 8N1 and
// one of the bus's nine rates. `line` is an open file descriptor
// (serial_line_posix.cpp, termios) or the HANDLE of a COM port
// (serial_line_win32.cpp, the comm API). A failure leaves the platform's
// error (errno, GetLastError) as the failing call set it.
#pragma once

#include <cstdint>
#include <string>

namespace km::platform {

enum class LineSetup {
    Done,
    NoLine,  // the line's settings cannot be read: no serial line behind it
    Refused, // the line did not take the settings
};

// Raw bytes both ways: 8 data bits, no parity, one stop bit, no flow
// control, no character translation; the modem lines do not stop it.
LineSetup set_raw_8n1(intptr_t line);
// `baud` in Bd, both ways; Refused when it is none of the nine.
LineSetup set_line_speed(intptr_t line, uint32_t baud);
// The line's speed in Bd (0 for a speed that is none of the nine on POSIX);
// false when it cannot be read.
bool get_line_speed(intptr_t line, uint32_t& baud);

#ifdef _WIN32
// The name CreateFileW opens: "COM12" alone names no device above COM9, its
// device namespace form reaches every port. Empty when `name` is empty or no
// UTF-8.
std::wstring serial_device_name(const std::string& name);
#endif

} // namespace km::platform
