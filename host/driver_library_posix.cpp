// Driver libraries on POSIX systems: dlopen and dlsym.
#include "driver_library.h"

#include <dlfcn.h>

namespace kmhost {

namespace {

class PosixLibrary : public DriverLibrary {
  public:
    explicit PosixLibrary(void* handle) : handle_(handle) {}
    ~PosixLibrary() override { dlclose(handle_); }
    void* entry(const std::string& name, unsigned) const override {
        return dlsym(handle_, name.c_str());
    }

  private:
    void* handle_;
};

} // namespace

std::unique_ptr<DriverLibrary> open_driver_library(const std::string& path) {
    // dlopen takes a name without a slash through the library search as it
    // stands; nothing is prefixed or appended.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    return std::make_unique<PosixLibrary>(handle);
}

} // namespace kmhost
