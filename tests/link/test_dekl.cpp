// Connection record, settings file, code page and text arrays. The cases
// that need POSIX processes, file modes, FIFOs or links are in
// test_dekl_posix.cpp.
#include "test_dekl.h"
#include "Dekl.h"
#include "IniDocument.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using dekltest::Settings;

TEST(Record, DefaultsAreThoseOfAFreshStart) {
    TData d;
    d.Adresa = 9;
    d.Pripojeno = true;
    d.Handle = 77;
    d.Konfigurace.NegaceDIN[2] = 0;
    InitData(&d);
    EXPECT_EQ(d.Rozhrani, 0);
    EXPECT_EQ(d.Adresa, 0);
    EXPECT_EQ(d.Rychlost, 9600u);
    EXPECT_EQ(d.BazovaAdresa, 0x300);
    EXPECT_EQ(d.CisloPortu, 1);
    EXPECT_EQ(d.IpAdresa, QStringLiteral("192.168.0.99"));
    EXPECT_EQ(d.UdpPort, 5000u);
    EXPECT_EQ(d.UdpTimeout, 100u);
    EXPECT_EQ(d.StavText, QStringLiteral("Připojení modulu dosud neinicializováno"));
    EXPECT_EQ(d.Handle, 0u);
    EXPECT_FALSE(d.Pripojeno);
    EXPECT_TRUE(d.Modul.isEmpty());
    for (uintptr_t v : d.KonfigOvladace)
        EXPECT_EQ(v, 0u);
    const uint8_t expected[15] = {1, 4, 0, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 0, 0};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(d.Konfigurace.Bajt(i), expected[i]) << "byte " << i;
    InitData(nullptr); // no record: nothing happens
}

TEST_F(Settings, NoRecordReportsFalseAndWritesNothing) {
    EXPECT_FALSE(CtiIni(nullptr));
    EXPECT_FALSE(ZapisIni(nullptr));
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(Settings, MissingFileOrInterfaceKeepsDefaults) {
    EXPECT_FALSE(CtiIni(&data));
    writeText(QStringLiteral("[Připojení]\r\nAdresa=7\r\n"));
    EXPECT_FALSE(CtiIni(&data));
    EXPECT_EQ(data.Adresa, 0);
}

TEST_F(Settings, JklIsTakenForNoInterfaceAndEverythingElseIgnored) {
    writeText(
        QStringLiteral("[Připojení]\r\nRozhraní=jkl\r\nAdresa=7\r\n[COMx]\r\nČíslo portu=3\r\n"));
    EXPECT_FALSE(CtiIni(&data));
    EXPECT_EQ(data.Adresa, 0);
    EXPECT_EQ(data.CisloPortu, 1);
}

TEST_F(Settings, AllKeysLoadAndValuesAreCutToTheirFields) {
    writeText(
        QStringLiteral("[Připojení]\r\nRozhraní=KL-4100\r\nAdresa=300\r\nRychlost=$4B00\r\n"
                       "[KIB-410]\r\nBázová adresa=0x12A0\r\n"
                       "[COMx]\r\nČíslo portu=0x10\r\n"
                       "[KL-4100]\r\nIP adresa=10.0.0.5\r\nUDP port=6001\r\nUDP timeout=250\r\n"));
    EXPECT_TRUE(CtiIni(&data));
    EXPECT_EQ(data.Rozhrani, 4);
    EXPECT_EQ(data.Adresa, 44);
    EXPECT_EQ(data.Rychlost, 19200u);
    EXPECT_EQ(data.BazovaAdresa, 0x12A0);
    EXPECT_EQ(data.CisloPortu, 16);
    EXPECT_EQ(data.IpAdresa, QStringLiteral("10.0.0.5"));
    EXPECT_EQ(data.UdpPort, 6001u);
    EXPECT_EQ(data.UdpTimeout, 250u);
}

TEST_F(Settings, BadNumbersKeepTheFieldAndOverflowIsNotANumber) {
    writeText(
        QStringLiteral("[Připojení]\r\nRozhraní=COMx\r\nAdresa=12x\r\nRychlost=99999999999\r\n"
                       "[COMx]\r\nČíslo portu=\r\n"));
    EXPECT_TRUE(CtiIni(&data));
    EXPECT_EQ(data.Adresa, 0);
    EXPECT_EQ(data.Rychlost, 9600u);
    EXPECT_EQ(data.CisloPortu, 1);
}

TEST_F(Settings, InterfaceNameIsCaseSensitiveButSectionAndKeyNamesAreNot) {
    writeText(QStringLiteral("[PŘIPOJENÍ]\r\nROZHRANÍ=kl-4100\r\nadresa=5\r\n"));
    data.Rozhrani = 3;
    EXPECT_TRUE(CtiIni(&data));
    EXPECT_EQ(data.Rozhrani, 3); // unknown spelling leaves the kind unchanged
    EXPECT_EQ(data.Adresa, 5);
}

TEST_F(Settings, WrittenBytesAreWindows1250) {
    data.Rozhrani = 0;
    data.CisloPortu = 2;
    data.Adresa = 7;
    ASSERT_TRUE(ZapisIni(&data));
    const QByteArray expected(
        "[P\xF8ipojen\xED]\r\nRozhran\xED=COMx\r\nAdresa=7\r\nRychlost=9600\r\n"
        "\r\n[COMx]\r\n\xC8\xEDslo portu=2\r\n");
    EXPECT_EQ(readBytes(), expected);
}

TEST_F(Settings, OnlyTheCurrentKindIsWrittenAndOtherSectionsSurvive) {
    writeText(QStringLiteral("; site notes\r\n[Připojení]\r\nRozhraní=KL-4100\r\nAdresa=3\r\n"
                             "Operator=Jana\r\n[KL-4100]\r\nIP adresa=10.1.1.1\r\nUDP port=7\r\n"
                             "[Vlastní]\r\nklíč=hodnota\r\n"));
    ASSERT_TRUE(CtiIni(&data));
    data.Rozhrani = 2;
    data.Adresa = 9;
    ASSERT_TRUE(ZapisIni(&data));
    EXPECT_EQ(readText(),
              QStringLiteral("; site notes\r\n[Připojení]\r\nRozhraní=KPB-4100\r\nAdresa=9\r\n"
                             "Operator=Jana\r\nRychlost=9600\r\n[KL-4100]\r\nIP adresa=10.1.1.1\r\n"
                             "UDP port=7\r\n[Vlastní]\r\nklíč=hodnota\r\n"));
}

TEST_F(Settings, EachKindKeepsItsParametersAcrossRuns) {
    data.Rozhrani = 4;
    data.IpAdresa = QStringLiteral("127.0.0.1");
    data.UdpPort = 6000;
    ASSERT_TRUE(ZapisIni(&data));
    data.Rozhrani = 1;
    data.BazovaAdresa = 0x2A0;
    ASSERT_TRUE(ZapisIni(&data));

    TData next;
    InitData(&next);
    ASSERT_TRUE(CtiIni(&next));
    EXPECT_EQ(next.Rozhrani, 1);
    EXPECT_EQ(next.BazovaAdresa, 0x2A0);
    EXPECT_EQ(next.IpAdresa, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(next.UdpPort, 6000u);
}

TEST_F(Settings, UnknownKindIsWrittenAsComPort) {
    data.Rozhrani = 7;
    ASSERT_TRUE(ZapisIni(&data));
    EXPECT_TRUE(readText().contains(QStringLiteral("Rozhraní=COMx")));
    EXPECT_TRUE(readText().contains(QStringLiteral("[COMx]")));
}

TEST_F(Settings, ChangesMadeByOthersBeforeClosingAreKept) {
    writeText(QStringLiteral("[Připojení]\r\nRozhraní=COMx\r\n"));
    ASSERT_TRUE(CtiIni(&data));
    // Someone edits the file while the program runs.
    writeText(QStringLiteral("[Připojení]\r\nRozhraní=COMx\r\n[Poznámky]\r\nlinka=3\r\n"));
    ASSERT_TRUE(ZapisIni(&data));
    EXPECT_TRUE(readText().contains(QStringLiteral("[Poznámky]\r\nlinka=3")));
}

TEST_F(Settings, FileThatCannotBeReadIsNotReplaced) {
    // A folder in the file's place: it exists but cannot be read as a file.
    ASSERT_TRUE(QDir(dir).mkdir(QStringLiteral("W_km207.ini")));
    data.Adresa = 5;
    EXPECT_TRUE(ZapisIni(&data));
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_TRUE(userText().contains(QStringLiteral("Adresa=5"))) << "kept in the per-user file";
}

TEST_F(Settings, NoValueBreaksALineOrBeginsASection) {
    data.Rozhrani = 4;
    data.UdpPort = 6000;
    data.IpAdresa = QStringLiteral("127.0.0.1\r\nUDP port=1\n[Připojení]\rRozhraní=KIB-410\t") +
                    QChar(0x2028) + QStringLiteral("x");
    ASSERT_TRUE(ZapisIni(&data));
    EXPECT_EQ(readText().split(QStringLiteral("\r\n")).count(QStringLiteral("[Připojení]")), 1);
    TData next;
    InitData(&next);
    ASSERT_TRUE(CtiIni(&next));
    EXPECT_EQ(next.Rozhrani, 4);
    EXPECT_EQ(next.UdpPort, 6000u);
    // Control characters and line separators go, every other character stays.
    EXPECT_EQ(next.IpAdresa, QStringLiteral("127.0.0.1UDP port=1[Připojení]Rozhraní=KIB-410x"));

    // The writer itself, whoever calls it.
    IniDocument doc;
    doc.setValue(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v\nw\r[B]\x01"));
    EXPECT_EQ(doc.toString(), QStringLiteral("[A]\r\nk=vw[B]\r\n"));
}

TEST_F(Settings, AFileOverOneMebibyteIsNeitherReadNorReplaced) {
    QByteArray bytes =
        TextNaCp1250(QStringLiteral("[Připojení]\r\nRozhraní=KL-4100\r\nAdresa=7\r\n"));
    bytes.append(QByteArray(1024 * 1024 - bytes.size(), ';'));
    writeBytes(bytes);
    EXPECT_TRUE(CtiIni(&data)) << "one mebibyte is still read";
    EXPECT_EQ(data.Adresa, 7);

    bytes.append(';');
    writeBytes(bytes);
    InitData(&data);
    EXPECT_FALSE(CtiIni(&data));
    EXPECT_EQ(data.Adresa, 0);
    data.Adresa = 5;
    EXPECT_TRUE(ZapisIni(&data));
    EXPECT_EQ(readBytes(), bytes);
    EXPECT_TRUE(userText().contains(QStringLiteral("Adresa=5")));
}

TEST_F(Settings, ByteOrderMarkIsSkippedAndTheFileStaysUtf8) {
    writeBytes(QByteArray("\xEF\xBB\xBF") +
               QStringLiteral("[Připojení]\r\nRozhraní=KL-4100\r\nAdresa=7\r\n"
                              "[KL-4100]\r\nIP adresa=10.0.0.9\r\n")
                   .toUtf8());
    ASSERT_TRUE(CtiIni(&data));
    EXPECT_EQ(data.Rozhrani, 4);
    EXPECT_EQ(data.Adresa, 7);
    EXPECT_EQ(data.IpAdresa, QStringLiteral("10.0.0.9"));
    data.Adresa = 9;
    ASSERT_TRUE(ZapisIni(&data));
    EXPECT_EQ(readBytes(), QByteArray("\xEF\xBB\xBF") +
                               QStringLiteral("[Připojení]\r\nRozhraní=KL-4100\r\nAdresa=9\r\n"
                                              "Rychlost=9600\r\n[KL-4100]\r\nIP adresa=10.0.0.9\r\n"
                                              "UDP port=5000\r\nUDP timeout=100\r\n")
                                   .toUtf8());
}

TEST_F(Settings, EachLineEndStyleIsReadAndKept) {
    for (const QString& eol : {QStringLiteral("\r"), QStringLiteral("\n")}) {
        writeText(QStringLiteral("[Připojení]%1Rozhraní=COMx%1Adresa=5%1[COMx]%1Číslo portu=3%1")
                      .arg(eol));
        InitData(&data);
        ASSERT_TRUE(CtiIni(&data));
        EXPECT_EQ(data.Adresa, 5);
        EXPECT_EQ(data.CisloPortu, 3);
        data.Adresa = 6;
        ASSERT_TRUE(ZapisIni(&data));
        EXPECT_EQ(readText(),
                  QStringLiteral("[Připojení]%1Rozhraní=COMx%1Adresa=6%1Rychlost=9600%1[COMx]%1"
                                 "Číslo portu=3%1")
                      .arg(eol));
    }
}

TEST(Codepage, EveryByteRoundTrips) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const QString text = Cp1250NaText(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(TextNaCp1250(text), all);
    QSet<QChar> distinct(text.begin(), text.end());
    EXPECT_EQ(distinct.size(), 256) << "each byte is its own character";
}

TEST(Codepage, CzechLettersAndUndefinedBytes) {
    EXPECT_EQ(ZnakCp1250(0xF8), QChar(0x0159)); // ř
    EXPECT_EQ(ZnakCp1250(0x8A), QChar(0x0160)); // Š
    EXPECT_EQ(ZnakCp1250(0x80), QChar(0x20AC)); // €
    EXPECT_EQ(ZnakCp1250(0x81), QChar(0x0081)); // undefined: C1 control
    EXPECT_EQ(BajtCp1250(QChar(0x017E)), 0x9E); // ž
    EXPECT_EQ(BajtCp1250(QChar(0x4E2D)), '?');  // not in the code page
}

TEST(TextArray, ConversionsBothWays) {
    TTextPole p;
    p.fill(5);
    EXPECT_EQ(TextNaPole(QStringLiteral("abc"), p), 0);
    EXPECT_EQ(p[0], 0u);
    EXPECT_EQ(p[1], 97u);
    EXPECT_EQ(p[2], 98u);
    EXPECT_EQ(p[3], 99u);
    for (size_t i = 4; i < p.size(); ++i)
        EXPECT_EQ(p[i], 0u);
    EXPECT_EQ(PoleNaText(p), QStringLiteral("abc"));

    TextNaPole(QStringLiteral("Přečíst"), p);
    EXPECT_EQ(p[2], 0xF8u);
    EXPECT_EQ(PoleNaText(p), QStringLiteral("Přečíst"));
}

TEST(TextArray, ReadingStopsAtTheFirstZeroFromElementOne) {
    TTextPole p{};
    p[0] = 65;
    p[1] = 66;
    p[3] = 67;
    EXPECT_EQ(PoleNaText(p), QStringLiteral("AB"));
    TTextPole q{};
    q[2] = 67;
    EXPECT_EQ(PoleNaText(q), QString());
    TTextPole full;
    full.fill('x');
    EXPECT_EQ(PoleNaText(full), QString(100, QLatin1Char('x')));
    // Only the low byte of an element is a character.
    TTextPole wide{};
    wide[0] = 0x141;
    wide[1] = 0x4200; // character 0: the text ends here
    wide[2] = 0x43;
    EXPECT_EQ(PoleNaText(wide), QStringLiteral("A"));
}

TEST(TextArray, LongTextIsCutTo99Characters) {
    QString text;
    for (int i = 0; i < 120; ++i)
        text += QChar('a' + i % 26);
    TTextPole p;
    TextNaPole(text, p);
    EXPECT_EQ(PoleNaText(p), text.left(99));
}

TEST(Numbers, AcceptedForms) {
    EXPECT_EQ(TextNaCislo(QStringLiteral("12")), 12);
    EXPECT_EQ(TextNaCislo(QStringLiteral("  12 ")), 12);
    EXPECT_EQ(TextNaCislo(QStringLiteral("-1")), -1);
    EXPECT_EQ(TextNaCislo(QStringLiteral("+7")), 7);
    EXPECT_EQ(TextNaCislo(QStringLiteral("$1F")), 31);
    EXPECT_EQ(TextNaCislo(QStringLiteral("0x10")), 16);
    EXPECT_EQ(TextNaCislo(QStringLiteral("0XfF")), 255);
    EXPECT_EQ(TextNaCislo(QStringLiteral("0xFFFFFFFF")), 4294967295LL);
    EXPECT_EQ(TextNaCislo(QStringLiteral("4294967295")), 4294967295LL);
    EXPECT_EQ(TextNaCislo(QStringLiteral("-2147483648")), -2147483648LL);
}

TEST(Numbers, RefusedForms) {
    for (const char* t : {"", " ", "-", "$", "0x", "1a", "a1", "1 2", "0x1G", "$123456789",
                          "4294967296", "-2147483649", "99999999999999999999999", "1.5", "٣"})
        EXPECT_FALSE(TextNaCislo(QString::fromUtf8(t)).has_value()) << t;
}

TEST(Identification, ZeroCharactersShowAsBlanks) {
    const QString modul = QStringLiteral("KM") + QChar(0) + QStringLiteral("207");
    EXPECT_EQ(modul.size(), 6);
    EXPECT_EQ(ModulNaText(modul), QStringLiteral("KM 207"));
}

// A program beside its own writable folder keeps the file there; installed
// (drivers in ../lib/km207) it keeps it per user even where bin/ is writable.
TEST(SettingsPath, InstalledProgramWritesPerUser) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    EXPECT_EQ(CestaIniProSlozku(bin), QDir(bin).filePath(QStringLiteral("W_km207.ini")));

    ASSERT_TRUE(QDir().mkpath(prefix.filePath(QStringLiteral("lib/km207"))));
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    EXPECT_EQ(CestaIniProSlozku(bin), QDir(perUser).filePath(QStringLiteral("W_km207.ini")));
}

} // namespace
