#include "NastavDIO.h"

namespace {

// Check box n (1-96): block byte and bit.
int BajtBoxu(int n) {
    return 3 + 4 * ((n - 1) / 32) + ((n - 1) % 32) / 8;
}
int BitBoxu(int n) {
    return ((n - 1) % 32) % 8;
}

} // namespace

// Setting by setting, lowest byte first, as the whole block goes; this
// dialog pauses after the last register as well.
TForm14::TForm14(QWidget* parent)
    : TNastaveni(parent, CislaRegistru(RegistryDIO()),
                 {.PauzaPoPoslednim = true, .OvereniHned = false}) {
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(tr("Nastavení digitálních vstupů/výstupů"));

    const QString Titulky[] = {tr(" Negace DIN "), tr("Negace DOUT "), tr(" Počáteční stav DOUT ")};
    const QString Kanaly[] = {QStringLiteral("DIN"), QStringLiteral("DOUT"),
                              QStringLiteral("DOUT")};
    // Each box's caption alone repeats in the three groups; its name says which.
    const QString Nastaveni[] = {tr("Negace "), tr("Negace "), tr("Počáteční stav ")};
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

    Tlacitka({32, 112, 328, 408}, 336);
    setTabOrder(Predchozi, Button1);

    StavovyRadek(526, 398);
}

QString TForm14::OknoNaKonfiguraci(TKonfigurace& Konfig) {
    for (int b = 3; b <= 14; ++b)
        Konfig.Bajt(b) = 0;
    for (int n = 1; n <= 96; ++n)
        if (CheckBox[n - 1]->isChecked())
            Konfig.Bajt(BajtBoxu(n)) |= static_cast<uint8_t>(1u << BitBoxu(n));
    return {};
}

void TForm14::ZapisOkno(TKonfigurace Konfig) {
    for (int n = 1; n <= 96; ++n)
        CheckBox[n - 1]->setChecked((Konfig.Bajt(BajtBoxu(n)) >> BitBoxu(n)) & 1u);
}
