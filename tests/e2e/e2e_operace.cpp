// The shared operations against km207-sim through the real drivers: a search
// over the pseudo-terminal finds two modules at two addresses and two rates,
// and a block read from one module, kept in a configuration file and written
// to another leaves the second with the first one's registers.
#include "Kxxx410.h"
#include "Operace.h"
#include "SouborKonfigurace.h"
#include "e2e_link.h"
#include "sim_process.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class OperaceEndToEnd : public ::testing::Test {
  protected:
    // Opens the link through the connection dialog, as the operator does.
    void connect(uint8_t kind, uint8_t address, uint32_t rate, uint16_t udp_port = 0) {
        close_link_and_driver(data);
        InitData(&data);
        data.Rozhrani = kind;
        data.Adresa = address;
        data.Rychlost = rate;
        data.IpAdresa = QStringLiteral("127.0.0.1");
        data.UdpPort = udp_port;
        const QString stav = open_through_dialog(data);
        ASSERT_TRUE(SpojeniOtevreno(&data)) << stav.toStdString();
    }
    void TearDown() override {
        close_link_and_driver(data);
        unsetenv("KM207_COM1");
    }
    TData data;
};

TEST_F(OperaceEndToEnd, SearchFindsTwoModulesAtTwoRatesOverTheSerialLine) {
    SimProcess sim(
        {"--no-udp", "--strict-baud", "--module", "2", "--module", "5:6", "--name", "KM-207 x"});
    ASSERT_TRUE(sim.running()) << sim.output();
    setenv("KM207_COM1", sim.pty().c_str(), 1);
    connect(0, 2, 9600);
    ASSERT_EQ(data.Modul, QStringLiteral("KM-207 x v.1.02"));

    THledani h;
    h.Od = 0;
    h.Do = 6;
    h.Rychlosti = {4, 6};
    int progress = 0;
    h.Prubeh = [&](int k, int, uint8_t, int) { progress = k; };
    const TVysledekHledani v = Hledej(CilModulu(data), h);
    EXPECT_TRUE(v.Text.isEmpty()) << v.Text.toStdString();
    ASSERT_EQ(v.Nalezene.size(), 2u);
    EXPECT_EQ(v.Nalezene[0].Adresa, 2);
    EXPECT_EQ(v.Nalezene[0].IndexRychlosti, 4);
    EXPECT_EQ(v.Nalezene[1].Adresa, 5);
    EXPECT_EQ(v.Nalezene[1].IndexRychlosti, 6);
    for (const TNalez& n : v.Nalezene)
        EXPECT_EQ(n.Modul, QStringLiteral("KM-207 x v.1.02"));
    EXPECT_EQ(progress, 14);
    EXPECT_EQ(v.ChybaObnoveni, 0u);

    // The link is back at its own rate: the module at 2 answers again.
    QString modul, text;
    EXPECT_EQ(Identifikuj(CilModulu(data, 2), modul, text), 0) << text.toStdString();
}

TEST_F(OperaceEndToEnd, ABlockKeptInAFileGoesOntoAnotherModule) {
    SimProcess first({"--no-pty", "--module", "3", "--mode", "2", "--reg", "62=7", "--reg",
                      "33=165", "--reg", "41=1", "--reg", "43=128"});
    SimProcess second({"--no-pty", "--module", "4"});
    ASSERT_TRUE(first.running()) << first.output();
    ASSERT_TRUE(second.running()) << second.output();

    connect(4, 3, 9600, first.udp_port());
    TSouborKonfigurace file;
    file.Modul = data.Modul;
    file.Precteno = QDateTime::currentDateTime();
    const TVysledekBloku read = CtiBlok(CilModulu(data), file.Blok);
    ASSERT_TRUE(read.Uspech()) << read.Text.toStdString();
    EXPECT_EQ(file.Blok.KonfAdresa, 3);
    EXPECT_EQ(file.Blok.KonfRychlost, 7);
    EXPECT_EQ(file.Blok.NegaceDIN[0], 165);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("modul3.km207"));
    QString error;
    ASSERT_TRUE(UlozKonfiguraci(path, file, error)) << error.toStdString();

    connect(4, 4, 9600, second.udp_port());
    TSouborKonfigurace loaded;
    ASSERT_TRUE(NactiKonfiguraci(path, loaded, error)) << error.toStdString();
    TKonfigurace target{};
    ASSERT_TRUE(CtiBlok(CilModulu(data), target).Uspech());
    const std::vector<uint8_t> differ = RozdilneRegistry(target, loaded.Blok);
    EXPECT_EQ(differ, (std::vector<uint8_t>{63, 62, 0, 41, 33, 43}));
    int pauses = 0;
    const TVysledekBloku written =
        ZapisBlok(CilModulu(data), loaded.Blok, differ, {[&] { ++pauses; }, {}});
    ASSERT_TRUE(written.Uspech()) << written.Text.toStdString();
    EXPECT_EQ(written.Registry, differ);
    EXPECT_EQ(pauses, 12);

    // Read back whole at the old address (a new address waits for power-up).
    TKonfigurace back{};
    ASSERT_TRUE(CtiBlok(CilModulu(data), back).Uspech());
    EXPECT_EQ(back, loaded.Blok);
}

} // namespace
