#include "Rychlosti.h"

#include <array>
#include <cstddef>

namespace {

struct RadekRychlosti {
    uint32_t rychlost;
    uint32_t casovani;
};

constexpr std::array<RadekRychlosti, PocetRychlosti> TabulkaRychlosti{{
    {600, 100},
    {1200, 100},
    {2400, 50},
    {4800, 25},
    {9600, 13},
    {19200, 7},
    {38400, 5},
    {57600, 5},
    {115200, 5},
}};

bool PlatnyIndex(int Index) {
    return Index >= 0 && Index < PocetRychlosti;
}

} // namespace

uint32_t IndexNaRychlost(int Index) {
    return PlatnyIndex(Index) ? TabulkaRychlosti[static_cast<size_t>(Index)].rychlost : 9600;
}

int PresnyIndexRychlosti(uint32_t Rychlost) {
    for (size_t i = 0; i < TabulkaRychlosti.size(); ++i)
        if (TabulkaRychlosti[i].rychlost == Rychlost) return static_cast<int>(i);
    return -1;
}

int RychlostNaIndex(uint32_t Rychlost) {
    const int Index = PresnyIndexRychlosti(Rychlost);
    return Index >= 0 ? Index : 4;
}

uint32_t IndexNaCasovani(int Index) {
    return PlatnyIndex(Index) ? TabulkaRychlosti[static_cast<size_t>(Index)].casovani : 13;
}
