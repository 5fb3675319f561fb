#include "Linka.h"

#include "Kxxx410.h"
#include "Prikazy.h"
#include "Rychlosti.h"
#include "Soubory.h"
#include "km_status.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>

// ------------------------------------------------------------ words

QString TextOdezvy(TOdezva Odezva) {
    switch (Odezva) {
    case TOdezva::Odpovida:
        return QCoreApplication::translate("Linka", "odpovídá");
    case TOdezva::Neodpovida:
        return QCoreApplication::translate("Linka", "neodpovídá");
    case TOdezva::OdpovidaSChybami:
        return QCoreApplication::translate("Linka", "odpovídá s chybami");
    case TOdezva::Nezjisteno:
        break;
    }
    return QCoreApplication::translate("Linka", "nezjištěno");
}

namespace {

constexpr uint32_t BitPwr = 1u << 4;
constexpr uint32_t BitErr24 = 1u << 6;

QString OkamzikNaText(const TOkamzikModulu& O) {
    QStringList Casti;
    if (O.Datum) Casti << DatumNaText(*O.Datum);
    if (O.Cas) Casti << CasNaText(*O.Cas);
    return Casti.join(QLatin1Char(' '));
}

// The same moment as the module sent it: the year compared as the module
// keeps it (modulo 4), so completing it from the PC's date cannot differ.
bool StejnyOkamzik(const TOkamzikModulu& A, const TOkamzikModulu& B) {
    const auto Datum = [](const TOkamzikModulu& O) {
        return O.Datum ? std::optional(std::array{O.Datum->Den, O.Datum->Mesic, O.Datum->Rok & 3})
                       : std::nullopt;
    };
    return A.Cas == B.Cas && Datum(A) == Datum(B);
}

} // namespace

QStringList TextyPriznaku(const TPolozkaLinky& P) {
    const TStavModulu& S = P.Stav;
    QStringList Texty;
    if (S.Priznaky & PriznakNeodpovida) Texty << QCoreApplication::translate("Linka", "neodpovídá");
    if (S.Priznaky & PriznakVypadek)
        Texty << (S.NovyVypadek
                      ? QCoreApplication::translate("Linka", "výpadek napájení (konec %1)")
                            .arg(OkamzikNaText(*S.NovyVypadek))
                      : QCoreApplication::translate("Linka", "výpadek napájení"));
    if (S.Priznaky & PriznakErr24) Texty << QStringLiteral("ERR24");
    if (S.Priznaky & PriznakJinyModul)
        Texty << QCoreApplication::translate("Linka", "jiný modul: %1 (čekán %2)")
                     .arg(ModulNaText(S.Modul), ModulNaText(P.Modul.Identifikace));
    if (S.Priznaky & PriznakMimoSoubor)
        Texty << QCoreApplication::translate("Linka", "adresa není v souboru linky");
    return Texty;
}

QString BityStavuNaText(uint32_t Slovo) {
    static const std::array<QString, 32> Jmena = JmenaBituStavu();
    QStringList Bity;
    for (int b = 0; b < 32; ++b)
        if ((Slovo >> b & 1u) && Jmena[b] != QLatin1String("---")) Bity << Jmena[b];
    return Bity.join(QLatin1Char(' '));
}

// ------------------------------------------------------------ what the long calls share

namespace {

QString TextNeniSpojeni() {
    return QCoreApplication::translate("Linka", "Připojení k modulu není inicializováno.");
}
QString TextBezi() {
    return QCoreApplication::translate("Linka", "Na lince právě probíhá jiná operace.");
}

// The rate of the link during a long call: SetConfig only when the next
// module needs another rate than the link has, and the link's own rate
// given back at the end when it was changed.
class TRychlostLinky {
  public:
    explicit TRychlostLinky(const TCil& Spojeni)
        : Spojeni_(Spojeni), Vlastni_(RychlostNaIndex(Spojeni.Rychlost)), Index_(Vlastni_) {}
    ~TRychlostLinky() { Obnov(); }

    // The SetConfig code; 0 when the link was at that rate already.
    uint32_t Nastav(int Index) {
        if (Index == Index_) return 0;
        ++Pocet_;
        const uint32_t Kod =
            OvladacSetConfig(Spojeni_.Rozhrani, Spojeni_.Handle, IndexNaRychlost(Index),
                             IndexNaCasovani(Index), OpakovaniSpojeni);
        // After a refusal the driver's rate is not known: the next module
        // sets its own, and the end gives the link's back.
        Index_ = Kod == 0 ? Index : -1;
        return Kod;
    }
    // Gives the link its own rate back when it was changed; the code.
    uint32_t Obnov() {
        if (Index_ == Vlastni_) return 0;
        ++Pocet_;
        Index_ = Vlastni_;
        return OvladacSetConfig(Spojeni_.Rozhrani, Spojeni_.Handle, Spojeni_.Rychlost,
                                IndexNaCasovani(Vlastni_), OpakovaniSpojeni);
    }
    int Vlastni() const { return Vlastni_; }
    int Pocet() const { return Pocet_; }

  private:
    TCil Spojeni_;
    int Vlastni_;
    int Index_;
    int Pocet_ = 0;
};

// The places of the modules by rate: the link's own rate first, then the
// others in ascending order, each in the list's order.
std::vector<int> PoradiPodleRychlosti(const std::vector<TModulLinky>& Moduly, int Vlastni) {
    std::vector<int> Poradi(Moduly.size());
    for (size_t i = 0; i < Poradi.size(); ++i)
        Poradi[i] = static_cast<int>(i);
    const auto Klic = [&](int i) {
        const int r = Moduly[i].IndexRychlosti;
        return std::pair(r != Vlastni, r);
    };
    std::stable_sort(Poradi.begin(), Poradi.end(), [&](int a, int b) { return Klic(a) < Klic(b); });
    return Poradi;
}

// The pause between two reads; false when a stop was asked for.
bool Pokracuj(const TRizeni& Rizeni) {
    if (Rizeni.Pauza) Rizeni.Pauza();
    return !(Rizeni.Zastavit && Rizeni.Zastavit());
}

TCil CilNaAdrese(const TCil& Spojeni, uint8_t Adresa) {
    TCil Cil = Spojeni;
    Cil.Adresa = Adresa;
    return Cil;
}

// The three commands 200 as Identifikuj sends them, with the pause after
// each; Zastaveno when a stop was asked for at one.
uint8_t Identifikace(const TCil& Cil, const TRizeni& Rizeni, QString& Modul, bool& Zastaveno) {
    uint8_t B0 = 0;
    QString Casti[3];
    for (uint8_t Cast = 0; Cast < 3; ++Cast) {
        const uint8_t Chyba = CastIdentifikace(Cil, Cast, B0, Casti[Cast]);
        if (!Pokracuj(Rizeni)) Zastaveno = true;
        if (Chyba != 0) return Chyba;
        if (Zastaveno) return 0;
    }
    Modul = SlozModul(Casti[0], Casti[1], Casti[2]);
    return 0;
}

} // namespace

// ------------------------------------------------------------ the modules

bool TLinka::Nastav(const std::vector<TModulLinky>& Moduly, QString& Chyba) {
    std::vector<TModulLinky> Drive;
    for (const TModulLinky& M : Moduly) {
        if (const QString Vada = VadaModuluLinky(Drive, M); !Vada.isEmpty()) {
            Chyba = Vada;
            return false;
        }
        Drive.push_back(M);
    }
    Polozky_.clear();
    for (const TModulLinky& M : Moduly)
        Polozky_.push_back({M, {}});
    Interni_.assign(Polozky_.size(), {});
    ++Verze_;
    return true;
}

void TLinka::NastavZHledani(const std::vector<TNalez>& Nalezene) {
    std::vector<TModulLinky> Moduly;
    for (const TNalez& N : Nalezene) {
        // A module found at several rates (a LAN converter answers at every
        // one) is one module: the first rate it answered at.
        const bool Znamy = std::any_of(Moduly.begin(), Moduly.end(),
                                       [&](const TModulLinky& M) { return M.Adresa == N.Adresa; });
        if (!Znamy) Moduly.push_back({N.Adresa, N.IndexRychlosti, N.Modul, {}});
    }
    QString Chyba;
    // A module's identification fits a line file; should one not, it is
    // left unexpected rather than the whole list refused.
    for (TModulLinky& M : Moduly)
        if (!VadaModuluLinky({}, M).isEmpty()) M.Identifikace.clear();
    Nastav(Moduly, Chyba);
}

bool TLinka::Pridej(const TModulLinky& Modul, QString& Chyba) {
    std::vector<TModulLinky> Moduly;
    for (const TPolozkaLinky& P : Polozky_)
        Moduly.push_back(P.Modul);
    if (const QString Vada = VadaModuluLinky(Moduly, Modul); !Vada.isEmpty()) {
        Chyba = Vada;
        return false;
    }
    Polozky_.push_back({Modul, {}});
    Interni_.push_back({});
    ++Verze_;
    return true;
}

void TLinka::Odeber(int Index) {
    if (Index < 0 || Index >= Pocet()) return;
    Polozky_.erase(Polozky_.begin() + Index);
    Interni_.erase(Interni_.begin() + Index);
    ++Verze_;
}

void TLinka::NastavPopis(int Index, const QString& Popis) {
    if (Index < 0 || Index >= Pocet()) return;
    Polozky_[Index].Modul.Popis = Popis.left(MaxDelkaPopisu);
}

void TLinka::Porovnej(const TSouborLinky& Soubor) {
    for (size_t i = 0; i < Polozky_.size(); ++i) {
        TModulLinky& M = Polozky_[i].Modul;
        const int k = NajdiModulLinky(Soubor.Moduly, M.Adresa, M.IndexRychlosti);
        const bool Adresa = std::any_of(Soubor.Moduly.begin(), Soubor.Moduly.end(),
                                        [&](const TModulLinky& S) { return S.Adresa == M.Adresa; });
        Interni_[i].MimoSoubor = !Adresa;
        if (k >= 0) {
            M.Identifikace = Soubor.Moduly[k].Identifikace;
            M.Popis = Soubor.Moduly[k].Popis;
        }
        Aktualizuj(static_cast<int>(i));
    }
    for (const TModulLinky& S : Soubor.Moduly) {
        if (std::none_of(Polozky_.begin(), Polozky_.end(), [&](const TPolozkaLinky& P) {
                return P.Modul.Adresa == S.Adresa && P.Modul.IndexRychlosti == S.IndexRychlosti;
            })) {
            Polozky_.push_back({S, {}});
            Interni_.push_back({});
        }
    }
    ++Verze_;
}

TSouborLinky TLinka::Soubor() const {
    TSouborLinky S;
    for (const TPolozkaLinky& P : Polozky_) {
        TModulLinky M = P.Modul;
        if (M.Identifikace.isEmpty() &&
            VadaModuluLinky({}, {M.Adresa, M.IndexRychlosti, P.Stav.Modul, {}}).isEmpty())
            M.Identifikace = P.Stav.Modul;
        S.Moduly.push_back(M);
    }
    return S;
}

void TLinka::NastavMezVynechani(int Mez) {
    MezVynechani_ = std::clamp(Mez, 1, 100);
}

// ------------------------------------------------------------ flags and baseline

void TLinka::Aktualizuj(int i) {
    TPolozkaLinky& P = Polozky_[i];
    TStavModulu& S = P.Stav;
    const TInterni& I = Interni_[i];
    unsigned F = 0;
    if (S.Odezva == TOdezva::Neodpovida) F |= PriznakNeodpovida;
    if (I.Vypadek) F |= PriznakVypadek;
    if (S.SlovoStavu && (*S.SlovoStavu & BitErr24)) F |= PriznakErr24;
    if (!P.Modul.Identifikace.isEmpty() && !S.Modul.isEmpty() && S.Modul != P.Modul.Identifikace)
        F |= PriznakJinyModul;
    if (I.MimoSoubor) F |= PriznakMimoSoubor;
    S.Priznaky = F;
}

// A power failure is told by the end of the last one, which every power-up
// writes anew: the status word alone cannot tell it once PWR is set and
// nobody cleared it, since the next power-up sets the same bits again. So
// the end is kept from the baseline and read again at first contact, when
// the module answers again, when its status word changes, and now and then
// regardless (ObnovaVypadkuMs). A PWR bit that was clear in the baseline
// and is set now also tells it, should the end not be readable.
void TLinka::PosudVypadek(int i) {
    const TStavModulu& S = Polozky_[i].Stav;
    TInterni& I = Interni_[i];
    if (!I.Zaklad) {
        // The first state known is the baseline until the line is
        // acknowledged: a power failure from before the overview is none.
        if (!S.SlovoStavu || !S.KonecVypadku) return;
        I.Zaklad = true;
        I.ZakladStavu = S.SlovoStavu;
        I.ZakladVypadku = S.KonecVypadku;
        return;
    }
    const bool Konec =
        S.KonecVypadku && (!I.ZakladVypadku || !StejnyOkamzik(*I.ZakladVypadku, *S.KonecVypadku));
    const bool Pwr =
        S.SlovoStavu && I.ZakladStavu && !(*I.ZakladStavu & BitPwr) && (*S.SlovoStavu & BitPwr);
    if (Konec || Pwr) I.Vypadek = true;
    if (Konec) Polozky_[i].Stav.NovyVypadek = S.KonecVypadku;
}

void TLinka::Potvrd() {
    for (size_t i = 0; i < Polozky_.size(); ++i) {
        TStavModulu& S = Polozky_[i].Stav;
        TInterni& I = Interni_[i];
        I.Zaklad = S.SlovoStavu && S.KonecVypadku;
        I.ZakladStavu = S.SlovoStavu;
        I.ZakladVypadku = S.KonecVypadku;
        I.Vypadek = false;
        S.NovyVypadek.reset();
        Aktualizuj(static_cast<int>(i));
    }
}

// ------------------------------------------------------------ one cycle

// One module's reads in a cycle.
struct TLinka::TCteni {
    TLinka& L;
    int i;
    TCil Cil;
    const TRizeni& Rizeni;
    TVysledekCyklu& V;
    uint64_t Verze;
    bool Odpoved = false; // something answered
    bool Chyby = false;   // some exchange failed
    bool Konec = false;   // the cycle ends here: a stop, a change, the link
    bool Cas = false;     // the time of the module's reply taken

    // Takes the code of one read; false when nothing more goes to the
    // module (no answer to its first read, or the cycle ends).
    bool Vezmi(uint8_t Chyba, int Prikazu, bool Prvni) {
        V.Prikazu += Prikazu;
        TStavModulu& S = L.Polozky_[i].Stav;
        if (Chyba == 0) {
            Odpoved = true;
            // Once per module and cycle: the local time costs the C library
            // a look at the time zone file every time.
            if (!Cas) S.PosledniOdpoved = MistniCas();
            Cas = true;
        } else {
            ++S.Selhani;
            S.PosledniChyba = Chyba;
            if (!KodModulu(Chyba)) {
                // The link itself failed: no module is to blame.
                V.Chyba = Chyba;
                V.Text = TextChyby(Cil.Rozhrani, Chyba);
                Konec = true;
                return false;
            }
            Chyby = true;
            if (Chyba != km::kErrTimeout) Odpoved = true;
        }
        if (!Pokracuj(Rizeni)) {
            V.Zastaveno = Konec = true;
            return false;
        }
        if (L.Verze_ != Verze) {
            V.Zmeneno = Konec = true;
            return false;
        }
        return Odpoved || !Prvni;
    }
};

void TLinka::CtiModul(TCteni& C, bool ObnovitVypadek) {
    TStavModulu& S = Polozky_[C.i].Stav;
    TInterni& I = Interni_[C.i];
    bool Prvni = true;
    bool VypadekPrecten = false;
    const auto CtiVypadek = [&] {
        TOkamzikModulu Konec;
        const uint8_t Chyba = CtiKonecVypadku(C.Cil, Konec);
        if (Chyba == 0) {
            // A new end means a power-up since the last reading: the module
            // may have come back as another one.
            if (S.KonecVypadku && !StejnyOkamzik(*S.KonecVypadku, Konec)) I.Seznameni = true;
            S.KonecVypadku = Konec;
            I.CteniVypadku = MistniCas().toMSecsSinceEpoch();
            VypadekPrecten = true;
        }
        // The date is asked for only when the time came.
        return C.Vezmi(Chyba, Konec.Cas ? 2 : 1, false);
    };
    if (I.Seznameni) {
        uint8_t B0 = 0;
        QString Casti[3];
        for (uint8_t Cast = 0; Cast < 3; ++Cast) {
            const uint8_t Chyba = CastIdentifikace(C.Cil, Cast, B0, Casti[Cast]);
            if (!C.Vezmi(Chyba, 1, Prvni)) return;
            Prvni = false;
            if (Chyba != 0) break;
            if (Cast == 2) S.Modul = SlozModul(Casti[0], Casti[1], Casti[2]);
        }
        uint8_t Mod = 0;
        const uint8_t Chyba = PrikazRegistru(C.Cil, PrikazCti, RegistrModCitace, Mod);
        if (Chyba == 0) I.ModCitace = Mod;
        if (!C.Vezmi(Chyba, 1, false)) return;
        if (!CtiVypadek()) return;
        if (!C.Chyby) I.Seznameni = false;
    }
    std::array<uint8_t, 4> B{};
    uint8_t Chyba = CtiStav(C.Cil, B);
    if (Chyba == 0) {
        const uint32_t Slovo = BajtyNaCislo(B[0], B[1], B[2], B[3]);
        const bool Zmena = S.SlovoStavu && *S.SlovoStavu != Slovo;
        S.SlovoStavu = Slovo;
        ObnovitVypadek = ObnovitVypadek || Zmena;
    }
    if (!C.Vezmi(Chyba, 1, Prvni)) return;
    if (ObnovitVypadek && !VypadekPrecten && !CtiVypadek()) return;
    if (I.ModCitace) {
        Chyba = CtiHodnotuCitace(C.Cil, B);
        if (Chyba == 0) S.Citac = TCitac{*I.ModCitace, B};
        if (!C.Vezmi(Chyba, 1, false)) return;
    }
    Chyba = CtiVstupy(C.Cil, B);
    if (Chyba == 0) S.Vstupy = BajtyNaCislo(B[0], B[1], B[2], B[3]);
    C.Vezmi(Chyba, 1, false);
}

TVysledekCyklu TLinka::Cyklus(const TCil& Spojeni, const TRizeni& Rizeni,
                              const std::function<void(int)>& Hotovo) {
    TVysledekCyklu V;
    if (Bezi_) {
        V.Text = TextBezi();
        return V;
    }
    if (!Spojeni.Otevreno) {
        V.Text = TextNeniSpojeni();
        return V;
    }
    Bezi_ = true;
    const uint64_t Verze = Verze_;
    std::vector<TModulLinky> Moduly;
    for (const TPolozkaLinky& P : Polozky_)
        Moduly.push_back(P.Modul);
    // One module whose end of power failure is oldest and older than
    // ObnovaVypadkuMs has it read again in this cycle.
    const qint64 Ted = MistniCas().toMSecsSinceEpoch();
    int Obnova = -1;
    for (size_t i = 0; i < Interni_.size(); ++i) {
        const TInterni& I = Interni_[i];
        if (I.Seznameni || Ted - I.CteniVypadku < ObnovaVypadkuMs) continue;
        if (Obnova < 0 || I.CteniVypadku < Interni_[Obnova].CteniVypadku)
            Obnova = static_cast<int>(i);
    }
    {
        TRychlostLinky Rychlost(Spojeni);
        for (int i : PoradiPodleRychlosti(Moduly, Rychlost.Vlastni())) {
            const uint32_t Kod = Rychlost.Nastav(Moduly[i].IndexRychlosti);
            if (Kod != 0) {
                // The driver refused the rate: the modules at it are left
                // for this cycle, unblamed; the others are read.
                V.Chyba = Kod;
                V.Text = TextChyby(Spojeni.Rozhrani, Kod);
                if (!KodModulu(Kod) && Kod != km::kErrBaud) break;
                continue;
            }
            TCteni C{*this, i, CilNaAdrese(Spojeni, Moduly[i].Adresa), Rizeni, V, Verze};
            CtiModul(C, i == Obnova);
            if (V.Zmeneno) break;
            TStavModulu& S = Polozky_[i].Stav;
            if (!C.Konec || C.Odpoved) {
                if (C.Odpoved) {
                    S.VynechaniVRade = 0;
                    S.Odezva = C.Chyby ? TOdezva::OdpovidaSChybami : TOdezva::Odpovida;
                } else if (++S.VynechaniVRade >= MezVynechani_) {
                    S.Odezva = TOdezva::Neodpovida;
                }
                if (!C.Odpoved) Interni_[i].Seznameni = true;
                PosudVypadek(i);
                Aktualizuj(i);
            }
            if (Hotovo) Hotovo(i);
            if (C.Konec || Verze_ != Verze) {
                V.Zmeneno = V.Zmeneno || Verze_ != Verze;
                break;
            }
        }
        V.ChybaObnoveni = Rychlost.Obnov();
        V.Nastaveni = Rychlost.Pocet();
    }
    Bezi_ = false;
    return V;
}

// ------------------------------------------------------------ clearing

TVysledekNulovani TLinka::NulujStavy(const TCil& Spojeni, const TRizeni& Rizeni,
                                     const TPrubehLinky& Prubeh) {
    TVysledekNulovani V;
    if (Bezi_ || !Spojeni.Otevreno) {
        V.Text = Bezi_ ? TextBezi() : TextNeniSpojeni();
        return V;
    }
    Bezi_ = true;
    std::vector<TModulLinky> Moduly;
    for (const TPolozkaLinky& P : Polozky_)
        Moduly.push_back(P.Modul);
    const uint64_t Verze = Verze_;
    {
        TRychlostLinky Rychlost(Spojeni);
        int Hotovo = 0;
        for (int i : PoradiPodleRychlosti(Moduly, Rychlost.Vlastni())) {
            const uint32_t Kod = Rychlost.Nastav(Moduly[i].IndexRychlosti);
            if (Kod != 0) {
                V.Chyba = Kod;
                V.Text = TextChyby(Spojeni.Rozhrani, Kod);
                break;
            }
            const uint8_t Chyba = NulujStav(CilNaAdrese(Spojeni, Moduly[i].Adresa));
            V.Kody.push_back({i, Chyba});
            // The register is empty now: a PWR the next power-up sets is
            // then seen against it.
            if (Chyba == 0 && Verze_ == Verze && Interni_[i].Zaklad) Interni_[i].ZakladStavu = 0;
            if (Prubeh) Prubeh(++Hotovo, static_cast<int>(Moduly.size()), i);
            if (!KodModulu(Chyba) && Chyba != 0) {
                V.Chyba = Chyba;
                V.Text = TextChyby(Spojeni.Rozhrani, Chyba);
                break;
            }
            if (!Pokracuj(Rizeni)) {
                V.Zastaveno = true;
                break;
            }
        }
    }
    Bezi_ = false;
    return V;
}

// ------------------------------------------------------------ backup

QString SouborZalohyModulu(const TModulLinky& Modul) {
    return QStringLiteral("modul_%1_%2.km207")
        .arg(Modul.Adresa, 3, 10, QLatin1Char('0'))
        .arg(IndexNaRychlost(Modul.IndexRychlosti));
}

int TVysledekZalohy::Ulozenych() const {
    return static_cast<int>(std::count_if(Moduly.begin(), Moduly.end(),
                                          [](const TZalohaModulu& M) { return M.Ulozeno; }));
}

namespace {

// The folder of a backup: made when it does not exist.
bool PripravSlozku(const QString& Slozka, QString& Chyba) {
    const QFileInfo Info(Slozka);
    if (Info.exists() && !Info.isDir()) {
        Chyba = QCoreApplication::translate("Linka", "%1 není složka.").arg(Slozka);
        return false;
    }
    if (!Info.exists() && !QDir().mkpath(Slozka)) {
        Chyba = QCoreApplication::translate("Linka", "Složku %1 nelze vytvořit.").arg(Slozka);
        return false;
    }
    return true;
}

} // namespace

TVysledekZalohy ZalohujLinku(const TCil& Spojeni, const std::vector<TModulLinky>& Moduly,
                             const QString& Slozka, const TRizeni& Rizeni,
                             const TPrubehLinky& Prubeh) {
    TVysledekZalohy V;
    for (const TModulLinky& M : Moduly)
        V.Moduly.push_back(
            {M, false, {}, 0, QCoreApplication::translate("Linka", "Záloha nedokončena."), false});
    if (!Spojeni.Otevreno) {
        V.Chyba = TextNeniSpojeni();
        return V;
    }
    const QDir Dir(Slozka);
    TZapisSouboru Linka(Dir.filePath(SouborLinkyZalohy));
    if (!PripravSlozku(Slozka, V.Chyba) || !Linka.Otevri(V.Chyba)) return V;
    {
        TRychlostLinky Rychlost(Spojeni);
        int Hotovo = 0;
        for (int i : PoradiPodleRychlosti(Moduly, Rychlost.Vlastni())) {
            TZalohaModulu& Z = V.Moduly[i];
            const auto Neulozen = [&](uint8_t Chyba, const QString& Text) {
                Z.Chyba = Chyba;
                Z.Text = Text;
                Z.Dosazen = true;
            };
            const uint32_t Kod = Rychlost.Nastav(Z.Modul.IndexRychlosti);
            if (Kod != 0) {
                Neulozen(0, TextChyby(Spojeni.Rozhrani, Kod));
                continue;
            }
            const TCil Cil = CilNaAdrese(Spojeni, Z.Modul.Adresa);
            TSouborKonfigurace Obsah;
            bool Zastaveno = false;
            const uint8_t Chyba = Identifikace(Cil, Rizeni, Obsah.Modul, Zastaveno);
            TVysledekBloku Blok;
            if (Chyba != 0) {
                Neulozen(Chyba, TextChyby(Spojeni.Rozhrani, Chyba));
            } else if (!Zastaveno) {
                Blok = CtiBlok(Cil, Obsah.Blok, Rizeni);
                Zastaveno = Blok.Konec == TKonecBloku::Zastaveno || Blok.ZastavenoNaKonci;
                if (!Blok.Uspech()) Neulozen(Blok.Chyba, Blok.Text);
            }
            if (Chyba == 0 && Blok.Uspech() && Blok.Registry.size() == VsechnyRegistry().size()) {
                QDateTime Ted = MistniCas();
                Ted.setTime(QTime(Ted.time().hour(), Ted.time().minute(), Ted.time().second()));
                Obsah.Precteno = Ted;
                const QString Cesta = Dir.filePath(SouborZalohyModulu(Z.Modul));
                QString Text;
                if (UlozKonfiguraci(Cesta, Obsah, Text)) {
                    Z.Ulozeno = true;
                    Z.Dosazen = true;
                    Z.Soubor = Cesta;
                    Z.Text.clear();
                    // The line file names what answered there now.
                    Z.Modul.Identifikace = Obsah.Modul;
                } else {
                    Neulozen(0, Text);
                }
            }
            if (Prubeh) Prubeh(++Hotovo, static_cast<int>(Moduly.size()), i);
            if (Zastaveno) {
                V.Zastaveno = true;
                break;
            }
            if (Chyba != 0 && !KodModulu(Chyba)) break; // the link failed: no module answers
        }
    }
    TSouborLinky Soubor;
    for (const TZalohaModulu& Z : V.Moduly)
        Soubor.Moduly.push_back(Z.Modul);
    QByteArray Text;
    if (LinkaNaText(Soubor, Text, V.Chyba)) Linka.Dokonci(Text, V.Chyba);
    return V;
}

// ------------------------------------------------------------ restore

QStringList TObnovaLinky::Kolize() const {
    QStringList Texty;
    for (const TObnovaModulu& M : Moduly)
        if (!M.Kolize.isEmpty()) Texty << M.Kolize;
    return Texty;
}

namespace {

// Where a module of a restore answers once its file is in it and it was
// switched on again.
std::pair<uint8_t, int> NoveMisto(const TObnovaModulu& M) {
    if (!M.Zaloha) return {M.Modul.Adresa, M.Modul.IndexRychlosti};
    return {M.Zaloha->Blok.KonfAdresa, M.Zaloha->Blok.KonfRychlost};
}

} // namespace

bool NactiZalohuLinky(const QString& Slozka, TObnovaLinky& Obnova, QString& Chyba) {
    const QDir Dir(Slozka);
    const QString CestaLinky = Dir.filePath(SouborLinkyZalohy);
    TSouborLinky Linka;
    if (!QFileInfo(Slozka).isDir()) {
        Chyba =
            QCoreApplication::translate("Linka", "%1 není složka se zálohou linky.").arg(Slozka);
        return false;
    }
    if (!NactiLinku(CestaLinky, Linka, Chyba)) {
        if (!Chyba.contains(CestaLinky)) Chyba = CestaLinky + QStringLiteral(": ") + Chyba;
        return false;
    }
    TObnovaLinky O;
    O.Slozka = Slozka;
    for (const TModulLinky& M : Linka.Moduly) {
        TObnovaModulu Modul;
        Modul.Modul = M;
        const QString Cesta = Dir.filePath(SouborZalohyModulu(M));
        // A file that is not there was not saved (the module did not
        // answer at the backup); it is reported, never guessed.
        if (QFileInfo(Cesta).exists() || QFileInfo(Cesta).isSymLink()) {
            TSouborKonfigurace Zaloha;
            if (!NactiKonfiguraci(Cesta, Zaloha, Chyba)) {
                if (!Chyba.contains(Cesta)) Chyba = Cesta + QStringLiteral(": ") + Chyba;
                return false;
            }
            Modul.Soubor = Cesta;
            Modul.Zaloha = Zaloha;
        }
        O.Moduly.push_back(Modul);
    }
    for (size_t a = 0; a < O.Moduly.size(); ++a) {
        for (size_t b = a + 1; b < O.Moduly.size(); ++b) {
            if (NoveMisto(O.Moduly[a]) != NoveMisto(O.Moduly[b])) continue;
            const auto [Adresa, Index] = NoveMisto(O.Moduly[a]);
            Chyba = QCoreApplication::translate(
                        "Linka", "Moduly na adresách %1 a %2 by po obnově byly oba na adrese %3 "
                                 "s rychlostí %4 Bd a odpovídaly by si navzájem; záloha "
                                 "se neobnoví.")
                        .arg(O.Moduly[a].Modul.Adresa)
                        .arg(O.Moduly[b].Modul.Adresa)
                        .arg(Adresa)
                        .arg(IndexNaRychlost(Index));
            return false;
        }
    }
    Obnova = O;
    return true;
}

namespace {

std::vector<TModulLinky> ModulyObnovy(const TObnovaLinky& Obnova) {
    std::vector<TModulLinky> Moduly;
    for (const TObnovaModulu& M : Obnova.Moduly)
        Moduly.push_back(M.Modul);
    return Moduly;
}

} // namespace

void NahledObnovy(const TCil& Spojeni, TObnovaLinky& Obnova, const TRizeni& Rizeni,
                  const TPrubehLinky& Prubeh) {
    Obnova.Nahled = Obnova.Zastaveno = false;
    for (TObnovaModulu& M : Obnova.Moduly) {
        M.Precteno = false;
        M.Zmeny.clear();
        M.Chyba = 0;
        M.Kolize.clear();
        M.Zapis.reset();
        M.Text = M.Zaloha ? QString()
                          : QCoreApplication::translate("Linka",
                                                        "Modul nebyl zálohován; nic se nezapíše.");
    }
    if (!Spojeni.Otevreno) {
        for (TObnovaModulu& M : Obnova.Moduly)
            if (M.Zaloha) M.Text = TextNeniSpojeni();
        return;
    }
    const std::vector<TModulLinky> Moduly = ModulyObnovy(Obnova);
    TRychlostLinky Rychlost(Spojeni);
    int Hotovo = 0;
    for (int i : PoradiPodleRychlosti(Moduly, Rychlost.Vlastni())) {
        TObnovaModulu& M = Obnova.Moduly[i];
        const auto Konec = [&] {
            if (Prubeh) Prubeh(++Hotovo, static_cast<int>(Moduly.size()), i);
        };
        if (!M.Zaloha) {
            Konec();
            continue;
        }
        if (const uint32_t Kod = Rychlost.Nastav(M.Modul.IndexRychlosti)) {
            M.Chyba = 0;
            M.Text = TextChyby(Spojeni.Rozhrani, Kod);
            Konec();
            continue;
        }
        const TCil Cil = CilNaAdrese(Spojeni, M.Modul.Adresa);
        bool Zastaveno = false;
        uint8_t Chyba = Identifikace(Cil, Rizeni, M.ModulPrecteny, Zastaveno);
        if (Chyba == 0 && !Zastaveno) {
            const TVysledekBloku Blok = CtiBlok(Cil, M.VModulu, Rizeni);
            Zastaveno = Blok.Konec == TKonecBloku::Zastaveno || Blok.ZastavenoNaKonci;
            if (Blok.Uspech() && Blok.Registry.size() == VsechnyRegistry().size()) {
                M.Precteno = true;
                M.Zmeny = RozdilneRegistry(M.VModulu, M.Zaloha->Blok);
            } else if (!Blok.Uspech()) {
                M.Chyba = Blok.Chyba;
                M.Text = Blok.Text;
                Chyba = Blok.Chyba;
            }
        } else if (Chyba != 0) {
            M.Chyba = Chyba;
            M.Text = TextChyby(Spojeni.Rozhrani, Chyba);
        }
        const uint8_t Nova = M.Zaloha->Blok.KonfAdresa;
        if (M.Precteno && !Zastaveno && Nova != M.Modul.Adresa &&
            std::find(M.Zmeny.begin(), M.Zmeny.end(), RegistrAdresa) != M.Zmeny.end()) {
            // As `km207 restore`: a module answering at the new address
            // would share it after the next power-up.
            const int Index = M.Zaloha->Blok.KonfRychlost;
            uint8_t Odpoved = 0;
            if (Rychlost.Nastav(Index) == 0 && AdresaObsazena(CilNaAdrese(Spojeni, Nova), Odpoved))
                M.Kolize = QCoreApplication::translate(
                               "Linka", "Modul na adrese %1 má dostat adresu %2, ale na ní už "
                                        "odpovídá modul (%3 Bd); po zapnutí by tam byly dva.")
                               .arg(M.Modul.Adresa)
                               .arg(Nova)
                               .arg(IndexNaRychlost(Index));
            Zastaveno = !Pokracuj(Rizeni);
        }
        Konec();
        if (Zastaveno) {
            Obnova.Zastaveno = true;
            return;
        }
        if (Chyba != 0 && !KodModulu(Chyba)) return; // the link failed
    }
    Obnova.Nahled = true;
}

bool ObnovLinku(const TCil& Spojeni, TObnovaLinky& Obnova, const TRizeni& Rizeni,
                const TPrubehLinky& Prubeh) {
    if (!Spojeni.Otevreno || !Obnova.Nahled || (!Obnova.Vynutit && !Obnova.Kolize().isEmpty()))
        return false;
    Obnova.Zastaveno = false;
    const std::vector<TModulLinky> Moduly = ModulyObnovy(Obnova);
    TRychlostLinky Rychlost(Spojeni);
    int Hotovo = 0;
    for (int i : PoradiPodleRychlosti(Moduly, Rychlost.Vlastni())) {
        TObnovaModulu& M = Obnova.Moduly[i];
        bool Zastaveno = false;
        if (M.Precteno && !M.Zmeny.empty()) {
            if (const uint32_t Kod = Rychlost.Nastav(M.Modul.IndexRychlosti)) {
                M.Text = TextChyby(Spojeni.Rozhrani, Kod);
            } else {
                M.Zapis = ZapisBlok(CilNaAdrese(Spojeni, M.Modul.Adresa), M.Zaloha->Blok, M.Zmeny,
                                    Rizeni);
                Zastaveno = M.Zapis->Konec == TKonecBloku::Zastaveno || M.Zapis->ZastavenoNaKonci;
                M.Text = M.Zapis->Uspech() ? PoznamkaZapnuti(M.Zapis->Registry) : M.Zapis->Text;
            }
        }
        if (Prubeh) Prubeh(++Hotovo, static_cast<int>(Moduly.size()), i);
        if (Zastaveno) {
            Obnova.Zastaveno = true;
            break;
        }
    }
    return true;
}

// ------------------------------------------------------------ commissioning

TVysledekUvedeni UvedDoProvozu(const TCil& Spojeni, const std::vector<TModulLinky>& Linka,
                               const TVolbyUvedeni& Volby, const TRizeni& Rizeni,
                               const std::function<void(const QString&)>& Zprava) {
    TVysledekUvedeni V;
    const auto Konec = [&](TKonecUvedeni K, const QString& Text) {
        V.Konec = K;
        V.Text = Text;
        if (Zprava) Zprava(Text);
        return V;
    };
    if (!Spojeni.Otevreno) return Konec(TKonecUvedeni::ChybaSpojeni, TextNeniSpojeni());
    const int Index = Volby.IndexRychlosti.value_or(VyrobniIndexRychlosti);
    if (Index < 0 || Index >= PocetRychlosti || Volby.Od < 0 || Volby.Do > 255 ||
        Volby.Od > Volby.Do)
        return Konec(TKonecUvedeni::ChybaSpojeni,
                     QCoreApplication::translate(
                         "Linka", "Rozsah adres musí být 0-255 a rychlost jedna z devíti."));
    if (NajdiModulLinky(Linka, VyrobniAdresa, VyrobniIndexRychlosti) >= 0)
        return Konec(TKonecUvedeni::AdresaObsazena,
                     QCoreApplication::translate(
                         "Linka", "Na lince je modul na výrobní adrese %1 (%2 Bd); nový modul by "
                                  "se od něj nerozlišil. Dejte mu nejdřív jinou adresu.")
                         .arg(VyrobniAdresa)
                         .arg(IndexNaRychlost(VyrobniIndexRychlosti)));
    // The lowest address of the range that no module of the line has, at
    // any rate, and never the factory one, where the next new module sits.
    int Adresa = -1;
    for (int a = Volby.Od; a <= Volby.Do && Adresa < 0; ++a)
        if (a != VyrobniAdresa && std::none_of(Linka.begin(), Linka.end(),
                                               [&](const TModulLinky& M) { return M.Adresa == a; }))
            Adresa = a;
    V.Modul = {static_cast<uint8_t>(std::max(Adresa, 0)), Index, {}, {}};
    if (Adresa < 0)
        return Konec(TKonecUvedeni::ZadnaAdresa,
                     QCoreApplication::translate("Linka", "V rozsahu %1-%2 už není volná adresa.")
                         .arg(Volby.Od)
                         .arg(Volby.Do));

    TRychlostLinky Rychlost(Spojeni);
    const auto ChybaSpojeni = [&](uint32_t Kod) {
        V.Chyba = static_cast<uint8_t>(Kod);
        return Konec(TKonecUvedeni::ChybaSpojeni, TextChyby(Spojeni.Rozhrani, Kod));
    };
    const auto Zastav = [&] {
        if (Pokracuj(Rizeni)) return false;
        Konec(TKonecUvedeni::Zastaveno,
              QCoreApplication::translate("Linka", "Uvedení do provozu zastaveno."));
        return true;
    };

    // 1. The new module at the factory address.
    if (Zprava)
        Zprava(
            QCoreApplication::translate("Linka", "Hledám nový modul na výrobní adrese %1 (%2 Bd)…")
                .arg(VyrobniAdresa)
                .arg(IndexNaRychlost(VyrobniIndexRychlosti)));
    if (const uint32_t Kod = Rychlost.Nastav(VyrobniIndexRychlosti)) return ChybaSpojeni(Kod);
    const TCil Vyrobni = CilNaAdrese(Spojeni, VyrobniAdresa);
    QString Novy;
    bool Zastaveno = false;
    uint8_t Chyba = Identifikace(Vyrobni, Rizeni, Novy, Zastaveno);
    if (Zastaveno)
        return Konec(TKonecUvedeni::Zastaveno,
                     QCoreApplication::translate("Linka", "Uvedení do provozu zastaveno."));
    if (Chyba == km::kErrTimeout)
        return Konec(TKonecUvedeni::ZadnyModul,
                     QCoreApplication::translate(
                         "Linka", "Na výrobní adrese %1 (%2 Bd) neodpovídá žádný modul. Připojte "
                                  "nový modul a zkuste to znovu.")
                         .arg(VyrobniAdresa)
                         .arg(IndexNaRychlost(VyrobniIndexRychlosti)));
    if (NejasnaOdpoved(Chyba)) {
        V.Chyba = Chyba;
        return Konec(TKonecUvedeni::DvaModuly,
                     QCoreApplication::translate(
                         "Linka", "Na výrobní adrese %1 odpovídá více modulů najednou (%2). "
                                  "Připojujte nové moduly po jednom.")
                         .arg(VyrobniAdresa)
                         .arg(TextChyby(Spojeni.Rozhrani, Chyba)));
    }
    if (Chyba != 0) return ChybaSpojeni(Chyba);
    if (Zprava)
        Zprava(QCoreApplication::translate("Linka", "Nalezen modul %1; dostane adresu %2 (%3 Bd).")
                   .arg(ModulNaText(Novy))
                   .arg(Adresa)
                   .arg(IndexNaRychlost(Index)));

    // 2. Nothing may answer where it goes.
    if (const uint32_t Kod = Rychlost.Nastav(Index)) return ChybaSpojeni(Kod);
    const bool Obsazena = AdresaObsazena(CilNaAdrese(Spojeni, static_cast<uint8_t>(Adresa)), Chyba);
    if (Zastav()) return V;
    if (Obsazena)
        return Konec(TKonecUvedeni::AdresaObsazena,
                     QCoreApplication::translate(
                         "Linka", "Na adrese %1 (%2 Bd) už odpovídá modul, který na lince není; "
                                  "po zapnutí by tam byly dva. Nic nebylo zapsáno.")
                         .arg(Adresa)
                         .arg(IndexNaRychlost(Index)));
    if (!KodModulu(Chyba)) return ChybaSpojeni(Chyba);

    // 3. The address (and the rate) written and read back at the factory
    // address: the module takes them at its next power-up.
    if (const uint32_t Kod = Rychlost.Nastav(VyrobniIndexRychlosti)) return ChybaSpojeni(Kod);
    TKonfigurace Blok{};
    Blok.KonfAdresa = static_cast<uint8_t>(Adresa);
    Blok.KonfRychlost = static_cast<uint8_t>(Index);
    std::vector<uint8_t> Registry{RegistrAdresa};
    if (Index != VyrobniIndexRychlosti) Registry.push_back(RegistrRychlost);
    V.Zapis = ZapisBlok(Vyrobni, Blok, Registry, Rizeni);
    if (V.Zapis.Konec == TKonecBloku::Zastaveno)
        return Konec(TKonecUvedeni::Zastaveno,
                     QCoreApplication::translate("Linka", "Uvedení do provozu zastaveno."));
    if (!V.Zapis.Uspech()) {
        V.Chyba = V.Zapis.Chyba;
        return Konec(TKonecUvedeni::ChybaZapisu,
                     QCoreApplication::translate("Linka", "Zápis adresy se nepodařil: %1")
                         .arg(V.Zapis.Text));
    }
    // 4. and 5. The technician switches it off and on; it is waited for.
    if (Zprava)
        Zprava(QCoreApplication::translate(
                   "Linka", "Adresa %1 zapsána a ověřena. %2 Vypněte a znovu zapněte modul; "
                            "čekám na něj na adrese %1 (%3 Bd).")
                   .arg(Adresa)
                   .arg(PoznamkaZapnuti(V.Zapis.Registry))
                   .arg(IndexNaRychlost(Index)));
    if (const uint32_t Kod = Rychlost.Nastav(Index)) return ChybaSpojeni(Kod);
    const TCil NaNoveAdrese = CilNaAdrese(Spojeni, static_cast<uint8_t>(Adresa));
    QElapsedTimer Cekani;
    Cekani.start();
    for (;;) {
        QString Modul;
        Zastaveno = false;
        Chyba = Identifikace(NaNoveAdrese, Rizeni, Modul, Zastaveno);
        if (Zastaveno)
            return Konec(TKonecUvedeni::Zastaveno,
                         QCoreApplication::translate("Linka", "Uvedení do provozu zastaveno."));
        if (Chyba == 0) {
            V.Modul.Identifikace = Modul;
            return Konec(
                TKonecUvedeni::Hotovo,
                QCoreApplication::translate("Linka", "Modul %1 odpovídá na nové adrese %2 (%3 Bd).")
                    .arg(ModulNaText(Modul))
                    .arg(Adresa)
                    .arg(IndexNaRychlost(Index)));
        }
        if (!KodModulu(Chyba)) return ChybaSpojeni(Chyba);
        if (Cekani.elapsed() >= Volby.CekaniMs)
            return Konec(TKonecUvedeni::Neobjevil,
                         QCoreApplication::translate(
                             "Linka", "Modul se na adrese %1 (%2 Bd) do %3 s neozval. Adresa je "
                                      "zapsaná; platí od příštího zapnutí modulu.")
                             .arg(Adresa)
                             .arg(IndexNaRychlost(Index))
                             .arg(Volby.CekaniMs / 1000));
    }
}
