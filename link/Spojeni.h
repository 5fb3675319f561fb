// Opening the link from a record: the one road from the connection
// dialog, the module search and km207 to a driver's Init, SetConfig and the
// identification, so each sends the same calls in the same order.
#pragma once

#include "Dekl.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// The steps of opening, in order.
enum class TKrokSpojeni {
    Parametry,    // the record's kind or parameters; nothing was called
    Init,         // OvladacInit
    SetConfig,    // OvladacSetConfig with the rate
    Identifikace, // the three commands 200
    Hotovo,
};

struct TOtevreni {
    // The last step to take: Init (a search sets its own rates), SetConfig,
    // or the identification.
    TKrokSpojeni Az = TKrokSpojeni::Identifikace;
    uint8_t Adresa = 0;     // the module identified
    int IndexRychlosti = 4; // SetConfig gets its rate and timing value
    // A COM port kind: the number handed to Init in place of the record's
    // CisloPortu. The connection dialog hands over the low 16 bits of what
    // was typed; the record keeps 8.
    std::optional<uint16_t> CisloPortu;
};

struct TVysledekSpojeni {
    TKrokSpojeni Krok = TKrokSpojeni::Hotovo; // the step that failed
    // Its code: the link's code, or the failed identification command's
    // Chyba; KodNeplatne for parameters.
    uint32_t Kod = 0;
    // Its text: the driver's (read before the link was closed again), or
    // for parameters the connection dialog's ("Neplatný UDP port").
    QString Text;
    uint32_t Rychlost = 0; // handed to SetConfig
    QString Modul;         // the identification (SlozModul), when asked for

    bool Uspech() const { return Krok == TKrokSpojeni::Hotovo; }
};

// Opens the link of Data's kind with the record's parameters. Fills
// KonfigOvladace for the kind; the IP text it refers to is kept in
// Data.IpAdresaBajty, so it outlives Init. Then, as far as Jak says:
// OvladacInit with Handle, OvladacSetConfig (rate and timing value of
// IndexRychlosti, OpakovaniSpojeni), Identifikuj at Adresa. After Init and
// after SetConfig their text is read, as the connection dialog does.
//   - Parameters refused (an unknown kind, an empty IP text, a UDP port or
//     timeout above 65535): nothing is called or changed.
//   - Init failed: Pripojeno false; Handle and Data.Handle as they were; the
//     library stays bound until the next Init, so its texts can be read.
//   - After Init: Pripojeno true. A later failure closes the link again
//     through Done: Data.Handle := Handle as Done left it, Pripojeno false.
//   - Success: Data.Handle := Handle. Address, rate and identification stay
//     the caller's to store.
TVysledekSpojeni OtevriSpojeni(TData& Data, uint32_t& Handle, const TOtevreni& Jak = {});

// Closes the link through the driver's Done with the handle cell Handle (a
// copy of Data.Handle, or the cell the link was opened with); Data then
// holds the handle as Done left it, and Pripojeno false.
void ZavriSpojeni(TData& Data, uint32_t& Handle);
// The same with a copy of the record's own handle.
void ZavriSpojeni(TData& Data);

// Who uses the link now. A window that talks to the module while it is open
// (every dialog the main window opens, the connection dialog among them)
// and a transfer hold one for as long; a view that polls in the background
// (the line overview) sends nothing while any is held, so it never changes
// the link's rate under a window or comes between a window's commands. One
// count per process, kept on the windows' thread.
class TUzivatelSpojeni {
  public:
    TUzivatelSpojeni();
    ~TUzivatelSpojeni();
    TUzivatelSpojeni(const TUzivatelSpojeni&) = delete;
    TUzivatelSpojeni& operator=(const TUzivatelSpojeni&) = delete;
};
// How many hold the link now.
int UzivateleSpojeni();

// The connection dialog's words for parameters that cannot open a link, in
// the language set.
QString TextNeznameRozhrani();
QString TextNeplatnaIp();
QString TextNeplatnyPort();
QString TextNeplatnyTimeout();

// The record's field that keeps it from opening a link.
enum class TPoleSpojeni { Rozhrani, IpAdresa, UdpPort, UdpTimeout };

struct TChybaParametru {
    TPoleSpojeni Pole = TPoleSpojeni::Rozhrani;
    QString Text;                    // in the connection dialog's words
    std::optional<uint32_t> Hodnota; // the number refused: a UDP port or timeout

    // Text followed by the number refused, where there is one.
    QString TextSHodnotou() const;
};

// Why the record's kind or parameters cannot open a link; nullopt when they
// can.
std::optional<TChybaParametru> ChybaParametru(const TData& Data);
