// Driver binding and the command exchange, through the test driver library
// bound exactly as the program binds a real one.
#include "HledaniOvladace.h"
#include "Jazyk.h"
#include "Komunikace.h"
#include "Kxxx410.h"
#include "Soubory.h"
#include "driver_errors.h"
#include "fake_link.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class Binding : public ::testing::Test {
  protected:
    void SetUp() override { testsupport::use_fake_drivers(); }
    void TearDown() override {
        OvladacUvolni();
        NastavAdresarOvladacu(QString());
    }
    uint32_t handle = 0;
    TKonfigOvladace konfig{};
};

int count(const std::string& entry) {
    int n = 0;
    for (const auto& e : fake::entries())
        n += e == entry;
    return n;
}

TEST_F(Binding, MissingLibraryGivesLoadCodeAndText) {
    QTemporaryDir empty;
    NastavAdresarOvladacu(empty.path());
    const char* names[5] = {"KSER410", "KIB410", "KPB4100", "KUB4100", "KL4100"};
    for (uint8_t kind = 0; kind < 5; ++kind) {
        EXPECT_EQ(OvladacInit(kind, handle, konfig), 100u + kind);
        EXPECT_EQ(
            TextChyby(kind, 100u + kind),
            QStringLiteral("chyba inicializace knihovny %1.DLL").arg(QLatin1String(names[kind])));
    }
    EXPECT_TRUE(fake::entries().empty());
    EXPECT_EQ(handle, 0u);
}

// A library of the driver's name left in the working folder never stands in
// for the driver that is not beside the program.
TEST_F(Binding, ALibraryInTheWorkingFolderIsNeverLoaded) {
    QTemporaryDir empty, planted;
    NastavAdresarOvladacu(empty.path());
    const QStringList found = QDir(QStringLiteral(FAKE_DIR)).entryList({"KSER410.*"}, QDir::Files);
    ASSERT_EQ(found.size(), 1);
    ASSERT_TRUE(QFile::copy(QStringLiteral(FAKE_DIR "/") + found[0], planted.filePath(found[0])));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(planted.path()));
    const uint32_t kod = OvladacInit(0, handle, konfig);
    QDir::setCurrent(before);
    EXPECT_EQ(kod, 100u);
    EXPECT_TRUE(fake::entries().empty());
}

// The library beside the program is missing and one of its name sits in the
// working folder: the cause names where it was looked for, and why the one
// in the working folder is not loaded.
TEST_F(Binding, AMissingLibraryIsExplainedWhereItWasLookedFor) {
    QTemporaryDir empty, planted;
    NastavAdresarOvladacu(empty.path());
    const QString name = QStringLiteral("KSER410" FAKE_SUFFIX);
    ASSERT_TRUE(QFile::copy(QStringLiteral(FAKE_DIR "/") + name, planted.filePath(name)));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(planted.path()));
    EXPECT_EQ(OvladacInit(0, handle, konfig), 100u);
    const QString duvod = OvladacDuvod();
    QDir::setCurrent(before);
    EXPECT_TRUE(duvod.startsWith(QStringLiteral("knihovna %1 není ve složce programu %2 ani v ")
                                     .arg(name, QDir::toNativeSeparators(empty.path()))))
        << duvod.toStdString();
    EXPECT_TRUE(duvod.endsWith(QStringLiteral("pracovní složka se neprohledává, a tak se %1 z ní "
                                              "(%2) nenačte")
                                   .arg(name, QDir::toNativeSeparators(planted.path()))))
        << duvod.toStdString();
}

TEST_F(Binding, LibraryLackingAnEntryIsRefusedAndReleased) {
    testsupport::use_broken_drivers();
    EXPECT_EQ(OvladacInit(0, handle, konfig), 110u);
    EXPECT_THAT(fake::entries(), ElementsAre("KSER410_load", "KSER410_unload"));
    EXPECT_EQ(TextChyby(0, 110), QStringLiteral("chybná knihovna KSER410.DLL"));
    EXPECT_EQ(TextChyby(4, 114), QStringLiteral("chybná knihovna KL4100.DLL"));
}

TEST_F(Binding, UnknownKindIsRefusedWithoutACall) {
    EXPECT_EQ(OvladacInit(5, handle, konfig), 10u);
    ASSERT_EQ(OvladacInit(0, handle, konfig), 0u);
    fake::clear_journal();
    uint32_t req[8] = {}, rep[100] = {}, out = 0, st = 0;
    EXPECT_EQ(OvladacSetConfig(5, handle, 9600, 13, 2), 10u);
    EXPECT_EQ(OvladacSend(5, handle, req, rep, &out, &st), 10u);
    EXPECT_EQ(OvladacDone(7, handle), 10u);
    EXPECT_TRUE(fake::entries().empty()) << "nothing called, nothing released";
}

TEST_F(Binding, EachKindGetsItsFormOfInit) {
    konfig[0] = 3;
    fake::set_handle(0xBEEF);
    ASSERT_EQ(OvladacInit(0, handle, konfig), 0u);
    EXPECT_EQ(handle, 0xBEEFu);
    EXPECT_THAT(fake::calls("KSER410_Init")[0].args, ElementsAre(0, 3));
    OvladacDone(0, handle);

    konfig[0] = 0x2A0;
    OvladacInit(1, handle, konfig);
    EXPECT_THAT(fake::calls("KIB410_Init")[0].args, ElementsAre(0, 0x2A0));
    OvladacDone(1, handle);

    OvladacInit(3, handle, konfig);
    EXPECT_THAT(fake::calls("KUB4100_Init")[0].args, ElementsAre(0));
    OvladacDone(3, handle);

    // The LAN driver gets the whole block; cell 0 carries a full-width
    // reference to the IP text.
    QByteArray ip("10.20.30.40");
    konfig.fill(0);
    konfig[0] = reinterpret_cast<uintptr_t>(ip.constData());
    konfig[1] = 5001;
    konfig[2] = 250;
    OvladacInit(4, handle, konfig);
    const auto init = fake::calls("KL4100_Init");
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(init[0].args[1], reinterpret_cast<uintptr_t>(ip.constData()));
    EXPECT_EQ(init[0].args[2], 5001u);
    EXPECT_EQ(init[0].args[3], 250u);
    EXPECT_EQ(init[0].text, "10.20.30.40");
}

TEST_F(Binding, WrappersPassArgumentsInOrder) {
    ASSERT_EQ(OvladacInit(2, handle, konfig), 0u);
    fake::set_result("SetConfig", 4);
    EXPECT_EQ(OvladacSetConfig(2, handle, 600, 100, 2), 4u);
    EXPECT_THAT(fake::calls("KPB4100_SetConfig")[0].args, ElementsAre(0x1234, 600, 100, 2));
}

TEST_F(Binding, DoneReleasesOnceAndLeavesNothingCallable) {
    ASSERT_EQ(OvladacInit(2, handle, konfig), 0u);
    fake::set_done_handle(0);
    fake::set_result("Done", 3);
    EXPECT_EQ(OvladacDone(2, handle), 3u);
    EXPECT_EQ(handle, 0u) << "the driver's change of the cell comes back";
    EXPECT_EQ(count("KPB4100_Done"), 1);
    EXPECT_EQ(count("KPB4100_unload"), 1);
    // After release, every wrapper refuses instead of calling unloaded code.
    uint32_t req[8] = {}, rep[100] = {}, out = 0, st = 0;
    EXPECT_EQ(OvladacDone(2, handle), 10u);
    EXPECT_EQ(OvladacSend(2, 0x1234, req, rep, &out, &st), 10u);
    EXPECT_EQ(OvladacSetConfig(2, 0x1234, 9600, 13, 2), 10u);
    TTextPole text;
    text.fill(7);
    EXPECT_EQ(OvladacError(2, 5, text), 10u);
    EXPECT_EQ(text[0], 7u) << "array untouched";
    EXPECT_EQ(count("KPB4100_unload"), 1);
}

TEST_F(Binding, FailedInitKeepsTheLibraryForItsTextUntilTheNextInit) {
    fake::set_result("Init", km::kErrNoDevice);
    EXPECT_EQ(OvladacInit(0, handle, konfig), 1u);
    EXPECT_EQ(count("KSER410_unload"), 0);
    EXPECT_EQ(TextChyby(0, 1), QStringLiteral("Zařízení nenalezeno"));
    fake::set_result("Init", 0);
    EXPECT_EQ(OvladacInit(4, handle, konfig), 0u);
    EXPECT_THAT(fake::entries(),
                ::testing::IsSupersetOf({"KSER410_unload", "KL4100_load", "KL4100_Init"}));
    OvladacDone(4, handle);

    fake::set_result("Init", 5);
    OvladacInit(1, handle, konfig);
    OvladacUvolni(); // as at program end
    EXPECT_EQ(count("KIB410_unload"), 1);
}

TEST_F(Binding, ErrorTexts) {
    EXPECT_EQ(TextChyby(0, 107), QStringLiteral("neznámý chybový kód"));
    EXPECT_EQ(TextChyby(9, 200), QStringLiteral("neznámý chybový kód"));
    TTextPole text;
    text.fill(65);
    EXPECT_EQ(OvladacError(0, 5, text), 10u) << "no driver bound";
    EXPECT_EQ(text[3], 65u);
    ASSERT_EQ(OvladacInit(0, handle, konfig), 0u);
    EXPECT_EQ(TextChyby(0, 0), QStringLiteral("V pořádku"));
    EXPECT_EQ(TextChyby(0, 2).left(26), QStringLiteral("Přístup k zařízení odepřen"));
    EXPECT_THAT(fake::calls("KSER410_Error")[0].args, ElementsAre(0));
    // The kind only gates the wrappers; the bound library answers.
    EXPECT_EQ(TextChyby(3, 5), QStringLiteral("Modul neodpovídá"));
    EXPECT_EQ(TextChyby(5, 5), QString());
}

// What a person reads follows the language, from the driver's table, the
// link's own codes and the file rule; the log's CSV stays Czech.
TEST_F(Binding, ErrorTextsSpeakEnglishAndCzechAgain) {
    ASSERT_EQ(OvladacInit(0, handle, konfig), 0u);
    const QString missing = QDir(QDir::tempPath()).filePath(QStringLiteral("km207-no/such.ini"));
    TLogKomunikace log;
    TZaznamPrikazu record;
    record.Prikaz = 102;
    record.Pozadavek = {0, 62, 62, 0, 0};
    record.Chyba = 5;
    log.Pridej(record);
    const auto texts = [&] {
        QByteArray content;
        QString file;
        EXPECT_FALSE(CtiSoubor(missing, 100, content, file));
        return QStringList{TextChyby(0, 5), TextChyby(0, 104), file, log.Radek(0),
                           QString::fromUtf8(log.Csv())};
    };
    const QStringList czech = texts();
    ASSERT_TRUE(NastavJazyk(TJazyk::Anglictina));
    const QStringList english = texts();
    ASSERT_TRUE(NastavJazyk(TJazyk::Cestina));
    EXPECT_EQ(texts(), czech);
    EXPECT_EQ(czech[0], QStringLiteral("Modul neodpovídá"));
    EXPECT_EQ(english[0], QStringLiteral("The module does not respond"));
    EXPECT_EQ(english[1], QStringLiteral("library KL4100.DLL failed to initialize"));
    EXPECT_EQ(english[2],
              QStringLiteral("File %1 does not exist.").arg(QDir::toNativeSeparators(missing)));
    EXPECT_TRUE(english[3].contains(QStringLiteral(
        "102 read register 62 (baud rate)  00 3E 3E 00 00 -> 00 00 00 00 00  ERROR 5 "
        "The module does not respond")))
        << english[3].toStdString();
    EXPECT_EQ(english[4], czech[4]);
    EXPECT_TRUE(czech[4].contains(QStringLiteral(",102 čtení registru 62 (rychlost),")));
}

class Exchange : public Binding {
  protected:
    void SetUp() override {
        Binding::SetUp();
        ASSERT_EQ(OvladacInit(0, handle, konfig), 0u);
        fake::clear_journal();
    }
    void run(uint8_t kind = 0, uint32_t h = 0x1234) {
        ProvedPrikaz(kind, h, 17, 102, 0, &b[0], &b[1], &b[2], &b[3], &b[4], chyba, odpoved);
    }
    uint8_t b[5] = {11, 12, 13, 14, 15};
    uint8_t chyba = 77;
    TOdpoved odpoved{};
};

TEST_F(Exchange, RequestIsEightZeroExtendedValues) {
    fake::push_reply(testsupport::reply_bytes(1, 2, 3, 4, 5));
    ProvedPrikaz(0, handle, 255, 200, 2, &b[0], &b[1], &b[2], &b[3], &b[4], chyba, odpoved);
    const auto sent = testsupport::sent_requests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_THAT(sent[0], ElementsAre(255, 200, 2, 11, 12, 13, 14, 15));
    EXPECT_EQ(chyba, 0);
    EXPECT_THAT(b, ElementsAre(1, 2, 3, 4, 5));
}

TEST_F(Exchange, OnlyLowBytesOfTheFirstFourValuesAreTaken) {
    fake::SendReply r;
    r.vystup = 0x1FF;
    r.odpoved = {0x102, 0x203, 0xFF04, 0x10005, 99, 98};
    fake::push_reply(r);
    run();
    EXPECT_EQ(chyba, 0);
    EXPECT_THAT(b, ElementsAre(0xFF, 2, 3, 4, 5));
}

TEST_F(Exchange, HandleZeroSendsNothingAndChangesNothing) {
    run(0, 0);
    EXPECT_TRUE(fake::entries().empty());
    EXPECT_EQ(chyba, 77);
    EXPECT_THAT(b, ElementsAre(11, 12, 13, 14, 15));
}

TEST_F(Exchange, AbsentByteGivesNine) {
    ProvedPrikaz(0, handle, 1, 0, 80, &b[0], nullptr, &b[2], &b[3], &b[4], chyba, odpoved);
    EXPECT_EQ(chyba, 9);
    EXPECT_THAT(b, ElementsAre(11, 12, 13, 14, 15));
    EXPECT_TRUE(fake::entries().empty());
}

TEST_F(Exchange, UnknownKindGivesTenAndZeros) {
    run(5);
    EXPECT_EQ(chyba, 10);
    EXPECT_THAT(b, ElementsAre(0, 0, 0, 0, 0));
    EXPECT_TRUE(fake::entries().empty());
}

TEST_F(Exchange, SendFailureCodeReplacesTheStatus) {
    fake::SendReply r;
    r.result = km::kErrHandle;
    fake::push_reply(r);
    run();
    EXPECT_EQ(chyba, km::kErrHandle);
    EXPECT_THAT(b, ElementsAre(0, 0, 0, 0, 0));
}

TEST_F(Exchange, NonzeroStatusGivesZerosNeverTheSentValues) {
    fake::SendReply r = testsupport::reply_bytes(9, 9, 9, 9, 9);
    r.stav = km::kErrTimeout;
    fake::push_reply(r);
    run();
    EXPECT_EQ(chyba, km::kErrTimeout);
    EXPECT_THAT(b, ElementsAre(0, 0, 0, 0, 0));
}

TEST_F(Exchange, StatusAbove255NeverReadsAsSuccess) {
    fake::push_reply(testsupport::reply_status(256));
    run();
    EXPECT_EQ(chyba, 255);
    EXPECT_THAT(b, ElementsAre(0, 0, 0, 0, 0));
}

TEST_F(Exchange, CellsArePresetBeforeSend) {
    odpoved.fill(0xAA);
    fake::push_reply(testsupport::reply_bytes(0, 1, 2, 3, 4));
    run();
    const auto call = fake::calls("KSER410_Send");
    ASSERT_EQ(call.size(), 1u);
    // handle, 8 request values, then the preset out and status cells
    EXPECT_EQ(call[0].args[9], 0u);
    EXPECT_EQ(call[0].args[10], 10u);
    EXPECT_EQ(odpoved[50], 0u) << "reply buffer cleared before the driver writes";
}

} // namespace

namespace {

// The pause of a transfer, as the command-line tool and the windows use it:
// what was posted runs first, then at least 1 ms passes.
TEST(Pauza, LetsPendingWorkRunThenWaitsAMillisecond) {
    bool ran = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { ran = true; }, Qt::QueuedConnection);
    const auto start = std::chrono::steady_clock::now();
    Pauza();
    EXPECT_TRUE(ran);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1));
}

} // namespace
