// UTF-8 to the wide strings of Windows' own calls (paths, command lines).
#pragma once

#include <windows.h>

#include <string>

namespace km::platform {

// Empty when `utf8` is empty or not valid UTF-8.
inline std::wstring widen(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                      static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                        w.data(), n);
    return w;
}

} // namespace km::platform
