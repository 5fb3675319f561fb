// The module's real-time clock and its last power failure; sets the clock
// from the PC.
#pragma once

#include "Dekl.h"
#include "functions.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

class TForm3 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm3(QWidget* parent = nullptr);

    TData* Data = nullptr;
    uint8_t AdresaModulu = 0;
    bool VypadekPrecten = false;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QFrame* Panel1;
    QFrame* Panel2;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
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
    // Shows the outcome of a command that failed; false then.
    bool Uspel(uint8_t Chyba);
};
