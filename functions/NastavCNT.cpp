#include "NastavCNT.h"

// The write reads the register back at once, with no pause between.
TForm5::TForm5(QWidget* parent)
    : TNastaveni(parent, {RegistrModCitace}, {.PauzaPoPoslednim = false, .OvereniHned = true}) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(tr("Nastavení čítače"));

    Tlacitka({16, 96, 174, 254}, 176);

    GroupBox1 = new QGroupBox(tr(" Mód čítače "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(16, 16, 313, 137);
    RadioButton1 = new QRadioButton(tr("32 bitů"), GroupBox1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(24, 32, 265, 22);
    RadioButton2 = new QRadioButton(tr("23 bitů"), GroupBox1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(24, 64, 265, 22);
    RadioButton3 = new QRadioButton(tr("+/- 23 bitů"), GroupBox1);
    RadioButton3->setObjectName(QStringLiteral("RadioButton3"));
    RadioButton3->setGeometry(24, 96, 265, 22);

    // One panel; as the last panel of its bar it reaches the right edge, so
    // the transfer texts are not cut at 50 pixels.
    StavovyRadek(345, 255, 50);

    setTabOrder(Button4, RadioButton1);
    setTabOrder(RadioButton1, RadioButton2);
    setTabOrder(RadioButton2, RadioButton3);
}

QString TForm5::OknoNaKonfiguraci(TKonfigurace& Konfig) {
    uint8_t Mod = 0;
    if (RadioButton2->isChecked()) Mod = 1;
    if (RadioButton3->isChecked()) Mod = 2;
    Konfig.KonfModCitace = Mod;
    return {};
}

void TForm5::ZapisOkno(TKonfigurace Konfig) {
    switch (Konfig.KonfModCitace) {
    case 0:
        RadioButton1->setChecked(true);
        break;
    case 1:
        RadioButton2->setChecked(true);
        break;
    case 2:
        RadioButton3->setChecked(true);
        break;
    default:
        break;
    }
}
