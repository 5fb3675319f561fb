// Address and speed of the module (registers 63 and 62).
#pragma once

#include "Nastaveni.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <cstdint>

// Checked number of a typed text; the whole value is compared with the
// range before it is cut to a byte. Value is untouched on failure.
bool TextNaByte(const QString& Text, uint8_t Min, uint8_t Max, uint8_t& Hodnota);

class TForm12 : public TNastaveni {
    Q_OBJECT
  public:
    explicit TForm12(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QComboBox* ComboBox1 = nullptr;

    void ZapisOkno(TKonfigurace Konfig) override;

  protected:
    QString OknoNaKonfiguraci(TKonfigurace& Konfig) override;
};
