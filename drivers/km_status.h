// Status codes 0-99 of the KM-207 drivers, by name. The drivers return
// them and the program's link tells them apart (a timeout, a damaged reply,
// a module's error status), so both include this header and neither writes
// a bare number. 9 and 10 belong to the link; the drivers give them texts
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

} // namespace km
