#include "RTC.h"

#include "Kxxx410.h"
#include "Operace.h"

#include <QShowEvent>

namespace {
constexpr int Sirka = 400;
constexpr int Vyska = 210;

QLabel* NovyPopisek(QWidget* Rodic, const QString& Jmeno, const QString& Text, int x, int y,
                    int w) {
    auto* l = new QLabel(Text, Rodic);
    l->setObjectName(Jmeno);
    l->setTextFormat(Qt::PlainText);
    l->setGeometry(x, y, w, 20);
    return l;
}

// The values of a moment that arrived into their labels; a label whose
// value did not come keeps what it showed.
void UkazOkamzik(const TOkamzikModulu& Okamzik, QLabel* Cas, QLabel* Datum) {
    if (Okamzik.Cas) Cas->setText(CasNaText(*Okamzik.Cas));
    if (Okamzik.Datum) Datum->setText(DatumNaText(*Okamzik.Datum));
}
} // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Nastavení hodinového obvodu RTC"));

    Label1 =
        NovyPopisek(this, QStringLiteral("Label1"), tr("Začátek výpadku napájení"), 16, 22, 160);
    Label2 = NovyPopisek(this, QStringLiteral("Label2"), tr("Konec výpadku napájení"), 16, 46, 160);
    Label3 = NovyPopisek(this, QStringLiteral("Label3"), tr("Čas a datum modulu"), 16, 96, 160);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    NastavBilyRam(Panel1);
    Panel1->setGeometry(184, 16, 200, 56);
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    NastavBilyRam(Panel2);
    Panel2->setGeometry(184, 90, 200, 32);

    const QString nula = QStringLiteral("0");
    Label4 = NovyPopisek(Panel1, QStringLiteral("Label4"), nula, 12, 6, 80);
    Label7 = NovyPopisek(Panel1, QStringLiteral("Label7"), nula, 100, 6, 90);
    Label5 = NovyPopisek(Panel1, QStringLiteral("Label5"), nula, 12, 30, 80);
    Label8 = NovyPopisek(Panel1, QStringLiteral("Label8"), nula, 100, 30, 90);
    Label6 = NovyPopisek(Panel2, QStringLiteral("Label6"), nula, 12, 6, 80);
    Label9 = NovyPopisek(Panel2, QStringLiteral("Label9"), nula, 100, 6, 90);
    // A screen reader says which row a value belongs to, not a bare time.
    PopisPole(Panel1, tr("Výpadek napájení"));
    PopisPole(Panel2, Label3->text());
    const QString Cas = tr("čas");
    const QString Datum = tr("datum");
    const struct {
        QLabel* Hodnota;
        QLabel* Radek;
        const QString& Co;
    } Hodnoty[] = {{Label4, Label1, Cas},   {Label7, Label1, Datum}, {Label5, Label2, Cas},
                   {Label8, Label2, Datum}, {Label6, Label3, Cas},   {Label9, Label3, Datum}};
    for (const auto& H : Hodnoty)
        H.Hodnota->setAccessibleDescription(H.Radek->text() + QStringLiteral(", ") + H.Co);

    Button1 = NoveTlacitko(this, QStringLiteral("Button1"), tr("Nastavit čas"), 204, 138, 90, 25);
    Button2 = NoveTlacitko(this, QStringLiteral("Button2"), tr("Cancel"), 309, 138);
    setTabOrder(Button1, Button2);

    StatusBar1 = new TStatusBar(this, QStringLiteral("StatusBar1"), {-1});
    PevnaVelikost(this, StatusBar1, Sirka, Vyska);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);

    connect(Timer1, &QTimer::timeout, this, &TForm3::Timer1Timer);
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    Timer1->start();
}

void TForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        VycentrujNaObrazovce(this);
        FormShow();
    }
}

void TForm3::ZobrazStav(const QString& Text) {
    StatusBar1->NastavText(0, Text);
}

void TForm3::FormShow() {
    AdresaModulu = 0;
    VypadekPrecten = false;
    if (Data) AdresaModulu = Data->Adresa;
    for (QLabel* l : {Label4, Label5, Label6, Label7, Label8, Label9})
        l->setText(QStringLiteral("0"));
    Timer1->start();
}

bool TForm3::Uspel(uint8_t Chyba) {
    if (Chyba == 0) return true;
    ZobrazStav(QLatin1Char(' ') + TextChyby(Data->Rozhrani, Chyba));
    return false;
}

void TForm3::Timer1Timer() {
    if (!Data) return;
    if (!SpojeniOtevreno(Data)) {
        ZobrazStav(TextNeinicializovano);
        return;
    }
    const TCil Modul = CilModulu(*Data, AdresaModulu);
    if (!VypadekPrecten) {
        TVypadek v;
        const uint8_t chyba = CtiVypadek(Modul, v);
        UkazOkamzik(v.Zacatek, Label4, Label7);
        UkazOkamzik(v.Konec, Label5, Label8);
        if (!Uspel(chyba)) return;
        VypadekPrecten = true;
    }
    TOkamzikModulu Hodiny;
    const uint8_t chyba = CtiCasModulu(Modul, Hodiny);
    UkazOkamzik(Hodiny, Label6, Label9);
    if (!Uspel(chyba)) return;
    ZobrazStav(QLatin1Char(' ') + TextChyby(Data->Rozhrani, 0));
}

void TForm3::Button1Click() {
    if (!Data) return;
    if (!SpojeniOtevreno(Data)) {
        ZobrazStav(TextNeinicializovano);
        return;
    }
    Timer1->stop();
    // One reading of the PC clock, so date and time belong to the same instant.
    if (Uspel(NastavCasModulu(CilModulu(*Data, AdresaModulu), MistniCas())))
        ZobrazStav(tr(" Čas nastaven"));
    Timer1->start();
}

void TForm3::Button2Click() {
    Timer1->stop();
    close();
}
