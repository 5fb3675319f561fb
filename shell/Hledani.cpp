#include "Hledani.h"

#include "Kxxx410.h"
#include "Rychlosti.h"
#include "functions.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

enum Sloupec { SAdresa, SRychlost, SModul };

QString Rychlost(int Index) {
    return QStringLiteral("%1 Bd").arg(IndexNaRychlost(Index));
}

} // namespace

TFormHledani::TFormHledani(TData* Data, const TData& Zadani, const TOtevreni& Jak,
                           const QString& Popis, const QString& Chyba, QWidget* parent)
    : QDialog(parent), Data_(Data), Zadani_(Zadani), Jak_(Jak),
      IndexRychlosti_(
          Jak.IndexRychlosti >= 0 && Jak.IndexRychlosti < PocetRychlosti ? Jak.IndexRychlosti : 4) {
    // The search sets its own rates.
    Jak_.Az = TKrokSpojeni::Init;
    setObjectName(QStringLiteral("FormHledani"));
    setWindowTitle(tr("Hledání modulů"));

    auto Popisek = [this](const char* Jmeno, const QString& Text) {
        auto* L = new QLabel(Text, this);
        L->setObjectName(QLatin1String(Jmeno));
        L->setTextFormat(Qt::PlainText);
        return L;
    };
    LabelRozhrani = Popisek("LabelRozhrani", tr("Rozhraní: %1").arg(Popis));
    LabelRozhrani->setWordWrap(true);

    auto Adresa = [this](const char* Jmeno, int Hodnota) {
        auto* S = new QSpinBox(this);
        S->setObjectName(QLatin1String(Jmeno));
        S->setRange(0, 255);
        S->setValue(Hodnota);
        return S;
    };
    Label1 = Popisek("Label1", tr("Adresy od"));
    SpinBoxOd = Adresa("SpinBoxOd", 0);
    PopisPole(Label1, SpinBoxOd);
    Label2 = Popisek("Label2", tr("do"));
    SpinBoxDo = Adresa("SpinBoxDo", 255);
    PopisPole(SpinBoxDo, tr("Adresy do"));
    Label2->setBuddy(SpinBoxDo);

    CheckBoxRychlosti = new QCheckBox(
        tr("Všech devět rychlostí (jinak jen %1)").arg(Rychlost(IndexRychlosti_)), this);
    CheckBoxRychlosti->setObjectName(QStringLiteral("CheckBoxRychlosti"));
    PopisPole(CheckBoxRychlosti, CheckBoxRychlosti->text());

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setValue(0);
    PopisPole(ProgressBar1, tr("Průběh hledání"));

    TreeNalezene = new QTreeWidget(this);
    TreeNalezene->setObjectName(QStringLiteral("TreeNalezene"));
    TreeNalezene->setRootIsDecorated(false);
    TreeNalezene->setUniformRowHeights(true);
    TreeNalezene->setHeaderLabels({tr("Adresa"), tr("Rychlost"), tr("Identifikace")});
    PopisPole(TreeNalezene, tr("Nalezené moduly"));

    LabelStav = Popisek("LabelStav", QString());
    LabelStav->setWordWrap(true);

    ButtonHledat = NoveTlacitko(this, QStringLiteral("ButtonHledat"), tr("Hledat"), 0, 0);
    ButtonZastavit = NoveTlacitko(this, QStringLiteral("ButtonZastavit"), tr("Zastavit"), 0, 0);
    ButtonZavrit = NoveTlacitko(this, QStringLiteral("ButtonZavrit"), tr("Zavřít"), 0, 0);
    ButtonZastavit->setEnabled(false);
    ButtonDoPrehledu =
        NoveTlacitko(this, QStringLiteral("ButtonDoPrehledu"), tr("Do přehledu"), 0, 0, 100);
    ButtonDoPrehledu->setEnabled(false);
    ButtonDoPrehledu->hide();

    auto* Rozsah = new QHBoxLayout;
    Rozsah->addWidget(Label1);
    Rozsah->addWidget(SpinBoxOd);
    Rozsah->addWidget(Label2);
    Rozsah->addWidget(SpinBoxDo);
    Rozsah->addSpacing(16);
    Rozsah->addWidget(CheckBoxRychlosti);
    Rozsah->addStretch(1);
    auto* Tlacitka = new QHBoxLayout;
    Tlacitka->addWidget(ButtonHledat);
    Tlacitka->addWidget(ButtonZastavit);
    Tlacitka->addWidget(ButtonDoPrehledu);
    Tlacitka->addStretch(1);
    Tlacitka->addWidget(ButtonZavrit);
    auto* Rozlozeni = new QVBoxLayout(this);
    Rozlozeni->addWidget(LabelRozhrani);
    Rozlozeni->addLayout(Rozsah);
    Rozlozeni->addWidget(ProgressBar1);
    Rozlozeni->addWidget(TreeNalezene, 1);
    Rozlozeni->addWidget(LabelStav);
    Rozlozeni->addLayout(Tlacitka);
    resize(560, 420);

    if (!Chyba.isEmpty()) {
        ButtonHledat->setEnabled(false);
        Stav(Chyba);
    } else {
        Stav(tr("Hledání posílá jen identifikaci; do modulů nic nezapisuje."));
    }

    connect(ButtonHledat, &QPushButton::clicked, this, &TFormHledani::HledatClick);
    connect(ButtonZastavit, &QPushButton::clicked, this, [this] { Prenos.Zastav(); });
    connect(ButtonZavrit, &QPushButton::clicked, this, &TFormHledani::reject);
    connect(ButtonDoPrehledu, &QPushButton::clicked, this, &TFormHledani::DoPrehleduClick);
    connect(TreeNalezene, &QTreeWidget::itemActivated, this, &TFormHledani::Vyber);
}

void TFormHledani::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous() || Umisteno_) return;
    ButtonDoPrehledu->setVisible(static_cast<bool>(DoPrehledu));
    Umisteno_ = true;
    VycentrujNaObrazovce(this);
}

void TFormHledani::Stav(const QString& Text) {
    LabelStav->setText(Text);
    LabelStav->repaint();
}

void TFormHledani::HledatClick() {
    if (Prenos.Bezi() || !Data_) return;
    if (SpinBoxOd->value() > SpinBoxDo->value()) {
        Stav(tr("První adresa musí být nejvýše poslední."));
        return;
    }
    THledani H;
    H.Od = SpinBoxOd->value();
    H.Do = SpinBoxDo->value();
    if (CheckBoxRychlosti->isChecked()) {
        for (int i = 0; i < PocetRychlosti; ++i)
            H.Rychlosti.push_back(i);
    } else {
        H.Rychlosti = {IndexRychlosti_};
    }
    H.Rizeni = {[] { Pauza(); }, [this] { return Prenos.Zastavuje(); }};
    H.Prubeh = [this](int Hotovo, int Celkem, uint8_t Adresa, int Index) {
        Adresa_ = Adresa;
        Rychlost_ = Index;
        ProgressBar1->setRange(0, Celkem);
        ProgressBar1->setValue(Hotovo);
    };
    H.Nalezeno = [this](const TNalez& N) {
        auto* Radek = new QTreeWidgetItem(TreeNalezene);
        Radek->setText(SAdresa, QString::number(N.Adresa));
        Radek->setText(SRychlost, Rychlost(N.IndexRychlosti));
        Radek->setText(SModul, ModulNaText(N.Modul));
        Radek->setData(SAdresa, Qt::UserRole, N.Adresa);
        Radek->setData(SRychlost, Qt::UserRole, N.IndexRychlosti);
        Radek->setData(SModul, Qt::UserRole, N.Modul);
    };

    // An open link is searched as it is; otherwise the interface of the
    // entries is opened for the search alone.
    const bool Vlastni = !SpojeniOtevreno(Data_);
    TData Docasne;
    if (Vlastni) {
        Docasne = Zadani_;
        uint32_t Handle = 0;
        const TVysledekSpojeni Otevreni = OtevriSpojeni(Docasne, Handle, Jak_);
        if (!Otevreni.Uspech()) {
            Stav(tr("Rozhraní nelze otevřít: %1").arg(Veta(Otevreni.Text)));
            return;
        }
        Docasne.Rychlost = IndexNaRychlost(IndexRychlosti_);
    }
    const TData& Spojeni = Vlastni ? Docasne : *Data_;

    TreeNalezene->clear();
    Nalezene_.clear();
    ProgressBar1->setValue(0);
    ButtonHledat->setEnabled(false);
    ButtonDoPrehledu->setEnabled(false);
    ButtonZastavit->setEnabled(true);
    Stav(tr("Probíhá hledání…"));
    TVysledekHledani V;
    Prenos.Proved([&] { V = Hledej(CilModulu(Spojeni), H); });
    // The texts come from the driver, so before it is released.
    const QString Text = Souhrn(V, Spojeni.Rozhrani);
    if (Vlastni) ZavriSpojeni(Docasne);
    ButtonZastavit->setEnabled(false);
    ButtonHledat->setEnabled(true);
    Nalezene_ = V.Nalezene;
    ButtonDoPrehledu->setEnabled(!Nalezene_.empty());
    Stav(Text);
}

void TFormHledani::DoPrehleduClick() {
    if (Prenos.Bezi() || !DoPrehledu || Nalezene_.empty()) return;
    DoPrehledu(Nalezene_);
    Stav(tr("Do přehledu linky předáno modulů: %1. Přehled se otevře po zavření okna "
            "připojení.")
             .arg(PocetModulu(Nalezene_)));
}

QString TFormHledani::Souhrn(const TVysledekHledani& V, uint8_t Rozhrani) const {
    const int Pocet = PocetModulu(V.Nalezene);
    QString Text;
    if (!V.Text.isEmpty())
        Text = tr("Hledání přerušeno: %1 Nalezeno modulů: %2.").arg(Veta(V.Text)).arg(Pocet);
    else if (V.Zastaveno)
        Text = tr("Hledání zastaveno na adrese %1 (%2). Nalezeno modulů: %3.")
                   .arg(Adresa_)
                   .arg(Rychlost(Rychlost_))
                   .arg(Pocet);
    else if (Pocet == 0)
        Text = tr("Hledání dokončeno: žádný modul neodpověděl.");
    else
        Text = tr("Hledání dokončeno. Nalezeno modulů: %1; dvojklikem modul "
                  "vyberete.")
                   .arg(Pocet);
    if (!V.OdmitnuteRychlosti.empty()) {
        QStringList R;
        for (const auto& [Index, Kod] : V.OdmitnuteRychlosti)
            R << Rychlost(Index);
        Text += tr(" Rychlosti odmítnuté ovladačem: %1.").arg(R.join(u", "));
    }
    if (!V.Poruchy.empty()) {
        QStringList P;
        for (const auto& Porucha : V.Poruchy)
            P << TextPoruchy(V, Rozhrani, Porucha.first);
        Text += tr(" Jiné odpovědi na lince: %1.").arg(P.join(u", "));
    }
    if (V.ChybaObnoveni != 0)
        Text += tr(" Rychlost připojení se nepodařilo vrátit: %1")
                    .arg(Veta(TextChyby(Rozhrani, V.ChybaObnoveni)));
    return Text;
}

void TFormHledani::Vyber(QTreeWidgetItem* Polozka) {
    if (!Polozka) return;
    // During a search the pick waits until it has stopped.
    if (Prenos.Odloz([this, Polozka] { Vyber(Polozka); })) return;
    TNalez N;
    N.Adresa = static_cast<uint8_t>(Polozka->data(SAdresa, Qt::UserRole).toInt());
    N.IndexRychlosti = Polozka->data(SRychlost, Qt::UserRole).toInt();
    N.Modul = Polozka->data(SModul, Qt::UserRole).toString();
    Vybrany = N;
    accept();
}

void TFormHledani::reject() {
    if (Prenos.Odloz([this] { reject(); })) return;
    QDialog::reject();
}
