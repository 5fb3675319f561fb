#include "SouborLinky.h"

// Interfaces first; the parser and writer follow.

int NajdiModulLinky(const std::vector<TModulLinky>& Moduly, uint8_t Adresa, int IndexRychlosti) {
    for (size_t i = 0; i < Moduly.size(); ++i)
        if (Moduly[i].Adresa == Adresa && Moduly[i].IndexRychlosti == IndexRychlosti)
            return static_cast<int>(i);
    return -1;
}

QString VadaModuluLinky(const std::vector<TModulLinky>&, const TModulLinky&) {
    return QString();
}

bool LinkaNaText(const TSouborLinky&, QByteArray&, QString& Chyba) {
    Chyba = QStringLiteral("Zatím neumím.");
    return false;
}

bool TextNaLinku(const QByteArray&, TSouborLinky&, QString& Chyba) {
    Chyba = QStringLiteral("Zatím neumím.");
    return false;
}

bool UlozLinku(const QString&, const TSouborLinky&, QString& Chyba) {
    Chyba = QStringLiteral("Zatím neumím.");
    return false;
}

bool NactiLinku(const QString&, TSouborLinky&, QString& Chyba) {
    Chyba = QStringLiteral("Zatím neumím.");
    return false;
}
