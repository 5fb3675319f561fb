// The history of the trend window: a bounded ring of samples (the oldest
// goes first) with min/max summaries over blocks of 16, 256, 4096 and 65536
// samples, so that one pixel column of the chart costs the same whatever
// the history holds.
#pragma once

#include <QtGlobal>

#include <cstdint>
#include <deque>
#include <limits>
#include <vector>

struct TBodPrubehu {
    qint64 Cas = 0; // local wall-clock ms since 1970, never decreasing
    double Citac = std::numeric_limits<double>::quiet_NaN();    // NaN: not read
    double Rychlost = std::numeric_limits<double>::quiet_NaN(); // NaN: none
    uint32_t Vstupy = 0;
    uint32_t Stav = 0;
    uint8_t Platne = 0; // PlatneVstupy | PlatnyStav
    uint8_t Mod = 0xFF; // counter mode; 0xFF: not read
};
constexpr uint8_t PlatneVstupy = 1;
constexpr uint8_t PlatnyStav = 2;

// Which traces a stretch of samples has values for, and which it misses.
constexpr uint8_t StopaCitac = 1;
constexpr uint8_t StopaRychlost = 2;
constexpr uint8_t StopaVstupy = 4;
constexpr uint8_t StopaStav = 8;

struct TSouhrn {
    double CitacMin = std::numeric_limits<double>::infinity();
    double CitacMax = -std::numeric_limits<double>::infinity();
    double RychlostMin = std::numeric_limits<double>::infinity();
    double RychlostMax = -std::numeric_limits<double>::infinity();
    uint32_t VstupyOr = 0;
    uint32_t VstupyAnd = ~0u;
    uint8_t Platne = 0; // Stopa* with at least one value
    uint8_t Chybi = 0;  // Stopa* with at least one gap

    void Pridej(const TBodPrubehu& Bod);
    void Pridej(const TSouhrn& S);
};

// A change of the status register between two good reads.
struct TZmenaStavu {
    uint64_t Poradi; // of the sample that showed it
    qint64 Cas;
    uint32_t Pred;
    uint32_t Po;
};

class THistoriePrubehu {
  public:
    // Samples kept, rounded up to a power of two (a mask, not a division,
    // finds a slot): 65536 is 1 h 49 min at 100 ms.
    static constexpr size_t VychoziKapacita = 65536;
    explicit THistoriePrubehu(size_t Kapacita = VychoziKapacita);

    void Pridej(const TBodPrubehu& Bod);
    void Vymaz();

    size_t Kapacita() const { return Body_.size(); }
    // Samples are numbered from 0 as they come; [Prvni, Konec) are kept.
    uint64_t Prvni() const { return Prvni_; }
    uint64_t Konec() const { return Konec_; }
    bool Prazdna() const { return Prvni_ == Konec_; }
    const TBodPrubehu& Bod(uint64_t Poradi) const { return Body_[Poradi & Maska_]; }
    // The first kept sample at or after Cas (Konec when none).
    uint64_t Hledej(qint64 Cas) const;
    // Min/max of the kept samples [Od, Do).
    TSouhrn Souhrn(uint64_t Od, uint64_t Do) const;

    // Status changes of the kept samples, oldest first.
    const std::deque<TZmenaStavu>& ZmenyStavu() const { return Zmeny_; }
    // Inputs that changed between two good reads since the start.
    uint32_t ZmeneneVstupy() const { return Zmenene_; }

  private:
    static constexpr int Urovni = 4;
    static constexpr int BitySkoku = 4; // 16 samples per block of the next level
    std::vector<TBodPrubehu> Body_;
    uint64_t Maska_;
    std::vector<TSouhrn> Bloky_[Urovni];
    uint64_t Prvni_ = 0;
    uint64_t Konec_ = 0;
    std::deque<TZmenaStavu> Zmeny_;
    bool MaStav_ = false;
    uint32_t PosledniStav_ = 0;
    bool MaVstupy_ = false;
    uint32_t PosledniVstupy_ = 0;
    uint32_t Zmenene_ = 0;
};
