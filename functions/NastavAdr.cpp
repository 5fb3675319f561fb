#include "NastavAdr.h"

#include "Rychlosti.h"

bool TextNaByte(const QString& Text, uint8_t Min, uint8_t Max, uint8_t& Hodnota) {
    const std::optional<int32_t> Cislo = TextNaCislo(Text);
    if (!Cislo || *Cislo < Min || *Cislo > Max) return false;
    Hodnota = static_cast<uint8_t>(*Cislo);
    return true;
}

TForm12::TForm12(QWidget* parent) : TNastaveni(parent, {RegistrAdresa, RegistrRychlost}) {
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(tr("Nastavení komunikační adresy a rychlosti"));

    Label1 = new QLabel(tr("Adresa modulu  (0-255)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(24, 27, 160, 17);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(200, 24, 169, 24);
    PopisPole(Label1, Edit1);

    Label2 = new QLabel(tr("Komunikační rychlost"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(24, 67, 160, 17);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    BezZkratekVSeznamu(ComboBox1);
    ComboBox1->addItems(TextyRychlosti());
    ComboBox1->setCurrentIndex(4);
    ComboBox1->setGeometry(200, 64, 169, 24);
    PopisPole(Label2, ComboBox1);

    Tlacitka({24, 104, 214, 294}, 120);
    StavovyRadek(393, 200, 250);

    setTabOrder(Edit1, ComboBox1);
    setTabOrder(ComboBox1, Button1);
}

QString TForm12::OknoNaKonfiguraci(TKonfigurace& Konfig) {
    uint8_t a = 0;
    if (!TextNaByte(Edit1->text(), 0, 255, a)) return tr("Adresa modulu musí být v rozsahu 0-255.");
    Konfig.KonfAdresa = a;
    const int Index = ComboBox1->currentIndex();
    if (Index < 0 || Index >= PocetRychlosti)
        return tr("Komunikační rychlost musí být v rozsahu 600Bd-115200Bd.");
    Konfig.KonfRychlost = static_cast<uint8_t>(Index);
    return {};
}

void TForm12::ZapisOkno(TKonfigurace Konfig) {
    Edit1->setText(QString::number(Konfig.KonfAdresa));
    ComboBox1->setCurrentIndex(Konfig.KonfRychlost < PocetRychlosti ? Konfig.KonfRychlost : -1);
}
