// km207 against km207-sim where POSIX alone has the means: Ctrl+C and
// SIGTERM as signals, the emulator's pseudo-terminal as a serial line,
// FIFOs, sockets and device nodes as targets, and Wine as the road to a
// maker's 32-bit library.
#include "cli_test_util.h"
#include "line_under_test.h"
#include "pe_header.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <map>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace clitest;

TEST(Cli, ScanFindsTwoModulesAtTwoRatesAndWritesNothing) {
    SimProcess sim({"--no-udp", "--strict-baud", "--module", "2", "--module", "5:6"});
    SIM_OK(sim);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KM207_COM1"), QString::fromStdString(sim.pty()));
    const QStringList com{"--kind", "com", "--port", "1"};
    const Result r =
        km207(QStringList{"scan", "--addresses", "0-6", "--bauds", "9600,38400"} + com, env);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.lines(), (QStringList{"adresa 2  9600 Bd  KM-207   v.1.02",
                                      "adresa 5  38400 Bd  KM-207   v.1.02"}));
    EXPECT_TRUE(r.err.contains(QStringLiteral("prohledáno 14 z 14, nalezeno modulů: 2")));

    // A stored setting would have raised FN (bit 1) in the status register.
    for (const QStringList& at :
         {QStringList{"--address", "2"}, QStringList{"--address", "5", "--baud", "38400"}}) {
        const Result s = km207(QStringList{"get", "status"} + com + at, env);
        EXPECT_EQ(s.out, QStringLiteral("0x00000034 PRF PWR RST\n")) << s.err.toStdString();
    }

    const Result none = km207(QStringList{"scan", "--addresses", "10-11"} + com, env);
    EXPECT_EQ(none.status, 2);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(none.err.contains(QStringLiteral("Žádný modul neodpověděl.")));
}

// A scan stopped by Ctrl+C (SIGINT) exits 2 without claiming silence.
TEST(Cli, AStoppedScanExitsTwoWithoutClaimingSilence) {
    SimProcess sim({"--no-pty", "--module", "5:4", "--module", "5:6", "--module", "7"});
    SIM_OK(sim);
    QStringList link = lan(sim, 7);
    link = link.mid(0, 6) + link.mid(8);
    QProcess p;
    start(p, QStringList{"scan", "--addresses", "7-255"} + link,
          QProcessEnvironment::systemEnvironment());
    ASSERT_TRUE(p.waitForReadyRead(10000));
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    const Result stopped = finish(p);
    EXPECT_EQ(stopped.status, 2);
    EXPECT_TRUE(stopped.err.contains(QStringLiteral("Hledání přerušeno.")));
    EXPECT_FALSE(stopped.err.contains(QStringLiteral("Žádný modul")));
}

// The maker's 32-bit library beside km207 with no Wine to run it: the code
// and its text as the windows show them, then the cause in words, also in
// JSON.
TEST(Cli, AMakersLibraryThatCannotRunIsExplained) {
    QTemporaryDir dir;
    const QString exe = dir.filePath(QStringLiteral("km207"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KM207_BIN), exe));
    QFile::setPermissions(exe, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(testsupport::write_pe_header(dir.filePath(QStringLiteral("KSER410.DLL")), 0x014C));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KM207_WINE"), QStringLiteral("/nonexistent/wine"));
    for (const bool asJson : {false, true}) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(exe, QStringList{"identify", "--kind", "com", "--port", "1"} +
                         (asJson ? QStringList{"--json"} : QStringList{}));
        const Result r = finish(p);
        EXPECT_EQ(r.status, 2);
        const QStringList err = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(err.size(), 2) << r.err.toStdString();
        EXPECT_EQ(err[0], QStringLiteral("km207: Chyba inicializace připojení - chyba "
                                         "inicializace knihovny KSER410.DLL (kód 100)"));
        EXPECT_TRUE(err[1].startsWith(QStringLiteral("km207: Důvod: program Wine není "
                                                     "nainstalován, a 32bitovou knihovnu "
                                                     "KSER410.DLL spouští")));
        if (asJson) {
            EXPECT_EQ(json(r.out).value(QStringLiteral("reason")).toString(),
                      err[1].mid(QStringLiteral("km207: Důvod: ").size()));
        }
    }
}

TEST(Cli, WatchStopsCleanlyOnCtrlC) {
    SimProcess sim({"--no-pty", "--module", "3"});
    SIM_OK(sim);
    QProcess p;
    start(p, QStringList{"watch", "status", "--interval", "20"} + lan(sim, 3),
          QProcessEnvironment::systemEnvironment());
    QString out;
    while (out.count(QLatin1Char('\n')) < 2 && p.waitForReadyRead(10000))
        out += QString::fromUtf8(p.readAllStandardOutput());
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    const Result stopped = finish(p, out);
    EXPECT_EQ(stopped.status, 0) << stopped.err.toStdString();
    EXPECT_TRUE(stopped.err.isEmpty());
}

// The first signal ends any wait, however long, and the command reports what
// it did: a restore whose module fell silent names each register once, as
// the module holds it; a scan counts what it searched; a restore reading a
// pipe that stays open sends nothing.
TEST(Cli, ASignalEndsAnyWaitAndTheReportFollows) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SimProcess source(
            {"--no-pty", "--module", "4", "--mode", "1", "--reg", "33=7", "--reg", "36=9"});
        // Each write answered a second late: the restore waits on the second
        // when the module stops.
        SimProcess slow({"--no-pty", "--module", "4", "--fault", "delay:p=1,ms=1000,cmd=103"});
        SIM_OK(source);
        SIM_OK(slow);
        QTemporaryDir dir;
        const QString saved = dir.filePath(QStringLiteral("modul4.txt"));
        ASSERT_EQ(km207(QStringList{"backup", saved} + lan(source, 4)).status, 0);
        QStringList link = lan(slow, 4);
        link.last() = QStringLiteral("10000");
        QProcess p;
        start(p, QStringList{"restore", saved, "--json"} + link,
              QProcessEnvironment::systemEnvironment());
        ASSERT_TRUE(p.waitForReadyRead(20000)); // register 0 is written
        ::kill(static_cast<pid_t>(slow.pid()), SIGSTOP);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ::kill(static_cast<pid_t>(p.processId()), signal);
        EXPECT_TRUE(p.waitForFinished(5000));
        const Result r = finish(p);
        ::kill(static_cast<pid_t>(slow.pid()), SIGCONT);
        EXPECT_EQ(r.status, 2) << r.err.toStdString();
        const QJsonObject report = json(r.lines().value(r.lines().size() - 1));
        EXPECT_EQ(report.value(QStringLiteral("code")).toInt(), 130) << r.out.toStdString();
        EXPECT_EQ(report.value(QStringLiteral("written")).toArray(), QJsonArray({0}));
        EXPECT_EQ(report.value(QStringLiteral("unknown")).toArray(), QJsonArray({33}));
        EXPECT_EQ(report.value(QStringLiteral("not_written")).toArray(), QJsonArray({36}));
        // As the report says: 0 written, 36 not.
        EXPECT_EQ(km207(QStringList{"get", "mode"} + lan(slow, 4)).out, QStringLiteral("23\n"));
        EXPECT_TRUE(km207(QStringList{"get", "dio"} + lan(slow, 4))
                        .out.startsWith(QStringLiteral("din-neg=0x000000")));
    }

    SimProcess sim({"--no-pty", "--module", "5"});
    SIM_OK(sim);
    QStringList link = lan(sim, 5);
    link.last() = QStringLiteral("65535");
    QProcess scan, input;
    start(scan, QStringList{"scan", "--addresses", "3-10"} + link,
          QProcessEnvironment::systemEnvironment());
    start(input, QStringList{"restore", "-"} + lan(sim, 5),
          QProcessEnvironment::systemEnvironment());
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ::kill(static_cast<pid_t>(scan.processId()), SIGINT);
    ::kill(static_cast<pid_t>(input.processId()), SIGINT);
    const Result stopped = finish(scan), read = finish(input);
    EXPECT_EQ(stopped.status, 2);
    EXPECT_TRUE(stopped.err.contains(QStringLiteral("prohledáno 0 z 8, nalezeno modulů: 0 "
                                                    "(přerušeno)")))
        << stopped.err.toStdString();
    EXPECT_EQ(read.status, 2);
    EXPECT_TRUE(read.err.contains(QStringLiteral("přerušeno; nic nebylo odesláno")))
        << read.err.toStdString();
}

// Standard output that cannot be written, a recording cut by a file size
// limit, and a recording onto an existing file: each named, none silent; the
// recording keeps whole rows, and a file is emptied in place only when asked.
TEST(Cli, EveryWriteIsCheckedAndNoFileIsReplaced) {
    SimProcess sim({"--no-pty", "--module", "3"});
    SIM_OK(sim);
    const QStringList link = lan(sim, 3);
    for (const QStringList& args : {QStringList{"get", "counter"}, QStringList{"backup", "-"},
                                    QStringList{"watch", "trend", "--count", "2", "--csv", "-"}}) {
        QProcess p;
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        start(p, args + link, QProcessEnvironment::systemEnvironment());
        const Result r = finish(p);
        EXPECT_EQ(r.status, 74) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("tandardní výstup nelze zapsat: ")) ||
                    r.err.contains(QStringLiteral("tandardní výstup nelze zapisovat: ")))
            << r.err.toStdString();
    }

    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("t.csv"));
    QProcess limited;
    limited.setChildProcessModifier([] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit one{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &one);
    });
    start(limited, QStringList{"watch", "trend", "--interval", "5", "--csv", csv} + link,
          QProcessEnvironment::systemEnvironment());
    const Result cut = finish(limited);
    EXPECT_EQ(cut.status, 74);
    // A row that straddled the limit is taken back, and the message says so;
    // one that ended on the limit leaves nothing to take back.
    EXPECT_TRUE(cut.err.contains(QStringLiteral("t.csv nelze zapisovat: ")))
        << cut.err.toStdString();
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray rows = f.readAll();
    f.close();
    EXPECT_GT(rows.size(), 900);
    EXPECT_TRUE(rows.endsWith('\n')) << "whole rows only";

    // Not removed and made anew: its other name sees the new recording.
    const QString other = dir.filePath(QStringLiteral("other.csv"));
    ASSERT_EQ(::link(QFile::encodeName(csv).constData(), QFile::encodeName(other).constData()), 0);
    const QStringList record = QStringList{"watch", "trend", "--count", "1", "--csv", csv} + link;
    const Result refused = km207(record);
    EXPECT_EQ(refused.status, 64);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("už existuje. Přepsat ho lze volbou "
                                                    "--overwrite.")))
        << refused.err.toStdString();
    EXPECT_EQ(km207(record + QStringList{"--overwrite"}).status, 0);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().count('\n'), 2);
    QFile same(other);
    ASSERT_TRUE(same.open(QIODevice::ReadOnly));
    EXPECT_EQ(same.readAll().count('\n'), 2);
}

// Devices, FIFOs, sockets, folders and targets that take no file are refused
// before anything is sent, and stay what they were; a FIFO never blocks.
TEST(Cli, OnlyRegularFilesAreWrittenOrReadAndNothingIsSentOtherwise) {
    SimProcess sim({"--no-pty", "--module", "3"});
    SIM_OK(sim);
    QTemporaryDir dir;
    const QByteArray fifo = dir.filePath(QStringLiteral("fifo")).toLocal8Bit();
    const QByteArray device = dir.filePath(QStringLiteral("null")).toLocal8Bit();
    const QByteArray socket = dir.filePath(QStringLiteral("sock")).toLocal8Bit();
    ASSERT_EQ(::mkfifo(fifo.constData(), 0666), 0);
    const bool haveDevice = ::mknod(device.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un at{};
    at.sun_family = AF_UNIX;
    std::snprintf(at.sun_path, sizeof at.sun_path, "%s", socket.constData());
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
    QFile::link(QString::fromLocal8Bit(fifo), dir.filePath(QStringLiteral("link")));
    QStringList targets{QString::fromLocal8Bit(fifo),         QString::fromLocal8Bit(socket),
                        dir.filePath(QStringLiteral("link")), dir.path(),
                        QStringLiteral("/proc/version"),      QStringLiteral("/sys/kernel/x")};
    if (haveDevice) targets << QString::fromLocal8Bit(device);
    for (const QString& target : targets) {
        for (const char* command : {"backup", "restore"}) {
            QProcess p;
            start(p, QStringList{command, target} + lan(sim, 3),
                  QProcessEnvironment::systemEnvironment());
            const bool ended = p.waitForFinished(5000);
            if (!ended) p.kill();
            const Result r = finish(p);
            EXPECT_TRUE(ended) << command << " " << target.toStdString() << " waits";
            EXPECT_EQ(r.status, 64)
                << command << " " << target.toStdString() << ": " << r.err.toStdString();
        }
    }
    // The first SIGTERM ends even a wait of a minute-long timeout.
    QProcess p;
    QStringList slow = lan(sim, 9);
    slow.last() = QStringLiteral("60000");
    start(p, QStringList{"identify"} + slow, QProcessEnvironment::systemEnvironment());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
    EXPECT_TRUE(p.waitForFinished(5000));
    finish(p);

    struct stat st {};
    EXPECT_TRUE(::stat(fifo.constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    EXPECT_TRUE(::stat(socket.constData(), &st) == 0 && S_ISSOCK(st.st_mode));
    EXPECT_TRUE(!haveDevice || (::stat(device.constData(), &st) == 0 && S_ISCHR(st.st_mode)));
    ::close(s);
    sim.stop();
    // Only the silent identification above went out.
    EXPECT_NE(sim.output().find("stats: requests 1 handled 0 "), std::string::npos) << sim.output();
}

} // namespace

namespace {

// The line of line_under_test.h watched by km207 over UDP and over the
// pseudo-terminal: once every module answers, one is switched off (SIGUSR2)
// and another power-cycled alone (SIGUSR1); the watch flags those two and
// the one with ERR24 from the start, and no other module.
class LineWatch : public ::testing::TestWithParam<bool> {};

TEST_P(LineWatch, FlagsTheModuleThatStopsTheOnePowerCycledAndErr24AndNoOther) {
    using namespace line_under_test;
    SimProcess sim(sim_args());
    SIM_OK(sim);
    QTemporaryDir dir;
    const QString line = dir.filePath(QStringLiteral("linka.km207linka"));
    QFile f(line);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("format = 1\n");
    for (const Module& m : kModules)
        f.write(QStringLiteral("modul = %1\nrychlost = %2\n")
                    .arg(m.address)
                    .arg(m.baud_index == 4 ? 9600 : 19200)
                    .toUtf8());
    f.write(QStringLiteral("konec = %1\n").arg(kModules.size()).toUtf8());
    f.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QStringList link = lan(sim, 0);
    if (GetParam()) {
        env.insert(QStringLiteral("KM207_COM1"), QString::fromStdString(sim.pty()));
        link = {"--kind", "com", "--port", "1"};
    }
    QProcess p;
    start(p, QStringList{"line", "watch", "--line", line, "--interval", "200", "--json"} + link,
          env);
    // The flags of each module as the last line about it gave them.
    std::map<int, QJsonObject> last;
    QByteArray pending;
    const auto watch_until = [&](const std::function<bool()>& done) {
        for (QDeadlineTimer t(30000); !done() && !t.hasExpired();) {
            p.waitForReadyRead(200);
            pending += p.readAllStandardOutput();
            for (int nl; (nl = pending.indexOf('\n')) >= 0; pending.remove(0, nl + 1)) {
                const QJsonObject o = json(QString::fromUtf8(pending.left(nl)));
                if (o.contains(QStringLiteral("address")))
                    last[o[QStringLiteral("address")].toInt()] = o;
            }
        }
        return done();
    };
    const auto flagged = [&] {
        std::map<int, QString> m;
        for (const auto& [address, o] : last)
            if (const QJsonArray a = o[QStringLiteral("flags")].toArray(); !a.isEmpty())
                m[address] = a.toVariantList().first().toString() +
                             (a.size() > 1 ? QStringLiteral("+") : QString());
        return m;
    };
    EXPECT_TRUE(watch_until([&] {
        return last.size() == kModules.size() &&
               std::all_of(last.begin(), last.end(), [](const auto& o) {
                   return o.second[QStringLiteral("state")] == QStringLiteral("answers");
               });
    })) << p.readAllStandardError().toStdString();
    EXPECT_EQ(flagged(), (std::map<int, QString>{{kErr24, "err24"}}));

    ::kill(sim.pid(), SIGUSR2);
    ::kill(sim.pid(), SIGUSR1);
    const std::map<int, QString> expected = {
        {kStops, "silent"}, {kCycled, "power_failure"}, {kErr24, "err24"}};
    EXPECT_TRUE(watch_until([&] { return flagged() == expected; }));
    EXPECT_EQ(flagged(), expected);
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    const Result r = finish(p);
    EXPECT_EQ(r.status, 2) << "a module does not answer: " << r.err.toStdString();

    // Its recording never replaces a file either: refused, or emptied in place.
    if (GetParam()) return;
    const QStringList once = QStringList{"line", "status", "--line", line} + link;
    const QStringList record{"line", "watch", "--line", line, "--count", "1", "--csv", line};
    EXPECT_EQ(km207(record + link).status, 64);
    EXPECT_EQ(km207(once).status, 2) << "the line file is kept and still reads";
}

INSTANTIATE_TEST_SUITE_P(UdpAndSerial, LineWatch, ::testing::Values(false, true),
                         [](const auto& p) { return p.param ? "Serial" : "Udp"; });

} // namespace
