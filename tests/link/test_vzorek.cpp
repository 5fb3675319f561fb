// The trend sample's pieces in the link: the counter's difference by the
// wrap rule of each mode, the rate over its window, the CSV row, and opening a recording
// only on a regular file or a new one (links and FIFOs: test_soubory_posix.cpp).
#include "Soubory.h"
#include "Vzorek.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(Vzorek, CounterDifferenceTakesOneWrapOfTheModesRange) {
    // 32 bits: across 2^32, up and down.
    EXPECT_EQ(RozdilCitace(0, 0xFFFFFFF0, 0x10), 0x20);
    EXPECT_EQ(RozdilCitace(0, 5, 0xFFFFFFFE), -7);
    // 23 bits: 2^23 - 8 to 10 is 18 counts on.
    EXPECT_EQ(RozdilCitace(1, 8388600, 10), 18);
    // Sign and magnitude: from the largest value to -(2^23 - 2) is 2 on.
    EXPECT_EQ(RozdilCitace(2, 8388607, -8388606), 2);
    EXPECT_EQ(RozdilCitace(2, -3, 4), 7);
    EXPECT_EQ(RozdilCitace(2, 4, -3), -7);
    // Mode 2 bytes: sign bit 7 of B3, B4 ignored.
    EXPECT_EQ(CitacNaCislo(2, 1, 0, 0x80, 0xFF), -1);
    EXPECT_EQ(CitacNaCislo(0, 0xFF, 0xFF, 0xFF, 0xFF), 4294967295LL);
}

TEST(Vzorek, RateIsTakenOverItsWindowAndStartsAfreshAfterAGapOrAChangeOfMode) {
    TRychlostCitace r;
    TVzorek v;
    v.Mod = 1;
    v.Citac = 8388000;
    v.CitacUs = 1000000;
    EXPECT_FALSE(r.Dalsi(v).has_value());
    v.Citac = 392; // 1000 counts on, across the 23-bit wrap, in 0.5 s
    v.CitacUs = 1500000;
    EXPECT_DOUBLE_EQ(r.Dalsi(v).value_or(0), 2000.0);
    EXPECT_FALSE(r.Dalsi(TVzorek{}).has_value()); // a failed read: no rate
    v.Citac = 1392; // the module may have been restarted meanwhile: none yet
    v.CitacUs = 2500000;
    EXPECT_FALSE(r.Dalsi(v).has_value());
    // 250 counts a second read every 100 ms, 24 and 26 by turns: the 1 s
    // window holds 250 of them, one more or less moving it by 1/s.
    for (int i = 1; i <= 20; ++i) {
        v.Citac = 1392 + i * 25 - i % 2;
        v.CitacUs = 2500000 + i * 100000;
        const double rate = r.Dalsi(v).value_or(0);
        EXPECT_TRUE(i < 10 || rate == 250.0) << i << ": " << rate;
    }
    v.Mod = 0;
    v.CitacUs = 4600000;
    EXPECT_FALSE(r.Dalsi(v).has_value());
}

TEST(Vzorek, CsvRowLeavesAFailedValueEmpty) {
    EXPECT_EQ(HlavickaPrubehuCsv(), QStringLiteral("cas,citac,rychlost,vstupy,stav,chyba"));
    TVzorek v;
    v.Cas = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 89)).toMSecsSinceEpoch();
    v.Citac = -12;
    v.Vstupy = 0xA5;
    v.Selhani = 1;
    v.Chyba = 4;
    EXPECT_EQ(RadekPrubehuCsv(v, 1234.56),
              QStringLiteral("2026-03-04 05:06:07.089,-12,1234.6,0x000000A5,,4"));
    v = TVzorek{};
    v.Cas = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 89)).toMSecsSinceEpoch();
    v.Stav = 0x80000002;
    EXPECT_EQ(RadekPrubehuCsv(v, std::nullopt),
              QStringLiteral("2026-03-04 05:06:07.089,,,,0x80000002,0"));
}

TEST(Vzorek, CsvForExcelRowsHaveSemicolonsAndDecimalCommas) {
    EXPECT_EQ(HlavickaPrubehuCsv(TDialektCsv::Excel),
              QStringLiteral("cas;citac;rychlost;vstupy;stav;chyba"));
    TVzorek v;
    v.Cas = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 89)).toMSecsSinceEpoch();
    v.Citac = -12;
    v.Vstupy = 0xA5;
    EXPECT_EQ(RadekPrubehuCsv(v, 1234.56, TDialektCsv::Excel),
              QStringLiteral("2026-03-04 05:06:07,089;-12;1234,6;0x000000A5;;0"));
}

class NovySoubor : public ::testing::Test {
  protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

TEST_F(NovySoubor, CreatesOrReplacesARegularFile) {
    QFile f;
    QString error;
    ASSERT_TRUE(OtevriNovySoubor(f, path("a.csv"), error)) << error.toStdString();
    f.write("new");
    f.close();
    {
        QFile old(path("target.csv"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents, longer");
    }
    ASSERT_TRUE(OtevriNovySoubor(f, path("target.csv"), error)) << error.toStdString();
    f.write("x");
    f.close();
    QFile target(path("target.csv"));
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), QByteArray("x"));
}

TEST_F(NovySoubor, RefusesAFolder) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QFile f;
    QString error;
    EXPECT_FALSE(OtevriNovySoubor(f, path("folder"), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(f.isOpen());
    EXPECT_TRUE(QFileInfo(path("folder")).isDir());
}

TEST_F(NovySoubor, RecordingWritesTheHeaderAndFlushesRows) {
    TZaznamPrubehu z;
    QString error;
    ASSERT_TRUE(z.Otevri(path("r.csv"), error)) << error.toStdString();
    TVzorek v;
    v.Citac = 1;
    ASSERT_TRUE(z.Pridej(v, std::nullopt, error));
    // Read while the recording is still open, as after a crash.
    QFile f(path("r.csv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], QByteArray("cas,citac,rychlost,vstupy,stav,chyba"));
    EXPECT_TRUE(lines[1].endsWith(",1,,,,0"));
}

} // namespace
