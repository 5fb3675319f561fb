// Keyboard and screen readers: every window of the program, shown as the
// program shows it, is walked control by control.
#include "Hlavni.h"
#include "Hledani.h"
#include "KonfModulu.h"
#include "NastavAdr.h"
#include "NastavCNT.h"
#include "NastavDIO.h"
#include "OkamCNT.h"
#include "OkamDIN.h"
#include "OkamDOUT.h"
#include "Pripojeni.h"
#include "RTC.h"
#include "StatReg.h"
#include "shell_test_util.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace shelltest;

namespace {

template <class T> std::unique_ptr<QWidget> dialog(TData* data) {
    auto w = std::make_unique<T>();
    w->Data = data;
    return w;
}

// Every window, the counter-mode dialog last: its tab order puts its
// buttons before the mode list above them, as it always had.
std::vector<std::unique_ptr<QWidget>> every_window(TData* data) {
    std::vector<std::unique_ptr<QWidget>> w;
    w.push_back(std::make_unique<TForm1>());
    w.push_back(dialog<TForm2>(data));
    w.push_back(dialog<TForm12>(data));
    w.push_back(dialog<TForm6>(data));
    w.push_back(dialog<TForm3>(data));
    w.push_back(dialog<TForm15>(data));
    w.push_back(dialog<TForm14>(data));
    w.push_back(dialog<TForm11>(data));
    w.push_back(dialog<TForm9>(data));
    w.push_back(std::make_unique<TFormHledani>(data, *data, TOtevreni{}, QStringLiteral("COM1"),
                                               QString()));
    for (auto rezim : {TFormKonfigurace::TRezim::Ulozit, TFormKonfigurace::TRezim::Nahrat}) {
        auto k = std::make_unique<TFormKonfigurace>(rezim, QStringLiteral("x.km207"));
        k->Data = data;
        w.push_back(std::move(k));
    }
    w.push_back(dialog<TForm5>(data));
    return w;
}

// An edit, a list or a check box the operator reaches; not the parts
// inside a drop-down list, a spin box or a list (its header).
bool is_control(QWidget* w) {
    if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QComboBox*>(w) &&
        !qobject_cast<QAbstractSpinBox*>(w) && !qobject_cast<QAbstractItemView*>(w) &&
        !qobject_cast<QCheckBox*>(w) && !qobject_cast<QPlainTextEdit*>(w))
        return false;
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractSpinBox*>(p) ||
            qobject_cast<QAbstractItemView*>(p))
            return false;
    return true;
}

QRect in_window(QWidget* w) {
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

// The label that reads as the control's name: the nearest one to its left
// on the same row.
QLabel* label_left_of(QWidget* w) {
    const QRect r = in_window(w);
    QLabel* best = nullptr;
    for (QLabel* l : w->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const QRect lr = in_window(l);
        if (!l->isVisibleTo(w->window()) || l->text().isEmpty() || lr.right() > r.left() ||
            lr.bottom() < r.center().y() || lr.top() > r.center().y())
            continue;
        if (!best || lr.right() > in_window(best).right()) best = l;
    }
    return best;
}

std::string name(QWidget* w) {
    return (w->window()->windowTitle() + QLatin1Char('/') + w->objectName() + QLatin1Char(' ') +
            w->metaObject()->className())
        .toStdString();
}

// A value shown in a frame says the row it belongs to.
TEST_F(ShellTest, ClockAndStatusValuesNameTheirRows) {
    TForm3 clock;
    EXPECT_EQ(child<QLabel>(&clock, "Label4")->accessibleDescription(),
              QStringLiteral("Začátek výpadku napájení, čas"));
    EXPECT_EQ(child<QLabel>(&clock, "Label9")->accessibleDescription(),
              QStringLiteral("Čas a datum modulu, datum"));
    EXPECT_FALSE(child<QFrame>(&clock, "Panel2")->accessibleName().isEmpty());
    TForm15 status;
    EXPECT_EQ(child<QLabel>(&status, "Label38")->accessibleDescription(),
              QStringLiteral("bit 5 RST"));
}

TEST_F(ShellTest, EveryEditListAndCheckBoxIsNamedAndTabbingFollowsTheLayout) {
    TData data;
    InitData(&data);
    auto windows = every_window(&data);
    for (size_t i = 0; i < windows.size(); ++i) {
        QWidget* window = windows[i].get();
        window->show();
        QCoreApplication::processEvents();
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!is_control(w)) continue;
            EXPECT_FALSE(w->accessibleName().trimmed().isEmpty()) << name(w);
            // A check box carries its own caption.
            if (qobject_cast<QCheckBox*>(w) || !w->isVisibleTo(window)) continue;
            if (QLabel* l = label_left_of(w)) {
                EXPECT_EQ(l->buddy(), w) << name(w) << " is not the buddy of " << name(l);
            }
        }

        // Tab goes on in reading order: to the right on a row, down to a later
        // row, or up into the next column to the right.
        std::vector<QWidget*> chain;
        for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window) && w->isEnabled() &&
                !w->focusProxy() && (is_control(w) || qobject_cast<QAbstractButton*>(w)))
                chain.push_back(w);
        }
        if (i + 1 == windows.size()) break; // the counter-mode dialog, see every_window
        for (size_t k = 1; k < chain.size(); ++k) {
            const QRect a = in_window(chain[k - 1]), b = in_window(chain[k]);
            const bool same_row = b.center().y() >= a.top() && b.center().y() <= a.bottom();
            const bool forward =
                same_row ? b.left() > a.left() : b.top() > a.top() || b.left() >= a.right();
            EXPECT_TRUE(forward) << name(chain[k - 1]) << " -> " << name(chain[k]);
        }
    }
}

} // namespace
