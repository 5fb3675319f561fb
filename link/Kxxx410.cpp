#include "Kxxx410.h"
#include "Komunikace.h"

#include "km_driver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <chrono>
#include <memory>
#include <thread>

namespace {

struct Ovladac {
    const char* soubor; // name in the texts, as on the original platform
    const char* prefix;
};

const Ovladac kOvladace[5] = {
    {"KSER410.DLL", "KSER410"}, {"KIB410.DLL", "KIB410"}, {"KPB4100.DLL", "KPB4100"},
    {"KUB4100.DLL", "KUB4100"}, {"KL4100.DLL", "KL4100"},
};

// The one binding of the process: at most one link exists at a time.
struct Vazba {
    std::unique_ptr<QLibrary> knihovna;
    KmVersionFn version = nullptr;
    void* init = nullptr; // one of the three Init forms, by kind
    KmSetConfigFn setConfig = nullptr;
    KmGetConfigFn getConfig = nullptr;
    KmSendFn send = nullptr;
    KmDoneFn done = nullptr;
    KmErrorFn error = nullptr;
    // Init failed but the library stays, so its error text can be read.
    bool poNeuspechu = false;

    void zrusOdkazy() {
        version = nullptr;
        init = nullptr;
        setConfig = nullptr;
        getConfig = nullptr;
        send = nullptr;
        done = nullptr;
        error = nullptr;
    }

    void uvolni() {
        zrusOdkazy();
        if (knihovna) {
            knihovna->unload();
            knihovna.reset();
        }
        poNeuspechu = false;
    }
};

Vazba& vazba() {
    static Vazba v;
    return v;
}

QString& adresarOvladacu() {
    static QString adresar;
    return adresar;
}

QString souborKnihovny(uint8_t druh) {
#ifdef Q_OS_WIN
    return QString::fromLatin1(kOvladace[druh].soubor);
#else
    return QString::fromLatin1(kOvladace[druh].prefix) + QStringLiteral(".so");
#endif
}

// The executable's folder first, then the platform's library search.
std::unique_ptr<QLibrary> nactiKnihovnu(uint8_t druh) {
    const QString adresar =
        adresarOvladacu().isEmpty() ? QCoreApplication::applicationDirPath() : adresarOvladacu();
    const QString cesta = QDir(adresar).filePath(souborKnihovny(druh));
    if (QFileInfo::exists(cesta)) {
        auto lib = std::make_unique<QLibrary>(cesta);
        if (lib->load()) return lib;
    }
    auto lib = std::make_unique<QLibrary>(souborKnihovny(druh));
    if (lib->load()) return lib;
    return nullptr;
}

bool druhPlatny(uint8_t druh) {
    return druh <= 4;
}

} // namespace

uint32_t OvladacInit(uint8_t Rozhrani, uint32_t& Handle, TKonfigOvladace KonfigOvladace) {
    Vazba& v = vazba();
    // A library kept after a failed Init has served its purpose now.
    if (v.poNeuspechu) v.uvolni();
    v.zrusOdkazy();
    if (!druhPlatny(Rozhrani)) return KodNeplatne;

    auto lib = nactiKnihovnu(Rozhrani);
    if (!lib) return KodNenacteno + Rozhrani;

    const QByteArray prefix = QByteArray(kOvladace[Rozhrani].prefix) + '_';
    auto vstup = [&](const char* nazev) { return lib->resolve((prefix + nazev).constData()); };
    void* version = reinterpret_cast<void*>(vstup("Version"));
    void* init = reinterpret_cast<void*>(vstup("Init"));
    void* setConfig = reinterpret_cast<void*>(vstup("SetConfig"));
    void* getConfig = reinterpret_cast<void*>(vstup("GetConfig"));
    void* send = reinterpret_cast<void*>(vstup("Send"));
    void* done = reinterpret_cast<void*>(vstup("Done"));
    void* error = reinterpret_cast<void*>(vstup("Error"));
    if (!version || !init || !setConfig || !getConfig || !send || !done || !error) {
        lib->unload();
        return KodNeuplne + Rozhrani;
    }

    v.knihovna = std::move(lib);
    v.version = reinterpret_cast<KmVersionFn>(version);
    v.init = init;
    v.setConfig = reinterpret_cast<KmSetConfigFn>(setConfig);
    v.getConfig = reinterpret_cast<KmGetConfigFn>(getConfig);
    v.send = reinterpret_cast<KmSendFn>(send);
    v.done = reinterpret_cast<KmDoneFn>(done);
    v.error = reinterpret_cast<KmErrorFn>(error);

    uint32_t kod;
    switch (Rozhrani) {
    case 0:
    case 1:
        kod = reinterpret_cast<KmInitValueFn>(init)(&Handle,
                                                    static_cast<uint32_t>(KonfigOvladace[0]));
        break;
    case 2:
    case 3:
        kod = reinterpret_cast<KmInitPlainFn>(init)(&Handle);
        break;
    default: {
        // The driver gets its own copy of the block; it must take what it
        // needs during the call.
        TKonfigOvladace kopie = KonfigOvladace;
        kod = reinterpret_cast<KmInitLanFn>(init)(&Handle, kopie.data());
        break;
    }
    }
    v.poNeuspechu = kod != 0;
    return kod;
}

uint32_t OvladacSetConfig(uint8_t Rozhrani, uint32_t Handle, uint32_t Rychlost, uint32_t Casovani,
                          uint32_t Posledni) {
    const Vazba& v = vazba();
    if (!druhPlatny(Rozhrani) || !v.setConfig) return KodNeplatne;
    return v.setConfig(Handle, Rychlost, Casovani, Posledni);
}

uint32_t OvladacSend(uint8_t Rozhrani, uint32_t Handle, uint32_t* Pozadavek, uint32_t* Odpoved,
                     uint32_t* Vystup, uint32_t* Stav) {
    const Vazba& v = vazba();
    if (!druhPlatny(Rozhrani) || !v.send) return KodNeplatne;
    return v.send(Handle, Pozadavek, Odpoved, Vystup, Stav);
}

uint32_t OvladacDone(uint8_t Rozhrani, uint32_t& Handle) {
    Vazba& v = vazba();
    if (!druhPlatny(Rozhrani) || !v.done) return KodNeplatne;
    const uint32_t kod = v.done(&Handle);
    // References into the released library must never be called again.
    v.uvolni();
    return kod;
}

uint32_t OvladacError(uint8_t Rozhrani, uint32_t Kod, TTextPole& Text) {
    if (Kod < 100) {
        const Vazba& v = vazba();
        if (!druhPlatny(Rozhrani) || !v.error) return KodNeplatne;
        return v.error(Kod, Text.data());
    }
    if (Kod >= KodNenacteno && Kod <= KodNenacteno + 4) {
        TextNaPole(QStringLiteral("chyba inicializace knihovny ") +
                       QString::fromLatin1(kOvladace[Kod - KodNenacteno].soubor),
                   Text);
    } else if (Kod >= KodNeuplne && Kod <= KodNeuplne + 4) {
        TextNaPole(QStringLiteral("chybná knihovna ") +
                       QString::fromLatin1(kOvladace[Kod - KodNeuplne].soubor),
                   Text);
    } else {
        TextNaPole(QStringLiteral("neznámý chybový kód"), Text);
    }
    return 0;
}

void OvladacUvolni() {
    vazba().uvolni();
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
