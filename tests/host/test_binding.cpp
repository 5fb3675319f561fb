// Where the binding finds a kind's library and how it runs it.
#include "fake_control.h"
#include "host_test_util.h"
#include "pe_header.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <sys/types.h>

namespace {

using hosttest::HostTest;

void copy(const QString& from, const QString& to) {
    QDir().mkpath(QFileInfo(to).path());
    QFile::remove(to);
    ASSERT_TRUE(QFile::copy(from, to)) << to.toStdString();
}

// The start of a 32-bit (i386) or 64-bit (x86-64) Windows library.
void write_pe_header(const QString& path, uint16_t machine) {
    ASSERT_TRUE(testsupport::write_pe_header(path, machine)) << path.toStdString();
}

using HostSearch = HostTest;

// The test binary's run path (part of the platform's library search) leads
// to a folder holding libKPB4100.so and KUB4100.so; the drivers' folder is
// empty.
TEST_F(HostSearch, ThePlatformSearchTakesOnlyTheExactFileName) {
    fake::reset();
    QTemporaryDir empty;
    NastavAdresarOvladacu(empty.path());
    EXPECT_EQ(OvladacInit(2, handle, konfig), 102u) << "libKPB4100.so is another file";
    EXPECT_EQ(OvladacVazba(), QString());
    ASSERT_EQ(OvladacInit(3, handle, konfig), 0u);
    EXPECT_EQ(OvladacVazba(), QStringLiteral("KUB4100.so"));
    EXPECT_EQ(OvladacDone(3, handle), 0u);
}

TEST_F(HostSearch, ProgramFolderThenItsLibFolderAndTheMakersDllFirst) {
    fake::reset();
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("bin"));
    const QString priv = root.filePath(QStringLiteral("lib/km207"));
    QDir().mkpath(bin);
    NastavAdresarOvladacu(bin);
    const QString driver = QStringLiteral(FAKE_DIR "/KL4100.so");

    copy(driver, priv + QStringLiteral("/KL4100.so"));
    ASSERT_EQ(OvladacInit(4, handle, konfig), 0u);
    EXPECT_EQ(OvladacVazba(), priv + QStringLiteral("/KL4100.so"));
    OvladacDone(4, handle);

    copy(driver, bin + QStringLiteral("/KL4100.so"));
    ASSERT_EQ(OvladacInit(4, handle, konfig), 0u);
    EXPECT_EQ(OvladacVazba(), bin + QStringLiteral("/KL4100.so"));
    OvladacDone(4, handle);

    // The maker's library beside it wins, whatever the case of its name;
    // with no Wine to run it, the kind's library is not available.
    write_pe_header(bin + QStringLiteral("/kl4100.dll"), 0x014C);
    qputenv("KM207_WINE", "/nonexistent/wine");
    EXPECT_EQ(OvladacInit(4, handle, konfig), 104u);
    EXPECT_EQ(TextChyby(4, 104), QStringLiteral("chyba inicializace knihovny KL4100.DLL"));
    EXPECT_EQ(OvladacVazba(), QString());

    // A 64-bit one has no host here; a file that is no Windows library
    // at all does not load either.
    qunsetenv("KM207_WINE");
    write_pe_header(bin + QStringLiteral("/kl4100.dll"), 0x8664);
    EXPECT_EQ(OvladacInit(4, handle, konfig), 104u);
    copy(driver, bin + QStringLiteral("/kl4100.dll"));
    EXPECT_EQ(OvladacInit(4, handle, konfig), 104u);
    EXPECT_TRUE(fake::calls("KL4100_Init").size() == 2u) << "only the two .so bindings ran Init";
}

using HostIsolation = HostTest;

TEST_F(HostIsolation, ANativeLibraryRunsInAHostWhenAsked) {
    NastavAdresarOvladacu(QStringLiteral(STANDIN_DIR "/model"));
    qputenv("KM207_DRIVER_HOST", "1");
    konfig[0] = 1;
    ASSERT_EQ(OvladacInit(0, handle, konfig), 0u);
    EXPECT_EQ(OvladacVazba(),
              QStringLiteral(STANDIN_DIR "/model/KSER410.so přes km207-driverhost"));
    EXPECT_NE(handle, 0u);
    uint8_t b[5] = {}, chyba = 10;
    TOdpoved odpoved{};
    ProvedPrikaz(0, handle, 0, 200, 2, &b[0], &b[1], &b[2], &b[3], &b[4], chyba, odpoved);
    EXPECT_EQ(chyba, 0);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&b[1]), 4), QByteArray("1.02"));
    EXPECT_EQ(TextChyby(0, 17), QStringLiteral("Modul nemá tento registr"));
    EXPECT_EQ(OvladacDone(0, handle), 0u);
    EXPECT_EQ(handle, 0u) << "the library's change of the cell comes back";
    EXPECT_EQ(OvladacVazba(), QString());

    // Also when the host is given no library it can load.
    QTemporaryDir empty;
    NastavAdresarOvladacu(empty.path());
    qunsetenv("KM207_DRIVER_HOST");
    NastavIzolaciOvladacu(true);
    EXPECT_EQ(OvladacInit(2, handle, konfig), 102u);
    NastavAdresarOvladacu(QStringLiteral(FAKE_BROKEN_DIR));
    EXPECT_EQ(OvladacInit(0, handle, konfig), 110u);
}

#ifdef KM_WIN32_DIR
using HostFailure = HostTest;

// The host's command is a stand-in that answers nonsense, or quits at once:
// the program ends it and reports the kind's library as unavailable.
TEST_F(HostFailure, AHostThatTalksNonsenseOrQuitsLeavesTheKindUnavailable) {
    QTemporaryDir dir;
    write_pe_header(dir.filePath(QStringLiteral("KSER410.DLL")), 0x014C);
    NastavAdresarOvladacu(dir.path());
    // (The command is split as QProcess splits it: double quotes only.)
    // The last one closes its output mid-frame and stays: it is killed.
    for (const char* command :
         {"/bin/sh -c \"printf HTTP/1.0; exec cat >/dev/null\"", "/bin/sh -c \"printf KH; exit 0\"",
          "/bin/true", "/bin/sh -c \"printf KH; exec >&-; exec sleep 60\""}) {
        qputenv("KM207_WINE", command);
        EXPECT_EQ(OvladacInit(0, handle, konfig), 100u) << command;
        EXPECT_EQ(OvladacVazba(), QString());
        uint32_t req[8] = {}, rep[100] = {}, out = 0, st = 0;
        EXPECT_EQ(OvladacSend(0, 1, req, rep, &out, &st), 10u) << "nothing is bound";
        EXPECT_TRUE(hosttest::no_child_left()) << command;
    }
}

// A host that closed its input before the program writes the next request:
// the write fails, the call returns the load code, and the signal such a
// write raises never reaches the program, whose handling of it stays.
TEST_F(HostFailure, AHostThatStopsReadingCannotEndTheProgram) {
    QTemporaryDir dir;
    write_pe_header(dir.filePath(QStringLiteral("KSER410.DLL")), 0x014C);
    NastavAdresarOvladacu(dir.path());
    std::signal(SIGPIPE, SIG_DFL);
    // It takes the Open request, closes its input, and says the library is
    // bound (reply to request 1, a 64-bit host).
    qputenv("KM207_WINE", "/bin/sh -c \"head -c 1 >/dev/null; exec 0<&-; printf "
                          "'KH\\001\\201\\001\\000\\000\\000\\010\\000\\000\\000"
                          "\\000\\000\\000\\000\\100\\000\\000\\000'; exec sleep 60\"");
    konfig[0] = 1;
    EXPECT_EQ(OvladacInit(0, handle, konfig), 100u) << "Init could not be sent";
    EXPECT_EQ(OvladacVazba(), QString());
    EXPECT_TRUE(hosttest::no_child_left());
    EXPECT_EQ(std::signal(SIGPIPE, SIG_DFL), SIG_DFL);
}

// Each cause that keeps the maker's 32-bit library from running gets its own
// words in OvladacDuvod, while the code stays 100 + kind with its usual text,
// which every window and script already knows. The Wine stand-in fails at
// once, as Debian's wine does when its 32-bit loader cannot start.
TEST_F(HostFailure, EachCauseOfAnUnrunnableDllIsToldInWords) {
    QTemporaryDir dir;
    write_pe_header(dir.filePath(QStringLiteral("KSER410.DLL")), 0x014C);
    NastavAdresarOvladacu(dir.path());
    const auto init = [&] {
        EXPECT_EQ(OvladacInit(0, handle, konfig), 100u);
        EXPECT_EQ(TextChyby(0, 100), QStringLiteral("chyba inicializace knihovny KSER410.DLL"));
        EXPECT_EQ(OvladacVazba(), QString());
        return OvladacDuvod();
    };
    NastavOdpovedSondy32(true);
    qputenv("KM207_WINE", "/nonexistent/wine");
    EXPECT_TRUE(init().startsWith(QStringLiteral("program Wine není nainstalován, a 32bitovou "
                                                 "knihovnu KSER410.DLL spouští")));

    // Debian's layout with only the 64-bit loader.
    QTemporaryDir wine;
    const QString bin = wine.filePath(QStringLiteral("bin/wine"));
    QDir().mkpath(wine.filePath(QStringLiteral("bin")));
    QDir().mkpath(wine.filePath(QStringLiteral("lib/wine")));
    QFile script(bin);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexit 126\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile(wine.filePath(QStringLiteral("lib/wine/wine64"))).open(QIODevice::WriteOnly);
    qputenv("KM207_WINE", bin.toLocal8Bit());
    EXPECT_TRUE(init().startsWith(QStringLiteral("chybí wine32, 32bitová část Wine")));

    NastavOdpovedSondy32(false);
    const QString kernel = init();
    EXPECT_TRUE(kernel.startsWith(QStringLiteral("tento systém neumí spouštět 32bitové programy")))
        << "the kernel comes first: wine32 would not help";
    EXPECT_TRUE(kernel.contains(QStringLiteral("KSER410.DLL")));

    NastavOdpovedSondy32(true);
    QFile(wine.filePath(QStringLiteral("lib/wine/wine"))).open(QIODevice::WriteOnly);
    EXPECT_TRUE(init().contains(QStringLiteral("se pod Wine nespustil")));

    // The machine itself, with the real Wine: where its kernel refuses
    // 32-bit programs, that is the cause the program names.
    NastavOdpovedSondy32(std::nullopt);
    qunsetenv("KM207_WINE");
    if (kmhost::runs_32bit_programs() == kmhost::Runs32::no && hosttest::wine_ready()) {
        EXPECT_TRUE(init().startsWith(QStringLiteral("tento systém neumí spouštět 32bitové")));
    }

    // A library bound clears the cause.
    NastavAdresarOvladacu(QStringLiteral(STANDIN_DIR "/model"));
    konfig[0] = 1;
    ASSERT_EQ(OvladacInit(0, handle, konfig), 0u);
    EXPECT_EQ(OvladacDuvod(), QString());
    EXPECT_EQ(OvladacDone(0, handle), 0u);
}

// A host that ends while a process it started still holds its output (Wine's
// server holds the host's): the call ends with the host, not when that
// process lets go of the pipe, here by ending 60 s later.
TEST_F(HostFailure, AHostThatEndsIsSeenWhileItsOutputStaysOpen) {
    QTemporaryDir dir;
    write_pe_header(dir.filePath(QStringLiteral("KSER410.DLL")), 0x014C);
    NastavAdresarOvladacu(dir.path());
    const QString orphan_file = dir.filePath(QStringLiteral("orphan"));
    qputenv("KM207_WINE", QStringLiteral("/bin/sh -c \"sleep 60 2>/dev/null & echo $! >%1; "
                                         "printf KH; exit 0\"")
                              .arg(orphan_file)
                              .toLocal8Bit());
    EXPECT_EQ(OvladacInit(0, handle, konfig), 100u);
    QFile pid_file(orphan_file);
    ASSERT_TRUE(pid_file.open(QIODevice::ReadOnly));
    const pid_t orphan = pid_file.readAll().trimmed().toInt();
    ASSERT_GT(orphan, 0);
    // Still there and not ended (a zombie): the pipe is still open.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(orphan));
    EXPECT_TRUE(stat.open(QIODevice::ReadOnly)) << "the call waited for the pipe to close";
    const QByteArray line = stat.readAll();
    EXPECT_NE(line.mid(line.lastIndexOf(')') + 2, 1), QByteArray("Z"))
        << "the call waited for the pipe to close";
    kill(orphan, SIGKILL);
    EXPECT_TRUE(hosttest::no_child_left());
}
#endif

} // namespace
