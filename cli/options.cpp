#include "options.h"

#include "Dekl.h"
#include "Rozhrani.h"

namespace km207 {

std::optional<int64_t> numberIn(const QString& text, int64_t min, int64_t max) {
    const std::optional<int64_t> n = TextNaCislo(text);
    if (!n || *n < min || *n > max) return std::nullopt;
    return n;
}

QString kindName(uint8_t kind) {
    const TRozhrani* r = NajdiRozhrani(kind);
    return r ? r->Prepinac.toString() : QString();
}

std::optional<uint32_t> portValue(uint8_t kind, const QString& text) {
    const TRozhrani* r = NajdiRozhrani(kind);
    if (!r) return std::nullopt;
    if (r->Parametry == TParametry::CisloPortu) {
        const auto n = numberIn(text, 1, 255);
        if (!n) return std::nullopt;
        return static_cast<uint32_t>(*n);
    }
    if (r->Parametry == TParametry::BazovaAdresa) {
        // The connection dialog shows the base as "300h"; the settings file
        // keeps it in decimal.
        const QString t = text.trimmed();
        std::optional<int64_t> n;
        if (t.endsWith(QLatin1Char('h'), Qt::CaseInsensitive))
            n = numberIn(QStringLiteral("0x") + t.chopped(1), 0, 0xFFFF);
        else
            n = numberIn(t, 0, 0xFFFF);
        if (!n) return std::nullopt;
        return static_cast<uint32_t>(*n);
    }
    return std::nullopt;
}

std::optional<uint32_t> hexWord(const QString& text) {
    QString t = text.trimmed();
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        t = t.mid(2);
    else if (t.startsWith(QLatin1Char('$')))
        t = t.mid(1);
    // Always hexadecimal, read as the settings file reads "0x" numbers.
    const std::optional<int64_t> n = TextNaCislo(QStringLiteral("0x") + t);
    if (!n) return std::nullopt;
    return static_cast<uint32_t>(*n);
}

} // namespace km207
