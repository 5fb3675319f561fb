// The servers' transport on Windows: UDP through Winsock, the serial line
// through a COM port (overlapped, so the relay's pending read never holds up
// a reply being written). There is no pseudo-terminal here.
#include "km_server.h"

#include "serial_line.h"
#include "udp_socket.h"

#include <mswsock.h>
#include <windows.h>

namespace km::emu {

namespace {

SOCKET sock(intptr_t s) {
    return static_cast<SOCKET>(s);
}

HANDLE handle(intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

std::string last_error_text(DWORD err) {
    char buf[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, err, 0, buf, sizeof buf, nullptr);
    std::string s(buf, n);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == '.'))
        s.pop_back();
    return s.empty() ? "error " + std::to_string(err) : s;
}

} // namespace

void Server::close_all() {
    if (relay_.joinable()) {
        SetEvent(handle(relay_stop_[0]));
        relay_.join();
    }
    if (relay_stop_[0] != -1) CloseHandle(handle(relay_stop_[0]));
    if (relay_fd_ != -1) closesocket(sock(relay_fd_));
    if (rx_fd_ != -1 && rx_fd_ != udp_fd_) closesocket(sock(rx_fd_));
    if (udp_fd_ != -1) closesocket(sock(udp_fd_));
    if (master_fd_ != -1) CloseHandle(handle(master_fd_));
}

bool Server::pty_supported() {
    return false;
}

bool Server::open_pty(std::string& error) {
    error = "no pseudo-terminal on Windows; serve a serial port with --com";
    return false;
}

bool Server::open_udp(const std::string& host, uint16_t port, std::string& error) {
    if (!platform::winsock_up()) {
        error = "Winsock did not start";
        return false;
    }
    sockaddr_in a = platform::ipv4_address(0, htons(port));
    if (inet_pton(AF_INET, host.c_str(), &a.sin_addr) != 1) {
        error = "not an IPv4 address: " + host;
        return false;
    }
    const SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) {
        error = "socket: " + last_error_text(static_cast<DWORD>(WSAGetLastError()));
        return false;
    }
    SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        error = "bind " + host + ":" + std::to_string(port) + ": " +
                last_error_text(static_cast<DWORD>(WSAGetLastError()));
        closesocket(s);
        return false;
    }
    // A client's "port unreachable" must not fail the next receive.
    BOOL report = FALSE;
    DWORD got = 0;
    WSAIoctl(s, SIO_UDP_CONNRESET, &report, sizeof report, nullptr, 0, &got, nullptr, nullptr);
    int len = sizeof a;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    udp_fd_ = static_cast<intptr_t>(s);
    rx_fd_ = udp_fd_;
    udp_port_ = ntohs(a.sin_port);
    udp_host_ = host;
    return true;
}

bool Server::open_line(const std::string& device, uint32_t baud, std::string& error) {
    const std::wstring name = platform::serial_device_name(device);
    if (name.empty()) {
        error = "no port name: " + device;
        return false;
    }
    HANDLE h = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = "open " + device + ": " + last_error_text(GetLastError());
        return false;
    }
    const intptr_t line = reinterpret_cast<intptr_t>(h);
    const platform::LineSetup setup = platform::set_raw_8n1(line);
    if (setup == platform::LineSetup::NoLine) {
        error = device + " is no serial port";
        CloseHandle(h);
        return false;
    }
    if (setup != platform::LineSetup::Done ||
        platform::set_line_speed(line, baud) != platform::LineSetup::Done) {
        error = "set up " + device + ": " + last_error_text(GetLastError());
        CloseHandle(h);
        return false;
    }
    PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR);
    master_fd_ = reinterpret_cast<intptr_t>(h);
    pty_path_ = device;
    return true;
}

void Server::send_datagram(const Pending& p) {
    const sockaddr_in to = platform::ipv4_address(p.to_ip, p.to_port);
    ::sendto(sock(udp_fd_), reinterpret_cast<const char*>(p.bytes.data()), static_cast<int>(p.size),
             0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

void Server::write_line(const Pending& p) {
    // A line that does not take the bytes within the write timeout loses the
    // reply, as on a real bus.
    OVERLAPPED ov{};
    ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD n = 0;
    if (ov.hEvent &&
        !WriteFile(handle(master_fd_), p.bytes.data(), static_cast<DWORD>(p.size), &n, &ov) &&
        GetLastError() == ERROR_IO_PENDING)
        GetOverlappedResult(handle(master_fd_), &ov, &n, TRUE);
    if (ov.hEvent) CloseHandle(ov.hEvent);
}

void Server::start_relay() {
    relay_tried_ = true;
    if (master_fd_ == -1 || !platform::winsock_up()) return;
    if (rx_fd_ == -1) {
        // Only the serial line is served: a loopback socket of our own takes
        // its bytes.
        const SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        const sockaddr_in a = platform::ipv4_address(htonl(INADDR_LOOPBACK), 0);
        if (s == INVALID_SOCKET ||
            ::bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
            if (s != INVALID_SOCKET) closesocket(s);
            return;
        }
        rx_fd_ = static_cast<intptr_t>(s);
    }
    sockaddr_in to{};
    int len = sizeof to;
    ::getsockname(sock(rx_fd_), reinterpret_cast<sockaddr*>(&to), &len);
    if (to.sin_addr.s_addr == htonl(INADDR_ANY)) to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) return;
    sockaddr_in relay{};
    len = sizeof relay;
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stop || ::connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&relay), &len) != 0) {
        if (stop) CloseHandle(stop);
        closesocket(s);
        return;
    }
    relay_ip_ = relay.sin_addr.s_addr;
    relay_port_ = relay.sin_port;
    relay_stop_[0] = reinterpret_cast<intptr_t>(stop);
    relay_fd_ = static_cast<intptr_t>(s);
    relay_ = std::thread([this] { relay_loop(); });
}

namespace {

// Timeouts of the serial line. Wine ends a read only when its buffer is full
// or its time is up, so the relay waits for one byte (up to a second), then
// takes what followed it at once. A reply's write gives up after a second.
const COMMTIMEOUTS kWaitForByte{0, 0, 1000, 0, 1000};
const COMMTIMEOUTS kTakeWhatIsThere{MAXDWORD, 0, 0, 0, 1000};

// One overlapped read; false when `stop` was set first.
bool read_line(HANDLE line, HANDLE stop, OVERLAPPED& ov, uint8_t* buf, DWORD cap, DWORD& n) {
    n = 0;
    ResetEvent(ov.hEvent);
    if (ReadFile(line, buf, cap, &n, &ov)) return true;
    if (GetLastError() != ERROR_IO_PENDING) {
        // A line in trouble: do not spin, but still hear the stop.
        return WaitForSingleObject(stop, 10) != WAIT_OBJECT_0;
    }
    const HANDLE waits[2] = {stop, ov.hEvent};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) {
        CancelIo(line);
        GetOverlappedResult(line, &ov, &n, TRUE);
        return false;
    }
    if (!GetOverlappedResult(line, &ov, &n, FALSE)) n = 0;
    return true;
}

} // namespace

void Server::relay_loop() {
    const HANDLE line = handle(master_fd_);
    const HANDLE stop = handle(relay_stop_[0]);
    OVERLAPPED ov{};
    ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ov.hEvent) return;
    uint8_t buf[512];
    for (;;) {
        COMMTIMEOUTS t = kWaitForByte;
        SetCommTimeouts(line, &t);
        DWORD n = 0;
        if (!read_line(line, stop, ov, buf, 1, n)) break;
        if (n == 1) {
            t = kTakeWhatIsThere;
            SetCommTimeouts(line, &t);
            DWORD more = 0;
            if (!read_line(line, stop, ov, buf + 1, sizeof buf - 1, more)) break;
            n += more;
        }
        if (n > 0)
            ::send(sock(relay_fd_), reinterpret_cast<const char*>(buf), static_cast<int>(n), 0);
        if (WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) break;
    }
    CloseHandle(ov.hEvent);
}

void Server::receive_one(int timeout_ms) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(sock(rx_fd_), &ready);
    timeval tv{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
    if (::select(0, &ready, nullptr, nullptr, timeout_ms < 0 ? nullptr : &tv) <= 0) return;
    uint8_t buf[512];
    sockaddr_in from{};
    int fl = sizeof from;
    const int n = ::recvfrom(sock(rx_fd_), reinterpret_cast<char*>(buf), sizeof buf, 0,
                             reinterpret_cast<sockaddr*>(&from), &fl);
    if (n < 0) return; // a datagram larger than any frame, or the socket's trouble
    on_datagram(buf, static_cast<std::size_t>(n), from.sin_addr.s_addr, from.sin_port);
}

void Server::poll_once(int timeout_ms) {
    if (!relay_tried_) start_relay();
    const int due = next_due_ms();
    if (due >= 0 && (timeout_ms < 0 || due < timeout_ms)) timeout_ms = due;
    if (rx_fd_ != -1)
        receive_one(timeout_ms);
    else
        Sleep(static_cast<DWORD>(timeout_ms < 0 ? 100 : timeout_ms));
    send_due();
}

} // namespace km::emu
