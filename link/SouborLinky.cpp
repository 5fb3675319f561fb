#include "SouborLinky.h"

#include "Dekl.h"
#include "Rychlosti.h"
#include "Soubory.h"
#include "TextovySoubor.h"

#include <QCoreApplication>

#include <optional>

namespace {

// format comes before the first module, module keys after "modul", and
// konec closes the file.
const QString KlicFormat = QStringLiteral("format");
const QString KlicKonec = QStringLiteral("konec");
const QString KlicModul = QStringLiteral("modul");
const QString KlicRychlost = QStringLiteral("rychlost");
const QString KlicIdentifikace = QStringLiteral("identifikace");
const QString KlicPopis = QStringLiteral("popis");

// At most every address at every rate.
constexpr int MaxModulu = 256 * PocetRychlosti;

// A text about module M: %1 is its address, %2 its rate, %3 Dalsi when
// given (one pass of arg, so a '%' in Dalsi stays as it is).
QString OModulu(const char* Vzor, const TModulLinky& M, const QString& Dalsi = QString()) {
    const QString Text = QCoreApplication::translate("SouborLinky", Vzor);
    const QString Adresa = QString::number(M.Adresa);
    const QString Rychlost = QString::number(IndexNaRychlost(M.IndexRychlosti));
    return Dalsi.isNull() ? Text.arg(Adresa, Rychlost) : Text.arg(Adresa, Rychlost, Dalsi);
}

// One key given once within its part of the file, with the line it is on.
struct TKlic {
    std::optional<QString> Hodnota;
    int Radek = 0;
};

// The module being read, and where its keys stood.
struct TCteny {
    int Radek = 0; // of "modul"
    TModulLinky Modul;
    TKlic Rychlost, Identifikace, Popis;
};

class TCteni {
  public:
    bool Radek(const QString& r, int Cislo, QString& Chyba);
    bool Konec(TSouborLinky& Soubor, QString& Chyba);

  private:
    bool Zahlavi(const TZapis& Z, int Cislo, QString& Chyba);
    bool Zaver(const TZapis& Z, int Cislo, QString& Chyba);
    bool KlicModulu(const TZapis& Z, int Cislo, QString& Chyba);
    bool Uzavri(QString& Chyba);

    TKlic Format_, Konec_;
    std::optional<TCteny> Cteny_;
    std::vector<TModulLinky> Moduly_;
    std::vector<int> RadkyModulu_;
};

bool Jednou(TKlic& K, const TZapis& Z, int Cislo, QString& Chyba) {
    if (K.Hodnota) {
        Chyba = UvodRadku(Cislo) +
                QCoreApplication::translate("SouborLinky",
                                            "klíč %1 je uveden podruhé (poprvé na řádku %2).")
                    .arg(Uvozene(Z.Klic))
                    .arg(K.Radek);
        return false;
    }
    if (Z.Hodnota.isEmpty()) {
        Chyba =
            UvodRadku(Cislo) + QCoreApplication::translate("SouborLinky", "chybí hodnota klíče %1.")
                                   .arg(Uvozene(Z.Klic));
        return false;
    }
    K.Hodnota = Z.Hodnota;
    K.Radek = Cislo;
    return true;
}

bool TCteni::Radek(const QString& r, int Cislo, QString& Chyba) {
    std::optional<TZapis> Z;
    if (!CtiZapis(r, Cislo, Z, Chyba)) return false;
    if (!Z) return true;
    if (Konec_.Hodnota) {
        Chyba = UvodRadku(Cislo) + QCoreApplication::translate(
                                       "SouborLinky", "za klíčem \"konec\" (řádek %1) už nesmí nic "
                                                      "následovat.")
                                       .arg(Konec_.Radek);
        return false;
    }
    if (Z->Klic == KlicFormat) return Zahlavi(*Z, Cislo, Chyba);
    if (Z->Klic == KlicKonec) return Zaver(*Z, Cislo, Chyba);
    if (Z->Klic == KlicModul) {
        if (!Uzavri(Chyba)) return false;
        TKlic Adresa;
        if (!Jednou(Adresa, *Z, Cislo, Chyba)) return false;
        const auto a = CisloHodnoty(Z->Hodnota, Z->Klic, 0, 255, Chyba);
        if (!a) {
            Chyba = UvodRadku(Cislo) + Chyba;
            return false;
        }
        Cteny_ = TCteny{};
        Cteny_->Radek = Cislo;
        Cteny_->Modul.Adresa = static_cast<uint8_t>(*a);
        return true;
    }
    if (Z->Klic == KlicRychlost || Z->Klic == KlicIdentifikace || Z->Klic == KlicPopis)
        return KlicModulu(*Z, Cislo, Chyba);
    Chyba = UvodRadku(Cislo) +
            QCoreApplication::translate("SouborLinky", "neznámý klíč %1.").arg(Ukazka(Z->Klic));
    return false;
}

bool TCteni::Zahlavi(const TZapis& Z, int Cislo, QString& Chyba) {
    if (Cteny_ || !Moduly_.empty()) {
        Chyba = UvodRadku(Cislo) +
                QCoreApplication::translate("SouborLinky",
                                            "klíč %1 patří na začátek souboru, před první modul.")
                    .arg(Uvozene(Z.Klic));
        return false;
    }
    if (!Jednou(Format_, Z, Cislo, Chyba)) return false;
    const std::optional<int64_t> f = TextNaCislo(Z.Hodnota);
    if (f && *f == FormatLinky) return true;
    Chyba = UvodRadku(Cislo) +
            QCoreApplication::translate(
                "SouborLinky", "nepodporovaná verze formátu %1 (tento program zná verzi %2).")
                .arg(Ukazka(Z.Hodnota))
                .arg(FormatLinky);
    return false;
}

// "konec = N": the last key, with the number of modules before it, so a
// file cut anywhere (also at a line end between two keys) is told.
bool TCteni::Zaver(const TZapis& Z, int Cislo, QString& Chyba) {
    if (!Uzavri(Chyba) || !Jednou(Konec_, Z, Cislo, Chyba)) return false;
    const auto Pocet = CisloHodnoty(Z.Hodnota, Z.Klic, 0, MaxModulu, Chyba);
    if (!Pocet) {
        Chyba = UvodRadku(Cislo) + Chyba;
        return false;
    }
    if (*Pocet == static_cast<int64_t>(Moduly_.size())) return true;
    Chyba = UvodRadku(Cislo) +
            QCoreApplication::translate("SouborLinky",
                                        "klíč \"konec\" uvádí modulů %1, ale před ním jich "
                                        "je %2; soubor je poškozený.")
                .arg(*Pocet)
                .arg(Moduly_.size());
    return false;
}

bool TCteni::KlicModulu(const TZapis& Z, int Cislo, QString& Chyba) {
    if (!Cteny_) {
        Chyba = UvodRadku(Cislo) +
                QCoreApplication::translate("SouborLinky",
                                            "klíč %1 musí následovat za klíčem \"modul\".")
                    .arg(Uvozene(Z.Klic));
        return false;
    }
    TCteny& C = *Cteny_;
    if (Z.Klic == KlicRychlost) {
        if (!Jednou(C.Rychlost, Z, Cislo, Chyba)) return false;
        const std::optional<uint8_t> i = RychlostHodnoty(Z.Hodnota, Chyba);
        if (!i) {
            Chyba = UvodRadku(Cislo) + Chyba;
            return false;
        }
        C.Modul.IndexRychlosti = *i;
        return true;
    }
    const bool Identifikace = Z.Klic == KlicIdentifikace;
    if (!Jednou(Identifikace ? C.Identifikace : C.Popis, Z, Cislo, Chyba)) return false;
    const std::optional<QString> Text = UvozovkyNaText(Z.Hodnota);
    if (!Text) {
        Chyba = UvodRadku(Cislo) +
                VadaUvozovek(Identifikace
                                 ? QCoreApplication::translate("SouborLinky", "identifikace modulu")
                                 : QCoreApplication::translate("SouborLinky", "popis modulu"));
        return false;
    }
    if (Identifikace) {
        if (const QString Vada = VadaIdentifikace(*Text); !Vada.isEmpty()) {
            Chyba = UvodRadku(Cislo) + Vada;
            return false;
        }
        C.Modul.Identifikace = *Text;
    } else {
        if (Text->size() > MaxDelkaPopisu) {
            Chyba = UvodRadku(Cislo) + QCoreApplication::translate(
                                           "SouborLinky", "popis modulu je delší než %1 znaků.")
                                           .arg(MaxDelkaPopisu);
            return false;
        }
        C.Modul.Popis = *Text;
    }
    return true;
}

// Ends the module being read: its rate given, no other module at its
// address and rate.
bool TCteni::Uzavri(QString& Chyba) {
    if (!Cteny_) return true;
    const TCteny& C = *Cteny_;
    if (!C.Rychlost.Hodnota) {
        Chyba =
            UvodRadku(C.Radek) + QCoreApplication::translate("SouborLinky", "modulu chybí klíč %1.")
                                     .arg(Uvozene(KlicRychlost));
        return false;
    }
    const int Drive = NajdiModulLinky(Moduly_, C.Modul.Adresa, C.Modul.IndexRychlosti);
    if (Drive >= 0) {
        Chyba = UvodRadku(C.Radek) +
                QCoreApplication::translate(
                    "SouborLinky", "modul na adrese %1 s rychlostí %2 Bd je už na řádku %3; dva "
                                   "moduly na jedné adrese a rychlosti by si odpovídaly navzájem.")
                    .arg(C.Modul.Adresa)
                    .arg(IndexNaRychlost(C.Modul.IndexRychlosti))
                    .arg(RadkyModulu_[Drive]);
        return false;
    }
    Moduly_.push_back(C.Modul);
    RadkyModulu_.push_back(C.Radek);
    Cteny_.reset();
    return true;
}

bool TCteni::Konec(TSouborLinky& Soubor, QString& Chyba) {
    if (!Format_.Hodnota) {
        Chyba = QCoreApplication::translate("SouborLinky", "V souboru chybí klíč %1.")
                    .arg(Uvozene(KlicFormat));
        return false;
    }
    if (!Konec_.Hodnota) {
        Chyba = QCoreApplication::translate(
                    "SouborLinky", "V souboru chybí závěrečný klíč %1; soubor je zřejmě neúplný.")
                    .arg(Uvozene(KlicKonec));
        return false;
    }
    Soubor.Moduly = Moduly_;
    return true;
}

} // namespace

int NajdiModulLinky(const std::vector<TModulLinky>& Moduly, uint8_t Adresa, int IndexRychlosti) {
    for (size_t i = 0; i < Moduly.size(); ++i)
        if (Moduly[i].Adresa == Adresa && Moduly[i].IndexRychlosti == IndexRychlosti)
            return static_cast<int>(i);
    return -1;
}

QString VadaModuluLinky(const std::vector<TModulLinky>& Moduly, const TModulLinky& M) {
    if (M.IndexRychlosti < 0 || M.IndexRychlosti >= PocetRychlosti)
        return QCoreApplication::translate("SouborLinky", "Index rychlosti %1 není v rozsahu 0-8.")
            .arg(M.IndexRychlosti);
    if (const QString Vada = VadaIdentifikace(M.Identifikace); !Vada.isEmpty())
        return OModulu(QT_TRANSLATE_NOOP("SouborLinky", "Modul na adrese %1 (%2 Bd): %3"), M, Vada);
    if (M.Popis.size() > MaxDelkaPopisu)
        return OModulu(QT_TRANSLATE_NOOP("SouborLinky",
                                         "Modul na adrese %1 (%2 Bd): popis modulu je delší než %3 "
                                         "znaků."),
                       M, QString::number(MaxDelkaPopisu));
    if (NajdiModulLinky(Moduly, M.Adresa, M.IndexRychlosti) >= 0)
        return OModulu(QT_TRANSLATE_NOOP("SouborLinky",
                                         "Modul na adrese %1 (%2 Bd) už na lince je; dva moduly na "
                                         "jedné adrese a rychlosti by si odpovídaly navzájem."),
                       M);
    return QString();
}

bool LinkaNaText(const TSouborLinky& Soubor, QByteArray& Text, QString& Chyba) {
    std::vector<TModulLinky> Drive;
    for (const TModulLinky& M : Soubor.Moduly) {
        if (const QString Vada = VadaModuluLinky(Drive, M); !Vada.isEmpty()) {
            Chyba = Vada;
            return false;
        }
        Drive.push_back(M);
    }
    QString t;
    t += QStringLiteral("# KM-207: linka modulů\n");
    t += QStringLiteral("# modul = adresa 0-255; rychlost v Bd: 600, 1200, 2400, 4800, 9600, "
                        "19200, 38400, 57600, 115200\n");
    t += QStringLiteral("# identifikace (očekávaný název a verze) a popis jsou nepovinné\n");
    t += QStringLiteral("format = %1\n").arg(FormatLinky);
    for (const TModulLinky& M : Soubor.Moduly) {
        t += QStringLiteral("\nmodul = %1\n").arg(M.Adresa);
        t += QStringLiteral("rychlost = %1\n").arg(IndexNaRychlost(M.IndexRychlosti));
        if (!M.Identifikace.isEmpty())
            t += QStringLiteral("identifikace = ") + TextNaUvozovky(M.Identifikace) +
                 QLatin1Char('\n');
        if (!M.Popis.isEmpty())
            t += QStringLiteral("popis = ") + TextNaUvozovky(M.Popis) + QLatin1Char('\n');
    }
    t += QStringLiteral("\n# počet modulů; soubor bez tohoto řádku je neúplný\n");
    t += QStringLiteral("konec = %1\n").arg(Soubor.Moduly.size());
    Text = t.toUtf8();
    return true;
}

bool TextNaLinku(const QByteArray& Obsah, TSouborLinky& Soubor, QString& Chyba) {
    QString Text;
    QStringList Radky;
    if (!TextSouboru(Obsah, MaxVelikostLinky,
                     QCoreApplication::translate("SouborLinky", "soubor linky"), Text, Chyba) ||
        !RadkySouboru(Text, Radky, Chyba))
        return false;
    TCteni Cteni;
    for (qsizetype n = 0; n < Radky.size(); ++n)
        if (!Cteni.Radek(Radky[n], static_cast<int>(n + 1), Chyba)) return false;
    return Cteni.Konec(Soubor, Chyba);
}

bool UlozLinku(const QString& Cesta, const TSouborLinky& Soubor, QString& Chyba) {
    QByteArray Text;
    return LinkaNaText(Soubor, Text, Chyba) && ZapisSoubor(Cesta, Text, Chyba);
}

bool NactiLinku(const QString& Cesta, TSouborLinky& Soubor, QString& Chyba) {
    QByteArray Obsah;
    return CtiSoubor(Cesta, MaxVelikostLinky, Obsah, Chyba) && TextNaLinku(Obsah, Soubor, Chyba);
}
