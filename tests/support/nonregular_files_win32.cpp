#include "nonregular_files.h"

#include <QDir>

namespace testsupport {

QStringList make_nonregular_files(const QString& dir) {
    // Windows has no FIFO or device node in a folder, and QFile::link makes
    // a shortcut, which is a regular file. A device name is a device in any
    // folder: the null device, and the console, which would wait for a key.
    const QDir d(dir);
    d.mkdir(QStringLiteral("folder"));
    return {d.filePath(QStringLiteral("folder")), d.filePath(QStringLiteral("NUL")),
            d.filePath(QStringLiteral("CON"))};
}

} // namespace testsupport
