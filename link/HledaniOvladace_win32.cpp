// Windows: the maker's DLL is the platform's own library. One of this
// program's width runs in its process; a 32-bit one in the 32-bit host.
#include "HledaniOvladace.h"
#include "HledaniOvladacePlatformy.h"

QString PriponaVlastni() {
    return QStringLiteral(".DLL");
}

QString HostitelVlastni() {
    return sizeof(void*) == 8 ? QStringLiteral("km207-driverhost64.exe") : Hostitel32.toString();
}

TNavazani NavazDll(uint8_t Druh, const QString& Cesta, int Bity, bool Izolace) {
    const int vlastni = int(sizeof(void*) * 8);
    if (Bity == vlastni && !Izolace) return VProcesu(Druh, Cesta);
    if (Bity == vlastni) return PresHostitele(Druh, HostitelVlastni(), {}, Cesta);
    if (Bity == 32) return PresHostitele(Druh, Hostitel32.toString(), {}, Cesta);
    return Nenacteno(Druh);
}
