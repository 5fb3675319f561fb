// Driver libraries on Windows: LoadLibraryExW and GetProcAddress.
#include "driver_library.h"
#include "win32_text.h"

#include <windows.h>

#include <cstdio>

namespace kmhost {

using km::platform::widen;

namespace {

// Under Wine the program hands over a Linux path; Wine's own call maps it to
// a Windows one whatever the drive letters of the prefix are.
std::wstring windows_path(const std::string& path) {
    if (!path.empty() && path[0] == '/') {
        using ToDos = WCHAR*(CDECL*)(const char*);
        const auto to_dos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
        if (to_dos) {
            if (WCHAR* dos = to_dos(path.c_str())) {
                std::wstring w(dos);
                HeapFree(GetProcessHeap(), 0, dos);
                return w;
            }
        }
    }
    return widen(path);
}

class WindowsLibrary : public DriverLibrary {
  public:
    explicit WindowsLibrary(HMODULE module) : module_(module) {}
    ~WindowsLibrary() override { FreeLibrary(module_); }
    void* entry(const std::string& name, unsigned arg_bytes) const override {
        if (FARPROC f = GetProcAddress(module_, name.c_str())) return reinterpret_cast<void*>(f);
        char decorated[160];
        for (const char* form : {"_%s@%u", "%s@%u"}) {
            snprintf(decorated, sizeof decorated, form, name.c_str(), arg_bytes);
            if (FARPROC f = GetProcAddress(module_, decorated)) return reinterpret_cast<void*>(f);
        }
        return nullptr;
    }

  private:
    HMODULE module_;
};

} // namespace

std::unique_ptr<DriverLibrary> open_driver_library(const std::string& path) {
    const std::wstring w = windows_path(path);
    if (w.empty()) return nullptr;
    // A library given with its folder finds its own dependencies beside it.
    // A bare name is looked for only in the program's folder and the
    // system's: never in the working folder or along PATH, where anyone
    // could leave a library of that name.
    const bool has_folder = w.find_first_of(L"\\/:") != std::wstring::npos;
    // No "cannot load" message box: a failure is a code for the caller.
    DWORD old_mode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &old_mode);
    HMODULE module = LoadLibraryExW(w.c_str(), nullptr,
                                    has_folder ? LOAD_WITH_ALTERED_SEARCH_PATH
                                               : LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    SetThreadErrorMode(old_mode, nullptr);
    if (!module) return nullptr;
    return std::make_unique<WindowsLibrary>(module);
}

} // namespace kmhost
