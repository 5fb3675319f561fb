#include "console.h"

#include <algorithm>
#include <cerrno>

#include <io.h>
#include <windows.h>

namespace km207 {

namespace {

// The console behind a stream, or null when it goes to a pipe or a file.
HANDLE consoleOf(FILE* stream) {
    const auto h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode) ? h : nullptr;
}

} // namespace

bool isTerminal(FILE* stream) {
    // Not _isatty: it also holds for the NUL device.
    return consoleOf(stream) != nullptr;
}

bool writeText(FILE* stream, const QString& text) {
    if (const HANDLE console = consoleOf(stream)) {
        // Wide characters: the console's code page (often 852 or 1250) would
        // garble UTF-8 bytes, and changing it would outlast this program.
        std::fflush(stream);
        const auto* chars = reinterpret_cast<const wchar_t*>(text.utf16());
        qsizetype left = text.size();
        while (left > 0) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<qsizetype>(left, 8192));
            if (!WriteConsoleW(console, chars, chunk, &written, nullptr) || written == 0) {
                errno = EIO;
                return false;
            }
            chars += written;
            left -= written;
        }
        return true;
    }
    const QByteArray bytes = text.toUtf8();
    const size_t n = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    return std::fflush(stream) == 0 && n == static_cast<size_t>(bytes.size());
}

} // namespace km207
