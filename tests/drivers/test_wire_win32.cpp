// The five driver DLLs on Windows, bound by file name as the program binds
// them: their export tables, texts and validation, and km207-sim (started
// on Linux by tests/wine/run-tests.sh) over UDP and over the COM port that
// Wine maps to the emulator's pseudo-terminal.
#include "driver_errors.h"
#include "driver_lib.h"
#include "km_protocol.h"
#include "loopback_socket.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include <windows.h>

namespace {

const char* const kPrefixes[] = {"KSER410", "KIB410", "KPB4100", "KUB4100", "KL4100"};

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// Sets an environment variable for one scope and removes it after.
struct EnvVar {
    std::string name;
    EnvVar(const char* n, const std::string& value) : name(n) { _putenv_s(n, value.c_str()); }
    ~EnvVar() { _putenv_s(name.c_str(), ""); }
};

// Names in the export table of a loaded module.
std::set<std::string> exported_names(const char* file) {
    std::set<std::string> names;
    const auto* base = reinterpret_cast<const uint8_t*>(GetModuleHandleA(file));
    if (!base) return names;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (dir.Size == 0) return names;
    const auto* ex = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    const auto* rva = reinterpret_cast<const DWORD*>(base + ex->AddressOfNames);
    for (DWORD i = 0; i < ex->NumberOfNames; ++i)
        names.insert(reinterpret_cast<const char*>(base + rva[i]));
    return names;
}

// Transaction numbers of the requests that reached `s`.
std::set<uint16_t> transactions(const LoopbackSocket& s) {
    std::set<uint16_t> txns;
    std::vector<uint8_t> d;
    uint16_t from = 0;
    while (s.receive(d, from, 0) && d.size() == km::proto::kUdpFrameSize)
        txns.insert(static_cast<uint16_t>(d[0] | d[1] << 8));
    return txns;
}

struct Answer {
    uint32_t status = 99, out = 0;
    std::array<uint32_t, 4> data{};
    std::string chars() const {
        return {char(data[0]), char(data[1]), char(data[2]), char(data[3])};
    }
};

Answer command(const DriverLib& d, uint32_t h, uint32_t address, uint32_t cmd, uint32_t p5,
               std::array<uint32_t, 5> b = {}) {
    uint32_t req[8] = {address, cmd, p5, b[0], b[1], b[2], b[3], b[4]}, rep[100] = {};
    Answer a;
    EXPECT_EQ(0u, d.send(h, req, rep, &a.out, &a.status));
    for (int i = 0; i < 4; ++i)
        a.data[i] = rep[i];
    return a;
}

} // namespace

TEST(WinDriverExports, EachDllExportsExactlyItsSevenUndecoratedEntries) {
    for (const char* prefix : kPrefixes) {
        DriverLib d(prefix);
        ASSERT_TRUE(d.complete()) << d.path;
        EXPECT_NE(0u, d.version());
        std::set<std::string> want;
        for (const char* e : {"Version", "Init", "SetConfig", "GetConfig", "Send", "Done", "Error"})
            want.insert(std::string(prefix) + "_" + e);
        EXPECT_EQ(want, exported_names(d.path.c_str())) << prefix;
    }
}

TEST(WinDriverErrors, TextsAreWindows1250Codes) {
    DriverLib d("KSER410");
    ASSERT_TRUE(d.complete());
    uint32_t text[KM_TEXT_LEN];
    ASSERT_EQ(0u, d.error(km::kErrNoDevice, text));
    const unsigned char want[] = "Za\xF8\xEDzen\xED nenalezeno";
    for (std::size_t i = 0; i < sizeof want; ++i)
        EXPECT_EQ(want[i], text[i]) << i;
}

TEST(WinDriverLan, AddressTextAndPortAreCheckedAtInit) {
    DriverLib d("KL4100");
    ASSERT_TRUE(d.complete());
    for (const char* ip : {"", "localhost", "256.1.1.1", "1.2.3", "01.2.3.4", "0x7f.0.0.1",
                           " 127.0.0.1", "127.0.0.1 ", "1..2.3", "1.2.3.4."}) {
        LanConfig cfg;
        cfg.ip = ip;
        uint32_t h = 0xDEAD;
        EXPECT_EQ(km::kErrIpAddress, d.init_lan(&h, cfg.get(5000, 100))) << '"' << ip << '"';
        EXPECT_EQ(0u, h);
    }
    LanConfig cfg;
    uint32_t h = 0;
    EXPECT_EQ(km::kErrUdpPort, d.init_lan(&h, cfg.get(0, 100)));
    EXPECT_EQ(km::kErrUdpPort, d.init_lan(&h, cfg.get(65536, 100)));
}

TEST(WinDriverLan, NoAnswerGivesTimeoutAfterEachRetryWithItsOwnTransaction) {
    DriverLib d("KL4100");
    ASSERT_TRUE(d.complete());
    LoopbackSocket silent; // bound, never answers
    LanConfig cfg;
    uint32_t h = 0;
    ASSERT_EQ(0u, d.init_lan(&h, cfg.get(silent.port(), 30)));
    ASSERT_EQ(0u, d.set_config(h, 9600, 13, 2));
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(km::kErrTimeout, command(d, h, 0, 200, 0).status);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0)
            .count();
    EXPECT_GE(ms, 89);
    EXPECT_LT(ms, 2000);
    EXPECT_EQ(3u, transactions(silent).size());
    EXPECT_EQ(0u, d.done(&h));
}

TEST(WinDriverLan, PortNobodyListensOnIsNoAnswerNotAFailure) {
    DriverLib d("KL4100");
    ASSERT_TRUE(d.complete());
    uint16_t closed = 0;
    {
        LoopbackSocket gone; // bound for a moment to learn a free port
        closed = gone.port();
    }
    LanConfig cfg;
    uint32_t h = 0;
    ASSERT_EQ(0u, d.init_lan(&h, cfg.get(closed, 30)));
    ASSERT_EQ(0u, d.set_config(h, 9600, 13, 2));
    // Each attempt's "port unreachable" may come back; twice, so the one
    // left pending by an attempt is met by the next.
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(km::kErrTimeout, command(d, h, 0, 200, 0).status);
    EXPECT_EQ(0u, d.done(&h));
}

TEST(WinDriverSerial, MissingPortsAreDeviceNotFound) {
    DriverLib ser("KSER410"), isa("KIB410"), pci("KPB4100"), usb("KUB4100");
    ASSERT_TRUE(ser.complete() && isa.complete() && pci.complete() && usb.complete());
    uint32_t h = 9;
    EXPECT_EQ(km::kErrNoDevice, ser.init_value(&h, 250)) << "no COM250";
    EXPECT_EQ(km::kErrNoDevice, ser.init_value(&h, 0)) << "there is no COM0";
    {
        // A folder or a plain file is no serial port.
        char temp[MAX_PATH];
        ASSERT_NE(0u, GetTempPathA(MAX_PATH, temp));
        EnvVar folder("KM207_COM5", temp);
        EXPECT_EQ(km::kErrNoDevice, ser.init_value(&h, 5)) << temp;
        const std::string file = std::string(temp) + "km207_not_a_port.txt";
        CloseHandle(
            CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        EnvVar plain("KM207_COM6", file);
        EXPECT_EQ(km::kErrNoDevice, ser.init_value(&h, 6)) << file;
        DeleteFileA(file.c_str());
    }
    // Without their variables the card kinds find nothing on Windows.
    EXPECT_EQ(km::kErrNoDevice, isa.init_value(&h, 0x2F8));
    EXPECT_EQ(km::kErrNoDevice, pci.init_plain(&h));
    EXPECT_EQ(km::kErrNoDevice, usb.init_plain(&h));
    EXPECT_EQ(0u, h);
}

// ------------------------------------------------------------ km207-sim

enum class Wire { Udp, Com };

class SimWire : public testing::TestWithParam<Wire> {
  protected:
    void SetUp() override {
        const std::string udp = env("KM207_SIM_UDP"), com = env("KM207_SIM_COM");
        if (GetParam() == Wire::Udp) {
            if (udp.empty())
                GTEST_SKIP() << "KM207_SIM_UDP not set (tests/wine/run-tests.sh sets it)";
            const auto colon = udp.rfind(':');
            ip = udp.substr(0, colon);
            cells[0] = reinterpret_cast<uintptr_t>(ip.c_str());
            cells[1] = std::strtoul(udp.c_str() + colon + 1, nullptr, 10);
            cells[2] = 300;
            ASSERT_EQ(0u, lan.init_lan(&handle, cells.data()));
        } else {
            if (com.empty())
                GTEST_SKIP() << "KM207_SIM_COM not set (tests/wine/run-tests.sh sets it)";
            com_number = std::strtoul(com.c_str() + 3, nullptr, 10);
            ASSERT_EQ(0u, ser.init_value(&handle, com_number)) << com;
        }
        ASSERT_NE(0u, handle);
        ASSERT_EQ(0u, drv().set_config(handle, 9600, 13, 2));
    }
    void TearDown() override {
        if (handle) drv().done(&handle);
    }
    const DriverLib& drv() const { return GetParam() == Wire::Udp ? lan : ser; }
    Answer ask(uint32_t cmd, uint32_t p5, std::array<uint32_t, 5> b = {}, uint32_t address = 0) {
        return command(drv(), handle, address, cmd, p5, b);
    }

    DriverLib lan{"KL4100"}, ser{"KSER410"};
    std::string ip;
    std::array<uintptr_t, KM_CONFIG_LEN> cells{};
    uint32_t com_number = 0;
    uint32_t handle = 0;
};

TEST_P(SimWire, IdentificationReadsNameAndFirmware) {
    const Answer a = ask(200, 0), b = ask(200, 1), c = ask(200, 2);
    EXPECT_EQ(0u, a.status);
    EXPECT_EQ("KM-2", a.chars());
    EXPECT_EQ("07  ", b.chars());
    EXPECT_EQ("1.02", c.chars());
    EXPECT_EQ(2u, c.out) << "out echoes P5";
}

TEST_P(SimWire, RegisterWriteIsReadBack) {
    EXPECT_EQ(0u, ask(103, 0, {0, 34, 34, 0x5A, 0x5A}).status);
    const Answer r = ask(102, 0, {0, 34, 34});
    EXPECT_EQ(0u, r.status);
    EXPECT_EQ(0x5Au, r.data[2]);
    EXPECT_EQ(0u, ask(103, 0, {0, 34, 34, 0, 0}).status);
}

TEST_P(SimWire, ModuleAtAnotherAddressDoesNotAnswerAndTheNextRequestIsFine) {
    EXPECT_EQ(km::kErrTimeout, ask(200, 0, {}, 17).status);
    EXPECT_EQ("KM-2", ask(200, 0).chars());
}

TEST_P(SimWire, UnknownCommandIsTheModulesErrorStatus) {
    EXPECT_EQ(km::kErrUnknownCommand, ask(77, 0).status);
}

INSTANTIATE_TEST_SUITE_P(Wires, SimWire, testing::Values(Wire::Udp, Wire::Com),
                         [](const testing::TestParamInfo<Wire>& i) {
                             return std::string(i.param == Wire::Udp ? "KL4100" : "KSER410");
                         });

TEST(SimCom, SecondUserIsBusyAndACardKindOpensThePortItsVariableNames) {
    const std::string com = env("KM207_SIM_COM");
    if (com.empty()) GTEST_SKIP() << "KM207_SIM_COM not set (tests/wine/run-tests.sh sets it)";
    DriverLib ser("KSER410"), usb("KUB4100");
    ASSERT_TRUE(ser.complete() && usb.complete());
    const uint32_t n = std::strtoul(com.c_str() + 3, nullptr, 10);
    uint32_t h1 = 0, h2 = 0;
    ASSERT_EQ(0u, ser.init_value(&h1, n));
    EXPECT_EQ(km::kErrBusy, ser.init_value(&h2, n));
    EXPECT_EQ(0u, h2);
    {
        // Another spelling of the same port is the same port.
        EnvVar alias("KM207_KUB4100", "\\\\.\\" + com);
        EXPECT_EQ(km::kErrBusy, usb.init_plain(&h2));
    }
    EXPECT_EQ(0u, ser.done(&h1));
    // "COM7" as Windows users write it, and COM n under a number above 9.
    EnvVar v("KM207_KUB4100", com);
    ASSERT_EQ(0u, usb.init_plain(&h2));
    EXPECT_EQ("KM-2", command(usb, h2, 0, 200, 0).chars());
    EXPECT_EQ(0u, usb.done(&h2));
    EnvVar alias("KM207_COM12", "\\\\.\\" + com);
    ASSERT_EQ(0u, ser.init_value(&h1, 12));
    EXPECT_EQ("1.02", command(ser, h1, 0, 200, 2).chars());
    EXPECT_EQ(0u, ser.done(&h1));
}
