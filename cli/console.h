// The tool's text on its standard streams. A console gets the text as
// characters, whatever its code page; a pipe, a file or a terminal gets UTF-8.
// One small file per platform implements it.
#pragma once

#include <QString>

#include <cstdio>

namespace km207 {

// Whether the stream is an interactive terminal or console.
bool isTerminal(FILE* stream);

// Writes Text as it stands and flushes it; false when that failed (errno
// says why).
bool writeText(FILE* stream, const QString& text);

} // namespace km207
