// Connection record, settings file, code page and text arrays.
#include "Dekl.h"
#include "IniDocument.h"
#include "fake_link.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <grp.h>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = testsupport::use_temp_settings_dir();
        InitData(&data);
    }
    void TearDown() override { NastavAdresarIni(QString()); }

    QString path() const { return QDir(dir).filePath(QStringLiteral("W_km207.ini")); }
    QString userPath() const { return QDir(dir).filePath(QStringLiteral("per-user/W_km207.ini")); }
    QString userText() const {
        QFile f(userPath());
        return f.open(QIODevice::ReadOnly) ? Cp1250NaText(f.readAll()) : QString();
    }
    void writeBytes(const QByteArray& bytes) {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void writeText(const QString& text) { writeBytes(TextNaCp1250(text)); }
    QByteArray readBytes() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString readText() const { return Cp1250NaText(readBytes()); }

    QString dir;
    TData data;
};

// Runs `check` in a child process and returns what it reports: empty when
// all held. With `unprivileged`, a child of root first becomes uid and gid
// 65534, since root ignores file modes; failing that is reported, never
// skipped. A child still running after ten seconds is killed and reported
// as blocked.
std::string inChild(const std::function<std::string()>& check, bool unprivileged = false) {
    int out[2];
    if (pipe(out) != 0) return "pipe failed";
    const pid_t pid = fork();
    if (pid < 0) return "fork failed";
    if (pid == 0) {
        close(out[0]);
        std::string text;
        if (unprivileged && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            text = std::string("could not become uid 65534: ") + std::strerror(errno);
        else if (unprivileged && geteuid() == 0)
            text = "still root";
        else
            text = check();
        const ssize_t n = write(out[1], text.data(), text.size());
        _exit(n == static_cast<ssize_t>(text.size()) ? 0 : 1);
    }
    close(out[1]);
    std::string text;
    pollfd p{out[0], POLLIN, 0};
    char buf[512];
    bool blocked = false;
    for (;;) {
        if (poll(&p, 1, 10000) <= 0) {
            blocked = true;
            break;
        }
        const ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0) break; // the child is done
        text.append(buf, static_cast<std::size_t>(n));
    }
    close(out[0]);
    if (blocked) kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return blocked ? text + "blocked for ten seconds" : text;
}

// One line per failed expectation, for inChild.
void expect(std::string& report, bool ok, const char* what) {
    if (!ok) report += std::string(what) + "\n";
}

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

TEST_F(Settings, FailedWriteLeavesTheOldFileWhole) {
    const QByteArray old = TextNaCp1250(QStringLiteral("[Připojení]\r\nRozhraní=COMx\r\n"));
    writeBytes(old);
    data.IpAdresa = QString(500, QLatin1Char('x'));
    data.Rozhrani = 4;
    // In a child limited to 16-byte files, the write fails part-way.
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{16, 16};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(ZapisIni(&data) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write must be reported";
    EXPECT_EQ(readBytes(), old);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("W_km207.ini")});
}

TEST_F(Settings, KilledWriterLeavesTheOldOrTheNewFileWhole) {
    TData a, b;
    InitData(&a);
    InitData(&b);
    a.Rozhrani = 4;
    a.IpAdresa = QString(3000, QLatin1Char('a'));
    b.Rozhrani = 1;
    b.BazovaAdresa = 0x2A0;
    // The two files a writer alternates between, once both kinds' sections
    // are in the file.
    ASSERT_TRUE(ZapisIni(&a));
    ASSERT_TRUE(ZapisIni(&b));
    ASSERT_TRUE(ZapisIni(&a));
    const QByteArray fileA = readBytes();
    ASSERT_TRUE(ZapisIni(&b));
    const QByteArray fileB = readBytes();
    ASSERT_TRUE(ZapisIni(&a));
    ASSERT_EQ(readBytes(), fileA) << "writing is idempotent";

    srand(12345);
    const int rounds = 150;
    int sawA = 0, sawB = 0;
    for (int i = 0; i < rounds; ++i) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (bool odd = false;; odd = !odd)
                ZapisIni(odd ? &a : &b);
        }
        usleep(static_cast<useconds_t>(rand() % 3000));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const QByteArray now = readBytes();
        ASSERT_TRUE(now == fileA || now == fileB)
            << "round " << i << ": " << now.size() << " bytes";
        (now == fileA ? sawA : sawB)++;
    }
    EXPECT_GT(sawA + sawB, 0);
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

TEST_F(Settings, AFifoInThePlaceOfTheFileNeverBlocksAndIsNeverReplaced) {
    ASSERT_EQ(mkfifo(path().toLocal8Bit().constData(), 0644), 0) << std::strerror(errno);
    const std::string report = inChild([] {
        std::string r;
        TData d;
        InitData(&d);
        expect(r, !CtiIni(&d), "read settings from a FIFO");
        d.Adresa = 5;
        expect(r, ZapisIni(&d), "saved nothing");
        return r;
    });
    EXPECT_EQ(report, "");
    struct stat st {};
    ASSERT_EQ(lstat(path().toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(userText().contains(QStringLiteral("Adresa=5")));
}

TEST_F(Settings, ADeviceBehindALinkIsNeitherReadNorReplaced) {
    // Root gets a null device of its own, so that no fault can hurt
    // /dev/null; anyone else cannot replace /dev/null anyway.
    QByteArray device = "/dev/null";
    if (geteuid() == 0) {
        device = QDir(dir).filePath(QStringLiteral("null-device")).toLocal8Bit();
        if (mknod(device.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            GTEST_SKIP() << "root cannot make a device node here: " << std::strerror(errno);
    }
    ASSERT_EQ(symlink(device.constData(), path().toLocal8Bit().constData()), 0);
    EXPECT_FALSE(CtiIni(&data));
    data.Adresa = 5;
    EXPECT_TRUE(ZapisIni(&data));
    struct stat st {};
    ASSERT_EQ(stat(device.constData(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    ASSERT_EQ(lstat(path().toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_TRUE(userText().contains(QStringLiteral("Adresa=5")));
}

TEST_F(Settings, ARegularFileBehindALinkIsReadAndWrittenInPlace) {
    QTemporaryDir elsewhere;
    const QString target = QDir(elsewhere.path()).filePath(QStringLiteral("shared.ini"));
    QFile t(target);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write(TextNaCp1250(QStringLiteral("[Připojení]\r\nRozhraní=COMx\r\nAdresa=4\r\n")));
    t.close();
    ASSERT_TRUE(QFile::link(target, path()));
    ASSERT_TRUE(CtiIni(&data));
    EXPECT_EQ(data.Adresa, 4);
    data.Adresa = 8;
    ASSERT_TRUE(ZapisIni(&data));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_TRUE(readText().contains(QStringLiteral("Adresa=8")));
    EXPECT_FALSE(QFile::exists(userPath()));
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

// A folder the user cannot write, as the program's folder; the per-user
// folder is the real one, found through XDG_CONFIG_HOME.
class ReadOnlyProgramFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/km207-ini-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        base = name;
        program = base + "/program";
        config = base + "/config";
        ASSERT_EQ(chmod(name, 0755), 0);
        ASSERT_EQ(mkdir(program.c_str(), 0755), 0);
        ASSERT_EQ(mkdir(config.c_str(), 0700), 0);
        if (geteuid() == 0) {
            ASSERT_EQ(chown(config.c_str(), 65534, 65534), 0);
        }
    }
    void TearDown() override {
        chmod(program.c_str(), 0755);
        QDir(QString::fromStdString(base)).removeRecursively();
        NastavAdresarIni(QString());
    }
    std::string file() const { return program + "/W_km207.ini"; }
    void writeFile(const QString& text, mode_t mode) {
        QFile f(QString::fromStdString(file()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(TextNaCp1250(text));
        f.close();
        ASSERT_EQ(chmod(file().c_str(), mode), 0);
        ASSERT_EQ(chmod(program.c_str(), 0555), 0);
    }
    QByteArray fileBytes() const {
        QFile f(QString::fromStdString(file()));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Runs `check` unprivileged with the program's folder and XDG_CONFIG_HOME set.
    std::string run(const std::function<std::string()>& check) {
        const std::string program_dir = program, config_dir = config;
        return inChild(
            [&] {
                setenv("XDG_CONFIG_HOME", config_dir.c_str(), 1);
                NastavAdresarIni(QString::fromStdString(program_dir));
                return check();
            },
            true);
    }

    std::string base, program, config;
};

TEST_F(ReadOnlyProgramFolder, SettingsGoToThePerUserFileAndAreReadFromItNextTime) {
    writeFile(QStringLiteral("; shipped\r\n[Připojení]\r\nRozhraní=KL-4100\r\nAdresa=3\r\n"
                             "[Vlastní]\r\nklíč=hodnota\r\n"),
              0444);
    const QByteArray shipped = fileBytes();
    const std::string config_dir = config;
    EXPECT_EQ(run([&] {
                  std::string r;
                  TData a;
                  InitData(&a);
                  expect(r, CtiIni(&a) && a.Adresa == 3, "the shipped file was not read");
                  a.Adresa = 9;
                  expect(r, ZapisIni(&a), "saved nothing");
                  expect(r, CestaIni().startsWith(QString::fromStdString(config_dir)),
                         "the settings path is not in the per-user folder");
                  TData b;
                  InitData(&b);
                  expect(r, CtiIni(&b) && b.Adresa == 9 && b.Rozhrani == 4,
                         "the next start did not read the per-user file");
                  QFile f(CestaIni());
                  expect(r,
                         f.open(QIODevice::ReadOnly) &&
                             Cp1250NaText(f.readAll()).contains(QStringLiteral("klíč=hodnota")),
                         "the shipped file's other sections were not carried over");
                  return r;
              }),
              "");
    EXPECT_EQ(fileBytes(), shipped);
}

TEST_F(ReadOnlyProgramFolder, UnreadableFileThereFallsBackToThePerUserFile) {
    writeFile(QStringLiteral("[Připojení]\r\nRozhraní=KL-4100\r\nAdresa=7\r\n"), 0);
    EXPECT_EQ(run([] {
                  std::string r;
                  TData a;
                  InitData(&a);
                  expect(r, !CtiIni(&a) && a.Adresa == 0, "the unreadable file was read");
                  a.Rozhrani = 1;
                  a.BazovaAdresa = 0x2A0;
                  expect(r, ZapisIni(&a), "saved nothing");
                  TData b;
                  InitData(&b);
                  expect(r, CtiIni(&b) && b.Rozhrani == 1 && b.BazovaAdresa == 0x2A0,
                         "the next start did not read the per-user file");
                  return r;
              }),
              "");
    struct stat st {};
    ASSERT_EQ(stat(file().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0u) << "the unreadable file was replaced";
    chmod(file().c_str(), 0644);
    EXPECT_EQ(fileBytes(),
              TextNaCp1250(QStringLiteral("[Připojení]\r\nRozhraní=KL-4100\r\nAdresa=7\r\n")));
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
