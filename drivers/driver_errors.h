// Status codes 1-99 of the KM-207 drivers and their Czech texts.
// 9 and 10 belong to the program's link layer; the drivers give them texts
// because the program asks a driver for the text of every code below 100.
#pragma once

#include <stdint.h>

namespace km {

enum DriverStatus : uint32_t {
    kOk = 0,
    kErrNoDevice = 1,        // device or port not found
    kErrPermission = 2,      // no right to open the device
    kErrBusy = 3,            // port used by another program
    kErrBaud = 4,            // baud rate the port cannot do
    kErrTimeout = 5,         // no answer in time
    kErrCorrupt = 6,         // reply failed its checksum or was malformed
    kErrOtherModule = 7,     // reply came from another module
    kErrIpAddress = 8,       // IP address text is no address
    kErrRequest = 9,         // link: request could not be formed
    kErrNotBound = 10,       // link: unknown interface kind or entry not bound
    kErrUdpPort = 11,        // UDP port 0 or above 65535
    kErrModule = 12,         // module answered with an error status
    kErrHandle = 13,         // handle not open
    kErrIo = 14,             // read or write failed on the port or socket
    kErrNoMemory = 15,       // out of resources
    kErrUnknownCommand = 16, // module does not know the command
    kErrBadRegister = 17,    // module has no such register
    kErrBadValue = 18,       // module refused the value
    kErrParameter = 19,      // invalid argument to an entry point
};

// UTF-8 text of a code; unknown codes get a generic text.
const char* driver_error_text(uint32_t code);

// Writes the text of `code` into `text` (at most `len` elements, the last one
// always 0) as Windows-1250 codes, one per element.
void driver_error_fill(uint32_t code, uint32_t* text, uint32_t len);

// Windows-1250 byte of a Unicode code point; '?' where it has none.
uint8_t cp1250_from_unicode(uint32_t cp);

} // namespace km
