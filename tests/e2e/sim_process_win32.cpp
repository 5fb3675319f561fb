// SimProcess on Windows: km207-sim.exe from beside the test (the loader's
// search for a bare name starts in the test's own folder), its stdout on a
// pipe, in a job object so that it ends with the test. It serves UDP only;
// pty() stays empty.
#include "sim_process.h"

#include "win32_text.h"

#include <windows.h>

namespace {

HANDLE handle(intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

// One argument quoted as the C runtime splits a command line.
std::wstring quoted(const std::string& arg) {
    const std::wstring w = km::platform::widen(arg);
    if (!w.empty() && w.find_first_of(L" \t\"") == std::wstring::npos) return w;
    std::wstring q = L"\"";
    size_t slashes = 0;
    for (wchar_t c : w) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        q.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        q += c;
    }
    q.append(slashes * 2, L'\\');
    return q + L"\"";
}

} // namespace

std::string SimProcess::default_executable() {
    return "km207-sim.exe";
}

bool SimProcess::spawn(std::vector<std::string>& args) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 0)) return false;
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    std::wstring line;
    for (const std::string& a : args)
        line += (line.empty() ? L"" : L" ") + quoted(a);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = write_end;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    // The job ends the emulator when the test dies without stop().
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job)
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    const BOOL ok = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED,
                                   nullptr, nullptr, &si, &pi);
    CloseHandle(write_end);
    if (!ok) {
        CloseHandle(read_end);
        if (job) CloseHandle(job);
        return false;
    }
    if (job) AssignProcessToJobObject(job, pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    pid_ = static_cast<pid_t>(pi.dwProcessId);
    process_ = reinterpret_cast<intptr_t>(pi.hProcess);
    job_ = job ? reinterpret_cast<intptr_t>(job) : -1;
    out_ = reinterpret_cast<intptr_t>(read_end);
    return true;
}

int SimProcess::read_pipe(char* buf, size_t cap, int timeout_ms) {
    // An anonymous pipe cannot be waited on: look, then nap briefly.
    const ULONGLONG end =
        GetTickCount64() + static_cast<ULONGLONG>(timeout_ms > 0 ? timeout_ms : 0);
    for (;;) {
        DWORD avail = 0;
        if (!PeekNamedPipe(handle(out_), nullptr, 0, nullptr, &avail, nullptr)) return -1;
        if (avail > 0) {
            DWORD got = 0;
            const DWORD want = avail < cap ? avail : static_cast<DWORD>(cap);
            if (!ReadFile(handle(out_), buf, want, &got, nullptr) || got == 0) return -1;
            return static_cast<int>(got);
        }
        if (GetTickCount64() >= end) return 0;
        Sleep(5);
    }
}

void SimProcess::close_pipe() {
    if (out_ != -1) CloseHandle(handle(out_));
    out_ = -1;
}

bool SimProcess::has_exited() const {
    return WaitForSingleObject(handle(process_), 0) == WAIT_OBJECT_0;
}

void SimProcess::end_process() {
    // Windows has no SIGTERM to send; the emulator keeps no state to save.
    TerminateProcess(handle(process_), 1);
    WaitForSingleObject(handle(process_), 5000);
    CloseHandle(handle(process_));
    process_ = -1;
    if (job_ != -1) CloseHandle(handle(job_));
    job_ = -1;
}
