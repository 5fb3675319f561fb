// The module's whole configuration kept in a file and put on a module: the
// window behind "Uložit konfiguraci modulu…" and "Nahrát konfiguraci do
// modulu…". Saving reads the block and writes the file. Loading checks the
// whole file first, reads the module, shows what differs, and writes the
// differing registers with verification only when the operator presses
// "Zapsat do modulu".
#pragma once

#include "Dekl.h"
#include "Operace.h"
#include "Prenos.h"
#include "SouborKonfigurace.h"
#include "Soubory.h"
#include "functions.h"

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include <cstdint>
#include <memory>
#include <vector>

// Suffix and file dialog filter of configuration files.
inline constexpr TText FiltrKonfigurace{
    "TFormKonfigurace",
    QT_TRANSLATE_NOOP("TFormKonfigurace", "Konfigurace KM-207 (*.km207);;Všechny soubory (*)")};

class TFormKonfigurace : public QDialog {
    Q_OBJECT
  public:
    enum class TRezim { Ulozit, Nahrat };

    // Soubor: the file to write (Ulozit) or to load (Nahrat).
    TFormKonfigurace(TRezim Rezim, const QString& Soubor, QWidget* parent = nullptr);

    // The connection record of the main window; not owned.
    TData* Data = nullptr;

    QLabel* LabelSoubor = nullptr;
    QLabel* LabelModul = nullptr;
    // One row per register of the block: number, meaning, value in the
    // module, value in the file, whether it changes.
    QTreeWidget* TreeRegistry = nullptr;
    // The change of address or rate waits for the module's next power-up.
    QLabel* LabelPoznamka = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* LabelStav = nullptr;
    QPushButton* ButtonZapsat = nullptr;
    QPushButton* ButtonZastavit = nullptr;
    QPushButton* ButtonZavrit = nullptr;

    // The window's work once it is on screen: save reads the module and
    // writes the file; load checks the file, reads the module and shows
    // the differences.
    void Spust();
    // "Zapsat do modulu": the differing registers, written and verified.
    void ZapsatClick();

    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Stav(const QString& Text);
    bool CtiModul();
    void Uloz();
    void ZobrazTabulku();
    // Progress and the stop request of the link's operations.
    TRizeni Rizeni();
    void Prubeh(int Hotovo, int Celkem);

    TRezim Rezim_;
    QString Cesta_;
    bool Spusteno_ = false;
    bool SouborPlatny_ = false;
    bool ModulPrecten_ = false;
    TSouborKonfigurace Soubor_;
    // Save: the target, checked and opened before the module is read.
    std::unique_ptr<TZapisSouboru> Cil_;
    TKonfigurace Modul_{};
    // A register whose write went out but was not verified: its value in
    // the module is not known. -1 for none.
    int Neznamy_ = -1;
    // The windows of this kind report in LabelStav, not in a status bar.
    TStatusBar* BezStavu_ = nullptr;
    TPrenos Prenos{BezStavu_};
};

// A register's value as the operator reads it: the address in decimal, the
// baud index as its rate, the counter mode in decimal, a digital I/O byte
// in hexadecimal and bit by bit (DIN7 ... DIN0).
QString HodnotaRegistru(uint8_t Registr, uint8_t Hodnota);
