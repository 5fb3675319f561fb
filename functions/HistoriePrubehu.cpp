#include "HistoriePrubehu.h"

#include <algorithm>
#include <bit>
#include <cmath>

void TSouhrn::Pridej(const TBodPrubehu& B) {
    if (std::isnan(B.Citac)) {
        Chybi |= StopaCitac;
    } else {
        Platne |= StopaCitac;
        CitacMin = std::min(CitacMin, B.Citac);
        CitacMax = std::max(CitacMax, B.Citac);
    }
    if (std::isnan(B.Rychlost)) {
        Chybi |= StopaRychlost;
    } else {
        Platne |= StopaRychlost;
        RychlostMin = std::min(RychlostMin, B.Rychlost);
        RychlostMax = std::max(RychlostMax, B.Rychlost);
    }
    if (B.Platne & PlatneVstupy) {
        Platne |= StopaVstupy;
        VstupyOr |= B.Vstupy;
        VstupyAnd &= B.Vstupy;
    } else {
        Chybi |= StopaVstupy;
    }
    if (B.Platne & PlatnyStav)
        Platne |= StopaStav;
    else
        Chybi |= StopaStav;
}

void TSouhrn::Pridej(const TSouhrn& S) {
    CitacMin = std::min(CitacMin, S.CitacMin);
    CitacMax = std::max(CitacMax, S.CitacMax);
    RychlostMin = std::min(RychlostMin, S.RychlostMin);
    RychlostMax = std::max(RychlostMax, S.RychlostMax);
    VstupyOr |= S.VstupyOr;
    VstupyAnd &= S.VstupyAnd;
    Platne |= S.Platne;
    Chybi |= S.Chybi;
}

THistoriePrubehu::THistoriePrubehu(size_t Kapacita)
    : Body_(std::bit_ceil(std::max<size_t>(Kapacita, 16))), Maska_(Body_.size() - 1) {
    // Twice the blocks a full ring can touch, a power of two like the ring.
    for (int k = 0; k < Urovni; ++k)
        Bloky_[k].resize(std::max<size_t>(2, 2 * (Body_.size() >> (BitySkoku * (k + 1)))));
}

void THistoriePrubehu::Vymaz() {
    Prvni_ = Konec_ = 0;
    Zmeny_.clear();
    MaStav_ = MaVstupy_ = false;
    Zmenene_ = 0;
}

void THistoriePrubehu::Pridej(const TBodPrubehu& Bod) {
    const uint64_t n = Konec_;
    if (Konec_ - Prvni_ == Body_.size()) ++Prvni_;
    Body_[n & Maska_] = Bod;
    for (int k = 0; k < Urovni; ++k) {
        const int Posun = BitySkoku * (k + 1);
        std::vector<TSouhrn>& Uroven = Bloky_[k];
        TSouhrn& S = Uroven[(n >> Posun) & (Uroven.size() - 1)];
        // The first sample of a block starts its summary afresh, so a slot
        // reused by a newer block forgets the evicted one.
        if ((n & ((uint64_t{1} << Posun) - 1)) == 0) S = TSouhrn{};
        S.Pridej(Bod);
    }
    ++Konec_;
    while (!Zmeny_.empty() && Zmeny_.front().Poradi < Prvni_)
        Zmeny_.pop_front();
    if (Bod.Platne & PlatnyStav) {
        if (MaStav_ && Bod.Stav != PosledniStav_)
            Zmeny_.push_back({n, Bod.Cas, PosledniStav_, Bod.Stav});
        MaStav_ = true;
        PosledniStav_ = Bod.Stav;
    }
    if (Bod.Platne & PlatneVstupy) {
        if (MaVstupy_) Zmenene_ |= Bod.Vstupy ^ PosledniVstupy_;
        MaVstupy_ = true;
        PosledniVstupy_ = Bod.Vstupy;
    }
}

uint64_t THistoriePrubehu::Hledej(qint64 Cas) const {
    uint64_t Od = Prvni_, Do = Konec_;
    while (Od < Do) {
        const uint64_t Stred = Od + (Do - Od) / 2;
        if (Bod(Stred).Cas < Cas)
            Od = Stred + 1;
        else
            Do = Stred;
    }
    return Od;
}

TSouhrn THistoriePrubehu::Souhrn(uint64_t Od, uint64_t Do) const {
    TSouhrn S;
    Od = std::max(Od, Prvni_);
    Do = std::min(Do, Konec_);
    while (Od < Do) {
        // The largest block that starts here and ends inside the range.
        int k = Urovni;
        while (k > 0) {
            const uint64_t Delka = uint64_t{1} << (BitySkoku * k);
            if ((Od & (Delka - 1)) == 0 && Od + Delka <= Do) break;
            --k;
        }
        if (k == 0) {
            S.Pridej(Bod(Od));
            ++Od;
        } else {
            const std::vector<TSouhrn>& Uroven = Bloky_[k - 1];
            S.Pridej(Uroven[(Od >> (BitySkoku * k)) & (Uroven.size() - 1)]);
            Od += uint64_t{1} << (BitySkoku * k);
        }
    }
    return S;
}
