#include "Hlavni.h"

#include "CekaniOken.h"
#include "Jazyk.h"
#include "KonfModulu.h"
#include "Kxxx410.h"
#include "NastavAdr.h"
#include "NastavCNT.h"
#include "NastavDIO.h"
#include "OkamCNT.h"
#include "OkamDIN.h"
#include "OkamDOUT.h"
#include "Pripojeni.h"
#include "Prirucka.h"
#include "Prubeh.h"
#include "RTC.h"
#include "Spojeni.h"
#include "StatReg.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolButton>

#include <new>

namespace {
TData* NovaData() {
    return new (std::nothrow) TData();
}

QAction* NovaPolozka(QWidget* owner, const QString& name, const QString& caption) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(name);
    return action;
}

QMenu* NoveMenu(QMenuBar* bar, const QString& name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}
} // namespace

TData* (*TForm1::AlokujData)() = NovaData;

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr("KM-207 (v.1.02) -  nastavení modulu"));
    resize(600, 400);

    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    Pipojen1 = NovaPolozka(this, QStringLiteral("Pipojen1"), tr("&Připojení"));
    MainMenu1->addAction(Pipojen1);

    Nastaven1 = NoveMenu(MainMenu1, QStringLiteral("Nastaven1"), tr("&Nastavení"));
    AdresaRychlost1 = NovaPolozka(this, QStringLiteral("AdresaRychlost1"), tr("Adresa, rychlost"));
    NastavAIN1 = NovaPolozka(this, QStringLiteral("NastavAIN1"), tr("Čítač"));
    HodinovobvodRTC1 =
        NovaPolozka(this, QStringLiteral("HodinovobvodRTC1"), tr("Hodinový obvod RTC"));
    NastavDIO1 = NovaPolozka(this, QStringLiteral("NastavDIO1"), tr("Digitální vstupy/výstupy"));
    Nastaven1->addAction(AdresaRychlost1);
    Nastaven1->addAction(NastavAIN1);
    Nastaven1->addAction(HodinovobvodRTC1);
    Nastaven1->addAction(NastavDIO1);
    UlozitKonfiguraci1 =
        NovaPolozka(this, QStringLiteral("UlozitKonfiguraci1"), tr("Uložit konfiguraci modulu…"));
    NahratKonfiguraci1 = NovaPolozka(this, QStringLiteral("NahratKonfiguraci1"),
                                     tr("Nahrát konfiguraci do modulu…"));
    Nastaven1->addSeparator();
    Nastaven1->addAction(UlozitKonfiguraci1);
    Nastaven1->addAction(NahratKonfiguraci1);

    Okamithodnoty1 = NoveMenu(MainMenu1, QStringLiteral("Okamithodnoty1"), tr("&Okamžité hodnoty"));
    OkamAIN2 = NovaPolozka(this, QStringLiteral("OkamAIN2"), tr("Čítač"));
    OkamDIN2 = NovaPolozka(this, QStringLiteral("OkamDIN2"), tr("Digitální vstupy"));
    OkamDOUT1 = NovaPolozka(this, QStringLiteral("OkamDOUT1"), tr("Digitální výstupy"));
    Statusregistr1 = NovaPolozka(this, QStringLiteral("Statusregistr1"), tr("Status registr"));
    Okamithodnoty1->addAction(OkamAIN2);
    Okamithodnoty1->addAction(OkamDIN2);
    Okamithodnoty1->addAction(OkamDOUT1);
    Okamithodnoty1->addAction(Statusregistr1);
    Prubehhodnot1 = NovaPolozka(this, QStringLiteral("Prubehhodnot1"), tr("Průběh hodnot…"));
    Okamithodnoty1->addSeparator();
    Okamithodnoty1->addAction(Prubehhodnot1);
    Prehledlinky1 = NovaPolozka(this, QStringLiteral("Prehledlinky1"), tr("Přehled linky…"));
    Okamithodnoty1->addAction(Prehledlinky1);

    Konec2 = NovaPolozka(this, QStringLiteral("Konec2"), tr("&Konec"));
    MainMenu1->addAction(Konec2);

    // The digital input/output screens are complete but not offered in this build.
    NastavDIO1->setVisible(false);
    OkamDIN2->setVisible(false);
    OkamDOUT1->setVisible(false);

    PridejNapovedu();

    connect(Pipojen1, &QAction::triggered, this, &TForm1::Pipojen1Click);
    connect(AdresaRychlost1, &QAction::triggered, this, &TForm1::AdresaRychlost1Click);
    connect(NastavAIN1, &QAction::triggered, this, &TForm1::NastavAIN1Click);
    connect(HodinovobvodRTC1, &QAction::triggered, this, &TForm1::HodinovobvodRTC1Click);
    connect(NastavDIO1, &QAction::triggered, this, &TForm1::NastavDIO1Click);
    connect(OkamAIN2, &QAction::triggered, this, &TForm1::OkamAIN2Click);
    connect(OkamDIN2, &QAction::triggered, this, &TForm1::OkamDIN2Click);
    connect(OkamDOUT1, &QAction::triggered, this, &TForm1::OkamDOUT1Click);
    connect(Statusregistr1, &QAction::triggered, this, &TForm1::Statusregistr1Click);
    connect(Prubehhodnot1, &QAction::triggered, this, &TForm1::Prubehhodnot1Click);
    connect(Prehledlinky1, &QAction::triggered, this, &TForm1::Prehledlinky1Click);
    connect(Konec2, &QAction::triggered, this, &TForm1::Konec2Click);
    connect(UlozitKonfiguraci1, &QAction::triggered, this, &TForm1::UlozitKonfiguraci1Click);
    connect(NahratKonfiguraci1, &QAction::triggered, this, &TForm1::NahratKonfiguraci1Click);

    Protokol1 = new TProtokolKomunikace(this);
    setCentralWidget(Protokol1);

    StatusBar1 = new TStatusBar(this, QStringLiteral("StatusBar1"), {140, 80, 120, 50});
    setStatusBar(StatusBar1);
    StatusBar1->NastavText(0, tr(" Modul"));
    StatusBar1->NastavText(1, tr(" Adresa"));
    StatusBar1->NastavText(2, tr(" Rychlost"));
    StatusBar1->NastavText(3, QString());

    FormCreate();
}

TForm1::~TForm1() {
    // Normally freed by FormClose; a window destroyed unclosed saves nothing.
    delete Data;
    Data = nullptr;
}

void TForm1::FormCreate() {
    TData* record = AlokujData ? AlokujData() : nullptr;
    if (!record) {
        StatusBar1->NastavText(3, tr(" Nelze vytvořit datové struktury programu"));
        Data = nullptr;
        return;
    }
    Data = record;
    InitData(Data);
    CtiIni(Data);
}

void TForm1::FormClose() {
    if (!Data) return;
    // The overview stops polling before the link and the record go.
    if (Prehled) {
        Prehled->hide();
        Prehled->Data = nullptr;
    }
    ZapisIni(Data);
    if (SpojeniOtevreno(Data)) ZavriSpojeni(*Data);
    // A library a failed Init left loaded goes too; the program is ending.
    OvladacUvolni();
    delete Data;
    Data = nullptr;
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A cycle or an operation of the overview stops at its next pause first.
    if (Prehled && Prehled->Odloz([this] { close(); }, true)) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (umisteno_) return;
    umisteno_ = true;
    // 600 x 400 including the frame, where the platform draws one.
    VycentrujNaObrazovce(this, QSize(600, 400));
}

bool TForm1::Odlozeno(void (TForm1::*Akce)()) {
    return Prehled && Prehled->Odloz([this, Akce] { (this->*Akce)(); }, false);
}

void TForm1::UkazModul() {
    if (!Data) return;
    StatusBar1->NastavText(0, tr(" Modul  ") + ModulNaText(Data->Modul));
    StatusBar1->NastavText(1, tr(" Adresa  ") + QString::number(Data->Adresa));
    StatusBar1->NastavText(2, tr(" Rychlost  ") + QString::number(Data->Rychlost) +
                                  QStringLiteral("Bd"));
}

void TForm1::Pipojen1Click() {
    if (!Data || Odlozeno(&TForm1::Pipojen1Click)) return;
    OtevriDialog<TForm2>([this](TForm2& Okno) {
        Okno.DoPrehledu = [this](const std::vector<TNalez>& N) { PredejDoPrehledu(N); };
    });
    UkazModul();
    // The link may have changed without a command (a failed Init).
    Protokol1->Obnov();
    if (ukazatPrehled_) {
        ukazatPrehled_ = false;
        Prehledlinky1Click();
    }
}

void TForm1::PredejDoPrehledu(const std::vector<TNalez>& Nalezene) {
    Linka.NastavZHledani(Nalezene);
    if (Prehled) Prehled->ObnovTabulku();
    ukazatPrehled_ = true;
}

void TForm1::Prehledlinky1Click() {
    if (!Data) return;
    if (!Prehled) {
        Prehled = new TForm17(this);
        Prehled->Data = Data;
        Prehled->Linka = &Linka;
        Prehled->ModulZmenen = [this] { UkazModul(); };
    }
    Prehled->show();
    Prehled->raise();
    Prehled->activateWindow();
}

void TForm1::AdresaRychlost1Click() {
    OtevriDialog<TForm12>();
}
void TForm1::NastavAIN1Click() {
    OtevriDialog<TForm5>();
}
void TForm1::HodinovobvodRTC1Click() {
    OtevriDialog<TForm3>();
}
void TForm1::NastavDIO1Click() {
    OtevriDialog<TForm14>();
}
void TForm1::OkamAIN2Click() {
    OtevriDialog<TForm6>();
}
void TForm1::OkamDIN2Click() {
    OtevriDialog<TForm11>();
}
void TForm1::OkamDOUT1Click() {
    OtevriDialog<TForm9>();
}
void TForm1::Statusregistr1Click() {
    OtevriDialog<TForm15>();
}
void TForm1::Prubehhodnot1Click() {
    OtevriDialog<TForm16>();
}

void TForm1::UlozitKonfiguraci1Click() {
    if (!Data || Odlozeno(&TForm1::UlozitKonfiguraci1Click)) return;
    // A file is asked for only when there is a module to read it from.
    QString Soubor;
    if (SpojeniOtevreno(Data)) {
        Soubor = ZvolSoubor(this, tr("Uložit konfiguraci modulu"), FiltrKonfigurace, true);
        if (Soubor.isEmpty()) return;
    }
    const TUzivatelSpojeni Drzeni;
    TFormKonfigurace Okno(TFormKonfigurace::TRezim::Ulozit, Soubor, this);
    Okno.Data = Data;
    Okno.exec();
}

void TForm1::NahratKonfiguraci1Click() {
    if (!Data || Odlozeno(&TForm1::NahratKonfiguraci1Click)) return;
    const QString Soubor =
        ZvolSoubor(this, tr("Nahrát konfiguraci do modulu"), FiltrKonfigurace, false);
    if (Soubor.isEmpty()) return;
    const TUzivatelSpojeni Drzeni;
    TFormKonfigurace Okno(TFormKonfigurace::TRezim::Nahrat, Soubor, this);
    Okno.Data = Data;
    Okno.exec();
}

void TForm1::Konec2Click() {
    close();
}

// Help and the language sit in the menu bar's corner, so the menus keep
// their order and their accelerators.
void TForm1::PridejNapovedu() {
    auto* Tlacitko = new QToolButton(MainMenu1);
    Tlacitko->setObjectName(QStringLiteral("Napoveda1"));
    Tlacitko->setText(tr("Nápověda"));
    Tlacitko->setAutoRaise(true);
    Tlacitko->setPopupMode(QToolButton::InstantPopup);
    auto* Nabidka = new QMenu(Tlacitko);
    Nabidka->setObjectName(QStringLiteral("NabidkaNapovedy1"));
    Prirucka1 = NovaPolozka(this, QStringLiteral("Prirucka1"), tr("Příručka"));
    Prirucka1->setShortcut(QKeySequence(Qt::Key_F1));
    // F1 itself is the application's: it opens the section of any window.
    Prirucka1->setShortcutContext(Qt::WidgetShortcut);
    connect(Prirucka1, &QAction::triggered, this, [] { OtevriPrirucku(nullptr); });
    Nabidka->addAction(Prirucka1);
    // Named in both languages, so that a reader of either finds it.
    QMenu* Jazyk = Nabidka->addMenu(QStringLiteral("Jazyk / Language"));
    Jazyk->setObjectName(QStringLiteral("Jazyk1"));
    auto* Skupina = new QActionGroup(Jazyk);
    const TJazyk Ulozeny = JazykZKodu(CtiJazykIni().value_or(QString())).value_or(TJazyk::Cestina);
    for (const auto& [Volba, Jmeno, Popis] :
         {std::tuple{TJazyk::Cestina, "JazykCs1", "Čeština"},
          std::tuple{TJazyk::Anglictina, "JazykEn1", "English"}}) {
        QAction* Polozka = NovaPolozka(this, QString::fromLatin1(Jmeno), QString::fromUtf8(Popis));
        Polozka->setCheckable(true);
        Polozka->setChecked(Volba == Ulozeny);
        Skupina->addAction(Polozka);
        Jazyk->addAction(Polozka);
        connect(Polozka, &QAction::triggered, this,
                [this, Volba = Volba] { ZvolJazykProgramu(Volba); });
    }
    Tlacitko->setMenu(Nabidka);
    MainMenu1->setCornerWidget(Tlacitko);
}

void TForm1::ZvolJazykProgramu(TJazyk Jazyk) {
    if (!ZapisJazykIni(KodJazyka(Jazyk))) {
        QMessageBox::warning(this, QStringLiteral("Jazyk / Language"),
                             QStringLiteral("Volbu jazyka nelze uložit do souboru nastavení.\n"
                                            "The language cannot be saved in the settings file."));
        return;
    }
    // Every window is built in one language: the choice applies from the
    // next start, as the note says in both.
    QMessageBox::information(this, QStringLiteral("Jazyk / Language"),
                             QStringLiteral("Jazyk se změní při příštím spuštění programu.\n"
                                            "The language changes when the program starts next."));
}

void PripravAplikaci(QApplication& Aplikace) {
    NastavJazyk(JazykProcesu(QCoreApplication::arguments().mid(1), true));
    NastavCekaniOken();
    NainstalujF1(Aplikace);
}
