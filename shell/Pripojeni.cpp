#include "Pripojeni.h"

#include "Hledani.h"
#include "Kxxx410.h"
#include "Rozhrani.h"
#include "Spojeni.h"

#include "functions.h"

#include <QCoreApplication>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QValidator>

#include <algorithm>
#include <array>
#include <optional>

namespace {

// Items of the interface list; the index is the kind.
QStringList NazvyRozhrani() {
    QStringList Nazvy;
    for (const TRozhrani& R : TabulkaRozhrani)
        Nazvy << R.PopisText();
    return Nazvy;
}

// At least three upper-case hexadecimal digits and "h" (768 -> "300h").
QString BazeNaText(uint32_t Baze) {
    return QString::number(Baze, 16).toUpper().rightJustified(3, QLatin1Char('0')) +
           QLatin1Char('h');
}

// ISA base as typed: four characters, the first three hexadecimal, the fourth
// ignored; anything else gives the card's factory address.
uint16_t TextNaBazi(const QString& Text) {
    constexpr uint16_t Vychozi = 0x300;
    if (Text.size() != 4) return Vychozi;
    uint16_t hodnota = 0;
    for (int i = 0; i < 3; ++i) {
        const char16_t z = Text.at(i).unicode();
        int cislice;
        if (z >= u'0' && z <= u'9')
            cislice = z - u'0';
        else if (z >= u'a' && z <= u'f')
            cislice = z - u'a' + 10;
        else if (z >= u'A' && z <= u'F')
            cislice = z - u'A' + 10;
        else
            return Vychozi;
        hodnota = static_cast<uint16_t>(hodnota * 16 + cislice);
    }
    return hodnota;
}

// Whole number 0-65535 for the LAN converter's port and timeout.
std::optional<uint32_t> TextNa16Bitu(const QString& Text) {
    const std::optional<int64_t> cislo = TextNaCislo(Text);
    if (!cislo || *cislo < 0 || *cislo > 65535) return std::nullopt;
    return static_cast<uint32_t>(*cislo);
}

// The interface a record describes, as the search names it; the COM port
// as it goes to Init.
QString PopisRozhrani(const TData& Data, const TOtevreni& Jak) {
    const TRozhrani* R = NajdiRozhrani(Data.Rozhrani);
    if (!R) return QCoreApplication::translate("TForm2", "neznámý typ rozhraní");
    QString Text = R->PopisText();
    switch (R->Parametry) {
    case TParametry::CisloPortu:
        Text += QCoreApplication::translate("TForm2", ", port COM%1")
                    .arg(Jak.CisloPortu.value_or(Data.CisloPortu));
        break;
    case TParametry::BazovaAdresa:
        Text += QCoreApplication::translate("TForm2", ", bázová adresa %1")
                    .arg(BazeNaText(Data.BazovaAdresa));
        break;
    case TParametry::Lan:
        Text += QCoreApplication::translate("TForm2", ", %1, UDP port %2")
                    .arg(Data.IpAdresa, QString::number(Data.UdpPort));
        break;
    case TParametry::Zadne:
        break;
    }
    return Text;
}

QLabel* NovyPopisek(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(x, y, 200, 24);
    return label;
}

// Drops control characters and line or paragraph separators from what is
// typed or pasted: a pasted multi-line text becomes one line, and no entry
// can break a line of the settings file.
class BezRidicichZnaku : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        qsizetype zapsano = 0;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar z = input.at(i);
            const QChar::Category k = z.category();
            if (k == QChar::Other_Control || k == QChar::Separator_Line ||
                k == QChar::Separator_Paragraph) {
                if (i < pos) --pos;
                continue;
            }
            input[zapsano++] = z;
        }
        input.truncate(zapsano);
        return Acceptable;
    }
};

// A library lost with its driver host (it crashed or hung there): the cause
// follows the code's text, which only says that the library is gone.
QString SPricinou(const QString& Text) {
    const QString Ztrata = OvladacZtrata();
    return Ztrata.isEmpty() ? Text : Text + QStringLiteral(" – ") + Ztrata;
}

QLineEdit* NovaEditace(QWidget* parent, const char* name, int x, int y, int w) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(x, y, w, 24);
    edit->setValidator(new BezRidicichZnaku(edit));
    return edit;
}

} // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("Připojení modulu"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(592, 373);

    constexpr int xPopisek = 24;
    constexpr int xPole = 248;

    Label5 = NovyPopisek(this, "Label5", tr("Komunikační rozhraní"), xPopisek, 24);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->addItems(NazvyRozhrani());
    ComboBox2->setGeometry(xPole, 24, 320, 24);

    Label3 = NovyPopisek(this, "Label3", QString(), xPopisek, 64);
    Edit2 = NovaEditace(this, "Edit2", xPole, 64, 320);
    Label6 = NovyPopisek(this, "Label6", QString(), xPopisek, 104);
    Edit3 = NovaEditace(this, "Edit3", xPole, 104, 120);
    Label7 = NovyPopisek(this, "Label7", QString(), xPopisek, 144);
    Edit4 = NovaEditace(this, "Edit4", xPole, 144, 120);

    Label1 = NovyPopisek(this, "Label1", tr("Adresa připojeného modulu"), xPopisek, 184);
    Edit1 = NovaEditace(this, "Edit1", xPole, 184, 120);

    Label2 = NovyPopisek(this, "Label2", tr("Komunikační rychlost"), xPopisek, 224);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems(TextyRychlosti());
    ComboBox1->setGeometry(xPole, 224, 120, 24);

    Label4 = NovyPopisek(this, "Label4", tr("Status připojení"), xPopisek, 264);
    Panel1 = new QLabel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setTextFormat(Qt::PlainText);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Panel1->setAutoFillBackground(true);
    QPalette bila = Panel1->palette();
    bila.setColor(QPalette::Window, Qt::white);
    bila.setColor(QPalette::WindowText, Qt::black);
    Panel1->setPalette(bila);

    Button1 = NoveTlacitko(this, QStringLiteral("Button1"), tr("Inicializace připojení"), xPopisek,
                           0, 200, 30);
    Button2 =
        NoveTlacitko(this, QStringLiteral("Button2"), QStringLiteral("Cancel"), 448, 0, 120, 30);
    Button3 = NoveTlacitko(this, QStringLiteral("Button3"), tr("Hledat…"), 236, 0, 120, 30);
    setTabOrder(Button1, Button3);
    setTabOrder(Button3, Button2);
    UmistiStav(0);

    // Each entry is named by its label; the parameter labels change with the
    // kind and name their entries again then (UkazParametry).
    BezZkratekVSeznamu(ComboBox2);
    BezZkratekVSeznamu(ComboBox1);
    PopisPole(Label5, ComboBox2);
    Label3->setBuddy(Edit2);
    PopisPole(Edit2, tr("Parametr rozhraní"));
    PopisPole(Label1, Edit1);
    PopisPole(Label2, ComboBox1);
    Label6->setBuddy(Edit3);
    Label7->setBuddy(Edit4);
    PopisPole(Edit3, tr("UDP port"));
    PopisPole(Edit4, tr("UDP timeout"));

    connect(ComboBox2, &QComboBox::currentIndexChanged, this, &TForm2::ComboBox2Change);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Restored after being minimised: what the operator typed stays.
    if (event->spontaneous()) return;
    if (!umisteno_) {
        umisteno_ = true;
        // Centred on the screen, not merely over the main window.
        VycentrujNaObrazovce(this);
    }
    FormShow();
}

void TForm2::NastavStav(const QString& Text) {
    Panel1->setText(Text);
    UmistiStav(ZalomText(Panel1, Panel1->width(), SirkaTextu(Panel1)));
    Panel1->repaint();
}

void TForm2::UmistiStav(int Vyska) {
    // One line normally. A longer text wraps onto more lines, the panel
    // growing into the room above the buttons and, when that is not enough,
    // the dialog growing at its bottom edge; the operator reads it whole.
    constexpr int Y = 288, Radek = 26, Tlacitka = 328, Mezera = 6;
    const int vyska = std::max(Radek, Vyska);
    const int navic = std::max(0, Y + vyska + Mezera - Tlacitka);
    Panel1->setGeometry(24, Y, 544, vyska);
    Button1->move(Button1->x(), Tlacitka + navic);
    Button2->move(Button2->x(), Tlacitka + navic);
    if (Button3) Button3->move(Button3->x(), Tlacitka + navic);
    setFixedSize(592, 373 + navic);
}

void TForm2::UkazParametry(int Rozhrani) {
    for (QWidget* w : {static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label6),
                       static_cast<QWidget*>(Label7), static_cast<QWidget*>(Edit2),
                       static_cast<QWidget*>(Edit3), static_cast<QWidget*>(Edit4)})
        w->hide();
    const TRozhrani* R = Rozhrani >= 0 ? NajdiRozhrani(static_cast<uint32_t>(Rozhrani)) : nullptr;
    switch (R ? R->Parametry : TParametry::Zadne) {
    case TParametry::CisloPortu:
        Label3->setText(tr("Číslo portu COMx"));
        Edit2->setText(QString::number(Data->CisloPortu));
        Label3->show();
        Edit2->show();
        break;
    case TParametry::BazovaAdresa:
        Label3->setText(tr("Bázová adresa KIB-410"));
        Edit2->setText(BazeNaText(Data->BazovaAdresa));
        Label3->show();
        Edit2->show();
        break;
    case TParametry::Lan:
        Label3->setText(tr("IP adresa"));
        Edit2->setText(Data->IpAdresa);
        Label6->setText(tr("UDP port"));
        Edit3->setText(QString::number(Data->UdpPort));
        Label7->setText(tr("UDP timeout"));
        Edit4->setText(QString::number(Data->UdpTimeout));
        for (QWidget* w : {static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label6),
                           static_cast<QWidget*>(Label7), static_cast<QWidget*>(Edit2),
                           static_cast<QWidget*>(Edit3), static_cast<QWidget*>(Edit4)})
            w->show();
        break;
    case TParametry::Zadne: // also a kind the table does not know
        break;
    }
    for (auto [Popisek, Pole] :
         {std::pair<QLabel*, QWidget*>{Label3, Edit2}, {Label6, Edit3}, {Label7, Edit4}})
        if (!Popisek->text().isEmpty()) PopisPole(Popisek, Pole);
}

void TForm2::FormShow() {
    if (!Data) return;
    Edit1->setText(QString::number(Data->Adresa));
    ComboBox1->setCurrentIndex(RychlostNaIndex(Data->Rychlost));
    Data->Rozhrani = Data->Rozhrani & 0x07;
    {
        // Showing the stored kind is not the operator picking one.
        const QSignalBlocker blocker(ComboBox2);
        ComboBox2->setCurrentIndex(Data->Rozhrani < ComboBox2->count() ? Data->Rozhrani : -1);
    }
    UkazParametry(Data->Rozhrani);
    NastavStav(Data->StavText);
}

void TForm2::ComboBox2Change() {
    if (!Data) return;
    const int index = ComboBox2->currentIndex();
    if (index < 0) {
        NastavStav(TextNeznameRozhrani());
        UkazParametry(-1);
        Label3->show();
        Edit2->show();
        return;
    }
    UkazParametry(index);
}

void TForm2::Button1Click() {
    if (!Data) return;
    uint32_t handle = Data->Handle;

    // An open link goes first, through the driver that opened it.
    if (SpojeniOtevreno(Data)) ZavriSpojeni(*Data, handle);
    NastavStav(tr("Probíhá inicializace připojení"));

    // Address: not a number gives 0; cut to 8 bits and shown back.
    const uint8_t adresa = static_cast<uint8_t>(TextNaCislo(Edit1->text()).value_or(0) & 0xFF);
    Edit1->setText(QString::number(adresa));
    TOtevreni jak;
    const QString chyba = ZadaniRozhrani(*Data, jak);
    if (!chyba.isEmpty()) {
        NastavStav(chyba);
        return;
    }
    // The number the driver gets, shown back.
    if (jak.CisloPortu)
        Edit2->setText(QString::number(*jak.CisloPortu));
    else if (NajdiRozhrani(Data->Rozhrani)->Parametry == TParametry::BazovaAdresa)
        Edit2->setText(BazeNaText(Data->BazovaAdresa));
    jak.Adresa = adresa;
    const TVysledekSpojeni v = OtevriSpojeni(*Data, handle, jak);
    switch (v.Krok) {
    case TKrokSpojeni::Hotovo:
        break;
    case TKrokSpojeni::Init:
    case TKrokSpojeni::SetConfig:
        NastavStav(SPricinou(tr("Chyba inicializace připojení - %1").arg(v.Text)));
        return;
    case TKrokSpojeni::Parametry:
        NastavStav(v.Text);
        return;
    case TKrokSpojeni::Identifikace:
        NastavStav(SPricinou(v.Text));
        return;
    }
    Data->Modul = v.Modul;
    NastavStav(
        tr("Připojení úspěšně inicializováno. Připojen modul   %1").arg(ModulNaText(Data->Modul)));
    Data->Adresa = adresa;
    Data->Rychlost = v.Rychlost;
    Data->StavText = tr("V pořádku");
}

void TForm2::Button2Click() {
    reject();
}

QString TForm2::ZadaniRozhrani(TData& Zadani, TOtevreni& Jak) const {
    Zadani.Rozhrani = static_cast<uint8_t>(ComboBox2->currentIndex() & 0xFF);
    Zadani.KonfigOvladace.fill(0);
    Jak.IndexRychlosti = ComboBox1->currentIndex();
    Jak.CisloPortu.reset();
    const TRozhrani* R = NajdiRozhrani(Zadani.Rozhrani);
    if (!R) return TextNeznameRozhrani();
    switch (R->Parametry) {
    case TParametry::CisloPortu: {
        const int64_t port = TextNaCislo(Edit2->text()).value_or(1);
        Zadani.CisloPortu = static_cast<uint8_t>(port & 0xFF);
        Jak.CisloPortu = static_cast<uint16_t>(port & 0xFFFF);
        return {};
    }
    case TParametry::BazovaAdresa:
        Zadani.BazovaAdresa = TextNaBazi(Edit2->text());
        return {};
    case TParametry::Zadne:
        return {};
    case TParametry::Lan: {
        if (Edit2->text().isEmpty()) return TextNeplatnaIp();
        Zadani.IpAdresa = Edit2->text();
        const std::optional<uint32_t> port = TextNa16Bitu(Edit3->text());
        if (!port) return TextNeplatnyPort();
        Zadani.UdpPort = *port;
        const std::optional<uint32_t> timeout = TextNa16Bitu(Edit4->text());
        if (!timeout) return TextNeplatnyTimeout();
        Zadani.UdpTimeout = *timeout;
        return {};
    }
    }
    return {};
}

void TForm2::Button3Click() {
    if (!Data) return;
    TData Zadani;
    TOtevreni Jak;
    Jak.IndexRychlosti = ComboBox1->currentIndex();
    QString Chyba, Popis;
    if (SpojeniOtevreno(Data)) {
        Popis = tr("otevřené připojení, %1").arg(PopisRozhrani(*Data, {}));
    } else {
        Chyba = ZadaniRozhrani(Zadani, Jak);
        Popis = Chyba.isEmpty() ? PopisRozhrani(Zadani, Jak) : ComboBox2->currentText();
    }
    TFormHledani Hledani(Data, Zadani, Jak, Popis, Chyba, this);
    Hledani.DoPrehledu = DoPrehledu;
    if (Hledani.exec() != QDialog::Accepted || !Hledani.Vybrany) return;
    Edit1->setText(QString::number(Hledani.Vybrany->Adresa));
    ComboBox1->setCurrentIndex(Hledani.Vybrany->IndexRychlosti);
}
