// The conversions the live views rely on: four bytes to a word, clock
// register bytes to time and date text, and the PC clock seam.
#include "Dekl.h"

#include <gtest/gtest.h>

namespace {

class ClockText : public ::testing::Test {
  protected:
    void TearDown() override { NastavHodiny({}); }
    static void pc_year(int year) {
        NastavHodiny([year] { return QDateTime(QDate(year, 7, 1), QTime(10, 0)); });
    }
};

TEST(BajtyNaCislo, LeastSignificantFirst) {
    EXPECT_EQ(BajtyNaCislo(0x01, 0x02, 0x03, 0x04), 0x04030201u);
    EXPECT_EQ(BajtyNaCislo(255, 255, 255, 255), 4294967295u);
    EXPECT_EQ(BajtyNaCislo(0, 0, 0, 0x80), 0x80000000u);
    EXPECT_EQ(BajtyNaCislo(0, 0, 0, 0), 0u);
}

TEST(CasNaText, Examples) {
    EXPECT_EQ(CasNaText(7, 5, 9), QStringLiteral("9:05:07"));
    EXPECT_EQ(CasNaText(0, 0, 0), QStringLiteral("0:00:00"));
    EXPECT_EQ(CasNaText(60, 75, 30), QStringLiteral("23:59:59"));
    EXPECT_EQ(CasNaText(10, 10, 10), QStringLiteral("10:10:10"));
}

TEST(CasNaText, ClampsOnlyFromAbove) {
    for (int v = 24; v <= 255; ++v)
        EXPECT_EQ(CasNaText(0, 0, static_cast<uint8_t>(v)), QStringLiteral("23:00:00"));
    for (int v = 60; v <= 255; ++v) {
        EXPECT_EQ(CasNaText(static_cast<uint8_t>(v), 0, 0), QStringLiteral("0:00:59"));
        EXPECT_EQ(CasNaText(0, static_cast<uint8_t>(v), 0), QStringLiteral("0:59:00"));
    }
    EXPECT_EQ(CasNaText(59, 59, 23), QStringLiteral("23:59:59"));
}

TEST_F(ClockText, ExamplesIn2026) {
    pc_year(2026);
    EXPECT_EQ(DatumNaText(6, 12, 2), QStringLiteral("6.12.2026"));
    EXPECT_EQ(DatumNaText(1, 1, 3), QStringLiteral("1.1.2027"));
    EXPECT_EQ(DatumNaText(1, 1, 0), QStringLiteral("1.1.2024"));
}

TEST_F(ClockText, YearByte3IsTheLastYearOfTheBlock) {
    for (int y = 2024; y <= 2027; ++y) {
        pc_year(y);
        EXPECT_EQ(DatumNaText(1, 1, 3), QStringLiteral("1.1.2027")) << y;
    }
    pc_year(2028);
    EXPECT_EQ(DatumNaText(1, 1, 0), QStringLiteral("1.1.2028"));
    EXPECT_EQ(DatumNaText(1, 1, 3), QStringLiteral("1.1.2031"));
}

TEST_F(ClockText, YearByteAddedWhole) {
    pc_year(2026);
    EXPECT_EQ(DatumNaText(1, 1, 10), QStringLiteral("1.1.2034"));
    EXPECT_EQ(DatumNaText(1, 1, 255), QStringLiteral("1.1.2279"));
}

TEST_F(ClockText, YearIsAnUnsigned16BitSum) {
    pc_year(65535);
    EXPECT_EQ(DatumNaText(1, 1, 0), QStringLiteral("1.1.65532"));
    EXPECT_EQ(DatumNaText(1, 1, 4), QStringLiteral("1.1.0"));
}

TEST_F(ClockText, DayAndMonthClampedFromAboveOnly) {
    pc_year(2025);
    for (int v = 32; v <= 255; ++v)
        EXPECT_EQ(DatumNaText(static_cast<uint8_t>(v), 1, 1), QStringLiteral("31.1.2025"));
    for (int v = 13; v <= 255; ++v)
        EXPECT_EQ(DatumNaText(1, static_cast<uint8_t>(v), 1), QStringLiteral("1.12.2025"));
    EXPECT_EQ(DatumNaText(0, 0, 1), QStringLiteral("0.0.2025"));
    EXPECT_EQ(DatumNaText(31, 12, 1), QStringLiteral("31.12.2025"));
}

TEST_F(ClockText, EmptyFunctionRestoresThePcClock) {
    pc_year(1999);
    EXPECT_EQ(MistniCas().date().year(), 1999);
    NastavHodiny({});
    const qint64 apart = MistniCas().secsTo(QDateTime::currentDateTime());
    EXPECT_LE(std::abs(apart), 2);
}

} // namespace
