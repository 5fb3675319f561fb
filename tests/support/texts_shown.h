// Every text a window shows a person, keyed by where it is shown, so that
// the same window built in two languages can be compared text by text.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>
#include <QWidget>

namespace testsupport {

inline QMap<QString, QString> texts_shown(const QWidget* window) {
    QMap<QString, QString> texts;
    const auto add = [&texts](const QObject* o, const char* role, const QString& text) {
        if (!text.trimmed().isEmpty())
            texts.insert(o->objectName() + QLatin1Char('.') + QLatin1String(role), text);
    };
    add(window, "title", window->windowTitle());
    QList<const QWidget*> widgets{window};
    for (const QWidget* w : window->findChildren<QWidget*>())
        widgets.append(w);
    for (const QWidget* w : widgets) {
        add(w, "toolTip", w->toolTip());
        add(w, "accessibleName", w->accessibleName());
        if (const auto* l = qobject_cast<const QLabel*>(w)) add(l, "text", l->text());
        if (const auto* b = qobject_cast<const QAbstractButton*>(w)) add(b, "text", b->text());
        if (const auto* g = qobject_cast<const QGroupBox*>(w)) add(g, "title", g->title());
        if (const auto* m = qobject_cast<const QMenu*>(w)) add(m, "title", m->title());
        if (const auto* c = qobject_cast<const QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                add(c, QByteArray("item").append(QByteArray::number(i)).constData(),
                    c->itemText(i));
        if (const auto* h = qobject_cast<const QHeaderView*>(w); h && h->model())
            for (int i = 0; i < h->count(); ++i)
                add(h, QByteArray("section").append(QByteArray::number(i)).constData(),
                    h->model()->headerData(i, h->orientation()).toString());
    }
    for (const QAction* a : window->findChildren<QAction*>()) {
        add(a, "text", a->text());
        add(a, "toolTip",
            a->toolTip() == QString(a->text()).remove(QLatin1Char('&')) ? QString() : a->toolTip());
    }
    return texts;
}

// The labels and buttons of the window, shown, whose text is wider than
// they are: a text cut off on the screen.
inline QStringList texts_cut_off(QWidget* window) {
    window->show();
    QCoreApplication::processEvents();
    QStringList cut;
    const auto check = [&cut](const QWidget* w, const QString& text, int room) {
        const QString shown = QString(text).remove(QLatin1Char('&'));
        if (w->isVisible() && w->fontMetrics().horizontalAdvance(shown) > room)
            cut << w->objectName() + QLatin1String(": ") + shown;
    };
    for (const QLabel* l : window->findChildren<QLabel*>())
        if (!l->wordWrap() && !l->text().contains(QLatin1Char('<')))
            check(l, l->text(), l->contentsRect().width());
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (qobject_cast<const QPushButton*>(b)) check(b, b->text(), b->width() - 6);
    window->hide();
    return cut;
}

} // namespace testsupport
