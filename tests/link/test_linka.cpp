// A line of modules through the test driver bound as the program binds it,
// answered by module models on one serial line where each hears only its
// own rate.
#include "Linka.h"
#include "Operace.h"
#include "fake_link.h"
#include "fake_module.h"

#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

namespace {

TModulLinky at(uint8_t address, int baud) {
    return {address, baud, {}, {}};
}

class Linka : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::open_fake_link(data, 0);
        data.Rychlost = 9600;
        for (km::emu::Module* m : {&m3, &m6, &m8, &m9})
            bus.add(*m);
        fake::attach_bus(bus);
        NastavHodiny([this] { return QDateTime::fromMSecsSinceEpoch(ms); });
    }
    void TearDown() override {
        NastavHodiny({});
        fake::detach_module();
        testsupport::close_link(data);
    }
    void advance(int64_t by) { ms += by; }
    km::emu::Config config(uint8_t address, uint8_t baud) {
        km::emu::Config c;
        c.address = address;
        c.baud_index = baud;
        return c;
    }
    km::emu::Module model(uint8_t address, uint8_t baud) {
        return km::emu::Module(config(address, baud), [this] { return ms; });
    }
    TCil link() const { return CilModulu(data); }
    // The modules in a mixed order of rates: 9600 Bd (index 4) and 38400 Bd (6).
    void line(TLinka& l) {
        QString error;
        ASSERT_TRUE(l.Nastav({at(6, 6), at(3, 4), at(9, 6), at(8, 4)}, error))
            << error.toStdString();
    }

    int64_t ms = 1'780'000'000'000;
    TData data;
    km::emu::Module m3 = model(3, 4), m6 = model(6, 6), m8 = model(8, 4), m9 = model(9, 6);
    km::emu::Bus bus;
};

TEST_F(Linka, ACycleTakesTheModulesByRateAndSetsEachOtherRateOnce) {
    TLinka l;
    line(l);
    const TVysledekCyklu first = l.Cyklus(link());
    EXPECT_TRUE(first.Uspech()) << first.Text.toStdString();
    // First contact: identification, counter mode, end of power failure, then the three.
    EXPECT_EQ(first.Prikazu, 4 * 9);

    fake::clear_journal();
    std::vector<int> done;
    const TVysledekCyklu v = l.Cyklus(link(), {}, [&](int i) { done.push_back(i); });
    EXPECT_TRUE(v.Uspech());
    EXPECT_EQ(v.Prikazu, 12);
    EXPECT_EQ(v.Nastaveni, 2);
    EXPECT_THAT(done, ElementsAre(1, 3, 0, 2)) << "the link's own rate first";
    std::vector<uint32_t> sent;
    for (const auto& r : testsupport::sent_requests())
        sent.push_back(r[0] * 1000000 + r[1] * 1000 + r[2]);
    EXPECT_THAT(sent,
                ElementsAreArray({3100000u, 3000080u, 3000064u, 8100000u, 8000080u, 8000064u,
                                  6100000u, 6000080u, 6000064u, 9100000u, 9000080u, 9000064u}));
    std::vector<std::vector<uint64_t>> set;
    for (const auto& c : fake::calls("KSER410_SetConfig"))
        set.push_back({c.args[1], c.args[2], c.args[3]});
    EXPECT_THAT(set,
                ElementsAreArray(std::vector<std::vector<uint64_t>>{{38400, 5, 2}, {9600, 13, 2}}));
    for (const TPolozkaLinky& p : l.Polozky()) {
        EXPECT_EQ(p.Stav.Odezva, TOdezva::Odpovida);
        EXPECT_EQ(p.Stav.Modul, QStringLiteral("KM-207   v.1.02"));
        EXPECT_EQ(p.Stav.Priznaky, 0u);
        EXPECT_TRUE(p.Stav.Citac && p.Stav.Vstupy && p.Stav.SlovoStavu);
    }

    // A stop at the first pause: one command, and the link's own rate back.
    fake::clear_journal();
    const TVysledekCyklu stopped = l.Cyklus(link(), {{}, [] { return true; }});
    EXPECT_TRUE(stopped.Zastaveno);
    EXPECT_EQ(testsupport::sent_requests().size(), 1u);
    TData closed;
    EXPECT_FALSE(l.Cyklus(CilModulu(closed)).Text.isEmpty());
    EXPECT_EQ(testsupport::sent_requests().size(), 1u) << "nothing without a link";
}

// A module that stops answering, a power cycle with PWR never cleared, and
// ERR24: each flagged, and only those; the baseline drops the power failure.
TEST_F(Linka, FlagsTellEachChangeAndOnlyIt) {
    TLinka l;
    line(l);
    l.Cyklus(link());
    m6.power_down();
    m8.set_status_bits(km::emu::kStErr24);
    advance(2000);
    m9.power_cycle();
    for (int c = 0; c < 3; ++c) {
        advance(TLinka::ObnovaVypadkuMs + 1000);
        l.Cyklus(link());
    }
    const auto flags = [&](int i) { return l.Polozky()[i].Stav.Priznaky; };
    EXPECT_EQ(flags(0), unsigned(PriznakNeodpovida)); // 6
    EXPECT_EQ(flags(1), 0u);                          // 3
    EXPECT_EQ(flags(2), unsigned(PriznakVypadek));    // 9
    EXPECT_EQ(flags(3), unsigned(PriznakErr24));      // 8
    EXPECT_EQ(l.Polozky()[0].Stav.Odezva, TOdezva::Neodpovida);
    EXPECT_THAT(TextyPriznaku(l.Polozky()[2]).join(',').toStdString(),
                HasSubstr("výpadek napájení (konec "));
    l.Potvrd();
    EXPECT_EQ(flags(2), 0u);
    EXPECT_EQ(flags(3), unsigned(PriznakErr24)) << "set in the module still";
}

TEST_F(Linka, BackupAndRestoreOfALineWithAModuleThatDoesNotAnswer) {
    QTemporaryDir dir;
    m6.power_down();
    const std::vector<TModulLinky> modules{at(3, 4), at(6, 6), at(9, 6)};
    const TVysledekZalohy b = ZalohujLinku(link(), modules, dir.path());
    EXPECT_TRUE(b.Chyba.isEmpty()) << b.Chyba.toStdString();
    EXPECT_EQ(b.Ulozenych(), 2);
    EXPECT_FALSE(b.Moduly[1].Ulozeno);
    EXPECT_EQ(b.Moduly[1].Text, QStringLiteral("Modul neodpovídá"));

    m9.set_config_register(0, 2); // the counter mode changed since
    TObnovaLinky o;
    QString error;
    ASSERT_TRUE(NactiZalohuLinky(dir.path(), o, error)) << error.toStdString();
    ASSERT_EQ(o.Moduly.size(), 3u);
    EXPECT_FALSE(o.Moduly[1].Zaloha) << "not saved, so never written";
    NahledObnovy(link(), o);
    EXPECT_TRUE(o.Nahled);
    EXPECT_TRUE(o.Moduly[0].Zmeny.empty());
    EXPECT_THAT(o.Moduly[2].Zmeny, ElementsAre(0));
    ASSERT_TRUE(ObnovLinku(link(), o));
    ASSERT_TRUE(o.Moduly[2].Zapis);
    EXPECT_EQ(StavZapisu(*o.Moduly[2].Zapis, 0), TStavZapisu::Overen);
    EXPECT_EQ(m9.config_register(0), 0);
}

TEST_F(Linka, CommissioningGivesTheNextFreeAddressAndWaitsForThePowerUp) {
    km::emu::Module fresh = model(0, 4);
    bus.add(fresh);
    const std::vector<TModulLinky> line{at(3, 4), at(6, 6)};
    TVolbyUvedeni o;
    o.IndexRychlosti = 6;
    QStringList said;
    const TVysledekUvedeni v = UvedDoProvozu(link(), line, o, {}, [&](const QString& s) {
        said << s;
        if (s.contains(QStringLiteral("Vypněte"))) fresh.power_cycle();
    });
    EXPECT_TRUE(v.Uspech()) << v.Text.toStdString();
    EXPECT_EQ(v.Modul, (TModulLinky{1, 6, QStringLiteral("KM-207   v.1.02"), {}}));
    EXPECT_EQ(fresh.address(), 1);
    EXPECT_EQ(fresh.baud_index(), 6);
    EXPECT_THAT(said.join('\n').toStdString(), HasSubstr("platí od příštího zapnutí modulu"));

    // Two new modules at the factory address: refused, nothing written.
    km::emu::Module second = model(0, 4), third = model(0, 4);
    bus.add(second);
    bus.add(third);
    fake::clear_journal();
    EXPECT_EQ(UvedDoProvozu(link(), line, o).Konec, TKonecUvedeni::DvaModuly);
    for (const auto& r : testsupport::sent_requests())
        EXPECT_NE(r[1], 103u);
}

} // namespace
