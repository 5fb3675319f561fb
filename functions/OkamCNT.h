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
