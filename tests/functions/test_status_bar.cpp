// Status bars of the dialogs: a text change paints its panel once, and no
// text is shown cut, however long.
#include "NastavCNT.h"
#include "NastavDIO.h"
#include "test_nastav_support.h"
#include "window_check.h"

#include <QStatusBar>

using namespace nastavtest;

namespace {

// Paints of one widget.
class Paints : public QObject {
  public:
    explicit Paints(QWidget* w) : w_(w) { w_->installEventFilter(this); }
    ~Paints() override { w_->removeEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == w_ && e->type() == QEvent::Paint) ++count;
        return false;
    }

  private:
    QWidget* w_;
};

class StatusBarTest : public LinkedTest {};

TEST_F(StatusBarTest, ATextChangePaintsItsPanelOnceAndNothingElse) {
    TForm14 dlg;
    dlg.Data = &data;
    show_exposed(&dlg);
    QLabel* p = panel(&dlg);
    for (int i = 0; i < 5; ++i) {
        Paints panel_paints(p), bar_paints(dlg.StatusBar1), window_paints(&dlg);
        dlg.StatusBar1->NastavText(
            0, QStringLiteral(" Probíhá zápis konfigurace do modulu (%1 %)").arg(i * 8));
        // Painted before anything else runs...
        EXPECT_EQ(panel_paints.count, 1) << i;
        // ...and not again once the pending window messages run.
        QCoreApplication::processEvents();
        EXPECT_EQ(panel_paints.count, 1) << i;
        EXPECT_EQ(bar_paints.count, 0) << i;
        EXPECT_EQ(window_paints.count, 0) << i;
    }
}

TEST_F(StatusBarTest, ALongErrorWrapsTheDialogGrowsAndShrinksBack) {
    TForm5 dlg;
    dlg.Data = &data;
    show_exposed(&dlg);
    const QSize base = dlg.size();
    const int bar_top = dlg.StatusBar1->y();
    // The driver's permission text is wider than this dialog.
    model.fail_status[1] = 2;
    button(&dlg, 2)->click();
    const QString long_text = error_text(2);
    ASSERT_EQ(status(&dlg), long_text);
    ASSERT_GT(QFontMetrics(panel(&dlg)->font()).horizontalAdvance(long_text), base.width());
    QCoreApplication::processEvents();
    EXPECT_EQ(testsupport::shows_whole(panel(&dlg)), "");
    // Grown at the bottom edge only; the controls above stay where they were.
    EXPECT_EQ(dlg.width(), base.width());
    EXPECT_GT(dlg.height(), base.height());
    EXPECT_EQ(dlg.StatusBar1->y(), bar_top);
    EXPECT_EQ(dlg.StatusBar1->geometry().bottom(), dlg.height() - 1);

    // The next text fits one line again: the dialog is back at its size.
    button(&dlg, 2)->click();
    ASSERT_EQ(status(&dlg), QStringLiteral(" Konfigurace přečtena."));
    QCoreApplication::processEvents();
    EXPECT_EQ(testsupport::shows_whole(panel(&dlg)), "");
    EXPECT_EQ(dlg.size(), base);
    EXPECT_FALSE(panel(&dlg)->wordWrap());
}

} // namespace
