// The line file: what is written reads back the same, a file cut anywhere
// is refused, and every damaged or colliding file is refused naming its line.
#include "SouborLinky.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TSouborLinky sample() {
    TSouborLinky s;
    s.Moduly = {{5, 4, QStringLiteral("KM-207   v.1.02"), QStringLiteral("rozvaděč R3, pole 2")},
                {7, 6, QString(), QStringLiteral("\"uvozovky\" \\ a\tkonec")},
                {5, 8, QStringLiteral("KM-207 ") + QChar(0) + QStringLiteral(" v.1.03"), {}}};
    return s;
}

QByteArray text_of(const TSouborLinky& s) {
    QByteArray t;
    QString error;
    EXPECT_TRUE(LinkaNaText(s, t, error)) << error.toStdString();
    return t;
}

QString refusal(const QByteArray& text) {
    TSouborLinky s;
    QString error;
    return TextNaLinku(text, s, error) ? QString() : error;
}

TEST(SouborLinky, WhatIsWrittenReadsBackAndACutFileIsRefused) {
    const TSouborLinky s = sample();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("linka.km207linka"));
    QString error;
    ASSERT_TRUE(UlozLinku(path, s, error)) << error.toStdString();
    TSouborLinky back;
    ASSERT_TRUE(NactiLinku(path, back, error)) << error.toStdString();
    EXPECT_EQ(back, s);
    // Cut at every byte: refused, or (only the whole file) the same.
    const QByteArray t = text_of(s);
    for (qsizetype n = 0; n < t.size(); ++n) {
        TSouborLinky cut;
        EXPECT_FALSE(TextNaLinku(t.left(n), cut, error)) << n;
    }
}

TEST(SouborLinky, DamagedFilesAreRefusedNamingTheLine) {
    const QByteArray head = "format = 1\n";
    const QByteArray two = "modul = 5\nrychlost = 9600\nmodul = 6\nrychlost = 38400\n";
    const QByteArray end = "konec = 2\n";
    struct Case {
        QByteArray text;
        const char* reason;
    };
    const Case cases[] = {
        {head + two, "chybí závěrečný klíč \"konec\"; soubor je zřejmě neúplný"},
        {head + two + "konec = 3\n",
         "řádek 6: klíč \"konec\" uvádí modulů 3, ale před ním jich je 2"},
        {head + two + end + "modul = 7\n", "řádek 7: za klíčem \"konec\" (řádek 6) už nesmí"},
        {head + "modul = 5\nrychlost = 9600\nmodul = 5\nrychlost = 9600\n" + end,
         "řádek 4: modul na adrese 5 s rychlostí 9600 Bd je už na řádku 2"},
        {head + "modul = 5\nmodul = 6\nrychlost = 9600\nkonec = 1\n",
         "řádek 2: modulu chybí klíč \"rychlost\""},
        {head + "rychlost = 9600\n" + two + end, "řádek 2: klíč \"rychlost\" musí následovat za"},
        {head + two + "format = 1\n" + end, "řádek 6: klíč \"format\" patří na začátek souboru"},
        {head + "modul = 5\nrychlost = 9600\nrychlost = 600\nkonec = 1\n",
         "řádek 4: klíč \"rychlost\" je uveden podruhé (poprvé na řádku 3)"},
        {head + "modul = 256\nrychlost = 9600\nkonec = 1\n",
         "řádek 2: hodnota \"256\" klíče \"modul\" musí být číslo 0-255."},
        {head + "modul = 5\nrychlost = 9601\nkonec = 1\n",
         "řádek 3: rychlost \"9601\" není jedna z"},
        {head + two + "identifikace = KM\n" + end,
         "řádek 6: identifikace modulu musí být v uvozovkách"},
        {head + two + "identifikace = \"0123456789abcdef\"\n" + end, "delší než 15 znaků"},
        {head + two + "popis = \"" + QByteArray(201, 'x') + "\"\n" + end,
         "popis modulu je delší než 200 znaků"},
        {head + two + "barva = modra\n" + end, "řádek 6: neznámý klíč \"barva\""},
        {head + two + "modul 7\n" + end, "řádek 6: očekáván zápis klíč = hodnota."},
        {"format = 2\nkonec = 0\n", "řádek 1: nepodporovaná verze formátu \"2\""},
        {"konec = 0\n", "V souboru chybí klíč \"format\"."},
        {head + two + end + QByteArray("\0", 1), "nulový bajt; není to soubor linky"},
        {head + two + "\xFF\n" + end, "není platný text v kódování UTF-8"},
        {head + QByteArray(MaxVelikostLinky, '#'), "příliš velký"},
    };
    for (const Case& c : cases) {
        const QString why = refusal(c.text);
        EXPECT_TRUE(why.contains(QString::fromUtf8(c.reason)))
            << c.reason << "\n got: " << why.toStdString();
    }
    EXPECT_EQ(refusal(head + two + end), QString());
    EXPECT_EQ(refusal("# prázdná linka\r\nformat = 0x1\r\nkonec = 0\r\n# konec\r\n"), QString());
}

} // namespace
