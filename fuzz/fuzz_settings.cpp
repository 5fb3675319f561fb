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

    // Nothing is lost: a document without changes writes back what it read,
    // up to the line ends it normalised.
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QString again = doc.toString();
    again.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (!text.contains(QLatin1Char('\r')) && again != normal) abort();

    doc.setValue(section, key, QStringLiteral("KL-4100"));
    const IniDocument reread(doc.toString());
    if (reread.value(section, key) != QStringLiteral("KL-4100")) abort();
    if (TextNaCp1250(Cp1250NaText(bytes)) != bytes) abort();
    return 0;
}
