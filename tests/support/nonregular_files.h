// Things in a folder that are not regular files, as this platform has them,
// for tests that the program neither reads nor replaces them and never
// blocks on them. One file per platform; QtCore only.
#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// Makes them in `dir` and returns their paths, made or not (a test sees it
// when one is missing or a regular file): a folder everywhere; on POSIX also a FIFO (which blocks
// an open that has no peer) and a link to it; on Windows the device names
// NUL and CON in that folder.
QStringList make_nonregular_files(const QString& dir);

} // namespace testsupport
