// One sample of the values over time: the counter (with the mode it was
// formatted by), the inputs and the status register read in one go, the
// counter's rate by the wrap rule of its mode, and the CSV row that the
// trend window and `km207 watch trend --csv` both write. QtCore only.
#pragma once

#include "Dekl.h"
#include "Komunikace.h"
#include "Operace.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

struct TVzorek {
    qint64 Cas = 0;               // local wall-clock time of the sample, ms since 1970 (MistniCas)
    std::optional<uint8_t> Mod;   // counter mode register
    std::optional<int64_t> Citac; // as the counter view shows it (signed in mode 2)
    // Steady clock, µs, halfway through the counter's exchange: the rate's
    // time base, free of the mode read before it and of clock steps.
    int64_t CitacUs = 0;
    std::optional<uint32_t> Vstupy; // DIN0 = bit 0
    std::optional<uint32_t> Stav;   // status register, bit 0 first
    int Selhani = 0;                // reads of this sample that failed (0-3)
    uint8_t Chyba = 0;              // the first failure's code; 0 when all came
};

// Reads one sample from the module of Cil: the counter mode register and
// the counter (as the counter view polls), the inputs, the status register,
// Pauza between two commands. A failed read leaves its value empty; the
// counter is not read after a failed mode read. Cas is taken before the
// first command.
TVzorek CtiVzorek(const TCil& Cil, const std::function<void()>& Pauza = {});

// Counter bytes B1-B4 as a number by the mode: sign and 23-bit magnitude in
// mode 2, an unsigned 32-bit number otherwise (CitacNaText's rule).
int64_t CitacNaCislo(uint8_t Mod, uint8_t B1, uint8_t B2, uint8_t B3, uint8_t B4);

// Counts between two readings in one mode, taking one wrap of the mode's
// range as the shorter way round: 2^32 (mode 0 and above 2), 2^23 (mode 1),
// 2^24 - 1 values -(2^23-1)..2^23-1 (mode 2). Counting down is negative.
int64_t RozdilCitace(uint8_t Mod, int64_t Predchozi, int64_t Soucasny);

// The counter's rate in counts per second, from one sample to the next
// good one. No rate for the first sample, after a change of mode, or when
// the counter of the sample is missing; a gap in between is bridged.
class TRychlostCitace {
  public:
    std::optional<double> Dalsi(const TVzorek& Vzorek);
    void Zacni() { Posledni_.reset(); }

  private:
    struct TBod {
        int64_t Us;
        uint8_t Mod;
        int64_t Citac;
    };
    std::optional<TBod> Posledni_;
};

// CSV of samples: "cas,citac,rychlost,vstupy,stav,chyba". Time local
// "yyyy-MM-dd HH:mm:ss.zzz", counter decimal, rate in counts per second with
// one decimal, inputs and status "0x" and eight hex digits, chyba the code
// of the first failed read (0: all read). A failed value is an empty field.
// "CSV pro Excel" (TDialektCsv): the same columns, by its separator and
// decimal sign.
QString HlavickaPrubehuCsv(TDialektCsv Dialekt = TDialektCsv::Zakladni);
// A 32-bit word as the CSV and the trend window show it: "0x" and eight
// upper-case hex digits.
QString SlovoNaHex(uint32_t Slovo);
// A status bit by its name, "b8" for a bit without one ("---").
QString ZnackaBituStavu(int Bit);
QString RadekPrubehuCsv(const TVzorek& Vzorek, std::optional<double> Rychlost,
                        TDialektCsv Dialekt = TDialektCsv::Zakladni);

// A CSV recording written as samples come: opened through OtevriNovySoubor
// (or standard output for "-"), header first, flushed at least once a
// second so that a crash keeps what was recorded.
class TZaznamPrubehu {
  public:
    ~TZaznamPrubehu() { Zavri(); }
    bool Otevri(const QString& Cesta, QString& Chyba, TDialektCsv Dialekt = TDialektCsv::Zakladni);
    bool Otevreno() const { return Soubor_.isOpen(); }
    QString Cesta() const { return Cesta_; }
    // Writes one row; flushes when the last flush is 1 s old. False (and
    // the recording closed) when the file cannot be written.
    bool Pridej(const TVzorek& Vzorek, std::optional<double> Rychlost, QString& Chyba);
    // Flushes what is written (a timer calls it every second).
    void Dopln();
    void Zavri();
    qint64 Radku() const { return Radku_; }

  private:
    bool Zapis(const QByteArray& Radek, QString& Chyba);
    QFile Soubor_;
    QString Cesta_;
    QElapsedTimer Doplneno_;
    bool Cekajici_ = false;
    bool Vystup_ = false; // standard output
    TDialektCsv Dialekt_ = TDialektCsv::Zakladni;
    qint64 Radku_ = 0;
};
