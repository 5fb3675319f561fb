#include "console.h"

#include <unistd.h>

namespace km207 {

bool isTerminal(FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

void writeText(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace km207
