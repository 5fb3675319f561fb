#include "Nastaveni.h"

#include <QShowEvent>

#include <utility>

TNastaveni::TNastaveni(QWidget* parent, std::vector<uint8_t> Registry, const TVolbyBloku& Volby)
    : QDialog(parent), Registry_(std::move(Registry)), Volby_(Volby) {}

void TNastaveni::Tlacitka(const std::array<int, 4>& X, int Y) {
    Button1 = NoveTlacitko(this, QStringLiteral("Button1"), tr("Zapsat"), X[0], Y);
    Button2 = NoveTlacitko(this, QStringLiteral("Button2"), tr("Přečíst"), X[1], Y);
    Button3 = NoveTlacitko(this, QStringLiteral("Button3"), tr("Ok"), X[2], Y);
    Button4 = NoveTlacitko(this, QStringLiteral("Button4"), tr("Cancel"), X[3], Y);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
}

void TNastaveni::StavovyRadek(int Sirka, int Vyska, int SirkaPanelu) {
    StatusBar1 = new TStatusBar(this, QStringLiteral("StatusBar1"), {-1});
    if (SirkaPanelu > 0) StatusBar1->Panel(0)->setMinimumWidth(SirkaPanelu);
    PevnaVelikost(this, StatusBar1, Sirka, Vyska);
}

void TNastaveni::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    VycentrujNaObrazovce(this);
    FormShow();
}

void TNastaveni::FormShow() {
    if (Data) Konfig = Data->Konfigurace;
    ZapisOkno(Konfig);
    StatusBar1->NastavText(0, QStringLiteral(" "));
}

void TNastaveni::PrectiData(TKonfigurace& Konfig) {
    Prenos.Precti(Data, Konfig, Registry_, Volby_);
}

void TNastaveni::ZapisData(TKonfigurace Konfig) {
    Prenos.Zapis(Data, Konfig, Registry_, Volby_);
}

QString TNastaveni::PrectiOkno(TKonfigurace& Konfig) {
    const QString Chyba = OknoNaKonfiguraci(Konfig);
    StatusBar1->NastavText(0, QLatin1Char(' ') + Chyba);
    return Chyba;
}

bool TNastaveni::MuzePrenaset() {
    if (Prenos.Bezi()) return false;
    if (SpojeniOtevreno(Data)) return true;
    StatusBar1->NastavText(0, TextNeinicializovano);
    return false;
}

void TNastaveni::Button1Click() {
    if (!MuzePrenaset()) return;
    Prenos.Proved([this] {
        if (PrectiOkno(Konfig).isEmpty()) ZapisData(Konfig);
    });
}

void TNastaveni::Button2Click() {
    if (!MuzePrenaset()) return;
    Prenos.Proved([this] {
        PrectiData(Konfig);
        ZapisOkno(Konfig);
    });
}

void TNastaveni::Button3Click() {
    if (Prenos.Odloz([this] { Button3Click(); })) return;
    if (PrectiOkno(Konfig).isEmpty() && Data) Data->Konfigurace = Konfig;
    accept();
}

void TNastaveni::Button4Click() {
    reject();
}

void TNastaveni::reject() {
    if (Prenos.Odloz([this] { reject(); })) return;
    QDialog::reject();
}
