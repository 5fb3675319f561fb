// Files the program writes, pointed at what POSIX has and Windows does not
// in this form: symbolic links, dangling ones, and FIFOs, which would block
// an open for writing that has no reader.
#include "Komunikace.h"
#include "Soubory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class NovySouborPosix : public ::testing::Test {
  protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

TEST_F(NovySouborPosix, ReplacesARegularFileThroughALink) {
    {
        QFile old(path("target.csv"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents, longer");
    }
    ASSERT_TRUE(QFile::link(path("target.csv"), path("link.csv")));
    QFile f;
    QString error;
    ASSERT_TRUE(OtevriNovySoubor(f, path("link.csv"), error)) << error.toStdString();
    f.write("x");
    f.close();
    EXPECT_TRUE(QFileInfo(path("link.csv")).isSymLink());
    QFile target(path("target.csv"));
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), QByteArray("x"));
}

TEST_F(NovySouborPosix, RefusesAFifoAFolderAndADanglingLinkWithoutOpeningThem) {
    ASSERT_EQ(mkfifo(path("fifo").toLocal8Bit().constData(), 0644), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    ASSERT_TRUE(QFile::link(path("fifo"), path("to-fifo")));
    ASSERT_TRUE(QFile::link(path("nowhere"), path("dangling")));
    for (const char* name : {"fifo", "folder", "to-fifo", "dangling"}) {
        QFile f;
        QString error;
        // A FIFO opened for writing with no reader would block here.
        EXPECT_FALSE(OtevriNovySoubor(f, path(name), error)) << name;
        EXPECT_FALSE(error.isEmpty()) << name;
        EXPECT_FALSE(f.isOpen()) << name;
    }
    EXPECT_FALSE(QFileInfo::exists(path("nowhere")));
    struct stat st {};
    ASSERT_EQ(stat(path("fifo").toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(NovySouborPosix, TheLogsCsvLeavesAFifoAFifo) {
    TLogKomunikace log;
    QString error;
    const QString fifo = path("fifo");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0666), 0);
    EXPECT_FALSE(log.UlozCsv(fifo, error));
    EXPECT_TRUE(error.contains(QStringLiteral("není obyčejný soubor"))) << error.toStdString();
    EXPECT_FALSE(QFileInfo(fifo).isFile());
}

} // namespace
