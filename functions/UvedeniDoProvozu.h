// "Uvést do provozu": new modules leave the factory at one address; this
// window gives them the line's free addresses one at a time. The technician
// connects one new module and presses "Uvést modul"; the program finds it
// at the factory address and rate, writes the next free address (and the
// line's rate, when asked) with read-back, asks for the module to be
// switched off and on, waits for it at its new address and adds it to the
// line. A collision stops the step and says so in words.
#pragma once

#include "Dekl.h"
#include "Linka.h"
#include "Prenos.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include <functional>

class TFormUvedeni : public QDialog {
    Q_OBJECT
  public:
    // Data and Linka: the record and the line (not owned); Prenos: the line
    // window's transfer guard, so its stop and the one-user rule hold here.
    TFormUvedeni(TData* Data, TLinka* Linka, TPrenos& Prenos, QWidget* parent = nullptr);

    // After a module joined the line: what became of the line file, as a
    // sentence for the log (empty: nothing to say).
    std::function<QString()> Pridan;

    QLabel* LabelOd;
    QSpinBox* SpinBoxOd;
    QLabel* LabelDo;
    QSpinBox* SpinBoxDo;
    QCheckBox* CheckBoxRychlost; // the line's rate written too
    QComboBox* ComboBoxRychlost;
    QPlainTextEdit* TextPrubeh; // every step in words, newest last
    QPushButton* ButtonUvest;
    QPushButton* ButtonZastavit;
    QPushButton* ButtonZavrit;

    // "Uvést modul": one new module, from finding it to adding it.
    void UvestClick();

    void reject() override;

  private:
    void Pis(const QString& Text);

    TData* Data_;
    TLinka* Linka_;
    TPrenos& Prenos_;
};
