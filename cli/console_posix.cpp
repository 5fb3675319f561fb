#include "console.h"

#include <unistd.h>

namespace km207 {

bool isTerminal(FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

bool writeText(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    const size_t n = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    return std::fflush(stream) == 0 && n == static_cast<size_t>(bytes.size());
}

} // namespace km207
