#include "Operace.h"

#include "Kxxx410.h"
#include "Rychlosti.h"
#include "km_status.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <functional>

// ------------------------------------------------------------ the module

TCil CilModulu(const TData& Data) {
    return CilModulu(Data, Data.Adresa);
}

TCil CilModulu(const TData& Data, uint8_t Adresa) {
    return {Data.Rozhrani, Data.Handle, Adresa, Data.Rychlost, SpojeniOtevreno(&Data)};
}

namespace {

// One command with B0-B4 as given; B takes the reply. Chyba 10 when the
// driver was never called.
uint8_t Prikaz(const TCil& Cil, uint8_t Kod, uint8_t P5, std::array<uint8_t, 5>& B) {
    uint8_t Chyba = KodNeplatne;
    TOdpoved Odpoved{};
    ProvedPrikaz(Cil.Rozhrani, Cil.Handle, Cil.Adresa, Kod, P5, &B[0], &B[1], &B[2], &B[3], &B[4],
                 Chyba, Odpoved);
    return Chyba;
}

// A command whose B0-B4 all go out as 0 and whose reply carries nothing.
uint8_t BezDat(const TCil& Cil, uint8_t Kod, uint8_t P5) {
    std::array<uint8_t, 5> B{};
    return Prikaz(Cil, Kod, P5, B);
}

uint8_t CtiSlovo(const TCil& Cil, uint8_t Kod, uint8_t P5, std::array<uint8_t, 4>& Bajty) {
    std::array<uint8_t, 5> B{};
    const uint8_t Chyba = Prikaz(Cil, Kod, P5, B);
    if (Chyba == 0) Bajty = {B[1], B[2], B[3], B[4]};
    return Chyba;
}

} // namespace

uint8_t PrikazRegistru(const TCil& Cil, uint8_t Kod, uint8_t Registr, uint8_t& Hodnota) {
    return PrikazRegistru(Cil.Rozhrani, Cil.Handle, Cil.Adresa, Kod, Registr, Hodnota);
}

// ------------------------------------------------------------ identification

uint8_t CastIdentifikace(const TCil& Cil, uint8_t Cast, uint8_t& B0, QString& Znaky) {
    std::array<uint8_t, 5> B{B0, 0, 0, 0, 0};
    const uint8_t Chyba = Prikaz(Cil, PrikazIdentifikace, Cast, B);
    B0 = B[0];
    if (Chyba == 0) {
        Znaky.clear();
        for (size_t i = 1; i < B.size(); ++i)
            Znaky += ZnakCp1250(B[i]);
    }
    return Chyba;
}

QString SlozModul(const QString& Cast0, const QString& Cast1, const QString& Cast2) {
    return Cast0 + Cast1 + QStringLiteral(" v.") + Cast2;
}

uint8_t Identifikuj(const TCil& Cil, QString& Modul, QString& Text) {
    // B0 is deliberately carried from one reply into the next request.
    uint8_t B0 = 0;
    QString Casti[3];
    for (uint8_t Cast = 0; Cast < 3; ++Cast) {
        const uint8_t Chyba = CastIdentifikace(Cil, Cast, B0, Casti[Cast]);
        Text = TextChyby(Cil.Rozhrani, Chyba);
        if (Chyba != 0) return Chyba;
    }
    Modul = SlozModul(Casti[0], Casti[1], Casti[2]);
    return 0;
}

// ------------------------------------------------------------ live values

QString TCitac::Text() const {
    return CitacNaText(Mod, Bajty[0], Bajty[1], Bajty[2], Bajty[3]);
}

uint8_t CtiCitac(const TCil& Cil, TCitac& Citac) {
    uint8_t Mod = 0;
    uint8_t Chyba = PrikazRegistru(Cil, PrikazCti, RegistrModCitace, Mod);
    if (Chyba != 0) return Chyba;
    Chyba = CtiHodnotuCitace(Cil, Citac.Bajty);
    if (Chyba == 0) Citac.Mod = Mod;
    return Chyba;
}

uint8_t CtiHodnotuCitace(const TCil& Cil, std::array<uint8_t, 4>& Bajty) {
    return CtiSlovo(Cil, PrikazCtiHodnotu, PolozkaCitac, Bajty);
}

uint8_t NulujCitac(const TCil& Cil) {
    return BezDat(Cil, PrikazZapisHodnotu, PolozkaCitac);
}

namespace {

// A time register and the date register after it.
uint8_t CtiOkamzik(const TCil& Cil, uint8_t RegistrCasu, TOkamzikModulu& Okamzik) {
    std::array<uint8_t, 4> B{};
    uint8_t Chyba = CtiSlovo(Cil, PrikazCtiRegistrStavu, RegistrCasu, B);
    if (Chyba != 0) return Chyba;
    Okamzik.Cas = CasHodin(B[0], B[1], B[2]);
    Chyba = CtiSlovo(Cil, PrikazCtiRegistrStavu, static_cast<uint8_t>(RegistrCasu + 1), B);
    if (Chyba == 0) Okamzik.Datum = DatumHodin(B[0], B[1], B[2]);
    return Chyba;
}

} // namespace

QDateTime TOkamzikModulu::Okamzik() const {
    if (!Cas || !Datum) return QDateTime();
    return QDateTime(Datum->Datum(), *Cas);
}

uint8_t CtiCasModulu(const TCil& Cil, TOkamzikModulu& Okamzik) {
    return CtiOkamzik(Cil, RegistrCasu, Okamzik);
}

uint8_t CtiVypadek(const TCil& Cil, TVypadek& Vypadek) {
    const uint8_t Chyba = CtiOkamzik(Cil, RegistrZacatkuVypadku, Vypadek.Zacatek);
    if (Chyba != 0) return Chyba;
    return CtiOkamzik(Cil, RegistrKonceVypadku, Vypadek.Konec);
}

QString ChybaRokuHodin(const QDateTime& Cas) {
    const QDate d = Cas.date();
    const auto Zpet = [&](int Rok) { return DatumHodin(1, 1, static_cast<uint8_t>(Rok & 3)).Rok; };
    if (Zpet(d.year()) == d.year()) return QString();
    return QCoreApplication::translate(
               "Operace", "rok %1 hodiny modulu neudrží: modul si pamatuje jen rok modulo 4 a při "
                          "čtení ho doplní podle data PC, takže teď lze nastavit jen roky %2 až "
                          "%3 (%1 by se přečetl jako %4)")
        .arg(d.year())
        .arg(Zpet(0))
        .arg(Zpet(3))
        .arg(Zpet(d.year()));
}

uint8_t CtiKonecVypadku(const TCil& Cil, TOkamzikModulu& Konec) {
    return CtiOkamzik(Cil, RegistrKonceVypadku, Konec);
}

uint8_t NastavCasModulu(const TCil& Cil, const QDateTime& Cas) {
    if (!ChybaRokuHodin(Cas).isEmpty()) return KodPozadavek;
    const QTime t = Cas.time();
    const QDate d = Cas.date();
    std::array<uint8_t, 5> B{0, static_cast<uint8_t>(t.second()), static_cast<uint8_t>(t.minute()),
                             static_cast<uint8_t>(t.hour()), 0};
    const uint8_t Chyba = Prikaz(Cil, PrikazZapisRegistrStavu, RegistrCasu, B);
    if (Chyba != 0) return Chyba;
    // The module keeps the year modulo 4.
    B = {0, static_cast<uint8_t>(d.day()), static_cast<uint8_t>(d.month()),
         static_cast<uint8_t>(d.year() & 3), 0};
    return Prikaz(Cil, PrikazZapisRegistrStavu, RegistrData, B);
}

uint8_t CtiStav(const TCil& Cil, std::array<uint8_t, 4>& Bajty) {
    return CtiSlovo(Cil, PrikazCtiRegistrStavu, RegistrStavu, Bajty);
}

uint8_t CtiVstupy(const TCil& Cil, std::array<uint8_t, 4>& Bajty) {
    return CtiSlovo(Cil, PrikazCtiHodnotu, PolozkaVstupy, Bajty);
}

uint8_t NulujStav(const TCil& Cil) {
    return BezDat(Cil, PrikazZapisRegistrStavu, RegistrStavu);
}

uint8_t ZapisVystupy(const TCil& Cil, const std::array<uint8_t, 4>& Bajty) {
    std::array<uint8_t, 5> B{0, Bajty[0], Bajty[1], Bajty[2], Bajty[3]};
    return Prikaz(Cil, PrikazZapisHodnotu, PolozkaVystupy, B);
}

// ------------------------------------------------------------ configuration block

namespace {

QString TextZastaveno() {
    return QCoreApplication::translate("Operace", "Přenos zastaven.");
}

// The pause between two commands; false when a stop was asked for.
bool Pokracuj(const TRizeni& Rizeni) {
    if (Rizeni.Pauza) Rizeni.Pauza();
    return !(Rizeni.Zastavit && Rizeni.Zastavit());
}

const TRegistr* NajdiRegistr(uint8_t Cislo) {
    for (const TRegistr& R : RegistryBloku())
        if (R.Cislo == Cislo) return &R;
    return nullptr;
}

// The given registers in transfer order, each once. False, with V saying
// which, when one of them is not a register of the block.
bool PoradiRegistru(const std::vector<uint8_t>& Registry, std::vector<TRegistr>& Poradi,
                    TVysledekBloku& V) {
    for (uint8_t Cislo : Registry) {
        if (!NajdiRegistr(Cislo)) {
            V.Konec = TKonecBloku::NeplatnyRegistr;
            V.Registr = Cislo;
            V.Text =
                QCoreApplication::translate("Operace", "Registr %1 nepatří do konfigurace modulu.")
                    .arg(Cislo);
            return false;
        }
    }
    for (const TRegistr& R : RegistryBloku())
        if (std::find(Registry.begin(), Registry.end(), R.Cislo) != Registry.end())
            Poradi.push_back(R);
    return true;
}

void Selhalo(TVysledekBloku& V, uint8_t Registr, uint8_t Rozhrani, uint8_t Chyba) {
    V.Konec = TKonecBloku::Chyba;
    V.Registr = Registr;
    V.Chyba = Chyba;
    V.Text = TextChyby(Rozhrani, Chyba);
}

void Zastaveno(TVysledekBloku& V, uint8_t Registr) {
    V.Konec = TKonecBloku::Zastaveno;
    V.Registr = Registr;
    V.Text = TextZastaveno();
}

// One register written and read back: write (103), pause (none with
// Hned), read back (102, carrying the value with Hned, else 0), compare.
// True when verified; else V says where and why it stopped.
bool ZapisAOver(const TCil& Cil, uint8_t Registr, uint8_t Hodnota, bool Hned, const TRizeni& Rizeni,
                TVysledekBloku& V) {
    uint8_t Zpet = Hodnota;
    uint8_t Chyba = PrikazRegistru(Cil, PrikazZapis, Registr, Zpet);
    if (Chyba != 0) {
        Selhalo(V, Registr, Cil.Rozhrani, Chyba);
        return false;
    }
    V.ZapisPrijat = true;
    if (!Hned && !Pokracuj(Rizeni)) {
        Zastaveno(V, Registr);
        return false;
    }
    Zpet = Hned ? Hodnota : 0;
    Chyba = PrikazRegistru(Cil, PrikazCti, Registr, Zpet);
    if (Chyba != 0) {
        Selhalo(V, Registr, Cil.Rozhrani, Chyba);
        return false;
    }
    if (Zpet != Hodnota) {
        V.Konec = TKonecBloku::Neshoda;
        V.Registr = Registr;
        V.Precteno = Zpet;
        V.Text = TextChybaZapisu();
        return false;
    }
    V.ZapisPrijat = false;
    return true;
}

// The pause after register k of Pocet; false when the transfer stops there.
bool PoRegistru(const TRizeni& Rizeni, const TVolbyBloku& Volby, size_t k, size_t Pocet,
                TVysledekBloku& V) {
    const bool Posledni = k + 1 >= Pocet;
    if (Posledni && !Volby.PauzaPoPoslednim) return true;
    if (Pokracuj(Rizeni)) return true;
    if (Posledni) V.ZastavenoNaKonci = true;
    return Posledni;
}

TVysledekBloku BezSpojeni() {
    TVysledekBloku V;
    V.Konec = TKonecBloku::NeniSpojeni;
    V.Text = QCoreApplication::translate("Operace", "Připojení k modulu není inicializováno.");
    return V;
}

} // namespace

TStavZapisu StavZapisu(const TVysledekBloku& V, uint8_t Registr) {
    if (std::find(V.Registry.begin(), V.Registry.end(), Registr) != V.Registry.end())
        return TStavZapisu::Overen;
    if (V.Registr != Registr) return TStavZapisu::Nezapsan;
    if (V.Konec == TKonecBloku::Neshoda) return TStavZapisu::Lisi;
    if (V.ZapisPrijat) return TStavZapisu::Neoveren;
    // A write whose answer never came may have been applied; one the module
    // refused, or one the link never sent (9, 10), was not.
    if (V.Konec == TKonecBloku::Chyba && !ChybaModulu(V.Chyba) && V.Chyba != KodPozadavek &&
        V.Chyba != KodNeplatne)
        return TStavZapisu::Neznamy;
    return TStavZapisu::Nezapsan;
}

std::vector<uint8_t> VsechnyRegistry() {
    std::vector<uint8_t> Registry;
    for (const TRegistr& R : RegistryBloku())
        Registry.push_back(R.Cislo);
    return Registry;
}

std::vector<uint8_t> RozdilneRegistry(const TKonfigurace& A, const TKonfigurace& B) {
    std::vector<uint8_t> Registry;
    for (const TRegistr& R : RegistryBloku())
        if (A.Bajt(R.Bajt) != B.Bajt(R.Bajt)) Registry.push_back(R.Cislo);
    return Registry;
}

TVysledekBloku CtiBlok(const TCil& Cil, TKonfigurace& Blok, const TRizeni& Rizeni,
                       const TPrubehBloku& Prubeh) {
    return CtiRegistry(Cil, Blok, VsechnyRegistry(), Rizeni, Prubeh);
}

uint8_t ZapisOverRegistr(const TCil& Cil, uint8_t Registr, uint8_t Hodnota, QString& Text) {
    TVysledekBloku V;
    if (ZapisAOver(Cil, Registr, Hodnota, true, {}, V)) {
        Text.clear();
        return 0;
    }
    Text = V.Text;
    return V.Konec == TKonecBloku::Neshoda ? KodPozadavek : V.Chyba;
}

namespace {

// One register of a transfer: false when it failed (V says why).
using TKrokBloku = std::function<bool(const TRegistr& R, TVysledekBloku& V)>;

// The one loop of a block transfer: the registers in transfer order, a step
// each, the progress, then the pause and the stop between registers.
TVysledekBloku ProjdiRegistry(const TCil& Cil, const std::vector<uint8_t>& Registry,
                              const TRizeni& Rizeni, const TPrubehBloku& Prubeh,
                              const TVolbyBloku& Volby, const TKrokBloku& Krok) {
    TVysledekBloku V;
    std::vector<TRegistr> Poradi;
    if (!PoradiRegistru(Registry, Poradi, V)) return V;
    if (!Cil.Otevreno) return BezSpojeni();
    const int Celkem = static_cast<int>(Poradi.size());
    for (size_t k = 0; k < Poradi.size(); ++k) {
        const TRegistr& R = Poradi[k];
        if (!Krok(R, V)) return V;
        V.Registry.push_back(R.Cislo);
        if (Prubeh) Prubeh(static_cast<int>(V.Registry.size()), Celkem, R.Cislo);
        // Stopped after a complete register: the next one is where it stopped.
        if (!PoRegistru(Rizeni, Volby, k, Poradi.size(), V)) {
            Zastaveno(V, Poradi[k + 1].Cislo);
            return V;
        }
    }
    return V;
}

} // namespace

TVysledekBloku CtiRegistry(const TCil& Cil, TKonfigurace& Blok,
                           const std::vector<uint8_t>& Registry, const TRizeni& Rizeni,
                           const TPrubehBloku& Prubeh, const TVolbyBloku& Volby) {
    return ProjdiRegistry(
        Cil, Registry, Rizeni, Prubeh, Volby, [&](const TRegistr& R, TVysledekBloku& V) {
            uint8_t Hodnota = 0;
            const uint8_t Chyba = PrikazRegistru(Cil, PrikazCti, R.Cislo, Hodnota);
            if (Chyba != 0) {
                Selhalo(V, R.Cislo, Cil.Rozhrani, Chyba);
                return false;
            }
            Blok.Bajt(R.Bajt) = Hodnota;
            return true;
        });
}

TVysledekBloku ZapisBlok(const TCil& Cil, const TKonfigurace& Blok,
                         const std::vector<uint8_t>& Registry, const TRizeni& Rizeni,
                         const TPrubehBloku& Prubeh, const TVolbyBloku& Volby) {
    return ProjdiRegistry(
        Cil, Registry, Rizeni, Prubeh, Volby, [&](const TRegistr& R, TVysledekBloku& V) {
            return ZapisAOver(Cil, R.Cislo, Blok.Bajt(R.Bajt), Volby.OvereniHned, Rizeni, V);
        });
}

// ------------------------------------------------------------ search

bool KodModulu(uint32_t Chyba) {
    return Chyba == km::kErrTimeout || NejasnaOdpoved(Chyba) || ChybaModulu(Chyba);
}

bool AdresaObsazena(const TCil& Cil, uint8_t& Chyba) {
    uint8_t B0 = 0;
    QString Znaky;
    Chyba = CastIdentifikace(Cil, 0, B0, Znaky);
    return Chyba == 0 || NejasnaOdpoved(Chyba) || ChybaModulu(Chyba);
}

TVysledekHledani Hledej(const TCil& Cil, const THledani& Hledani) {
    TVysledekHledani V;
    if (!Cil.Otevreno) {
        V.Text = QCoreApplication::translate("Operace", "Připojení k modulu není inicializováno.");
        return V;
    }
    if (Hledani.Od < 0 || Hledani.Do > 255 || Hledani.Od > Hledani.Do) {
        V.Text = QCoreApplication::translate(
            "Operace", "Adresy musí být v rozsahu 0-255, první nejvýše poslední.");
        return V;
    }
    std::vector<int> Rychlosti = Hledani.Rychlosti;
    if (Rychlosti.empty()) Rychlosti.push_back(RychlostNaIndex(Cil.Rychlost));
    for (int Index : Rychlosti) {
        if (Index < 0 || Index >= PocetRychlosti) {
            V.Text =
                QCoreApplication::translate("Operace", "Index rychlosti musí být v rozsahu 0-8.");
            return V;
        }
    }

    const uint8_t Rozhrani = Cil.Rozhrani;
    const uint32_t Handle = Cil.Handle;
    const int Adres = Hledani.Do - Hledani.Od + 1;
    V.Celkem = Adres * static_cast<int>(Rychlosti.size());
    auto Prubeh = [&](uint8_t Adresa, int Index) {
        if (Hledani.Prubeh) Hledani.Prubeh(V.Hotovo, V.Celkem, Adresa, Index);
    };
    auto Nastav = [&](int Index, uint32_t Opakovani) {
        return OvladacSetConfig(Rozhrani, Handle, IndexNaRychlost(Index), IndexNaCasovani(Index),
                                Opakovani);
    };
    uint8_t AktualniAdresa = 0;
    // A call cut off by a stop (km207) stops the search; the binding is gone.
    bool Preruseno = false;
    // Stops the search when the link itself failed; true to go on.
    auto Posud = [&](uint8_t Chyba) {
        if (Chyba == 0) return true;
        if (Chyba == KodPreruseno) {
            Preruseno = V.Zastaveno = true;
            return false;
        }
        if (KodModulu(Chyba)) {
            if (Chyba != km::kErrTimeout) {
                ++V.Poruchy[Chyba];
                std::vector<uint8_t>& Adresy = V.AdresyPoruch[Chyba];
                if (std::find(Adresy.begin(), Adresy.end(), AktualniAdresa) == Adresy.end())
                    Adresy.push_back(AktualniAdresa);
            }
            return true;
        }
        V.Chyba = Chyba;
        V.Text = TextChyby(Rozhrani, Chyba);
        return false;
    };

    auto Zastav = [&] {
        if (Pokracuj(Hledani.Rizeni)) return false;
        V.Zastaveno = true;
        return true;
    };

    bool Konec = false;
    for (size_t r = 0; r < Rychlosti.size() && !Konec; ++r) {
        const int Index = Rychlosti[r];
        const uint32_t Kod = Nastav(Index, OpakovaniHledani);
        if (Kod != 0) {
            V.OdmitnuteRychlosti[Index] = Kod;
            V.Hotovo += Adres;
            Prubeh(static_cast<uint8_t>(Hledani.Do), Index);
            continue;
        }
        for (int a = Hledani.Od; a <= Hledani.Do && !Konec; ++a) {
            const uint8_t Adresa = static_cast<uint8_t>(a);
            AktualniAdresa = Adresa;
            TCil Modul = Cil;
            Modul.Adresa = Adresa;
            uint8_t B0 = 0;
            QString Casti[3];
            const uint8_t Chyba = CastIdentifikace(Modul, 0, B0, Casti[0]);
            Konec = !Posud(Chyba) || Zastav();
            if (Chyba == 0) {
                // A module is there: its name and version must not be lost to
                // one missed reply.
                if (!Konec) Nastav(Index, OpakovaniSpojeni);
                for (uint8_t Cast = 1; Cast < 3 && !Konec; ++Cast) {
                    const uint8_t c = CastIdentifikace(Modul, Cast, B0, Casti[Cast]);
                    Konec = !Posud(c) || Zastav();
                }
                for (QString& C : Casti)
                    if (C.isEmpty()) C = QStringLiteral("????");
                const TNalez N{Adresa, Index, SlozModul(Casti[0], Casti[1], Casti[2])};
                V.Nalezene.push_back(N);
                if (Hledani.Nalezeno) Hledani.Nalezeno(N);
                if (!Konec) Nastav(Index, OpakovaniHledani);
            }
            // An address whose answer was not waited for is not searched.
            if (Preruseno && Chyba != 0) break;
            ++V.Hotovo;
            Prubeh(Adresa, Index);
        }
    }
    if (!Preruseno)
        V.ChybaObnoveni =
            OvladacSetConfig(Rozhrani, Handle, Cil.Rychlost,
                             IndexNaCasovani(RychlostNaIndex(Cil.Rychlost)), OpakovaniSpojeni);
    return V;
}

QString TextPoruchy(const TVysledekHledani& V, uint8_t Rozhrani, uint8_t Kod) {
    const auto P = V.Poruchy.find(Kod);
    const QString Chyba = TextChyby(Rozhrani, Kod);
    const QString Pocet = QString::number(P == V.Poruchy.end() ? 0 : P->second);
    const auto A = V.AdresyPoruch.find(Kod);
    if (A == V.AdresyPoruch.end() || A->second.empty())
        return QCoreApplication::translate("Operace", "%1 (kód %2) %3×")
            .arg(Chyba, QString::number(Kod), Pocet);
    QStringList Adresy;
    for (uint8_t a : A->second)
        Adresy << QString::number(a);
    const bool Jedna = A->second.size() == 1;
    const char* Vzor =
        NejasnaOdpoved(Kod)
            ? (Jedna ? QT_TRANSLATE_NOOP("Operace", "%1 (kód %2) %3×, adresa %4 – na adrese může "
                                                    "odpovídat více modulů najednou")
                     : QT_TRANSLATE_NOOP("Operace", "%1 (kód %2) %3×, adresy %4 – na adresách "
                                                    "může odpovídat více modulů najednou"))
        : Jedna ? QT_TRANSLATE_NOOP("Operace", "%1 (kód %2) %3×, adresa %4")
                : QT_TRANSLATE_NOOP("Operace", "%1 (kód %2) %3×, adresy %4");
    return QCoreApplication::translate("Operace", Vzor)
        .arg(Chyba, QString::number(Kod), Pocet, Adresy.join(QStringLiteral(", ")));
}

int PocetModulu(const std::vector<TNalez>& Nalezene) {
    std::vector<uint8_t> Adresy;
    for (const TNalez& N : Nalezene)
        if (std::find(Adresy.begin(), Adresy.end(), N.Adresa) == Adresy.end())
            Adresy.push_back(N.Adresa);
    return static_cast<int>(Adresy.size());
}

std::vector<int> RychlostiModulu(const std::vector<TNalez>& Nalezene, uint8_t Adresa) {
    std::vector<int> Rychlosti;
    for (const TNalez& N : Nalezene)
        if (N.Adresa == Adresa) Rychlosti.push_back(N.IndexRychlosti);
    return Rychlosti;
}
