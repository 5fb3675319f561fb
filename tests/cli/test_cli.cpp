// km207 run as a process against km207-sim through the real drivers: what
// it prints, its exit status, and what the emulated modules hold afterwards.
// The cases that need signals, a pseudo-terminal, FIFOs, sockets, device
// nodes or Wine are in test_cli_posix.cpp.
#include "cli_test_util.h"
#include "nonregular_files.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonArray>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using namespace clitest;

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

    const QDateTime clock =
        QDateTime::fromString(get("clock"), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
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

// A module answering at every rate counts once, two modules on one address
// are named, and the module's control characters never reach the terminal.
TEST(Cli, ScanCountsModulesNamesCollisionsAndEscapesTheTerminal) {
    SimProcess sim({"--no-pty", "--module", "5:4", "--module", "5:6", "--module", "7", "--name",
                    "\x1b[31mRED"});
    SIM_OK(sim);
    QStringList link = lan(sim, 7);
    const Result id = km207(QStringList{"identify"} + link);
    EXPECT_EQ(id.out, QStringLiteral("\\x1B[31mRED v.1.02\n"));
    // No address, and a timeout that a loaded machine under Wine still meets:
    // a reply that comes late reads as a damaged one on the next probe.
    link = link.mid(0, 6) + QStringList{"--timeout", "400"};
    const Result r = km207(QStringList{"scan", "--addresses", "4-7", "--bauds", "all"} + link);
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_EQ(r.lines(), QStringList{"adresa 7  600 Bd  \\x1B[31mRED v.1.02"});
    EXPECT_TRUE(r.err.contains(QStringLiteral("nalezeno modulů: 1"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("modul na adrese 7 odpovídá na 9 rychlostech")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("adresa 5 – na adrese může odpovídat více modulů")))
        << r.err.toStdString();
    const Result j =
        km207(QStringList{"scan", "--addresses", "4-7", "--bauds", "9600", "--json"} + link);
    EXPECT_EQ(j.status, 1);
    EXPECT_EQ(json(j.lines().value(1)).value(QStringLiteral("collisions")), QJsonArray({5}))
        << j.out.toStdString();
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
    const int year = QDate::currentDate().year();
    const QString held = QString::number(year - year % 4 + 1);
    run({"set", "clock", held + QStringLiteral("-03-04"), "05:06:07"});
    EXPECT_TRUE(run({"get", "clock"}).startsWith(held + QStringLiteral("-03-04 05:06:0")));
    run({"set", "clock", held + QStringLiteral("-03-04T05:06:07")});
    EXPECT_TRUE(run({"get", "clock"}).startsWith(held + QStringLiteral("-03-04 05:06:0")));
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

TEST(Cli, WatchPrintsTimedLines) {
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
}

// The usual conventions of a command-line tool.
TEST(Cli, FollowsTheUsualCommandLineConventions) {
    EXPECT_EQ(km207({"-h"}).status, 0);
    const Result bare = km207({});
    EXPECT_EQ(bare.status, 64);
    EXPECT_TRUE(bare.err.contains(QStringLiteral("Příkazy:"))) << bare.err.toStdString();
    const Result help = km207({"restore", "--help"});
    EXPECT_TRUE(help.out.contains(QStringLiteral("Příklady:")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("Návratový kód:")));
    EXPECT_EQ(json(km207({"--version", "--json"}).out).value(QStringLiteral("version")),
              QStringLiteral(KM207_VERSION));

    SimProcess sim({"--no-pty", "--module", "3"});
    SIM_OK(sim);
    const QStringList link = lan(sim, 3);
    // The last of two wins.
    EXPECT_EQ(km207(QStringList{"get", "address", "--address", "9"} + link).out,
              QStringLiteral("3\n"));
    const Result verbose = km207(QStringList{"get", "address", "--verbose"} + link);
    EXPECT_TRUE(verbose.err.contains(QStringLiteral("102 čtení registru 63 (adresa)")))
        << verbose.err.toStdString();
    const Result clock = km207(QStringList{"get", "clock"} + link);
    EXPECT_EQ(km207(QStringList{"set", "clock", clock.out.trimmed()} + link).status, 0);

    // "-" is standard output and input.
    const Result backup = km207(QStringList{"backup", "-"} + link);
    EXPECT_TRUE(backup.out.startsWith(QStringLiteral("# KM-207"))) << backup.out.toStdString();
    QProcess p;
    start(p, QStringList{"restore", "-"} + link, QProcessEnvironment::systemEnvironment());
    p.write(backup.out.toUtf8());
    p.closeWriteChannel();
    EXPECT_EQ(finish(p).status, 0);

    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("jiny.ini"));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[P\xF8ipojen\xED]\r\nRozhran\xED=KL-4100\r\n[KL-4100]\r\nUDP port=70000\r\n");
    f.close();
    const Result bad = km207({"get", "address", "--config", ini});
    EXPECT_EQ(bad.status, 64);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("jiny.ini, [KL-4100] UDP port")))
        << bad.err.toStdString();
    EXPECT_EQ(km207(QStringList{"get", "address", "--no-config"} + link).status, 0);
}

TEST(Cli, WatchTrendWritesTheWindowsCsvToStandardOutputOrAFile) {
    SimProcess sim({"--no-pty", "--module", "3", "--inputs", "0x81", "--counter-rate", "1000"});
    SIM_OK(sim);
    const Result out =
        km207(QStringList{"watch", "trend", "--count", "3", "--csv", "-"} + lan(sim, 3));
    EXPECT_EQ(out.status, 0) << out.err.toStdString();
    ASSERT_EQ(out.lines().size(), 4);
    EXPECT_EQ(out.lines()[0], QStringLiteral("cas,citac,rychlost,vstupy,stav,chyba"));
    const QRegularExpression row(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d "
                       "\\d\\d:\\d\\d:\\d\\d\\.\\d{3},\\d+,[0-9.]*,0x00000081,0x[0-9A-F]{8},0$"));
    for (const QString& l : out.lines().mid(1))
        EXPECT_TRUE(row.match(l).hasMatch()) << l.toStdString();
    EXPECT_TRUE(out.lines()[1].split(QLatin1Char(','))[2].isEmpty())
        << "no rate before two samples";

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("t.csv"));
    const Result rec =
        km207(QStringList{"watch", "trend", "--count", "2", "--csv", file} + lan(sim, 3));
    EXPECT_EQ(rec.status, 0);
    EXPECT_EQ(rec.lines().size(), 2); // the lines as without --csv
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().count('\n'), 3);

    // A folder, or --csv with another subject: refused before anything is sent.
    EXPECT_EQ(km207(QStringList{"watch", "trend", "--csv", dir.path()} + lan(sim, 3)).status, 64);
    EXPECT_EQ(km207(QStringList{"watch", "counter", "--csv", file} + lan(sim, 3)).status, 64);
    // The rate's window: trend only, 100-60000 ms.
    for (const auto& [args, status] : std::vector<std::pair<QStringList, int>>{
             {{"trend", "--count", "2", "--rate-window", "100"}, 0},
             {{"trend", "--rate-window", "99"}, 64},
             {{"counter", "--rate-window", "500"}, 64}})
        EXPECT_EQ(km207(QStringList{"watch"} + args + lan(sim, 3)).status, status)
            << args.join(' ').toStdString();
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

// A write whose answer never came is unknown, not unwritten; a read-back
// that differs names both values under its own code; every register of an
// unfinished write is in exactly one list, the same in text and JSON.
TEST(Cli, AnUnfinishedWriteListsEachRegisterOnce) {
    SimProcess first({"--no-pty", "--module", "3", "--mode", "1", "--reg", "34=7"});
    SimProcess dropping({"--no-pty", "--module", "4", "--fault", "drop:p=1,cmd=103"});
    SimProcess differing({"--no-pty", "--module", "4", "--fault", "readback:p=1,cmd=102"});
    SIM_OK(first);
    SIM_OK(dropping);
    SIM_OK(differing);
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("modul3.txt"));
    ASSERT_EQ(km207(QStringList{"backup", saved} + lan(first, 3)).status, 0);

    const Result text = km207(QStringList{"restore", saved} + lan(dropping, 4));
    EXPECT_EQ(text.status, 2);
    EXPECT_EQ(text.out.count(QStringLiteral("63 (adresa)")), 1) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains(QStringLiteral("63 (adresa): zápis odeslán bez odpovědi")));
    const QJsonObject j =
        json(km207(QStringList{"restore", saved, "--json"} + lan(dropping, 4)).lines().value(0));
    // The unanswered write of 63 had landed: only 0 and 34 still differ.
    EXPECT_EQ(j.value(QStringLiteral("unknown")).toArray(), QJsonArray({0}));
    EXPECT_EQ(j.value(QStringLiteral("not_written")).toArray(), QJsonArray({34}));

    const Result dio = km207(QStringList{"set", "dio", "din-neg=1", "dout-neg=2", "dout-init=3"} +
                             lan(dropping, 4));
    EXPECT_TRUE(dio.out.contains(QStringLiteral("Zápis nedokončen."))) << dio.out.toStdString();
    EXPECT_TRUE(dio.out.contains(QStringLiteral("32 (počáteční stav DOUT0-7): zápis odeslán")))
        << dio.out.toStdString();

    const QJsonObject differs =
        json(km207(QStringList{"restore", saved, "--json"} + lan(differing, 4)).lines().value(0));
    EXPECT_EQ(differs.value(QStringLiteral("code")).toInt(), 120);
    EXPECT_EQ(differs.value(QStringLiteral("differs")).toArray().size(), 1);
    EXPECT_EQ(differs.value(QStringLiteral("unverified")).toArray(), QJsonArray());
    for (const QStringList& what : {QStringList{"address", "1"}, QStringList{"mode", "23"}}) {
        const Result r =
            km207(QStringList{"set"} + what + QStringList{"--json"} + lan(differing, 4));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(json(r.out).value(QStringLiteral("code")).toInt(), 120) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("zapsáno 1, zpět přečteno")))
            << r.err.toStdString();
    }
}

// Cloning: a new address where a module answers is refused unless forced;
// --keep-address keeps the target's own; --dry-run writes nothing; a file
// of another module is pointed out.
TEST(Cli, RestoreNeverMakesTwoModulesShareAnAddress) {
    SimProcess source({"--no-pty", "--module", "7", "--mode", "1", "--name", "OTHER"});
    SimProcess line({"--no-pty", "--module", "0", "--module", "7"});
    SIM_OK(source);
    SIM_OK(line);
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("modul7.txt"));
    ASSERT_EQ(km207(QStringList{"backup", saved} + lan(source, 7)).status, 0);
    const auto get = [&](const char* what) {
        return km207(QStringList{"get", what} + lan(line, 0)).out.trimmed();
    };
    const Result refused = km207(QStringList{"restore", saved} + lan(line, 0));
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("Na adrese 7 už odpovídá modul")));
    EXPECT_TRUE(refused.err.contains(QStringLiteral("varování: soubor je z modulu OTHER")))
        << refused.err.toStdString();
    const Result dry = km207(QStringList{"restore", saved, "--dry-run"} + lan(line, 0));
    EXPECT_EQ(dry.status, 1);
    EXPECT_EQ(dry.err, refused.err);
    const Result forced =
        km207(QStringList{"restore", saved, "--dry-run", "--force"} + lan(line, 0));
    EXPECT_TRUE(forced.out.contains(QStringLiteral("registr 63 (adresa): 0 -> 7, zapsal by se")));
    EXPECT_EQ(get("mode"), QStringLiteral("32"));
    EXPECT_EQ(km207(QStringList{"restore", saved, "--keep-address"} + lan(line, 0)).status, 0);
    EXPECT_EQ(get("address"), QStringLiteral("0"));
    EXPECT_EQ(get("mode"), QStringLiteral("23"));
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
    const QString cut = file("cut.txt", good.left(good.size() - 5));

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
        QStringList{"set", "address", "256"} + lan3,
        QStringList{"set", "mode", "24"} + lan3,
        QStringList{"set", "dio", "din-neg=XYZ"} + lan3,
        QStringList{"set", "clock", "2025-13-01 00:00:00"} + lan3,
        QStringList{"set", "clock", "2099-12-31 23:59:59"} + lan3,
        QStringList{"scan", "--addresses", "10-5"} + lan3,
        QStringList{"watch", "counter", "--repeat", "2"} + lan3,
        QStringList{"restore", malformed} + lan3,
        QStringList{"restore", outOfRange} + lan3,
        QStringList{"restore", cut} + lan3,
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
    EXPECT_TRUE(km207(QStringList{"set", "clock", "2099-12-31 23:59:59"} + lan3)
                    .err.contains(QStringLiteral("lze nastavit jen roky")));
    // A control character of a file name keeps to its line.
    const Result named = km207(QStringList{"restore", dir.filePath(QStringLiteral("a\nb"))} + lan3);
    EXPECT_EQ(named.err.count(QLatin1Char('\n')), 2) << named.err.toStdString();
    EXPECT_TRUE(named.err.contains(QStringLiteral("a\\x0Ab"))) << named.err.toStdString();
    // The statistics come at the emulator's orderly stop, which Windows
    // cannot ask of it here: Wine gives the test no console for Ctrl+Break.
#ifndef Q_OS_WIN
    sim.stop();
    EXPECT_NE(sim.output().find("stats: requests 0 "), std::string::npos) << sim.output();
#endif
}

// A folder, and what else the platform has that is no regular file, is
// refused by backup and restore, and none of them blocks.
TEST(Cli, NoRegularFileIsWrittenOrRead) {
    SimProcess sim({"--no-pty", "--module", "3"});
    SIM_OK(sim);
    QTemporaryDir dir;
    for (const QString& target : testsupport::make_nonregular_files(dir.path())) {
        for (const char* command : {"backup", "restore"}) {
            const Result r = km207(QStringList{command, target} + lan(sim, 3));
            EXPECT_EQ(r.status, 64)
                << command << " " << target.toStdString() << ": " << r.err.toStdString();
            EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        }
    }
}

// A value of the settings file that is not used as it stands is named, with
// what is used instead, in the same words for every key; a value the
// command line overrides is not.
TEST(Cli, SaysWhichSettingsItDoesNotUse) {
    SimProcess sim({"--no-pty", "--module", "231"});
    SIM_OK(sim);
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("c.ini"));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[P\xF8ipojen\xED]\r\nRozhran\xED=KL-4100\r\nAdresa=999\r\nRychlost=1234\r\n"
            "[KL-4100]\r\nIP adresa=127.0.0.1\r\nUDP port=" +
            QByteArray::number(sim.udp_port()) + "\r\nUDP timeout=abc\r\n");
    f.close();
    const QString said = QStringLiteral("km207: soubor %1, [%2] %3: hodnotu \"%4\" nelze použít, "
                                        "použije se %5\n");
    const QString file = QDir::toNativeSeparators(ini);
    const Result r = km207({"get", "address", "--config", ini});
    EXPECT_EQ(r.out, QStringLiteral("231\n"));
    EXPECT_EQ(r.err, said.arg(file, "Připojení", "Adresa", "999", "231") +
                         said.arg(file, "Připojení", "Rychlost", "1234", "9600") +
                         said.arg(file, "KL-4100", "UDP timeout", "abc", "100"));
    const Result given = km207({"get", "address", "--config", ini, "--address", "231", "--baud",
                                "9600", "--timeout", "100"});
    EXPECT_EQ(given.err, QString());
    // An unknown kind's name and an address that is no number keep the
    // defaults; the link (COM 255) then fails to open.
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[P\xF8ipojen\xED]\r\nRozhran\xED=XYZ\r\nAdresa=abc\r\n");
    f.close();
    EXPECT_TRUE(km207({"get", "address", "--config", ini, "--port", "255"})
                    .err.startsWith(said.arg(file, "Připojení", "Rozhraní", "XYZ", "COMx") +
                                    said.arg(file, "Připojení", "Adresa", "abc", "0")));
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

namespace {

// A line of modules, each step through km207 against km207-sim: found and
// written as a line file, polled once, backed up and restored. A module
// the file names that is not there does not answer, is flagged, and is
// listed as not saved; a damaged line file or backup folder sends nothing.
TEST(Cli, LineScanStatusBackupAndRestore) {
    SimProcess sim({"--no-pty", "--module", "2", "--module", "3:6", "--module", "4"});
    SIM_OK(sim);
    const QStringList link = lan(sim, 0);
    QTemporaryDir dir;
    const QString line = dir.filePath(QStringLiteral("linka.km207linka"));
    Result r = km207(QStringList{"line", "scan", "--line", line, "--addresses", "0-5"} + link);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.lines().last(), QStringLiteral("Linka uložena do %1 (modulů: 3).").arg(line));
    QFile f(line);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray text = f.readAll().replace("konec = 3", "modul = 9\nrychlost = 9600\nkonec = 4");
    f.resize(0);
    f.write(text);
    f.close();

    r = km207(QStringList{"line", "status", "--line", line, "--json"} + link);
    EXPECT_EQ(r.status, 2) << "module 9 does not answer";
    ASSERT_EQ(r.lines().size(), 5) << r.out.toStdString();
    for (int i = 0; i < 4; ++i) {
        const QJsonObject o = json(r.lines()[i]);
        const bool silent = o[QStringLiteral("address")].toInt() == 9;
        EXPECT_EQ(o[QStringLiteral("state")].toString(), silent ? "silent" : "answers");
        EXPECT_EQ(o[QStringLiteral("flags")].toArray().size(), silent ? 1 : 0);
        EXPECT_EQ(o[QStringLiteral("status_bits")].toString(), silent ? "" : "PRF PWR RST");
    }

    const QString backup = dir.filePath(QStringLiteral("zaloha"));
    r = km207(QStringList{"line", "backup", backup, "--line", line} + link);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.contains(QStringLiteral("adresa 9  9600 Bd  NEULOŽEN: Modul neodpovídá")))
        << r.out.toStdString();
    EXPECT_TRUE(QFile::exists(backup + QStringLiteral("/modul_003_9600.km207")));
    EXPECT_EQ(km207(QStringList{"set", "mode", "23s", "--address", "3"} + link.mid(0, 6)).status,
              0);
    r = km207(QStringList{"line", "restore", backup} + link);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(
        r.out.contains(QStringLiteral("adresa 3  9600 Bd  registr 0 (mód čítače): 2 -> 0, zapsán "
                                      "a ověřen")))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("adresa 9  9600 Bd  Modul nebyl zálohován")));

    // Damaged: the line file cut short, and a module's file out of range.
    QFile cut(backup + QStringLiteral("/linka.km207linka"));
    ASSERT_TRUE(cut.open(QIODevice::ReadWrite));
    text = cut.readAll();
    cut.resize(text.size() - 2);
    cut.close();
    QFile::copy(line, dir.filePath(QStringLiteral("cut.km207linka")));
    QFile bad(dir.filePath(QStringLiteral("cut.km207linka")));
    ASSERT_TRUE(bad.open(QIODevice::Append));
    bad.write("modul = 7\n");
    bad.close();
    SimProcess idle({"--no-pty", "--module", "2"});
    SIM_OK(idle);
    for (const QStringList& args :
         {QStringList{"line", "restore", backup},
          QStringList{"line", "status", "--line", bad.fileName()}, QStringList{"line", "status"},
          QStringList{"line", "backup", "--line", line}}) {
        r = km207(args + lan(idle, 0));
        EXPECT_EQ(r.status, 64) << args.join(' ').toStdString();
    }
    // A backup folder that cannot be made (a file stands there) lists no
    // module as not saved, in either language.
    for (const char* lang : {"cs", "en"}) {
        r = km207(QStringList{"line", "backup", line, "--line", line, "--lang", lang} +
                  lan(idle, 0));
        EXPECT_EQ(r.status, 64) << lang;
        EXPECT_EQ(r.out, QString()) << lang;
    }
#ifndef Q_OS_WIN
    idle.stop();
    EXPECT_NE(idle.output().find("stats: requests 0 "), std::string::npos) << idle.output();
#endif
}

} // namespace

// English only when asked for, by the option or the environment; the
// system's locale never changes it, and JSON stays the same in either.
TEST(Cli, SpeaksEnglishOnlyWhenAskedAndJsonNeverChanges) {
    const QStringList bad{"get", "address", "--no-config", "--timeout", "70000"};
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    env.remove(QStringLiteral("KM207_LANG"));
    const Result czech = km207(bad, env);
    EXPECT_EQ(czech.err, QStringLiteral("km207: --timeout potřebuje milisekundy 0-65535\n"
                                        "Nápověda: km207 get --help\n"));
    const QString english = QStringLiteral("km207: --timeout needs milliseconds 0-65535\n"
                                           "Help: km207 get --help\n");
    EXPECT_EQ(km207(bad + QStringList{"--lang", "en"}, env).err, english);
    auto envEn = env;
    envEn.insert(QStringLiteral("KM207_LANG"), QStringLiteral("en"));
    EXPECT_EQ(km207(bad, envEn).err, english);
    EXPECT_EQ(km207(bad + QStringList{"--lang=cs"}, envEn).err, czech.err);
    const Result json = km207(bad + QStringList{"--json"}, env);
    EXPECT_EQ(km207(bad + QStringList{"--json", "--lang", "en"}, envEn).out, json.out);
    EXPECT_EQ(km207(QStringList{"--lang", "de", "--version"}, env).status, 64);
    // The help and a command's lines for a person follow it too.
    EXPECT_TRUE(km207({"--help"}, env).out.startsWith(QStringLiteral("Použití: km207 PŘÍKAZ")));
    const Result help = km207({"--help", "--lang", "en"}, env);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: km207 COMMAND")))
        << help.out.toStdString();
    EXPECT_EQ(km207({"--help"}, envEn).out, help.out);
    SimProcess sim({"--no-pty", "--module", "5"});
    SIM_OK(sim);
    const QStringList scan = QStringList{"scan", "--addresses", "4-5", "--no-config"} + lan(sim, 0);
    const Result found = km207(scan, env);
    EXPECT_EQ(found.out, QStringLiteral("adresa 5  9600 Bd  KM-207   v.1.02\n"));
    EXPECT_EQ(found.err, QStringLiteral("km207: prohledáno 2 z 2, nalezeno modulů: 1\n"));
    const Result foundEn = km207(scan, envEn);
    EXPECT_EQ(foundEn.out, QStringLiteral("address 5  9600 Bd  KM-207   v.1.02\n"));
    EXPECT_EQ(foundEn.err, QStringLiteral("km207: searched 2 of 2, modules found: 1\n"));
}
