// The module's command set as this program uses it: command codes, the
// configuration registers and their place in TKonfigurace, and the Czech name
// of every command and register (one table, used by the communication log).
#pragma once

#include "Dekl.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// Every command the program sends; P5 selects what it acts on.
constexpr uint8_t PrikazCtiHodnotu = 0;        // read a value (P5 PolozkaVstupy, PolozkaCitac)
constexpr uint8_t PrikazZapisHodnotu = 1;      // write outputs, clear the counter (P5 as above)
constexpr uint8_t PrikazCtiRegistrStavu = 100; // read the status register or the clock (P5 0-6)
constexpr uint8_t PrikazZapisRegistrStavu =
    101;                                    // clear the status register, set the clock (P5 0-2)
constexpr uint8_t PrikazCti = 102;          // read a configuration register
constexpr uint8_t PrikazZapis = 103;        // write a configuration register
constexpr uint8_t PrikazIdentifikace = 200; // identification, P5 0-2

// P5 of commands 0 and 1.
constexpr uint8_t PolozkaVstupy = 64;  // command 0: the inputs
constexpr uint8_t PolozkaVystupy = 64; // command 1: the outputs
constexpr uint8_t PolozkaCitac = 80;

// P5 of commands 100 and 101: the status register and the clock's registers.
constexpr uint8_t RegistrStavu = 0;
constexpr uint8_t RegistrCasu = 1;           // seconds, minutes, hours in B1-B3
constexpr uint8_t RegistrData = 2;           // day, month, the year's two low bits in B1-B3
constexpr uint8_t RegistrZacatkuVypadku = 3; // time; the date is in the next one
constexpr uint8_t RegistrKonceVypadku = 5;   // time; the date is in the next one

// Configuration registers (commands 102 and 103). Setting g of the digital
// I/O channel byte i lives in register 32 + 3i + g.
constexpr uint8_t RegistrModCitace = 0;
constexpr uint8_t RegistrPocStavDOUT = 32;
constexpr uint8_t RegistrNegaceDIN = 33;
constexpr uint8_t RegistrNegaceDOUT = 34;
constexpr uint8_t RegistrRychlost = 62;
constexpr uint8_t RegistrAdresa = 63;

// One command 102 or 103 on a configuration register: B0 = 0, B1 = B2 =
// Registr, B3 = B4 = Hodnota; the reply's B3 comes back in Hodnota. Returns
// the link's Chyba, or 10 when the driver was never called (handle 0).
uint8_t PrikazRegistru(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, uint8_t Prikaz,
                       uint8_t Registr, uint8_t& Hodnota);

// A register read back with another value than the one written.
QString TextChybaZapisu();

// Names of the 32 status register bits as the status dialog shows them:
// "FN" (1), "PRF" (2), "PWR" (4), "RST" (5), "ERR24" (6), "---" for the rest.
std::array<QString, 32> JmenaBituStavu();

// One configuration register and the byte of TKonfigurace it mirrors.
struct TRegistr {
    uint8_t Cislo;
    int Bajt;
};

// The whole block in transfer order: 63 address, 62 baud index, 0 counter
// mode, then the twelve digital I/O registers as the digital I/O dialog
// sends them (initial state 32, 35, 38, 41; input negation 33, 36, 39, 42;
// output negation 34, 37, 40, 43).
const std::vector<TRegistr>& RegistryBloku();
// The last twelve of RegistryBloku: the digital I/O dialog's order.
std::vector<TRegistr> RegistryDIO();
// The numbers of the registers, in their order.
std::vector<uint8_t> CislaRegistru(const std::vector<TRegistr>& Registry);
// Byte of TKonfigurace that a register of the block mirrors; -1 for any
// other register.
int BajtRegistru(uint8_t Registr);

// Name of a configuration register in use ("adresa", "rychlost", "mód
// čítače", "negace DIN0-7", ...); empty for any other register.
QString NazevRegistru(uint8_t Registr);

// Registers by number and name: "63 (adresa), 62 (rychlost)"; a register
// without a name by its number alone.
QString SeznamRegistru(const std::vector<uint8_t>& Registry);
// What a write of these registers means for the link: "Nová adresa a
// rychlost platí od příštího zapnutí modulu." (or the address or the rate
// alone); empty when neither register 63 nor 62 is among them.
QString PoznamkaZapnuti(const std::vector<uint8_t>& Zapsane);

// One row of the command table: Prikaz, P5 (-1: any) and its meaning.
struct TPopisPrikazu {
    uint8_t Prikaz;
    int P5;
    const char* Vyznam; // UTF-8, Czech; translated in context "Prikazy"
};
// Every command the windows send.
const std::vector<TPopisPrikazu>& TabulkaPrikazu();

// The command by its code and its meaning, as the log shows it:
// "200 identifikace (název 1-4)", "0 čtení čítače", "102 čtení registru 62
// (rychlost)", "103 zápis registru 63 (adresa)". Commands 102 and 103 take
// the register from B1 of the request (Pozadavek = B0-B4 sent). A command
// not in the table reads "57 neznámý příkaz (P5 3)". In the language set
// (NastavJazyk); CeskyNazevPrikazu always in Czech, for files.
QString NazevPrikazu(uint8_t Prikaz, uint8_t P5, const std::array<uint8_t, 5>& Pozadavek);
QString CeskyNazevPrikazu(uint8_t Prikaz, uint8_t P5, const std::array<uint8_t, 5>& Pozadavek);
