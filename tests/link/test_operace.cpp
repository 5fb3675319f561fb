// Identification, the configuration block and the search for modules,
// through the test driver bound as the program binds it and answered by the
// module model.
#include "Kxxx410.h"
#include "Operace.h"
#include "Rychlosti.h"
#include "fake_link.h"
#include "fake_module.h"
#include "km_bus.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

// The Prikaz of every Send, in order.
std::vector<uint32_t> commands() {
    std::vector<uint32_t> out;
    for (const auto& r : testsupport::sent_requests())
        out.push_back(r[1]);
    return out;
}

class Operace : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::open_fake_link(data, 0);
        data.Adresa = 7;
        fake::attach_module(module);
    }
    void TearDown() override {
        fake::detach_module();
        testsupport::close_link(data);
    }
    static km::emu::Config config() {
        km::emu::Config c;
        c.address = 7;
        return c;
    }
    TData data;
    km::emu::Module module{config()};
    int pauses = 0;
    TRizeni rizeni{[this] { ++pauses; }, {}};
};

TEST_F(Operace, IdentificationCarriesB0AndBuildsTheModuleText) {
    QString modul, text;
    EXPECT_EQ(Identifikuj(CilModulu(data, 7), modul, text), 0);
    EXPECT_EQ(modul, QStringLiteral("KM-207   v.1.02"));
    EXPECT_EQ(text, QStringLiteral("V pořádku"));
    // The module's out byte echoes P5, and it comes back as the next B0.
    const auto sent = testsupport::sent_requests();
    ASSERT_EQ(sent.size(), 3u);
    for (uint32_t p5 = 0; p5 < 3; ++p5)
        EXPECT_THAT(sent[p5], ElementsAre(7, 200, p5, p5 == 0 ? 0 : p5 - 1, 0, 0, 0, 0));
    EXPECT_EQ(fake::calls("KSER410_Error").size(), 3u) << "a text after every command";
}

TEST_F(Operace, IdentificationStopsAtTheFirstFailure) {
    QString modul = QStringLiteral("old"), text;
    data.Adresa = 9; // nobody there
    EXPECT_EQ(Identifikuj(CilModulu(data, 9), modul, text), 5);
    EXPECT_EQ(text, QStringLiteral("Modul neodpovídá"));
    EXPECT_EQ(modul, QStringLiteral("old"));
    EXPECT_EQ(testsupport::sent_requests().size(), 1u);
}

// Time, then date, as values; a date that is none of the calendar keeps
// its day and month, and a failed time read sends no date read.
TEST_F(Operace, TheClockArrivesAsValues) {
    using testsupport::reply_bytes;
    NastavHodiny([] { return QDateTime(QDate(2026, 6, 15), QTime(12, 0)); });
    fake::push_reply(reply_bytes(0, 7, 5, 30, 0)); // hours above 23
    fake::push_reply(reply_bytes(0, 15, 6, 2, 0));
    TOkamzikModulu m;
    EXPECT_EQ(CtiCasModulu(CilModulu(data, 9), m), 0);
    EXPECT_EQ(m.Okamzik(), QDateTime(QDate(2026, 6, 15), QTime(23, 5, 7)));

    fake::push_reply(reply_bytes(0, 0, 0, 0, 0));
    fake::push_reply(reply_bytes(0, 30, 2, 1, 0));
    m = {};
    EXPECT_EQ(CtiCasModulu(CilModulu(data, 9), m), 0);
    ASSERT_TRUE(m.Datum);
    EXPECT_EQ(m.Datum->Den, 30);
    EXPECT_EQ(m.Datum->Mesic, 2);
    EXPECT_EQ(m.Datum->Rok, 2025);
    EXPECT_FALSE(m.Okamzik().isValid());

    fake::push_reply(testsupport::reply_status(6));
    m = {};
    EXPECT_EQ(CtiCasModulu(CilModulu(data, 9), m), 6);
    EXPECT_FALSE(m.Cas || m.Datum);
    NastavHodiny({});
    const auto sent = testsupport::sent_requests();
    ASSERT_EQ(sent.size(), 5u);
    for (size_t i = 0; i < sent.size(); ++i)
        EXPECT_THAT(sent[i], ElementsAre(9, 100, i % 2 ? 2 : 1, 0, 0, 0, 0, 0));
}

TEST_F(Operace, ReadsTheWholeBlockInTransferOrder) {
    module.set_config_register(63, 7);
    module.set_config_register(62, 6);
    module.set_config_register(0, 2);
    for (uint8_t r = 32; r <= 43; ++r)
        module.set_config_register(r, r);
    TKonfigurace blok{};
    std::vector<int> progress;
    const TVysledekBloku v = CtiBlok(CilModulu(data), blok, rizeni, [&](int k, int n, uint8_t) {
        progress.push_back(k * 100 / n);
    });
    ASSERT_TRUE(v.Uspech()) << v.Text.toStdString();
    EXPECT_THAT(v.Registry, ElementsAre(63, 62, 0, 32, 35, 38, 41, 33, 36, 39, 42, 34, 37, 40, 43));
    EXPECT_EQ(blok.KonfAdresa, 7);
    EXPECT_EQ(blok.KonfRychlost, 6);
    EXPECT_EQ(blok.KonfModCitace, 2);
    EXPECT_THAT(blok.PocStavDOUT, ElementsAre(32, 35, 38, 41));
    EXPECT_THAT(blok.NegaceDIN, ElementsAre(33, 36, 39, 42));
    EXPECT_THAT(blok.NegaceDOUT, ElementsAre(34, 37, 40, 43));
    EXPECT_EQ(progress.back(), 100);
    EXPECT_EQ(pauses, 15);
    for (const auto& r : testsupport::sent_requests())
        EXPECT_EQ(r[1], 102u);
}

TEST_F(Operace, ReadsOnlyTheGivenRegistersInTransferOrder) {
    module.set_config_register(0, 2);
    module.set_config_register(41, 0x81);
    TKonfigurace blok{};
    blok.KonfAdresa = 99;
    const TVysledekBloku v = CtiRegistry(CilModulu(data), blok, {41, 0, 41}, rizeni);
    ASSERT_TRUE(v.Uspech()) << v.Text.toStdString();
    EXPECT_THAT(v.Registry, ElementsAre(0, 41));
    EXPECT_EQ(blok.KonfModCitace, 2);
    EXPECT_EQ(blok.PocStavDOUT[3], 0x81);
    EXPECT_EQ(blok.KonfAdresa, 99) << "a register not asked for is not read";
    EXPECT_THAT(commands(), ElementsAre(102, 102));
    EXPECT_EQ(pauses, 2);
    EXPECT_EQ(CtiRegistry(CilModulu(data), blok, {0, 44}).Konec, TKonecBloku::NeplatnyRegistr);
    EXPECT_EQ(testsupport::sent_requests().size(), 2u) << "nothing sent for a foreign register";
}

TEST_F(Operace, WritesOnlyTheGivenRegistersEachVerified) {
    TKonfigurace modul{};
    ASSERT_TRUE(CtiBlok(CilModulu(data), modul).Uspech());
    TKonfigurace novy = modul;
    novy.KonfModCitace = 1;
    novy.NegaceDOUT[2] = 0x5A;
    const std::vector<uint8_t> rozdil = RozdilneRegistry(modul, novy);
    EXPECT_THAT(rozdil, ElementsAre(0, 40));
    fake::clear_journal();
    pauses = 0;

    const TVysledekBloku v = ZapisBlok(CilModulu(data), novy, {40, 0, 40}, rizeni);
    ASSERT_TRUE(v.Uspech()) << v.Text.toStdString();
    EXPECT_THAT(v.Registry, ElementsAre(0, 40)) << "transfer order, once each";
    EXPECT_THAT(commands(), ElementsAre(103, 102, 103, 102));
    EXPECT_EQ(pauses, 4) << "after the write and after the verification";
    EXPECT_EQ(module.config_register(0), 1);
    EXPECT_EQ(module.config_register(40), 0x5A);
    TKonfigurace zpet{};
    ASSERT_TRUE(CtiBlok(CilModulu(data), zpet).Uspech());
    EXPECT_EQ(zpet, novy);
}

TEST_F(Operace, AStopAtAPauseEndsTheWriteThere) {
    TKonfigurace blok{};
    blok.KonfAdresa = 7;
    int asked = 0;
    rizeni.Zastavit = [&] { return ++asked == 3; }; // after the second write
    const TVysledekBloku v = ZapisBlok(CilModulu(data), blok, VsechnyRegistry(), rizeni);
    EXPECT_EQ(v.Konec, TKonecBloku::Zastaveno);
    EXPECT_THAT(v.Registry, ElementsAre(63));
    EXPECT_EQ(v.Registr, 62);
    EXPECT_TRUE(v.ZapisPrijat) << "62 was written, not verified";
    EXPECT_THAT(commands(), ElementsAre(103, 102, 103));
}

TEST_F(Operace, AReadBackMismatchOrFailureSaysWhere) {
    km::emu::FaultRule wrong;
    wrong.kind = km::emu::FaultKind::WrongReadback;
    wrong.count = 1;
    module.add_fault(wrong);
    TKonfigurace blok{};
    blok.KonfAdresa = 7;
    blok.KonfRychlost = 4;
    TVysledekBloku v = ZapisBlok(CilModulu(data), blok, {63, 62});
    EXPECT_EQ(v.Konec, TKonecBloku::Neshoda);
    EXPECT_EQ(v.Registr, 63);
    EXPECT_EQ(v.Precteno, 8);
    EXPECT_EQ(v.Text, QStringLiteral("Chyba zápisu dat."));
    EXPECT_TRUE(v.Registry.empty());

    km::emu::FaultRule drop;
    drop.kind = km::emu::FaultKind::Drop;
    drop.count = 1;
    drop.command = 103;
    module.add_fault(drop);
    v = ZapisBlok(CilModulu(data), blok, {63, 62});
    EXPECT_EQ(v.Konec, TKonecBloku::Chyba);
    EXPECT_EQ(v.Chyba, 5);
    EXPECT_EQ(v.Registr, 63);
    EXPECT_FALSE(v.ZapisPrijat);
    EXPECT_EQ(v.Text, QStringLiteral("Modul neodpovídá"));
}

TEST_F(Operace, NothingIsSentForAForeignRegisterOrAClosedLink) {
    TKonfigurace blok{};
    EXPECT_EQ(ZapisBlok(CilModulu(data), blok, {63, 44}).Konec, TKonecBloku::NeplatnyRegistr);
    TData closed;
    EXPECT_EQ(ZapisBlok(CilModulu(closed), blok, {63}).Konec, TKonecBloku::NeniSpojeni);
    EXPECT_EQ(CtiBlok(CilModulu(closed), blok).Konec, TKonecBloku::NeniSpojeni);
    EXPECT_TRUE(fake::entries().empty());
}

// Two modules on one line at two rates: each hears only the rate the driver
// was last set to, as on a real line.
class Hledani : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::open_fake_link(data, 0);
        data.Rychlost = 9600;
        bus.add(at3);
        bus.add(at6);
        fake::attach_bus(bus);
    }
    void TearDown() override {
        fake::detach_module();
        testsupport::close_link(data);
    }
    static km::emu::Config at(uint8_t address, uint8_t baud, const char* name) {
        km::emu::Config c;
        c.address = address;
        c.baud_index = baud;
        c.name = name;
        return c;
    }
    TData data;
    km::emu::Module at3{at(3, 4, "KM-207 A")};
    km::emu::Module at6{at(6, 6, "KM-207 B")};
    km::emu::Bus bus;
};

TEST_F(Hledani, FindsModulesAtTwoAddressesAndRatesAndWritesNothing) {
    THledani h;
    h.Od = 0;
    h.Do = 9;
    h.Rychlosti = {4, 6};
    std::vector<TNalez> seen;
    int last = 0, total = 0;
    h.Nalezeno = [&](const TNalez& n) { seen.push_back(n); };
    h.Prubeh = [&](int k, int n, uint8_t, int) {
        EXPECT_GT(k, last);
        last = k;
        total = n;
    };
    const TVysledekHledani v = Hledej(CilModulu(data), h);
    ASSERT_EQ(v.Nalezene.size(), 2u);
    EXPECT_EQ(v.Nalezene[0].Adresa, 3);
    EXPECT_EQ(v.Nalezene[0].IndexRychlosti, 4);
    EXPECT_EQ(v.Nalezene[0].Modul, QStringLiteral("KM-207 A v.1.02"));
    EXPECT_EQ(v.Nalezene[1].Adresa, 6);
    EXPECT_EQ(v.Nalezene[1].IndexRychlosti, 6);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(last, 20);
    EXPECT_EQ(total, 20);
    EXPECT_FALSE(v.Zastaveno);
    EXPECT_TRUE(v.Text.isEmpty());
    for (uint32_t c : commands())
        EXPECT_EQ(c, 200u) << "a search only identifies";
    EXPECT_EQ(commands().size(), 20u + 4u);

    std::vector<std::vector<uint64_t>> set;
    for (const auto& c : fake::calls("KSER410_SetConfig"))
        set.push_back({c.args[1], c.args[2], c.args[3]});
    EXPECT_THAT(set, ElementsAreArray(std::vector<std::vector<uint64_t>>{
                         {9600, 13, 0}, // probing at 9600 Bd, no retry
                         {9600, 13, 2}, // the module at 3 answered: its other parts
                         {9600, 13, 0}, // probing on
                         {38400, 5, 0}, // the next rate
                         {38400, 5, 2}, // the module at 6
                         {38400, 5, 0}, // probing on
                         {9600, 13, 2}, // the link's own rate back
                     }));
}

TEST_F(Hledani, AStopEndsItWithinOneExchangeAndTheRateComesBack) {
    THledani h;
    h.Rychlosti = {0, 8};
    int sends = 0;
    h.Rizeni.Pauza = [&] { ++sends; };
    h.Rizeni.Zastavit = [&] { return sends == 2; };
    const TVysledekHledani v = Hledej(CilModulu(data), h);
    EXPECT_TRUE(v.Zastaveno);
    EXPECT_EQ(commands().size(), 2u);
    EXPECT_EQ(v.Hotovo, 2);
    EXPECT_EQ(v.Celkem, 512);
    const auto set = fake::calls("KSER410_SetConfig");
    ASSERT_FALSE(set.empty());
    EXPECT_THAT(set.back().args, ElementsAre(0x1234, 9600, 13, 2));
}

TEST_F(Hledani, ALinkFailureBreaksItOffAndBadInputSendsNothing) {
    THledani h;
    h.Rychlosti = {4};
    fake::SendReply broken;
    broken.result = 14;
    fake::push_reply(testsupport::reply_status(5));
    fake::push_reply(broken);
    const TVysledekHledani v = Hledej(CilModulu(data), h);
    EXPECT_EQ(v.Chyba, 14);
    EXPECT_EQ(v.Text, QStringLiteral("Chyba komunikace"));
    EXPECT_EQ(commands().size(), 2u);

    fake::clear_journal();
    h.Od = 10;
    h.Do = 9;
    EXPECT_FALSE(Hledej(CilModulu(data), h).Text.isEmpty());
    h.Do = 20;
    h.Rychlosti = {9};
    EXPECT_FALSE(Hledej(CilModulu(data), h).Text.isEmpty());
    EXPECT_TRUE(fake::entries().empty());
}

} // namespace
