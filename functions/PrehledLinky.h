// "Přehled linky": every module of a line at a glance. The list (the main
// window's TLinka) comes from the search, a line file or is typed by hand;
// while the window is open it polls the modules round robin over the
// program's open link and shows each one's state and flags in words and in
// colour. It also runs the operations on a whole line: acknowledging the
// state, backup into a folder, restore from one, commissioning.
//
// Modeless: a view kept open while working in the other windows. While any
// of them uses the link (TUzivatelSpojeni) the poll sends nothing, and a
// window asking for the link while a cycle runs waits until the cycle has
// stopped at its next pause (Odloz).
#pragma once

#include "Dekl.h"
#include "Linka.h"
#include "Prenos.h"
#include "functions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>

#include <functional>

// File dialog filter of line files.
inline constexpr TText FiltrLinky{
    "TForm17", QT_TRANSLATE_NOOP("TForm17", "Linka KM-207 (*.km207linka);;Všechny soubory (*)")};

class TForm17 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm17(QWidget* parent = nullptr);

    // The main window's record and line; not owned.
    TData* Data = nullptr;
    TLinka* Linka = nullptr;
    // A double click made a module the program's module (the record's
    // Adresa, Rychlost and Modul changed, the link set to its rate): the
    // main window shows it in its status bar.
    std::function<void()> ModulZmenen;

    enum TSloupec {
        SAdresa,
        SRychlost,
        SModul,
        SPopis,
        SStav,
        SOdpoved,
        SSelhani,
        SBity,
        SCitac,
        SVstupy,
        SPriznaky,
        PocetSloupcu
    };

    // One row per module, in the line's order; only the label is edited.
    QTableWidget* TabulkaModulu;
    QLabel* LabelPerioda;
    QSpinBox* SpinBoxPerioda; // s, from the start of one cycle to the next
    QLabel* LabelVynechani;
    QSpinBox* SpinBoxVynechani;    // misses in a row before "neodpovídá"
    QPushButton* ButtonPozastavit; // checkable
    QPushButton* ButtonOtevrit;
    QPushButton* ButtonUlozit;
    QPushButton* ButtonPorovnat;
    QLabel* LabelAdresa;
    QSpinBox* SpinBoxAdresa;
    QLabel* LabelRychlost;
    QComboBox* ComboBoxRychlost;
    QLabel* LabelPopis;
    QLineEdit* EditPopis;
    QPushButton* ButtonPridat;
    QPushButton* ButtonOdebrat;
    QPushButton* ButtonPotvrdit;
    QCheckBox* CheckBoxNulovat; // clear the status registers too
    QPushButton* ButtonZalohovat;
    QPushButton* ButtonObnovit;
    QPushButton* ButtonUvest;
    QPushButton* ButtonZastavit;
    QPushButton* ButtonZavrit;
    TStatusBar* StatusBar1;
    QTimer* Timer1; // the poll, single-shot, started again after each cycle

    // Period bounds, s.
    static constexpr int NejkratsiPerioda = 1;
    static constexpr int NejdelsiPerioda = 3600;

    // While a cycle or an operation of this window runs: Akce runs once it
    // is over, and true is returned. A cycle is stopped at its next pause
    // for it; an operation only when Zastavit. False when nothing runs, so
    // the caller acts at once.
    bool Odloz(const std::function<void()>& Akce, bool Zastavit);
    bool Zaneprazdnen() const { return Prenos.Bezi(); }
    // The rows anew from the line (its list changed outside the window).
    void ObnovTabulku();
    // The line file opened or saved last; empty when none.
    const QString& SouborLinky() const { return Soubor_; }

  public slots:
    void Timer1Timer();
    void OtevritClick();
    void UlozitClick();
    void PorovnatClick();
    void PridatClick();
    void OdebratClick();
    void PotvrditClick();
    void ZalohovatClick();
    void ObnovitClick();
    void UvestClick();
    // A double click (or Enter) on a row: its module becomes the program's.
    void VyberModul(int Radek);

    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    // The constructor's parts.
    void VytvorOvladani();
    void VytvorTabulku();
    void VytvorRucniZadani();
    void VytvorOperace();
    void Rozloz();
    void Propoj();

    void ZobrazStav(const QString& Text);
    void UkazRadek(int Radek);
    void Naplanuj(qint64 Trvalo);
    void ZmenPopis(QTableWidgetItem* Polozka);
    // A handler's work as one transfer of this window; while the poll runs,
    // the handler runs again once it has stopped (true then).
    bool Pockej(void (TForm17::*Handler)());
    // Buttons that start an operation, off while one runs.
    void Zamkni(bool Zamceno);
    TRizeni RizeniOperace();
    TPrubehLinky PrubehOperace(const QString& Text);
    // Reads a line file chosen by the operator; false when cancelled or
    // refused (the reason shown).
    bool CtiSouborLinky(const QString& Titulek, TSouborLinky& Soubor, QString& Cesta);
    // The line saved again into its file (commissioning added a module):
    // what became of it, as a sentence; empty without a file.
    QString UlozDoSouboru();

    QString Soubor_;
    uint64_t Verze_ = ~uint64_t{0};
    bool Otevreno_ = false;
    bool Cyklus_ = false;  // a poll cycle runs (Prenos runs it)
    bool Zamceno_ = false; // an operation runs or waits for the operator: no poll
    bool Plnim_ = false;   // rows being filled: label edits are the window's own
    TStatusBar* BezStavu_ = nullptr;
    TPrenos Prenos{BezStavu_};
};

// A report or a question of the line window: Text in a read-only box,
// Tlacitko the button that agrees ("Zapsat", "Vynulovat"; empty: a report
// with "Zavřít" alone). True when the operator agreed. Tests replace it.
extern bool (*ZpravaLinky)(QWidget* Rodic, const QString& Titulek, const QString& Text,
                           const QString& Tlacitko);

// A module of the line as the line window names it: "adresa 5, 9600 Bd"
// and its label in quotes when it has one.
QString PopisModuluLinky(const TModulLinky& Modul);
