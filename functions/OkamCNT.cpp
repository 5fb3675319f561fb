#include "OkamCNT.h"

#include "Kxxx410.h"
#include "Operace.h"

#include <QShowEvent>

namespace {
constexpr int Sirka = 330;
constexpr int Vyska = 150;
} // namespace

TForm6::TForm6(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Okamžitá hodnota čítače"));

    Label1 = new QLabel(tr("Čítač"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setGeometry(24, 28, 50, 25);

    Panel1 = new QLabel(QStringLiteral("0"), this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setTextFormat(Qt::PlainText);
    Panel1->setAlignment(Qt::AlignCenter);
    NastavBilyRam(Panel1);
    Panel1->setGeometry(80, 24, 225, 33);

    Button1 = NoveTlacitko(this, QStringLiteral("Button1"), tr("Nulovat"), 140, 76);
    Button2 = NoveTlacitko(this, QStringLiteral("Button2"), tr("Cancel"), 230, 76);
    setTabOrder(Button1, Button2);

    StatusBar1 = new TStatusBar(this, QStringLiteral("StatusBar1"), {-1});
    PevnaVelikost(this, StatusBar1, Sirka, Vyska);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);

    connect(Timer1, &QTimer::timeout, this, &TForm6::Timer1Timer);
    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
}

void TForm6::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        VycentrujNaObrazovce(this);
        FormShow();
    }
}

void TForm6::ZobrazStav(const QString& Text) {
    StatusBar1->NastavText(0, Text);
}

void TForm6::FormShow() {
    AdresaModulu = Data ? Data->Adresa : 0;
    Panel1->setText(QStringLiteral("0"));
    Timer1->start();
}

void TForm6::Timer1Timer() {
    if (!SpojeniOtevreno(Data)) {
        ZobrazStav(TextNeinicializovano);
        return;
    }
    // Off while waiting for the module, so ticks never pile up behind it.
    Timer1->stop();
    TCitac citac;
    const uint8_t chyba = CtiCitac(CilModulu(*Data, AdresaModulu), citac);
    if (chyba != 0) {
        ZobrazStav(QLatin1Char(' ') + TextChyby(Data->Rozhrani, chyba));
        Timer1->start();
        return;
    }
    Panel1->setText(citac.Text());
    Timer1->start();
    ZobrazStav(QLatin1Char(' ') + TextChyby(Data->Rozhrani, 0));
}

void TForm6::Button1Click() {
    if (!SpojeniOtevreno(Data)) {
        ZobrazStav(TextNeinicializovano);
        return;
    }
    Timer1->stop();
    const uint8_t chyba = NulujCitac(CilModulu(*Data, AdresaModulu));
    if (chyba != 0)
        ZobrazStav(QLatin1Char(' ') + TextChyby(Data->Rozhrani, chyba));
    else
        ZobrazStav(tr(" Čítač vynulován"));
    Timer1->start();
}

void TForm6::Button2Click() {
    Timer1->stop();
    close();
}
