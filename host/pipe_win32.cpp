// The host's pipes on Windows (also under Wine).
#include "host_serve.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

namespace kmhost {

namespace {

class PipeChannel : public Channel {
  public:
    PipeChannel(HANDLE in, HANDLE out) : in_(in), out_(out) {}
    ~PipeChannel() override {
        CloseHandle(in_);
        CloseHandle(out_);
    }
    long read(uint8_t* data, size_t size) override {
        DWORD n = 0;
        if (!ReadFile(in_, data, static_cast<DWORD>(size), &n, nullptr))
            return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
        return static_cast<long>(n);
    }
    bool write(const uint8_t* data, size_t size) override {
        while (size > 0) {
            DWORD n = 0;
            if (!WriteFile(out_, data, static_cast<DWORD>(size), &n, nullptr) || n == 0)
                return false;
            data += n;
            size -= n;
        }
        return true;
    }
    void note(const std::string& text) override {
        const std::string line = "km207-driverhost: " + text + "\n";
        DWORD n = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()), &n,
                  nullptr);
    }

  private:
    HANDLE in_, out_;
};

// The pipe the frames go out on, for the last word of a crash.
HANDLE frames_out = nullptr;

// A library that crashes ends the host at once: no error dialog, no
// debugger waiting for a click. The program is told why in a Crashed frame
// before the pipe closes, and the host ends with the exception's code.
LONG WINAPI end_on_crash(EXCEPTION_POINTERS* info) {
    const DWORD code = info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 0;
    DWORD written = 0;
    uint8_t frame[kCrashedFrameSize];
    if (frames_out && crashed_frame(kCrashException, code, frame))
        WriteFile(frames_out, frame, sizeof frame, &written, nullptr);
    char line[96];
    const int n = snprintf(line, sizeof line, "km207-driverhost: the library crashed (0x%08lx)\n",
                           static_cast<unsigned long>(code));
    if (n > 0)
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(n), &written, nullptr);
    TerminateProcess(GetCurrentProcess(), code ? code : 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

HANDLE duplicate(HANDLE h) {
    HANDLE copy = nullptr;
    if (h == nullptr || h == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &copy, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
        return nullptr;
    return copy;
}

} // namespace

std::unique_ptr<Channel> standard_channel() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(end_on_crash);
    // Private copies for the frames, taken before the C runtime's descriptors
    // 0 and 1 (which own the original handles) are pointed elsewhere.
    HANDLE in = duplicate(GetStdHandle(STD_INPUT_HANDLE));
    HANDLE out = duplicate(GetStdHandle(STD_OUTPUT_HANDLE));
    if (!in || !out) {
        if (in) CloseHandle(in);
        if (out) CloseHandle(out);
        return nullptr;
    }
    const int null = _open("NUL", _O_RDONLY | _O_BINARY);
    if (null >= 0) {
        _dup2(null, 0);
        _close(null);
    }
    _dup2(2, 1);
    SetStdHandle(STD_INPUT_HANDLE, reinterpret_cast<HANDLE>(_get_osfhandle(0)));
    SetStdHandle(STD_OUTPUT_HANDLE, GetStdHandle(STD_ERROR_HANDLE));
    frames_out = out;
    return std::make_unique<PipeChannel>(in, out);
}

} // namespace kmhost
