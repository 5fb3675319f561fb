#include "UvedeniDoProvozu.h"

#include "Rychlosti.h"
#include "functions.h"

#include <QBoxLayout>

TFormUvedeni::TFormUvedeni(TData* Data, TLinka* Linka, TPrenos& Prenos, QWidget* parent)
    : QDialog(parent), Data_(Data), Linka_(Linka), Prenos_(Prenos) {
    setObjectName(QStringLiteral("FormUvedeni"));
    setWindowTitle(tr("Uvedení modulů do provozu"));
    const auto Adresa = [this](const char* Jmeno, const QString& Text, int Hodnota) {
        auto* L = new QLabel(Text, this);
        L->setObjectName(QStringLiteral("Label") + QLatin1String(Jmeno));
        auto* S = new QSpinBox(this);
        S->setObjectName(QStringLiteral("SpinBox") + QLatin1String(Jmeno));
        S->setRange(0, 255);
        S->setValue(Hodnota);
        PopisPole(L, S);
        return std::pair{L, S};
    };
    std::tie(LabelOd, SpinBoxOd) = Adresa("Od", tr("Přidělovat adresy od"), 1);
    std::tie(LabelDo, SpinBoxDo) = Adresa("Do", tr("do"), 255);
    CheckBoxRychlost = new QCheckBox(tr("Zapsat i rychlost linky"), this);
    CheckBoxRychlost->setObjectName(QStringLiteral("CheckBoxRychlost"));
    ComboBoxRychlost = new QComboBox(this);
    ComboBoxRychlost->setObjectName(QStringLiteral("ComboBoxRychlost"));
    ComboBoxRychlost->addItems(TextyRychlosti());
    ComboBoxRychlost->setCurrentIndex(Data ? RychlostNaIndex(Data->Rychlost)
                                           : VyrobniIndexRychlosti);
    BezZkratekVSeznamu(ComboBoxRychlost);
    PopisPole(CheckBoxRychlost, CheckBoxRychlost->text());
    PopisPole(ComboBoxRychlost, tr("Rychlost linky"));
    TextPrubeh = new QPlainTextEdit(this);
    TextPrubeh->setObjectName(QStringLiteral("TextPrubeh"));
    TextPrubeh->setReadOnly(true);
    PopisPole(TextPrubeh, tr("Průběh uvádění do provozu"));
    ButtonUvest = NoveTlacitko(this, QStringLiteral("ButtonUvest"), tr("Uvést modul"), 0, 0, 110);
    ButtonZastavit = NoveTlacitko(this, QStringLiteral("ButtonZastavit"), tr("Zastavit"), 0, 0, 90);
    ButtonZastavit->setEnabled(false);
    ButtonZavrit = NoveTlacitko(this, QStringLiteral("ButtonZavrit"), tr("Zavřít"), 0, 0, 90);

    auto* Volby = new QHBoxLayout;
    for (QWidget* W : std::initializer_list<QWidget*>{LabelOd, SpinBoxOd, LabelDo, SpinBoxDo,
                                                      CheckBoxRychlost, ComboBoxRychlost})
        Volby->addWidget(W);
    Volby->addStretch(1);
    auto* Tlacitka = new QHBoxLayout;
    Tlacitka->addWidget(ButtonUvest);
    Tlacitka->addWidget(ButtonZastavit);
    Tlacitka->addStretch(1);
    Tlacitka->addWidget(ButtonZavrit);
    auto* Vse = new QVBoxLayout(this);
    Vse->addLayout(Volby);
    Vse->addWidget(TextPrubeh, 1);
    Vse->addLayout(Tlacitka);
    resize(720, 420);

    connect(ButtonUvest, &QPushButton::clicked, this, &TFormUvedeni::UvestClick);
    connect(ButtonZastavit, &QPushButton::clicked, this, [this] { Prenos_.Zastav(); });
    connect(ButtonZavrit, &QPushButton::clicked, this, &TFormUvedeni::reject);
    Pis(tr("Připojte k lince jeden nový modul (z výroby má adresu %1 a rychlost %2 Bd) "
           "a stiskněte „Uvést modul“.")
            .arg(VyrobniAdresa)
            .arg(IndexNaRychlost(VyrobniIndexRychlosti)));
}

void TFormUvedeni::Pis(const QString& Text) {
    if (Text.isEmpty()) return;
    TextPrubeh->appendPlainText(Text);
    TextPrubeh->repaint();
}

void TFormUvedeni::UvestClick() {
    if (Prenos_.Bezi() || !Data_ || !Linka_) return;
    if (!SpojeniOtevreno(Data_)) {
        Pis(QString(TextNeinicializovano).trimmed());
        return;
    }
    if (SpinBoxOd->value() > SpinBoxDo->value()) {
        Pis(tr("První adresa musí být nejvýše poslední."));
        return;
    }
    TVolbyUvedeni Volby;
    Volby.Od = SpinBoxOd->value();
    Volby.Do = SpinBoxDo->value();
    if (CheckBoxRychlost->isChecked()) Volby.IndexRychlosti = ComboBoxRychlost->currentIndex();
    std::vector<TModulLinky> Moduly;
    for (const TPolozkaLinky& P : Linka_->Polozky())
        Moduly.push_back(P.Modul);

    ButtonUvest->setEnabled(false);
    ButtonZastavit->setEnabled(true);
    TVysledekUvedeni V;
    Prenos_.Proved([&] {
        V = UvedDoProvozu(CilModulu(*Data_), Moduly, Volby,
                          {Pauza, [this] { return Prenos_.Zastavuje(); }},
                          [this](const QString& Zprava) { Pis(Zprava); });
    });
    ButtonZastavit->setEnabled(false);
    ButtonUvest->setEnabled(true);
    Pis(V.Text);
    if (!V.Uspech()) return;
    QString Chyba;
    if (!Linka_->Pridej(V.Modul, Chyba)) {
        Pis(Chyba);
        return;
    }
    Pis(tr("Modul přidán do linky: adresa %1, %2 Bd.")
            .arg(V.Modul.Adresa)
            .arg(IndexNaRychlost(V.Modul.IndexRychlosti)));
    if (Pridan) Pis(Pridan());
    Pis(tr("Připojte další nový modul a stiskněte „Uvést modul“, nebo okno zavřete."));
}

void TFormUvedeni::reject() {
    // Closing stops the step at its next pause, then closes.
    if (Prenos_.Odloz([this] { reject(); })) return;
    QDialog::reject();
}
