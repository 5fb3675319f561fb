// Windows has no SIGUSR1 or SIGUSR2 (no power cycle or switch by signal) and no pseudo-terminal
// to link to; its console takes text as wide characters.
#include "sim_platform.h"

#include <csignal>
#include <string>

#include <io.h>
#include <windows.h>

namespace km::emu {

void install_signals(void (*stop)(int), void (*)(int), void (*)(int)) {
    std::signal(SIGINT, stop);
    std::signal(SIGTERM, stop);
    std::signal(SIGBREAK, stop);
}

bool make_link(const std::string&, const std::string&, std::string& error) {
    error = "--pty-link needs a pseudo-terminal (Linux only)";
    return false;
}

void remove_link(const std::string&) {}

void write_text(std::FILE* stream, const std::string& text) {
    std::fflush(stream);
    const auto h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    // A pipe or a file gets the bytes; only a console needs wide characters.
    if (h == INVALID_HANDLE_VALUE || !GetConsoleMode(h, &mode)) {
        std::fputs(text.c_str(), stream);
        std::fflush(stream);
        return;
    }
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    DWORD written = 0;
    WriteConsoleW(h, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

} // namespace km::emu
