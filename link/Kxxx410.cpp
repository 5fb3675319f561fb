#include "Kxxx410.h"

#include "HledaniOvladace.h"
#include "Rozhrani.h"
#include "VazbaOvladace.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <thread>

namespace {

// The texts our drivers give for their codes (the library writes them in
// Czech); a person reads them in the language set. A text not listed here,
// from another library, is shown as the library wrote it.
const char* const kTextyOvladace[] = {
    QT_TRANSLATE_NOOP("Kxxx410", "V pořádku"),
    QT_TRANSLATE_NOOP("Kxxx410", "Zařízení nenalezeno"),
    QT_TRANSLATE_NOOP("Kxxx410",
                      "Přístup k zařízení odepřen (přidejte uživatele do skupiny dialout)"),
    QT_TRANSLATE_NOOP("Kxxx410", "Port je používán jiným programem"),
    QT_TRANSLATE_NOOP("Kxxx410", "Neplatná komunikační rychlost"),
    QT_TRANSLATE_NOOP("Kxxx410", "Modul neodpovídá"),
    QT_TRANSLATE_NOOP("Kxxx410", "Poškozená odpověď modulu"),
    QT_TRANSLATE_NOOP("Kxxx410", "Odpověď od jiného modulu"),
    QT_TRANSLATE_NOOP("Kxxx410", "Neplatná IP adresa"),
    QT_TRANSLATE_NOOP("Kxxx410", "Chybný požadavek"),
    QT_TRANSLATE_NOOP("Kxxx410", "Ovladač není připojen"),
    QT_TRANSLATE_NOOP("Kxxx410", "Neplatný UDP port"),
    QT_TRANSLATE_NOOP("Kxxx410", "Modul hlásí chybu"),
    QT_TRANSLATE_NOOP("Kxxx410", "Neplatný handle ovladače"),
    QT_TRANSLATE_NOOP("Kxxx410", "Chyba komunikace"),
    QT_TRANSLATE_NOOP("Kxxx410", "Nedostatek prostředků"),
    QT_TRANSLATE_NOOP("Kxxx410", "Modul nezná příkaz"),
    QT_TRANSLATE_NOOP("Kxxx410", "Modul nemá tento registr"),
    QT_TRANSLATE_NOOP("Kxxx410", "Modul odmítl hodnotu"),
    QT_TRANSLATE_NOOP("Kxxx410", "Neplatný parametr ovladače"),
    QT_TRANSLATE_NOOP("Kxxx410", "Neznámá chyba ovladače"),
};

// The link's own codes (100 and above); %1 is the library's file.
const char* const kNenacteno = QT_TRANSLATE_NOOP("Kxxx410", "chyba inicializace knihovny %1");
const char* const kNeuplne = QT_TRANSLATE_NOOP("Kxxx410", "chybná knihovna %1");
const char* const kPreruseno = QT_TRANSLATE_NOOP("Kxxx410", "Čekání na odpověď modulu přerušeno");
const char* const kNeznamyKod = QT_TRANSLATE_NOOP("Kxxx410", "neznámý chybový kód");

// The one binding of the process: at most one link exists at a time.
struct Stav {
    std::unique_ptr<VazbaOvladace> vazba;
    uint8_t druh = 0; // kind of the bound library
    QString popis;    // for OvladacVazba
    // Init failed but the library stays, so its error text can be read.
    bool poNeuspechu = false;
    QString duvod;       // for OvladacDuvod, set by each Init and by a lost host
    bool ztrata = false; // duvod tells how the host was lost
    // km207's stop (NastavPreruseniOvladace), and whether a call was cut off.
    std::function<bool()> zastavit;
    bool opusteno = false;
    // km207: the texts read from the bound library, by code.
    std::map<uint32_t, TTextPole> texty;

    void uvolni() {
        vazba.reset();
        popis.clear();
        poNeuspechu = false;
    }
};

Stav& stav() {
    static Stav s;
    return s;
}

bool druhPlatny(uint32_t druh) {
    return NajdiRozhrani(druh) != nullptr;
}

// The name in the texts, as on the original platform.
QString souborDll(uint32_t druh) {
    return NajdiRozhrani(druh)->Knihovna();
}

// A host runs the library: it ends with the binding, and at the latest when
// the application ends.
void ukoncitSAplikaci() {
    static const bool uklid = [] {
        qAddPostRoutine(OvladacUvolni);
        return true;
    }();
    Q_UNUSED(uklid);
}

// The cause of a lost host stays until the next Init.
void zapisZtratu(Stav& s) {
    s.duvod = s.vazba->Duvod();
    s.ztrata = !s.duvod.isEmpty();
}

// The bound library's host failed inside a call, or the call was cut off by
// a stop: the binding is gone.
bool ztracena(Stav& s) {
    if (!s.vazba || !s.vazba->Ztracena()) return false;
    zapisZtratu(s);
    s.uvolni();
    return true;
}

// What a call whose binding is gone reports: the library as unavailable, or
// the stop that cut it off.
uint32_t poZtrate(Stav& s, uint32_t kod, uint8_t druh) {
    if (kod != KodPreruseno) return KodNenacteno + druh;
    s.opusteno = true;
    return kod;
}

// km207: the text of a driver's code is read as the code comes, while the
// library can still be asked (OvladacError keeps it).
void zapamatujText(uint8_t Rozhrani, uint32_t Kod) {
    const Stav& s = stav();
    if (!s.zastavit || Kod == 0 || Kod >= 100 || s.texty.count(Kod)) return;
    TTextPole text{};
    OvladacError(Rozhrani, Kod, text);
}

} // namespace

uint32_t OvladacInit(uint8_t Rozhrani, uint32_t& Handle, TKonfigOvladace KonfigOvladace) {
    Stav& s = stav();
    // A library kept after a failed Init has served its purpose now.
    if (s.poNeuspechu) s.uvolni();
    // The references are cleared; the old library goes once the new one is
    // loaded, so re-binding the same file keeps it loaded in between.
    std::unique_ptr<VazbaOvladace> stara = std::move(s.vazba);
    s.uvolni();
    s.duvod.clear();
    s.texty.clear();
    s.ztrata = false;
    if (!druhPlatny(Rozhrani)) return KodNeplatne;

    TNavazani n = NavazOvladac(Rozhrani);
    stara.reset();
    s.duvod = n.Duvod;
    if (n.Hostitel) ukoncitSAplikaci();
    if (!n.Vazba) return n.Kod;
    s.vazba = s.zastavit ? PrerusitelnaVazba(std::move(n.Vazba), s.zastavit) : std::move(n.Vazba);
    s.druh = Rozhrani;
    s.popis = n.Popis;

    const uint32_t kod = s.vazba->Init(Handle, KonfigOvladace);
    if (ztracena(s)) return poZtrate(s, kod, Rozhrani);
    s.poNeuspechu = kod != 0;
    zapamatujText(Rozhrani, kod);
    return kod;
}

uint32_t OvladacSetConfig(uint8_t Rozhrani, uint32_t Handle, uint32_t Rychlost, uint32_t Casovani,
                          uint32_t Posledni) {
    Stav& s = stav();
    if (!druhPlatny(Rozhrani) || !s.vazba) return KodNeplatne;
    const uint8_t druh = s.druh;
    const uint32_t kod = s.vazba->SetConfig(Handle, Rychlost, Casovani, Posledni);
    if (ztracena(s)) return poZtrate(s, kod, druh);
    zapamatujText(Rozhrani, kod);
    return kod;
}

uint32_t OvladacSend(uint8_t Rozhrani, uint32_t Handle, uint32_t* Pozadavek, uint32_t* Odpoved,
                     uint32_t* Vystup, uint32_t* Stav) {
    auto& s = stav();
    if (!druhPlatny(Rozhrani) || !s.vazba) return KodNeplatne;
    const uint8_t druh = s.druh;
    const uint32_t kod = s.vazba->Send(Handle, Pozadavek, Odpoved, Vystup, Stav);
    return ztracena(s) ? poZtrate(s, kod, druh) : kod;
}

uint32_t OvladacDone(uint8_t Rozhrani, uint32_t& Handle) {
    Stav& s = stav();
    if (!druhPlatny(Rozhrani) || !s.vazba) return KodNeplatne;
    const uint8_t druh = s.druh;
    const uint32_t kod = s.vazba->Done(Handle);
    const bool pryc = s.vazba->Ztracena();
    if (pryc) zapisZtratu(s);
    // Nothing of the released library may be called again.
    s.uvolni();
    return pryc ? poZtrate(s, kod, druh) : kod;
}

uint32_t OvladacError(uint8_t Rozhrani, uint32_t Kod, TTextPole& Text) {
    if (Kod < 100) {
        Stav& s = stav();
        if (s.zastavit && s.texty.count(Kod)) {
            Text = s.texty[Kod];
            return 0;
        }
        if (!druhPlatny(Rozhrani) || !s.vazba) return KodNeplatne;
        const uint8_t druh = s.druh;
        const uint32_t kod = s.vazba->Error(Kod, Text.data());
        if (ztracena(s)) return poZtrate(s, kod, druh);
        if (s.zastavit && kod == 0) s.texty[Kod] = Text;
        return kod;
    }
    TextNaPole(CeskyTextChyby(0, Kod), Text);
    return 0;
}

void OvladacUvolni() {
    stav().uvolni();
}

QString OvladacVazba() {
    const Stav& s = stav();
    return s.vazba ? s.popis : QString();
}

QString OvladacDuvod() {
    return stav().duvod;
}

void NastavPreruseniOvladace(std::function<bool()> Zastavit) {
    stav().zastavit = std::move(Zastavit);
}

bool OvladacOpusten() {
    return stav().opusteno;
}

QString OvladacZtrata() {
    const Stav& s = stav();
    return s.ztrata ? s.duvod : QString();
}

void ProvedPrikaz(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, uint8_t Prikaz, uint8_t P5,
                  uint8_t* B0, uint8_t* B1, uint8_t* B2, uint8_t* B3, uint8_t* B4, uint8_t& Chyba,
                  TOdpoved& Odpoved) {
    if (Handle == 0) return;
    if (!B0 || !B1 || !B2 || !B3 || !B4) {
        Chyba = KodPozadavek;
        return;
    }
    uint32_t Pozadavek[8] = {Adresa, Prikaz, P5, *B0, *B1, *B2, *B3, *B4};
    TMereniPrikazu Mereni(Rozhrani, Adresa, Prikaz, P5, {*B0, *B1, *B2, *B3, *B4});
    // Preset so that a driver that writes nothing can never read as success
    // or leave stale reply bytes behind.
    Odpoved.fill(0);
    uint32_t Vystup = 0;
    uint32_t Stav = KodNeplatne;
    const uint32_t kod = OvladacSend(Rozhrani, Handle, Pozadavek, Odpoved.data(), &Vystup, &Stav);
    if (kod != 0) Stav = kod;
    Chyba = Stav > 255 ? 255 : static_cast<uint8_t>(Stav);
    zapamatujText(Rozhrani, Chyba);
    if (Stav == 0) {
        *B0 = static_cast<uint8_t>(Vystup);
        *B1 = static_cast<uint8_t>(Odpoved[0]);
        *B2 = static_cast<uint8_t>(Odpoved[1]);
        *B3 = static_cast<uint8_t>(Odpoved[2]);
        *B4 = static_cast<uint8_t>(Odpoved[3]);
    } else {
        *B0 = *B1 = *B2 = *B3 = *B4 = 0;
    }
    Mereni.Oznam({*B0, *B1, *B2, *B3, *B4}, Chyba);
}

QString CeskyTextChyby(uint8_t Rozhrani, uint32_t Kod) {
    if (Kod < 100) {
        TTextPole text{};
        OvladacError(Rozhrani, Kod, text);
        return PoleNaText(text);
    }
    if (Kod >= KodNenacteno && druhPlatny(Kod - KodNenacteno))
        return QString::fromUtf8(kNenacteno).arg(souborDll(Kod - KodNenacteno));
    if (Kod == KodPreruseno) return QString::fromUtf8(kPreruseno);
    if (Kod >= KodNeuplne && druhPlatny(Kod - KodNeuplne))
        return QString::fromUtf8(kNeuplne).arg(souborDll(Kod - KodNeuplne));
    return QString::fromUtf8(kNeznamyKod);
}

QString PrelozTextChyby(const QString& Text) {
    const auto preloz = [](const char* Zdroj) {
        return QCoreApplication::translate("Kxxx410", Zdroj);
    };
    const QByteArray Utf8 = Text.toUtf8();
    for (const char* Zdroj : kTextyOvladace)
        if (Utf8 == Zdroj) return preloz(Zdroj);
    for (const char* Zdroj : {kPreruseno, kNeznamyKod})
        if (Utf8 == Zdroj) return preloz(Zdroj);
    // The library's file is the one part that is not translated.
    for (const char* Vzor : {kNenacteno, kNeuplne}) {
        const QString Zacatek = QString::fromUtf8(Vzor).remove(QStringLiteral("%1"));
        if (Text.startsWith(Zacatek)) return preloz(Vzor).arg(Text.mid(Zacatek.size()));
    }
    return Text;
}

QString TextChyby(uint8_t Rozhrani, uint32_t Kod) {
    return PrelozTextChyby(CeskyTextChyby(Rozhrani, Kod));
}

bool ChybaModulu(uint32_t Kod) {
    return Kod == km::kErrModule || Kod == km::kErrUnknownCommand || Kod == km::kErrBadRegister ||
           Kod == km::kErrBadValue;
}

bool NejasnaOdpoved(uint32_t Kod) {
    return Kod == km::kErrCorrupt || Kod == km::kErrOtherModule;
}

bool SpojeniOtevreno(const TData* Data) {
    return Data && Data->Pripojeno && Data->Handle != 0;
}

void Pauza() {
    using namespace std::chrono;
    QCoreApplication::processEvents();
    const auto Konec = steady_clock::now() + milliseconds(1);
    // A sleep ends late by the system's timer slack and wake-up (0.1 ms
    // and more here, 10% of the pause, 24 times in a full transfer). Sleep
    // short of the end and wait out the rest awake.
    std::this_thread::sleep_until(Konec - microseconds(250));
    while (steady_clock::now() < Konec) {
    }
}

// ------------------------------------------------------------ observer

namespace {

struct Pozorovani {
    std::shared_ptr<const TPozorovatel> pozorovatel;
    uint64_t token = 0;
    uint64_t dalsi = 1;
};

Pozorovani& pozorovani() {
    static Pozorovani p;
    return p;
}

} // namespace

uint64_t NastavPozorovatele(TPozorovatel Pozorovatel) {
    Pozorovani& p = pozorovani();
    if (!Pozorovatel) {
        p.pozorovatel.reset();
        p.token = 0;
        return 0;
    }
    p.pozorovatel = std::make_shared<const TPozorovatel>(std::move(Pozorovatel));
    p.token = p.dalsi++;
    return p.token;
}

void ZrusPozorovatele(uint64_t Token) {
    Pozorovani& p = pozorovani();
    if (Token != 0 && p.token == Token) NastavPozorovatele({});
}

bool PozorovatelTrva(uint64_t Token) {
    return Token != 0 && pozorovani().token == Token;
}

bool JePozorovatel() {
    return static_cast<bool>(pozorovani().pozorovatel);
}

TMereniPrikazu::TMereniPrikazu(uint8_t Rozhrani, uint8_t Adresa, uint8_t Prikaz, uint8_t P5,
                               const std::array<uint8_t, 5>& Pozadavek)
    : Sledovat_(JePozorovatel()) {
    if (!Sledovat_) return;
    Zaznam_.Cas = MistniCas();
    Zaznam_.Rozhrani = Rozhrani;
    Zaznam_.Adresa = Adresa;
    Zaznam_.Prikaz = Prikaz;
    Zaznam_.P5 = P5;
    Zaznam_.Pozadavek = Pozadavek;
    Start_ = std::chrono::steady_clock::now();
}

void TMereniPrikazu::Oznam(const std::array<uint8_t, 5>& Odpoved, uint8_t Chyba) {
    if (!Sledovat_) return;
    const int64_t Us = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::steady_clock::now() - Start_)
                           .count();
    Zaznam_.DobaUs = static_cast<uint32_t>(std::clamp<int64_t>(Us, 0, UINT32_MAX));
    Zaznam_.Odpoved = Odpoved;
    Zaznam_.Chyba = Chyba;
    // A copy of the reference, so an observer that removes itself (or the
    // log that owns it) while being called stays alive to the end.
    const std::shared_ptr<const TPozorovatel> p = pozorovani().pozorovatel;
    if (p) (*p)(Zaznam_);
}
