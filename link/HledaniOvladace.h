// Finding a kind's driver library and binding it the way it can run here:
// in this process, or in km207-driverhost (the maker's 32-bit DLL: the
// 32-bit host, under Wine on Linux). The folders searched, the PE header
// and Wine are this unit's; what differs by platform is in one file each
// (HledaniOvladace_posix.cpp, HledaniOvladace_win32.cpp). Kxxx410 keeps what
// was bound.
#pragma once

#include "VazbaOvladace.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

struct TNavazani {
    std::unique_ptr<VazbaOvladace> Vazba; // null when nothing could be bound
    uint32_t Kod = 0;                     // else 100 + kind or 110 + kind
    // The library and how it runs, for OvladacVazba: its path, and
    // " přes km207-driverhost.exe (Wine)" or the like when a host runs it.
    QString Popis;
    // Why the maker's library could not run, for OvladacDuvod; empty when
    // no cause is known.
    QString Duvod;
    // A host process was started for it; it must end at the latest with
    // the application.
    bool Hostitel = false;
};

// Finds the library of kind Druh (0-4) and binds it: in each folder the
// maker's DLL first (any case of its name), then this platform's own file;
// else the platform's library search by the exact file name. A library is
// run in this process when it can be and no isolation is asked for, else
// through the fitting host.
TNavazani NavazOvladac(uint8_t Druh);

// Folder searched first for the driver libraries: the executable's folder,
// or the one tests set; empty restores the default. Its ../lib/km207 comes
// second, then the platform's library search.
void NastavAdresarOvladacu(const QString& Adresar);

// Runs every driver library in km207-driverhost, a process of its own, also
// one this process could load itself: a library that crashes or hangs then
// cannot take the program with it. Also on when the environment variable
// KM207_DRIVER_HOST is 1. Takes effect at the next OvladacInit.
void NastavIzolaciOvladacu(bool Zapnuto);

// Tests only: the answer to "does this machine run 32-bit programs" in
// place of the probe of the machine; nullopt asks the probe again.
void NastavOdpovedSondy32(std::optional<bool> Odpoved);
