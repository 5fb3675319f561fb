// Child processes on Windows: CreateProcessW, and named pipes whose ends on
// this side are overlapped, so that every wait has a deadline (an anonymous
// pipe can only be read by blocking).
#ifndef NOMINMAX
#define NOMINMAX // std::min and std::max, not the macros of windows.h
#endif
#include "child_process.h"
#include "win32_text.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

namespace kmhost {

using km::platform::widen;

namespace {

constexpr DWORD kReapMs = 3000;
constexpr DWORD kPipeBytes = 65536;
constexpr DWORD kMaxTransfer = 1 << 20;

void close_handle(HANDLE& h) {
    if (h) CloseHandle(h);
    h = nullptr;
}

// A pipe: this side's end overlapped, the child's end inheritable. The
// name is unique to this process and call, and refuses remote clients.
bool make_pipe(bool child_writes, HANDLE& ours, HANDLE& theirs) {
    static LONG count = 0;
    const std::wstring name = L"\\\\.\\pipe\\km207-" + std::to_wstring(GetCurrentProcessId()) +
                              L"-" + std::to_wstring(InterlockedIncrement(&count)) + L"-" +
                              std::to_wstring(GetTickCount64());
    ours = CreateNamedPipeW(name.c_str(),
                            (child_writes ? PIPE_ACCESS_INBOUND : PIPE_ACCESS_OUTBOUND) |
                                FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                            PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT |
                                PIPE_REJECT_REMOTE_CLIENTS,
                            1, kPipeBytes, kPipeBytes, 0, nullptr);
    if (ours == INVALID_HANDLE_VALUE) {
        ours = nullptr;
        return false;
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    theirs = CreateFileW(name.c_str(), child_writes ? GENERIC_WRITE : GENERIC_READ, 0, &inherit,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (theirs == INVALID_HANDLE_VALUE) {
        theirs = nullptr;
        close_handle(ours);
        return false;
    }
    return true;
}

// One argument of a command line, quoted so that the child's C runtime
// splits it back unchanged.
void append_argument(std::wstring& line, const std::wstring& arg) {
    if (!line.empty()) line += L' ';
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += arg;
        return;
    }
    line += L'"';
    for (auto it = arg.begin();; ++it) {
        size_t backslashes = 0;
        for (; it != arg.end() && *it == L'\\'; ++it)
            ++backslashes;
        if (it == arg.end()) {
            line.append(2 * backslashes, L'\\'); // before the closing quote
            break;
        }
        if (*it == L'"') {
            line.append(2 * backslashes + 1, L'\\');
        } else {
            line.append(backslashes, L'\\');
        }
        line += *it;
    }
    line += L'"';
}

// This process's environment with the command's variables over it, as a
// block sorted by name; empty when the child simply inherits.
std::vector<wchar_t> environment_block(const ChildCommand& command) {
    std::vector<wchar_t> block;
    if (command.environment.empty()) return block;
    std::vector<std::wstring> entries, names;
    for (const auto& v : command.environment)
        names.push_back(widen(v.first));
    const auto name_of = [](const std::wstring& entry) {
        return entry.substr(0, entry.find(L'=', 1)); // "=C:=C:\dir" names start with '='
    };
    if (wchar_t* own = GetEnvironmentStringsW()) {
        for (const wchar_t* e = own; *e; e += wcslen(e) + 1) {
            const std::wstring entry(e);
            const std::wstring name = name_of(entry);
            if (std::none_of(names.begin(), names.end(), [&name](const std::wstring& n) {
                    return _wcsicmp(n.c_str(), name.c_str()) == 0;
                }))
                entries.push_back(entry);
        }
        FreeEnvironmentStringsW(own);
    }
    for (size_t i = 0; i < names.size(); ++i)
        entries.push_back(names[i] + L"=" + widen(command.environment[i].second));
    std::sort(entries.begin(), entries.end(), [&name_of](const auto& a, const auto& b) {
        return _wcsicmp(name_of(a).c_str(), name_of(b).c_str()) < 0;
    });
    for (const std::wstring& e : entries) {
        block.insert(block.end(), e.begin(), e.end());
        block.push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
}

class WindowsChild final : public ChildProcess {
  public:
    WindowsChild(HANDLE process, HANDLE in, HANDLE out, HANDLE event)
        : process_(process), in_(in), out_(out), event_(event) {}
    ~WindowsChild() override {
        kill();
        close_handle(event_);
    }

    bool write(const uint8_t* data, size_t size, int timeout_ms) override {
        const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::max(timeout_ms, 0));
        while (size > 0 && in_) {
            DWORD n = 0;
            if (transfer(in_, false, const_cast<uint8_t*>(data), size, left(end), n) != Done ||
                n == 0)
                return false;
            data += n;
            size -= n;
        }
        return size == 0;
    }

    long read(uint8_t* data, size_t size, int timeout_ms) override {
        const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::max(timeout_ms, 0));
        while (out_) {
            DWORD n = 0;
            switch (transfer(out_, true, data, size, left(end), n)) {
            case Done:
                if (n > 0) return static_cast<long>(n);
                if (left(end) == 0) return kTimedOut;
                break; // a write of nothing
            case Closed:
                return kEnded;
            case ChildGone:
                // Nothing it wrote is left (the read would have taken it);
                // its output may stay open in a process it started.
                return kEnded;
            case TimedOut:
                return kTimedOut;
            case Failed:
                return kFailed;
            }
        }
        return kEnded;
    }

    void finish(int timeout_ms) override {
        close_handle(in_); // the end of its input tells it to end
        if (process_ && WaitForSingleObject(
                            process_, static_cast<DWORD>(std::max(timeout_ms, 0))) != WAIT_OBJECT_0)
            kill();
        end();
    }

    void kill() override {
        if (process_) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, kReapMs);
        }
        end();
    }

  private:
    static DWORD left(ULONGLONG end) {
        const ULONGLONG now = GetTickCount64();
        return now >= end ? 0 : static_cast<DWORD>(std::min<ULONGLONG>(end - now, INFINITE - 1));
    }

    enum Outcome { Done, Closed, ChildGone, TimedOut, Failed };

    // One overlapped read or write, waited for until `wait_ms` passes or
    // (reading) the child ends; over, done or cancelled, on return, so the
    // buffer is free again.
    Outcome transfer(HANDLE h, bool reading, uint8_t* data, size_t size, DWORD wait_ms, DWORD& n) {
        OVERLAPPED ov{};
        ov.hEvent = event_;
        const DWORD len = static_cast<DWORD>(std::min<size_t>(size, kMaxTransfer));
        const BOOL started =
            reading ? ReadFile(h, data, len, nullptr, &ov) : WriteFile(h, data, len, nullptr, &ov);
        if (!started && GetLastError() != ERROR_IO_PENDING) return failure(GetLastError());
        DWORD woke = WAIT_OBJECT_0;
        if (!started) {
            const HANDLE waits[2] = {event_, process_};
            woke = WaitForMultipleObjects(reading ? 2 : 1, waits, FALSE, wait_ms);
            if (woke != WAIT_OBJECT_0) CancelIoEx(h, &ov);
        }
        if (GetOverlappedResult(h, &ov, &n, TRUE)) return Done;
        const DWORD error = GetLastError();
        if (error != ERROR_OPERATION_ABORTED) return failure(error);
        return woke == WAIT_TIMEOUT ? TimedOut : woke == WAIT_OBJECT_0 + 1 ? ChildGone : Failed;
    }

    static Outcome failure(DWORD error) {
        // The other end closed: the child ended or shut its output (a
        // write finds ERROR_NO_DATA).
        return error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA ? Closed : Failed;
    }

    void end() {
        close_handle(in_);
        close_handle(out_);
        close_handle(process_);
    }

    HANDLE process_, in_, out_, event_;
};

// One job for every child of this process, closed only by the system when
// this process ends, however it ends: the job then kills what is left in it,
// so no driver host outlives the program.
HANDLE children_job() {
    static const HANDLE job = [] {
        HANDLE j = CreateJobObjectW(nullptr, nullptr);
        if (!j) return j;
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (!SetInformationJobObject(j, JobObjectExtendedLimitInformation, &limits, sizeof limits))
            close_handle(j);
        return j;
    }();
    return job;
}

} // namespace

std::unique_ptr<ChildProcess> start_child(const ChildCommand& command) {
    const std::wstring program = widen(command.program);
    if (program.empty()) return nullptr;
    std::wstring line;
    append_argument(line, program);
    for (const std::string& a : command.arguments)
        append_argument(line, widen(a));
    std::vector<wchar_t> env = environment_block(command);

    HANDLE in_ours = nullptr, in_theirs = nullptr, out_ours = nullptr, out_theirs = nullptr;
    HANDLE err_theirs = nullptr;
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const auto release = [&] {
        close_handle(in_theirs);
        close_handle(out_theirs);
        close_handle(err_theirs);
    };
    const auto fail = [&] {
        release();
        close_handle(in_ours);
        close_handle(out_ours);
        close_handle(event);
        return nullptr;
    };
    if (!event || !make_pipe(false, in_ours, in_theirs) || !make_pipe(true, out_ours, out_theirs))
        return fail();
    // The child's standard error is this process's own, where it has one.
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err && err != INVALID_HANDLE_VALUE)
        DuplicateHandle(GetCurrentProcess(), err, GetCurrentProcess(), &err_theirs, 0, TRUE,
                        DUPLICATE_SAME_ACCESS);

    // The child inherits exactly its three handles, not whatever else of
    // this process happens to be inheritable at the moment.
    HANDLE inherit[3] = {in_theirs, out_theirs, err_theirs};
    const DWORD inherit_count = err_theirs ? 3 : 2;
    SIZE_T list_bytes = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &list_bytes);
    std::vector<char> list_memory(list_bytes);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list_memory.data());
    if (!InitializeProcThreadAttributeList(list, 1, 0, &list_bytes)) return fail();
    STARTUPINFOEXW si{};
    si.StartupInfo.cb = sizeof si;
    si.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    si.StartupInfo.hStdInput = in_theirs;
    si.StartupInfo.hStdOutput = out_theirs;
    si.StartupInfo.hStdError = err_theirs;
    si.lpAttributeList = list;
    PROCESS_INFORMATION pi{};
    // A console program started from a windowed one gets no window of its own.
    // Suspended until it is in the job, so that nothing it starts escapes.
    const DWORD flags = CREATE_UNICODE_ENVIRONMENT | EXTENDED_STARTUPINFO_PRESENT |
                        CREATE_SUSPENDED | (GetConsoleWindow() ? 0 : CREATE_NO_WINDOW);
    const bool started =
        UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherit,
                                  inherit_count * sizeof(HANDLE), nullptr, nullptr) &&
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, flags,
                       env.empty() ? nullptr : env.data(), nullptr, &si.StartupInfo, &pi);
    DeleteProcThreadAttributeList(list);
    if (!started) return fail();
    release();
    // Outside a job (assignment refused) it still runs, and is ended by
    // finish() or kill() as before.
    if (const HANDLE job = children_job()) AssignProcessToJobObject(job, pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    return std::make_unique<WindowsChild>(pi.hProcess, in_ours, out_ours, event);
}

} // namespace kmhost
