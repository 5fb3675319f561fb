// Sets the module's 32 digital outputs in one command.
#pragma once

#include "Dekl.h"
#include "functions.h"

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>

#include <array>

class TForm9 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm9(QWidget* parent = nullptr);

    TData* Data = nullptr;
    uint8_t AdresaModulu = 0;

    // CheckBox1..CheckBox32, DOUT0 first.
    std::array<QCheckBox*, 32> CheckBoxy{};
    QPushButton* Button1;
    QPushButton* Button2;
    TStatusBar* StatusBar1;

  public slots:
    void FormCreate();
    void FormShow();
    void Button1Click();
    void Button2Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ZobrazStav(const QString& Text);
};
