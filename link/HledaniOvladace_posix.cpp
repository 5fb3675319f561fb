// Linux and the like: the project's own libraries are .so files; the
// maker's 32-bit DLL runs in the 32-bit host under Wine.
#include "HledaniOvladace.h"
#include "HledaniOvladacePlatformy.h"

#include "machine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

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
    const std::optional<bool> zadana = OdpovedSondy32();
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
        return QCoreApplication::translate(
                   "HledaniOvladace",
                   "program Wine není nainstalován, a 32bitovou knihovnu %1 spouští "
                   "km207-driverhost.exe právě pod Wine. Nainstalujte ho: %2")
            .arg(knihovna, instalace + QStringLiteral("wine wine32"));
    if (!strojBezi32())
        return QCoreApplication::translate(
                   "HledaniOvladace",
                   "tento systém neumí spouštět 32bitové programy (jádro je odmítá), "
                   "a tak ani Wine nespustí 32bitový km207-driverhost.exe pro knihovnu "
                   "%1. Pomůže jádro s podporou 32bitových programů (IA32 emulation), "
                   "jiný počítač s Linuxem nebo Windows.")
            .arg(knihovna);
    if (chybiWine32(wine.first()))
        return QCoreApplication::translate(
                   "HledaniOvladace",
                   "chybí wine32, 32bitová část Wine, bez níž Wine nespustí "
                   "32bitový km207-driverhost.exe pro knihovnu %1. Nainstalujte ji: %2")
            .arg(knihovna, instalace + QStringLiteral("wine32"));
    return QCoreApplication::translate(
               "HledaniOvladace",
               "km207-driverhost.exe pro knihovnu %1 se pod Wine nespustil; hlášení "
               "Wine jsou na chybovém výstupu programu.")
        .arg(knihovna);
}

} // namespace

QString PriponaVlastni() {
    return QStringLiteral(".so");
}

QString HostitelVlastni() {
    return QStringLiteral("km207-driverhost");
}

TNavazani NavazDll(uint8_t Druh, const QString& Cesta, int Bity, bool) {
    // Only the 32-bit host exists for Windows libraries, run by Wine.
    if (Bity != 32) return Nenacteno(Druh);
    const QString knihovna = QFileInfo(Cesta).fileName();
    const QStringList wine = prikazWine();
    if (wine.isEmpty()) {
        TNavazani n = Nenacteno(Druh);
        n.Duvod = duvodWine(wine, knihovna);
        return n;
    }
    bool nespusten = false;
    TNavazani n = PresHostitele(Druh, Hostitel32.toString(), wine, Cesta, &nespusten);
    if (nespusten) n.Duvod = duvodWine(wine, knihovna);
    return n;
}
