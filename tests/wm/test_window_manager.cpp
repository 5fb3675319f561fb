// The windows under a real window manager (tests/wm/with_wm.sh runs this
// binary on Xvfb with openbox): frames, centring, minimise and restore.
#include "Hlavni.h"
#include "Pripojeni.h"
#include "fake_link.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QShowEvent>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// Waits, within a bound, for what the window manager does on its own time.
constexpr int kWaitMs = 20000;

bool framed(const QWidget& w) {
    return w.windowHandle() && !w.windowHandle()->frameMargins().isNull();
}

// Distance of the frame's centre from the centre of the screen's free area.
int off_centre(const QWidget& w) {
    const QRect frame = w.windowHandle()->frameGeometry();
    return (frame.center() - w.screen()->availableGeometry().center()).manhattanLength();
}

// Spontaneous show events: the window system showing the window again.
class Restores : public QObject {
  public:
    explicit Restores(QWidget* w) { w->installEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show && e->spontaneous()) ++count;
        return false;
    }
};

class WindowManager : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"))
            << "run through tests/wm/with_wm.sh";
        testsupport::use_temp_settings_dir();
        testsupport::use_fake_drivers();
    }
};

TEST_F(WindowManager, MainWindowFrameIs600x400AndCentred) {
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return framed(form); }, kWaitMs)) << "no frame came";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form.windowHandle()->frameGeometry().size() == QSize(600, 400); }, kWaitMs));
    EXPECT_EQ(form.windowHandle()->frameGeometry().size(), QSize(600, 400));
    EXPECT_TRUE(QTest::qWaitFor([&] { return off_centre(form) <= 1; }, kWaitMs));
    EXPECT_LE(off_centre(form), 1);
    form.close();
}

TEST_F(WindowManager, MainWindowResizesWithTheLogFillingItsClientArea) {
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return framed(form) && form.windowHandle()->frameGeometry().size() == QSize(600, 400);
        },
        kWaitMs));
    auto* log = form.findChild<QWidget*>(QStringLiteral("Protokol"));
    ASSERT_NE(log, nullptr);
    // Sizes once the widget has caught up with the frame it was given.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return form.size() == form.windowHandle()->geometry().size(); }, kWaitMs));
    QTest::qWait(1500); // the window is placed and settled; the operator takes over
    const QSize small = log->size();
    form.resize(form.size() + QSize(200, 150));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return form.windowHandle()->frameGeometry().size() == QSize(800, 550); }, kWaitMs))
        << "the window manager did not resize the main window: "
        << form.windowHandle()->frameGeometry().width() << "x"
        << form.windowHandle()->frameGeometry().height();
    EXPECT_TRUE(QTest::qWaitFor([&] { return log->size() == small + QSize(200, 150); }, kWaitMs));
    EXPECT_EQ(log->size(), small + QSize(200, 150));
    // The log lies between the menu and the status bar, across the window.
    EXPECT_EQ(log->geometry(), form.centralWidget()->geometry());
    EXPECT_EQ(log->width(), form.width());
    form.close();
}

TEST_F(WindowManager, ConnectionDialogOverTheMainWindowIsCentredOnTheScreen) {
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, kWaitMs));
    int distance = -1;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, kWaitMs))
            return;
        QWidget* dlg = QApplication::activeModalWidget();
        seen = qobject_cast<TForm2*>(dlg) != nullptr;
        // The window manager may place a dialog over its owner when it maps it.
        if (QTest::qWaitFor([&] { return framed(*dlg) && off_centre(*dlg) <= 1; }, kWaitMs))
            QTest::qWait(300);
        distance = off_centre(*dlg);
        dlg->close();
    });
    form.findChild<QAction*>(QStringLiteral("Pipojen1"))->trigger();
    ASSERT_TRUE(seen);
    EXPECT_GE(distance, 0);
    EXPECT_LE(distance, 1);
    form.close();
}

TEST_F(WindowManager, ConnectionDialogKeepsItsEntriesWhenRestored) {
    TData data;
    InitData(&data);
    data.StavText = QStringLiteral("V pořádku");
    TForm2 dlg;
    dlg.Data = &data;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg, kWaitMs));
    auto* kind = dlg.findChild<QComboBox*>(QStringLiteral("ComboBox2"));
    auto* address = dlg.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    auto* ip = dlg.findChild<QLineEdit*>(QStringLiteral("Edit2"));
    auto* status = dlg.findChild<QLabel*>(QStringLiteral("Panel1"));
    kind->setCurrentIndex(4);
    address->setText(QStringLiteral("123"));
    ip->setText(QStringLiteral("10.0.0.7"));
    dlg.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(8);

    Restores restores(&dlg);
    dlg.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.windowHandle()->isExposed(); }, kWaitMs))
        << "the window manager did not minimise the dialog";
    dlg.showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return restores.count > 0; }, kWaitMs))
        << "the window manager did not restore the dialog";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg, kWaitMs));

    EXPECT_EQ(kind->currentIndex(), 4);
    EXPECT_EQ(address->text(), QStringLiteral("123"));
    EXPECT_EQ(ip->text(), QStringLiteral("10.0.0.7"));
    EXPECT_EQ(dlg.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->currentIndex(), 8);
    EXPECT_EQ(status->text(), QStringLiteral("V pořádku"));
    // Nothing was sent to the record by the restore either.
    EXPECT_EQ(data.Adresa, 0);
    EXPECT_EQ(data.Rozhrani, 0);
    dlg.close();
}

} // namespace
