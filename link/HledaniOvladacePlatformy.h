// Inside HledaniOvladace: what each platform's file supplies, and the steps
// of the common file that those files use. Included by the unit's own files
// only.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <optional>

struct TNavazani;

// ---- One file per platform.

// The ending of this platform's own library files: ".so"; on Windows
// ".DLL", the maker's own.
QString PriponaVlastni();
// The host that runs a library built for this platform.
QString HostitelVlastni();
// Binds the maker's DLL at Cesta, whose PE header says Bity (0: none).
TNavazani NavazDll(uint8_t Druh, const QString& Cesta, int Bity, bool Izolace);

// ---- The common file.

// The host for the maker's 32-bit libraries.
inline constexpr QStringView Hostitel32 = u"km207-driverhost.exe";

// The library at Cesta in this process.
TNavazani VProcesu(uint8_t Druh, const QString& Cesta);
// The library at Cesta through the host named Hostitel, found beside the
// program; Wine is the command that runs it, empty for none. Nespusten,
// when given, tells whether the host was found and started but never
// answered.
TNavazani PresHostitele(uint8_t Druh, const QString& Hostitel, const QStringList& Wine,
                        const QString& Cesta, bool* Nespusten = nullptr);
// Nothing bound: 100 + kind.
TNavazani Nenacteno(uint8_t Druh);
// What NastavOdpovedSondy32 set.
std::optional<bool> OdpovedSondy32();
