// km207 run as a process against km207-sim: the helpers of the portable and
// the POSIX-only tests.
#pragma once

#include "sim_process.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace clitest {

// A copy of km207 in a folder of its own, with the drivers (and on Windows
// the libraries it links) beside it: the settings file it finds there is
// the test's, never a developer's.
class ToolDir {
  public:
    ToolDir() {
        const QString exe = dir_.filePath(QStringLiteral("km207" KM_EXE_SUFFIX));
        QFile::copy(QStringLiteral(KM207_BIN), exe);
        QFile::setPermissions(exe, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ExeOwner);
        QStringList files = QString::fromUtf8(KM_TOOL_RUNTIME).split(',', Qt::SkipEmptyParts);
        for (const char* drv : {"KSER410", "KIB410", "KPB4100", "KUB4100", "KL4100"})
            files << QString::fromLatin1(drv) + QStringLiteral(KM_DRIVER_SUFFIX);
        for (const QString& name : files)
            QFile::copy(QDir(QStringLiteral(KM_DRIVER_DIR)).filePath(name), dir_.filePath(name));
    }
    QString exe() const { return dir_.filePath(QStringLiteral("km207" KM_EXE_SUFFIX)); }
    QString file(const QString& name) const { return dir_.filePath(name); }

  private:
    QTemporaryDir dir_;
};

inline ToolDir& tool() {
    static ToolDir t;
    return t;
}

struct Result {
    int status = -1;
    QString out;
    QString err;
    QStringList lines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

inline void start(QProcess& p, const QStringList& args, const QProcessEnvironment& env) {
    p.setProcessEnvironment(env);
    p.start(tool().exe(), args);
    ASSERT_TRUE(p.waitForStarted(10000));
}

// On Windows the C runtime's text streams end each line with CR LF.
inline QString lines_as_on_linux(QString text) {
#ifdef Q_OS_WIN
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
#endif
    return text;
}

inline Result finish(QProcess& p, QString out = {}) {
    Result r;
    if (!p.waitForFinished(60000)) p.kill();
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = lines_as_on_linux(out + QString::fromUtf8(p.readAllStandardOutput()));
    r.err = lines_as_on_linux(QString::fromUtf8(p.readAllStandardError()));
    return r;
}

inline Result km207(const QStringList& args,
                    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    start(p, args, env);
    return finish(p);
}

inline QStringList lan(const SimProcess& sim, int address) {
    return {"--kind",     "lan",
            "--ip",       "127.0.0.1",
            "--udp-port", QString::number(sim.udp_port()),
            "--address",  QString::number(address),
            "--timeout",  "100"};
}

inline QJsonObject json(const QString& line) {
    return QJsonDocument::fromJson(line.toUtf8()).object();
}

#define SIM_OK(sim) ASSERT_TRUE((sim).running()) << (sim).output()

} // namespace clitest
