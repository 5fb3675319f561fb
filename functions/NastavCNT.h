// Counter mode of the module (register 0).
#pragma once

#include "Nastaveni.h"

#include <QGroupBox>
#include <QRadioButton>

class TForm5 : public TNastaveni {
    Q_OBJECT
  public:
    explicit TForm5(QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;

    void ZapisOkno(TKonfigurace Konfig) override;

  protected:
    QString OknoNaKonfiguraci(TKonfigurace& Konfig) override;
};
