// Module search, opened by "Hledat…" in the connection dialog: the
// identification request to a range of addresses, at the rate chosen in
// the dialog or at all nine. Nothing is ever written to a module.
//
// With the record's link open, the search runs over that link and gives it
// its own rate back afterwards. Otherwise it opens the interface the
// dialog's entries describe for the search alone and closes it again. The
// record is left as it was found either way; a double click on a module
// only hands its address and rate back to the dialog's entries; "Do
// přehledu" hands every module found to the line overview.
#pragma once

#include "Dekl.h"
#include "Operace.h"
#include "Prenos.h"
#include "Spojeni.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include <functional>
#include <optional>
#include <vector>

class TFormHledani : public QDialog {
    Q_OBJECT
  public:
    // Data: the record (not owned). Zadani and Jak: the interface the
    // entries describe, used while Data's link is not open, and the
    // dialog's rate (Jak.IndexRychlosti); Popis names the interface
    // searched; Chyba, when not empty, why the entries cannot be used
    // (nothing is searched then).
    TFormHledani(TData* Data, const TData& Zadani, const TOtevreni& Jak, const QString& Popis,
                 const QString& Chyba, QWidget* parent = nullptr);

    QLabel* LabelRozhrani = nullptr;
    QLabel* Label1 = nullptr;
    QSpinBox* SpinBoxOd = nullptr;
    QLabel* Label2 = nullptr;
    QSpinBox* SpinBoxDo = nullptr;
    QCheckBox* CheckBoxRychlosti = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    // Address, rate, identification of every module that answered.
    QTreeWidget* TreeNalezene = nullptr;
    QLabel* LabelStav = nullptr;
    QPushButton* ButtonHledat = nullptr;
    QPushButton* ButtonZastavit = nullptr;
    QPushButton* ButtonZavrit = nullptr;
    // "Do přehledu": shown when DoPrehledu is set, usable once modules
    // were found.
    QPushButton* ButtonDoPrehledu = nullptr;

    // Takes the modules of the last search for the line overview.
    std::function<void(const std::vector<TNalez>&)> DoPrehledu;

    // The module the operator picked; set when the window is accepted.
    std::optional<TNalez> Vybrany;

    void HledatClick();
    void DoPrehleduClick();
    // A double click (or Enter) on a found module: pick it and close.
    void Vyber(QTreeWidgetItem* Polozka);

    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Stav(const QString& Text);
    QString Souhrn(const TVysledekHledani& V, uint8_t Rozhrani) const;

    TData* Data_;
    TData Zadani_;
    TOtevreni Jak_;
    int IndexRychlosti_;
    // Where the search stands: the last address tried and its rate.
    int Adresa_ = -1;
    int Rychlost_ = -1;
    std::vector<TNalez> Nalezene_; // of the last search
    bool Umisteno_ = false;
    TStatusBar* BezStavu_ = nullptr;
    TPrenos Prenos{BezStavu_};
};
