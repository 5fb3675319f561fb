// The settings file against what only POSIX offers: a writer killed or cut
// short by a file size limit (fork, rlimit), file modes and another user
// (chmod, setuid), FIFOs, device nodes and symbolic links. Windows has none
// of these in this form; the portable cases are in test_dekl.cpp.
#include "Dekl.h"
#include "test_dekl.h"

#include <QDir>
#include <QFile>
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

using dekltest::Settings;

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

} // namespace
