// Line file parser: any bytes are refused with a reason or accepted without
// reading past them, and an accepted file written again reads back the same
// and writes the same text.
#include "SouborLinky.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TSouborLinky parsed;
    QString error;
    if (!TextNaLinku(bytes, parsed, error)) {
        if (error.isEmpty()) abort(); // a refusal always says why
        return 0;
    }
    QByteArray text;
    if (!LinkaNaText(parsed, text, error)) abort(); // what parses can be written
    TSouborLinky again;
    if (!TextNaLinku(text, again, error) || !(again == parsed)) abort();
    QByteArray text2;
    if (!LinkaNaText(again, text2, error) || text2 != text) abort();
    return 0;
}
