#include "Operace.h"

#include "Kxxx410.h"
#include "Rychlosti.h"
#include "km_status.h"

#include <algorithm>

// ------------------------------------------------------------ identification

uint8_t CastIdentifikace(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, uint8_t Cast,
                         uint8_t& B0, QString& Znaky) {
    uint8_t B1 = 0, B2 = 0, B3 = 0, B4 = 0;
    // A zero handle sends nothing and writes nothing; it must not read as success.
    uint8_t Chyba = KodNeplatne;
    TOdpoved Odpoved{};
    ProvedPrikaz(Rozhrani, Handle, Adresa, PrikazIdentifikace, Cast, &B0, &B1, &B2, &B3, &B4, Chyba,
                 Odpoved);
    if (Chyba == 0) {
        Znaky.clear();
        for (uint8_t b : {B1, B2, B3, B4})
            Znaky += ZnakCp1250(b);
    }
    return Chyba;
}

QString SlozModul(const QString& Cast0, const QString& Cast1, const QString& Cast2) {
    return Cast0 + Cast1 + QStringLiteral(" v.") + Cast2;
}

uint8_t Identifikuj(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, QString& Modul,
                    QString& Text) {
    // B0 is deliberately carried from one reply into the next request.
    uint8_t B0 = 0;
    QString Casti[3];
    for (uint8_t Cast = 0; Cast < 3; ++Cast) {
        const uint8_t Chyba = CastIdentifikace(Rozhrani, Handle, Adresa, Cast, B0, Casti[Cast]);
        Text = TextChyby(Rozhrani, Chyba);
        if (Chyba != 0) return Chyba;
    }
    Modul = SlozModul(Casti[0], Casti[1], Casti[2]);
    return 0;
}

// ------------------------------------------------------------ live values

namespace {

// One command with B0-B4 as given; B takes the reply. Chyba 10 when the
// driver was never called.
uint8_t Prikaz(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, uint8_t Kod, uint8_t P5,
               std::array<uint8_t, 5>& B) {
    uint8_t Chyba = KodNeplatne;
    TOdpoved Odpoved{};
    ProvedPrikaz(Rozhrani, Handle, Adresa, Kod, P5, &B[0], &B[1], &B[2], &B[3], &B[4], Chyba,
                 Odpoved);
    return Chyba;
}

// A command whose B0-B4 all go out as 0 and whose reply carries nothing.
uint8_t BezDat(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, uint8_t Kod, uint8_t P5) {
    std::array<uint8_t, 5> B{};
    return Prikaz(Rozhrani, Handle, Adresa, Kod, P5, B);
}

uint8_t CtiSlovo(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, uint8_t Kod, uint8_t P5,
                 std::array<uint8_t, 4>& Bajty) {
    std::array<uint8_t, 5> B{};
    const uint8_t Chyba = Prikaz(Rozhrani, Handle, Adresa, Kod, P5, B);
    if (Chyba == 0) Bajty = {B[1], B[2], B[3], B[4]};
    return Chyba;
}

} // namespace

QString TCitac::Text() const {
    return CitacNaText(Mod, Bajty[0], Bajty[1], Bajty[2], Bajty[3]);
}

uint8_t CtiCitac(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, TCitac& Citac) {
    uint8_t Mod = 0;
    uint8_t Chyba = PrikazRegistru(Rozhrani, Handle, Adresa, PrikazCti, RegistrModCitace, Mod);
    if (Chyba != 0) return Chyba;
    Chyba = CtiHodnotuCitace(Rozhrani, Handle, Adresa, Citac.Bajty);
    if (Chyba == 0) Citac.Mod = Mod;
    return Chyba;
}

uint8_t CtiHodnotuCitace(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa,
                         std::array<uint8_t, 4>& Bajty) {
    return CtiSlovo(Rozhrani, Handle, Adresa, PrikazCtiHodnotu, PolozkaCitac, Bajty);
}

uint8_t NulujCitac(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa) {
    return BezDat(Rozhrani, Handle, Adresa, PrikazZapisHodnotu, PolozkaCitac);
}

uint8_t CtiHodiny(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, uint8_t Registr,
                  std::array<uint8_t, 3>& B) {
    std::array<uint8_t, 4> Bajty{};
    const uint8_t Chyba = CtiSlovo(Rozhrani, Handle, Adresa, PrikazCtiRegistrStavu, Registr, Bajty);
    if (Chyba == 0) B = {Bajty[0], Bajty[1], Bajty[2]};
    return Chyba;
}

uint8_t CtiVypadek(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, TVypadek& Vypadek) {
    Vypadek.Precteno = 0;
    for (uint8_t k = 0; k < 4; ++k) {
        const uint8_t Chyba =
            CtiHodiny(Rozhrani, Handle, Adresa, static_cast<uint8_t>(RegistrZacatkuVypadku + k),
                      Vypadek.Casti[k]);
        if (Chyba != 0) return Chyba;
        Vypadek.Precteno = k + 1;
    }
    return 0;
}

uint8_t NastavCasModulu(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, const QDateTime& Cas) {
    const QTime t = Cas.time();
    const QDate d = Cas.date();
    std::array<uint8_t, 5> B{0, static_cast<uint8_t>(t.second()), static_cast<uint8_t>(t.minute()),
                             static_cast<uint8_t>(t.hour()), 0};
    const uint8_t Chyba = Prikaz(Rozhrani, Handle, Adresa, PrikazZapisRegistrStavu, RegistrCasu, B);
    if (Chyba != 0) return Chyba;
    // The module keeps the year modulo 4.
    B = {0, static_cast<uint8_t>(d.day()), static_cast<uint8_t>(d.month()),
         static_cast<uint8_t>(d.year() & 3), 0};
    return Prikaz(Rozhrani, Handle, Adresa, PrikazZapisRegistrStavu, RegistrData, B);
}

uint8_t CtiStav(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, std::array<uint8_t, 4>& Bajty) {
    return CtiSlovo(Rozhrani, Handle, Adresa, PrikazCtiRegistrStavu, RegistrStavu, Bajty);
}

uint8_t CtiVstupy(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa,
                  std::array<uint8_t, 4>& Bajty) {
    return CtiSlovo(Rozhrani, Handle, Adresa, PrikazCtiHodnotu, PolozkaVstupy, Bajty);
}

uint8_t NulujStav(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa) {
    return BezDat(Rozhrani, Handle, Adresa, PrikazZapisRegistrStavu, RegistrStavu);
}

uint8_t ZapisVystupy(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa,
                     const std::array<uint8_t, 4>& Bajty) {
    std::array<uint8_t, 5> B{0, Bajty[0], Bajty[1], Bajty[2], Bajty[3]};
    return Prikaz(Rozhrani, Handle, Adresa, PrikazZapisHodnotu, PolozkaVystupy, B);
}

// ------------------------------------------------------------ configuration block

namespace {

const QString TextZastaveno = QStringLiteral("Přenos zastaven.");

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
            V.Text = QStringLiteral("Registr %1 nepatří do konfigurace modulu.").arg(Cislo);
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
    V.Text = TextZastaveno;
}

// One register written and read back: write (103), pause (none with
// Hned), read back (102, carrying the value with Hned, else 0), compare.
// True when verified; else V says where and why it stopped.
bool ZapisAOver(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, uint8_t Registr, uint8_t Hodnota,
                bool Hned, const TRizeni& Rizeni, TVysledekBloku& V) {
    uint8_t Zpet = Hodnota;
    uint8_t Chyba = PrikazRegistru(Rozhrani, Handle, Adresa, PrikazZapis, Registr, Zpet);
    if (Chyba != 0) {
        Selhalo(V, Registr, Rozhrani, Chyba);
        return false;
    }
    V.ZapisPrijat = true;
    if (!Hned && !Pokracuj(Rizeni)) {
        Zastaveno(V, Registr);
        return false;
    }
    Zpet = Hned ? Hodnota : 0;
    Chyba = PrikazRegistru(Rozhrani, Handle, Adresa, PrikazCti, Registr, Zpet);
    if (Chyba != 0) {
        Selhalo(V, Registr, Rozhrani, Chyba);
        return false;
    }
    if (Zpet != Hodnota) {
        V.Konec = TKonecBloku::Neshoda;
        V.Registr = Registr;
        V.Precteno = Zpet;
        V.Text = TextChybaZapisu;
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
    V.Text = QStringLiteral("Připojení k modulu není inicializováno.");
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

TVysledekBloku CtiBlok(const TData& Data, TKonfigurace& Blok, const TRizeni& Rizeni,
                       const TPrubehBloku& Prubeh) {
    return CtiRegistry(Data, Blok, VsechnyRegistry(), Rizeni, Prubeh);
}

uint8_t ZapisOverRegistr(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, uint8_t Registr,
                         uint8_t Hodnota, QString& Text) {
    uint8_t Precteno = 0;
    return ZapisOverRegistrPrecteno(Rozhrani, Handle, Adresa, Registr, Hodnota, Text, Precteno);
}

uint8_t ZapisOverRegistrPrecteno(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, uint8_t Registr,
                                 uint8_t Hodnota, QString& Text, uint8_t& Precteno) {
    TVysledekBloku V;
    if (ZapisAOver(Rozhrani, Handle, Adresa, Registr, Hodnota, true, {}, V)) {
        Text.clear();
        return 0;
    }
    Text = V.Text;
    if (V.Konec != TKonecBloku::Neshoda) return V.Chyba;
    Precteno = V.Precteno;
    return KodPozadavek;
}

TVysledekBloku CtiRegistry(const TData& Data, TKonfigurace& Blok,
                           const std::vector<uint8_t>& Registry, const TRizeni& Rizeni,
                           const TPrubehBloku& Prubeh, const TVolbyBloku& Volby) {
    TVysledekBloku V;
    std::vector<TRegistr> Poradi;
    if (!PoradiRegistru(Registry, Poradi, V)) return V;
    if (!SpojeniOtevreno(&Data)) return BezSpojeni();
    const uint8_t Rozhrani = Data.Rozhrani;
    const uint32_t Handle = Data.Handle;
    const uint8_t Adresa = Data.Adresa;
    const int Celkem = static_cast<int>(Poradi.size());
    for (const TRegistr& R : Poradi) {
        uint8_t Hodnota = 0;
        const uint8_t Chyba = PrikazRegistru(Rozhrani, Handle, Adresa, PrikazCti, R.Cislo, Hodnota);
        if (Chyba != 0) {
            Selhalo(V, R.Cislo, Rozhrani, Chyba);
            return V;
        }
        Blok.Bajt(R.Bajt) = Hodnota;
        V.Registry.push_back(R.Cislo);
        if (Prubeh) Prubeh(static_cast<int>(V.Registry.size()), Celkem, R.Cislo);
        // Stopped after a complete register: the next one is where it stopped.
        if (!PoRegistru(Rizeni, Volby, V.Registry.size() - 1, Poradi.size(), V)) {
            Zastaveno(V, Poradi[V.Registry.size()].Cislo);
            return V;
        }
    }
    return V;
}

TVysledekBloku ZapisBlok(const TData& Data, const TKonfigurace& Blok,
                         const std::vector<uint8_t>& Registry, const TRizeni& Rizeni,
                         const TPrubehBloku& Prubeh, const TVolbyBloku& Volby) {
    TVysledekBloku V;
    std::vector<TRegistr> Poradi;
    if (!PoradiRegistru(Registry, Poradi, V)) return V;
    if (!SpojeniOtevreno(&Data)) return BezSpojeni();

    const int Celkem = static_cast<int>(Poradi.size());
    for (size_t k = 0; k < Poradi.size(); ++k) {
        const TRegistr& R = Poradi[k];
        if (!ZapisAOver(Data.Rozhrani, Data.Handle, Data.Adresa, R.Cislo, Blok.Bajt(R.Bajt),
                        Volby.OvereniHned, Rizeni, V))
            return V;
        V.Registry.push_back(R.Cislo);
        if (Prubeh) Prubeh(static_cast<int>(V.Registry.size()), Celkem, R.Cislo);
        if (!PoRegistru(Rizeni, Volby, k, Poradi.size(), V)) {
            Zastaveno(V, Poradi[k + 1].Cislo);
            return V;
        }
    }
    return V;
}

// ------------------------------------------------------------ search

namespace {

// Codes that say something about the module (or its absence) rather than
// about the link: the search goes on after them.
bool KodModulu(uint8_t Chyba) {
    // No answer, a damaged reply, a reply from another module.
    return Chyba == km::kErrTimeout || NejasnaOdpoved(Chyba) || ChybaModulu(Chyba);
}

} // namespace

TVysledekHledani Hledej(const TData& Data, const THledani& Hledani) {
    TVysledekHledani V;
    if (!SpojeniOtevreno(&Data)) {
        V.Text = QStringLiteral("Připojení k modulu není inicializováno.");
        return V;
    }
    if (Hledani.Od < 0 || Hledani.Do > 255 || Hledani.Od > Hledani.Do) {
        V.Text = QStringLiteral("Adresy musí být v rozsahu 0-255, první nejvýše poslední.");
        return V;
    }
    std::vector<int> Rychlosti = Hledani.Rychlosti;
    if (Rychlosti.empty()) Rychlosti.push_back(RychlostNaIndex(Data.Rychlost));
    for (int Index : Rychlosti) {
        if (Index < 0 || Index >= PocetRychlosti) {
            V.Text = QStringLiteral("Index rychlosti musí být v rozsahu 0-8.");
            return V;
        }
    }

    const uint8_t Rozhrani = Data.Rozhrani;
    const uint32_t Handle = Data.Handle;
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
    // Stops the search when the link itself failed; true to go on.
    auto Posud = [&](uint8_t Chyba) {
        if (Chyba == 0) return true;
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
            uint8_t B0 = 0;
            QString Casti[3];
            const uint8_t Chyba = CastIdentifikace(Rozhrani, Handle, Adresa, 0, B0, Casti[0]);
            Konec = !Posud(Chyba) || Zastav();
            if (Chyba == 0) {
                // A module is there: its name and version must not be lost to
                // one missed reply.
                if (!Konec) Nastav(Index, OpakovaniSpojeni);
                for (uint8_t Cast = 1; Cast < 3 && !Konec; ++Cast) {
                    const uint8_t c =
                        CastIdentifikace(Rozhrani, Handle, Adresa, Cast, B0, Casti[Cast]);
                    Konec = !Posud(c) || Zastav();
                }
                for (QString& C : Casti)
                    if (C.isEmpty()) C = QStringLiteral("????");
                const TNalez N{Adresa, Index, SlozModul(Casti[0], Casti[1], Casti[2])};
                V.Nalezene.push_back(N);
                if (Hledani.Nalezeno) Hledani.Nalezeno(N);
                if (!Konec) Nastav(Index, OpakovaniHledani);
            }
            ++V.Hotovo;
            Prubeh(Adresa, Index);
        }
    }
    V.ChybaObnoveni =
        OvladacSetConfig(Rozhrani, Handle, Data.Rychlost,
                         IndexNaCasovani(RychlostNaIndex(Data.Rychlost)), OpakovaniSpojeni);
    return V;
}

QString TextPoruchy(const TVysledekHledani& V, uint8_t Rozhrani, uint8_t Kod) {
    const auto P = V.Poruchy.find(Kod);
    QString Text = QStringLiteral("%1 (kód %2) %3×")
                       .arg(TextChyby(Rozhrani, Kod))
                       .arg(Kod)
                       .arg(P == V.Poruchy.end() ? 0 : P->second);
    const auto A = V.AdresyPoruch.find(Kod);
    if (A == V.AdresyPoruch.end() || A->second.empty()) return Text;
    QStringList Adresy;
    for (uint8_t a : A->second)
        Adresy << QString::number(a);
    Text += (A->second.size() == 1 ? QStringLiteral(", adresa ") : QStringLiteral(", adresy ")) +
            Adresy.join(QStringLiteral(", "));
    if (NejasnaOdpoved(Kod))
        Text += A->second.size() == 1
                    ? QStringLiteral(" – na adrese může odpovídat více modulů najednou")
                    : QStringLiteral(" – na adresách může odpovídat více modulů najednou");
    return Text;
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
