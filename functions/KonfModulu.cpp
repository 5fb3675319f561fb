#include "KonfModulu.h"

#include "Kxxx410.h"
#include "Operace.h"
#include "Prikazy.h"
#include "Rychlosti.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {

enum Sloupec { SRegistr, SVyznam, SModul, SSoubor, SZmena, PocetSloupcu };

// Until the module powers up again it answers at its old address and rate.
constexpr TText TextDoTeDoby{
    "TFormKonfigurace",
    QT_TRANSLATE_NOOP("TFormKonfigurace",
                      " Do té doby modul odpovídá na dosavadní adrese a rychlosti.")};

} // namespace

QString HodnotaRegistru(uint8_t Registr, uint8_t Hodnota) {
    switch (Registr) {
    case RegistrAdresa:
    case RegistrModCitace:
        return QString::number(Hodnota);
    case RegistrRychlost:
        return Hodnota < PocetRychlosti ? QStringLiteral("%1 Bd").arg(IndexNaRychlost(Hodnota))
                                        : QStringLiteral("index %1").arg(Hodnota);
    default:
        return QStringLiteral("0x%1 (%2)")
            .arg(QString::number(Hodnota, 16).toUpper().rightJustified(2, QLatin1Char('0')))
            .arg(Hodnota, 8, 2, QLatin1Char('0'));
    }
}

TFormKonfigurace::TFormKonfigurace(TRezim Rezim, const QString& Soubor, QWidget* parent)
    : QDialog(parent), Rezim_(Rezim), Cesta_(Soubor) {
    const bool Nahrat = Rezim == TRezim::Nahrat;
    setObjectName(QStringLiteral("FormKonfigurace"));
    setWindowTitle(Nahrat ? tr("Nahrání konfigurace do modulu") : tr("Uložení konfigurace modulu"));

    auto Popisek = [this](const char* Jmeno) {
        auto* L = new QLabel(this);
        L->setObjectName(QLatin1String(Jmeno));
        L->setTextFormat(Qt::PlainText);
        L->setWordWrap(true);
        return L;
    };
    LabelSoubor = Popisek("LabelSoubor");
    LabelSoubor->setText(tr("Soubor: ") + QDir::toNativeSeparators(Cesta_));
    LabelModul = Popisek("LabelModul");

    TreeRegistry = new QTreeWidget(this);
    TreeRegistry->setObjectName(QStringLiteral("TreeRegistry"));
    TreeRegistry->setRootIsDecorated(false);
    TreeRegistry->setUniformRowHeights(true);
    TreeRegistry->setSelectionMode(QAbstractItemView::NoSelection);
    TreeRegistry->setHeaderLabels(
        {tr("Registr"), tr("Význam"), tr("V modulu"), tr("V souboru"), tr("Změna")});
    TreeRegistry->setColumnHidden(SSoubor, !Nahrat);
    TreeRegistry->setColumnHidden(SZmena, !Nahrat);
    PopisPole(TreeRegistry, tr("Registry konfigurace modulu"));

    LabelPoznamka = Popisek("LabelPoznamka");
    LabelPoznamka->hide();

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, static_cast<int>(RegistryBloku().size()));
    ProgressBar1->setValue(0);
    PopisPole(ProgressBar1, tr("Průběh přenosu"));

    LabelStav = Popisek("LabelStav");

    ButtonZapsat =
        NoveTlacitko(this, QStringLiteral("ButtonZapsat"), tr("Zapsat do modulu"), 0, 0, 130, 25);
    ButtonZastavit = NoveTlacitko(this, QStringLiteral("ButtonZastavit"), tr("Zastavit"), 0, 0);
    ButtonZavrit = NoveTlacitko(this, QStringLiteral("ButtonZavrit"), tr("Zavřít"), 0, 0);
    ButtonZapsat->setVisible(Nahrat);
    ButtonZapsat->setEnabled(false);
    ButtonZastavit->setEnabled(false);

    auto* Tlacitka = new QHBoxLayout;
    Tlacitka->addWidget(ButtonZapsat);
    Tlacitka->addWidget(ButtonZastavit);
    Tlacitka->addStretch(1);
    Tlacitka->addWidget(ButtonZavrit);
    auto* Rozlozeni = new QVBoxLayout(this);
    Rozlozeni->addWidget(LabelSoubor);
    Rozlozeni->addWidget(LabelModul);
    Rozlozeni->addWidget(TreeRegistry, 1);
    Rozlozeni->addWidget(LabelPoznamka);
    Rozlozeni->addWidget(ProgressBar1);
    Rozlozeni->addWidget(LabelStav);
    Rozlozeni->addLayout(Tlacitka);
    resize(620, 520);

    connect(ButtonZapsat, &QPushButton::clicked, this, &TFormKonfigurace::ZapsatClick);
    connect(ButtonZastavit, &QPushButton::clicked, this, [this] { Prenos.Zastav(); });
    connect(ButtonZavrit, &QPushButton::clicked, this, &TFormKonfigurace::reject);
}

void TFormKonfigurace::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous() || Spusteno_) return;
    Spusteno_ = true;
    VycentrujNaObrazovce(this);
    // Once the window is on screen, so the operator sees the progress.
    QTimer::singleShot(0, this, &TFormKonfigurace::Spust);
}

void TFormKonfigurace::Stav(const QString& Text) {
    LabelStav->setText(Text);
    LabelStav->repaint();
}

TRizeni TFormKonfigurace::Rizeni() {
    return {[] { Pauza(); }, [this] { return Prenos.Zastavuje(); }};
}

void TFormKonfigurace::Prubeh(int Hotovo, int Celkem) {
    ProgressBar1->setRange(0, Celkem);
    ProgressBar1->setValue(Hotovo);
}

void TFormKonfigurace::Spust() {
    if (Rezim_ == TRezim::Nahrat) {
        QString Chyba;
        // The whole file is checked before anything goes to the module.
        SouborPlatny_ = NactiKonfiguraci(Cesta_, Soubor_, Chyba);
        if (!SouborPlatny_) {
            Stav(tr("Soubor nelze použít: %1 Do modulu nebylo nic odesláno.").arg(Veta(Chyba)));
            return;
        }
        LabelModul->setText(
            tr("V souboru: modul %1, přečteno %2.")
                .arg(ModulNaText(Soubor_.Modul),
                     Soubor_.Precteno.toString(QStringLiteral("d.M.yyyy H:mm:ss"))));
        ZobrazTabulku();
    }
    if (!SpojeniOtevreno(Data)) {
        Stav(tr("Připojení k modulu není inicializováno."));
        return;
    }
    if (Rezim_ == TRezim::Ulozit) {
        // The file is made ready before the module is read, so a target
        // that cannot be written costs no transfer.
        QString Chyba;
        Cil_ = std::make_unique<TZapisSouboru>(Cesta_);
        if (!Cil_->Otevri(Chyba)) {
            Stav(tr("Soubor nelze uložit: %1 Z modulu nebylo nic čteno.").arg(Veta(Chyba)));
            return;
        }
    }
    if (!CtiModul()) return;
    if (Rezim_ == TRezim::Ulozit) {
        Uloz();
        return;
    }
    if (Soubor_.Modul != Data->Modul)
        LabelModul->setText(LabelModul->text() +
                            tr(" Pozor: soubor je z jiného modulu, než je připojen."));
    const std::vector<uint8_t> Rozdil = RozdilneRegistry(Modul_, Soubor_.Blok);
    if (Rozdil.empty()) {
        Stav(tr("Modul už má konfiguraci ze souboru; není co zapsat."));
        return;
    }
    const QString Poznamka = PoznamkaZapnuti(Rozdil);
    LabelPoznamka->setText(Poznamka + TextDoTeDoby);
    LabelPoznamka->setVisible(!Poznamka.isEmpty());
    ButtonZapsat->setEnabled(true);
    Stav(tr("Liší se %1 z %2 registrů: %3. Zapsat je do modulu?")
             .arg(Rozdil.size())
             .arg(RegistryBloku().size())
             .arg(SeznamRegistru(Rozdil)));
}

bool TFormKonfigurace::CtiModul() {
    LabelModul->setText(
        LabelModul->text() + (LabelModul->text().isEmpty() ? QString() : QStringLiteral(" ")) +
        tr("Připojený modul: %1, adresa %2.").arg(ModulNaText(Data->Modul)).arg(Data->Adresa));
    Stav(tr("Probíhá čtení konfigurace z modulu…"));
    ButtonZastavit->setEnabled(true);
    TVysledekBloku V;
    TKonfigurace Blok = Modul_;
    Prenos.Proved([&] {
        V = CtiBlok(CilModulu(*Data), Blok, Rizeni(),
                    [this](int Hotovo, int Celkem, uint8_t) { Prubeh(Hotovo, Celkem); });
    });
    ButtonZastavit->setEnabled(false);
    const QString Nic =
        Rezim_ == TRezim::Ulozit ? tr(" Soubor nebyl uložen.") : tr(" Nic nebylo zapsáno.");
    if (V.Konec == TKonecBloku::Zastaveno) {
        Stav(tr("Čtení zastaveno.") + Nic);
        return false;
    }
    if (!V.Uspech()) {
        Stav(tr("Konfiguraci modulu nelze přečíst (registr %1): %2")
                 .arg(V.Registr)
                 .arg(Veta(V.Text)) +
             Nic);
        return false;
    }
    Modul_ = Blok;
    ModulPrecten_ = true;
    ZobrazTabulku();
    return true;
}

void TFormKonfigurace::Uloz() {
    TSouborKonfigurace Soubor;
    Soubor.Modul = Data->Modul;
    Soubor.Precteno = MistniCas();
    Soubor.Blok = Modul_;
    QString Chyba;
    QByteArray Text;
    if (!KonfiguraceNaText(Soubor, Text, Chyba) || !Cil_->Dokonci(Text, Chyba)) {
        Stav(tr("Soubor nelze uložit: ") + Veta(Chyba));
        return;
    }
    Stav(tr("Konfigurace modulu uložena do souboru %1.").arg(QDir::toNativeSeparators(Cesta_)));
}

void TFormKonfigurace::ZobrazTabulku() {
    const bool Nahrat = Rezim_ == TRezim::Nahrat;
    TreeRegistry->clear();
    for (const TRegistr& R : RegistryBloku()) {
        auto* Radek = new QTreeWidgetItem(TreeRegistry);
        const uint8_t VModulu = Modul_.Bajt(R.Bajt);
        const uint8_t VSouboru = Soubor_.Blok.Bajt(R.Bajt);
        Radek->setText(SRegistr, QString::number(R.Cislo));
        Radek->setText(SVyznam, NazevRegistru(R.Cislo));
        const bool Neznamy = R.Cislo == Neznamy_;
        Radek->setText(SModul, Neznamy         ? QStringLiteral("?")
                               : ModulPrecten_ ? HodnotaRegistru(R.Cislo, VModulu)
                                               : QString());
        if (!Nahrat) continue;
        Radek->setText(SSoubor, HodnotaRegistru(R.Cislo, VSouboru));
        const bool Zmena = ModulPrecten_ && VModulu != VSouboru;
        Radek->setText(SZmena, Neznamy ? tr("neznámá") : Zmena ? tr("ano") : QString());
        if (Zmena) {
            QFont Tucne = Radek->font(SRegistr);
            Tucne.setBold(true);
            for (int s = 0; s < PocetSloupcu; ++s)
                Radek->setFont(s, Tucne);
        }
    }
    for (int s = 0; s < PocetSloupcu; ++s)
        TreeRegistry->resizeColumnToContents(s);
}

void TFormKonfigurace::ZapsatClick() {
    if (Rezim_ != TRezim::Nahrat || Prenos.Bezi() || !SouborPlatny_ || !ModulPrecten_) return;
    if (!SpojeniOtevreno(Data)) {
        Stav(tr("Připojení k modulu není inicializováno."));
        return;
    }
    const std::vector<uint8_t> Rozdil = RozdilneRegistry(Modul_, Soubor_.Blok);
    if (Rozdil.empty()) return;
    ButtonZapsat->setEnabled(false);
    ButtonZastavit->setEnabled(true);
    ProgressBar1->setRange(0, static_cast<int>(Rozdil.size()));
    ProgressBar1->setValue(0);
    Stav(tr("Probíhá zápis konfigurace do modulu…"));
    TVysledekBloku V;
    Prenos.Proved([&] {
        V = ZapisBlok(CilModulu(*Data), Soubor_.Blok, Rozdil, Rizeni(),
                      [this](int Hotovo, int Celkem, uint8_t) { Prubeh(Hotovo, Celkem); });
    });
    ButtonZastavit->setEnabled(false);
    // What is verified is now in the module; a read-back that differed
    // tells what is; the register where it stopped after its write went out
    // is unknown; the rest stays as it was read.
    for (uint8_t R : V.Registry) {
        const int B = BajtRegistru(R);
        if (B >= 0) Modul_.Bajt(B) = Soubor_.Blok.Bajt(B);
    }
    Neznamy_ = -1;
    if (V.Registr >= 0) {
        const uint8_t R = static_cast<uint8_t>(V.Registr);
        switch (StavZapisu(V, R)) {
        case TStavZapisu::Lisi:
            Modul_.Bajt(BajtRegistru(R)) = V.Precteno;
            break;
        case TStavZapisu::Neoveren:
        case TStavZapisu::Neznamy:
            Neznamy_ = R;
            break;
        default:
            break;
        }
    }
    ZobrazTabulku();
    // A write acknowledged but not read back may well have landed too.
    std::vector<uint8_t> Zapsane = V.Registry;
    if (V.ZapisPrijat) Zapsane.push_back(static_cast<uint8_t>(V.Registr));
    const QString Poznamka = PoznamkaZapnuti(Zapsane).isEmpty()
                                 ? QString()
                                 : QStringLiteral(" ") + PoznamkaZapnuti(Zapsane) + TextDoTeDoby;
    if (V.Uspech()) {
        Stav(tr("Zapsáno a ověřeno %1 registrů: %2.")
                 .arg(V.Registry.size())
                 .arg(SeznamRegistru(V.Registry)) +
             Poznamka);
        return;
    }
    QString Text;
    const uint8_t Registr = static_cast<uint8_t>(V.Registr);
    switch (V.Konec) {
    case TKonecBloku::Zastaveno:
        Text = tr("Zápis zastaven u registru %1.").arg(SeznamRegistru({Registr}));
        break;
    case TKonecBloku::Neshoda:
        Text =
            tr("Zápis přerušen u registru %1: %2 Modul vrátil %3.")
                .arg(SeznamRegistru({Registr}), Veta(V.Text), HodnotaRegistru(Registr, V.Precteno));
        break;
    default:
        Text = tr("Zápis přerušen u registru %1: %2")
                   .arg(V.Registr >= 0 ? SeznamRegistru({Registr}) : QStringLiteral("?"),
                        Veta(V.Text));
        break;
    }
    Text += V.Registry.empty()
                ? tr(" Žádný registr nebyl zapsán.")
                : tr(" Zapsány a ověřeny registry: %1.").arg(SeznamRegistru(V.Registry));
    if (V.ZapisPrijat)
        Text += tr(" Zápis registru %1 modul potvrdil, jeho hodnota ale nebyla ověřena.")
                    .arg(V.Registr);
    Stav(Text + Poznamka);
    ButtonZapsat->setEnabled(!RozdilneRegistry(Modul_, Soubor_.Blok).empty());
}

void TFormKonfigurace::reject() {
    // A transfer under way stops at its next pause; then the window closes.
    if (Prenos.Odloz([this] { reject(); })) return;
    QDialog::reject();
}
