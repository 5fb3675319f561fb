#include "StatReg.h"

#include "Kxxx410.h"
#include "Operace.h"

#include <QShowEvent>

namespace {
constexpr int Sirka = 472;
constexpr int Vyska = 250;
} // namespace

TForm15::TForm15(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Status registr"));

    Hodnoty = PostavMrizkuBitu(this, 16, 16, JmenaBituStavu());

    Button2 = NoveTlacitko(this, QStringLiteral("Button2"), tr("Vynulovat"),
                           Sirka - 16 - 75 - 12 - 75, 188);
    Button1 = NoveTlacitko(this, QStringLiteral("Button1"), tr("Cancel"), Sirka - 16 - 75, 188);
    setTabOrder(Button2, Button1);

    StatusBar1 = new TStatusBar(this, QStringLiteral("StatusBar1"), {-1});
    PevnaVelikost(this, StatusBar1, Sirka, Vyska);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);

    connect(Timer1, &QTimer::timeout, this, &TForm15::Timer1Timer);
    connect(Button1, &QPushButton::clicked, this, &TForm15::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm15::Button2Click);
    FormCreate();
    Timer1->start();
}

void TForm15::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        VycentrujNaObrazovce(this);
        FormShow();
    }
}

void TForm15::ZobrazStav(const QString& Text) {
    StatusBar1->NastavText(0, Text);
}

void TForm15::FormCreate() {
    AdresaModulu = 0;
}

void TForm15::FormShow() {
    if (Data) AdresaModulu = Data->Adresa;
}

void TForm15::Timer1Timer() {
    CtiBity(Data, AdresaModulu, CtiStav, Hodnoty, StatusBar1);
}

void TForm15::Button2Click() {
    if (!Data) return;
    if (!SpojeniOtevreno(Data)) {
        ZobrazStav(TextNeinicializovano);
        return;
    }
    const uint8_t chyba = NulujStav(CilModulu(*Data, AdresaModulu));
    if (chyba != 0) ZobrazStav(QLatin1Char(' ') + TextChyby(Data->Rozhrani, chyba));
}

void TForm15::Button1Click() {
    close();
}
