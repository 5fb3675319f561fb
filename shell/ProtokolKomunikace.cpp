#include "ProtokolKomunikace.h"

#include "Kxxx410.h"
#include "functions.h"

#include <QBrush>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Updates of the view while commands come: once a second follows a
// transfer well enough, and keeps the log's share of a view polling at
// 10 Hz small (bench/cpu_live.sh; twice a second put it above 1 % of a
// core under X).
constexpr int kObnovaMs = 1000;
// How long the message of a save stays.
constexpr int kZpravaMs = 10000;

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
    case RoleCislo:
        // From the log as it is now, like the text: between a command and
        // the next update the rows already show the log's present records.
        return QVariant::fromValue<quint64>(Log_.Celkem() - Log_.Pocet() + index.row());
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

void TKreslirRadku::paint(QPainter* Painter, const QStyleOptionViewItem& Option,
                          const QModelIndex& Index) const {
    const bool Vybrano = Option.state & QStyle::State_Selected;
    if (Vybrano) Painter->fillRect(Option.rect, Option.palette.highlight());
    // Lines on screen at most; the rest are laid out again if they return.
    if (Texty_.size() > 512) Texty_.clear();
    const quint64 Cislo = Index.data(TModelProtokolu::RoleCislo).toULongLong();
    auto it = Texty_.find(Cislo);
    if (it == Texty_.end()) {
        QStaticText Text(Index.data(Qt::DisplayRole).toString());
        Text.setTextFormat(Qt::PlainText);
        Text.setPerformanceHint(QStaticText::AggressiveCaching);
        Text.prepare(QTransform(), Option.font);
        it = Texty_.insert(Cislo, Text);
    }
    const QVariant Barva = Index.data(Qt::ForegroundRole);
    Painter->save();
    Painter->setFont(Option.font);
    Painter->setPen(Vybrano           ? Option.palette.highlightedText().color()
                    : Barva.isValid() ? Barva.value<QBrush>().color()
                                      : Option.palette.text().color());
    Painter->drawStaticText(Option.rect.topLeft() + QPoint(2, 1), *it);
    Painter->restore();
}

QSize TKreslirRadku::sizeHint(const QStyleOptionViewItem& Option, const QModelIndex&) const {
    // Every line alike, wide enough for the longest (a long status text).
    const QFontMetrics Mira(Option.font);
    return QSize(Mira.horizontalAdvance(QLatin1Char('0')) * 160, Mira.height() + 2);
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
    // Why no library could be bound may take a few lines; it is never cut.
    LabelOvladac->setWordWrap(true);

    Model_ = new TModelProtokolu(Log, this);
    ListProtokol = new QListView(this);
    ListProtokol->setObjectName(QStringLiteral("ListProtokol"));
    ListProtokol->setModel(Model_);
    ListProtokol->setItemDelegate(new TKreslirRadku(ListProtokol));
    ListProtokol->setUniformItemSizes(true);
    ListProtokol->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListProtokol->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListProtokol->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Lines of digits and Latin letters need no shaping; laying out the
    // new lines is most of what the log costs.
    QFont Pismo = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    Pismo.setStyleStrategy(QFont::PreferNoShaping);
    ListProtokol->setFont(Pismo);
    PopisPole(ListProtokol, tr("Komunikace s modulem"));

    LabelStatistika = Popisek("LabelStatistika");
    // The message of a save has a line of its own, shown for a while, so
    // the statistics keep the whole width.
    LabelZprava = Popisek("LabelZprava");
    LabelZprava->hide();
    ZpravaCasovac_ = new QTimer(this);
    ZpravaCasovac_->setSingleShot(true);
    ZpravaCasovac_->setInterval(kZpravaMs);
    connect(ZpravaCasovac_, &QTimer::timeout, LabelZprava, &QLabel::hide);

    ActionVymazat = new QAction(tr("Vymazat"), this);
    ActionVymazat->setObjectName(QStringLiteral("ActionVymazat"));
    ActionUlozit = new QAction(tr("Uložit jako…"), this);
    ActionUlozit->setObjectName(QStringLiteral("ActionUlozit"));
    ActionPozastavit = new QAction(tr("Pozastavit"), this);
    ActionPozastavit->setObjectName(QStringLiteral("ActionPozastavit"));
    ActionPozastavit->setCheckable(true);
    ListProtokol->addActions({ActionVymazat, ActionUlozit, ActionPozastavit});
    ListProtokol->setContextMenuPolicy(Qt::ActionsContextMenu);
    // The keyboard's other way to the context menu, as on Windows.
    auto* Nabidka = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), ListProtokol, nullptr,
                                  nullptr, Qt::WidgetShortcut);
    connect(Nabidka, &QShortcut::activated, this, [this] {
        const QRect Radek = ListProtokol->visualRect(ListProtokol->currentIndex());
        const QPoint Kde = Radek.isValid() ? Radek.bottomLeft() : QPoint(0, 0);
        QMenu::exec(ListProtokol->actions(), ListProtokol->viewport()->mapToGlobal(Kde), nullptr,
                    ListProtokol);
    });
    connect(ActionVymazat, &QAction::triggered, this, &TProtokolKomunikace::VymazatClick);
    connect(ActionUlozit, &QAction::triggered, this, &TProtokolKomunikace::UlozitClick);
    connect(ActionPozastavit, &QAction::toggled, this, &TProtokolKomunikace::PozastavitClick);

    auto* Rozlozeni = new QVBoxLayout(this);
    Rozlozeni->setContentsMargins(4, 2, 4, 2);
    Rozlozeni->setSpacing(2);
    Rozlozeni->addWidget(LabelOvladac);
    Rozlozeni->addWidget(ListProtokol, 1);
    Rozlozeni->addWidget(LabelStatistika);
    Rozlozeni->addWidget(LabelZprava);

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
    // The library bound now, and through what (the driver host).
    const QString Nazev = QDir::toNativeSeparators(OvladacVazba());
    QString Text = Nazev;
    if (Text.isEmpty()) {
        // Where no library could be run, the link may know why in words.
        const QString Duvod = OvladacDuvod();
        Text = Duvod.isEmpty() ? tr("žádný") : tr("žádný – ") + Duvod;
    }
    LabelOvladac->setText(tr("Ovladač: ") + Text);
    LabelStatistika->setText((Log.Pozastaveno() ? tr("pozastaveno, ") : QString()) +
                             StatistikaNaText(Log.Statistika()));
}

void TProtokolKomunikace::VymazatClick() {
    Log.Vymaz();
    Model_->Vymazano();
    LabelZprava->clear();
    LabelZprava->hide();
    Obnov();
}

void TProtokolKomunikace::UlozitClick() {
    VybranyFiltr.clear();
    const QString Cesta = ZvolSoubor(this, tr("Uložit komunikaci jako"),
                                     FiltrCsv + QStringLiteral(";;") + FiltrCsvExcel +
                                         QStringLiteral(";;") + tr("Všechny soubory (*)"),
                                     true);
    if (Cesta.isEmpty()) return;
    QString Chyba;
    if (Log.UlozCsv(Cesta, Chyba, VybranyDialektCsv()))
        LabelZprava->setText(
            tr("Uloženo do %1 (%2 řádků)").arg(QFileInfo(Cesta).fileName()).arg(Log.Pocet()));
    else
        LabelZprava->setText(Chyba);
    LabelZprava->setToolTip(QDir::toNativeSeparators(Cesta));
    LabelZprava->show();
    ZpravaCasovac_->start();
}

void TProtokolKomunikace::PozastavitClick(bool Pozastavit) {
    Log.NastavPozastaveno(Pozastavit);
    Obnov();
}
