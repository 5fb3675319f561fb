// Opening a file only when it is a regular file, without ever blocking: a
// FIFO with no writer or reader, a device or a folder is refused before
// anything waits on it. The program's file rule (link/Soubory) uses it. One
// small file per platform; no Qt.
#pragma once

#include <string>

namespace kmhost {

enum class RegularFile { Opened, Missing, NotRegular, Denied, Failed, Exists };

// A read-only descriptor of the C runtime (as QFile::open(int) takes it) for
// `path` (UTF-8 on Windows, the file system's bytes elsewhere), or -1 with
// the reason in `result`.
int open_regular_file(const std::string& path, RegularFile& result);

// A write-only descriptor that appends (binary), for a recording: a new file
// created exclusively, so nothing slipped in meanwhile is opened; or, with
// `overwrite`, an existing regular file the user may write, emptied in
// place: never removed and made anew, so its other links, owner and mode
// stay. An existing file without `overwrite` gives Exists.
int open_file_for_append(const std::string& path, bool overwrite, RegularFile& result);

} // namespace kmhost
