#include "Prubeh.h"

#include "Prikazy.h"
#include "Soubory.h"

#include <QBoxLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QShowEvent>
#include <QSignalBlocker>

#include <bit>
#include <chrono>
#include <cmath>

namespace {

// Rows of the value table before the 32 inputs.
enum Radek {
    RadekCas,
    RadekCitac,
    RadekMod,
    RadekRychlost,
    RadekVstupy,
    RadekStav,
    RadekBity,
    Radku
};

const char* const NazvyRadku[Radku] = {
    QT_TRANSLATE_NOOP("TForm16", "Čas"),        QT_TRANSLATE_NOOP("TForm16", "Čítač"),
    QT_TRANSLATE_NOOP("TForm16", "Mód čítače"), QT_TRANSLATE_NOOP("TForm16", "Rychlost [1/s]"),
    QT_TRANSLATE_NOOP("TForm16", "Vstupy"),     QT_TRANSLATE_NOOP("TForm16", "Stav"),
    QT_TRANSLATE_NOOP("TForm16", "Bity stavu")};

} // namespace

TForm16::TForm16(QWidget* parent, size_t Kapacita) : QDialog(parent), Historie_(Kapacita) {
    setWindowTitle(tr("Průběh hodnot"));
    setSizeGripEnabled(true);
    VytvorHorniRadu();
    VytvorGraf();
    VytvorVyberVstupu();
    VytvorTabulku();
    VytvorDolniRadu();
    Rozloz();
    VytvorCasovace();
    Propoj();
}

void TForm16::VytvorHorniRadu() {
    Label1 = new QLabel(tr("Perioda"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    SpinBox1 = new QSpinBox(this);
    SpinBox1->setObjectName(QStringLiteral("SpinBox1"));
    SpinBox1->setRange(NejkratsiPerioda, NejdelsiPerioda);
    SpinBox1->setSingleStep(50);
    SpinBox1->setValue(100);
    SpinBox1->setSuffix(QStringLiteral(" ms"));
    SpinBox1->setKeyboardTracking(false);
    PopisPole(Label1, SpinBox1);
    Label7 = new QLabel(tr("Rychlost za"), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    SpinBox2 = new QSpinBox(this);
    SpinBox2->setObjectName(QStringLiteral("SpinBox2"));
    SpinBox2->setRange(TRychlostCitace::NejkratsiOkno, TRychlostCitace::NejdelsiOkno);
    SpinBox2->setSingleStep(100);
    SpinBox2->setValue(TRychlostCitace::VychoziOkno);
    SpinBox2->setSuffix(QStringLiteral(" ms"));
    SpinBox2->setKeyboardTracking(false);
    PopisPole(Label7, SpinBox2);

    Button1 = NoveTlacitko(this, QStringLiteral("Button1"), tr("Pozastavit"), 0, 0, 90);
    Button1->setCheckable(true);
    Button4 = NoveTlacitko(this, QStringLiteral("Button4"), tr("Živě"), 0, 0, 60);
    Button2 = NoveTlacitko(this, QStringLiteral("Button2"), tr("Záznam CSV…"), 0, 0, 120);
    Button3 = NoveTlacitko(this, QStringLiteral("Button3"), tr("Uložit PNG…"), 0, 0, 100);
    Button5 = NoveTlacitko(this, QStringLiteral("Button5"), tr("Zavřít"), 0, 0, 75);

    Label2 = new QLabel(tr("Selhání čtení:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(QStringLiteral("0"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setTextFormat(Qt::PlainText);
    PopisPole(Label2, Label3);
}

void TForm16::VytvorGraf() {
    PaintBox1 = new TGrafPrubehu(&Historie_, this);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PopisPole(PaintBox1, tr("Graf průběhu hodnot"));
    PaintBox1->setAccessibleDescription(
        tr("Šipky posouvají, Shift+šipky posouvají kurzor, + a - mění měřítko, "
           "Home nejstarší hodnoty, End živě. Hodnoty u kurzoru jsou v tabulce."));
}

void TForm16::VytvorVyberVstupu() {
    Label4 = new QLabel(tr("Vstupy v grafu"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    ListWidget1 = new QListWidget(this);
    ListWidget1->setObjectName(QStringLiteral("ListWidget1"));
    for (int n = 0; n < 32; ++n) {
        auto* Polozka = new QListWidgetItem(QStringLiteral("DIN%1").arg(n), ListWidget1);
        Polozka->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        Polozka->setCheckState(Qt::Unchecked);
    }
    ListWidget1->setMaximumWidth(240);
    PopisPole(Label4, ListWidget1);
    Label8 = new QLabel(this);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setTextFormat(Qt::PlainText);
    Label8->setWordWrap(true);
    Label8->setMaximumWidth(240);
    Label8->hide();
}

void TForm16::VytvorTabulku() {
    Label5 = new QLabel(tr("Hodnoty u kurzoru"), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    TableWidget1 = new QTableWidget(Radku + 32, 2, this);
    TableWidget1->setObjectName(QStringLiteral("TableWidget1"));
    TableWidget1->setHorizontalHeaderLabels({tr("Veličina"), tr("Hodnota")});
    TableWidget1->verticalHeader()->setVisible(false);
    TableWidget1->horizontalHeader()->setStretchLastSection(true);
    TableWidget1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableWidget1->setMaximumWidth(240);
    for (int r = 0; r < Radku + 32; ++r) {
        TableWidget1->setItem(r, 0,
                              new QTableWidgetItem(r < Radku
                                                       ? tr(NazvyRadku[r])
                                                       : QStringLiteral("DIN%1").arg(r - Radku)));
        TableWidget1->setItem(r, 1, new QTableWidgetItem(QString()));
        TableWidget1->setRowHeight(r, 20);
    }
    TableWidget1->setColumnWidth(0, 100);
    PopisPole(Label5, TableWidget1);
}

void TForm16::VytvorDolniRadu() {
    Label6 = new QLabel(this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setTextFormat(Qt::PlainText);
    PopisPole(Label6, tr("Záznam"));

    StatusBar1 = new TStatusBar(this, QStringLiteral("StatusBar1"), {-1});
}

void TForm16::Rozloz() {
    auto* Horni = new QHBoxLayout;
    Horni->addWidget(Label1);
    Horni->addWidget(SpinBox1);
    Horni->addSpacing(8);
    Horni->addWidget(Label7);
    Horni->addWidget(SpinBox2);
    Horni->addSpacing(8);
    Horni->addWidget(Button1);
    Horni->addWidget(Button4);
    Horni->addSpacing(8);
    Horni->addWidget(Button2);
    Horni->addWidget(Button3);
    Horni->addStretch(1);
    Horni->addWidget(Label2);
    Horni->addWidget(Label3);
    Horni->addSpacing(12);
    Horni->addWidget(Button5);
    auto* Bok = new QVBoxLayout;
    Bok->addWidget(Label4);
    Bok->addWidget(ListWidget1, 1);
    Bok->addWidget(Label8);
    Bok->addWidget(Label5);
    Bok->addWidget(TableWidget1, 2);
    auto* Stred = new QHBoxLayout;
    Stred->addWidget(PaintBox1, 1);
    Stred->addLayout(Bok);
    auto* Vse = new QVBoxLayout(this);
    Vse->setContentsMargins(6, 6, 6, 0);
    Vse->addLayout(Horni);
    Vse->addLayout(Stred, 1);
    Vse->addWidget(Label6);
    Vse->addWidget(StatusBar1);
    resize(980, 640);

    setTabOrder(SpinBox1, SpinBox2);
    setTabOrder(SpinBox2, Button1);
    setTabOrder(Button1, Button4);
    setTabOrder(Button4, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button5);
    setTabOrder(Button5, PaintBox1);
    setTabOrder(PaintBox1, ListWidget1);
    setTabOrder(ListWidget1, TableWidget1);
}

void TForm16::VytvorCasovace() {
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer3 = new QTimer(this);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer3->setSingleShot(true);
}

void TForm16::Propoj() {
    connect(Timer1, &QTimer::timeout, this, &TForm16::Timer1Timer);
    connect(Timer3, &QTimer::timeout, this, &TForm16::UkazHodnoty);
    connect(Button1, &QPushButton::clicked, this, &TForm16::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm16::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm16::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm16::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm16::Button5Click);
    connect(ListWidget1, &QListWidget::itemChanged, this, &TForm16::ListWidget1Change);
    connect(SpinBox2, &QSpinBox::valueChanged, this, [this](int Ms) {
        Rychlost_.NastavOkno(Ms);
        PaintBox1->NastavOknoRychlosti(Ms);
    });
    connect(PaintBox1, &TGrafPrubehu::KurzorZmenen, this, &TForm16::UkazHodnoty);
    connect(PaintBox1, &TGrafPrubehu::PohledZmenen, this, [this] {
        // Panning or zooming away from the newest values pauses the view.
        if (!PaintBox1->Zive() && !Button1->isChecked()) Button1->setChecked(true);
        if (PaintBox1->Zive() && Button1->isChecked()) Button1->setChecked(false);
    });
}

TForm16::~TForm16() {
    Zaznam_.Zavri();
}

void TForm16::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        VycentrujNaObrazovce(this);
        FormShow();
    }
}

void TForm16::hideEvent(QHideEvent* event) {
    // Polling and recording run only while the window is open; minimised
    // (a spontaneous hide) it is still open.
    if (!event->spontaneous()) {
        Otevreno_ = false;
        Timer1->stop();
        Timer3->stop();
        ZastavZaznam();
    }
    QDialog::hideEvent(event);
}

void TForm16::ZobrazStav(const QString& Text) {
    if (Vysledek_ && Text == StavSpojeni_) return;
    Vysledek_ = false;
    StavSpojeni_ = Text;
    // Ten samples a second mostly bring the same text; painting it again
    // each time would cost more than the chart.
    if (StatusBar1->Text(0) != Text) StatusBar1->NastavText(0, Text);
}

void TForm16::ZobrazVysledek(const QString& Text) {
    Vysledek_ = true;
    StatusBar1->NastavText(0, Text);
}

void TForm16::FormShow() {
    AdresaModulu = Data ? Data->Adresa : 0;
    Otevreno_ = true;
    Timer1->start(0);
    UkazHodnoty();
}

void TForm16::Naplanuj(qint64 Trvalo) {
    if (!Otevreno_) return; // closed meanwhile
    // The period runs from the start of a sample; a module slower than the
    // period is polled as fast as it answers, never faster.
    Timer1->start(static_cast<int>(std::max<qint64>(0, SpinBox1->value() - Trvalo)));
}

void TForm16::Timer1Timer() {
    // Off while waiting for the module; a tick never runs inside another
    // (the pause between commands lets events run).
    Timer1->stop();
    if (!Data || Probiha_) return;
    if (!SpojeniOtevreno(Data)) {
        ZobrazStav(TextNeinicializovano);
        Naplanuj(0);
        return;
    }
    QElapsedTimer Trvani;
    Trvani.start();
    Probiha_ = true;
    const TVzorek V = CtiVzorek(CilModulu(*Data, AdresaModulu), PauzaCteni);
    Probiha_ = false;
    PridejVzorek(V);
    ZobrazStav(QLatin1Char(' ') + TextChyby(Data->Rozhrani, V.Selhani ? V.Chyba : 0));
    Naplanuj(Trvani.elapsed());
    if (Potom_) {
        const std::function<void()> Akce = std::move(Potom_);
        Potom_ = nullptr;
        Akce();
    }
}

void TForm16::PridejVzorek(const TVzorek& V) {
    const std::optional<double> Rychlost = Rychlost_.Dalsi(V);
    TBodPrubehu Bod;
    Bod.Cas = V.Cas;
    if (!Historie_.Prazdna()) Bod.Cas = std::max(Bod.Cas, Historie_.Bod(Historie_.Konec() - 1).Cas);
    if (V.Citac) Bod.Citac = static_cast<double>(*V.Citac);
    if (V.Mod) Bod.Mod = *V.Mod;
    if (Rychlost) Bod.Rychlost = *Rychlost;
    if (V.Vstupy) {
        Bod.Vstupy = *V.Vstupy;
        Bod.Platne |= PlatneVstupy;
    }
    if (V.Stav) {
        Bod.Stav = *V.Stav;
        Bod.Platne |= PlatnyStav;
    }
    Historie_.Pridej(Bod);
    if (V.Selhani) {
        Selhani_ += V.Selhani;
        Label3->setText(QString::number(Selhani_));
    }
    if (Zaznam_.Otevreno()) {
        QString Chyba;
        if (Zaznam_.Pridej(V, Rychlost, Chyba)) {
            Label6->setText(tr("Záznam do %1: %2 řádků").arg(Zaznam_.Cesta()).arg(Zaznam_.Radku()));
        } else {
            ZastavZaznam();
            Label6->setText(tr("Záznam zastaven: ") + Chyba);
        }
    }
    if (VyberSam_) NaplnVyber();
    // A history filled before the window is shown draws once, when shown.
    if (isVisible() && !Button1->isChecked()) {
        PaintBox1->NovyVzorek();
        // The newest values follow at the chart's pace, not every sample's.
        if (!PaintBox1->Kurzor() && !Timer3->isActive()) {
            const qint64 Uplynulo = Ukazano_.isValid() ? Ukazano_.elapsed() : 1000;
            if (Uplynulo >= TGrafPrubehu::NejcastejiKresli)
                UkazHodnoty();
            else
                Timer3->start(static_cast<int>(TGrafPrubehu::NejcastejiKresli - Uplynulo));
        }
    }
}

void TForm16::NaplnVyber() {
    const uint32_t Zmenene = Historie_.ZmeneneVstupy();
    uint32_t Vybrane = PaintBox1->Vstupy();
    const int Vejde = PaintBox1->VejdeSeVstupu();
    if ((Zmenene & ~Vybrane) == Mimo_ && (Mimo_ == 0 || Vejde == Vejde_)) return;
    Vejde_ = Vejde;
    // No more than fit: the operator scrolls only through what they chose.
    for (int n = 0; n < 32 && std::popcount(Vybrane) < Vejde; ++n)
        if (Zmenene >> n & 1u) Vybrane |= 1u << n;
    if (Vybrane != PaintBox1->Vstupy()) {
        const QSignalBlocker Blok(ListWidget1);
        for (int n = 0; n < 32; ++n)
            if (Vybrane >> n & 1u) ListWidget1->item(n)->setCheckState(Qt::Checked);
        PaintBox1->NastavVstupy(Vybrane);
    }
    Mimo_ = Zmenene & ~Vybrane;
    QStringList Nazvy;
    for (int n = 0; n < 32; ++n)
        if (Mimo_ >> n & 1u) Nazvy << QStringLiteral("DIN%1").arg(n);
    Label8->setToolTip(Nazvy.join(QStringLiteral(", ")));
    if (Nazvy.size() > 3) Nazvy = Nazvy.mid(0, 3) << QStringLiteral("…");
    Label8->setText(tr("Změněné vstupy mimo graf (%1): %2")
                        .arg(std::popcount(Mimo_))
                        .arg(Nazvy.join(QStringLiteral(", "))));
    PopisPole(Label8, Label8->text() + QLatin1Char(' ') + Label8->toolTip());
    Label8->setVisible(Mimo_ != 0);
}

void TForm16::ListWidget1Change(QListWidgetItem*) {
    VyberSam_ = false;
    Label8->hide(); // the operator's choice now
    uint32_t Vybrane = 0;
    for (int n = 0; n < 32; ++n)
        if (ListWidget1->item(n)->checkState() == Qt::Checked) Vybrane |= 1u << n;
    PaintBox1->NastavVstupy(Vybrane);
}

void TForm16::UkazHodnoty() {
    Ukazano_.start();
    const auto Nastav = [&](int r, const QString& Text) {
        QTableWidgetItem* Polozka = TableWidget1->item(r, 1);
        if (Polozka->text() != Text) Polozka->setText(Text);
    };
    std::optional<uint64_t> k = PaintBox1->Kurzor();
    if (!k && !Historie_.Prazdna()) k = Historie_.Konec() - 1;
    Label5->setText(PaintBox1->Kurzor() ? tr("Hodnoty u kurzoru") : tr("Poslední hodnoty"));
    if (!k) {
        for (int r = 0; r < Radku + 32; ++r)
            Nastav(r, QString());
        return;
    }
    const TBodPrubehu& B = Historie_.Bod(*k);
    const QString TextChybi = tr("chybí");
    Nastav(RadekCas,
           QDateTime::fromMSecsSinceEpoch(B.Cas).toString(QStringLiteral("HH:mm:ss.zzz")));
    Nastav(RadekCitac,
           std::isnan(B.Citac) ? TextChybi : QString::number(static_cast<qint64>(B.Citac)));
    Nastav(RadekMod, B.Mod == 0xFF ? TextChybi : QString::number(B.Mod));
    Nastav(RadekRychlost, std::isnan(B.Rychlost) ? (std::isnan(B.Citac) ? TextChybi : QString())
                                                 : QString::number(B.Rychlost, 'f', 1));
    const bool Vstupy = B.Platne & PlatneVstupy, Stav = B.Platne & PlatnyStav;
    Nastav(RadekVstupy, Vstupy ? SlovoNaHex(B.Vstupy) : TextChybi);
    Nastav(RadekStav, Stav ? SlovoNaHex(B.Stav) : TextChybi);
    QStringList Bity;
    for (int b = 0; Stav && b < 32; ++b)
        if (B.Stav >> b & 1u) Bity << ZnackaBituStavu(b);
    Nastav(RadekBity, Stav ? Bity.join(QLatin1Char(' ')) : TextChybi);
    for (int n = 0; n < 32; ++n)
        Nastav(Radku + n, Vstupy ? QString::number(B.Vstupy >> n & 1u) : TextChybi);
}

void TForm16::Button1Click() {
    // "Pozastavit" freezes the view; polling goes on into the history.
    PaintBox1->NastavZive(!Button1->isChecked());
    UkazHodnoty();
}

void TForm16::Button4Click() {
    Button1->setChecked(false);
    PaintBox1->NastavKurzor(std::nullopt);
    PaintBox1->NastavZive(true);
}

bool TForm16::ZacniZaznam(const QString& Cesta, TDialektCsv Dialekt) {
    QString Chyba;
    if (!Zaznam_.Otevri(Cesta, Chyba, true, Dialekt)) {
        ZobrazVysledek(QLatin1Char(' ') + Chyba);
        Label6->setText(tr("Záznam nezačal: ") + Chyba);
        return false;
    }
    Button2->setText(tr("Zastavit záznam"));
    Label6->setText(tr("Záznam do %1: 0 řádků").arg(Cesta));
    return true;
}

void TForm16::ZastavZaznam() {
    if (!Zaznam_.Otevreno()) return;
    Zaznam_.Zavri();
    Button2->setText(tr("Záznam CSV…"));
    Label6->setText(tr("Záznam uložen do %1: %2 řádků").arg(Zaznam_.Cesta()).arg(Zaznam_.Radku()));
}

void TForm16::Button2Click() {
    if (Probiha_) {
        Potom_ = [this] { Button2Click(); };
        return;
    }
    if (Zaznam_.Otevreno()) {
        ZastavZaznam();
        return;
    }
    VybranyFiltr.clear();
    const QString Cesta = ZvolSoubor(this, tr("Záznam průběhu do CSV"),
                                     FiltrCsv + QStringLiteral(";;") + FiltrCsvExcel, true);
    if (!Cesta.isEmpty()) ZacniZaznam(Cesta, VybranyDialektCsv());
}

bool TForm16::UlozPng(const QString& Cesta) {
    QImage Obraz(PaintBox1->size(), QImage::Format_RGB32);
    {
        QPainter P(&Obraz);
        P.setFont(PaintBox1->font());
        PaintBox1->Kresli(P, Obraz.rect());
    }
    QByteArray Png;
    QBuffer Vystup(&Png);
    Vystup.open(QIODevice::WriteOnly);
    // Written whole or not at all, and only to a regular or a new file.
    QString Chyba = tr("Graf nelze převést do PNG.");
    if (!Obraz.save(&Vystup, "PNG") || !ZapisSoubor(Cesta, Png, Chyba)) {
        ZobrazVysledek(QLatin1Char(' ') + Chyba);
        return false;
    }
    ZobrazVysledek(tr(" Graf uložen do %1").arg(Cesta));
    return true;
}

void TForm16::Button3Click() {
    if (Probiha_) {
        Potom_ = [this] { Button3Click(); };
        return;
    }
    const QString Cesta =
        ZvolSoubor(this, tr("Uložit graf jako PNG"), QStringLiteral("PNG (*.png)"), true);
    if (!Cesta.isEmpty()) UlozPng(Cesta);
}

void TForm16::Button5Click() {
    close();
}
