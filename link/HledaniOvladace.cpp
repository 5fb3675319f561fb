#include "HledaniOvladace.h"

#include "HledaniOvladacePlatformy.h"
#include "Rozhrani.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

struct Nastaveni {
    QString adresar;
    bool izolace = false;
    std::optional<bool> odpovedSondy32; // tests stand in for the probe
};

Nastaveni& nastaveni() {
    static Nastaveni n;
    return n;
}

// A folder and the private folder of an installation beside it.
QStringList slozkyHledani(const QString& slozka) {
    const QString soukroma = SoukromaSlozka(slozka);
    return soukroma == QDir::cleanPath(slozka) ? QStringList{slozka}
                                               : QStringList{slozka, soukroma};
}

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

struct Nalez {
    bool dll = false;
    QString cesta;      // a bare file name for the platform's search
    QStringList slozky; // the folders searched
};

Nalez najdiKnihovnu(uint8_t druh) {
    const QString& adresar = nastaveni().adresar;
    const QString zaklad = adresar.isEmpty() ? QCoreApplication::applicationDirPath() : adresar;
    const TRozhrani& r = *NajdiRozhrani(druh);
    const QString dll = r.Knihovna();
    const QString vlastni = r.Knihovna(PriponaVlastni());
    const QStringList slozky = slozkyHledani(zaklad);
    for (const QString& slozka : slozky) {
        const QDir d(slozka);
        const QStringList nalezene = d.entryList({dll}, QDir::Files);
        if (!nalezene.isEmpty()) return {true, d.filePath(nalezene.first()), slozky};
        // Where the platform's own file is another one (.so), it comes second.
        if (vlastni == dll) continue;
        const QString cesta = d.filePath(vlastni);
        if (QFileInfo(cesta).isFile()) return {false, cesta, slozky};
    }
    return {false, vlastni, slozky};
}

// Why a library that is in none of the folders did not load: where it was
// looked for, and that the working folder is not (one of that name there,
// which anyone could have left, is never loaded).
QString duvodChybi(const Nalez& nalez) {
    QStringList slozky;
    for (const QString& s : nalez.slozky)
        slozky << QDir::toNativeSeparators(QDir::cleanPath(s));
    const QString pracovni = QDir::currentPath();
    const bool vPracovni = QFileInfo(QDir(pracovni).filePath(nalez.cesta)).isFile() &&
                           !nalez.slozky.contains(pracovni);
    const char* vzor =
        slozky.size() > 1
            ? (vPracovni ? QT_TRANSLATE_NOOP("HledaniOvladace",
                                             "knihovna %1 není ve složce programu %2 ani v %3 a "
                                             "nenašlo ji ani systémové hledání knihoven; pracovní "
                                             "složka se neprohledává, a tak se %1 z ní (%4) "
                                             "nenačte")
                         : QT_TRANSLATE_NOOP("HledaniOvladace",
                                             "knihovna %1 není ve složce programu %2 ani v %3 a "
                                             "nenašlo ji ani systémové hledání knihoven; pracovní "
                                             "složka se neprohledává"))
        : vPracovni ? QT_TRANSLATE_NOOP("HledaniOvladace",
                                        "knihovna %1 není ve složce programu %2 a nenašlo ji ani "
                                        "systémové hledání knihoven; pracovní složka se "
                                        "neprohledává, a tak se %1 z ní (%3) nenačte")
                    : QT_TRANSLATE_NOOP("HledaniOvladace",
                                        "knihovna %1 není ve složce programu %2 a nenašlo ji ani "
                                        "systémové hledání knihoven; pracovní složka se "
                                        "neprohledává");
    // One pass of arg, so a '%' in a folder's name stays as it is.
    QStringList dalsi;
    if (slozky.size() > 1) dalsi << slozky.mid(1).join(QStringLiteral(", "));
    if (vPracovni) dalsi << QDir::toNativeSeparators(pracovni);
    const QString text = QCoreApplication::translate("HledaniOvladace", vzor);
    switch (dalsi.size()) {
    case 0:
        return text.arg(nalez.cesta, slozky.value(0));
    case 1:
        return text.arg(nalez.cesta, slozky.value(0), dalsi[0]);
    default:
        return text.arg(nalez.cesta, slozky.value(0), dalsi[0], dalsi[1]);
    }
}

bool izolaceZapnuta() {
    return nastaveni().izolace || qEnvironmentVariable("KM207_DRIVER_HOST") == QStringLiteral("1");
}

} // namespace

TNavazani NavazOvladac(uint8_t Druh) {
    const Nalez nalez = najdiKnihovnu(Druh);
    const bool izolace = izolaceZapnuta();
    if (nalez.dll) return NavazDll(Druh, nalez.cesta, bityKnihovny(nalez.cesta), izolace);
    TNavazani n = izolace ? PresHostitele(Druh, HostitelVlastni(), {}, nalez.cesta)
                          : VProcesu(Druh, nalez.cesta);
    // Found in none of the folders, nor by the platform's search.
    if (n.Kod == KodNenacteno + Druh && n.Duvod.isEmpty() && QFileInfo(nalez.cesta).isRelative())
        n.Duvod = duvodChybi(nalez);
    return n;
}

TNavazani VProcesu(uint8_t Druh, const QString& Cesta) {
    TNavazani n;
    n.Popis = QDir::toNativeSeparators(Cesta);
    n.Vazba = VazbaVProcesu(Druh, Cesta, n.Kod);
    return n;
}

TNavazani PresHostitele(uint8_t Druh, const QString& Hostitel, const QStringList& Wine,
                        const QString& Cesta, bool* Nespusten) {
    TNavazani n = Nenacteno(Druh);
    if (Nespusten) *Nespusten = false;
    const QString program = najdiHostitele(Hostitel);
    if (program.isEmpty()) {
        n.Duvod = QCoreApplication::translate("HledaniOvladace",
                                              "vedle programu chybí %1, který knihovnu %2 spouští.")
                      .arg(Hostitel, QFileInfo(Cesta).fileName());
        return n;
    }
    SpusteniHostitele s;
    if (Wine.isEmpty()) {
        s.Program = program;
    } else {
        s.Program = Wine.first();
        s.Argumenty = Wine.mid(1) << program;
        s.Wine = true;
    }
    n.Hostitel = true;
    bool odpovedel = false;
    n.Vazba = VazbaPresHostitele(Druh, s, Cesta, n.Kod, &odpovedel, &n.Duvod);
    if (Nespusten) *Nespusten = !n.Vazba && !odpovedel;
    n.Popis = (s.Wine ? QCoreApplication::translate("HledaniOvladace", "%1 přes %2 (Wine)")
                      : QCoreApplication::translate("HledaniOvladace", "%1 přes %2"))
                  .arg(QDir::toNativeSeparators(Cesta), Hostitel);
    return n;
}

TNavazani Nenacteno(uint8_t Druh) {
    TNavazani n;
    n.Kod = KodNenacteno + Druh;
    return n;
}

std::optional<bool> OdpovedSondy32() {
    return nastaveni().odpovedSondy32;
}

void NastavAdresarOvladacu(const QString& Adresar) {
    nastaveni().adresar = Adresar;
}

void NastavIzolaciOvladacu(bool Zapnuto) {
    nastaveni().izolace = Zapnuto;
}

void NastavOdpovedSondy32(std::optional<bool> Odpoved) {
    nastaveni().odpovedSondy32 = Odpoved;
}
