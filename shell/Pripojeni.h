// Connection dialog: chooses the interface kind and its parameters, opens the
// link and identifies the module.
#pragma once

#include "Dekl.h"
#include "Operace.h"
#include "Rychlosti.h"
#include "Spojeni.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstdint>
#include <functional>
#include <vector>

class TForm2 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm2(QWidget* parent = nullptr);

    // The connection record of the main window; not owned.
    TData* Data = nullptr;

    QLabel* Label5 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    // "Hledat…": module search (TFormHledani); fills Edit1 and ComboBox1
    // with the module picked there.
    QPushButton* Button3 = nullptr;
    // Handed to the search: takes the modules of its "Do přehledu".
    std::function<void(const std::vector<TNalez>&)> DoPrehledu;

    void FormShow();
    void ComboBox2Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();

    // The interface the entries describe: the kind and its parameters into
    // Zadani (its configuration block cleared), the rate and the COM port
    // as handed to Init into Jak; the entries stay as they are. Taken in
    // the order "Inicializace připojení" checks them, so a refused entry
    // stops there with those before it taken. Empty, or the reason, in the
    // texts of "Inicializace připojení".
    QString ZadaniRozhrani(TData& Zadani, TOtevreni& Jak) const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void UkazParametry(int Rozhrani);
    void NastavStav(const QString& Text);
    // Status panel of the given height (0: one line) and what lies below it.
    void UmistiStav(int Vyska);

    bool umisteno_ = false;
};
