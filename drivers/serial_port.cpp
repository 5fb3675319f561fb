// The platform-free part of the serial transport: the rate of a port.
#include "serial_port.h"

#include "driver_errors.h"
#include "km_protocol.h"
#include "serial_line.h"

namespace km {

SerialPort::~SerialPort() {
    close();
}

uint32_t SerialPort::set_baud(uint32_t baud) {
    if (proto::baud_index(baud) < 0) return kErrBaud;
    if (handle_ == kClosed) return kErrHandle;
    switch (platform::set_line_speed(handle_, baud)) {
    case platform::LineSetup::Done:
        return kOk;
    case platform::LineSetup::NoLine:
        return kErrIo;
    case platform::LineSetup::Refused:
        break;
    }
    return kErrBaud;
}

} // namespace km
