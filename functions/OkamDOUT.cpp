#include "OkamDOUT.h"

#include "Kxxx410.h"
#include "Operace.h"

#include <QShowEvent>

namespace {
constexpr int Sirka = 410;
constexpr int Vyska = 271;
} // namespace

TForm9::TForm9(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Zápis na digitální výstupy"));
    // The boxes are 65 pixels wide; at the toolkit's default size "DOUT16"
    // and up would be cut off.
    QFont pismo = font();
    pismo.setPointSize(8);
    setFont(pismo);

    const int sloupce[4] = {40, 128, 216, 304};
    for (int k = 0; k < 32; ++k) {
        auto* box = new QCheckBox(QStringLiteral("DOUT%1").arg(k), this);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(k + 1));
        PopisPole(box, tr("Výstup ") + box->text());
        box->setGeometry(sloupce[k / 8], 32 + 16 * (k % 8), 65, 17);
        CheckBoxy[k] = box;
    }

    Button1 = NoveTlacitko(this, QStringLiteral("Button1"), tr("Zapsat"), 208, 200);
    Button2 = NoveTlacitko(this, QStringLiteral("Button2"), tr("Cancel"), 296, 200);
    for (int k = 1; k < 32; ++k)
        setTabOrder(CheckBoxy[k - 1], CheckBoxy[k]);
    setTabOrder(CheckBoxy[31], Button1);
    setTabOrder(Button1, Button2);

    StatusBar1 = new TStatusBar(this, QStringLiteral("StatusBar1"), {-1});
    PevnaVelikost(this, StatusBar1, Sirka, Vyska);

    connect(Button1, &QPushButton::clicked, this, &TForm9::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm9::Button2Click);
    FormCreate();
}

void TForm9::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        VycentrujNaObrazovce(this);
        FormShow();
    }
}

void TForm9::ZobrazStav(const QString& Text) {
    StatusBar1->NastavText(0, Text);
}

void TForm9::FormCreate() {
    AdresaModulu = 0;
}

void TForm9::FormShow() {
    if (Data) AdresaModulu = Data->Adresa;
    // The dialog keeps no output states: every opening starts clear.
    for (QCheckBox* box : CheckBoxy)
        box->setChecked(false);
}

void TForm9::Button1Click() {
    if (!SpojeniOtevreno(Data)) {
        ZobrazStav(TextNeinicializovano);
        return;
    }
    std::array<uint8_t, 4> bajty{};
    for (int k = 0; k < 32; ++k) {
        const uint8_t maska = static_cast<uint8_t>(1u << (k % 8));
        if (CheckBoxy[k]->isChecked())
            bajty[k / 8] |= maska;
        else
            bajty[k / 8] &= static_cast<uint8_t>(~maska);
    }
    const uint8_t chyba = ZapisVystupy(CilModulu(*Data, AdresaModulu), bajty);
    if (chyba == 0)
        ZobrazStav(tr(" Data zapsána"));
    else
        ZobrazStav(QLatin1Char(' ') + TextChyby(Data->Rozhrani, chyba));
}

void TForm9::Button2Click() {
    close();
}
