// A line of modules: the list (from a search, a line file or typed by
// hand), their poll over the open link with each module's state and
// flags, the baseline that "Potvrdit stav" records, and the long
// operations on a whole line: clearing the status registers, backup into a
// folder, restore from one, commissioning new modules. Used alike by the
// window "Přehled linky" and by `km207 line`. QtCore only.
//
// One TLinka per process (the main window keeps one beside TData; km207
// builds its own). Every call runs on the thread that owns it. The long
// calls yield through TRizeni: the windows' pause lets window messages
// run, so a handler may call into the line while a cycle is under way;
// each member says what it does then.
#pragma once

#include "Dekl.h"
#include "Operace.h"
#include "SouborKonfigurace.h"
#include "SouborLinky.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// ------------------------------------------------------------ a module's state

// Whether the module answers, as the last cycles saw it.
enum class TOdezva {
    Nezjisteno,       // not asked yet, or fewer misses in a row than the limit
    Odpovida,         // every exchange of the last cycle answered well
    Neodpovida,       // no answer in as many cycles in a row as the limit
    OdpovidaSChybami, // it answered, but some exchange failed: the module's
                      // error status (12, 16-18), a damaged reply, a reply
                      // from another module, or a timeout after an answer
};

// Flags of a module, each a bit of TStavModulu::Priznaky. Every one is
// shown in words (TextyPriznaku), never by colour alone.
enum TPriznak : unsigned {
    // It stopped answering: TOdezva::Neodpovida.
    PriznakNeodpovida = 1u << 0,
    // A power failure recorded since the baseline (TLinka::Potvrd).
    PriznakVypadek = 1u << 1,
    // ERR24 (bit 6) is set in its status word now.
    PriznakErr24 = 1u << 2,
    // Its name or firmware differ from TModulLinky::Identifikace.
    PriznakJinyModul = 1u << 3,
    // It is on the line, but the line file compared with does not list its
    // address (TLinka::Porovnej).
    PriznakMimoSoubor = 1u << 4,
};

// What the poll knows about one module. The values keep what the last good
// reply brought; empty until one came.
struct TStavModulu {
    TOdezva Odezva = TOdezva::Nezjisteno;
    // Cycles in a row with no answer at all.
    int VynechaniVRade = 0;
    // Local time (MistniCas) of the last good reply (the first of its cycle:
    // one reading of the clock per module); invalid before one.
    QDateTime PosledniOdpoved;
    // Failed exchanges since the module joined the line, and the code of
    // the last one (0: none yet).
    int Selhani = 0;
    uint8_t PosledniChyba = 0;
    // The identification read (SlozModul, raw as TData::Modul); empty until
    // read. Read at first contact, when the module reappears, and after a
    // power failure was seen.
    QString Modul;
    // The status register (100/0), bit 0 first.
    std::optional<uint32_t> SlovoStavu;
    // The counter (0/80) with the mode read at first contact (102/0), so
    // TCitac::Text formats it as the counter view does.
    std::optional<TCitac> Citac;
    // The inputs (0/64), DIN0 = bit 0.
    std::optional<uint32_t> Vstupy;
    // The end of the last power failure (100/5-6), as last read.
    std::optional<TOkamzikModulu> KonecVypadku;
    // With PriznakVypadek: the end of the power failure that set it.
    std::optional<TOkamzikModulu> NovyVypadek;
    // TPriznak bits, brought up to date after every change of the state.
    unsigned Priznaky = 0;
};

// One row of the line.
struct TPolozkaLinky {
    TModulLinky Modul;
    TStavModulu Stav;
};

// The state in words: "nezjištěno", "odpovídá", "neodpovídá", "odpovídá s
// chybami".
QString TextOdezvy(TOdezva Odezva);
// Each flag of the module in words, in the order of TPriznak:
// "neodpovídá", "výpadek napájení (konec 8.12.2026 2:02:39)", "ERR24",
// "jiný modul: KM-207   v.1.03 (čekán KM-207   v.1.02)", "adresa není v
// souboru linky". Empty without flags.
QStringList TextyPriznaku(const TPolozkaLinky& Polozka);
// The names of the set bits of a status word with a name (FN, PRF, PWR,
// RST, ERR24), lowest first, separated by blanks ("PRF PWR RST"); empty
// when none is set.
QString BityStavuNaText(uint32_t Slovo);

// ------------------------------------------------------------ one cycle

struct TVysledekCyklu {
    int Prikazu = 0;        // commands sent
    int Nastaveni = 0;      // SetConfig calls, the one giving the link its rate back included
    bool Zastaveno = false; // a stop was asked for at a pause
    // The list changed at a pause (Nastav, Pridej, Odeber ... from a
    // handler): the cycle ended there.
    bool Zmeneno = false;
    // The link itself failed (a code that says nothing about a module:
    // 13, 14, 100+ ...; the cycle broke off there) or refused a rate (the
    // modules at it were left out): its code and text; no module was
    // blamed. Also the text of a link that is not open, or of a cycle
    // called while a long call of the line runs.
    uint32_t Chyba = 0;
    QString Text;
    // SetConfig code of giving the link its own rate back; 0 when it went
    // well or was not needed.
    uint32_t ChybaObnoveni = 0;

    bool Uspech() const { return !Zastaveno && !Zmeneno && Text.isEmpty(); }
};

// After each module of a long call: how many of how many, and which (its
// place in the list the call was given).
using TPrubehLinky = std::function<void(int Hotovo, int Celkem, int Index)>;

// ------------------------------------------------------------ the line

// Clearing the status registers of a line.
struct TVysledekNulovani {
    // (place in the list, Chyba) of each module sent to, 0: cleared; a stop
    // leaves the rest out.
    std::vector<std::pair<int, uint8_t>> Kody;
    bool Zastaveno = false;
    // The link failed or refused a rate: its code and text; the rest left out.
    uint32_t Chyba = 0;
    QString Text;
};

class TLinka {
  public:
    // Misses in a row after which a module does not answer, by default.
    static constexpr int VychoziMezVynechani = 3;
    // The end of the power failure of one module is read again at the
    // latest after this long (one module per cycle), so a power cycle
    // between two polls is seen even with PWR never cleared.
    static constexpr int ObnovaVypadkuMs = 5000;

    // ---- the modules

    const std::vector<TPolozkaLinky>& Polozky() const { return Polozky_; }
    int Pocet() const { return static_cast<int>(Polozky_.size()); }
    // Goes up by one with every change of the list (not of a state), so a
    // caller can tell that its indices are stale.
    uint64_t Verze() const { return Verze_; }

    // Replaces the list: every state, the baseline and the comparison
    // start afresh. Refused (false, Chyba names the module, the list as it
    // was) when a module cannot be on a line (VadaModuluLinky).
    bool Nastav(const std::vector<TModulLinky>& Moduly, QString& Chyba);
    // Replaces the list with the modules of a search, one per address (a
    // module found at several rates, as a LAN converter answers at every
    // one, at the first), the identification found as the one expected.
    void NastavZHledani(const std::vector<TNalez>& Nalezene);
    // Adds a module at the end (typed by hand, commissioned). Refused as
    // Nastav refuses.
    bool Pridej(const TModulLinky& Modul, QString& Chyba);
    // Removes the module at Index; an index out of range does nothing.
    void Odeber(int Index);
    // Changes the label of the module at Index.
    void NastavPopis(int Index, const QString& Popis);

    // Compares the line with a line file: the modules the file lists take
    // its identification and label as the expected ones; a module whose
    // address the file does not list gets PriznakMimoSoubor; a module of
    // the file not on the line is added at the end. Until the next Nastav.
    void Porovnej(const TSouborLinky& Soubor);
    // The line as a line file: each module with its identification
    // expected, or where none is expected the one read.
    TSouborLinky Soubor() const;

    // ---- the poll

    // Misses in a row after which a module does not answer (1-100; other
    // values are clamped).
    void NastavMezVynechani(int Mez);
    int MezVynechani() const { return MezVynechani_; }

    // One cycle over the open link of Spojeni (its Adresa is not used; its
    // Rychlost is the link's own rate). The modules are taken by rate, the
    // link's own rate first and then the others in ascending order, so
    // SetConfig (the rate, its timing value, OpakovaniSpojeni) is called
    // only where the next module needs another rate: at most once per
    // other rate, and once more at the end to give the link its own rate
    // back (also after a stop or a failure).
    //
    // Per module, in steady state, three commands: the status register
    // (100/0), the counter (0/80) and the inputs (0/64). At first contact,
    // when it answers again after not answering, and after a power failure
    // was seen, the identification (200 three times), the counter mode
    // (102/0) and the end of the power failure (100/5-6) come first. The
    // end of the power failure is read again whenever the status word
    // changes, and for one module per cycle whose last reading is older
    // than ObnovaVypadkuMs. A module that gives no answer to its first
    // command is left for this cycle (one miss). After every read (so also
    // between two modules) the pause of Rizeni runs and a stop is honoured.
    // A rate the driver refuses leaves its modules out of the cycle, with
    // the code in the result; a failure of the link itself ends the cycle.
    //
    // Hotovo runs after each module with its place in the list, so a
    // window shows the row at once. Called while a cycle runs (from a
    // handler at its pause), it returns at once with a text and sends
    // nothing. Without an open link it sends nothing.
    TVysledekCyklu Cyklus(const TCil& Spojeni, const TRizeni& Rizeni = {},
                          const std::function<void(int Index)>& Hotovo = {});
    bool Bezi() const { return Bezi_; }

    // "Potvrdit stav": records the state as it is now as the baseline for
    // "since" (the power failure flag), and clears the flags that count from
    // it. Sends nothing, clears nothing in a module. A module seen for the
    // first time takes its first state as its baseline.
    void Potvrd();

    // ---- long operations

    // Clears the status register of every module (101/0, as the status
    // register window does), by rate as Cyklus goes. The next cycle reads
    // the cleared words.
    TVysledekNulovani NulujStavy(const TCil& Spojeni, const TRizeni& Rizeni = {},
                                 const TPrubehLinky& Prubeh = {});

  private:
    // What the poll keeps of a module beside its row.
    struct TInterni {
        bool Zaklad = false;                         // a baseline was taken
        std::optional<uint32_t> ZakladStavu;         // the baseline's status word
        std::optional<TOkamzikModulu> ZakladVypadku; // the baseline's end of power failure
        bool Vypadek = false;                        // PriznakVypadek
        bool MimoSoubor = false;                     // PriznakMimoSoubor
        bool Seznameni = true;                       // first contact due
        std::optional<uint8_t> ModCitace;            // read at first contact
        qint64 CteniVypadku = 0;                     // when the end was last read, ms (MistniCas)
    };
    struct TCteni; // one module's reads in a cycle

    void CtiModul(TCteni& C, bool ObnovitVypadek);
    void PosudVypadek(int Index);
    void Aktualizuj(int Index);

    std::vector<TPolozkaLinky> Polozky_;
    std::vector<TInterni> Interni_; // beside Polozky_, index for index
    int MezVynechani_ = VychoziMezVynechani;
    uint64_t Verze_ = 0;
    bool Bezi_ = false;
};

// The calls below take the modules as they are given and set the link's
// rate themselves: stop the poll (Cyklus) before running one.

// ------------------------------------------------------------ backup

// The line file of a backup folder, and each module's configuration file
// there: "modul_005_9600.km207" (address in three digits, rate in Bd).
inline const QString SouborLinkyZalohy = QStringLiteral("linka") + PriponaLinky;
QString SouborZalohyModulu(const TModulLinky& Modul);

struct TZalohaModulu {
    TModulLinky Modul;
    bool Ulozeno = false;
    QString Soubor; // the file written
    // Why not: the code of the failed exchange (0 when the file failed) and
    // the text.
    uint8_t Chyba = 0;
    QString Text;
    // The backup came to this module's result; false: not reached.
    bool Dosazen = false;
};

struct TVysledekZalohy {
    std::vector<TZalohaModulu> Moduly; // every module given, in its order
    bool Zastaveno = false;            // the rest are not saved
    // The folder or the line file could not be written: the reason; the
    // modules before are in their files, the line file is not.
    QString Chyba;
    int Ulozenych() const;
};

// Backs the modules up into Slozka (created when it does not exist): per
// module its identification (200 x3) and the whole block (15 reads), by
// rate as Cyklus goes, into its configuration file (SouborKonfigurace, the
// format of `km207 backup`); then the line file with every module given,
// each with the identification read (or the one expected, for a module
// that did not answer). A module that does not answer is listed as not
// saved, with the reason; nothing is left out silently. The line file's
// target is checked before anything is sent, so a folder that takes no
// file costs no transfer. Every file is written whole or not at all
// (Soubory.h).
TVysledekZalohy ZalohujLinku(const TCil& Spojeni, const std::vector<TModulLinky>& Moduly,
                             const QString& Slozka, const TRizeni& Rizeni = {},
                             const TPrubehLinky& Prubeh = {});

// ------------------------------------------------------------ restore

// One module of a restore: reached where the folder's line file says it
// answers, given the block of its configuration file.
struct TObnovaModulu {
    TModulLinky Modul;
    // Its configuration file, and what it holds; empty when the folder has
    // none for it (not saved by the backup): it is then reported, never
    // written.
    QString Soubor;
    std::optional<TSouborKonfigurace> Zaloha;

    // The preview (NahledObnovy): the block read from the module, the
    // registers that would change (RozdilneRegistry, in transfer order),
    // the identification read.
    bool Precteno = false;
    TKonfigurace VModulu{};
    std::vector<uint8_t> Zmeny;
    QString ModulPrecteny;
    // Why the preview failed for it (its code and text), or why its new
    // address or rate collides (Kolize).
    uint8_t Chyba = 0;
    QString Text;
    QString Kolize;

    // The write (ObnovLinku): the registers of Zmeny, each in exactly one
    // TStavZapisu (StavZapisu(*Zapis, r)). Empty when it was not written.
    std::optional<TVysledekBloku> Zapis;
};

struct TObnovaLinky {
    QString Slozka;
    std::vector<TObnovaModulu> Moduly; // in the line file's order
    bool Nahled = false;               // NahledObnovy ran to the end
    bool Zastaveno = false;            // the last call was stopped
    // Collisions make the restore refuse to write, unless forced.
    bool Vynutit = false;

    // Every module's collision and preview failure, one sentence each.
    QStringList Kolize() const;
};

// Reads a backup folder: its line file and the configuration file of each
// module of it. Sends nothing. A missing or bad line file, a bad or
// unreadable configuration file, or two modules whose configuration files
// would put them at the same address and rate refuse the whole folder
// (false, Chyba naming the file and line); Obnova is set only on success.
bool NactiZalohuLinky(const QString& Slozka, TObnovaLinky& Obnova, QString& Chyba);

// The preview: per module with a file, its identification and its block
// read (by rate as Cyklus goes), the registers that would change. A module
// whose address or rate would change is checked as `km207 restore` checks
// it: a module that answers at the new address (at the link's rate there)
// or another module of the line at the new address and rate is a
// collision. Writes nothing.
void NahledObnovy(const TCil& Spojeni, TObnovaLinky& Obnova, const TRizeni& Rizeni = {},
                  const TPrubehLinky& Prubeh = {});

// Writes, per module with changes, the registers of its preview with
// read-back (ZapisBlok); a module that fails goes into its report and the
// next one follows. Refuses (false, nothing sent) without a whole preview,
// or with a collision unless Obnova.Vynutit. A stop leaves the modules not
// reached unwritten.
bool ObnovLinku(const TCil& Spojeni, TObnovaLinky& Obnova, const TRizeni& Rizeni = {},
                const TPrubehLinky& Prubeh = {});

// ------------------------------------------------------------ commissioning

// Where a module leaves the factory: address 0 at 9600 Bd.
constexpr uint8_t VyrobniAdresa = 0;
constexpr int VyrobniIndexRychlosti = 4;

struct TVolbyUvedeni {
    // The addresses to give, the lowest free one first (free: no module of
    // the line has it, at any rate).
    int Od = 1;
    int Do = 255;
    // The line's rate, written too; none: the module keeps 9600 Bd.
    std::optional<int> IndexRychlosti;
    // How long to wait for the module at its new address after the write.
    int CekaniMs = 120000;
};

enum class TKonecUvedeni {
    Hotovo,         // written, verified, and the module answered at its new address
    ZadnyModul,     // nothing answers at the factory address
    DvaModuly,      // a damaged reply there: more than one new module is connected
    AdresaObsazena, // a module already answers at the address to give
    ZadnaAdresa,    // every address of the range is taken
    ChybaZapisu,    // the write or its read-back failed (Zapis)
    Neobjevil,      // not seen at its new address within the wait
    Zastaveno,      // a stop was asked for
    ChybaSpojeni,   // the link failed or is not open
};

struct TVysledekUvedeni {
    TKonecUvedeni Konec = TKonecUvedeni::Hotovo;
    // The module as it joins the line (Hotovo): its new address and rate and
    // the identification read there; otherwise what it was to become.
    TModulLinky Modul;
    TVysledekBloku Zapis;
    uint8_t Chyba = 0;
    QString Text; // the outcome as a Czech sentence

    bool Uspech() const { return Konec == TKonecUvedeni::Hotovo; }
};

// Commissions one new module, step by step, telling the technician each
// step through Zprava (whole Czech sentences):
//  1. identification at the factory address and rate; a damaged reply or
//     one from another module means two new modules answer there: stop;
//  2. the lowest free address of Volby, checked on the bus (nothing may
//     answer there at the rate it will have);
//  3. the address (and the line's rate, when asked) written with read-back;
//  4. the note that it takes effect at the next power-up, and the request
//     to switch the module off and on;
//  5. identification at the new address and rate, again and again, until
//     it answers or CekaniMs passed.
// The caller adds Modul to the line (TLinka::Pridej) and asks for the next
// one. The link gets its own rate back at the end.
TVysledekUvedeni UvedDoProvozu(const TCil& Spojeni, const std::vector<TModulLinky>& Linka,
                               const TVolbyUvedeni& Volby, const TRizeni& Rizeni = {},
                               const std::function<void(const QString& Zprava)>& Zprava = {});
