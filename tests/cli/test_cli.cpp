// km207 run as a process against km207-sim through the real drivers: what
// it prints, its exit status, and what the emulated modules hold afterwards.
#include "sim_process.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace {

// A copy of km207 in a folder of its own, with the drivers beside it: the
// settings file it finds there is the test's, never a developer's.
class ToolDir {
  public:
    ToolDir() {
        const QString exe = dir_.filePath(QStringLiteral("km207"));
        QFile::copy(QStringLiteral(KM207_BIN), exe);
        QFile::setPermissions(exe, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ExeOwner);
        for (const char* drv : {"KSER410", "KIB410", "KPB4100", "KUB4100", "KL4100"}) {
            const QString name = QString::fromLatin1(drv) + QStringLiteral(".so");
            QFile::link(QDir(QStringLiteral(KM_DRIVER_DIR)).filePath(name), dir_.filePath(name));
        }
    }
    QString exe() const { return dir_.filePath(QStringLiteral("km207")); }
    QString file(const QString& name) const { return dir_.filePath(name); }

  private:
    QTemporaryDir dir_;
};

ToolDir& tool() {
    static ToolDir t;
    return t;
}

struct Result {
    int status = -1;
    QString out;
    QString err;
    QStringList lines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

void start(QProcess& p, const QStringList& args, const QProcessEnvironment& env) {
    p.setProcessEnvironment(env);
    p.start(tool().exe(), args);
    ASSERT_TRUE(p.waitForStarted(10000));
}

Result finish(QProcess& p, QString out = {}) {
    Result r;
    if (!p.waitForFinished(60000)) p.kill();
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = out + QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

Result km207(const QStringList& args,
             const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    start(p, args, env);
    return finish(p);
}

QStringList lan(const SimProcess& sim, int address) {
    return {"--kind",     "lan",
            "--ip",       "127.0.0.1",
            "--udp-port", QString::number(sim.udp_port()),
            "--address",  QString::number(address),
            "--timeout",  "100"};
}

QJsonObject json(const QString& line) {
    return QJsonDocument::fromJson(line.toUtf8()).object();
}

#define SIM_OK(sim) ASSERT_TRUE((sim).running()) << (sim).output()

TEST(Cli, IdentifiesAndReadsEveryValue) {
    SimProcess sim({"--no-pty", "--module", "5", "--mode", "2", "--reg", "62=6", "--reg", "33=165",
                    "--counter", "-5", "--counter-rate", "0", "--inputs", "0x0000ff01"});
    SIM_OK(sim);
    const QStringList link = lan(sim, 5);
    const Result id = km207(QStringList{"identify"} + link);
    EXPECT_EQ(id.status, 0) << id.err.toStdString();
    EXPECT_EQ(id.out, QStringLiteral("KM-207   v.1.02\n"));

    const auto get = [&](const char* what) {
        const Result r = km207(QStringList{"get", what} + link);
        EXPECT_EQ(r.status, 0) << what << ": " << r.err.toStdString();
        return r.out.trimmed();
    };
    EXPECT_EQ(get("address"), QStringLiteral("5"));
    EXPECT_EQ(get("baud"), QStringLiteral("38400"));
    EXPECT_EQ(get("mode"), QStringLiteral("23s"));
    EXPECT_EQ(get("dio"),
              QStringLiteral("din-neg=0x000000A5 dout-neg=0x00000000 dout-init=0x00000000"));
    EXPECT_EQ(get("counter"), QStringLiteral("-5")) << "formatted by the module's mode";
    EXPECT_EQ(get("status"), QStringLiteral("0x00000034 PRF PWR RST"));
    EXPECT_EQ(get("inputs"), QStringLiteral("0x0000FFA4")) << "negated by register 33";

    const QDateTime clock = QDateTime::fromString(get("clock"), QStringLiteral("d.M.yyyy H:mm:ss"));
    ASSERT_TRUE(clock.isValid());
    EXPECT_LE(std::abs(clock.secsTo(QDateTime::currentDateTime())), 5);
    const QRegularExpression failure(QStringLiteral("^začátek (\\S+ \\S+), konec (\\S+ \\S+)$"));
    const QRegularExpressionMatch m = failure.match(get("power-failure"));
    ASSERT_TRUE(m.hasMatch());
    const auto at = [&](int i) {
        return QDateTime::fromString(m.captured(i), QStringLiteral("d.M.yyyy H:mm:ss"));
    };
    EXPECT_NEAR(at(1).secsTo(at(2)), 3600, 2);

    const Result j = km207(QStringList{"get", "counter", "--json"} + link);
    EXPECT_EQ(json(j.out).value(QStringLiteral("counter")).toInt(), -5);
    EXPECT_EQ(json(j.out).value(QStringLiteral("mode")).toString(), QStringLiteral("23s"));
}

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

TEST(Cli, SetsAndClearsWhatTheWindowsSetAndReadsItBack) {
    SimProcess sim({"--no-pty", "--module", "3", "--counter", "1234", "--counter-rate", "0"});
    SIM_OK(sim);
    const QStringList link = lan(sim, 3);
    const auto run = [&](const QStringList& args) {
        const Result r = km207(args + link);
        EXPECT_EQ(r.status, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        return r.out.trimmed();
    };
    EXPECT_EQ(run({"set", "address", "9"}),
              QStringLiteral("Konfigurace zapsána.\nNová adresa platí od příštího zapnutí "
                             "modulu."));
    EXPECT_EQ(run({"get", "address"}), QStringLiteral("9")) << "still answering at 3";
    run({"set", "baud", "19200"});
    EXPECT_EQ(run({"get", "baud"}), QStringLiteral("19200"));
    EXPECT_EQ(run({"set", "mode", "23"}), QStringLiteral("Konfigurace zapsána."));
    EXPECT_EQ(run({"get", "mode"}), QStringLiteral("23"));
    run({"set", "dio", "din-neg=F0", "dout-neg=0x1"});
    run({"set", "dio", "dout-init=80000001"});
    EXPECT_EQ(run({"get", "dio"}),
              QStringLiteral("din-neg=0x000000F0 dout-neg=0x00000001 dout-init=0x80000001"))
        << "settings not given keep the module's";
    EXPECT_EQ(run({"set", "outputs", "0x80000001"}), QStringLiteral("Data zapsána"));
    run({"set", "clock", "2025-03-04", "05:06:07"});
    const QString clock = run({"get", "clock"});
    const int year = QDate::currentDate().year();
    EXPECT_TRUE(clock.startsWith(QStringLiteral("4.3.%1 5:06:0").arg(year - year % 4 + 1)))
        << clock.toStdString();
    EXPECT_TRUE(run({"get", "status"}).contains(QStringLiteral("FN")));
    EXPECT_EQ(run({"clear", "status"}), QStringLiteral("Stavový registr vynulován"));
    EXPECT_EQ(run({"get", "status"}), QStringLiteral("0x00000000"));
    EXPECT_EQ(run({"get", "counter"}), QStringLiteral("1234"));
    EXPECT_EQ(run({"clear", "counter"}), QStringLiteral("Čítač vynulován"));
    EXPECT_EQ(run({"get", "counter"}), QStringLiteral("0"));
}

TEST(Cli, ModuleErrorsExitOneAndSilenceExitsTwo) {
    SimProcess wrong({"--no-pty", "--module", "3", "--fault", "readback:count=1"});
    SimProcess refusing({"--no-pty", "--module", "3", "--fault", "status:count=1,status=3"});
    SIM_OK(wrong);
    SIM_OK(refusing);
    const Result mismatch = km207(QStringList{"set", "address", "9"} + lan(wrong, 3));
    EXPECT_EQ(mismatch.status, 1);
    EXPECT_TRUE(mismatch.err.contains(QStringLiteral("Chyba zápisu dat.")))
        << mismatch.err.toStdString();
    const Result refused = km207(QStringList{"identify"} + lan(refusing, 3));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, QStringLiteral("km207: Modul odmítl hodnotu (kód 18)\n"));
    const SimProcess& sim = refusing;
    const Result silent = km207(QStringList{"get", "mode", "--json"} + lan(sim, 4));
    EXPECT_EQ(silent.status, 2);
    EXPECT_EQ(silent.err, QStringLiteral("km207: Modul neodpovídá (kód 5)\n"));
    EXPECT_EQ(json(silent.out).value(QStringLiteral("code")).toInt(), 5);
}

// The maker's 32-bit library beside km207 with no Wine to run it: the code
// and its text as the windows show them, then the cause in words, also in
// JSON.
TEST(Cli, AMakersLibraryThatCannotRunIsExplained) {
    QTemporaryDir dir;
    const QString exe = dir.filePath(QStringLiteral("km207"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KM207_BIN), exe));
    QFile::setPermissions(exe, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QByteArray pe(70, '\0'); // MZ, the PE header at 64, i386
    pe.replace(0, 2, "MZ");
    pe[60] = 64;
    pe.replace(64, 6, QByteArray("PE\0\0\x4c\x01", 6));
    QFile dll(dir.filePath(QStringLiteral("KSER410.DLL")));
    ASSERT_TRUE(dll.open(QIODevice::WriteOnly));
    dll.write(pe);
    dll.close();
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

TEST(Cli, GetRepeatEndsWithTheFrameStatistics) {
    SimProcess sim({"--no-pty", "--module", "3"});
    SIM_OK(sim);
    const Result r = km207(QStringList{"get", "inputs", "--repeat", "4", "--json"} + lan(sim, 3));
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.lines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(json(lines[0]).contains(QStringLiteral("inputs")));
    const QJsonObject stats = json(lines[4]).value(QStringLiteral("statistics")).toObject();
    EXPECT_EQ(stats.value(QStringLiteral("commands")).toInt(), 4) << "identification not counted";
    EXPECT_EQ(stats.value(QStringLiteral("failures")).toInt(), 0);
    EXPECT_GT(stats.value(QStringLiteral("max_ms")).toDouble(), 0.0);
}

TEST(Cli, WatchPrintsTimedLinesAndStopsCleanlyOnCtrlC) {
    SimProcess sim({"--no-pty", "--module", "3"});
    SIM_OK(sim);
    const Result counted =
        km207(QStringList{"watch", "counter", "--count", "3", "--interval", "20"} + lan(sim, 3));
    EXPECT_EQ(counted.status, 0);
    const QRegularExpression line(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}  \\d+$"));
    ASSERT_EQ(counted.lines().size(), 3);
    for (const QString& l : counted.lines())
        EXPECT_TRUE(line.match(l).hasMatch()) << l.toStdString();

    const Result clock =
        km207(QStringList{"watch", "clock", "--count", "2", "--json"} + lan(sim, 3));
    ASSERT_EQ(clock.lines().size(), 2);
    EXPECT_TRUE(json(clock.lines()[0]).contains(QStringLiteral("power-failure")));
    EXPECT_FALSE(json(clock.lines()[1]).contains(QStringLiteral("power-failure")))
        << "read once per run, as the clock dialog does";

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

// The lines of a configuration file but the time it was read.
QStringList withoutTime(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    lines.removeIf([](const QString& l) { return l.startsWith(QStringLiteral("precteno")); });
    return lines;
}

TEST(Cli, BackupThenRestoreLeavesTheSecondModuleLikeTheFirst) {
    SimProcess first({"--no-pty", "--module", "3", "--mode", "2", "--reg", "62=7", "--reg",
                      "33=165", "--reg", "41=1", "--reg", "43=128"});
    SimProcess second({"--no-pty", "--module", "4"});
    SIM_OK(first);
    SIM_OK(second);
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("modul3.txt"));
    const Result backup = km207(QStringList{"backup", saved} + lan(first, 3));
    EXPECT_EQ(backup.status, 0) << backup.err.toStdString();

    const Result restore = km207(QStringList{"restore", saved} + lan(second, 4));
    EXPECT_EQ(restore.status, 0) << restore.err.toStdString();
    const QStringList lines = restore.lines();
    ASSERT_EQ(lines.size(), 8) << restore.out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("registr 63 (adresa): 4 -> 3, zapsán a ověřen"));
    EXPECT_EQ(lines[6], QStringLiteral("Konfigurace zapsána. Změněné registry: 63 (adresa), 62 "
                                       "(rychlost), 0 (mód čítače), 41 (počáteční stav "
                                       "DOUT24-31), 33 (negace DIN0-7), 43 (negace DOUT24-31)"));
    EXPECT_EQ(lines[7], QStringLiteral("Nová adresa a rychlost platí od příštího zapnutí modulu."));

    const QString copy = dir.filePath(QStringLiteral("modul4.txt"));
    ASSERT_EQ(km207(QStringList{"backup", copy} + lan(second, 4)).status, 0);
    EXPECT_EQ(withoutTime(copy), withoutTime(saved));
}

TEST(Cli, ARestoreCutShortByTheModuleSaysWhatWasWritten) {
    SimProcess first({"--no-pty", "--module", "3", "--mode", "1", "--reg", "34=7"});
    // Every write answered 200 ms late, so the restore is still writing when
    // the emulator goes away.
    SimProcess second({"--no-pty", "--module", "4", "--fault", "delay:p=1,ms=200,cmd=103"});
    SIM_OK(first);
    SIM_OK(second);
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("modul3.txt"));
    ASSERT_EQ(km207(QStringList{"backup", saved} + lan(first, 3)).status, 0);

    QProcess p;
    QStringList link = lan(second, 4);
    link.replace(link.size() - 1, QStringLiteral("500"));
    start(p, QStringList{"restore", saved} + link, QProcessEnvironment::systemEnvironment());
    QString out;
    while (!out.contains(QStringLiteral("zapsán a ověřen")) && p.waitForReadyRead(20000))
        out += QString::fromUtf8(p.readAllStandardOutput());
    second.stop();
    const Result r = finish(p, out);
    EXPECT_EQ(r.status, 2) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Zapsané a ověřené registry: 63 (adresa)")))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Nezapsané:"))) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Modul neodpovídá (kód 5)"))) << r.err.toStdString();
}

TEST(Cli, BadInputIsRefusedBeforeAnythingIsSent) {
    SimProcess sim({"--no-pty", "--module", "3"});
    SIM_OK(sim);
    QTemporaryDir dir;
    const auto file = [&](const char* name, const QByteArray& text) {
        QFile f(dir.filePath(QLatin1String(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    };
    const QByteArray good = "format = 1\nmodul = \"KM-207   v.1.02\"\n"
                            "precteno = 2024-05-01T14:03:07+02:00\nadresa = 5\n"
                            "rychlost = 9600\nmod_citace = 0\nnegace_din = 0xFFFFFFFF\n"
                            "negace_dout = 0xFFFFFFFF\npocatecni_stav_dout = 0x00000000\n";
    const QString malformed = file("bad.txt", good + "hello\n");
    QByteArray wrongRate = good;
    wrongRate.replace("9600", "9601");
    const QString outOfRange = file("rate.txt", wrongRate);

    // The link options but --kind and --address, which some cases give.
    QStringList link = lan(sim, 3);
    link = link.mid(2, 4) + link.mid(8);
    const QStringList lan3 = QStringList{"--kind", "lan", "--address", "3"} + link;
    const QList<QStringList> cases{
        QStringList{"frobnicate"} + lan3,
        QStringList{"get", "speed"} + lan3,
        QStringList{"get", "address", "--address", "300", "--kind", "lan"} + link,
        QStringList{"get", "address", "--kind", "rs485"},
        QStringList{"get", "address", "--repeat", "0"} + lan3,
        QStringList{"get", "address", "--port", "1"} + lan3,
        QStringList{"get", "address", "--json"} + lan3 + QStringList{"--json"},
        QStringList{"set", "address", "256"} + lan3,
        QStringList{"set", "mode", "24"} + lan3,
        QStringList{"set", "dio", "din-neg=XYZ"} + lan3,
        QStringList{"set", "clock", "2025-13-01 00:00:00"} + lan3,
        QStringList{"scan", "--addresses", "10-5"} + lan3,
        QStringList{"watch", "counter", "--repeat", "2"} + lan3,
        QStringList{"restore", malformed} + lan3,
        QStringList{"restore", outOfRange} + lan3,
        QStringList{"restore", dir.filePath(QStringLiteral("missing.txt"))} + lan3,
        QStringList{"backup", dir.filePath(QStringLiteral("no/such/folder.txt"))} + lan3,
    };
    for (const QStringList& args : cases) {
        const Result r = km207(args);
        EXPECT_EQ(r.status, 64) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("km207: "))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty() || args.contains(QStringLiteral("--json")))
            << r.out.toStdString();
    }
    const Result malformedText = km207(QStringList{"restore", malformed} + lan3);
    EXPECT_TRUE(malformedText.err.contains(QStringLiteral("řádek 10")))
        << malformedText.err.toStdString();
    sim.stop();
    EXPECT_NE(sim.output().find("stats: requests 0 "), std::string::npos) << sim.output();
}

TEST(Cli, TakesTheProgramsSettingsFileAndNeverWritesIt) {
    SimProcess sim({"--no-pty", "--module", "3", "--module", "4"});
    SIM_OK(sim);
    // Windows-1250, as the program writes it: "Připojení", "Rozhraní".
    const QByteArray ini = "[P\xF8ipojen\xED]\r\nRozhran\xED=KL-4100\r\nAdresa=3\r\n"
                           "Rychlost=9600\r\n[KL-4100]\r\nIP adresa=127.0.0.1\r\nUDP port=" +
                           QByteArray::number(sim.udp_port()) + "\r\nUDP timeout=100\r\n";
    const QString path = tool().file(QStringLiteral("W_km207.ini"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ini);
    }
    const Result fromFile = km207({"get", "address"});
    const Result overridden = km207({"get", "address", "--address", "4"});
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray after = f.readAll();
    f.close();
    QFile::remove(path);
    EXPECT_EQ(fromFile.status, 0) << fromFile.err.toStdString();
    EXPECT_EQ(fromFile.out, QStringLiteral("3\n"));
    EXPECT_EQ(overridden.out, QStringLiteral("4\n")) << overridden.err.toStdString();
    EXPECT_EQ(after, ini);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
