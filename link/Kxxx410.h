// Binding of the interface driver libraries (found by HledaniOvladace), the
// module command exchange, and the one observer every command is reported
// to (the log registers here).
#pragma once

#include "Dekl.h"
#include "VazbaOvladace.h"
#include "km_status.h"

#include <QDateTime>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>

// Reply buffer of one command.
using TOdpoved = std::array<uint32_t, 100>;

// The link's own codes.
constexpr uint32_t KodPozadavek = km::kErrRequest; // request could not be formed

uint32_t OvladacInit(uint8_t Rozhrani, uint32_t& Handle, TKonfigOvladace KonfigOvladace);
uint32_t OvladacSetConfig(uint8_t Rozhrani, uint32_t Handle, uint32_t Rychlost, uint32_t Casovani,
                          uint32_t Posledni);
uint32_t OvladacSend(uint8_t Rozhrani, uint32_t Handle, uint32_t* Pozadavek, uint32_t* Odpoved,
                     uint32_t* Vystup, uint32_t* Stav);
uint32_t OvladacDone(uint8_t Rozhrani, uint32_t& Handle);
uint32_t OvladacError(uint8_t Rozhrani, uint32_t Kod, TTextPole& Text);

// km207: a stop (Ctrl-C, SIGTERM) ends any wait, also a driver call that
// waits long (a UDP timeout of a minute, a module gone silent). From the next
// OvladacInit on, each binding runs its calls on a thread of its own
// (PrerusitelnaVazba) and Zastavit is asked while one runs; a call cut off
// returns KodPreruseno, the binding is dropped and later calls return 10.
// The texts of the codes that came are read while the library is still
// bound, so they stay known. Empty (the windows): the driver is called
// directly.
void NastavPreruseniOvladace(std::function<bool()> Zastavit);
// A call was cut off: the library may still be inside it, so the process
// must end without releasing it (std::_Exit after its last output).
bool OvladacOpusten();

// Releases a library that a failed Init left loaded (kept only so that its
// error text can still be read). Called by the next OvladacInit and at exit.
void OvladacUvolni();

// The library bound now and how, for the communication log: its path, and
// " přes km207-driverhost.exe (Wine)" or the like when a host runs it. Empty
// when nothing is bound.
QString OvladacVazba();

// Why the last OvladacInit could not run the library, in words a user can
// act on where the code's own text cannot say it: no Wine, no wine32, a
// machine that cannot run 32-bit programs, no driver host beside the
// program, a library in none of the folders searched. Empty when it bound a
// library or knows no such cause. Once the host that ran the library is
// lost, the cause of that (OvladacZtrata) until the next OvladacInit.
QString OvladacDuvod();

// Why the host that ran the bound library was lost since the last
// OvladacInit: "knihovna ovladače havarovala (výjimka 0xC0000005)",
// "knihovna neodpověděla do 3 s a byla ukončena", or that it ended without
// a word. Empty while it was not; the call that lost it returned 100 + kind.
QString OvladacZtrata();

// One command on the module. B0..B4 are in and out; a null one makes the
// request impossible (Chyba 9).
void ProvedPrikaz(uint8_t Rozhrani, uint32_t Handle, uint8_t Adresa, uint8_t Prikaz, uint8_t P5,
                  uint8_t* B0, uint8_t* B1, uint8_t* B2, uint8_t* B3, uint8_t* B4, uint8_t& Chyba,
                  TOdpoved& Odpoved);

// Text of a link code, as every window shows it (cleared array first, so an
// unbound driver gives an empty text), in the language set (NastavJazyk).
QString TextChyby(uint8_t Rozhrani, uint32_t Kod);
// The same text as the driver or the link gives it, always Czech: for files,
// whose contents do not change with the language.
QString CeskyTextChyby(uint8_t Rozhrani, uint32_t Kod);
// A text of CeskyTextChyby in the language set; any other text as it is.
QString PrelozTextChyby(const QString& Text);

// The module itself answered with an error status (km::kErrModule,
// kErrUnknownCommand, kErrBadRegister, kErrBadValue): the link works, the
// module refused.
bool ChybaModulu(uint32_t Kod);

// A reply came, but damaged or from another module (km::kErrCorrupt,
// kErrOtherModule): more than one module may answer at the address.
bool NejasnaOdpoved(uint32_t Kod);

// The link is open: a record, Pripojeno and a nonzero Handle.
bool SpojeniOtevreno(const TData* Data);

// The pause between two commands of a transfer: the pending messages of the
// process run (windows repaint, clicks arrive), then 1 ms passes, not
// noticeably more.
void Pauza();

// ------------------------------------------------------------ observer

// One call of ProvedPrikaz that reached the driver (handle nonzero, request
// formed).
struct TZaznamPrikazu {
    QDateTime Cas; // local time (MistniCas) when the request went out, to the ms
    uint8_t Rozhrani = 0;
    uint8_t Adresa = 0;
    uint8_t Prikaz = 0;
    uint8_t P5 = 0;
    std::array<uint8_t, 5> Pozadavek{}; // B0-B4 sent
    std::array<uint8_t, 5> Odpoved{};   // B0-B4 after the call (zeros on failure)
    uint8_t Chyba = 0;                  // status of the command, 0 = success
    uint32_t DobaUs = 0;                // round trip on the steady clock, microseconds
};

using TPozorovatel = std::function<void(const TZaznamPrikazu&)>;

// Makes Pozorovatel the one observer of every command (replacing any
// other); an empty function removes it. Returns a token for
// ZrusPozorovatele. Without an observer ProvedPrikaz reads no clock.
uint64_t NastavPozorovatele(TPozorovatel Pozorovatel);
// Removes the observer only while it is still the one set with Token.
void ZrusPozorovatele(uint64_t Token);
// Whether an observer is set.
bool JePozorovatel();
// Whether the observer set with Token is still the one.
bool PozorovatelTrva(uint64_t Token);

// Used by ProvedPrikaz around the driver call: created just before Send,
// Oznam after the reply is unpacked hands the record to the observer.
// Without an observer it reads no clock and reports nothing.
class TMereniPrikazu {
  public:
    TMereniPrikazu(uint8_t Rozhrani, uint8_t Adresa, uint8_t Prikaz, uint8_t P5,
                   const std::array<uint8_t, 5>& Pozadavek);
    void Oznam(const std::array<uint8_t, 5>& Odpoved, uint8_t Chyba);

  private:
    bool Sledovat_;
    TZaznamPrikazu Zaznam_;
    std::chrono::steady_clock::time_point Start_;
};
