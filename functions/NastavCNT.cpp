#include "NastavCNT.h"

#include "Kxxx410.h"

#include <QShowEvent>

namespace {

const std::vector<TRegistr> Registry{{RegistrModCitace, 2}};

} // namespace

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Nastavení čítače"));

    Button1 = NoveTlacitko(this, QStringLiteral("Button1"), QStringLiteral("Zapsat"), 16, 176);
    Button2 = NoveTlacitko(this, QStringLiteral("Button2"), QStringLiteral("Přečíst"), 96, 176);
    Button3 = NoveTlacitko(this, QStringLiteral("Button3"), QStringLiteral("Ok"), 174, 176);
    Button4 = NoveTlacitko(this, QStringLiteral("Button4"), QStringLiteral("Cancel"), 254, 176);

    GroupBox1 = new QGroupBox(QStringLiteral(" Mód čítače "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(16, 16, 313, 137);
    RadioButton1 = new QRadioButton(QStringLiteral("32 bitů"), GroupBox1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(24, 32, 265, 22);
    RadioButton2 = new QRadioButton(QStringLiteral("23 bitů"), GroupBox1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(24, 64, 265, 22);
    RadioButton3 = new QRadioButton(QStringLiteral("+/- 23 bitů"), GroupBox1);
    RadioButton3->setObjectName(QStringLiteral("RadioButton3"));
    RadioButton3->setGeometry(24, 96, 265, 22);

    // One panel; as the last panel of its bar it reaches the right edge, so
    // the transfer texts are not cut at 50 pixels.
    StatusBar1 = new TStatusBar(this, QStringLiteral("StatusBar1"), {-1});
    StatusBar1->Panel(0)->setMinimumWidth(50);
    PevnaVelikost(this, StatusBar1, 345, 255);

    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);
    setTabOrder(Button4, RadioButton1);
    setTabOrder(RadioButton1, RadioButton2);
    setTabOrder(RadioButton2, RadioButton3);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
}

void TForm5::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    VycentrujNaObrazovce(this);
    FormShow();
}

void TForm5::FormShow() {
    if (Data) Konfig = Data->Konfigurace;
    ZapisOkno(Konfig);
    StatusBar1->NastavText(0, QStringLiteral(" "));
}

void TForm5::PrectiData(TKonfigurace& Konfig) {
    Prenos.Precti(Data, Konfig, Registry);
}

void TForm5::ZapisData(TKonfigurace Konfig) {
    // Each register read back at once, as the counter mode dialog does.
    Prenos.Zapis(Data, Konfig, Registry, {.PauzaPoPoslednim = false, .OvereniHned = true});
}

void TForm5::PrectiOkno(TKonfigurace& Konfig) {
    uint8_t Mod = 0;
    if (RadioButton2->isChecked()) Mod = 1;
    if (RadioButton3->isChecked()) Mod = 2;
    Konfig.KonfModCitace = Mod;
    StatusBar1->NastavText(0, QStringLiteral(" "));
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

void TForm5::Button1Click() {
    Prenos.Zapsat(
        Data, [this] { PrectiOkno(Konfig); }, [this] { ZapisData(Konfig); });
}

void TForm5::Button2Click() {
    Prenos.Precist(
        Data, [this] { PrectiData(Konfig); }, [this] { ZapisOkno(Konfig); });
}

void TForm5::Button3Click() {
    if (Prenos.Odloz([this] { Button3Click(); })) return;
    Prenos.Prijmout(Data, Konfig, [this] { PrectiOkno(Konfig); });
    accept();
}

void TForm5::Button4Click() {
    reject();
}

void TForm5::reject() {
    if (Prenos.Odloz([this] { reject(); })) return;
    QDialog::reject();
}
