// Module configuration file parser: any bytes are refused or accepted
// without reading past them, and an accepted file written again reads back
// the same and writes the same text.
#include "SouborKonfigurace.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TSouborKonfigurace parsed;
    QString error;
    if (!TextNaKonfiguraci(bytes, parsed, error)) {
        if (error.isEmpty()) abort(); // a refusal always says why
        return 0;
    }
    QByteArray text;
    if (!KonfiguraceNaText(parsed, text, error)) abort(); // what parses can be written
    TSouborKonfigurace again;
    if (!TextNaKonfiguraci(text, again, error) || !(again == parsed)) abort();
    QByteArray text2;
    if (!KonfiguraceNaText(again, text2, error) || text2 != text) abort();
    return 0;
}
