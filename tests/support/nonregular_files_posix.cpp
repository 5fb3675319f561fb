#include "nonregular_files.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace testsupport {

QStringList make_nonregular_files(const QString& dir) {
    const QDir d(dir);
    const QString fifo = d.filePath(QStringLiteral("fifo"));
    const QString link = d.filePath(QStringLiteral("link"));
    const QString folder = d.filePath(QStringLiteral("folder"));
    ::mkfifo(QFile::encodeName(fifo).constData(), 0666);
    QFile::link(fifo, link);
    d.mkdir(QStringLiteral("folder"));
    return {fifo, link, folder};
}

} // namespace testsupport
