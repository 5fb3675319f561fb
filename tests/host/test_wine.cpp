// The maker's kind of library, a 32-bit Windows DLL, reached from this
// program through km207-driverhost.exe under Wine: the test driver built as
// such a DLL answers from a module model inside it.
#include "host_test_util.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#ifdef KM_WIN32_DIR

namespace {

class WineHost : public hosttest::HostTest {
  protected:
    void SetUp() override { KM_REQUIRE_WINE(); }

    QByteArray identify(uint8_t kind, uint8_t part) {
        uint8_t b[5] = {}, chyba = 10;
        TOdpoved odpoved{};
        ProvedPrikaz(kind, handle, 0, 200, part, &b[0], &b[1], &b[2], &b[3], &b[4], chyba, odpoved);
        EXPECT_EQ(chyba, 0);
        return QByteArray(reinterpret_cast<const char*>(&b[1]), 4);
    }
};

TEST_F(WineHost, TheProgramIdentifiesTheModuleThroughTheDll) {
    const QString dll = QStringLiteral(KM_WIN32_DIR "/model/KSER410.DLL");
    NastavAdresarOvladacu(QStringLiteral(KM_WIN32_DIR "/model"));
    konfig[0] = 1;
    ASSERT_EQ(OvladacInit(0, handle, konfig), 0u);
    EXPECT_EQ(OvladacVazba(), dll + QStringLiteral(" přes km207-driverhost.exe (Wine)"));
    EXPECT_NE(handle, 0u);
    EXPECT_EQ(OvladacSetConfig(0, handle, 9600, 13, 2), 0u);
    EXPECT_EQ(identify(0, 0) + identify(0, 1) + identify(0, 2), QByteArray("KM-207  1.02"));
    // The library writes its texts as Windows-1250 codes.
    EXPECT_EQ(TextChyby(0, 0), QStringLiteral("V pořádku"));
    EXPECT_EQ(TextChyby(0, 1), QStringLiteral("Zařízení nenalezeno"));
    EXPECT_EQ(TextChyby(0, 17), QStringLiteral("Modul nemá tento registr"));
    EXPECT_EQ(OvladacDone(0, handle), 0u);
    EXPECT_EQ(handle, 0u) << "the library's change of the cell comes back";
    EXPECT_EQ(OvladacVazba(), QString());

    // The LAN kind: its block, with the IP text, crosses to the library.
    NastavAdresarOvladacu(QStringLiteral(KM_WIN32_DIR "/model"));
    const QByteArray ip("127.0.0.1");
    konfig = {reinterpret_cast<uintptr_t>(ip.constData()), 5000, 100};
    ASSERT_EQ(OvladacInit(4, handle, konfig), 0u);
    EXPECT_EQ(identify(4, 2), QByteArray("1.02"));
    EXPECT_EQ(OvladacDone(4, handle), 0u);
}

TEST_F(WineHost, ADllWithoutGetConfigIsRefused) {
    NastavAdresarOvladacu(QStringLiteral(KM_WIN32_DIR "/nogetconfig"));
    EXPECT_EQ(OvladacInit(0, handle, konfig), 110u);
    EXPECT_EQ(TextChyby(0, 110), QStringLiteral("chybná knihovna KSER410.DLL"));
    EXPECT_EQ(OvladacVazba(), QString());
}

TEST_F(WineHost, AMissingOrDamagedDllOrNoWineGivesTheLoadCode) {
    QTemporaryDir dir;
    NastavAdresarOvladacu(dir.path());
    EXPECT_EQ(OvladacInit(0, handle, konfig), 100u) << "no library at all";

    // Its Windows header intact, the rest cut off: the host cannot load it.
    QFile whole(QStringLiteral(KM_WIN32_DIR "/model/KSER410.DLL"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QFile cut(dir.filePath(QStringLiteral("KSER410.DLL")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(whole.read(1024));
    cut.close();
    EXPECT_EQ(OvladacInit(0, handle, konfig), 100u);
    EXPECT_EQ(TextChyby(0, 100), QStringLiteral("chyba inicializace knihovny KSER410.DLL"));

    NastavAdresarOvladacu(QStringLiteral(KM_WIN32_DIR "/model"));
    qputenv("KM207_WINE", "/nonexistent/wine");
    EXPECT_EQ(OvladacInit(0, handle, konfig), 100u) << "no Wine";
    qputenv("KM207_WINE", "wine");
    EXPECT_EQ(OvladacInit(0, handle, konfig), 0u) << "Wine named by KM207_WINE";
    EXPECT_EQ(OvladacDone(0, handle), 0u);
}

} // namespace

#endif
