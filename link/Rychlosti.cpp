#include "Rychlosti.h"

#include "km_protocol.h"

#include <array>
#include <cstddef>

namespace {

static_assert(PocetRychlosti == km::proto::kBaudCount);

// The driver's timing value by baud index (the rates are the bus's own).
constexpr std::array<uint32_t, PocetRychlosti> TabulkaCasovani{100, 100, 50, 25, 13, 7, 5, 5, 5};

bool PlatnyIndex(int Index) {
    return Index >= 0 && Index < PocetRychlosti;
}

} // namespace

uint32_t IndexNaRychlost(int Index) {
    return PlatnyIndex(Index) ? km::proto::kBaudRates[Index] : 9600;
}

int PresnyIndexRychlosti(uint32_t Rychlost) {
    return km::proto::baud_index(Rychlost);
}

int RychlostNaIndex(uint32_t Rychlost) {
    const int Index = PresnyIndexRychlosti(Rychlost);
    return Index >= 0 ? Index : 4;
}

uint32_t IndexNaCasovani(int Index) {
    return PlatnyIndex(Index) ? TabulkaCasovani[static_cast<size_t>(Index)] : 13;
}

QStringList TextyRychlosti() {
    QStringList Texty;
    for (int i = 0; i < PocetRychlosti; ++i)
        Texty << QStringLiteral("%1 Bd").arg(km::proto::kBaudRates[i]);
    return Texty;
}
