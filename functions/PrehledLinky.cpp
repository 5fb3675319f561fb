#include "PrehledLinky.h"

#include "KonfModulu.h"
#include "Prikazy.h"
#include "Rychlosti.h"
#include "Spojeni.h"
#include "UvedeniDoProvozu.h"
#include "Vzorek.h"

#include <QBoxLayout>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QShowEvent>

namespace {

const char* const NazvySloupcu[TForm17::PocetSloupcu] = {
    QT_TRANSLATE_NOOP("TForm17", "Adresa"),  QT_TRANSLATE_NOOP("TForm17", "Rychlost"),
    QT_TRANSLATE_NOOP("TForm17", "Modul"),   QT_TRANSLATE_NOOP("TForm17", "Popis"),
    QT_TRANSLATE_NOOP("TForm17", "Stav"),    QT_TRANSLATE_NOOP("TForm17", "Poslední odpověď"),
    QT_TRANSLATE_NOOP("TForm17", "Selhání"), QT_TRANSLATE_NOOP("TForm17", "Bity stavu"),
    QT_TRANSLATE_NOOP("TForm17", "Čítač"),   QT_TRANSLATE_NOOP("TForm17", "Vstupy"),
    QT_TRANSLATE_NOOP("TForm17", "Příznaky")};

QString Rychlost(int Index) {
    return QStringLiteral("%1 Bd").arg(IndexNaRychlost(Index));
}

// The row's colour by its most serious flag. The flag itself is always in
// words too (the flags column); colour alone never tells it.
QColor BarvaRadku(const TPolozkaLinky& P) {
    const unsigned F = P.Stav.Priznaky;
    if (F & PriznakNeodpovida) return QColor(0xF4, 0xC2, 0xBE);
    if (F & (PriznakVypadek | PriznakErr24)) return QColor(0xFC, 0xDC, 0xA8);
    if (F & (PriznakJinyModul | PriznakMimoSoubor) || P.Stav.Odezva == TOdezva::OdpovidaSChybami)
        return QColor(0xFF, 0xF2, 0xA8);
    return {};
}

QString CasOdpovedi(const QDateTime& Cas) {
    if (!Cas.isValid()) return {};
    // A reply of today by its time alone.
    return Cas.date() == MistniCas().date() ? Cas.toString(QStringLiteral("HH:mm:ss"))
                                            : Cas.toString(QStringLiteral("d.M.yyyy HH:mm:ss"));
}

bool ZpravaDialogem(QWidget* Rodic, const QString& Titulek, const QString& Text,
                    const QString& Tlacitko) {
    QDialog Okno(Rodic);
    Okno.setObjectName(QStringLiteral("FormZpravaLinky"));
    Okno.setWindowTitle(Titulek);
    auto* Pole = new QPlainTextEdit(&Okno);
    Pole->setObjectName(QStringLiteral("TextZpravy"));
    Pole->setPlainText(Text);
    Pole->setReadOnly(true);
    PopisPole(Pole, Titulek);
    auto* Tlacitka = new QHBoxLayout;
    Tlacitka->addStretch(1);
    if (!Tlacitko.isEmpty()) {
        QPushButton* Ano = NoveTlacitko(&Okno, QStringLiteral("ButtonAno"), Tlacitko, 0, 0, 100);
        QObject::connect(Ano, &QPushButton::clicked, &Okno, &QDialog::accept);
        Tlacitka->addWidget(Ano);
    }
    QPushButton* Ne =
        NoveTlacitko(&Okno, QStringLiteral("ButtonNe"),
                     Tlacitko.isEmpty() ? QCoreApplication::translate("TForm17", "Zavřít")
                                        : QCoreApplication::translate("TForm17", "Zrušit"),
                     0, 0, 100);
    QObject::connect(Ne, &QPushButton::clicked, &Okno, &QDialog::reject);
    Tlacitka->addWidget(Ne);
    auto* Vse = new QVBoxLayout(&Okno);
    Vse->addWidget(Pole, 1);
    Vse->addLayout(Tlacitka);
    Okno.resize(680, 440);
    return Okno.exec() == QDialog::Accepted;
}

// ---- texts of the operations' reports

QString TextZalohy(const TVysledekZalohy& V, const QString& Slozka) {
    QStringList R;
    R << QCoreApplication::translate("TForm17",
                                     "Záloha linky do složky %1: uloženo %2 z %3 modulů.")
             .arg(QDir::toNativeSeparators(Slozka))
             .arg(V.Ulozenych())
             .arg(V.Moduly.size());
    for (const TZalohaModulu& M : V.Moduly)
        R << (M.Ulozeno ? QCoreApplication::translate("TForm17", "%1: uloženo do %2.")
                              .arg(PopisModuluLinky(M.Modul), QDir::toNativeSeparators(M.Soubor))
                        : QCoreApplication::translate("TForm17", "%1: NEULOŽENO – %2")
                              .arg(PopisModuluLinky(M.Modul), Veta(M.Text)));
    if (V.Zastaveno)
        R << QCoreApplication::translate("TForm17",
                                         "Zálohování bylo zastaveno; další moduly nejsou uloženy.");
    if (!V.Chyba.isEmpty())
        R << QCoreApplication::translate("TForm17", "Soubor linky nebyl uložen: %1")
                 .arg(Veta(V.Chyba));
    else if (!V.Zastaveno)
        R << QCoreApplication::translate("TForm17", "Soubor linky: %1.").arg(SouborLinkyZalohy);
    return R.join(QLatin1Char('\n'));
}

QString HlavickaObnovy(const TObnovaModulu& M) {
    return M.ModulPrecteny.isEmpty() ? PopisModuluLinky(M.Modul)
                                     : QStringLiteral("%1, %2").arg(PopisModuluLinky(M.Modul),
                                                                    ModulNaText(M.ModulPrecteny));
}

// Why a module of a restore is not written, or empty when it has changes.
QString ProcNezapsan(const TObnovaModulu& M) {
    if (!M.Zaloha)
        return QCoreApplication::translate("TForm17",
                                           "v záloze chybí jeho konfigurace (nebyl zálohován)");
    if (!M.Kolize.isEmpty())
        return QCoreApplication::translate("TForm17", "kolize – %1").arg(M.Kolize);
    if (M.Chyba != 0 || !M.Precteno)
        return QCoreApplication::translate("TForm17", "nepřečten – %1")
            .arg(M.Text.isEmpty() ? QCoreApplication::translate("TForm17", "neodpověděl") : M.Text);
    if (M.Zmeny.empty())
        return QCoreApplication::translate("TForm17", "beze změn, konfigurace odpovídá záloze");
    return {};
}

QString TextNahledu(const TObnovaLinky& O) {
    QStringList R;
    R << QCoreApplication::translate(
             "TForm17", "Obnova linky ze složky %1. Registry, které se v modulech změní:")
             .arg(QDir::toNativeSeparators(O.Slozka));
    for (const TObnovaModulu& M : O.Moduly) {
        const QString Proc = ProcNezapsan(M);
        if (!Proc.isEmpty()) {
            R << QCoreApplication::translate("TForm17", "%1: nezapíše se, %2.")
                     .arg(HlavickaObnovy(M), Proc);
            continue;
        }
        R << QStringLiteral("%1:").arg(HlavickaObnovy(M));
        for (uint8_t r : M.Zmeny) {
            const int B = BajtRegistru(r);
            R << QStringLiteral("    %1: %2 -> %3")
                     .arg(SeznamRegistru({r}), HodnotaRegistru(r, M.VModulu.Bajt(B)),
                          HodnotaRegistru(r, M.Zaloha->Blok.Bajt(B)));
        }
        if (!M.Zaloha->Modul.isEmpty() && !M.ModulPrecteny.isEmpty() &&
            M.Zaloha->Modul != M.ModulPrecteny)
            R << QCoreApplication::translate("TForm17", "    Záloha pochází z modulu %1.")
                     .arg(ModulNaText(M.Zaloha->Modul));
        const QString Poznamka = PoznamkaZapnuti(M.Zmeny);
        if (!Poznamka.isEmpty()) R << QStringLiteral("    ") + Poznamka;
    }
    return R.join(QLatin1Char('\n'));
}

QString TextStavuRegistru(const TObnovaModulu& M, uint8_t r) {
    switch (StavZapisu(*M.Zapis, r)) {
    case TStavZapisu::Overen:
        return QCoreApplication::translate("TForm17", "zapsán a ověřen");
    case TStavZapisu::Lisi:
        return QCoreApplication::translate("TForm17", "zapsán, zpět přečteno %1 místo %2")
            .arg(HodnotaRegistru(r, M.Zapis->Precteno),
                 HodnotaRegistru(r, M.Zaloha->Blok.Bajt(BajtRegistru(r))));
    case TStavZapisu::Neoveren:
        return QCoreApplication::translate("TForm17", "zápis přijat, neověřen");
    case TStavZapisu::Neznamy:
        return QCoreApplication::translate("TForm17", "zápis odeslán bez odpovědi, stav neznámý");
    case TStavZapisu::Nezapsan:
        break;
    }
    return QCoreApplication::translate("TForm17", "nezapsán");
}

QString TextObnovy(const TObnovaLinky& O) {
    QStringList R;
    R << QCoreApplication::translate("TForm17", "Obnova linky ze složky %1, výsledek po modulech:")
             .arg(QDir::toNativeSeparators(O.Slozka));
    for (const TObnovaModulu& M : O.Moduly) {
        if (!M.Zapis) {
            const QString Proc = ProcNezapsan(M);
            R << QCoreApplication::translate("TForm17", "%1: nezapsán, %2.")
                     .arg(HlavickaObnovy(M),
                          Proc.isEmpty()
                              ? QCoreApplication::translate("TForm17", "obnova na něj nedošla")
                              : Proc);
            continue;
        }
        R << QStringLiteral("%1:").arg(HlavickaObnovy(M));
        // What may have landed: a new address or rate waits for power-up.
        std::vector<uint8_t> Zapsane;
        for (uint8_t r : M.Zmeny) {
            R << QStringLiteral("    %1: %2").arg(SeznamRegistru({r}), TextStavuRegistru(M, r));
            const TStavZapisu S = StavZapisu(*M.Zapis, r);
            if (S != TStavZapisu::Nezapsan) Zapsane.push_back(r);
        }
        const QString Poznamka = PoznamkaZapnuti(Zapsane);
        if (!Poznamka.isEmpty()) R << QStringLiteral("    ") + Poznamka;
    }
    if (O.Zastaveno) R << QCoreApplication::translate("TForm17", "Obnova byla zastavena.");
    return R.join(QLatin1Char('\n'));
}

} // namespace

bool (*ZpravaLinky)(QWidget*, const QString&, const QString&, const QString&) = ZpravaDialogem;

QString PopisModuluLinky(const TModulLinky& Modul) {
    return Modul.Popis.isEmpty() ? QCoreApplication::translate("TForm17", "adresa %1, %2")
                                       .arg(Modul.Adresa)
                                       .arg(Rychlost(Modul.IndexRychlosti))
                                 : QCoreApplication::translate("TForm17", "adresa %1, %2 („%3“)")
                                       .arg(Modul.Adresa)
                                       .arg(Rychlost(Modul.IndexRychlosti), Modul.Popis);
}

// ------------------------------------------------------------ the window

TForm17::TForm17(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form17"));
    setWindowTitle(tr("Přehled linky"));
    setSizeGripEnabled(true);
    setModal(false);
    VytvorOvladani();
    VytvorTabulku();
    VytvorRucniZadani();
    VytvorOperace();
    Rozloz();
    Propoj();
}

void TForm17::VytvorOvladani() {
    const auto Popisek = [this](const char* Jmeno, const QString& Text) {
        auto* L = new QLabel(Text, this);
        L->setObjectName(QLatin1String(Jmeno));
        L->setTextFormat(Qt::PlainText);
        return L;
    };
    LabelPerioda = Popisek("LabelPerioda", tr("Perioda"));
    SpinBoxPerioda = new QSpinBox(this);
    SpinBoxPerioda->setObjectName(QStringLiteral("SpinBoxPerioda"));
    SpinBoxPerioda->setRange(NejkratsiPerioda, NejdelsiPerioda);
    SpinBoxPerioda->setValue(NejkratsiPerioda);
    SpinBoxPerioda->setSuffix(QStringLiteral(" s"));
    PopisPole(LabelPerioda, SpinBoxPerioda);
    LabelVynechani = Popisek("LabelVynechani", tr("Neodpovídá po"));
    SpinBoxVynechani = new QSpinBox(this);
    SpinBoxVynechani->setObjectName(QStringLiteral("SpinBoxVynechani"));
    SpinBoxVynechani->setRange(1, 100);
    SpinBoxVynechani->setValue(TLinka::VychoziMezVynechani);
    SpinBoxVynechani->setSuffix(tr(" cyklech bez odpovědi"));
    PopisPole(LabelVynechani, SpinBoxVynechani);
    ButtonPozastavit =
        NoveTlacitko(this, QStringLiteral("ButtonPozastavit"), tr("Pozastavit"), 0, 0, 90);
    ButtonPozastavit->setCheckable(true);
    ButtonOtevrit =
        NoveTlacitko(this, QStringLiteral("ButtonOtevrit"), tr("Otevřít linku…"), 0, 0, 110);
    ButtonUlozit =
        NoveTlacitko(this, QStringLiteral("ButtonUlozit"), tr("Uložit linku…"), 0, 0, 110);
    ButtonPorovnat = NoveTlacitko(this, QStringLiteral("ButtonPorovnat"),
                                  tr("Porovnat se souborem…"), 0, 0, 160);
}

void TForm17::VytvorTabulku() {
    TabulkaModulu = new QTableWidget(0, PocetSloupcu, this);
    TabulkaModulu->setObjectName(QStringLiteral("TabulkaModulu"));
    QStringList Nazvy;
    for (const char* Nazev : NazvySloupcu)
        Nazvy << tr(Nazev);
    TabulkaModulu->setHorizontalHeaderLabels(Nazvy);
    TabulkaModulu->verticalHeader()->setVisible(false);
    TabulkaModulu->horizontalHeader()->setStretchLastSection(true);
    TabulkaModulu->setSelectionBehavior(QAbstractItemView::SelectRows);
    TabulkaModulu->setSelectionMode(QAbstractItemView::SingleSelection);
    // A double click picks the module; the label is edited with F2 or a
    // click on a selected label.
    TabulkaModulu->setEditTriggers(QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::SelectedClicked);
    for (int s : {SAdresa, SRychlost, SSelhani})
        TabulkaModulu->setColumnWidth(s, 70);
    TabulkaModulu->setColumnWidth(SModul, 130);
    TabulkaModulu->setColumnWidth(SStav, 130);
    TabulkaModulu->setColumnWidth(SOdpoved, 120);
    PopisPole(TabulkaModulu, tr("Moduly linky"));
    TabulkaModulu->setAccessibleDescription(
        tr("Dvojklik nebo Enter udělá z modulu modul programu; F2 upraví popis."));
}

void TForm17::VytvorRucniZadani() {
    LabelAdresa = new QLabel(tr("Adresa"), this);
    LabelAdresa->setObjectName(QStringLiteral("LabelAdresa"));
    SpinBoxAdresa = new QSpinBox(this);
    SpinBoxAdresa->setObjectName(QStringLiteral("SpinBoxAdresa"));
    SpinBoxAdresa->setRange(0, 255);
    PopisPole(LabelAdresa, SpinBoxAdresa);
    LabelRychlost = new QLabel(tr("Rychlost"), this);
    LabelRychlost->setObjectName(QStringLiteral("LabelRychlost"));
    ComboBoxRychlost = new QComboBox(this);
    ComboBoxRychlost->setObjectName(QStringLiteral("ComboBoxRychlost"));
    ComboBoxRychlost->addItems(TextyRychlosti());
    ComboBoxRychlost->setCurrentIndex(VyrobniIndexRychlosti);
    BezZkratekVSeznamu(ComboBoxRychlost);
    PopisPole(LabelRychlost, ComboBoxRychlost);
    LabelPopis = new QLabel(tr("Popis"), this);
    LabelPopis->setObjectName(QStringLiteral("LabelPopis"));
    EditPopis = new QLineEdit(this);
    EditPopis->setObjectName(QStringLiteral("EditPopis"));
    EditPopis->setMaxLength(MaxDelkaPopisu);
    PopisPole(LabelPopis, EditPopis);
    ButtonPridat = NoveTlacitko(this, QStringLiteral("ButtonPridat"), tr("Přidat"), 0, 0, 80);
    ButtonOdebrat =
        NoveTlacitko(this, QStringLiteral("ButtonOdebrat"), tr("Odebrat vybraný"), 0, 0, 120);
}

void TForm17::VytvorOperace() {
    ButtonPotvrdit =
        NoveTlacitko(this, QStringLiteral("ButtonPotvrdit"), tr("Potvrdit stav"), 0, 0, 110);
    CheckBoxNulovat = new QCheckBox(tr("a vynulovat stavové registry modulů"), this);
    CheckBoxNulovat->setObjectName(QStringLiteral("CheckBoxNulovat"));
    PopisPole(CheckBoxNulovat, CheckBoxNulovat->text());
    ButtonZalohovat =
        NoveTlacitko(this, QStringLiteral("ButtonZalohovat"), tr("Zálohovat linku…"), 0, 0, 130);
    ButtonObnovit =
        NoveTlacitko(this, QStringLiteral("ButtonObnovit"), tr("Obnovit linku…"), 0, 0, 120);
    ButtonUvest =
        NoveTlacitko(this, QStringLiteral("ButtonUvest"), tr("Uvést do provozu…"), 0, 0, 140);
    ButtonZastavit = NoveTlacitko(this, QStringLiteral("ButtonZastavit"), tr("Zastavit"), 0, 0, 80);
    ButtonZastavit->setEnabled(false);
    ButtonZavrit = NoveTlacitko(this, QStringLiteral("ButtonZavrit"), tr("Zavřít"), 0, 0, 80);
    StatusBar1 = new TStatusBar(this, QStringLiteral("StatusBar1"), {-1});
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
}

void TForm17::Rozloz() {
    auto* Horni = new QHBoxLayout;
    for (QWidget* W : std::initializer_list<QWidget*>{LabelPerioda, SpinBoxPerioda, LabelVynechani,
                                                      SpinBoxVynechani, ButtonPozastavit})
        Horni->addWidget(W);
    Horni->addStretch(1);
    for (QWidget* W : {ButtonOtevrit, ButtonUlozit, ButtonPorovnat})
        Horni->addWidget(W);
    auto* Rucne = new QHBoxLayout;
    for (QWidget* W : std::initializer_list<QWidget*>{LabelAdresa, SpinBoxAdresa, LabelRychlost,
                                                      ComboBoxRychlost, LabelPopis, EditPopis,
                                                      ButtonPridat, ButtonOdebrat})
        Rucne->addWidget(W);
    auto* Operace = new QHBoxLayout;
    Operace->addWidget(ButtonPotvrdit);
    Operace->addWidget(CheckBoxNulovat);
    Operace->addStretch(1);
    for (QWidget* W : {ButtonZalohovat, ButtonObnovit, ButtonUvest, ButtonZastavit, ButtonZavrit})
        Operace->addWidget(W);
    auto* Vse = new QVBoxLayout(this);
    Vse->setContentsMargins(6, 6, 6, 0);
    Vse->addLayout(Horni);
    Vse->addWidget(TabulkaModulu, 1);
    Vse->addLayout(Rucne);
    Vse->addLayout(Operace);
    Vse->addWidget(StatusBar1);
    resize(1180, 480);
}

void TForm17::Propoj() {
    connect(Timer1, &QTimer::timeout, this, &TForm17::Timer1Timer);
    connect(SpinBoxVynechani, &QSpinBox::valueChanged, this, [this](int Mez) {
        if (Linka) Linka->NastavMezVynechani(Mez);
    });
    connect(ButtonPozastavit, &QPushButton::toggled, this, [this](bool Pozastaveno) {
        if (Pozastaveno)
            ZobrazStav(tr(" Přehled je pozastaven; moduly se nedotazují."));
        else
            Naplanuj(SpinBoxPerioda->value() * 1000);
    });
    connect(ButtonOtevrit, &QPushButton::clicked, this, &TForm17::OtevritClick);
    connect(ButtonUlozit, &QPushButton::clicked, this, &TForm17::UlozitClick);
    connect(ButtonPorovnat, &QPushButton::clicked, this, &TForm17::PorovnatClick);
    connect(ButtonPridat, &QPushButton::clicked, this, &TForm17::PridatClick);
    connect(ButtonOdebrat, &QPushButton::clicked, this, &TForm17::OdebratClick);
    connect(ButtonPotvrdit, &QPushButton::clicked, this, &TForm17::PotvrditClick);
    connect(ButtonZalohovat, &QPushButton::clicked, this, &TForm17::ZalohovatClick);
    connect(ButtonObnovit, &QPushButton::clicked, this, &TForm17::ObnovitClick);
    connect(ButtonUvest, &QPushButton::clicked, this, &TForm17::UvestClick);
    connect(ButtonZastavit, &QPushButton::clicked, this, [this] { Prenos.Zastav(); });
    connect(ButtonZavrit, &QPushButton::clicked, this, &TForm17::reject);
    connect(TabulkaModulu, &QTableWidget::itemActivated, this,
            [this](QTableWidgetItem* Polozka) { VyberModul(Polozka->row()); });
    connect(TabulkaModulu, &QTableWidget::itemChanged, this, &TForm17::ZmenPopis);
}

void TForm17::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Restored after being minimised: it was open all along.
    if (event->spontaneous()) return;
    if (!Otevreno_) VycentrujNaObrazovce(this);
    Otevreno_ = true;
    if (Linka) SpinBoxVynechani->setValue(Linka->MezVynechani());
    ObnovTabulku();
    Timer1->start(0);
}

void TForm17::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) {
        Otevreno_ = false;
        Timer1->stop();
    }
    QDialog::hideEvent(event);
}

void TForm17::reject() {
    // Closing stops a cycle or an operation at its next pause, then closes.
    if (Odloz([this] { reject(); }, true)) return;
    QDialog::reject();
}

bool TForm17::Odloz(const std::function<void()>& Akce, bool Zastavit) {
    return Prenos.Odloz(Akce, Zastavit || Cyklus_);
}

bool TForm17::Pockej(void (TForm17::*Handler)()) {
    return Odloz([this, Handler] { (this->*Handler)(); }, false);
}

void TForm17::ZobrazStav(const QString& Text) {
    // A cycle a second mostly brings the same text.
    if (StatusBar1->Text(0) != Text) StatusBar1->NastavText(0, Text);
}

void TForm17::Naplanuj(qint64 Trvalo) {
    if (!Otevreno_ || Zamceno_ || ButtonPozastavit->isChecked()) return;
    // The period runs from the start of a cycle; a line slower than the
    // period is polled as fast as it answers.
    Timer1->start(static_cast<int>(std::max<qint64>(0, SpinBoxPerioda->value() * 1000 - Trvalo)));
}

void TForm17::Timer1Timer() {
    // Off while the line is polled; a tick never runs inside another (the
    // pause between commands lets events run). An operation restarts it.
    Timer1->stop();
    if (!Otevreno_ || !Data || !Linka || Prenos.Bezi() || Zamceno_ || ButtonPozastavit->isChecked())
        return;
    if (UzivateleSpojeni() > 0) {
        ZobrazStav(tr(" Přehled čeká: připojení k modulu právě používá jiné okno."));
        Naplanuj(0);
        return;
    }
    if (!SpojeniOtevreno(Data)) {
        ZobrazStav(TextNeinicializovano);
        Naplanuj(0);
        return;
    }
    if (Linka->Pocet() == 0) {
        ZobrazStav(
            tr(" Linka je prázdná: přidejte moduly z hledání, ze souboru linky nebo ručně."));
        Naplanuj(0);
        return;
    }
    QElapsedTimer Trvani;
    Trvani.start();
    const TCil Spojeni = CilModulu(*Data);
    const uint8_t Rozhrani = Data->Rozhrani;
    Cyklus_ = true;
    Prenos.Proved([&] {
        const TVysledekCyklu V =
            Linka->Cyklus(Spojeni, {PauzaCteni, [this] { return Prenos.Zastavuje(); }},
                          [this](int Index) { UkazRadek(Index); });
        Cyklus_ = false;
        int Odpovida = 0;
        for (const TPolozkaLinky& P : Linka->Polozky())
            Odpovida +=
                P.Stav.Odezva == TOdezva::Odpovida || P.Stav.Odezva == TOdezva::OdpovidaSChybami;
        QString Text;
        if (!V.Text.isEmpty())
            Text = tr(" Cyklus přerušen: %1").arg(Veta(V.Text));
        else if (V.Zastaveno || V.Zmeneno)
            Text = tr(" Cyklus zastaven.");
        else
            Text = tr(" Odpovídá %1 z %2 modulů; cyklus %3 ms, příkazů %4.")
                       .arg(Odpovida)
                       .arg(Linka->Pocet())
                       .arg(Trvani.elapsed())
                       .arg(V.Prikazu);
        if (V.ChybaObnoveni != 0)
            Text += tr(" Rychlost připojení se nepodařilo vrátit: %1")
                        .arg(Veta(TextChyby(Rozhrani, V.ChybaObnoveni)));
        ZobrazStav(Text);
    });
    Naplanuj(Trvani.elapsed());
}

// ---- the rows

void TForm17::ObnovTabulku() {
    if (!Linka) return;
    Verze_ = Linka->Verze();
    Plnim_ = true;
    TabulkaModulu->setRowCount(Linka->Pocet());
    for (int r = 0; r < Linka->Pocet(); ++r) {
        for (int s = 0; s < PocetSloupcu; ++s) {
            if (TabulkaModulu->item(r, s)) continue;
            auto* Polozka = new QTableWidgetItem;
            Polozka->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled |
                              (s == SPopis ? Qt::ItemIsEditable : Qt::NoItemFlags));
            TabulkaModulu->setItem(r, s, Polozka);
        }
    }
    Plnim_ = false;
    for (int r = 0; r < Linka->Pocet(); ++r)
        UkazRadek(r);
}

void TForm17::UkazRadek(int Radek) {
    if (!Linka) return;
    if (Linka->Verze() != Verze_ || TabulkaModulu->rowCount() != Linka->Pocet()) {
        ObnovTabulku();
        return;
    }
    if (Radek < 0 || Radek >= Linka->Pocet()) return;
    const TPolozkaLinky& P = Linka->Polozky()[static_cast<size_t>(Radek)];
    const TStavModulu& S = P.Stav;
    QString Modul = ModulNaText(S.Modul);
    if (S.Modul.isEmpty() && !P.Modul.Identifikace.isEmpty())
        Modul = tr("(čekán %1)").arg(ModulNaText(P.Modul.Identifikace));
    QString Bity;
    if (S.SlovoStavu) {
        Bity = BityStavuNaText(*S.SlovoStavu);
        if (Bity.isEmpty()) Bity = tr("žádný");
    }
    const QString Texty[PocetSloupcu] = {QString::number(P.Modul.Adresa),
                                         Rychlost(P.Modul.IndexRychlosti),
                                         Modul,
                                         P.Modul.Popis,
                                         TextOdezvy(S.Odezva),
                                         CasOdpovedi(S.PosledniOdpoved),
                                         QString::number(S.Selhani),
                                         Bity,
                                         S.Citac ? S.Citac->Text() : QString(),
                                         S.Vstupy ? SlovoNaHex(*S.Vstupy) : QString(),
                                         TextyPriznaku(P).join(QStringLiteral("; "))};
    const QColor Barva = BarvaRadku(P);
    Plnim_ = true;
    for (int s = 0; s < PocetSloupcu; ++s) {
        QTableWidgetItem* Polozka = TabulkaModulu->item(Radek, s);
        if (Polozka->text() != Texty[s]) Polozka->setText(Texty[s]);
        const QBrush Stetec = Barva.isValid() ? QBrush(Barva) : QBrush();
        if (Polozka->background() != Stetec) Polozka->setBackground(Stetec);
    }
    Plnim_ = false;
}

void TForm17::ZmenPopis(QTableWidgetItem* Polozka) {
    if (Plnim_ || !Linka || Polozka->column() != SPopis) return;
    Linka->NastavPopis(Polozka->row(), Polozka->text());
    UkazRadek(Polozka->row());
}

void TForm17::VyberModul(int Radek) {
    if (Odloz([this, Radek] { VyberModul(Radek); }, false)) return;
    if (!Data || !Linka || Radek < 0 || Radek >= Linka->Pocet()) return;
    const TPolozkaLinky P = Linka->Polozky()[static_cast<size_t>(Radek)];
    const uint32_t Rychlost = IndexNaRychlost(P.Modul.IndexRychlosti);
    // The link goes to the module's rate, as the connection dialog leaves
    // it, so the other windows reach the module.
    if (SpojeniOtevreno(Data) && Rychlost != Data->Rychlost) {
        uint32_t Kod = 0;
        Prenos.Proved([&] {
            Kod = OvladacSetConfig(Data->Rozhrani, Data->Handle, Rychlost,
                                   IndexNaCasovani(P.Modul.IndexRychlosti), OpakovaniSpojeni);
        });
        if (Kod != 0) {
            ZobrazStav(tr(" Rychlost %1 Bd nelze nastavit: %2")
                           .arg(Rychlost)
                           .arg(Veta(TextChyby(Data->Rozhrani, Kod))));
            return;
        }
    }
    Data->Adresa = P.Modul.Adresa;
    Data->Rychlost = Rychlost;
    Data->Modul = P.Stav.Modul.isEmpty() ? P.Modul.Identifikace : P.Stav.Modul;
    ZobrazStav(tr(" Modul programu: %1.").arg(PopisModuluLinky(P.Modul)));
    if (ModulZmenen) ModulZmenen();
}

// ---- the list

bool TForm17::CtiSouborLinky(const QString& Titulek, TSouborLinky& Soubor, QString& Cesta) {
    Cesta = ZvolSoubor(this, Titulek, FiltrLinky, false);
    if (Cesta.isEmpty()) return false;
    QString Chyba;
    if (!NactiLinku(Cesta, Soubor, Chyba)) {
        ZobrazStav(tr(" Soubor linky odmítnut: %1").arg(Chyba));
        return false;
    }
    return true;
}

void TForm17::OtevritClick() {
    if (Pockej(&TForm17::OtevritClick) || !Linka) return;
    TSouborLinky Soubor;
    QString Cesta, Chyba;
    if (!CtiSouborLinky(tr("Otevřít soubor linky"), Soubor, Cesta)) return;
    if (!Linka->Nastav(Soubor.Moduly, Chyba)) {
        ZobrazStav(tr(" Soubor linky odmítnut: %1").arg(Chyba));
        return;
    }
    Soubor_ = Cesta;
    ObnovTabulku();
    ZobrazStav(tr(" Linka načtena ze souboru %1: %2 modulů.")
                   .arg(QDir::toNativeSeparators(Cesta))
                   .arg(Linka->Pocet()));
}

void TForm17::UlozitClick() {
    if (Pockej(&TForm17::UlozitClick) || !Linka) return;
    const QString Cesta = ZvolSoubor(this, tr("Uložit soubor linky"), FiltrLinky, true);
    if (Cesta.isEmpty()) return;
    QString Chyba;
    if (!UlozLinku(Cesta, Linka->Soubor(), Chyba)) {
        ZobrazStav(tr(" Linka neuložena: %1").arg(Chyba));
        return;
    }
    Soubor_ = Cesta;
    ZobrazStav(tr(" Linka uložena do souboru %1.").arg(QDir::toNativeSeparators(Cesta)));
}

QString TForm17::UlozDoSouboru() {
    if (Soubor_.isEmpty() || !Linka) return {};
    QString Chyba;
    if (!UlozLinku(Soubor_, Linka->Soubor(), Chyba))
        return tr("Soubor linky neuložen: %1").arg(Chyba);
    return tr("Soubor linky %1 uložen.").arg(QDir::toNativeSeparators(Soubor_));
}

void TForm17::PorovnatClick() {
    if (Pockej(&TForm17::PorovnatClick) || !Linka) return;
    TSouborLinky Soubor;
    QString Cesta;
    if (!CtiSouborLinky(tr("Porovnat linku se souborem"), Soubor, Cesta)) return;
    Linka->Porovnej(Soubor);
    ObnovTabulku();
    ZobrazStav(tr(" Linka porovnána se souborem %1.").arg(QDir::toNativeSeparators(Cesta)));
}

void TForm17::PridatClick() {
    if (Pockej(&TForm17::PridatClick) || !Linka) return;
    TModulLinky M;
    M.Adresa = static_cast<uint8_t>(SpinBoxAdresa->value());
    M.IndexRychlosti = ComboBoxRychlost->currentIndex();
    M.Popis = EditPopis->text();
    QString Chyba;
    if (!Linka->Pridej(M, Chyba)) {
        ZobrazStav(QLatin1Char(' ') + Chyba);
        return;
    }
    ObnovTabulku();
    ZobrazStav(tr(" Přidán modul: %1.").arg(PopisModuluLinky(M)));
}

void TForm17::OdebratClick() {
    if (Pockej(&TForm17::OdebratClick) || !Linka) return;
    const int Radek = TabulkaModulu->currentRow();
    if (Radek < 0 || Radek >= Linka->Pocet()) return;
    const TModulLinky M = Linka->Polozky()[static_cast<size_t>(Radek)].Modul;
    Linka->Odeber(Radek);
    ObnovTabulku();
    ZobrazStav(tr(" Odebrán modul: %1.").arg(PopisModuluLinky(M)));
}

// ---- operations on the whole line

void TForm17::Zamkni(bool Zamceno) {
    for (QWidget* W : std::initializer_list<QWidget*>{ButtonOtevrit, ButtonUlozit, ButtonPorovnat,
                                                      ButtonPridat, ButtonOdebrat, ButtonPotvrdit,
                                                      ButtonZalohovat, ButtonObnovit, ButtonUvest})
        W->setEnabled(!Zamceno);
    ButtonZastavit->setEnabled(Zamceno);
    Zamceno_ = Zamceno;
    if (!Zamceno) Naplanuj(0);
}

TRizeni TForm17::RizeniOperace() {
    return {Pauza, [this] { return Prenos.Zastavuje(); }};
}

TPrubehLinky TForm17::PrubehOperace(const QString& Text) {
    return [this, Text](int Hotovo, int Celkem, int) { ZobrazStav(Text.arg(Hotovo).arg(Celkem)); };
}

void TForm17::PotvrditClick() {
    if (Pockej(&TForm17::PotvrditClick) || !Data || !Linka) return;
    const bool Nulovat = CheckBoxNulovat->isChecked();
    if (Nulovat) {
        if (!SpojeniOtevreno(Data)) {
            ZobrazStav(TextNeinicializovano);
            return;
        }
        if (!ZpravaLinky(this, tr("Potvrdit stav a vynulovat stavové registry"),
                         tr("Stav linky se potvrdí a ve všech %1 modulech linky se "
                            "vynuluje stavový registr, stejně jako v okně Status "
                            "registr. Bity FN, PRF, PWR, RST a ERR24 v modulech "
                            "zaniknou.\n\nPokračovat?")
                             .arg(Linka->Pocet()),
                         tr("Vynulovat")))
            return;
    }
    Linka->Potvrd();
    ObnovTabulku();
    if (!Nulovat) {
        ZobrazStav(tr(" Stav linky potvrzen; výpadky napájení se počítají od teď."));
        return;
    }
    Zamkni(true);
    TVysledekNulovani V;
    Prenos.Proved([&] {
        V = Linka->NulujStavy(CilModulu(*Data), RizeniOperace(),
                              PrubehOperace(tr(" Nulování stavových registrů: modul %1 z %2…")));
    });
    Zamkni(false);
    QStringList Chyby;
    int Vynulovano = 0;
    for (const auto& [Index, Kod] : V.Kody) {
        if (Kod == 0) {
            ++Vynulovano;
        } else if (Index >= 0 && Index < Linka->Pocet()) {
            Chyby << QStringLiteral("%1: %2").arg(
                PopisModuluLinky(Linka->Polozky()[static_cast<size_t>(Index)].Modul),
                Veta(TextChyby(Data->Rozhrani, Kod)));
        }
    }
    ZobrazStav(tr(" Stav linky potvrzen; stavové registry vynulovány v %1 z %2 modulů.")
                   .arg(Vynulovano)
                   .arg(Linka->Pocet()));
    if (!V.Text.isEmpty()) Chyby << tr("Nulování přerušeno: %1").arg(Veta(V.Text));
    if (V.Zastaveno) Chyby << tr("Nulování bylo zastaveno.");
    if (!Chyby.isEmpty())
        ZpravaLinky(this, tr("Nulování stavových registrů"),
                    tr("Nevynulováno:\n") + Chyby.join(QLatin1Char('\n')), {});
}

void TForm17::ZalohovatClick() {
    if (Pockej(&TForm17::ZalohovatClick) || !Data || !Linka) return;
    if (Linka->Pocet() == 0) {
        ZobrazStav(tr(" Linka je prázdná: není co zálohovat."));
        return;
    }
    if (!SpojeniOtevreno(Data)) {
        ZobrazStav(TextNeinicializovano);
        return;
    }
    const QString Slozka = ZvolSlozku(this, tr("Zálohovat linku do složky"));
    if (Slozka.isEmpty()) return;
    std::vector<TModulLinky> Moduly;
    for (const TPolozkaLinky& P : Linka->Polozky())
        Moduly.push_back(P.Modul);
    Zamkni(true);
    TVysledekZalohy V;
    Prenos.Proved([&] {
        V = ZalohujLinku(CilModulu(*Data), Moduly, Slozka, RizeniOperace(),
                         PrubehOperace(tr(" Zálohování linky: modul %1 z %2…")));
    });
    Zamkni(false);
    ZobrazStav(tr(" Záloha linky: uloženo %1 z %2 modulů.").arg(V.Ulozenych()).arg(Moduly.size()));
    ZpravaLinky(this, tr("Záloha linky"), TextZalohy(V, Slozka), {});
}

void TForm17::ObnovitClick() {
    if (Pockej(&TForm17::ObnovitClick) || !Data || !Linka) return;
    if (!SpojeniOtevreno(Data)) {
        ZobrazStav(TextNeinicializovano);
        return;
    }
    const QString Slozka = ZvolSlozku(this, tr("Obnovit linku ze zálohy ve složce"));
    if (Slozka.isEmpty()) return;
    TObnovaLinky O;
    QString Chyba;
    if (!NactiZalohuLinky(Slozka, O, Chyba)) {
        ZobrazStav(tr(" Záloha odmítnuta, nic se neposlalo: %1").arg(Chyba));
        return;
    }
    Zamkni(true);
    Prenos.Proved([&] {
        NahledObnovy(CilModulu(*Data), O, RizeniOperace(),
                     PrubehOperace(tr(" Náhled obnovy: modul %1 z %2…")));
    });
    const QString Nahled = TextNahledu(O);
    bool Zmeny = false, Kolize = false;
    for (const TObnovaModulu& M : O.Moduly) {
        Zmeny |= ProcNezapsan(M).isEmpty();
        Kolize |= !M.Kolize.isEmpty();
    }
    QString Odmitnuti;
    if (!O.Nahled)
        Odmitnuti = tr("Náhled nebyl dokončen; do modulů se nic nezapsalo.");
    else if (Kolize)
        Odmitnuti = tr("Kolize adres, obnova se neprovede; do modulů se nic nezapsalo.");
    else if (!Zmeny)
        Odmitnuti = tr("Není co zapsat.");
    if (!Odmitnuti.isEmpty()) {
        Zamkni(false);
        ZobrazStav(QLatin1Char(' ') + Odmitnuti);
        ZpravaLinky(this, tr("Obnova linky"), Nahled + QStringLiteral("\n\n") + Odmitnuti, {});
        return;
    }
    if (!ZpravaLinky(this, tr("Obnova linky: náhled"), Nahled, tr("Zapsat"))) {
        Zamkni(false);
        ZobrazStav(tr(" Obnova zrušena; do modulů se nic nezapsalo."));
        return;
    }
    bool Zapsano = false;
    Prenos.Proved([&] {
        Zapsano = ObnovLinku(CilModulu(*Data), O, RizeniOperace(),
                             PrubehOperace(tr(" Obnova linky: modul %1 z %2…")));
    });
    Zamkni(false);
    const QString Vysledek =
        Zapsano ? TextObnovy(O)
                : Nahled + tr("\n\nObnova odmítnuta; do modulů se nic nezapsalo.\n") +
                      O.Kolize().join(QLatin1Char('\n'));
    ZobrazStav(Zapsano ? tr(" Obnova linky dokončena.")
                       : tr(" Obnova odmítnuta; do modulů se nic nezapsalo."));
    ZpravaLinky(this, tr("Obnova linky: výsledek"), Vysledek, {});
}

void TForm17::UvestClick() {
    if (Pockej(&TForm17::UvestClick) || !Data || !Linka) return;
    if (!SpojeniOtevreno(Data)) {
        ZobrazStav(TextNeinicializovano);
        return;
    }
    Zamkni(true);
    ButtonZastavit->setEnabled(false);
    {
        // The poll waits while the technician works in the window.
        const TUzivatelSpojeni Drzeni;
        TFormUvedeni Okno(Data, Linka, Prenos, this);
        Okno.Pridan = [this] {
            ObnovTabulku();
            return UlozDoSouboru();
        };
        Okno.exec();
    }
    Zamkni(false);
}
