#include "NastavAdr.h"

#include "Rychlosti.h"

#include <QShowEvent>

namespace {

const std::vector<TRegistr> Registry{{RegistrAdresa, 0}, {RegistrRychlost, 1}};

} // namespace

bool TextNaByte(const QString& Text, uint8_t Min, uint8_t Max, uint8_t& Hodnota) {
    const std::optional<int32_t> Cislo = TextNaCislo(Text);
    if (!Cislo || *Cislo < Min || *Cislo > Max) return false;
    Hodnota = static_cast<uint8_t>(*Cislo);
    return true;
}

TForm12::TForm12(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("Nastavení komunikační adresy a rychlosti"));

    Label1 = new QLabel(QStringLiteral("Adresa modulu  (0-255)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(24, 27, 160, 17);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(200, 24, 169, 24);
    PopisPole(Label1, Edit1);

    Label2 = new QLabel(QStringLiteral("Komunikační rychlost"), this);
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

    Button1 = NoveTlacitko(this, QStringLiteral("Button1"), QStringLiteral("Zapsat"), 24, 120);
    Button2 = NoveTlacitko(this, QStringLiteral("Button2"), QStringLiteral("Přečíst"), 104, 120);
    Button3 = NoveTlacitko(this, QStringLiteral("Button3"), QStringLiteral("Ok"), 214, 120);
    Button4 = NoveTlacitko(this, QStringLiteral("Button4"), QStringLiteral("Cancel"), 294, 120);

    StatusBar1 = new TStatusBar(this, QStringLiteral("StatusBar1"), {-1});
    StatusBar1->Panel(0)->setMinimumWidth(250);
    PevnaVelikost(this, StatusBar1, 393, 200);

    setTabOrder(Edit1, ComboBox1);
    setTabOrder(ComboBox1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
}

void TForm12::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    VycentrujNaObrazovce(this);
    FormShow();
}

void TForm12::FormShow() {
    if (Data) Konfig = Data->Konfigurace;
    ZapisOkno(Konfig);
    StatusBar1->NastavText(0, QStringLiteral(" "));
}

void TForm12::PrectiData(TKonfigurace& Konfig) {
    Prenos.Precti(Data, Konfig, Registry);
}

void TForm12::ZapisData(TKonfigurace Konfig) {
    Prenos.Zapis(Data, Konfig, Registry);
}

void TForm12::PrectiOkno(TKonfigurace& Konfig) {
    uint8_t a = 0;
    if (!TextNaByte(Edit1->text(), 0, 255, a)) {
        StatusBar1->NastavText(0, QStringLiteral(" Adresa modulu musí být v rozsahu 0-255."));
        return;
    }
    Konfig.KonfAdresa = a;
    const int Index = ComboBox1->currentIndex();
    if (Index < 0 || Index >= PocetRychlosti) {
        StatusBar1->NastavText(
            0, QStringLiteral(" Komunikační rychlost musí být v rozsahu 600Bd-115200Bd."));
        return;
    }
    Konfig.KonfRychlost = static_cast<uint8_t>(Index);
    StatusBar1->NastavText(0, QStringLiteral(" "));
}

void TForm12::ZapisOkno(TKonfigurace Konfig) {
    Edit1->setText(QString::number(Konfig.KonfAdresa));
    ComboBox1->setCurrentIndex(Konfig.KonfRychlost < PocetRychlosti ? Konfig.KonfRychlost : -1);
}

void TForm12::Button1Click() {
    Prenos.Zapsat(
        Data, [this] { PrectiOkno(Konfig); }, [this] { ZapisData(Konfig); });
}

void TForm12::Button2Click() {
    Prenos.Precist(
        Data, [this] { PrectiData(Konfig); }, [this] { ZapisOkno(Konfig); });
}

void TForm12::Button3Click() {
    if (Prenos.Odloz([this] { Button3Click(); })) return;
    Prenos.Prijmout(Data, Konfig, [this] { PrectiOkno(Konfig); });
    accept();
}

void TForm12::Button4Click() {
    reject();
}

void TForm12::reject() {
    if (Prenos.Odloz([this] { reject(); })) return;
    QDialog::reject();
}
