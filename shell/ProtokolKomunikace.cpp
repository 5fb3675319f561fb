#include "ProtokolKomunikace.h"

#include "Kxxx410.h"
#include "functions.h"

#include <QBrush>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Updates of the view while commands come: often enough to follow a
// transfer, rarely enough that a view polling at 10 Hz costs little.
constexpr int kObnovaMs = 200;

} // namespace

TModelProtokolu::TModelProtokolu(TLogKomunikace& Log, QObject* parent)
    : QAbstractListModel(parent), Log_(Log), Videno_(Log.Celkem()) {}

int TModelProtokolu::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Radku_;
}

QVariant TModelProtokolu::data(const QModelIndex& index, int role) const {
    // Rows announced are never more than the log holds (it only grows
    // until it is full, and only the view clears it).
    if (!index.isValid() || index.row() >= std::min(Radku_, Log_.Pocet())) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return Log_.Radek(index.row());
    case Qt::ForegroundRole:
        if (Log_.Zaznam(index.row()).Chyba != 0) return QBrush(Qt::red);
        return {};
    default:
        return {};
    }
}

void TModelProtokolu::Obnov() {
    const int Pocet = Log_.Pocet();
    const int Nove = static_cast<int>(std::min<uint64_t>(Log_.Celkem() - Videno_, Pocet));
    Videno_ = Log_.Celkem();
    if (Nove <= 0) return;
    const int Zahodit = Radku_ - (Pocet - Nove);
    if (Zahodit > 0) {
        beginRemoveRows({}, 0, Zahodit - 1);
        Radku_ -= Zahodit;
        endRemoveRows();
    }
    beginInsertRows({}, Radku_, Radku_ + Nove - 1);
    Radku_ += Nove;
    endInsertRows();
}

void TModelProtokolu::Vymazano() {
    beginResetModel();
    Radku_ = 0;
    Videno_ = Log_.Celkem();
    endResetModel();
}

TProtokolKomunikace::TProtokolKomunikace(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Protokol"));
    auto Popisek = [this](const char* Jmeno) {
        auto* L = new QLabel(this);
        L->setObjectName(QLatin1String(Jmeno));
        L->setTextFormat(Qt::PlainText);
        // A long text is cut at the window's edge; it never widens the window.
        L->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        return L;
    };
    LabelOvladac = Popisek("LabelOvladac");

    Model_ = new TModelProtokolu(Log, this);
    ListProtokol = new QListView(this);
    ListProtokol->setObjectName(QStringLiteral("ListProtokol"));
    ListProtokol->setModel(Model_);
    ListProtokol->setUniformItemSizes(true);
    ListProtokol->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListProtokol->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListProtokol->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ListProtokol->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    PopisPole(ListProtokol, QStringLiteral("Komunikace s modulem"));

    LabelStatistika = Popisek("LabelStatistika");
    LabelZprava = Popisek("LabelZprava");
    LabelZprava->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    ActionVymazat = new QAction(QStringLiteral("Vymazat"), this);
    ActionVymazat->setObjectName(QStringLiteral("ActionVymazat"));
    ActionUlozit = new QAction(QStringLiteral("Uložit jako…"), this);
    ActionUlozit->setObjectName(QStringLiteral("ActionUlozit"));
    ActionPozastavit = new QAction(QStringLiteral("Pozastavit"), this);
    ActionPozastavit->setObjectName(QStringLiteral("ActionPozastavit"));
    ActionPozastavit->setCheckable(true);
    ListProtokol->addActions({ActionVymazat, ActionUlozit, ActionPozastavit});
    ListProtokol->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(ActionVymazat, &QAction::triggered, this, &TProtokolKomunikace::VymazatClick);
    connect(ActionUlozit, &QAction::triggered, this, &TProtokolKomunikace::UlozitClick);
    connect(ActionPozastavit, &QAction::toggled, this, &TProtokolKomunikace::PozastavitClick);

    auto* Dole = new QHBoxLayout;
    Dole->setContentsMargins(0, 0, 0, 0);
    Dole->addWidget(LabelStatistika, 3);
    Dole->addWidget(LabelZprava, 1);
    auto* Rozlozeni = new QVBoxLayout(this);
    Rozlozeni->setContentsMargins(4, 2, 4, 2);
    Rozlozeni->setSpacing(2);
    Rozlozeni->addWidget(LabelOvladac);
    Rozlozeni->addWidget(ListProtokol, 1);
    Rozlozeni->addLayout(Dole);

    Casovac_ = new QTimer(this);
    Casovac_->setSingleShot(true);
    Casovac_->setInterval(kObnovaMs);
    connect(Casovac_, &QTimer::timeout, this, &TProtokolKomunikace::Obnov);
    Log.NastavOznameni([this] {
        if (!Casovac_->isActive()) Casovac_->start();
    });
    Log.Pripoj();
    Obnov();
}

void TProtokolKomunikace::Obnov() {
    Casovac_->stop();
    QScrollBar* Posuv = ListProtokol->verticalScrollBar();
    // The view follows new lines unless the operator scrolled up to read.
    const bool Dole = Posuv->value() >= Posuv->maximum();
    Model_->Obnov();
    if (Dole) ListProtokol->scrollToBottom();
    const QString Nazev = Ovladac ? Ovladac() : QString();
    LabelOvladac->setText(QStringLiteral("Ovladač: ") +
                          (Nazev.isEmpty() ? QStringLiteral("žádný") : Nazev));
    LabelStatistika->setText((Log.Pozastaveno() ? QStringLiteral("pozastaveno, ") : QString()) +
                             StatistikaNaText(Log.Statistika()));
}

void TProtokolKomunikace::VymazatClick() {
    Log.Vymaz();
    Model_->Vymazano();
    LabelZprava->clear();
    Obnov();
}

void TProtokolKomunikace::UlozitClick() {
    const QString Cesta = ZvolSoubor(this, QStringLiteral("Uložit komunikaci jako"),
                                     QStringLiteral("CSV (*.csv);;Všechny soubory (*)"), true);
    if (Cesta.isEmpty()) return;
    QString Chyba;
    if (Log.UlozCsv(Cesta, Chyba))
        LabelZprava->setText(QStringLiteral("Uloženo: %1 řádků").arg(Log.Pocet()));
    else
        LabelZprava->setText(Chyba);
    LabelZprava->setToolTip(QDir::toNativeSeparators(Cesta));
}

void TProtokolKomunikace::PozastavitClick(bool Pozastavit) {
    Log.NastavPozastaveno(Pozastavit);
    Obnov();
}

QString PopisOvladace(const TData* Data) {
    if (!SpojeniOtevreno(Data) || Data->Rozhrani > 4) return {};
    static const char* const Knihovny[] = {"KSER410", "KIB410", "KPB4100", "KUB4100", "KL4100"};
#ifdef Q_OS_WIN
    const QString Pripona = QStringLiteral(".DLL");
#else
    const QString Pripona = QStringLiteral(".so");
#endif
    return QLatin1String(Knihovny[Data->Rozhrani]) + Pripona;
}
