// The communication log in the main window's client area: one line per
// command that reached the driver (failures marked), the bound driver
// library above it, a statistics line below, and a context menu to clear
// it, save it as CSV and pause it.
#pragma once

#include "Komunikace.h"

#include <QAbstractListModel>
#include <QAction>
#include <QHash>
#include <QLabel>
#include <QListView>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QWidget>

#include <cstdint>

// The records a log holds as a list model, oldest first. A line's text is
// made only when a view asks for it, so a line never on screen costs
// nothing but its record.
class TModelProtokolu : public QAbstractListModel {
  public:
    // The record's number since the log began (Qt::UserRole): a line's
    // text never changes, so a view may keep what it drew by it.
    static constexpr int RoleCislo = Qt::UserRole;

    explicit TModelProtokolu(TLogKomunikace& Log, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Takes in what the log kept since the last call: rows the ring has
    // dropped leave at the top, new ones come at the bottom.
    void Obnov();
    // The log was cleared.
    void Vymazano();

  private:
    TLogKomunikace& Log_;
    int Radku_ = 0;
    uint64_t Videno_ = 0;
};

// Draws a line of the log from its text laid out once: a line that moves up
// as new ones come is drawn again, not laid out again.
class TKreslirRadku : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

  private:
    mutable QHash<quint64, QStaticText> Texty_;
};

class TProtokolKomunikace : public QWidget {
    Q_OBJECT
  public:
    explicit TProtokolKomunikace(QWidget* parent = nullptr);

    TLogKomunikace Log;

    QLabel* LabelOvladac = nullptr;
    QListView* ListProtokol = nullptr;
    QLabel* LabelStatistika = nullptr;
    QLabel* LabelZprava = nullptr;
    QAction* ActionVymazat = nullptr;
    QAction* ActionUlozit = nullptr;
    QAction* ActionPozastavit = nullptr;

    // Shows what the log kept since the last update; runs by itself at most
    // a few times a second while commands come.
    void Obnov();

    void VymazatClick();
    void UlozitClick();
    void PozastavitClick(bool Pozastavit);

  private:
    TModelProtokolu* Model_ = nullptr;
    QTimer* Casovac_ = nullptr;
    QTimer* ZpravaCasovac_ = nullptr;
};
