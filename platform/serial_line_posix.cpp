#include "serial_line.h"

#include "km_protocol.h"

#include <iterator>

#include <termios.h>

namespace km::platform {

namespace {

// termios speed of each rate, by baud index.
constexpr speed_t kSpeeds[] = {B600, B1200, B2400, B4800, B9600, B19200, B38400, B57600, B115200};
static_assert(std::size(kSpeeds) == proto::kBaudCount);

int fd_of(intptr_t line) {
    return static_cast<int>(line);
}

} // namespace

LineSetup set_raw_8n1(intptr_t line) {
    termios tio{};
    if (tcgetattr(fd_of(line), &tio) != 0) return LineSetup::NoLine;
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    // A read takes what has come and never waits for a count of bytes.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return tcsetattr(fd_of(line), TCSANOW, &tio) == 0 ? LineSetup::Done : LineSetup::Refused;
}

LineSetup set_line_speed(intptr_t line, uint32_t baud) {
    const int index = proto::baud_index(baud);
    if (index < 0) return LineSetup::Refused;
    termios tio{};
    if (tcgetattr(fd_of(line), &tio) != 0) return LineSetup::NoLine;
    if (cfsetispeed(&tio, kSpeeds[index]) != 0 || cfsetospeed(&tio, kSpeeds[index]) != 0)
        return LineSetup::Refused;
    return tcsetattr(fd_of(line), TCSANOW, &tio) == 0 ? LineSetup::Done : LineSetup::Refused;
}

bool get_line_speed(intptr_t line, uint32_t& baud) {
    termios tio{};
    if (tcgetattr(fd_of(line), &tio) != 0) return false;
    const speed_t speed = cfgetospeed(&tio);
    baud = 0;
    for (int i = 0; i < proto::kBaudCount; ++i)
        if (kSpeeds[i] == speed) baud = proto::kBaudRates[i];
    return true;
}

} // namespace km::platform
