// The two ways a driver library is bound: in the program's own process, or
// in km207-driverhost, a process of its own spoken to over a pipe. Kxxx410's
// wrappers call this interface and nothing above them knows which it is.
#pragma once

#include "Dekl.h"
#include "km_status.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

// Codes of a library that could not be bound (the link's own codes).
constexpr uint32_t KodNeplatne = km::kErrNotBound; // unknown kind or entry not bound
constexpr uint32_t KodNenacteno = 100;             // + kind: library did not load
constexpr uint32_t KodNeuplne = 110;               // + kind: library lacks an entry
// km207 was stopped (Ctrl-C, SIGTERM) while a call waited: its answer was not
// waited for, so what the call did is unknown.
constexpr uint32_t KodPreruseno = 130;

class VazbaOvladace {
  public:
    virtual ~VazbaOvladace() = default; // releases the library (ends the host)

    virtual uint32_t Init(uint32_t& Handle, const TKonfigOvladace& Konfig) = 0;
    virtual uint32_t SetConfig(uint32_t Handle, uint32_t Rychlost, uint32_t Casovani,
                               uint32_t Posledni) = 0;
    virtual uint32_t Send(uint32_t Handle, uint32_t* Pozadavek, uint32_t* Odpoved, uint32_t* Vystup,
                          uint32_t* Stav) = 0;
    virtual uint32_t Done(uint32_t& Handle) = 0;
    virtual uint32_t Error(uint32_t Kod, uint32_t* Text) = 0;

    // The host died or missed its deadline in the last call: that call's
    // result means nothing, and nothing more may be called.
    virtual bool Ztracena() const { return false; }
    // Why it was lost, in words: the library crashed, missed its deadline,
    // or the host ended without a word. Empty while it is not lost.
    virtual QString Duvod() const { return {}; }
};

// Binds the library at `Cesta` (a bare file name: the platform's library
// search) of kind `Druh` in this process. `Kod`: 0, 100 + kind when it does
// not load, 110 + kind when it lacks an entry (then null).
std::unique_ptr<VazbaOvladace> VazbaVProcesu(uint8_t Druh, const QString& Cesta, uint32_t& Kod);

// How to start a host: the program and its arguments (under Wine: the Wine
// command, then the host).
struct SpusteniHostitele {
    QString Program;
    QStringList Argumenty;
    bool Wine = false;
};

// Starts a host and has it bind the library at `Cesta`; `Kod` as above, and
// 100 + kind also when the host does not start or answer. `Odpovedel`, when
// given, tells whether the host answered at all (else it never came up);
// `Duvod`, why it was lost on the way (VazbaOvladace::Duvod).
std::unique_ptr<VazbaOvladace> VazbaPresHostitele(uint8_t Druh, const SpusteniHostitele& Spusteni,
                                                  const QString& Cesta, uint32_t& Kod,
                                                  bool* Odpovedel = nullptr,
                                                  QString* Duvod = nullptr);

// Vnitrni with every call on a thread of its own while the caller waits and
// asks Zastavit, so that a stop ends any wait (km207). Once Zastavit says
// true, a call still running gets PreruseniPoMs to end by itself; then it is
// left to its thread and returns KodPreruseno (so does a call whose host was
// lost with the stop: Ctrl-C reaches the host too), and the binding counts
// as lost. Vnitrni is then never released: the library may still be inside
// the call, so the process must end without unloading it.
constexpr int PreruseniPoMs = 500;
std::unique_ptr<VazbaOvladace> PrerusitelnaVazba(std::unique_ptr<VazbaOvladace> Vnitrni,
                                                 std::function<bool()> Zastavit);

// A call that waits on a host longer than a moment (about 0.3 s) hands the
// wait to this hook: Zacatek once, then Trva every few tens of
// milliseconds until the reply comes or the deadline passes, then Konec.
// The windows install one that keeps them painting with a busy cursor; it
// must never call into the link. Without one (km207) the call just waits.
// The deadline is the same either way.
enum class TCekani { Zacatek, Trva, Konec };
void NastavCekaniNaHostitele(std::function<void(TCekani)> Hook);
