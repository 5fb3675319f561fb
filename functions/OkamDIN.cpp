#include "OkamDIN.h"

#include "Kxxx410.h"

#include <QShowEvent>

namespace {
constexpr int Sirka = 472;
constexpr int Vyska = 250;

std::array<QString, 32> JmenaVstupu() {
    std::array<QString, 32> jmena;
    for (int n = 0; n < 32; ++n)
        jmena[n] = QStringLiteral("DIN%1").arg(n);
    return jmena;
}
} // namespace

TForm11::TForm11(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Okamžité hodnoty digitálních vstupů"));
    setFixedSize(Sirka, Vyska);

    Hodnoty = PostavMrizkuBitu(this, 16, 16, JmenaVstupu());

    Button1 = new QPushButton(QStringLiteral("Cancel"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(Sirka - 16 - 75, 188, 75, 25);
    Button1->setAutoDefault(false);
    Button1->setDefault(false);

    StatusBar1 = new TStatusBar(this, QStringLiteral("StatusBar1"), {-1});
    const int v = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, Vyska - v, Sirka, v);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);

    connect(Timer1, &QTimer::timeout, this, &TForm11::Timer1Timer);
    connect(Button1, &QPushButton::clicked, this, &TForm11::Button1Click);
    FormCreate();
    Timer1->start();
}

void TForm11::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        VycentrujNaObrazovce(this);
        FormShow();
    }
}

void TForm11::ZobrazStav(const QString& Text) {
    StatusBar1->NastavText(0, Text);
}

void TForm11::FormCreate() {
    AdresaModulu = 0;
}

void TForm11::FormShow() {
    if (Data) AdresaModulu = Data->Adresa;
}

void TForm11::Timer1Timer() {
    CtiBity(Data, AdresaModulu, 0, 64, Hodnoty, StatusBar1);
}

void TForm11::Button1Click() {
    close();
}
