// Regular files on Windows.
#include "regular_file.h"

#include "win32_text.h"

#include <cwctype>
#include <fcntl.h>
#include <io.h>

namespace kmhost {

using km::platform::widen;

namespace {

// A name that Windows takes for a device in any folder, whatever follows a
// dot: CON, PRN, AUX, NUL, COM1-9, LPT1-9. The console cannot be opened by
// a program without one, yet it is no missing file.
bool device_name(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/:");
    std::wstring name = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ')
        name.pop_back();
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(towupper(c));
    if (name == L"CON" || name == L"PRN" || name == L"AUX" || name == L"NUL") return true;
    return name.size() == 4 && (name.starts_with(L"COM") || name.starts_with(L"LPT")) &&
           name[3] >= L'1' && name[3] <= L'9';
}

// A descriptor of the C runtime that owns H, or -1 with H closed.
int adopt(HANDLE h, int flags, RegularFile& result) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), flags);
    if (fd < 0) {
        CloseHandle(h);
        result = RegularFile::Failed;
        return -1;
    }
    result = RegularFile::Opened;
    return fd;
}

} // namespace

int open_regular_file(const std::string& path, RegularFile& result) {
    const std::wstring wide = widen(path);
    const DWORD attributes =
        wide.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        result = device_name(wide) ? RegularFile::NotRegular
                 : error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                     ? RegularFile::Missing
                 : error == ERROR_ACCESS_DENIED ? RegularFile::Denied
                                                : RegularFile::Failed;
        return -1;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        result = RegularFile::NotRegular;
        return -1;
    }
    const HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        result = device_name(wide)              ? RegularFile::NotRegular
                 : error == ERROR_ACCESS_DENIED ? RegularFile::Denied
                                                : RegularFile::Failed;
        return -1;
    }
    // A device name (NUL, COM1) or a pipe opens too; only a disk file is read.
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        result = RegularFile::NotRegular;
        return -1;
    }
    return adopt(h, _O_RDONLY | _O_BINARY, result);
}

int open_file_for_append(const std::string& path, bool overwrite, RegularFile& result) {
    const std::wstring wide = widen(path);
    if (wide.empty() || device_name(wide)) {
        result = wide.empty() ? RegularFile::Missing : RegularFile::NotRegular;
        return -1;
    }
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && !overwrite) {
        result = RegularFile::Exists;
        return -1;
    }
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        result = RegularFile::NotRegular;
        return -1;
    }
    const HANDLE h =
        CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    exists ? OPEN_EXISTING : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        result = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? RegularFile::Exists
                 : error == ERROR_ACCESS_DENIED                              ? RegularFile::Denied
                 : error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                     ? RegularFile::Missing
                     : RegularFile::Failed;
        return -1;
    }
    // A pipe or a device opens too; only a disk file is written. Emptied in
    // place (the position is at its start): it stays the same file.
    if (GetFileType(h) != FILE_TYPE_DISK || (exists && !SetEndOfFile(h))) {
        result = GetFileType(h) != FILE_TYPE_DISK ? RegularFile::NotRegular : RegularFile::Failed;
        CloseHandle(h);
        return -1;
    }
    return adopt(h, _O_WRONLY | _O_APPEND | _O_BINARY, result);
}

} // namespace kmhost
