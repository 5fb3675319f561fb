// Negation of the digital inputs and outputs and the outputs' initial state
// (registers 32-43).
#pragma once

#include "Nastaveni.h"

#include <QCheckBox>
#include <QGroupBox>

#include <array>

class TForm14 : public TNastaveni {
    Q_OBJECT
  public:
    explicit TForm14(QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    // CheckBox1 ... CheckBox96 at index 0 ... 95.
    std::array<QCheckBox*, 96> CheckBox{};

    void ZapisOkno(TKonfigurace Konfig) override;

  protected:
    QString OknoNaKonfiguraci(TKonfigurace& Konfig) override;
};
