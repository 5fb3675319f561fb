// What the three settings dialogs share (address and speed, counter mode,
// digital inputs/outputs): the working copy of the block, the four buttons
// and their one pattern of handlers, the status bar, and the transfers of
// the dialog's registers. A dialog adds its controls and says how they map
// to the block.
#pragma once

#include "Dekl.h"
#include "Prenos.h"
#include "functions.h"

#include <QDialog>
#include <QPushButton>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class TNastaveni : public QDialog {
    Q_OBJECT
  public:
    TData* Data = nullptr;
    TKonfigurace Konfig{};

    QPushButton* Button1 = nullptr; // "Zapsat"
    QPushButton* Button2 = nullptr; // "Přečíst"
    QPushButton* Button3 = nullptr; // "Ok"
    QPushButton* Button4 = nullptr; // "Cancel"
    TStatusBar* StatusBar1 = nullptr;

    // Konfig := the record's block, shown in the controls, nothing to report.
    void FormShow();
    // Reads the dialog's registers from the module into their bytes of Konfig.
    void PrectiData(TKonfigurace& Konfig);
    // Writes the dialog's registers from Konfig, verifying each.
    void ZapisData(TKonfigurace Konfig);
    // Takes the controls into Konfig. Returns why they are not valid, empty
    // when they are; the status bar shows it after one blank (" " alone
    // when valid).
    QString PrectiOkno(TKonfigurace& Konfig);
    // Puts Konfig into the controls.
    virtual void ZapisOkno(TKonfigurace Konfig) = 0;

    // "Zapsat": with the link open, the controls and, when valid, ZapisData.
    void Button1Click();
    // "Přečíst": with the link open, PrectiData, then ZapisOkno whatever came.
    void Button2Click();
    // "Ok": the controls and, when valid, Konfig into the record; then closes.
    void Button3Click();
    // "Cancel".
    void Button4Click();
    // Esc, the close box and "Cancel": during a transfer, once it stopped.
    void reject() override;

  protected:
    // Registry: the dialog's registers by number; Volby: where its
    // transfers differ from the usual one.
    TNastaveni(QWidget* parent, std::vector<uint8_t> Registry,
               const TVolbyBloku& Volby = TPrenos::BezPauzyNaKonci);

    // The four buttons at height Y with left edges X, connected; Tab visits
    // them in order.
    void Tlacitka(const std::array<int, 4>& X, int Y);
    // The one-panel status bar across the bottom of a fixed client area;
    // the panel at least SirkaPanelu wide when one is given.
    void StavovyRadek(int Sirka, int Vyska, int SirkaPanelu = 0);

    // The dialog's own reading of its controls into Konfig: why they are not
    // valid (no leading blank), empty when they are.
    virtual QString OknoNaKonfiguraci(TKonfigurace& Konfig) = 0;

    void showEvent(QShowEvent* event) override;

  private:
    // A button may start its transfer: none runs, and the link is open
    // (else the status bar says it is not).
    bool MuzePrenaset();

    const std::vector<uint8_t> Registry_;
    const TVolbyBloku Volby_;
    TPrenos Prenos{StatusBar1};
};
