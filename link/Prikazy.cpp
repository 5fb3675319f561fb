#include "Prikazy.h"

#include "Kxxx410.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

namespace {

// A text of this unit, in the language set or, for files, in Czech.
QString text(const char* Zdroj, bool Cesky) {
    return Cesky ? QString::fromUtf8(Zdroj) : QCoreApplication::translate("Prikazy", Zdroj);
}

QString nazevRegistru(uint8_t Registr, bool Cesky) {
    switch (Registr) {
    case RegistrModCitace:
        return text(QT_TRANSLATE_NOOP("Prikazy", "mód čítače"), Cesky);
    case RegistrRychlost:
        return text(QT_TRANSLATE_NOOP("Prikazy", "rychlost"), Cesky);
    case RegistrAdresa:
        return text(QT_TRANSLATE_NOOP("Prikazy", "adresa"), Cesky);
    default:
        break;
    }
    if (Registr < RegistrPocStavDOUT || Registr > RegistrNegaceDOUT + 9) return QString();
    const int Bajt = (Registr - RegistrPocStavDOUT) / 3;
    const QString Kanaly = QStringLiteral("%1-%2").arg(8 * Bajt).arg(8 * Bajt + 7);
    switch ((Registr - RegistrPocStavDOUT) % 3) {
    case 0:
        return text(QT_TRANSLATE_NOOP("Prikazy", "počáteční stav DOUT%1"), Cesky).arg(Kanaly);
    case 1:
        return text(QT_TRANSLATE_NOOP("Prikazy", "negace DIN%1"), Cesky).arg(Kanaly);
    default:
        return text(QT_TRANSLATE_NOOP("Prikazy", "negace DOUT%1"), Cesky).arg(Kanaly);
    }
}

QString nazevPrikazu(uint8_t Prikaz, uint8_t P5, const std::array<uint8_t, 5>& Pozadavek,
                     bool Cesky) {
    const QString Kod = QString::number(Prikaz) + QLatin1Char(' ');
    for (const TPopisPrikazu& R : TabulkaPrikazu()) {
        if (R.Prikaz != Prikaz || (R.P5 >= 0 && R.P5 != P5)) continue;
        QString Text = Kod + text(R.Vyznam, Cesky);
        if (R.P5 < 0) {
            // The register travels in B1 (and again in B2).
            Text += QLatin1Char(' ') + QString::number(Pozadavek[1]);
            const QString Nazev = nazevRegistru(Pozadavek[1], Cesky);
            if (!Nazev.isEmpty()) Text += QStringLiteral(" (") + Nazev + QLatin1Char(')');
        }
        return Text;
    }
    return Kod + text(QT_TRANSLATE_NOOP("Prikazy", "neznámý příkaz (P5 %1)"), Cesky).arg(P5);
}

} // namespace

uint8_t PrikazRegistru(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, uint8_t Prikaz,
                       uint8_t Registr, uint8_t& Hodnota) {
    uint8_t B0 = 0, B1 = Registr, B2 = Registr, B3 = Hodnota, B4 = Hodnota;
    // A call that never reaches the driver (handle 0) leaves Chyba as it
    // is; it must not read as success.
    uint8_t Chyba = KodNeplatne;
    TOdpoved Odpoved{};
    ProvedPrikaz(Rozhrani, Handle, Adresa, Prikaz, 0, &B0, &B1, &B2, &B3, &B4, Chyba, Odpoved);
    Hodnota = B3;
    return Chyba;
}

std::array<QString, 32> JmenaBituStavu() {
    std::array<QString, 32> Jmena;
    Jmena.fill(QStringLiteral("---"));
    Jmena[1] = QStringLiteral("FN");
    Jmena[2] = QStringLiteral("PRF");
    Jmena[4] = QStringLiteral("PWR");
    Jmena[5] = QStringLiteral("RST");
    Jmena[6] = QStringLiteral("ERR24");
    return Jmena;
}

const std::vector<TRegistr>& RegistryBloku() {
    static const std::vector<TRegistr> Registry = [] {
        std::vector<TRegistr> R{{RegistrAdresa, 0}, {RegistrRychlost, 1}, {RegistrModCitace, 2}};
        // The transfer goes setting by setting, lowest byte first.
        const TRegistr Nastaveni[] = {
            {RegistrPocStavDOUT, 11}, {RegistrNegaceDIN, 3}, {RegistrNegaceDOUT, 7}};
        for (const TRegistr& N : Nastaveni)
            for (int i = 0; i < 4; ++i)
                R.push_back({static_cast<uint8_t>(N.Cislo + 3 * i), N.Bajt + i});
        return R;
    }();
    return Registry;
}

std::vector<TRegistr> RegistryDIO() {
    const std::vector<TRegistr>& Vse = RegistryBloku();
    return {Vse.begin() + 3, Vse.end()};
}

std::vector<uint8_t> CislaRegistru(const std::vector<TRegistr>& Registry) {
    std::vector<uint8_t> Cisla;
    for (const TRegistr& R : Registry)
        Cisla.push_back(R.Cislo);
    return Cisla;
}

int BajtRegistru(uint8_t Registr) {
    for (const TRegistr& R : RegistryBloku())
        if (R.Cislo == Registr) return R.Bajt;
    return -1;
}

QString NazevRegistru(uint8_t Registr) {
    return nazevRegistru(Registr, false);
}

QString SeznamRegistru(const std::vector<uint8_t>& Registry) {
    QStringList Casti;
    for (uint8_t R : Registry) {
        const QString Nazev = NazevRegistru(R);
        Casti << (Nazev.isEmpty() ? QString::number(R)
                                  : QStringLiteral("%1 (%2)").arg(R).arg(Nazev));
    }
    return Casti.join(QStringLiteral(", "));
}

QString PoznamkaZapnuti(const std::vector<uint8_t>& Zapsane) {
    const auto Je = [&](uint8_t R) {
        return std::find(Zapsane.begin(), Zapsane.end(), R) != Zapsane.end();
    };
    const bool Adresa = Je(RegistrAdresa), Rychlost = Je(RegistrRychlost);
    if (!Adresa && !Rychlost) return QString();
    // The module takes a new address or rate only when it powers up.
    if (Adresa && Rychlost)
        return QCoreApplication::translate(
            "Prikazy", "Nová adresa a rychlost platí od příštího zapnutí modulu.");
    return Adresa ? QCoreApplication::translate("Prikazy",
                                                "Nová adresa platí od příštího zapnutí modulu.")
                  : QCoreApplication::translate("Prikazy",
                                                "Nová rychlost platí od příštího zapnutí modulu.");
}

const std::vector<TPopisPrikazu>& TabulkaPrikazu() {
    static const std::vector<TPopisPrikazu> Tabulka{
        {PrikazCtiHodnotu, PolozkaVstupy, QT_TRANSLATE_NOOP("Prikazy", "čtení digitálních vstupů")},
        {PrikazCtiHodnotu, PolozkaCitac, QT_TRANSLATE_NOOP("Prikazy", "čtení čítače")},
        {PrikazZapisHodnotu, PolozkaVystupy,
         QT_TRANSLATE_NOOP("Prikazy", "zápis digitálních výstupů")},
        {PrikazZapisHodnotu, PolozkaCitac, QT_TRANSLATE_NOOP("Prikazy", "nulování čítače")},
        {PrikazCtiRegistrStavu, RegistrStavu,
         QT_TRANSLATE_NOOP("Prikazy", "čtení stavového registru")},
        {PrikazCtiRegistrStavu, RegistrCasu, QT_TRANSLATE_NOOP("Prikazy", "čtení času")},
        {PrikazCtiRegistrStavu, RegistrData, QT_TRANSLATE_NOOP("Prikazy", "čtení data")},
        {PrikazCtiRegistrStavu, RegistrZacatkuVypadku,
         QT_TRANSLATE_NOOP("Prikazy", "čtení času začátku výpadku napájení")},
        {PrikazCtiRegistrStavu, RegistrZacatkuVypadku + 1,
         QT_TRANSLATE_NOOP("Prikazy", "čtení data začátku výpadku napájení")},
        {PrikazCtiRegistrStavu, RegistrKonceVypadku,
         QT_TRANSLATE_NOOP("Prikazy", "čtení času konce výpadku napájení")},
        {PrikazCtiRegistrStavu, RegistrKonceVypadku + 1,
         QT_TRANSLATE_NOOP("Prikazy", "čtení data konce výpadku napájení")},
        {PrikazZapisRegistrStavu, RegistrStavu,
         QT_TRANSLATE_NOOP("Prikazy", "nulování stavového registru")},
        {PrikazZapisRegistrStavu, RegistrCasu, QT_TRANSLATE_NOOP("Prikazy", "nastavení času")},
        {PrikazZapisRegistrStavu, RegistrData, QT_TRANSLATE_NOOP("Prikazy", "nastavení data")},
        {PrikazCti, -1, QT_TRANSLATE_NOOP("Prikazy", "čtení registru")},
        {PrikazZapis, -1, QT_TRANSLATE_NOOP("Prikazy", "zápis registru")},
        {PrikazIdentifikace, 0, QT_TRANSLATE_NOOP("Prikazy", "identifikace (název 1-4)")},
        {PrikazIdentifikace, 1, QT_TRANSLATE_NOOP("Prikazy", "identifikace (název 5-8)")},
        {PrikazIdentifikace, 2, QT_TRANSLATE_NOOP("Prikazy", "identifikace (verze)")},
    };
    return Tabulka;
}

QString NazevPrikazu(uint8_t Prikaz, uint8_t P5, const std::array<uint8_t, 5>& Pozadavek) {
    return nazevPrikazu(Prikaz, P5, Pozadavek, false);
}

QString CeskyNazevPrikazu(uint8_t Prikaz, uint8_t P5, const std::array<uint8_t, 5>& Pozadavek) {
    return nazevPrikazu(Prikaz, P5, Pozadavek, true);
}

QString TextChybaZapisu() {
    return QCoreApplication::translate("Prikazy", "Chyba zápisu dat.");
}
