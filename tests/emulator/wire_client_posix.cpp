#include "wire_client.h"

#include <chrono>

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace emu_test {

UdpClient::UdpClient(uint16_t port) : port_(port) {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
}

UdpClient::~UdpClient() {
    if (fd_ >= 0) ::close(static_cast<int>(fd_));
}

void UdpClient::send_raw(const std::vector<uint8_t>& bytes) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port_);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
}

std::vector<uint8_t> UdpClient::receive(int timeout_ms) {
    pollfd p{static_cast<int>(fd_), POLLIN, 0};
    if (::poll(&p, 1, timeout_ms) <= 0) return {};
    std::vector<uint8_t> buf(512);
    const ssize_t n = ::recv(fd_, buf.data(), buf.size(), 0);
    if (n <= 0) return {};
    buf.resize(static_cast<std::size_t>(n));
    return buf;
}

PtyClient::PtyClient(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) return;
    termios t{};
    ::tcgetattr(fd_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd_, TCSANOW, &t);
    ::tcflush(fd_, TCIOFLUSH);
}

PtyClient::~PtyClient() {
    if (fd_ >= 0) ::close(fd_);
}

void PtyClient::set_speed(unsigned speed) {
    termios t{};
    ::tcgetattr(fd_, &t);
    ::cfsetspeed(&t, static_cast<speed_t>(speed));
    ::tcsetattr(fd_, TCSANOW, &t);
}

void PtyClient::write_raw(const std::vector<uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

void PtyClient::send(const km::proto::Request& req) {
    std::vector<uint8_t> f(km::proto::kFrameSize);
    km::proto::encode_request(req, f.data());
    write_raw(f);
}

std::vector<uint8_t> PtyClient::receive(std::size_t n, int timeout_ms) {
    using clock = std::chrono::steady_clock;
    const auto end = clock::now() + std::chrono::milliseconds(timeout_ms);
    std::vector<uint8_t> out;
    while (out.size() < n) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - clock::now()).count();
        if (left <= 0) break;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0) break;
        uint8_t buf[64];
        const ssize_t k = ::read(fd_, buf, std::min(sizeof buf, n - out.size()));
        if (k <= 0) break;
        out.insert(out.end(), buf, buf + k);
    }
    return out;
}

bool PtyClient::ask(const km::proto::Request& req, km::proto::Reply& rep, int timeout_ms) {
    send(req);
    const auto b = receive(km::proto::kFrameSize, timeout_ms);
    return km::proto::decode_reply(b.data(), b.size(), req, rep) == km::proto::Reject::None;
}

} // namespace emu_test
