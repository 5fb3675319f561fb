// One sample of the values over time: the counter (with the mode it was
// formatted by), the inputs and the status register read in one go, the
// counter's rate over a window of time by the wrap rule of its mode, and
// the CSV row that the trend window and `km207 watch trend --csv` both
// write. QtCore only.
#pragma once

#include "Dekl.h"
#include "Komunikace.h"
#include "Operace.h"

#include <QFile>
#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

struct TVzorek {
    // Local wall-clock time, ms since 1970 (MistniCas), when the counter's
    // reply came; without it, the first later reply of the sample, or its
    // start when nothing came. A retried read is stamped when it came.
    qint64 Cas = 0;
    std::optional<uint8_t> Mod;   // counter mode register
    std::optional<int64_t> Citac; // as the counter view shows it (signed in mode 2)
    // Steady clock, µs, when the counter's reply came: the rate's time
    // base, free of the mode read before it, of retries and of clock steps.
    int64_t CitacUs = 0;
    std::optional<uint32_t> Vstupy; // DIN0 = bit 0
    std::optional<uint32_t> Stav;   // status register, bit 0 first
    int Selhani = 0;                // reads of this sample that failed (0-3)
    uint8_t Chyba = 0;              // the first failure's code; 0 when all came
};

// Reads one sample from the module of Cil: the counter mode register and
// the counter (as the counter view polls), the inputs, the status register,
// Pauza between two commands. A failed read leaves its value empty; the
// counter is not read after a failed mode read.
TVzorek CtiVzorek(const TCil& Cil, const std::function<void()>& Pauza = {});

// Counter bytes B1-B4 as a number by the mode: sign and 23-bit magnitude in
// mode 2, an unsigned 32-bit number otherwise (CitacNaText's rule).
int64_t CitacNaCislo(uint8_t Mod, uint8_t B1, uint8_t B2, uint8_t B3, uint8_t B4);

// Counts between two readings in one mode, taking one wrap of the mode's
// range as the shorter way round: 2^32 (mode 0 and above 2), 2^23 (mode 1),
// 2^24 - 1 values -(2^23-1)..2^23-1 (mode 2). Counting down is negative.
int64_t RozdilCitace(uint8_t Mod, int64_t Predchozi, int64_t Soucasny);

// The counter's rate in counts per second over a window of time: the
// counts from the last sample at or before the window's start to the
// newest, over the time between their replies. One count more or less then
// moves the rate by a window's worth, not a period's. Until a window's worth
// of samples has come, over the samples there are. No rate for the first
// sample; a sample without the counter (a failed read) or in another mode
// starts afresh, so a module restarted or replaced meanwhile shows no
// counting that never happened.
class TRychlostCitace {
  public:
    static constexpr int VychoziOkno = 1000; // ms
    static constexpr int NejkratsiOkno = 100;
    static constexpr int NejdelsiOkno = 60000;

    explicit TRychlostCitace(int OknoMs = VychoziOkno) { NastavOkno(OknoMs); }
    // From the next sample on; clamped to the bounds above.
    void NastavOkno(int Ms);
    int Okno() const { return static_cast<int>(OknoUs_ / 1000); }
    std::optional<double> Dalsi(const TVzorek& Vzorek);
    void Zacni() { Body_.clear(); }

  private:
    struct TBod {
        int64_t Us;
        int64_t Celkem; // counts since the start, wraps taken out
    };
    std::deque<TBod> Body_;
    int64_t OknoUs_ = 0;
    uint8_t Mod_ = 0;
    int64_t Posledni_ = 0; // the newest counter as read
};

// CSV of samples: "cas,citac,rychlost,vstupy,stav,chyba". Time local
// "yyyy-MM-dd HH:mm:ss.zzz" (TVzorek::Cas), counter decimal as read, rate
// over its window in counts per second with one decimal, inputs and status "0x" and eight hex
// digits, chyba the code of the first failed read (0: all read). A failed value is an empty field.
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
// (appended to, a new file or with Prepsat an existing one emptied in place)
// or standard output for "-", header first. Each row goes out whole at once,
// so a crash keeps what was recorded; a row that does not go out whole is
// taken back, so the file holds whole rows only.
class TZaznamPrubehu {
  public:
    ~TZaznamPrubehu() { Zavri(); }
    bool Otevri(const QString& Cesta, QString& Chyba, bool Prepsat = true,
                TDialektCsv Dialekt = TDialektCsv::Zakladni);
    bool Otevreno() const { return Soubor_.isOpen(); }
    QString Cesta() const { return Cesta_; }
    // Writes one row. False (and the recording closed) when the file cannot
    // be written; Chyba names it and says why.
    bool Pridej(const TVzorek& Vzorek, std::optional<double> Rychlost, QString& Chyba);
    // Closes the file; false, with Chyba, when closing failed (what was
    // written may not have reached the disk).
    bool Zavri();
    const QString& Chyba() const { return Chyba_; }
    qint64 Radku() const { return Radku_; }

  private:
    bool Zapis(const QByteArray& Radek, QString& Chyba);
    // "souboru X" or standard output, for the messages.
    QString Cil() const;
    QFile Soubor_;
    QString Cesta_;
    QString Chyba_;
    bool Vystup_ = false; // standard output
    TDialektCsv Dialekt_ = TDialektCsv::Zakladni;
    qint64 Radku_ = 0;
};
