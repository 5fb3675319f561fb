// The interface kinds: one row per kind with everything the program decides
// by the kind. The driver's side of a row (entry prefix, form of Init, UDP)
// is kmhost's table, which the driver host shares.
#pragma once

#include "driver_kinds.h"

#include <QCoreApplication>
#include <QString>
#include <QStringView>

#include <cstdint>

// What the record keeps for a kind and its driver's Init is given.
enum class TParametry {
    CisloPortu,   // COM port number, handed to Init
    BazovaAdresa, // ISA card's base address, handed to Init
    Zadne,        // nothing: the driver finds its device itself
    Lan,          // IP text, UDP port and timeout, in the configuration block
};

struct TRozhrani {
    uint8_t Druh;         // the kind: its index in the settings file, list and driver
    QStringView Nazev;    // the settings file's and the log's name: "COMx"
    const char* Popis;    // the connection dialog's list item, UTF-8: "Standardní COMx"
    QStringView Prepinac; // km207's --kind: "com"
    TParametry Parametry;

    // Prefix, form of Init, UDP.
    constexpr const kmhost::DriverKind& Ovladac() const { return kmhost::kDriverKinds[Druh]; }
    // The driver's library file with the ending given: "KSER410.DLL" (the
    // maker's, and the name in every text), "KSER410.so".
    QString Knihovna(QStringView Pripona = u".DLL") const {
        return QString::fromLatin1(Ovladac().prefix) + Pripona.toString();
    }
    // Popis in the language set.
    QString PopisText() const { return QCoreApplication::translate("Rozhrani", Popis); }
    // Init takes one number the operator gives (km207's --port).
    constexpr bool MaPort() const {
        return Parametry == TParametry::CisloPortu || Parametry == TParametry::BazovaAdresa;
    }
};

inline constexpr TRozhrani TabulkaRozhrani[kmhost::kKindCount] = {
    {0, u"COMx", QT_TRANSLATE_NOOP("Rozhrani", "Standardní COMx"), u"com", TParametry::CisloPortu},
    {1, u"KIB-410", QT_TRANSLATE_NOOP("Rozhrani", "ISA karta KIB-410"), u"isa",
     TParametry::BazovaAdresa},
    {2, u"KPB-4100", QT_TRANSLATE_NOOP("Rozhrani", "PCI karta KPB-4100"), u"pci",
     TParametry::Zadne},
    {3, u"KUB-4100", QT_TRANSLATE_NOOP("Rozhrani", "USB konvertor KUB-4100"), u"usb",
     TParametry::Zadne},
    {4, u"KL-4100", QT_TRANSLATE_NOOP("Rozhrani", "LAN konvertor KL-4100"), u"lan",
     TParametry::Lan},
};

// The row of a kind; null for any other value.
constexpr const TRozhrani* NajdiRozhrani(uint32_t Druh) {
    return Druh < kmhost::kKindCount ? &TabulkaRozhrani[Druh] : nullptr;
}

// The first kind whose record keeps these parameters; the settings file
// names their section after it.
constexpr const TRozhrani& RozhraniSParametry(TParametry Parametry) {
    for (const TRozhrani& R : TabulkaRozhrani)
        if (R.Parametry == Parametry) return R;
    return TabulkaRozhrani[0];
}

namespace rozhrani_detail {
// What the record gives Init must be what the library's Init takes.
constexpr kmhost::InitForm FormaInit(TParametry P) {
    return P == TParametry::Zadne ? kmhost::InitForm::Plain
           : P == TParametry::Lan ? kmhost::InitForm::Config
                                  : kmhost::InitForm::Value;
}
constexpr bool TabulkaSouhlasi() {
    for (uint32_t i = 0; i < kmhost::kKindCount; ++i) {
        const TRozhrani& R = TabulkaRozhrani[i];
        if (R.Druh != i || R.Ovladac().init != FormaInit(R.Parametry) ||
            R.Ovladac().udp != (R.Parametry == TParametry::Lan))
            return false;
    }
    return true;
}
static_assert(TabulkaSouhlasi(), "a kind's parameters and its driver's Init disagree");
} // namespace rozhrani_detail
