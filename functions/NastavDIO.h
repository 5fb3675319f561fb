// Negation of the digital inputs and outputs and the outputs' initial state
// (registers 32-43).
#pragma once

#include "Dekl.h"
#include "Prenos.h"
#include "functions.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>

#include <array>
#include <cstdint>

class TForm14 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm14(QWidget* parent = nullptr);

    TData* Data = nullptr;
    TKonfigurace Konfig{};

    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    // CheckBox1 ... CheckBox96 at index 0 ... 95.
    std::array<QCheckBox*, 96> CheckBox{};
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    TStatusBar* StatusBar1 = nullptr;

    void FormShow();
    void PrectiData(TKonfigurace& Konfig);
    void ZapisData(TKonfigurace Konfig);
    void PrectiOkno(TKonfigurace& Konfig);
    void ZapisOkno(TKonfigurace Konfig);
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    TPrenos Prenos{StatusBar1};
};
