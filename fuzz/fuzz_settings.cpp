// Settings file parser: any bytes on disk must parse, and a value written
// back must read back unchanged with every other line kept.
#include "Dekl.h"
#include "IniDocument.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = Cp1250NaText(bytes);
    IniDocument doc(text);

    const QString section = QStringLiteral("Připojení");
    const QString key = QStringLiteral("Rozhraní");
    if (const auto v = doc.value(section, key)) TextNaCislo(*v);
    for (const char* k : {"Adresa", "Rychlost"})
        if (const auto v = doc.value(section, QString::fromLatin1(k))) TextNaCislo(*v);

    // Nothing is lost: a document without changes writes back exactly what
    // it read, each line with its own line end.
    if (doc.toString() != text) abort();

    // No value breaks a line: whatever it holds, setting a key adds at most a
    // blank line, a section header and the key's own line.
    const auto line_ends = [](const QString& t) {
        return t.count(QLatin1Char('\n')) + t.count(QLatin1Char('\r'));
    };
    const qsizetype before = line_ends(doc.toString());
    doc.setValue(section, key, text);
    if (line_ends(doc.toString()) > before + 3 * 2) abort(); // three CR LF at most

    doc.setValue(section, key, QStringLiteral("KL-4100"));
    const IniDocument reread(doc.toString());
    if (reread.value(section, key) != QStringLiteral("KL-4100")) abort();
    if (TextNaCp1250(Cp1250NaText(bytes)) != bytes) abort();
    return 0;
}
