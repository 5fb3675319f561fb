#include "OkamDIN.h"

#include "Operace.h"

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
    setWindowTitle(tr("Okamžité hodnoty digitálních vstupů"));

    Hodnoty = PostavMrizkuBitu(this, 16, 16, JmenaVstupu());

    Button1 = NoveTlacitko(this, QStringLiteral("Button1"), tr("Cancel"), Sirka - 16 - 75, 188);

    StatusBar1 = new TStatusBar(this, QStringLiteral("StatusBar1"), {-1});
    PevnaVelikost(this, StatusBar1, Sirka, Vyska);

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

void TForm11::FormCreate() {
    AdresaModulu = 0;
}

void TForm11::FormShow() {
    if (Data) AdresaModulu = Data->Adresa;
}

void TForm11::Timer1Timer() {
    CtiBity(Data, AdresaModulu, CtiVstupy, Hodnoty, StatusBar1);
}

void TForm11::Button1Click() {
    close();
}
