// The guard around the settings dialogs' transfers: one at a time, a stop
// asked for at the next pause, the close deferred until the transfer is
// done, progress texts in the dialog's status bar. The registers themselves
// go through the link's one transfer loop (CtiRegistry, ZapisBlok).
#pragma once

#include "Dekl.h"
#include "Operace.h"
#include "Prikazy.h"
#include "functions.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

inline constexpr TText TextCteni{
    "TPrenos", QT_TRANSLATE_NOOP("TPrenos", " Probíhá čtení konfigurace z modulu (")};
inline constexpr TText TextZapis{
    "TPrenos", QT_TRANSLATE_NOOP("TPrenos", " Probíhá zápis konfigurace do modulu (")};
inline constexpr TText TextPrecteno{"TPrenos",
                                    QT_TRANSLATE_NOOP("TPrenos", " Konfigurace přečtena.")};
inline constexpr TText TextZapsano{"TPrenos",
                                   QT_TRANSLATE_NOOP("TPrenos", " Konfigurace zapsána.")};

// One dialog's transfers. Only one runs at a time: the pauses let window
// messages run, so a click may arrive while a transfer is under way.
class TPrenos {
  public:
    explicit TPrenos(TStatusBar*& StatusBar) : StatusBar_(StatusBar) {}

    // Reads the registers (by number) into their bytes of Konfig. False
    // when stopped early (error, or a close asked for). Nothing happens
    // without a link. By default no pause follows the last register.
    bool Precti(const TData* Data, TKonfigurace& Konfig, const std::vector<uint8_t>& Registry,
                const TVolbyBloku& Volby = BezPauzyNaKonci);
    // Writes the registers from Konfig, verifying each.
    bool Zapis(const TData* Data, const TKonfigurace& Konfig, const std::vector<uint8_t>& Registry,
               const TVolbyBloku& Volby = BezPauzyNaKonci);

    // Runs a button's work as one transfer; refused (false) while another
    // runs. A close asked for meanwhile acts once the work is done. The
    // transfer holds the link (TUzivatelSpojeni) while it runs.
    bool Proved(const std::function<void()>& Prace);
    // While a transfer runs: keeps Akce (the first one asked for) to run
    // after it and, unless Zastavit is false, stops it at its next pause;
    // true then. False when nothing runs, so the caller acts at once.
    bool Odloz(const std::function<void()>& Akce, bool Zastavit = true);
    // "Zastavit": stops the running transfer at its next pause.
    void Zastav() {
        if (Bezi_) Zastavit_ = true;
    }
    // A stop was asked for: what a long operation of the link asks at each
    // pause (TRizeni::Zastavit).
    bool Zastavuje() const { return Zastavit_; }
    bool Bezi() const { return Bezi_; }

    // The settings dialogs' usual transfer: nothing follows the last register.
    static constexpr TVolbyBloku BezPauzyNaKonci{.PauzaPoPoslednim = false, .OvereniHned = false};

  private:
    void Zobraz(const QString& Text);
    // Runs one transfer of the link with this guard's pause and stop,
    // showing Probiha's progress and then Hotovo or the error.
    using TAkce = std::function<TVysledekBloku(const TRizeni&, const TPrubehBloku&)>;
    bool Prenes(const QString& Probiha, const QString& Hotovo, int Pocet, const TAkce& Akce);

    TStatusBar*& StatusBar_;
    bool Bezi_ = false;
    bool Zastavit_ = false;
    std::function<void()> Odlozena_;
};
