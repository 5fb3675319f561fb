// The nine baud rates of the bus: index (the item order of every baud list
// and the value of module register 62), rate in Bd and the driver's timing
// value for that rate.
#pragma once

#include <QStringList>

#include <cstdint>

// Number of baud indices (0-8).
constexpr int PocetRychlosti = 9;

// Rate in Bd of a baud index; any other index gives 9600.
uint32_t IndexNaRychlost(int Index);
// Baud index of a rate; any other rate gives 4 (9600 Bd).
int RychlostNaIndex(uint32_t Rychlost);
// Timing value handed to the driver's SetConfig after the rate; any other
// index gives 13 (that of 9600 Bd).
uint32_t IndexNaCasovani(int Index);
// Baud index of a rate, or -1 when the rate is not one of the nine.
int PresnyIndexRychlosti(uint32_t Rychlost);
// The items of every rate list, by baud index: "600 Bd" ... "115200 Bd".
QStringList TextyRychlosti();
