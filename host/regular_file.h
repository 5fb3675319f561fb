// Opening a file for reading only when it is a regular file, without ever
// blocking: a FIFO with no writer, a device or a folder is refused before
// anything waits on it. The program's file reading (link/Soubory) uses it.
// One small file per platform; no Qt.
#pragma once

#include <string>

namespace kmhost {

enum class RegularFile { Opened, Missing, NotRegular, Denied, Failed };

// A read-only descriptor of the C runtime (as QFile::open(int) takes it) for
// `path` (UTF-8 on Windows, the file system's bytes elsewhere), or -1 with
// the reason in `result`.
int open_regular_file(const std::string& path, RegularFile& result);

} // namespace kmhost
