// Address and speed of the module (registers 63 and 62).
#pragma once

#include "Dekl.h"
#include "Prenos.h"
#include "functions.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstdint>

// Checked number of a typed text; the whole value is compared with the
// range before it is cut to a byte. Value is untouched on failure.
bool TextNaByte(const QString& Text, uint8_t Min, uint8_t Max, uint8_t& Hodnota);

class TForm12 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm12(QWidget* parent = nullptr);

    TData* Data = nullptr;
    TKonfigurace Konfig{};

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
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
