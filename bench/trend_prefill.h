// An hour (or any span) of made-up samples for the trend window, ending now,
// as benchmarks and screenshots pre-fill its history: a counter at 1000 per
// second, DIN0 toggling every 300 ms and DIN3 every 5 s, a status bit
// changing every 10 minutes, one failed read in a hundred samples.
#pragma once

#include "Prubeh.h"

#include <QDateTime>

inline void PredvyplnPrubeh(TForm16& Okno, double Hodin, int PeriodaMs = 100) {
    const qint64 Pocet = static_cast<qint64>(Hodin * 3600.0 * 1000.0 / PeriodaMs);
    const qint64 Konec = QDateTime::currentMSecsSinceEpoch();
    for (qint64 i = 0; i < Pocet; ++i) {
        TVzorek V;
        V.Cas = Konec - (Pocet - i) * PeriodaMs;
        const qint64 t = i * PeriodaMs;
        V.Mod = 0;
        V.Citac = (t + (i % 7)) & 0xFFFFFFFF;
        V.CitacUs = t * 1000;
        V.Vstupy = static_cast<uint32_t>((t / 300) & 1) |
                   static_cast<uint32_t>((t / 5000) & 1) << 3 | 0x00A50000u;
        V.Stav = 0x34u | static_cast<uint32_t>((t / 600000) & 1) << 6;
        if (i % 100 == 99) {
            V.Stav.reset();
            V.Selhani = 1;
            V.Chyba = 5;
        }
        Okno.PridejVzorek(V);
    }
}
