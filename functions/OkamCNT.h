// Live value of the module's counter, polled ten times a second.
#pragma once

#include "Dekl.h"
#include "functions.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

class TForm6 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm6(QWidget* parent = nullptr);

    TData* Data = nullptr;
    uint8_t AdresaModulu = 0;

    QLabel* Label1;
    QLabel* Panel1;
    QPushButton* Button1;
    QPushButton* Button2;
    TStatusBar* StatusBar1;
    QTimer* Timer1;

  public slots:
    void FormShow();
    void Timer1Timer();
    void Button1Click();
    void Button2Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ZobrazStav(const QString& Text);
};

// Counter bytes as the module's mode formats them: mode 2 is sign and
// 23-bit magnitude, every other mode an unsigned 32-bit number.
QString CitacNaText(uint8_t Mod, uint8_t B1, uint8_t B2, uint8_t B3, uint8_t B4);
