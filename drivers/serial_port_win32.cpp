// The serial transport through the Win32 comm API. Every wait is a
// COMMTIMEOUTS deadline on a plain (non-overlapped) ReadFile or WriteFile,
// so the driver's timing is the same as with poll() on POSIX.
#include "serial_port.h"

#include "driver_errors.h"
#include "udp_port.h"
#include "win32_text.h"

#include <windows.h>

#include <cwctype>

namespace km {

namespace {

constexpr uint32_t kBauds[] = {600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

HANDLE handle_of(intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

// "COM12" alone names no device for CreateFileW above COM9; the device
// namespace form reaches every port.
std::wstring device_name(const std::string& path) {
    std::wstring w = kmhost::widen(path);
    if (!w.empty() && w.find_first_of(L"\\/:") == std::wstring::npos) w = L"\\\\.\\" + w;
    return w;
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

bool is_module_baud(uint32_t baud) {
    for (uint32_t b : kBauds)
        if (b == baud) return true;
    return false;
}

SerialPort::~SerialPort() {
    close();
}

uint32_t SerialPort::open(const std::string& path, uint32_t baud) {
    close();
    const std::wstring name = device_name(path);
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
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (GetFileType(h) != FILE_TYPE_CHAR || !GetCommState(h, &dcb)) {
        CloseHandle(h);
        close();
        return kErrNoDevice;
    }
    // Raw 8N1, no flow control, no character translation, errors do not
    // stop later reads.
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(h, &dcb)) {
        CloseHandle(h);
        close();
        return kErrIo;
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

uint32_t SerialPort::set_baud(uint32_t baud) {
    if (!is_module_baud(baud)) return kErrBaud;
    if (handle_ == kClosed) return kErrHandle;
    HANDLE h = handle_of(handle_);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(h, &dcb)) return kErrIo;
    dcb.BaudRate = baud;
    if (!SetCommState(h, &dcb)) return kErrBaud;
    return kOk;
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
