#include "SouborKonfigurace.h"

#include "Rychlosti.h"
#include "Soubory.h"
#include "TextovySoubor.h"

#include <QCoreApplication>
#include <QTimeZone>

#include <array>
#include <optional>

namespace {

const char* const kKlice[] = {
    "format",     "modul",       "precteno",
    "adresa",     "rychlost",    "mod_citace",
    "negace_din", "negace_dout", "pocatecni_stav_dout",
};
constexpr int kPocetKlicu = sizeof kKlice / sizeof kKlice[0];
// Places in kKlice of the keys read one by one.
enum { KlicFormat, KlicModul, KlicPrecteno, KlicAdresa, KlicRychlost, KlicModCitace };

// The three 32-bit words and their first byte in the block.
struct Slovo {
    int klic;
    int bajt;
};
constexpr Slovo kSlova[] = {{6, 3}, {7, 7}, {8, 11}};

QString Dvojmistne(int n) {
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

// "2024-05-01T14:03:07+02:00": the local time and its offset, to the second.
QString CasNaText(const QDateTime& Cas) {
    const int Posun = Cas.offsetFromUtc();
    const int Minuty = (Posun < 0 ? -Posun : Posun) / 60;
    return Cas.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           QLatin1Char(Posun < 0 ? '-' : '+') + Dvojmistne(Minuty / 60) + QLatin1Char(':') +
           Dvojmistne(Minuty % 60);
}

// Digits only, exactly `Pocet` of them, from `Od`.
std::optional<int> Cislice(const QString& s, int Od, int Pocet) {
    int v = 0;
    for (int i = Od; i < Od + Pocet; ++i) {
        const char16_t z = s.at(i).unicode();
        if (z < u'0' || z > u'9') return std::nullopt;
        v = v * 10 + (z - u'0');
    }
    return v;
}

std::optional<QDateTime> TextNaCas(const QString& s) {
    // yyyy-MM-ddTHH:mm:ss then Z or +hh:mm / -hh:mm
    if (s.size() != 20 && s.size() != 25) return std::nullopt;
    const auto Znak = [&](int i, char z) { return s.at(i) == QLatin1Char(z); };
    if (!Znak(4, '-') || !Znak(7, '-') || !Znak(10, 'T') || !Znak(13, ':') || !Znak(16, ':'))
        return std::nullopt;
    const auto r = Cislice(s, 0, 4), mo = Cislice(s, 5, 2), d = Cislice(s, 8, 2);
    const auto h = Cislice(s, 11, 2), mi = Cislice(s, 14, 2), se = Cislice(s, 17, 2);
    if (!r || !mo || !d || !h || !mi || !se || *r < 1) return std::nullopt;
    int Posun = 0;
    if (s.size() == 20) {
        if (!Znak(19, 'Z')) return std::nullopt;
    } else {
        if ((!Znak(19, '+') && !Znak(19, '-')) || !Znak(22, ':')) return std::nullopt;
        const auto ph = Cislice(s, 20, 2), pm = Cislice(s, 23, 2);
        if (!ph || !pm || *ph > 14 || *pm > 59 || *ph * 60 + *pm > 14 * 60) return std::nullopt;
        Posun = (*ph * 3600 + *pm * 60) * (Znak(19, '-') ? -1 : 1);
    }
    const QDate Datum(*r, *mo, *d);
    const QTime Cas(*h, *mi, *se);
    if (!Datum.isValid() || !Cas.isValid()) return std::nullopt;
    return QDateTime(Datum, Cas, QTimeZone(Posun));
}

// The value of each key as written, and its line.
struct Zapisy {
    std::array<std::optional<QString>, kPocetKlicu> Hodnoty;
    std::array<int, kPocetKlicu> Radky{};

    const QString& Hodnota(int k) const { return *Hodnoty[k]; }
    // "řádek N: " of key k.
    QString Kde(int k) const { return UvodRadku(Radky[k]); }
    // The value, cut for a message, in quotes.
    QString Ukazka(int k) const { return ::Ukazka(Hodnota(k)); }
};

// One line: blank, a comment, or "key = value" of a known key not given
// before, with a value.
bool CtiRadek(const QString& r, int Cislo, Zapisy& Z, QString& Chyba) {
    std::optional<TZapis> Zapis;
    if (!CtiZapis(r, Cislo, Zapis, Chyba)) return false;
    if (!Zapis) return true;
    const QString& Klic = Zapis->Klic;
    int k = 0;
    while (k < kPocetKlicu && Klic != QLatin1String(kKlice[k]))
        ++k;
    if (k == kPocetKlicu) {
        Chyba =
            UvodRadku(Cislo) + QCoreApplication::translate("SouborKonfigurace", "neznámý klíč %1.")
                                   .arg(::Ukazka(Klic));
        return false;
    }
    if (Z.Hodnoty[k]) {
        Chyba = UvodRadku(Cislo) +
                QCoreApplication::translate("SouborKonfigurace",
                                            "klíč %1 je uveden podruhé (poprvé na řádku %2).")
                    .arg(Uvozene(Klic))
                    .arg(Z.Radky[k]);
        return false;
    }
    if (Zapis->Hodnota.isEmpty()) {
        Chyba = UvodRadku(Cislo) +
                QCoreApplication::translate("SouborKonfigurace", "chybí hodnota klíče %1.")
                    .arg(Uvozene(Klic));
        return false;
    }
    Z.Hodnoty[k] = Zapis->Hodnota;
    Z.Radky[k] = Cislo;
    return true;
}

// Every line, then every key present.
bool CtiZapisy(const QStringList& Radky, Zapisy& Z, QString& Chyba) {
    for (qsizetype n = 0; n < Radky.size(); ++n)
        if (!CtiRadek(Radky[n], static_cast<int>(n + 1), Z, Chyba)) return false;
    for (int k = 0; k < kPocetKlicu; ++k) {
        if (!Z.Hodnoty[k]) {
            Chyba = QCoreApplication::translate("SouborKonfigurace", "V souboru chybí klíč %1.")
                        .arg(Uvozene(QString::fromLatin1(kKlice[k])));
            return false;
        }
    }
    return true;
}

// The value of key k as a whole number in [Min, Max].
std::optional<int64_t> Cislo(const Zapisy& Z, int k, int64_t Min, int64_t Max, QString& Chyba) {
    const auto v = CisloHodnoty(Z.Hodnota(k), QString::fromLatin1(kKlice[k]), Min, Max, Chyba);
    if (!v) Chyba = Z.Kde(k) + Chyba;
    return v;
}

bool CtiFormat(const Zapisy& Z, QString& Chyba) {
    const std::optional<int64_t> Format = TextNaCislo(Z.Hodnota(KlicFormat));
    if (Format && *Format == FormatKonfigurace) return true;
    Chyba = Z.Kde(KlicFormat) +
            QCoreApplication::translate(
                "SouborKonfigurace", "nepodporovaná verze formátu %1 (tento program zná verzi %2).")
                .arg(Z.Ukazka(KlicFormat))
                .arg(FormatKonfigurace);
    return false;
}

bool CtiModul(const Zapisy& Z, QString& Modul, QString& Chyba) {
    const std::optional<QString> m = UvozovkyNaText(Z.Hodnota(KlicModul));
    if (!m) {
        Chyba = Z.Kde(KlicModul) + VadaUvozovek(QCoreApplication::translate("SouborKonfigurace",
                                                                            "identifikace modulu"));
        return false;
    }
    const QString Vada = VadaIdentifikace(*m);
    if (!Vada.isEmpty()) {
        Chyba = Z.Kde(KlicModul) + Vada;
        return false;
    }
    Modul = *m;
    return true;
}

bool CtiPrecteno(const Zapisy& Z, QDateTime& Precteno, QString& Chyba) {
    const std::optional<QDateTime> Cas = TextNaCas(Z.Hodnota(KlicPrecteno));
    if (!Cas) {
        Chyba = Z.Kde(KlicPrecteno) +
                QCoreApplication::translate("SouborKonfigurace",
                                            "čas čtení musí mít tvar RRRR-MM-DDThh:mm:ss+hh:mm.");
        return false;
    }
    Precteno = *Cas;
    return true;
}

// The rate in Bd, one of the nine, as its baud index.
bool CtiRychlost(const Zapisy& Z, uint8_t& Index, QString& Chyba) {
    const std::optional<uint8_t> i = RychlostHodnoty(Z.Hodnota(KlicRychlost), Chyba);
    if (!i) {
        Chyba = Z.Kde(KlicRychlost) + Chyba;
        return false;
    }
    Index = *i;
    return true;
}

// Every value, checked in the order of the keys.
bool CtiHodnoty(const Zapisy& Z, TSouborKonfigurace& S, QString& Chyba) {
    if (!CtiFormat(Z, Chyba) || !CtiModul(Z, S.Modul, Chyba) || !CtiPrecteno(Z, S.Precteno, Chyba))
        return false;
    const auto Adresa = Cislo(Z, KlicAdresa, 0, 255, Chyba);
    if (!Adresa) return false;
    S.Blok.KonfAdresa = static_cast<uint8_t>(*Adresa);
    if (!CtiRychlost(Z, S.Blok.KonfRychlost, Chyba)) return false;
    const auto Mod = Cislo(Z, KlicModCitace, 0, 2, Chyba);
    if (!Mod) return false;
    S.Blok.KonfModCitace = static_cast<uint8_t>(*Mod);
    for (const Slovo& w : kSlova) {
        const auto v = Cislo(Z, w.klic, 0, UINT32_MAX, Chyba);
        if (!v) return false;
        NastavSlovoBloku(S.Blok, w.bajt, static_cast<uint32_t>(*v));
    }
    return true;
}

} // namespace

bool KonfiguraceNaText(const TSouborKonfigurace& S, QByteArray& Text, QString& Chyba) {
    if (S.Blok.KonfRychlost >= PocetRychlosti) {
        Chyba = QCoreApplication::translate("SouborKonfigurace",
                                            "Index rychlosti %1 není v rozsahu 0-8.")
                    .arg(S.Blok.KonfRychlost);
        return false;
    }
    if (S.Blok.KonfModCitace > 2) {
        Chyba =
            QCoreApplication::translate("SouborKonfigurace", "Mód čítače %1 není v rozsahu 0-2.")
                .arg(S.Blok.KonfModCitace);
        return false;
    }
    if (const QString Vada = VadaIdentifikace(S.Modul); !Vada.isEmpty()) {
        // The same words as the parser's, as a sentence of their own.
        Chyba = Vada.at(0).toUpper() + Vada.mid(1);
        return false;
    }
    if (!S.Precteno.isValid() || S.Precteno.date().year() < 1 || S.Precteno.date().year() > 9999) {
        Chyba =
            QCoreApplication::translate("SouborKonfigurace", "Chybí platný čas čtení konfigurace.");
        return false;
    }
    const auto Hex = [&](int Prvni) {
        return QStringLiteral("0x") + QString::number(SlovoBloku(S.Blok, Prvni), 16)
                                          .toUpper()
                                          .rightJustified(8, QLatin1Char('0'));
    };
    QString t;
    t += QStringLiteral("# KM-207: konfigurace modulu\n");
    t += QStringLiteral("# rychlost v Bd: 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, "
                        "115200\n");
    t += QStringLiteral("# mod_citace: 0 = 32 bitů, 1 = 23 bitů, 2 = +/- 23 bitů\n");
    t += QStringLiteral("# negace_din, negace_dout, pocatecni_stav_dout: bit n = kanál n\n");
    t += QStringLiteral("format = %1\n").arg(FormatKonfigurace);
    t += QStringLiteral("modul = ") + TextNaUvozovky(S.Modul) + QLatin1Char('\n');
    t += QStringLiteral("precteno = ") + CasNaText(S.Precteno) + QLatin1Char('\n');
    t += QStringLiteral("adresa = %1\n").arg(S.Blok.KonfAdresa);
    t += QStringLiteral("rychlost = %1\n").arg(IndexNaRychlost(S.Blok.KonfRychlost));
    t += QStringLiteral("mod_citace = %1\n").arg(S.Blok.KonfModCitace);
    for (const Slovo& w : kSlova)
        t += QString::fromLatin1(kKlice[w.klic]) + QStringLiteral(" = ") + Hex(w.bajt) +
             QLatin1Char('\n');
    Text = t.toUtf8();
    return true;
}

bool TextNaKonfiguraci(const QByteArray& Obsah, TSouborKonfigurace& Soubor, QString& Chyba) {
    QString Text;
    QStringList Radky;
    Zapisy Z;
    TSouborKonfigurace S;
    if (!TextSouboru(Obsah, MaxVelikostKonfigurace,
                     QCoreApplication::translate("SouborKonfigurace", "konfigurace modulu"), Text,
                     Chyba) ||
        !RadkySouboru(Text, Radky, Chyba) || !CtiZapisy(Radky, Z, Chyba) ||
        !CtiHodnoty(Z, S, Chyba))
        return false;
    Soubor = S;
    return true;
}

bool UlozKonfiguraci(const QString& Cesta, const TSouborKonfigurace& Soubor, QString& Chyba) {
    QByteArray Text;
    return KonfiguraceNaText(Soubor, Text, Chyba) && ZapisSoubor(Cesta, Text, Chyba);
}

bool NactiKonfiguraci(const QString& Cesta, TSouborKonfigurace& Soubor, QString& Chyba) {
    QByteArray Obsah;
    return CtiSoubor(Cesta, MaxVelikostKonfigurace, Obsah, Chyba) &&
           TextNaKonfiguraci(Obsah, Soubor, Chyba);
}
