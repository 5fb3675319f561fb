// The communication record of every command, the bounded log, its lines,
// CSV export and statistics, through the test driver bound as the program
// binds it.
#include "Komunikace.h"
#include "Kxxx410.h"
#include "Prikazy.h"
#include "fake_link.h"
#include "fake_module.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

// Splits CSV text (RFC 4180: quoted fields, doubled quotes, CR LF) into rows.
std::vector<QStringList> parse_csv(const QString& text) {
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() &&
                text.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() &&
                   text.at(i + 1) == QLatin1Char('\n')) {
            row << field;
            rows.push_back(row);
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

class Komunikace : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::open_fake_link(data, 4);
        NastavHodiny([] { return QDateTime(QDate(2024, 5, 1), QTime(14, 3, 7, 123)); });
    }
    void TearDown() override {
        NastavPozorovatele({});
        NastavHodiny({});
        fake::detach_module();
        testsupport::close_link(data);
    }
    uint8_t send(uint8_t address, uint8_t prikaz, uint8_t p5, std::array<uint8_t, 5> b,
                 uint32_t handle = 1) {
        uint8_t chyba = 99;
        TOdpoved odpoved{};
        ProvedPrikaz(data.Rozhrani, handle == 1 ? data.Handle : handle, address, prikaz, p5, &b[0],
                     &b[1], &b[2], &b[3], &b[4], chyba, odpoved);
        return chyba;
    }
    TData data;
};

TEST_F(Komunikace, EveryCommandThatReachesTheDriverIsReported) {
    std::vector<TZaznamPrikazu> seen;
    NastavPozorovatele([&](const TZaznamPrikazu& z) { seen.push_back(z); });
    fake::push_reply(testsupport::reply_bytes(0, 62, 62, 4, 4));
    send(9, 102, 0, {0, 62, 62, 0, 0});
    fake::push_reply(testsupport::reply_status(5));
    send(9, 200, 1, {7, 0, 0, 0, 0});
    send(9, 200, 1, {7, 0, 0, 0, 0}, 0); // handle 0: never reaches a driver
    uint8_t b = 0, chyba = 0;
    TOdpoved odpoved{};
    ProvedPrikaz(4, data.Handle, 9, 0, 80, &b, nullptr, &b, &b, &b, chyba, odpoved);
    ASSERT_EQ(seen.size(), 2u);

    EXPECT_EQ(seen[0].Cas, QDateTime(QDate(2024, 5, 1), QTime(14, 3, 7, 123)));
    EXPECT_EQ(seen[0].Rozhrani, 4);
    EXPECT_EQ(seen[0].Adresa, 9);
    EXPECT_EQ(seen[0].Prikaz, 102);
    EXPECT_EQ(seen[0].P5, 0);
    EXPECT_THAT(seen[0].Pozadavek, ElementsAre(0, 62, 62, 0, 0));
    EXPECT_THAT(seen[0].Odpoved, ElementsAre(0, 62, 62, 4, 4));
    EXPECT_EQ(seen[0].Chyba, 0);
    EXPECT_THAT(seen[1].Pozadavek, ElementsAre(7, 0, 0, 0, 0));
    EXPECT_THAT(seen[1].Odpoved, ElementsAre(0, 0, 0, 0, 0));
    EXPECT_EQ(seen[1].Chyba, 5);

    NastavPozorovatele({});
    send(9, 0, 80, {});
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(Komunikace, RoundTripIsMeasuredAroundTheDriver) {
    km::emu::Config c;
    km::emu::Module module(c);
    km::emu::FaultRule slow;
    slow.kind = km::emu::FaultKind::Delay;
    slow.count = 1;
    slow.delay_ms = 30;
    module.add_fault(slow);
    fake::attach_module(module, {.timeout_ms = 100, .sleep_on_delay = true});
    TLogKomunikace log;
    log.Pripoj();
    send(0, 0, 80, {});
    ASSERT_EQ(log.Pocet(), 1);
    EXPECT_GE(log.Zaznam(0).DobaUs, 30000u) << "the delayed reply is inside the round trip";
}

TEST_F(Komunikace, TheLogKeepsTheLastRecordsAndStaysBounded) {
    TLogKomunikace log;
    EXPECT_EQ(log.Kapacita(), 10000);
    log.Pripoj();
    for (int i = 0; i < 20000; ++i)
        send(1, 1, 64, {0, static_cast<uint8_t>(i), static_cast<uint8_t>(i >> 8), 0, 0});
    EXPECT_EQ(log.Pocet(), 10000);
    EXPECT_EQ(log.Celkem(), 20000u);
    // The oldest kept is command 10000, the newest 19999.
    EXPECT_EQ(log.Zaznam(0).Pozadavek[1] | log.Zaznam(0).Pozadavek[2] << 8, 10000);
    EXPECT_EQ(log.Zaznam(9999).Pozadavek[1] | log.Zaznam(9999).Pozadavek[2] << 8, 19999);
    EXPECT_EQ(log.Statistika().Prikazy, 20000u);

    log.NastavPozastaveno(true);
    send(1, 1, 64, {});
    EXPECT_EQ(log.Celkem(), 20000u) << "nothing kept while paused";
    log.Vymaz();
    EXPECT_EQ(log.Pocet(), 0);
    EXPECT_EQ(log.Statistika().Prikazy, 0u);

    // Another log takes over; one gone leaves no observer behind.
    {
        TLogKomunikace other;
        other.Pripoj();
        EXPECT_FALSE(log.Pripojen());
        EXPECT_TRUE(other.Pripojen());
    }
    EXPECT_FALSE(JePozorovatel());
}

TEST_F(Komunikace, LinesNameTheCommandAndMarkFailures) {
    TLogKomunikace log;
    log.Pripoj();
    fake::push_reply(testsupport::reply_bytes(0, 62, 62, 4, 4));
    send(5, 102, 0, {0, 62, 62, 0, 0});
    fake::push_reply(testsupport::reply_status(5));
    send(5, 200, 0, {});
    EXPECT_TRUE(log.Radek(0).startsWith(
        QStringLiteral("14:03:07.123  adr 5  102 čtení registru 62 (rychlost)  "
                       "00 3E 3E 00 00 -> ")));
    EXPECT_TRUE(log.Radek(0).contains(QStringLiteral("-> 00 3E 3E 04 04  0 V pořádku  ")));
    EXPECT_TRUE(log.Radek(0).endsWith(QStringLiteral(" ms")));
    EXPECT_TRUE(log.Radek(1).contains(
        QStringLiteral("200 identifikace (název 1-4)  00 00 00 00 00 -> 00 00 00 00 00  "
                       "CHYBA 5 Modul neodpovídá  ")));
}

TEST_F(Komunikace, EveryCommandOfTheTableHasItsMeaning) {
    std::array<uint8_t, 5> b{0, 63, 63, 1, 1};
    EXPECT_EQ(NazevPrikazu(103, 0, b), QStringLiteral("103 zápis registru 63 (adresa)"));
    EXPECT_EQ(NazevPrikazu(0, 80, b), QStringLiteral("0 čtení čítače"));
    EXPECT_EQ(NazevPrikazu(57, 3, b), QStringLiteral("57 neznámý příkaz (P5 3)"));
    EXPECT_EQ(NazevPrikazu(100, 9, b), QStringLiteral("100 neznámý příkaz (P5 9)"));
    QSet<QString> names;
    for (const TPopisPrikazu& r : TabulkaPrikazu()) {
        const QString n = NazevPrikazu(r.Prikaz, static_cast<uint8_t>(std::max(r.P5, 0)), b);
        EXPECT_FALSE(n.contains(QStringLiteral("neznámý"))) << n.toStdString();
        names.insert(n);
    }
    EXPECT_EQ(names.size(), static_cast<qsizetype>(TabulkaPrikazu().size()));
    // Every register in use has a name of its own.
    QSet<QString> registers;
    for (const TRegistr& r : RegistryBloku())
        registers.insert(NazevRegistru(r.Cislo));
    EXPECT_EQ(registers.size(), 15);
    EXPECT_EQ(NazevRegistru(41), QStringLiteral("počáteční stav DOUT24-31"));
    EXPECT_EQ(NazevRegistru(44), QString());
}

TEST_F(Komunikace, CsvQuotesFieldsAndReadsBack) {
    TLogKomunikace log;
    log.NastavZdrojTextu([](uint8_t, uint8_t c) {
        return c ? QStringLiteral("Chyba, \"vážná\"") : QStringLiteral("V pořádku");
    });
    log.Pripoj();
    send(200, 101, 1, {0, 1, 2, 3, 0});
    fake::push_reply(testsupport::reply_status(18));
    send(200, 101, 2, {0, 31, 12, 3, 0});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.csv"));
    QString error;
    ASSERT_TRUE(log.UlozCsv(path, error)) << error.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const auto rows = parse_csv(QString::fromUtf8(f.readAll()));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], HlavickaCsv().split(QLatin1Char(',')));
    EXPECT_EQ(rows[1][0], QStringLiteral("2024-05-01 14:03:07.123"));
    EXPECT_EQ(rows[1][1], QStringLiteral("KL-4100"));
    EXPECT_EQ(rows[1][5], QStringLiteral("101 nastavení času"));
    EXPECT_EQ(rows[2][6], QStringLiteral("00 1F 0C 03 00"));
    EXPECT_EQ(rows[2][8], QStringLiteral("18"));
    EXPECT_EQ(rows[2][9], QStringLiteral("Chyba, \"vážná\""));
    for (const auto& r : rows)
        EXPECT_EQ(r.size(), 11);
    EXPECT_FALSE(log.UlozCsv(dir.filePath(QStringLiteral("no/such/folder/x.csv")), error));
    EXPECT_FALSE(error.isEmpty());
}

// "CSV pro Excel": the same columns, semicolons, decimal commas, a BOM.
TEST_F(Komunikace, CsvForExcelHasSemicolonsDecimalCommasAndABom) {
    TLogKomunikace log;
    log.NastavZdrojTextu([](uint8_t, uint8_t) { return QStringLiteral("Chyba; a, b"); });
    log.Pripoj();
    send(200, 101, 1, {0, 1, 2, 3, 0});
    const QByteArray csv = log.Csv(TDialektCsv::Excel);
    ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
    const QStringList rows = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"));
    EXPECT_EQ(rows[0], HlavickaCsv().replace(QLatin1Char(','), QLatin1Char(';')));
    EXPECT_TRUE(rows[1].startsWith(QStringLiteral("2024-05-01 14:03:07,123;KL-4100;200;101;1;")))
        << rows[1].toStdString();
    EXPECT_TRUE(rows[1].contains(QStringLiteral(";0;\"Chyba; a, b\";")));
    EXPECT_TRUE(QRegularExpression(QStringLiteral(";\\d+,\\d{3}$")).match(rows[1]).hasMatch())
        << "round trip in ms with a decimal comma: " << rows[1].toStdString();
    EXPECT_FALSE(log.Csv().startsWith("\xEF\xBB\xBF"));
}

TEST(Statistika, CountsFailuresAndRoundTrips) {
    TPocitadloPrikazu p;
    EXPECT_EQ(StatistikaNaText(p.Statistika()), QStringLiteral("příkazů 0, chyb 0"));
    for (uint32_t us : {900u, 100u, 500u, 300u, 700u})
        p.Pridej(0, us);
    p.Pridej(5, 71000);
    p.Pridej(5, 70000);
    p.Pridej(6, 2000000);
    TStatistika s = p.Statistika();
    EXPECT_EQ(s.Prikazy, 8u);
    EXPECT_EQ(s.Chyby, 3u);
    EXPECT_THAT(s.ChybyPodleKodu, ElementsAre(std::pair<const uint8_t, uint64_t>(5, 2),
                                              std::pair<const uint8_t, uint64_t>(6, 1)));
    EXPECT_EQ(s.MinUs, 100u);
    EXPECT_EQ(s.MedianUs, 700u) << "the lower of the two middle values";
    EXPECT_EQ(s.MaxUs, 2000000u);
    EXPECT_EQ(StatistikaNaText(s),
              QStringLiteral("příkazů 8, chyb 3 (5: 2x, 6: 1x), doba min 0.100 / medián 0.700 / "
                             "max 2000.000 ms"));

    // Large round trips: the median lies within 0.2 %.
    p.Vymaz();
    for (uint32_t i = 0; i < 1001; ++i)
        p.Pridej(0, 50000 + i * 37);
    s = p.Statistika();
    EXPECT_NEAR(static_cast<double>(s.MedianUs), 50000.0 + 500 * 37, (50000.0 + 500 * 37) * 0.002);
}

} // namespace
