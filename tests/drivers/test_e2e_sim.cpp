// The real KL4100 (UDP loopback) and KSER410 (pseudo-terminal) drivers
// against km207-sim, through the program's link layer: OvladacInit,
// OvladacSetConfig, ProvedPrikaz, OvladacError, OvladacDone. Each runs bound
// in this process and again in km207-driverhost.
#include "HledaniOvladace.h"
#include "Kxxx410.h"
#include "driver_errors.h"
#include "sim_process.h"

#include <gtest/gtest.h>

#include <QString>
#include <cstdlib>
#include <string>
#include <tuple>

namespace {

enum class Wire { Udp, Serial };
enum class Binding { InProcess, Host };

std::string wire_name(const testing::TestParamInfo<std::tuple<Wire, Binding>>& info) {
    return std::string(std::get<0>(info.param) == Wire::Udp ? "KL4100" : "KSER410") +
           (std::get<1>(info.param) == Binding::Host ? "_Host" : "");
}

class SimLink : public testing::TestWithParam<std::tuple<Wire, Binding>> {
  protected:
    void SetUp() override {
        NastavAdresarOvladacu(QString::fromUtf8(KM_DRIVER_DIR));
        NastavIzolaciOvladacu(std::get<1>(GetParam()) == Binding::Host);
    }
    void TearDown() override {
        if (handle) OvladacDone(kind(), handle);
        OvladacUvolni();
        NastavIzolaciOvladacu(false);
        unsetenv("KM207_COM1");
    }

    Wire wire() const { return std::get<0>(GetParam()); }
    uint8_t kind() const { return wire() == Wire::Udp ? 4 : 0; }

    // Starts the emulator with `args` and opens the link to it.
    void start(std::vector<std::string> args, uint32_t udp_timeout = 100, uint32_t retries = 2) {
        sim = std::make_unique<SimProcess>(args);
        ASSERT_TRUE(sim->running()) << sim->output();
        TKonfigOvladace cfg{};
        if (wire() == Wire::Udp) {
            cfg[0] = reinterpret_cast<uintptr_t>(ip.c_str());
            cfg[1] = sim->udp_port();
            cfg[2] = udp_timeout;
        } else {
            ASSERT_FALSE(sim->pty().empty());
            setenv("KM207_COM1", sim->pty().c_str(), 1);
            cfg[0] = 1;
        }
        ASSERT_EQ(0u, OvladacInit(kind(), handle, cfg));
        ASSERT_NE(0u, handle);
        ASSERT_EQ(std::get<1>(GetParam()) == Binding::Host,
                  OvladacVazba().endsWith(QString::fromUtf8(" přes km207-driverhost")))
            << OvladacVazba().toStdString();
        ASSERT_EQ(0u, OvladacSetConfig(kind(), handle, 9600, 13, retries));
    }

    struct Out {
        uint8_t chyba;
        uint8_t b[5];
    };
    Out command(uint8_t prikaz, uint8_t p5, uint8_t b1 = 0, uint8_t b2 = 0, uint8_t b3 = 0,
                uint8_t b4 = 0, uint8_t address = 0) {
        Out o{0xEE, {0, b1, b2, b3, b4}};
        TOdpoved odpoved{};
        ProvedPrikaz(kind(), handle, address, prikaz, p5, &o.b[0], &o.b[1], &o.b[2], &o.b[3],
                     &o.b[4], o.chyba, odpoved);
        return o;
    }
    Out read_register(uint8_t reg) { return command(102, 0, reg, reg); }
    Out write_register(uint8_t reg, uint8_t value) {
        return command(103, 0, reg, reg, value, value);
    }

    static std::string chars(const Out& o) {
        return std::string(reinterpret_cast<const char*>(&o.b[1]), 4);
    }

    std::string ip = "127.0.0.1";
    std::unique_ptr<SimProcess> sim;
    uint32_t handle = 0;
};

TEST_P(SimLink, IdentificationReadsNameAndFirmware) {
    start({"--name", "KM-207", "--fw", "2.17"});
    Out a = command(200, 0), b = command(200, 1), c = command(200, 2);
    EXPECT_EQ(0, a.chyba);
    EXPECT_EQ(0, b.chyba);
    EXPECT_EQ(0, c.chyba);
    EXPECT_EQ("KM-2", chars(a));
    EXPECT_EQ("07  ", chars(b));
    EXPECT_EQ("2.17", chars(c));
    EXPECT_EQ(QString::fromUtf8("V pořádku"), TextChyby(kind(), 0));
}

TEST_P(SimLink, RegisterWriteIsReadBack) {
    start({});
    EXPECT_EQ(0, write_register(0, 2).chyba);
    Out r = read_register(0);
    EXPECT_EQ(0, r.chyba);
    EXPECT_EQ(2, r.b[3]);
    EXPECT_EQ(0, write_register(34, 0x5A).chyba);
    EXPECT_EQ(0x5A, read_register(34).b[3]);
    EXPECT_EQ(4, read_register(62).b[3]) << "baud index 9600";
}

TEST_P(SimLink, ModuleAtAnotherAddressDoesNotAnswer) {
    start({"--address", "17"});
    EXPECT_EQ(km::kErrTimeout, command(200, 0).chyba);
    Out ok = command(200, 0, 0, 0, 0, 0, 17);
    EXPECT_EQ(0, ok.chyba);
    EXPECT_EQ("KM-2", chars(ok));
}

TEST_P(SimLink, LostRepliesAreRetried) {
    start({"--fault", "drop:count=2"});
    Out o = command(200, 2);
    EXPECT_EQ(0, o.chyba);
    EXPECT_EQ("1.02", chars(o));
}

TEST_P(SimLink, LostRepliesBeyondTheRetriesGiveTimeout) {
    start({"--fault", "drop:count=3"});
    Out o = command(200, 2);
    EXPECT_EQ(km::kErrTimeout, o.chyba);
    EXPECT_EQ("", std::string(chars(o).c_str())) << "a failed command zeroes the bytes";
    EXPECT_EQ(QString::fromUtf8("Modul neodpovídá"), TextChyby(kind(), o.chyba));
    EXPECT_EQ(0, command(200, 2).chyba) << "the next command gets through";
}

TEST_P(SimLink, DamagedRepliesAreRetried) {
    start({"--fault", "corrupt:count=2"});
    EXPECT_EQ(0, command(200, 0).chyba);
}

TEST_P(SimLink, DamagedRepliesBeyondTheRetriesGiveCorrupt) {
    start({"--fault", "corrupt:count=3"});
    Out o = command(200, 0);
    EXPECT_EQ(km::kErrCorrupt, o.chyba);
    EXPECT_EQ(QString::fromUtf8("Poškozená odpověď modulu"), TextChyby(kind(), o.chyba));
}

TEST_P(SimLink, RepliesLaterThanTheTimeoutGiveTimeout) {
    start({"--fault", "delay:count=3,ms=400"});
    EXPECT_EQ(km::kErrTimeout, command(200, 0).chyba);
}

TEST_P(SimLink, ErrorStatusOfTheModuleGivesItsCode) {
    start({"--fault", "status:count=1,status=3", "--fault", "status:count=1,status=2,cmd=102"});
    EXPECT_EQ(km::kErrBadValue, write_register(0, 1).chyba);
    EXPECT_EQ(km::kErrBadRegister, read_register(0).chyba);
    EXPECT_EQ(km::kErrUnknownCommand, command(77, 0).chyba) << "the module knows no command 77";
    EXPECT_EQ(km::kErrBadRegister, read_register(5).chyba) << "no register 5";
    EXPECT_EQ(QString::fromUtf8("Modul nezná příkaz"), TextChyby(kind(), km::kErrUnknownCommand));
}

TEST_P(SimLink, WrongReadBackIsPassedOnAsTheModuleSaidIt) {
    start({"--fault", "readback:count=1"});
    EXPECT_EQ(0, write_register(0, 1).chyba);
    Out r = read_register(0);
    EXPECT_EQ(0, r.chyba);
    EXPECT_NE(1, r.b[3]) << "the driver does not invent the expected value";
    EXPECT_EQ(1, read_register(0).b[3]);
}

TEST_P(SimLink, LateReplyIsNeverTakenForTheNextRequest) {
    // Register 0 holds 2, register 62 holds 4. The first read of register 0
    // is answered 250 ms late, after the driver gave up (no retries); the
    // first attempt of the read of register 62 is late too, so that the late
    // answer for register 0 arrives while the driver waits for register 62.
    start({"--mode", "2", "--fault", "delay:count=2,ms=250,cmd=102"}, 200, 0);
    EXPECT_EQ(km::kErrTimeout, read_register(0).chyba);
    ASSERT_EQ(0u, OvladacSetConfig(kind(), handle, 9600, 13, 1));
    Out r = read_register(62);
    EXPECT_EQ(0, r.chyba);
    EXPECT_EQ(4, r.b[3]) << "took the late answer for register 0";
    Out again = read_register(0);
    EXPECT_EQ(0, again.chyba);
    EXPECT_EQ(2, again.b[3]) << "took the late answer for register 62";
}

TEST_P(SimLink, DoneClosesTheLinkAndAnotherInitOpensIt) {
    start({});
    EXPECT_EQ(0u, OvladacDone(kind(), handle));
    EXPECT_EQ(0u, handle) << "Done clears the handle cell";
    TKonfigOvladace cfg{};
    if (wire() == Wire::Udp) {
        cfg[0] = reinterpret_cast<uintptr_t>(ip.c_str());
        cfg[1] = sim->udp_port();
        cfg[2] = 100;
    } else {
        cfg[0] = 1;
    }
    ASSERT_EQ(0u, OvladacInit(kind(), handle, cfg));
    EXPECT_EQ(0, command(200, 0).chyba);
}

INSTANTIATE_TEST_SUITE_P(Drivers, SimLink,
                         testing::Combine(testing::Values(Wire::Udp, Wire::Serial),
                                          testing::Values(Binding::InProcess, Binding::Host)),
                         wire_name);

TEST(SimLinkLan, InvalidIpTextGivesItsTextThroughTheLink) {
    NastavAdresarOvladacu(QString::fromUtf8(KM_DRIVER_DIR));
    std::string ip = "192.168.1";
    TKonfigOvladace cfg{};
    cfg[0] = reinterpret_cast<uintptr_t>(ip.c_str());
    cfg[1] = 5000;
    cfg[2] = 100;
    uint32_t handle = 0;
    uint32_t code = OvladacInit(4, handle, cfg);
    EXPECT_EQ(km::kErrIpAddress, code);
    EXPECT_EQ(0u, handle);
    EXPECT_EQ(QString::fromUtf8("Neplatná IP adresa"), TextChyby(4, code));
    cfg[1] = 0;
    ip = "127.0.0.1";
    code = OvladacInit(4, handle, cfg);
    EXPECT_EQ(km::kErrUdpPort, code);
    EXPECT_EQ(QString::fromUtf8("Neplatný UDP port"), TextChyby(4, code));
    OvladacUvolni();
}

TEST(SimLinkSerial, MissingComPortGivesDeviceNotFoundThroughTheLink) {
    NastavAdresarOvladacu(QString::fromUtf8(KM_DRIVER_DIR));
    setenv("KM207_COM9", "/nonexistent/ttyKM", 1);
    TKonfigOvladace cfg{};
    cfg[0] = 9;
    uint32_t handle = 0;
    uint32_t code = OvladacInit(0, handle, cfg);
    unsetenv("KM207_COM9");
    EXPECT_EQ(km::kErrNoDevice, code);
    EXPECT_EQ(QString::fromUtf8("Zařízení nenalezeno"), TextChyby(0, code));
    OvladacUvolni();
}

} // namespace
