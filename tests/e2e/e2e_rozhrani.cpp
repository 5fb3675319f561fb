// Every row of the table of interface kinds opens its real driver against
// km207-sim through OtevriSpojeni, in the program and in km207-driverhost:
// the form of Init and the parameters each row hands over are what that
// library takes. The four serial kinds reach the emulator's pseudo-terminal
// through their device variables, the LAN converter its UDP port.
#include "Kxxx410.h"
#include "Rozhrani.h"
#include "Spojeni.h"
#include "fake_link.h"
#include "sim_process.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// COM7, not COM1: the port number must reach Init for the device to be found.
constexpr uint8_t kPort = 7;
const char* const kDeviceVariables[] = {"KM207_COM7", "KM207_KIB410", "KM207_KPB4100",
                                        "KM207_KUB4100"};

class E2eRozhrani : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        testsupport::use_temp_settings_dir();
        OvladacUvolni();
        NastavAdresarOvladacu(QString());
        NastavIzolaciOvladacu(GetParam());
    }
    void TearDown() override {
        OvladacUvolni();
        NastavIzolaciOvladacu(false);
        for (const char* v : kDeviceVariables)
            unsetenv(v);
    }
};

TEST_P(E2eRozhrani, EveryKindOpensItsDriverAndIdentifiesTheModule) {
    SimProcess sim({"--address", "23", "--name", "KIND-T", "--fw", "3.04"});
    ASSERT_TRUE(sim.running()) << sim.output();
    ASSERT_FALSE(sim.pty().empty());
    for (const char* v : kDeviceVariables)
        setenv(v, sim.pty().c_str(), 1);

    for (const TRozhrani& r : TabulkaRozhrani) {
        SCOPED_TRACE(r.Nazev.toString().toStdString());
        TData data;
        InitData(&data);
        data.Rozhrani = r.Druh;
        data.CisloPortu = kPort;
        data.IpAdresa = QStringLiteral("127.0.0.1");
        data.UdpPort = sim.udp_port();
        data.UdpTimeout = 300;
        TOtevreni jak;
        jak.Adresa = 23;
        jak.IndexRychlosti = 4;
        uint32_t handle = 0;
        const TVysledekSpojeni v = OtevriSpojeni(data, handle, jak);
        EXPECT_TRUE(v.Uspech()) << int(v.Krok) << " " << v.Kod << " " << v.Text.toStdString();
        EXPECT_EQ(v.Modul, QStringLiteral("KIND-T   v.3.04"));
        EXPECT_EQ(v.Rychlost, 9600u);
        EXPECT_TRUE(data.Pripojeno);
        EXPECT_EQ(data.Handle, handle);
        EXPECT_TRUE(OvladacVazba().contains(QString::fromLatin1(r.Ovladac().prefix)))
            << OvladacVazba().toStdString();
        EXPECT_EQ(OvladacVazba().contains(QStringLiteral("km207-driverhost")), GetParam());
        testsupport::close_link(data);
    }
    EXPECT_TRUE(sim.running());
}

// What a wrong parameter does: the driver refuses at Init, its text is
// read, and nothing stays open.
TEST_P(E2eRozhrani, AComPortWithoutADeviceFailsAtInitWithTheDriversText) {
    TData data;
    InitData(&data);
    data.CisloPortu = kPort;
    setenv("KM207_COM7", "/nonexistent/km207-tty", 1);
    uint32_t handle = 0;
    const TVysledekSpojeni v = OtevriSpojeni(data, handle);
    EXPECT_EQ(v.Krok, TKrokSpojeni::Init);
    EXPECT_NE(v.Kod, 0u);
    EXPECT_FALSE(v.Text.isEmpty());
    EXPECT_FALSE(data.Pripojeno);
    EXPECT_EQ(data.Handle, 0u);
}

INSTANTIATE_TEST_SUITE_P(Drivers, E2eRozhrani, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "InHost" : "InProcess";
                         });

} // namespace
