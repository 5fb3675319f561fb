// The entry points of the five driver libraries, loaded by file name as the
// program loads them: exports, handles, validation, error texts.
#include "device_resolve.h"
#include "driver_core.h"
#include "driver_errors.h"
#include "driver_lib.h"
#include "pty_peer.h"
#include "serial_port.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <elf.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <set>
#include <sys/socket.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const char* const kPrefixes[] = {"KSER410", "KIB410", "KPB4100", "KUB4100", "KL4100"};

// Sets an environment variable for one test and restores it after.
class EnvGuard {
  public:
    EnvGuard(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            had_ = true;
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~EnvGuard() {
        if (had_)
            setenv(name_.c_str(), old_.c_str(), 1);
        else
            unsetenv(name_.c_str());
    }

  private:
    std::string name_;
    bool had_ = false;
    std::string old_;
};

// Names of the functions and objects a 64-bit ELF shared object exports.
std::set<std::string> exported_symbols(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::set<std::string> names;
    if (data.size() < sizeof(Elf64_Ehdr)) return names;
    Elf64_Ehdr eh;
    std::memcpy(&eh, data.data(), sizeof eh);
    auto section = [&](std::size_t i) {
        Elf64_Shdr sh;
        std::memcpy(&sh, data.data() + eh.e_shoff + i * eh.e_shentsize, sizeof sh);
        return sh;
    };
    for (std::size_t i = 0; i < eh.e_shnum; ++i) {
        Elf64_Shdr sh = section(i);
        if (sh.sh_type != SHT_DYNSYM) continue;
        Elf64_Shdr strtab = section(sh.sh_link);
        for (std::size_t k = 0; k < sh.sh_size / sizeof(Elf64_Sym); ++k) {
            Elf64_Sym sym;
            std::memcpy(&sym, data.data() + sh.sh_offset + k * sizeof sym, sizeof sym);
            const int bind = ELF64_ST_BIND(sym.st_info);
            const int type = ELF64_ST_TYPE(sym.st_info);
            if (sym.st_shndx == SHN_UNDEF || (bind != STB_GLOBAL && bind != STB_WEAK)) continue;
            if (type != STT_FUNC && type != STT_OBJECT) continue;
            names.insert(data.data() + strtab.sh_offset + sym.st_name);
        }
    }
    return names;
}

std::vector<uint32_t> bytes_of(const char* cp1250) {
    std::vector<uint32_t> v;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(cp1250); *p; ++p)
        v.push_back(*p);
    return v;
}

std::vector<uint32_t> text_of(const DriverLib& d, uint32_t code) {
    std::array<uint32_t, 101> text;
    text.fill(0xDEADBEEF);
    EXPECT_EQ(0u, d.error(code, text.data()));
    EXPECT_EQ(0xDEADBEEFu, text[100]) << "wrote past the 100 values";
    std::vector<uint32_t> v;
    for (int i = 0; i < 100 && text[i]; ++i)
        v.push_back(text[i]);
    for (int i = static_cast<int>(v.size()); i < 100; ++i)
        EXPECT_EQ(0u, text[i]);
    return v;
}

// A UDP port on loopback that nobody answers on (bound, never read).
struct SilentPort {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    uint16_t port = 0;
    SilentPort() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t len = sizeof a;
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    }
    ~SilentPort() { close(fd); }
};

} // namespace

TEST(DriverExports, EachLibraryExportsExactlyItsSevenEntries) {
    for (const char* prefix : kPrefixes) {
        DriverLib d(prefix);
        ASSERT_TRUE(d.lib) << d.path;
        EXPECT_TRUE(d.complete()) << prefix;
        std::set<std::string> want;
        for (const char* e : {"Version", "Init", "SetConfig", "GetConfig", "Send", "Done", "Error"})
            want.insert(std::string(prefix) + "_" + e);
        EXPECT_EQ(want, exported_symbols(d.path)) << prefix;
    }
}

TEST(DriverErrors, TextsAreWindows1250CodesWithinOneHundredValues) {
    DriverLib d("KL4100");
    ASSERT_TRUE(d.complete());
    EXPECT_EQ(bytes_of("V po\xF8\xE1"
                       "dku"),
              text_of(d, 0));
    EXPECT_EQ(bytes_of("Modul neodpov\xED"
                       "d\xE1"),
              text_of(d, km::kErrTimeout));
    EXPECT_EQ(bytes_of("Neplatn\xE1 IP adresa"), text_of(d, km::kErrIpAddress));
    EXPECT_EQ(bytes_of("Za\xF8\xEDzen\xED nenalezeno"), text_of(d, km::kErrNoDevice));
    // The permission text tells the operator what to do.
    std::vector<uint32_t> perm = text_of(d, km::kErrPermission);
    std::string ascii(perm.begin(), perm.end());
    EXPECT_NE(std::string::npos, ascii.find("dialout"));
    EXPECT_EQ(bytes_of("Nezn\xE1m\xE1 chyba ovlada\xE8"
                       "e"),
              text_of(d, 77));
    EXPECT_NE(0u, d.error(5, nullptr));
}

TEST(DriverErrors, EveryCodeOfTheTableHasItsOwnText) {
    DriverLib d("KSER410");
    ASSERT_TRUE(d.complete());
    std::set<std::vector<uint32_t>> seen;
    for (uint32_t code = 0; code <= km::kErrParameter; ++code) {
        auto t = text_of(d, code);
        EXPECT_FALSE(t.empty()) << code;
        EXPECT_TRUE(seen.insert(t).second) << "code " << code << " repeats a text";
    }
}

TEST(DriverHandles, HandlesAreNonzeroDistinctTokensAndDieWithDone) {
    DriverLib d("KL4100");
    ASSERT_TRUE(d.complete());
    SilentPort silent;
    LanConfig cfg;
    uint32_t h1 = 0, h2 = 0;
    ASSERT_EQ(0u, d.init_lan(&h1, cfg.get(silent.port, 20)));
    ASSERT_EQ(0u, d.init_lan(&h2, cfg.get(silent.port, 20)));
    EXPECT_NE(0u, h1);
    EXPECT_NE(0u, h2);
    EXPECT_NE(h1, h2);

    uint32_t cell = h1;
    EXPECT_EQ(0u, d.done(&cell));
    EXPECT_EQ(0u, cell);
    // A closed handle is refused everywhere, and by the result of Send.
    uint32_t req[8] = {0, 200, 0, 0, 0, 0, 0, 0}, rep[100], out = 7, status = 0;
    EXPECT_EQ(km::kErrHandle, d.send(h1, req, rep, &out, &status));
    EXPECT_EQ(km::kErrHandle, status);
    EXPECT_EQ(km::kErrHandle, d.set_config(h1, 9600, 13, 2));
    cell = h1;
    EXPECT_EQ(km::kErrHandle, d.done(&cell));
    EXPECT_NE(0u, d.done(nullptr));
    // Missing references are refused, not dereferenced.
    EXPECT_NE(0u, d.send(h2, nullptr, rep, &out, &status));
    EXPECT_NE(0u, d.send(h2, req, nullptr, &out, &status));
    EXPECT_NE(0u, d.send(h2, req, rep, nullptr, &status));
    EXPECT_NE(0u, d.send(h2, req, rep, &out, nullptr));
    EXPECT_NE(0u, d.init_lan(nullptr, cfg.get(silent.port, 20)));
    // A request value that is no byte is a parameter error in the status.
    uint32_t bad[8] = {0, 300, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0u, d.send(h2, bad, rep, &out, &status));
    EXPECT_EQ(km::kErrParameter, status);
    cell = h2;
    EXPECT_EQ(0u, d.done(&cell));
}

TEST(DriverLan, IpTextThatIsNoAddressIsRefusedAtInit) {
    DriverLib d("KL4100");
    ASSERT_TRUE(d.complete());
    const char* bad[] = {"",           "abc",         "256.1.1.1",      "1.2.3", "1.2.3.4.5",
                         " 127.0.0.1", "127.0.0.1 ",  "127.0.0.1:5000", "::1",   "localhost",
                         "0x7f.0.0.1", "1\xE1.2.3.4", "127.0.0.-1",     "1..2.3"};
    for (const char* ip : bad) {
        LanConfig cfg;
        cfg.ip = ip;
        uint32_t h = 0xDEAD;
        EXPECT_EQ(km::kErrIpAddress, d.init_lan(&h, cfg.get(5000, 100))) << '"' << ip << '"';
        EXPECT_EQ(0u, h) << "a failed Init leaves no handle";
    }
    LanConfig longer;
    longer.ip = std::string(5000, '1');
    uint32_t h = 0;
    EXPECT_EQ(km::kErrIpAddress, d.init_lan(&h, longer.get(5000, 100)));
    // No text at all, and no block at all.
    std::array<uintptr_t, KM_CONFIG_LEN> none{};
    none[1] = 5000;
    EXPECT_EQ(km::kErrIpAddress, d.init_lan(&h, none.data()));
    EXPECT_EQ(km::kErrParameter, d.init_lan(&h, nullptr));
    EXPECT_EQ(0u, h);
}

TEST(DriverLan, UdpPortZeroOrAboveRangeIsRefusedAtInit) {
    DriverLib d("KL4100");
    ASSERT_TRUE(d.complete());
    LanConfig cfg;
    uint32_t h = 5;
    EXPECT_EQ(km::kErrUdpPort, d.init_lan(&h, cfg.get(0, 100)));
    EXPECT_EQ(0u, h);
    EXPECT_EQ(km::kErrUdpPort, d.init_lan(&h, cfg.get(65536, 100)));
    EXPECT_EQ(0u, d.init_lan(&h, cfg.get(65535, 100)));
    EXPECT_NE(0u, h);
    EXPECT_EQ(0u, d.done(&h));
}

TEST(DriverLan, NoAnswerGivesTimeoutAfterRetriesWithinBoundedTime) {
    DriverLib d("KL4100");
    ASSERT_TRUE(d.complete());
    SilentPort silent;
    LanConfig cfg;
    uint32_t h = 0;
    // Timeout 0 runs with the driver's minimum, not "no wait" or "forever".
    ASSERT_EQ(0u, d.init_lan(&h, cfg.get(silent.port, 0)));
    ASSERT_EQ(0u, d.set_config(h, 9600, 13, 2));
    uint32_t req[8] = {0, 200, 0, 0, 0, 0, 0, 0}, rep[100], out = 0, status = 0;
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(0u, d.send(h, req, rep, &out, &status));
    auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0)
            .count();
    EXPECT_EQ(km::kErrTimeout, status);
    EXPECT_GE(ms, 3 * static_cast<long>(km::kMinUdpTimeoutMs) - 1);
    EXPECT_LT(ms, 2000);
    // Three attempts, each with its own transaction number, reached the port.
    uint8_t buf[64];
    std::set<uint16_t> txns;
    while (recv(silent.fd, buf, sizeof buf, MSG_DONTWAIT) == 12)
        txns.insert(buf[0] | buf[1] << 8);
    EXPECT_EQ(3u, txns.size());
    EXPECT_EQ(0u, d.done(&h));
}

TEST(DriverLan, PortNobodyListensOnIsNoAnswerNotAFailure) {
    DriverLib d("KL4100");
    ASSERT_TRUE(d.complete());
    uint16_t closed = 0;
    {
        SilentPort gone; // bound for a moment to learn a free port
        closed = gone.port;
    }
    LanConfig cfg;
    uint32_t h = 0;
    ASSERT_EQ(0u, d.init_lan(&h, cfg.get(closed, 30)));
    ASSERT_EQ(0u, d.set_config(h, 9600, 13, 2));
    uint32_t req[8] = {0, 200, 0, 0, 0, 0, 0, 0}, rep[100], out = 0, status = 0;
    // Each attempt's "port unreachable" comes back; twice, so the one left
    // pending by an attempt is met by the next.
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(0u, d.send(h, req, rep, &out, &status));
        EXPECT_EQ(km::kErrTimeout, status);
    }
    EXPECT_EQ(0u, d.done(&h));
}

TEST(DriverSerial, MissingDeviceIsDeviceNotFound) {
    DriverLib ser("KSER410"), isa("KIB410"), pci("KPB4100"), usb("KUB4100");
    ASSERT_TRUE(ser.complete() && isa.complete() && pci.complete() && usb.complete());
    uint32_t h = 9;
    {
        EnvGuard e("KM207_COM7", "/nonexistent/ttyKM");
        EXPECT_EQ(km::kErrNoDevice, ser.init_value(&h, 7));
        EXPECT_EQ(0u, h);
    }
    EXPECT_EQ(km::kErrNoDevice, ser.init_value(&h, 0)) << "there is no COM0";
    {
        // A file that is no terminal is no serial port either.
        std::string file = testing::TempDir() + "/not_a_tty_" + std::to_string(getpid());
        std::ofstream(file) << "x";
        EnvGuard e("KM207_COM2", file);
        EXPECT_EQ(km::kErrNoDevice, ser.init_value(&h, 2));
        fs::remove(file);
    }
    {
        EnvGuard e("KM207_KIB410", "/nonexistent/ttyKM");
        EXPECT_EQ(km::kErrNoDevice, isa.init_value(&h, 0x300));
    }
    {
        EnvGuard e("KM207_KPB4100", "/nonexistent/ttyKM");
        EXPECT_EQ(km::kErrNoDevice, pci.init_plain(&h));
    }
    {
        EnvGuard e("KM207_KUB4100", "/nonexistent/ttyKM");
        EXPECT_EQ(km::kErrNoDevice, usb.init_plain(&h));
    }
    EXPECT_EQ(0u, h);
}

TEST(DriverSerial, OverrideThatCannotNameADeviceIsDeviceNotFound) {
    DriverLib ser("KSER410");
    ASSERT_TRUE(ser.complete());
    const fs::path dir = fs::path(testing::TempDir()) / ("km_dev_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path loop = dir / "loop";
    fs::create_symlink(loop, loop);
    const std::string long_path = "/tmp/" + std::string(5000, 'x');
    for (const std::string& path : {dir.string(), loop.string(), long_path}) {
        EnvGuard e("KM207_COM6", path);
        uint32_t h = 9;
        EXPECT_EQ(km::kErrNoDevice, ser.init_value(&h, 6)) << path.substr(0, 80);
        EXPECT_EQ(0u, h);
    }
    fs::remove_all(dir);
}

TEST(DriverSerial, EveryKindOpensTheDeviceItsVariableNames) {
    PtyPeer peer([](const km::proto::Request&, const std::vector<uint8_t>&, int) {
        return std::vector<PeerWrite>{};
    });
    ASSERT_FALSE(peer.path().empty());
    EnvGuard e0("KM207_COM3", peer.path()), e1("KM207_KIB410", peer.path()),
        e2("KM207_KPB4100", peer.path()), e3("KM207_KUB4100", peer.path());
    for (const char* prefix : {"KSER410", "KIB410", "KPB4100", "KUB4100"}) {
        DriverLib d(prefix);
        ASSERT_TRUE(d.complete());
        uint32_t h = 0;
        uint32_t st = (d.prefix == "KSER410")  ? d.init_value(&h, 3)
                      : (d.prefix == "KIB410") ? d.init_value(&h, 0x2F8)
                                               : d.init_plain(&h);
        EXPECT_EQ(0u, st) << prefix;
        EXPECT_NE(0u, h) << prefix;
        EXPECT_EQ(0u, d.done(&h)) << prefix;
    }
}

TEST(DriverSerial, SecondUserOfAPortIsToldItIsBusy) {
    PtyPeer peer([](const km::proto::Request&, const std::vector<uint8_t>&, int) {
        return std::vector<PeerWrite>{};
    });
    EnvGuard e("KM207_COM4", peer.path());
    DriverLib d("KSER410");
    ASSERT_TRUE(d.complete());
    uint32_t h1 = 0, h2 = 0;
    ASSERT_EQ(0u, d.init_value(&h1, 4));
    EXPECT_EQ(km::kErrBusy, d.init_value(&h2, 4));
    EXPECT_EQ(0u, h2);
    EXPECT_EQ(0u, d.done(&h1));
    // Closed again: free for the next user.
    EXPECT_EQ(0u, d.init_value(&h2, 4));
    EXPECT_EQ(0u, d.done(&h2));
}

TEST(DriverSerial, BaudRateOutsideTheModulesRatesIsRefused) {
    PtyPeer peer([](const km::proto::Request&, const std::vector<uint8_t>&, int) {
        return std::vector<PeerWrite>{};
    });
    EnvGuard e("KM207_COM5", peer.path());
    DriverLib d("KSER410");
    ASSERT_TRUE(d.complete());
    uint32_t h = 0;
    ASSERT_EQ(0u, d.init_value(&h, 5));
    for (uint32_t baud : {0u, 300u, 12345u, 230400u})
        EXPECT_EQ(km::kErrBaud, d.set_config(h, baud, 13, 2)) << baud;
    for (uint32_t baud : {600u, 1200u, 2400u, 4800u, 9600u, 19200u, 38400u, 57600u, 115200u})
        EXPECT_EQ(0u, d.set_config(h, baud, 5, 2)) << baud;
    uint32_t b = 0, t = 0, r = 0;
    EXPECT_EQ(0u, d.get_config(h, &b, &t, &r));
    EXPECT_EQ(115200u, b);
    EXPECT_EQ(5u, t);
    EXPECT_EQ(2u, r);
    // Retries are bounded so that one Send cannot block for long.
    EXPECT_EQ(0u, d.set_config(h, 9600, 13, 1000));
    EXPECT_EQ(0u, d.get_config(h, &b, &t, &r));
    EXPECT_EQ(km::kMaxRetries, r);
    EXPECT_EQ(0u, d.done(&h));
}

TEST(DriverSerial, PermissionDeniedIsItsOwnCode) {
    EXPECT_EQ(km::kErrPermission, km::status_from_open_errno(EACCES));
    EXPECT_EQ(km::kErrPermission, km::status_from_open_errno(EPERM));
    EXPECT_EQ(km::kErrNoDevice, km::status_from_open_errno(ENOENT));
    EXPECT_EQ(km::kErrBusy, km::status_from_open_errno(EBUSY));
    if (geteuid() == 0) return; // root opens anything; the mapping above is what remains
    std::string file = testing::TempDir() + "/no_access_" + std::to_string(getpid());
    std::ofstream(file) << "x";
    fs::permissions(file, fs::perms::none);
    km::SerialPort port;
    EXPECT_EQ(km::kErrPermission, port.open(file, 9600));
    fs::remove(file);
}

TEST(DriverTiming, ResponseTimeoutIsFrameTimePlusTurnaround) {
    EXPECT_EQ(21u + km::kTurnaroundMs, km::serial_response_timeout_ms(9600));
    EXPECT_EQ(334u + km::kTurnaroundMs, km::serial_response_timeout_ms(600));
    EXPECT_EQ(2u + km::kTurnaroundMs, km::serial_response_timeout_ms(115200));
}

// ------------------------------------------------------------ device resolution

class FakeSysfs : public testing::Test {
  protected:
    void SetUp() override {
        root = fs::path(testing::TempDir()) /
               ("sysfs_" + std::to_string(getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "class/tty");
        fs::create_directories(root / "bus/pci");
        fs::create_directories(root / "bus/usb");
        fs::create_directories(root / "bus/pnp");
    }
    void TearDown() override { fs::remove_all(root); }

    // A tty whose device sits under `dev` (relative to root/devices), with
    // the I/O port text `port`.
    void add_tty(const std::string& name, const std::string& dev, const std::string& port) {
        fs::path d = root / "devices" / dev;
        fs::create_directories(d);
        fs::path t = root / "class/tty" / name;
        fs::create_directories(t);
        fs::create_directory_symlink(d, t / "device");
        std::ofstream(t / "port") << port << "\n";
    }
    // Puts the device at `dev` on `bus`.
    void set_bus(const std::string& dev, const std::string& bus) {
        fs::create_directories(root / "bus" / bus);
        fs::create_directory_symlink(root / "bus" / bus, root / "devices" / dev / "subsystem");
    }
    std::string tty() const { return (root / "class/tty").string(); }

    fs::path root;
};

TEST_F(FakeSysfs, IsaCardIsTheTtyWithThatIoPort) {
    add_tty("ttyS0", "pnp0/00:01", "0x3F8");
    add_tty("ttyS1", "pnp0/00:02", "0x2F8");
    fs::create_directories(root / "class/tty/tty0"); // a console: no port file
    EXPECT_EQ("/dev/ttyS1", km::find_tty_by_io_port(0x2F8, tty()));
    EXPECT_EQ("/dev/ttyS0", km::find_tty_by_io_port(0x3F8, tty()));
    EXPECT_EQ("", km::find_tty_by_io_port(0x300, tty()));
    EXPECT_EQ("", km::find_tty_by_io_port(0, tty()));
    EXPECT_EQ("/dev/ttyS1", km::resolve_isa(0x2F8, tty()));
    EnvGuard e("KM207_KIB410", "/dev/ttyKM");
    EXPECT_EQ("/dev/ttyKM", km::resolve_isa(0x2F8, tty()));
}

TEST_F(FakeSysfs, PciCardIsTheFirstTtyWhoseBusIsPci) {
    add_tty("ttyS0", "pnp0/00:01/00:01:0/00:01:0.0", "0x3F8");
    set_bus("pnp0/00:01", "pnp");
    set_bus("pnp0/00:01/00:01:0/00:01:0.0", "serial-base");
    // USB adapter: its host controller is on PCI, the adapter is not.
    add_tty("ttyACM0", "pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0", "0x0");
    set_bus("pci0000:00/0000:00:14.0", "pci");
    set_bus("pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0", "usb");
    EXPECT_EQ("", km::find_tty_on_pci(tty()));
    // Two PCI ports (newer kernels put a serial-base layer in between).
    add_tty("ttyS5", "pci0000:00/0000:00:1c.0/0000:03:00.0/0000:03:00.0:0/0000:03:00.0:0.0", "0x0");
    set_bus("pci0000:00/0000:00:1c.0/0000:03:00.0", "pci");
    set_bus("pci0000:00/0000:00:1c.0/0000:03:00.0/0000:03:00.0:0/0000:03:00.0:0.0", "serial-base");
    add_tty("ttyS4", "pci0000:00/0000:00:1c.0/0000:04:00.0", "0x0");
    set_bus("pci0000:00/0000:00:1c.0/0000:04:00.0", "pci");
    EXPECT_EQ("/dev/ttyS4", km::find_tty_on_pci(tty()));
    EXPECT_EQ("/dev/ttyS4", km::resolve_pci(tty()));
    fs::remove(root / "class/tty/ttyS4/device");
    EXPECT_EQ("/dev/ttyS5", km::find_tty_on_pci(tty()));
    EnvGuard e("KM207_KPB4100", "/dev/ttyKM");
    EXPECT_EQ("/dev/ttyKM", km::resolve_pci(tty()));
}

TEST(DeviceResolution, ComPortNumberCountsFromOneUnlessOverridden) {
    unsetenv("KM207_COM1");
    unsetenv("KM207_COM12");
    EXPECT_EQ("/dev/ttyS0", km::resolve_com(1));
    EXPECT_EQ("/dev/ttyS11", km::resolve_com(12));
    EXPECT_EQ("", km::resolve_com(0));
    EnvGuard e("KM207_COM12", "/dev/pts/77");
    EXPECT_EQ("/dev/pts/77", km::resolve_com(12));
    EnvGuard empty("KM207_COM1", "");
    EXPECT_EQ("/dev/ttyS0", km::resolve_com(1)) << "an empty variable overrides nothing";
}
