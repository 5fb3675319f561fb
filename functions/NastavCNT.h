// Counter mode of the module (register 0).
#pragma once

#include "Dekl.h"
#include "Prenos.h"
#include "functions.h"

#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <cstdint>

class TForm5 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm5(QWidget* parent = nullptr);

    TData* Data = nullptr;
    TKonfigurace Konfig{};

    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
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
