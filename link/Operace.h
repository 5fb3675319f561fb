// Operations on a module that the windows and the command-line tool share:
// identification, the live values (counter, clock, power failure, status,
// inputs, outputs), the configuration registers read and written with
// verification, and the search for modules on a line. Each sends the same
// commands in the same order whichever front end runs it. QtCore only.
#pragma once

#include "Dekl.h"
#include "Prikazy.h"

#include <QDateTime>
#include <QString>

#include <array>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

// ------------------------------------------------------------ the module

// The module an operation talks to and the link it is reached over, taken
// from the record at the moment of the call.
struct TCil {
    uint8_t Rozhrani = 0;
    uint32_t Handle = 0;
    uint8_t Adresa = 0;
    // The link's own rate, which a search gives back to the link.
    uint32_t Rychlost = 9600;
    // The record's link was open (SpojeniOtevreno). The block transfers and
    // the search refuse a link that is not; a single command goes out
    // regardless and fails with 10 on handle 0.
    bool Otevreno = false;
};

// The module at the record's address.
TCil CilModulu(const TData& Data);
// The module at Adresa over the record's link: a live dialog's
// AdresaModulu, taken when it was shown, or another address on the line.
TCil CilModulu(const TData& Data, uint8_t Adresa);

// One command 102 or 103 on a register of the module of Cil (PrikazRegistru).
uint8_t PrikazRegistru(const TCil& Cil, uint8_t Kod, uint8_t Registr, uint8_t& Hodnota);

// ------------------------------------------------------------ identification

// One part of the identification: command 200 with P5 = Cast (0-2). B1-B4 go
// out as 0, B0 as given, and B0 takes the reply's B0 so the next part carries
// it (zeroed by a failure). On success Znaky is B1-B4 as four Windows-1250
// characters, a zero byte kept as QChar(0). Returns Chyba; 10 when the driver
// was never called (handle 0).
uint8_t CastIdentifikace(const TCil& Cil, uint8_t Cast, uint8_t& B0, QString& Znaky);

// The module's identification from the answers to P5 0, 1 and 2: name
// characters 1-4, 5-8, " v." and the version (15 characters).
QString SlozModul(const QString& Cast0, const QString& Cast1, const QString& Cast2);

// The three commands 200 as the connection dialog sends them: P5 = 0, 1, 2,
// B0 = 0 before the first and then carried from each reply. After every
// command Text is set to the text of its Chyba (TextChyby, the success text
// included). Stops at the first failure and returns its Chyba, Modul
// untouched; returns 0 with Modul set.
uint8_t Identifikuj(const TCil& Cil, QString& Modul, QString& Text);

// ------------------------------------------------------------ live values

// Each sends its commands to the module of Cil and returns the Chyba of the
// first that failed (then stops there), 0 on success; 10 when the driver was
// never called (handle 0). B0-B4 go out as 0 unless said otherwise.

// The counter as its view shows it: its mode first (102 on register 0), so
// the value (0/80) is formatted by the mode the module has now.
struct TCitac {
    uint8_t Mod = 0;
    std::array<uint8_t, 4> Bajty{}; // B1-B4 of the reply
    QString Text() const;           // CitacNaText
};
uint8_t CtiCitac(const TCil& Cil, TCitac& Citac);
// The counter's value alone (0/80), B1-B4 of the reply.
uint8_t CtiHodnotuCitace(const TCil& Cil, std::array<uint8_t, 4>& Bajty);
// Clears the counter (1/80).
uint8_t NulujCitac(const TCil& Cil);

// A moment of the module's clock: a time register (100, seconds, minutes,
// hours), then the date register after it (day, month, the year modulo 4),
// each as values (CasHodin, DatumHodin) and set as it arrives; a failed
// time read leaves the date unread.
struct TOkamzikModulu {
    std::optional<QTime> Cas;
    std::optional<TDatumHodin> Datum;
    // Both as one local time; invalid when a part did not arrive or the
    // date is none of the calendar.
    QDateTime Okamzik() const;
};
// The module's clock now (P5 1, then 2).
uint8_t CtiCasModulu(const TCil& Cil, TOkamzikModulu& Okamzik);
// The last power failure in the clock dialog's order: its start (P5 3, 4),
// then its end (P5 5, 6).
struct TVypadek {
    TOkamzikModulu Zacatek;
    TOkamzikModulu Konec;
};
uint8_t CtiVypadek(const TCil& Cil, TVypadek& Vypadek);
// The end of the last power failure alone (P5 5, 6): what every power-up
// changes.
uint8_t CtiKonecVypadku(const TCil& Cil, TOkamzikModulu& Konec);
// Sets the clock to Cas: time (101/1: seconds, minutes, hours), then date
// (101/2: day, month, the year's two low bits), the date only when the time
// went in. A year that would read back as another (ChybaRokuHodin) is
// refused with 9 before anything is sent.
uint8_t NastavCasModulu(const TCil& Cil, const QDateTime& Cas);
// Why the clock set to Cas would read back as another year, in Czech:
// the module keeps the year modulo 4 and reading completes it from the PC's
// date (DatumHodin), so only the four years of the PC's block (2024-2027)
// read back as set. Empty when Cas would.
QString ChybaRokuHodin(const QDateTime& Cas);

// The status register (100/0) and the inputs (0/64): four bytes, bit n of
// the word in byte n / 8.
uint8_t CtiStav(const TCil& Cil, std::array<uint8_t, 4>& Bajty);
uint8_t CtiVstupy(const TCil& Cil, std::array<uint8_t, 4>& Bajty);
// Clears the status register (101/0).
uint8_t NulujStav(const TCil& Cil);
// Writes the outputs (1/64), output n from bit n of the bytes in B1-B4.
uint8_t ZapisVystupy(const TCil& Cil, const std::array<uint8_t, 4>& Bajty);

// ------------------------------------------------------------ long operations

// How a long operation yields; both may be left empty.
struct TRizeni {
    // Runs between two commands. The windows pass their transfer pause
    // (pending window messages, then 1 ms).
    std::function<void()> Pauza;
    // Asked right after each pause; true stops the operation there.
    std::function<bool()> Zastavit;
};

// ------------------------------------------------------------ configuration block

// Writes one register, reads it back at once (no pause; the read-back
// request carries the value too) and compares, as the counter mode dialog
// does. 0 with an empty text on success; the link's code with its text on a
// failed exchange; 9 with "Chyba zápisu dat." on a mismatch.
uint8_t ZapisOverRegistr(const TCil& Cil, uint8_t Registr, uint8_t Hodnota, QString& Text);

// Where a dialog's transfer differs from the common pattern.
struct TVolbyBloku {
    // Pause after the last register too. Without it nothing follows the
    // last register, and a stop asked for at that pause is told apart
    // (TVysledekBloku::ZastavenoNaKonci).
    bool PauzaPoPoslednim = true;
    // Read each register back at once, no pause, the request carrying the
    // value too (the counter mode dialog).
    bool OvereniHned = false;
};

enum class TKonecBloku {
    Hotovo,          // every register done
    Chyba,           // a command failed: Chyba, Text
    Neshoda,         // the read-back differed: Precteno, Text "Chyba zápisu dat."
    Zastaveno,       // a stop was asked for at a pause
    NeniSpojeni,     // the link is not open; nothing sent
    NeplatnyRegistr, // a register not of the block was given; nothing sent
};

struct TVysledekBloku {
    TKonecBloku Konec = TKonecBloku::Hotovo;
    // Registers done, in order: read (CtiBlok) or written and verified
    // (ZapisBlok).
    std::vector<uint8_t> Registry;
    // Register at which it stopped; -1 when it did not stop early.
    int Registr = -1;
    // ZapisBlok: the write of Registr was acknowledged, but it is not
    // verified (the read-back failed, differed or was not sent).
    bool ZapisPrijat = false;
    uint8_t Chyba = 0;    // Konec Chyba: the link's code
    uint8_t Precteno = 0; // Konec Neshoda: the value read back
    // Every register done, but a stop was asked for at the pause after the
    // last one.
    bool ZastavenoNaKonci = false;
    // Why it stopped, in Czech without a leading blank: the link's error
    // text, "Chyba zápisu dat.", "Přenos zastaven.", ...; empty when done.
    QString Text;

    bool Uspech() const { return Konec == TKonecBloku::Hotovo; }
};

// Where a register given to ZapisBlok stands once it returned. Each is in
// exactly one state; the windows and km207 report them alike.
enum class TStavZapisu {
    Overen,   // written and read back the same
    Lisi,     // written; the read-back differs (TVysledekBloku::Precteno)
    Neoveren, // the write acknowledged, not read back
    Neznamy,  // the write sent with no valid answer: the module may hold it
    Nezapsan, // not sent, or refused by the module
};
TStavZapisu StavZapisu(const TVysledekBloku& V, uint8_t Registr);

// After each register done: how many of how many, and which.
using TPrubehBloku = std::function<void(int Hotovo, int Celkem, uint8_t Registr)>;

// Every register of the block, in transfer order (RegistryBloku).
std::vector<uint8_t> VsechnyRegistry();
// Registers whose bytes differ between A and B, in transfer order.
std::vector<uint8_t> RozdilneRegistry(const TKonfigurace& A, const TKonfigurace& B);

// Reads the whole block from the module of Cil in transfer order: command
// 102 per register, its byte stored as it arrives, then a pause. A failure
// leaves the bytes read so far in Blok and the rest as they were.
TVysledekBloku CtiBlok(const TCil& Cil, TKonfigurace& Blok, const TRizeni& Rizeni = {},
                       const TPrubehBloku& Prubeh = {});
// The same for the given registers of the block only, in transfer order
// (duplicates once), as a settings dialog's "Přečíst" reads its own
// registers. A register that is not one of the block refuses the whole call
// before anything is sent.
TVysledekBloku CtiRegistry(const TCil& Cil, TKonfigurace& Blok,
                           const std::vector<uint8_t>& Registry, const TRizeni& Rizeni = {},
                           const TPrubehBloku& Prubeh = {}, const TVolbyBloku& Volby = {});

// Writes the given registers of the block with their bytes of Blok, in
// transfer order (duplicates once), like the digital I/O dialog: write
// (103), pause, read back (102), compare, pause (Volby tell where a dialog
// differs). Stops at the first failure, difference or stop request; nothing
// is retried or undone. A register that is not one of the block refuses the
// whole call before anything is sent.
TVysledekBloku ZapisBlok(const TCil& Cil, const TKonfigurace& Blok,
                         const std::vector<uint8_t>& Registry, const TRizeni& Rizeni = {},
                         const TPrubehBloku& Prubeh = {}, const TVolbyBloku& Volby = {});

// ------------------------------------------------------------ search

// A code that tells about the module at the address rather than about the
// link: no answer, a damaged reply or one from another module, the
// module's own error status. After one, a search or a poll goes on.
bool KodModulu(uint32_t Chyba);

// Whether something answers at the address of Cil at the link's rate now:
// one command 200 (P5 0). A reply, a damaged one, one from another module
// or a module's error status all say so. Chyba gets the code; a failure of
// the link itself (not KodModulu) says nothing, so the caller looks at it.
bool AdresaObsazena(const TCil& Cil, uint8_t& Chyba);

// Retries handed to SetConfig while a search probes addresses. No retry:
// a silent address then costs one driver timeout, not three, so 256
// addresses take about 256 x timeout; a reply lost on the way makes a module
// missed, and a second search finds it.
constexpr uint32_t OpakovaniHledani = 0;
// Retries of the program's own link (the connection dialog's value); also
// used for P5 1 and 2 of a module that answered, so it is not lost.
constexpr uint32_t OpakovaniSpojeni = 2;

struct TNalez {
    uint8_t Adresa = 0;
    int IndexRychlosti = 4;
    // Identification as Modul is built (SlozModul); a part that did not come
    // even after retries reads "????".
    QString Modul;
};

struct THledani {
    int Od = 0;   // first address, 0-255
    int Do = 255; // last address, Od-255
    // Baud indices to try, in this order; empty: the link's own rate.
    std::vector<int> Rychlosti;
    // Pause and stop, between any two exchanges.
    TRizeni Rizeni;
    // After each address tried at a rate; Celkem = rates x addresses.
    std::function<void(int Hotovo, int Celkem, uint8_t Adresa, int IndexRychlosti)> Prubeh;
    // Each module as soon as its identification is in.
    std::function<void(const TNalez& Nalez)> Nalezeno;
};

struct TVysledekHledani {
    std::vector<TNalez> Nalezene;
    int Hotovo = 0; // addresses tried (or skipped with their rate), over all rates
    int Celkem = 0;
    bool Zastaveno = false;
    // Rates the driver refused (SetConfig code by baud index); skipped.
    std::map<int, uint32_t> OdmitnuteRychlosti;
    // Answers that were neither a reply nor silence (6 damaged, 7 another
    // module, 12/16/17/18 a module's error status): something is on the line
    // there at another rate or address. Code -> count.
    std::map<uint8_t, int> Poruchy;
    // The addresses of those answers by code, each once, in order.
    std::map<uint8_t, std::vector<uint8_t>> AdresyPoruch;
    // Nonempty when the search could not run or broke off: bad range or
    // rate, link not open, or a failure of the link itself (then Chyba).
    QString Text;
    uint8_t Chyba = 0;
    // SetConfig code of restoring the link's own rate, 0 when it went well.
    uint32_t ChybaObnoveni = 0;
};

// Searches the open link of Cil for modules (its Adresa is not used): for
// each rate (SetConfig with the rate, its timing value and OpakovaniHledani),
// for each address Od..Do the identification command 200 P5 0; when it
// answers, P5 1 and 2 with OpakovaniSpojeni. Never any command that writes.
// Afterwards the link gets its own rate back (Cil.Rychlost, its timing value,
// OpakovaniSpojeni), also after a stop or a failure, but not after a call
// cut off by a stop (KodPreruseno): that is a stop, its address is not
// counted as searched, and the binding is gone.
TVysledekHledani Hledej(const TCil& Cil, const THledani& Hledani);

// One kind of other answer of a search, for the operator: "Poškozená
// odpověď modulu (kód 6) 2×, adresa 5 – na adrese může odpovídat více
// modulů najednou". The hint stands for a damaged reply or one from another
// module, what two modules answering together give.
QString TextPoruchy(const TVysledekHledani& V, uint8_t Rozhrani, uint8_t Kod);

// Modules found: one per address, however many rates it answered at (a LAN
// converter answers at every rate).
int PocetModulu(const std::vector<TNalez>& Nalezene);
// The rates (baud indices) at which the module at Adresa answered.
std::vector<int> RychlostiModulu(const std::vector<TNalez>& Nalezene, uint8_t Adresa);
