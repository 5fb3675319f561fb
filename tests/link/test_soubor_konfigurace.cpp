// The module configuration file: what is written reads back the same, and
// every damaged, out-of-range or oversize file is refused with a reason.
#include "SouborKonfigurace.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

TSouborKonfigurace sample() {
    TSouborKonfigurace s;
    // Every byte value a module may send, as the identification keeps it.
    s.Modul = QStringLiteral("KM-207 ") + QChar(0) + QStringLiteral("\" v.\\") + QChar(0x81) +
              QStringLiteral("ě");
    s.Precteno = QDateTime(QDate(2024, 5, 1), QTime(14, 3, 7), QTimeZone(7200));
    s.Blok.KonfAdresa = 255;
    s.Blok.KonfRychlost = 8;
    s.Blok.KonfModCitace = 2;
    const uint8_t dio[12] = {1, 2, 3, 0x80, 0xFF, 0, 0xA5, 0x5A, 0, 0, 0, 0x10};
    for (int i = 0; i < 12; ++i)
        s.Blok.Bajt(3 + i) = dio[i];
    return s;
}

QByteArray text_of(const TSouborKonfigurace& s) {
    QByteArray t;
    QString error;
    EXPECT_TRUE(KonfiguraceNaText(s, t, error)) << error.toStdString();
    return t;
}

// The reason a text is refused; empty when it parses.
QString refusal(const QByteArray& text) {
    TSouborKonfigurace s;
    QString error;
    return TextNaKonfiguraci(text, s, error) ? QString() : error;
}

TEST(SouborKonfigurace, WhatIsWrittenReadsBackTheSame) {
    const TSouborKonfigurace s = sample();
    const QByteArray t = text_of(s);
    EXPECT_TRUE(t.contains("rychlost = 115200\n"));
    EXPECT_TRUE(t.contains("negace_din = 0x80030201\n"));
    EXPECT_TRUE(t.contains("precteno = 2024-05-01T14:03:07+02:00\n"));
    EXPECT_TRUE(t.contains("modul = \"KM-207 \\x00\\\" v.\\\\\\x81\xC4\x9B\"\n"));
    TSouborKonfigurace back;
    QString error;
    ASSERT_TRUE(TextNaKonfiguraci(t, back, error)) << error.toStdString();
    EXPECT_EQ(back, s);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("modul.km207"));
    ASSERT_TRUE(UlozKonfiguraci(path, s, error)) << error.toStdString();
    TSouborKonfigurace loaded;
    ASSERT_TRUE(NactiKonfiguraci(path, loaded, error)) << error.toStdString();
    EXPECT_EQ(loaded, s);
}

TEST(SouborKonfigurace, HandEditedFormsAreAccepted) {
    const QByteArray t = "\xEF\xBB\xBF# hand-made\r\n\r\n"
                         "  negace_dout=$FF\r\n"
                         "modul = \"\"\r\n"
                         "pocatecni_stav_dout = 16\r\n"
                         "format = 1\r\n"
                         "precteno = 2024-02-29T23:59:59Z\r\n"
                         "adresa = 0x10\r\n"
                         "rychlost = 600\r\n"
                         "mod_citace = 0\r\n"
                         "negace_din = 4294967295\r\n";
    TSouborKonfigurace s;
    QString error;
    ASSERT_TRUE(TextNaKonfiguraci(t, s, error)) << error.toStdString();
    EXPECT_EQ(s.Blok.KonfAdresa, 16);
    EXPECT_EQ(s.Blok.KonfRychlost, 0);
    EXPECT_EQ(s.Blok.NegaceDOUT[0], 0xFF);
    EXPECT_EQ(s.Blok.PocStavDOUT[0], 16);
    EXPECT_EQ(s.Blok.NegaceDIN[3], 0xFF);
    EXPECT_EQ(s.Precteno.toUTC(),
              QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59), QTimeZone::utc()));
}

TEST(SouborKonfigurace, DamagedOrOutOfRangeFilesAreRefusedWithTheirLine) {
    const QByteArray good = text_of(sample());
    const auto with = [&](const char* key, const char* line) {
        QByteArray t;
        for (const QByteArray& l : good.split('\n'))
            if (!l.isEmpty())
                t += (l.startsWith(QByteArray(key) + " =") ? QByteArray(line) : l) + '\n';
        return t;
    };
    struct Case {
        QByteArray text;
        const char* reason;
    };
    const Case cases[] = {
        {with("adresa", "adresa = 256"),
         "řádek 8: hodnota \"256\" klíče \"adresa\" musí být číslo 0-255."},
        {with("adresa", "adresa = -1"), "musí být číslo 0-255"},
        {with("adresa", "adresa = 1x"), "musí být číslo 0-255"},
        {with("adresa", "adresa ="), "chybí hodnota klíče \"adresa\""},
        {with("rychlost", "rychlost = 9601"), "rychlost \"9601\" není jedna z"},
        {with("rychlost", "rychlost = 4"), "rychlost \"4\" není jedna z"},
        {with("mod_citace", "mod_citace = 3"), "musí být číslo 0-2"},
        {with("negace_din", "negace_din = 0x100000000"), "musí být číslo 0-4294967295"},
        {with("format", "format = 2"), "nepodporovaná verze formátu \"2\""},
        {with("precteno", "precteno = 2024-02-30T10:00:00Z"), "čas čtení musí mít tvar"},
        {with("precteno", "precteno = 2024-05-01 10:00:00"), "čas čtení musí mít tvar"},
        {with("modul", "modul = KM-207"), "identifikace modulu musí být v uvozovkách"},
        {with("modul", "modul = \"a\"b\""), "v uvozovkách"},
        {with("modul", "modul = \"\\q\""), "v uvozovkách"},
        {with("modul", "modul = \"\\x4\""), "v uvozovkách"},
        {with("modul", "modul = \"0123456789abcdef\""), "delší než 15 znaků"},
        {with("modul", "modul = \"\xE2\x82\xAC\xE2\x98\x83\""), "mimo Windows-1250"},
        {with("adresa", "adresa = 1\nadresa = 2"),
         "klíč \"adresa\" je uveden podruhé (poprvé na řádku 8)"},
        {with("adresa", "adresa = 1\nbarva = modra"), "neznámý klíč \"barva\""},
        {with("adresa", "adresa 1"), "řádek 8: očekáván zápis klíč = hodnota."},
        {with("adresa", "# adresa = 1"), "V souboru chybí klíč \"adresa\"."},
        {QByteArray(), "chybí klíč \"format\""},
        {good + QByteArray("\xFF\xFE", 2), "není platný text v kódování UTF-8"},
        {good + QByteArray("\0", 1), "nulový bajt"},
        {good + QByteArray(MaxVelikostKonfigurace, '#'), "příliš velký"},
    };
    for (const Case& c : cases) {
        const QString why = refusal(c.text);
        EXPECT_TRUE(why.contains(QString::fromUtf8(c.reason)))
            << c.reason << "\n got: " << why.toStdString();
    }
    EXPECT_EQ(refusal(good), QString());
}

// LF, CR LF and CR alone, as the settings file; a file cut at any byte is
// refused or reads exactly as the whole one; reasons are Czech.
TEST(SouborKonfigurace, EveryLineEndIsTakenAndAFileCutAnywhereIsRefused) {
    const TSouborKonfigurace s = sample();
    QString error;
    for (const char* end : {"\n", "\r\n", "\r"}) {
        const QByteArray t = text_of(s).replace("\n", end);
        TSouborKonfigurace back;
        ASSERT_TRUE(TextNaKonfiguraci(t, back, error)) << end << error.toStdString();
        EXPECT_EQ(back, s);
        for (qsizetype n = 0; n < t.size(); ++n) {
            TSouborKonfigurace cut;
            if (TextNaKonfiguraci(t.left(n), cut, error)) {
                EXPECT_EQ(cut, s) << n;
            }
        }
    }
    QTemporaryDir dir;
    TSouborKonfigurace s2;
    EXPECT_FALSE(NactiKonfiguraci(dir.filePath(QStringLiteral("none")), s2, error));
    EXPECT_TRUE(error.contains(QStringLiteral("neexistuje"))) << error.toStdString();
}

TEST(SouborKonfigurace, OnlyAValidBlockIsWrittenAndABigFileIsNotRead) {
    QByteArray t;
    QString error;
    TSouborKonfigurace s = sample();
    s.Blok.KonfRychlost = 9;
    EXPECT_FALSE(KonfiguraceNaText(s, t, error));
    s = sample();
    s.Blok.KonfModCitace = 3;
    EXPECT_FALSE(KonfiguraceNaText(s, t, error));
    s = sample();
    s.Precteno = QDateTime();
    EXPECT_FALSE(KonfiguraceNaText(s, t, error));
    s = sample();
    s.Modul = QStringLiteral("€ is fine, ☃ is not");
    EXPECT_FALSE(KonfiguraceNaText(s, t, error));
    EXPECT_TRUE(t.isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(1 << 20, '#'));
    f.close();
    EXPECT_FALSE(NactiKonfiguraci(path, s, error));
    EXPECT_TRUE(error.contains(QStringLiteral("příliš velký")));
    EXPECT_FALSE(NactiKonfiguraci(dir.filePath(QStringLiteral("none")), s, error));
}

} // namespace
