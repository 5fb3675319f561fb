#include "NastavDIO.h"

#include <QShowEvent>

namespace {

// Setting by setting, lowest byte first, as the whole block goes.
const std::vector<TRegistr> Registry = RegistryDIO();

// This dialog pauses after the last register as well.
const TVolbyBloku Volby{.PauzaPoPoslednim = true, .OvereniHned = false};

// Check box n (1-96): block byte and bit.
int BajtBoxu(int n) {
    return 3 + 4 * ((n - 1) / 32) + ((n - 1) % 32) / 8;
}
int BitBoxu(int n) {
    return ((n - 1) % 32) % 8;
}

} // namespace

TForm14::TForm14(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(QStringLiteral("Nastavení digitálních vstupů/výstupů"));

    const QString Titulky[] = {QStringLiteral(" Negace DIN "), QStringLiteral("Negace DOUT "),
                               QStringLiteral(" Počáteční stav DOUT ")};
    const QString Kanaly[] = {QStringLiteral("DIN"), QStringLiteral("DOUT"),
                              QStringLiteral("DOUT")};
    // Each box's caption alone repeats in the three groups; its name says which.
    const QString Nastaveni[] = {QStringLiteral("Negace "), QStringLiteral("Negace "),
                                 QStringLiteral("Počáteční stav ")};
    QGroupBox** Skupiny[] = {&GroupBox1, &GroupBox2, &GroupBox3};
    QWidget* Predchozi = nullptr;
    for (int g = 0; g < 3; ++g) {
        auto* G = new QGroupBox(Titulky[g], this);
        G->setObjectName(QStringLiteral("GroupBox%1").arg(g + 1));
        G->setGeometry(16 + 168 * g, 16, 153, 289);
        *Skupiny[g] = G;
        for (int k = 0; k < 32; ++k) {
            const int n = 32 * g + k + 1;
            auto* C = new QCheckBox(Kanaly[g] + QString::number(k), G);
            C->setObjectName(QStringLiteral("CheckBox%1").arg(n));
            PopisPole(C, Nastaveni[g] + C->text());
            const int Radek = k % 16;
            const int Y = Radek < 8 ? 16 + 16 * Radek : 152 + 16 * (Radek - 8);
            // As wide as the column allows, so "DOUT31" is not cut.
            C->setGeometry(k < 16 ? 8 : 80, Y, k < 16 ? 72 : 71, 17);
            CheckBox[n - 1] = C;
            if (Predchozi) setTabOrder(Predchozi, C);
            Predchozi = C;
        }
    }

    Button1 = NoveTlacitko(this, QStringLiteral("Button1"), QStringLiteral("Zapsat"), 32, 336);
    Button2 = NoveTlacitko(this, QStringLiteral("Button2"), QStringLiteral("Přečíst"), 112, 336);
    Button3 = NoveTlacitko(this, QStringLiteral("Button3"), QStringLiteral("Ok"), 328, 336);
    Button4 = NoveTlacitko(this, QStringLiteral("Button4"), QStringLiteral("Cancel"), 408, 336);
    setTabOrder(Predchozi, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);

    StatusBar1 = new TStatusBar(this, QStringLiteral("StatusBar1"), {-1});
    PevnaVelikost(this, StatusBar1, 526, 398);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
}

void TForm14::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    VycentrujNaObrazovce(this);
    FormShow();
}

void TForm14::FormShow() {
    if (Data) Konfig = Data->Konfigurace;
    ZapisOkno(Konfig);
    StatusBar1->NastavText(0, QStringLiteral(" "));
}

void TForm14::PrectiData(TKonfigurace& Konfig) {
    Prenos.Precti(Data, Konfig, Registry, Volby);
}

void TForm14::ZapisData(TKonfigurace Konfig) {
    Prenos.Zapis(Data, Konfig, Registry, Volby);
}

void TForm14::PrectiOkno(TKonfigurace& Konfig) {
    for (int b = 3; b <= 14; ++b)
        Konfig.Bajt(b) = 0;
    for (int n = 1; n <= 96; ++n)
        if (CheckBox[n - 1]->isChecked())
            Konfig.Bajt(BajtBoxu(n)) |= static_cast<uint8_t>(1u << BitBoxu(n));
    StatusBar1->NastavText(0, QStringLiteral(" "));
}

void TForm14::ZapisOkno(TKonfigurace Konfig) {
    for (int n = 1; n <= 96; ++n)
        CheckBox[n - 1]->setChecked((Konfig.Bajt(BajtBoxu(n)) >> BitBoxu(n)) & 1u);
}

void TForm14::Button1Click() {
    Prenos.Zapsat(
        Data, [this] { PrectiOkno(Konfig); }, [this] { ZapisData(Konfig); });
}

void TForm14::Button2Click() {
    Prenos.Precist(
        Data, [this] { PrectiData(Konfig); }, [this] { ZapisOkno(Konfig); });
}

void TForm14::Button3Click() {
    if (Prenos.Odloz([this] { Button3Click(); })) return;
    Prenos.Prijmout(Data, Konfig, [this] { PrectiOkno(Konfig); });
    accept();
}

void TForm14::Button4Click() {
    reject();
}

void TForm14::reject() {
    if (Prenos.Odloz([this] { reject(); })) return;
    QDialog::reject();
}
