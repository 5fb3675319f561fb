#include "Kxxx410.h"

#include "Rozhrani.h"
#include "VazbaOvladace.h"
#include "driver_library.h"
#include "machine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace {

// The one binding of the process: at most one link exists at a time.
struct Stav {
    std::unique_ptr<VazbaOvladace> vazba;
    uint8_t druh = 0; // kind of the bound library
    QString popis;    // for OvladacVazba
    // Init failed but the library stays, so its error text can be read.
    bool poNeuspechu = false;
    bool izolace = false;
    QString duvod;                      // for OvladacDuvod, set by each Init
    std::optional<bool> odpovedSondy32; // tests stand in for the probe

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

QString& adresarOvladacu() {
    static QString adresar;
    return adresar;
}

bool druhPlatny(uint32_t druh) {
    return NajdiRozhrani(druh) != nullptr;
}

QString prefix(uint8_t druh) {
    return QString::fromLatin1(NajdiRozhrani(druh)->Ovladac().prefix);
}

// The name in the texts, as on the original platform.
QString souborDll(uint8_t druh) {
    return prefix(druh) + QStringLiteral(".DLL");
}

// This platform's own library file of a kind.
QString souborNativni(uint8_t druh) {
#ifdef Q_OS_WIN
    return souborDll(druh);
#else
    return prefix(druh) + QStringLiteral(".so");
#endif
}

// A folder and the private folder of an installation beside it.
QStringList slozkyHledani(const QString& slozka) {
    const QString soukroma = SoukromaSlozka(slozka);
    return soukroma == QDir::cleanPath(slozka) ? QStringList{slozka}
                                               : QStringList{slozka, soukroma};
}

QString hostitelNativni() {
#ifdef Q_OS_WIN
    return sizeof(void*) == 8 ? QStringLiteral("km207-driverhost64.exe")
                              : QStringLiteral("km207-driverhost.exe");
#else
    return QStringLiteral("km207-driverhost");
#endif
}

const QString kHostitel32 = QStringLiteral("km207-driverhost.exe");

// A host executable beside the program or in its private folder.
QString najdiHostitele(const QString& nazev) {
    for (const QString& slozka : slozkyHledani(QCoreApplication::applicationDirPath())) {
        const QString cesta = QDir(slozka).filePath(nazev);
        if (QFileInfo(cesta).isFile()) return cesta;
    }
    return {};
}

// Pointer width of a Windows library from its PE header: 32, 64, or 0 when
// the file is no Windows library.
int bityKnihovny(const QString& cesta) {
    QFile f(cesta);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QByteArray dos = f.read(64);
    if (dos.size() < 64 || !dos.startsWith("MZ")) return 0;
    const auto u = [](const QByteArray& b, int i) { return static_cast<uint8_t>(b.at(i)); };
    const uint32_t pe =
        u(dos, 60) | u(dos, 61) << 8 | u(dos, 62) << 16 | uint32_t(u(dos, 63)) << 24;
    if (pe > f.size() || !f.seek(pe)) return 0;
    const QByteArray hlavicka = f.read(6);
    if (hlavicka.size() < 6 || !hlavicka.startsWith(QByteArray("PE\0\0", 4))) return 0;
    switch (u(hlavicka, 4) | u(hlavicka, 5) << 8) {
    case 0x014C: // i386
        return 32;
    case 0x8664: // x86-64
    case 0xAA64: // ARM64
        return 64;
    default:
        return 0;
    }
}

// Where a kind's library is: in each folder the maker's DLL first (any
// case of its name), then this platform's own file; else the platform's
// library search by the exact file name.
struct Nalez {
    bool dll = false;
    QString cesta; // a bare file name for the platform's search
};

Nalez najdiKnihovnu(uint8_t druh) {
    const QString zaklad =
        adresarOvladacu().isEmpty() ? QCoreApplication::applicationDirPath() : adresarOvladacu();
    for (const QString& slozka : slozkyHledani(zaklad)) {
        const QDir d(slozka);
        const QStringList dll = d.entryList({souborDll(druh)}, QDir::Files);
        if (!dll.isEmpty()) return {true, d.filePath(dll.first())};
#ifndef Q_OS_WIN
        const QString nativni = d.filePath(souborNativni(druh));
        if (QFileInfo(nativni).isFile()) return {false, nativni};
#endif
    }
    return {false, souborNativni(druh)};
}

#ifndef Q_OS_WIN
// The command that runs a Windows program: KM207_WINE, else wine. Empty
// when there is none.
QStringList prikazWine() {
    const QString zadany = qEnvironmentVariable("KM207_WINE").trimmed();
    const QStringList prikaz =
        zadany.isEmpty() ? QStringList{QStringLiteral("wine")} : QProcess::splitCommand(zadany);
    if (prikaz.isEmpty()) return {};
    const QString& program = prikaz.first();
    const bool nalezen = program.contains(QLatin1Char('/'))
                             ? QFileInfo(program).isExecutable()
                             : !QStandardPaths::findExecutable(program).isEmpty();
    return nalezen ? prikaz : QStringList{};
}

bool strojBezi32() {
    const std::optional<bool>& zadana = stav().odpovedSondy32;
    if (zadana) return *zadana;
    return kmhost::runs_32bit_programs() != kmhost::Runs32::no;
}

// Debian's layout: the wine command, with ../lib/wine/ beside its folder
// holding the 64-bit loader "wine64" (package wine64) and the 32-bit one
// "wine" (package wine32). Other layouts are not judged.
bool chybiWine32(const QString& program) {
    const QString cesta =
        program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    if (cesta.isEmpty()) return false;
    const QDir lib(QFileInfo(cesta).absolutePath() + QStringLiteral("/../lib/wine"));
    return QFileInfo(lib.filePath(QStringLiteral("wine64"))).isFile() &&
           !QFileInfo::exists(lib.filePath(QStringLiteral("wine")));
}

// Why Wine cannot run the 32-bit host for `knihovna`: each cause has its
// own remedy, so each its own text. `wine` is the command, empty when none.
QString duvodWine(const QStringList& wine, const QString& knihovna) {
    const QString instalace =
        QStringLiteral("sudo dpkg --add-architecture i386 && sudo apt-get update && "
                       "sudo apt-get install ");
    if (wine.isEmpty())
        return QStringLiteral("program Wine není nainstalován, a 32bitovou knihovnu %1 spouští "
                              "km207-driverhost.exe právě pod Wine. Nainstalujte ho: %2")
            .arg(knihovna, instalace + QStringLiteral("wine wine32"));
    if (!strojBezi32())
        return QStringLiteral("tento systém neumí spouštět 32bitové programy (jádro je odmítá), "
                              "a tak ani Wine nespustí 32bitový km207-driverhost.exe pro knihovnu "
                              "%1. Pomůže jádro s podporou 32bitových programů (IA32 emulation), "
                              "jiný počítač s Linuxem nebo Windows.")
            .arg(knihovna);
    if (chybiWine32(wine.first()))
        return QStringLiteral("chybí wine32, 32bitová část Wine, bez níž Wine nespustí "
                              "32bitový km207-driverhost.exe pro knihovnu %1. Nainstalujte ji: %2")
            .arg(knihovna, instalace + QStringLiteral("wine32"));
    return QStringLiteral("km207-driverhost.exe pro knihovnu %1 se pod Wine nespustil; hlášení "
                          "Wine jsou na chybovém výstupu programu.")
        .arg(knihovna);
}
#endif

bool izolaceZapnuta() {
    return stav().izolace || qEnvironmentVariable("KM207_DRIVER_HOST") == QStringLiteral("1");
}

std::unique_ptr<VazbaOvladace> presHostitele(uint8_t druh, const QString& hostitel,
                                             const QStringList& wine, const QString& cesta,
                                             uint32_t& kod, QString& popis) {
    kod = KodNenacteno + druh;
    const QString knihovna = QFileInfo(cesta).fileName();
    const QString program = najdiHostitele(hostitel);
    if (program.isEmpty()) {
        stav().duvod = QStringLiteral("vedle programu chybí %1, který knihovnu %2 spouští.")
                           .arg(hostitel, knihovna);
        return nullptr;
    }
    SpusteniHostitele s;
    if (wine.isEmpty()) {
        s.Program = program;
    } else {
        s.Program = wine.first();
        s.Argumenty = wine.mid(1) << program;
        s.Wine = true;
    }
    // Ended with the binding, and at the latest when the application ends.
    static const bool uklid = [] {
        qAddPostRoutine(OvladacUvolni);
        return true;
    }();
    Q_UNUSED(uklid);
    bool odpovedel = false;
    auto vazba = VazbaPresHostitele(druh, s, cesta, kod, &odpovedel);
#ifndef Q_OS_WIN
    if (!vazba && !odpovedel && s.Wine) stav().duvod = duvodWine(wine, knihovna);
#endif
    popis = QDir::toNativeSeparators(cesta) + QStringLiteral(" přes ") + hostitel +
            (s.Wine ? QStringLiteral(" (Wine)") : QString());
    return vazba;
}

// Binds the kind's library as it was found: in this process when it can
// run here and no isolation is asked for, else through the fitting host.
std::unique_ptr<VazbaOvladace> navaz(uint8_t druh, uint32_t& kod, QString& popis) {
    const Nalez nalez = najdiKnihovnu(druh);
    const bool izolace = izolaceZapnuta();
    if (nalez.dll) {
        const int bity = bityKnihovny(nalez.cesta);
#ifdef Q_OS_WIN
        if (bity == int(sizeof(void*) * 8) && !izolace) {
            popis = QDir::toNativeSeparators(nalez.cesta);
            return VazbaVProcesu(druh, nalez.cesta, kod);
        }
        if (bity == int(sizeof(void*) * 8))
            return presHostitele(druh, hostitelNativni(), {}, nalez.cesta, kod, popis);
        if (bity == 32) return presHostitele(druh, kHostitel32, {}, nalez.cesta, kod, popis);
#else
        // Only the 32-bit host exists for Windows libraries, run by Wine.
        if (bity == 32) {
            const QStringList wine = prikazWine();
            if (!wine.isEmpty())
                return presHostitele(druh, kHostitel32, wine, nalez.cesta, kod, popis);
            stav().duvod = duvodWine(wine, QFileInfo(nalez.cesta).fileName());
        }
#endif
        kod = KodNenacteno + druh;
        return nullptr;
    }
    if (izolace) return presHostitele(druh, hostitelNativni(), {}, nalez.cesta, kod, popis);
    popis = QDir::toNativeSeparators(nalez.cesta);
    return VazbaVProcesu(druh, nalez.cesta, kod);
}

// The bound library's host failed inside a call: the binding is gone and
// the call reports the library as unavailable.
bool ztracena(Stav& s) {
    if (!s.vazba || !s.vazba->Ztracena()) return false;
    s.uvolni();
    return true;
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
    if (!druhPlatny(Rozhrani)) return KodNeplatne;

    uint32_t kod = 0;
    QString popis;
    std::unique_ptr<VazbaOvladace> vazba = navaz(Rozhrani, kod, popis);
    stara.reset();
    if (!vazba) return kod;
    s.vazba = std::move(vazba);
    s.druh = Rozhrani;
    s.popis = popis;

    kod = s.vazba->Init(Handle, KonfigOvladace);
    if (ztracena(s)) return KodNenacteno + Rozhrani;
    s.poNeuspechu = kod != 0;
    return kod;
}

uint32_t OvladacSetConfig(uint8_t Rozhrani, uint32_t Handle, uint32_t Rychlost, uint32_t Casovani,
                          uint32_t Posledni) {
    Stav& s = stav();
    if (!druhPlatny(Rozhrani) || !s.vazba) return KodNeplatne;
    const uint8_t druh = s.druh;
    const uint32_t kod = s.vazba->SetConfig(Handle, Rychlost, Casovani, Posledni);
    return ztracena(s) ? KodNenacteno + druh : kod;
}

uint32_t OvladacSend(uint8_t Rozhrani, uint32_t Handle, uint32_t* Pozadavek, uint32_t* Odpoved,
                     uint32_t* Vystup, uint32_t* Stav) {
    auto& s = stav();
    if (!druhPlatny(Rozhrani) || !s.vazba) return KodNeplatne;
    const uint8_t druh = s.druh;
    const uint32_t kod = s.vazba->Send(Handle, Pozadavek, Odpoved, Vystup, Stav);
    return ztracena(s) ? KodNenacteno + druh : kod;
}

uint32_t OvladacDone(uint8_t Rozhrani, uint32_t& Handle) {
    Stav& s = stav();
    if (!druhPlatny(Rozhrani) || !s.vazba) return KodNeplatne;
    const uint8_t druh = s.druh;
    const uint32_t kod = s.vazba->Done(Handle);
    const bool pryc = s.vazba->Ztracena();
    // Nothing of the released library may be called again.
    s.uvolni();
    return pryc ? KodNenacteno + druh : kod;
}

uint32_t OvladacError(uint8_t Rozhrani, uint32_t Kod, TTextPole& Text) {
    if (Kod < 100) {
        Stav& s = stav();
        if (!druhPlatny(Rozhrani) || !s.vazba) return KodNeplatne;
        const uint8_t druh = s.druh;
        const uint32_t kod = s.vazba->Error(Kod, Text.data());
        return ztracena(s) ? KodNenacteno + druh : kod;
    }
    if (Kod >= KodNenacteno && druhPlatny(Kod - KodNenacteno)) {
        TextNaPole(QStringLiteral("chyba inicializace knihovny ") +
                       souborDll(static_cast<uint8_t>(Kod - KodNenacteno)),
                   Text);
    } else if (Kod >= KodNeuplne && druhPlatny(Kod - KodNeuplne)) {
        TextNaPole(QStringLiteral("chybná knihovna ") +
                       souborDll(static_cast<uint8_t>(Kod - KodNeuplne)),
                   Text);
    } else {
        TextNaPole(QStringLiteral("neznámý chybový kód"), Text);
    }
    return 0;
}

void OvladacUvolni() {
    stav().uvolni();
}

void NastavIzolaciOvladacu(bool Zapnuto) {
    stav().izolace = Zapnuto;
}

QString OvladacVazba() {
    const Stav& s = stav();
    return s.vazba ? s.popis : QString();
}

QString OvladacDuvod() {
    return stav().duvod;
}

void NastavOdpovedSondy32(std::optional<bool> Odpoved) {
    stav().odpovedSondy32 = Odpoved;
}

void NastavAdresarOvladacu(const QString& Adresar) {
    adresarOvladacu() = Adresar;
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

QString TextChyby(uint8_t Rozhrani, uint32_t Kod) {
    TTextPole text{};
    OvladacError(Rozhrani, Kod, text);
    return PoleNaText(text);
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
