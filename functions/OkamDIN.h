// Live view of the module's 32 digital inputs.
#pragma once

#include "Dekl.h"
#include "functions.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <array>

class TForm11 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm11(QWidget* parent = nullptr);

    TData* Data = nullptr;
    uint8_t AdresaModulu = 0;

    // Value labels Label33..Label64, DIN0 first.
    std::array<QLabel*, 32> Hodnoty{};
    QPushButton* Button1;
    TStatusBar* StatusBar1;
    QTimer* Timer1;

  public slots:
    void FormCreate();
    void FormShow();
    void Timer1Timer();
    void Button1Click();

  protected:
    void showEvent(QShowEvent* event) override;
};
