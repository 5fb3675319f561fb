// The serial transport through the Win32 comm API. Every wait is a
// COMMTIMEOUTS deadline on a plain (non-overlapped) ReadFile or WriteFile,
// so the driver's timing is the same as with poll() on POSIX.
#include "serial_port.h"

#include "driver_errors.h"
#include "serial_line.h"
#include "udp_port.h"

#include <windows.h>

#include <cwctype>

namespace km {

namespace {

HANDLE handle_of(intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

// Marks the port as used by this driver, as flock() does on POSIX: Windows
// itself refuses a second CreateFileW of a COM port, Wine does not. Null
// when another handle of this driver holds the port.
HANDLE claim(const std::wstring& device) {
    std::wstring name = L"Local\\km207-serial-";
    for (wchar_t c : device.substr(device.rfind(L"\\\\.\\", 0) == 0 ? 4 : 0))
        name += c == L'\\' ? L'/' : static_cast<wchar_t>(towupper(c));
    HANDLE h = CreateMutexW(nullptr, FALSE, name.c_str());
    if (h && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return nullptr;
    }
    return h ? h : INVALID_HANDLE_VALUE; // no object to be had: no claim, no refusal
}

uint32_t status_from_open_error(DWORD err) {
    switch (err) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_NETPATH:
    case ERROR_DIRECTORY:
    case ERROR_NOT_READY:
        return kErrNoDevice;
    // A COM port that another program holds is refused as "access denied".
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_PIPE_BUSY:
        return kErrBusy;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_TOO_MANY_OPEN_FILES:
        return kErrNoMemory;
    default:
        return kErrIo;
    }
}

// Read waits: with `ms` 0 ReadFile returns at once with whatever arrived;
// else it returns when the bytes asked for are in or after `ms`. (Wine
// does not end a read early for the "MAXDWORD" combination, so a read that
// waits asks for one byte and the rest is taken at once.)
bool set_read_wait(HANDLE h, DWORD ms) {
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = ms > 0 ? 0 : MAXDWORD;
    t.ReadTotalTimeoutConstant = ms;
    return SetCommTimeouts(h, &t) != 0;
}

bool set_write_wait(HANDLE h, DWORD ms) {
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;
    t.WriteTotalTimeoutConstant = ms > 0 ? ms : 1;
    return SetCommTimeouts(h, &t) != 0;
}

} // namespace

uint32_t SerialPort::open(const std::string& path, uint32_t baud) {
    close();
    const std::wstring name = platform::serial_device_name(path);
    if (name.empty()) return kErrNoDevice;
    // A folder would be refused as "access denied", which reads as busy.
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return kErrNoDevice;
    HANDLE mark = claim(name);
    if (!mark) return kErrBusy;
    claim_ = reinterpret_cast<intptr_t>(mark);
    // No sharing: a second user of the port is refused, as the POSIX lock does.
    HANDLE h = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const uint32_t st = status_from_open_error(GetLastError());
        close();
        return st;
    }
    // A file, a folder or a pipe is no serial port behind this name.
    const platform::LineSetup setup = GetFileType(h) == FILE_TYPE_CHAR
                                          ? platform::set_raw_8n1(reinterpret_cast<intptr_t>(h))
                                          : platform::LineSetup::NoLine;
    if (setup != platform::LineSetup::Done) {
        CloseHandle(h);
        close();
        return setup == platform::LineSetup::NoLine ? kErrNoDevice : kErrIo;
    }
    handle_ = reinterpret_cast<intptr_t>(h);
    uint32_t st = set_baud(baud);
    if (st != kOk) close();
    return st;
}

void SerialPort::close() {
    if (handle_ != kClosed) {
        CloseHandle(handle_of(handle_));
        handle_ = kClosed;
    }
    if (claim_ != kClosed) {
        CloseHandle(handle_of(claim_));
        claim_ = kClosed;
    }
}

void SerialPort::discard_input() {
    if (handle_ == kClosed) return;
    HANDLE h = handle_of(handle_);
    PurgeComm(h, PURGE_RXCLEAR);
    // Bytes may still arrive right after the purge; read them off, but never
    // for ever on a line that keeps talking.
    if (!set_read_wait(h, 0)) return;
    uint8_t junk[64];
    DWORD n = 0;
    for (int i = 0; i < 64 && ReadFile(h, junk, sizeof junk, &n, nullptr) && n > 0; ++i) {
    }
}

uint32_t SerialPort::write_all(const uint8_t* data, std::size_t len, int timeout_ms) {
    if (handle_ == kClosed) return kErrHandle;
    HANDLE h = handle_of(handle_);
    const int64_t deadline = steady_ms() + timeout_ms;
    std::size_t done = 0;
    while (done < len) {
        const int64_t left = deadline - steady_ms();
        if (left <= 0) return kErrTimeout;
        if (!set_write_wait(h, static_cast<DWORD>(left))) return kErrIo;
        DWORD n = 0;
        if (!WriteFile(h, data + done, static_cast<DWORD>(len - done), &n, nullptr)) return kErrIo;
        done += n;
    }
    return kOk;
}

int SerialPort::read_some(uint8_t* buf, std::size_t cap, int timeout_ms) {
    if (handle_ == kClosed) return -1;
    if (cap == 0) return 0;
    HANDLE h = handle_of(handle_);
    const int64_t deadline = steady_ms() + (timeout_ms > 0 ? timeout_ms : 0);
    for (;;) {
        const int64_t left = deadline - steady_ms();
        DWORD n = 0;
        if (!set_read_wait(h, static_cast<DWORD>(left > 0 ? left : 0)) ||
            !ReadFile(h, buf, left > 0 ? 1 : static_cast<DWORD>(cap), &n, nullptr))
            return -1;
        if (n > 0 && left > 0 && cap > 1) {
            // The first byte is in; take what followed it without waiting.
            DWORD more = 0;
            if (!set_read_wait(h, 0) ||
                !ReadFile(h, buf + 1, static_cast<DWORD>(cap - 1), &more, nullptr))
                return -1;
            n += more;
        }
        if (n > 0) return static_cast<int>(n);
        // The wait may end a little early; only the deadline means "nothing".
        if (deadline - steady_ms() <= 0) return 0;
    }
}

} // namespace km
