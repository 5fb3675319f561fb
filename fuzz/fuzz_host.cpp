// The driver host's frame reader and serving loop fed with arbitrary bytes as
// its standard input, serving a library whose entries use every cell they
// are handed, as far as they may.
#include "host_serve.h"
#include "km_host_frame.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

// The input arrives in pieces of changing size, as a pipe may deliver it.
class MemoryChannel : public kmhost::Channel {
  public:
    MemoryChannel(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    long read(uint8_t* out, size_t max) override {
        if (pos_ == size_) return 0;
        size_t n = 1 + (pos_ * 7 + calls_++ * 13) % 97;
        n = std::min({n, max, size_ - pos_});
        std::memcpy(out, data_ + pos_, n);
        pos_ += n;
        return static_cast<long>(n);
    }
    bool write(const uint8_t* data, size_t size) override {
        // Every reply must be a whole, well-formed frame.
        if (size < kmhost::kHeaderSize || data[0] != kmhost::kMagic0) __builtin_trap();
        written_ += size;
        return true;
    }
    void note(const std::string&) override {}

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    size_t calls_ = 0;
    size_t written_ = 0;
};

uint32_t sum(const uint32_t* v, size_t n) {
    uint32_t s = 0;
    for (size_t i = 0; i < n; ++i)
        s += v[i];
    return s;
}

uint32_t KM_CALL version() {
    return 1;
}
uint32_t KM_CALL init_value(uint32_t* handle, uint32_t value) {
    *handle += value | 1;
    return 0;
}
uint32_t KM_CALL init_plain(uint32_t* handle) {
    *handle += 1;
    return 0;
}
uint32_t KM_CALL init_lan(uint32_t* handle, const uintptr_t* config) {
    const char* ip = reinterpret_cast<const char*>(config[0]);
    *handle = static_cast<uint32_t>(config[1] + config[15] + (ip ? std::strlen(ip) : 0));
    return 0;
}
uint32_t KM_CALL set_config(uint32_t handle, uint32_t baud, uint32_t, uint32_t) {
    return handle ^ baud;
}
uint32_t KM_CALL get_config(uint32_t, uint32_t*, uint32_t*, uint32_t*) {
    return 0;
}
uint32_t KM_CALL send(uint32_t handle, const uint32_t* request, uint32_t* reply, uint32_t* out,
                      uint32_t* status) {
    const uint32_t s = request ? sum(request, KM_REQUEST_LEN) : 0;
    if (reply)
        for (uint32_t i = 0; i < KM_REPLY_LEN; ++i)
            reply[i] += s + i;
    if (out) *out += handle;
    if (status) *status = s & 0xFF;
    return 0;
}
uint32_t KM_CALL done(uint32_t* handle) {
    *handle = 0;
    return 0;
}
uint32_t KM_CALL error(uint32_t code, uint32_t* text) {
    if (text)
        for (uint32_t i = 0; i < KM_TEXT_LEN; ++i)
            text[i] = i + 1 < KM_TEXT_LEN ? 'a' + (code + i) % 26 : 0;
    return 0;
}

// Which entries a path's library has: "none" does not load; "part" lacks
// GetConfig; any other path has all seven.
class FakeLibrary : public kmhost::DriverLibrary {
  public:
    explicit FakeLibrary(bool whole) : whole_(whole) {}
    void* entry(const std::string& name, unsigned) const override {
        const std::string what = name.substr(name.find('_') + 1);
        if (what == "Init") {
            if (name.rfind("KL4100_", 0) == 0) return reinterpret_cast<void*>(init_lan);
            if (name.rfind("KPB4100_", 0) == 0 || name.rfind("KUB4100_", 0) == 0)
                return reinterpret_cast<void*>(init_plain);
            return reinterpret_cast<void*>(init_value);
        }
        static const std::map<std::string, void*> others = {
            {"Version", reinterpret_cast<void*>(version)},
            {"SetConfig", reinterpret_cast<void*>(set_config)},
            {"GetConfig", reinterpret_cast<void*>(get_config)},
            {"Send", reinterpret_cast<void*>(send)},
            {"Done", reinterpret_cast<void*>(done)},
            {"Error", reinterpret_cast<void*>(error)}};
        if (what == "GetConfig" && !whole_) return nullptr;
        const auto it = others.find(what);
        return it == others.end() ? nullptr : it->second;
    }

  private:
    bool whole_;
};

std::unique_ptr<kmhost::DriverLibrary> open_fake(const std::string& path) {
    if (path == "none") return nullptr;
    return std::make_unique<FakeLibrary>(path != "part");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryChannel io(data, size);
    kmhost::serve(io, open_fake);
    return 0;
}
