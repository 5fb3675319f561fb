// Main window: start-up, menu, status bar and closing, through its controls
// and the journal of the test driver.
#include "Hlavni.h"
#include "NastavAdr.h"
#include "NastavCNT.h"
#include "NastavDIO.h"
#include "OkamCNT.h"
#include "OkamDIN.h"
#include "OkamDOUT.h"
#include "Pripojeni.h"
#include "Prubeh.h"
#include "RTC.h"
#include "StatReg.h"
#include "shell_test_util.h"
#include "window_check.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace shelltest;

namespace {

class Hlavni : public ShellTest {
  protected:
    void TearDown() override {
        TForm1::AlokujData = saved_alloc;
        ShellTest::TearDown();
    }
    QString panel(const TForm1& form, int i) {
        QLabel* l = child<QLabel>(&form, QStringLiteral("StatusBar1_%1").arg(i).toLatin1());
        return l ? l->text() : QStringLiteral("<missing>");
    }
    // Runs a menu command whose dialog is closed by `inside` (or cancelled).
    void run_connection(TForm1& form, std::function<void(TForm2*)> inside = {}) {
        when_modal([inside](QWidget* modal) {
            auto* dlg = qobject_cast<TForm2*>(modal);
            ASSERT_NE(dlg, nullptr);
            if (inside) inside(dlg);
            QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("Button2")),
                              Qt::LeftButton);
        });
        child<QAction>(&form, "Pipojen1")->trigger();
    }

    TData* (*saved_alloc)() = TForm1::AlokujData;
};

TEST_F(Hlavni, StartUpShowsCaptionSizeAndInitialPanels) {
    write_ini(QStringLiteral("[Připojení]\nRozhraní=COMx\nAdresa=7\nRychlost=19200\n"));
    TForm1 form;
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("KM-207 (v.1.02) -  nastavení modulu"));
    EXPECT_EQ(form.frameGeometry().size(), QSize(600, 400));
    const QRect screen = form.screen()->availableGeometry();
    EXPECT_LE((form.frameGeometry().center() - screen.center()).manhattanLength(), 2);

    // The settings are loaded, but the status bar keeps its start texts.
    ASSERT_NE(form.Data, nullptr);
    EXPECT_EQ(form.Data->Adresa, 7);
    EXPECT_EQ(form.Data->Rychlost, 19200u);
    EXPECT_EQ(panel(form, 0), QStringLiteral(" Modul"));
    EXPECT_EQ(panel(form, 1), QStringLiteral(" Adresa"));
    EXPECT_EQ(panel(form, 2), QStringLiteral(" Rychlost"));
    EXPECT_EQ(panel(form, 3), QString());

    auto* bar = child<TStatusBar>(&form, "StatusBar1");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(form.statusBar(), bar);
    const int widths[] = {140, 80, 120, 50};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(bar->Panel(i)->width(), widths[i]) << i;
    form.close();
}

TEST_F(Hlavni, MenuFollowsTheTable) {
    TForm1 form;
    struct Item {
        const char* name;
        const char* caption;
        bool visible;
        const char* parent; // menu it sits in, or nullptr for the menu bar
    };
    const Item items[] = {
        {"Pipojen1", "&Připojení", true, nullptr},
        {"Nastaven1", "&Nastavení", true, nullptr},
        {"AdresaRychlost1", "Adresa, rychlost", true, "Nastaven1"},
        {"NastavAIN1", "Čítač", true, "Nastaven1"},
        {"HodinovobvodRTC1", "Hodinový obvod RTC", true, "Nastaven1"},
        {"NastavDIO1", "Digitální vstupy/výstupy", false, "Nastaven1"},
        {"Okamithodnoty1", "&Okamžité hodnoty", true, nullptr},
        {"OkamAIN2", "Čítač", true, "Okamithodnoty1"},
        {"OkamDIN2", "Digitální vstupy", false, "Okamithodnoty1"},
        {"OkamDOUT1", "Digitální výstupy", false, "Okamithodnoty1"},
        {"Statusregistr1", "Status registr", true, "Okamithodnoty1"},
        {"Konec2", "&Konec", true, nullptr},
    };
    auto* bar = child<QMenuBar>(&form, "MainMenu1");
    ASSERT_NE(bar, nullptr);
    QStringList top;
    for (QAction* a : bar->actions())
        top << a->objectName();
    EXPECT_EQ(top, (QStringList{"Pipojen1", "Nastaven1", "Okamithodnoty1", "Konec2"}));
    for (const Item& it : items) {
        QAction* a = child<QAction>(&form, it.name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), QString::fromUtf8(it.caption)) << it.name;
        EXPECT_EQ(a->isVisible(), it.visible) << it.name;
        if (it.parent) {
            auto* menu = child<QMenu>(&form, it.parent);
            ASSERT_NE(menu, nullptr);
            EXPECT_TRUE(menu->actions().contains(a)) << it.name;
        }
    }
    form.close();
}

// Every dialog command: a modal dialog of its class, owned by the window,
// on the window's record, gone afterwards; the status bar stays.
template <class TDialog> void expect_dialog_command(TForm1& form, const char* item) {
    QPointer<QWidget> seen;
    bool right_class = false, right_parent = false, right_record = false;
    when_modal([&](QWidget* modal) {
        seen = modal;
        auto* dlg = qobject_cast<TDialog*>(modal);
        right_class = dlg != nullptr;
        right_parent = modal->parentWidget() == &form;
        right_record = dlg && dlg->Data == form.Data;
        modal->close();
    });
    form.findChild<QAction*>(QLatin1String(item))->trigger();
    EXPECT_TRUE(right_class) << item;
    EXPECT_TRUE(right_parent) << item;
    EXPECT_TRUE(right_record) << item;
    EXPECT_TRUE(seen.isNull()) << item << ": the dialog outlived its command";
    EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("StatusBar1_0"))->text(),
              QStringLiteral(" Modul"))
        << item;
}

TEST_F(Hlavni, EveryDialogCommandOpensItsDialogIncludingTheHiddenOnes) {
    TForm1 form;
    form.show();
    expect_dialog_command<TForm12>(form, "AdresaRychlost1");
    expect_dialog_command<TForm5>(form, "NastavAIN1");
    expect_dialog_command<TForm3>(form, "HodinovobvodRTC1");
    expect_dialog_command<TForm14>(form, "NastavDIO1");
    expect_dialog_command<TForm6>(form, "OkamAIN2");
    expect_dialog_command<TForm11>(form, "OkamDIN2");
    expect_dialog_command<TForm9>(form, "OkamDOUT1");
    expect_dialog_command<TForm15>(form, "Statusregistr1");
    EXPECT_TRUE(fake::journal().empty());
    form.close();
}

TEST_F(Hlavni, TrendWindowComesLastUnderLiveValuesAfterASeparator) {
    TForm1 form;
    form.show();
    // The line overview follows it (test_prehled_linky).
    const QList<QAction*> items = child<QMenu>(&form, "Okamithodnoty1")->actions();
    ASSERT_GE(items.size(), 3);
    EXPECT_TRUE(items[items.size() - 3]->isSeparator());
    EXPECT_EQ(items[items.size() - 2]->objectName(), QStringLiteral("Prubehhodnot1"));
    EXPECT_EQ(items[items.size() - 2]->text(), QStringLiteral("Průběh hodnot…"));
    EXPECT_TRUE(items[items.size() - 2]->isVisible());
    expect_dialog_command<TForm16>(form, "Prubehhodnot1");
    EXPECT_TRUE(fake::journal().empty()); // no link: nothing polled
    form.close();
}

TEST_F(Hlavni, CancelledConnectionShowsTheDefaultsInTheStatusBar) {
    TForm1 form;
    form.show();
    QPointer<TForm2> dialog;
    bool owned = false, on_record = false;
    run_connection(form, [&](TForm2* dlg) {
        dialog = dlg;
        owned = dlg->parentWidget() == &form;
        on_record = dlg->Data == form.Data;
    });
    EXPECT_TRUE(owned);
    EXPECT_TRUE(on_record);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(panel(form, 0), QStringLiteral(" Modul  "));
    EXPECT_EQ(panel(form, 1), QStringLiteral(" Adresa  0"));
    EXPECT_EQ(panel(form, 2), QStringLiteral(" Rychlost  9600Bd"));
    EXPECT_EQ(panel(form, 3), QString());
    EXPECT_TRUE(fake::journal().empty());
    form.close();
}

TEST_F(Hlavni, CancelledConnectionShowsTheStoredValues) {
    write_ini(QStringLiteral("[Připojení]\nRozhraní=COMx\nAdresa=5\nRychlost=$FFFFFFFF\n"));
    TForm1 form;
    form.show();
    run_connection(form);
    EXPECT_EQ(panel(form, 1), QStringLiteral(" Adresa  5"));
    // Any stored rate, shown as an unsigned number.
    EXPECT_EQ(panel(form, 2), QStringLiteral(" Rychlost  4294967295Bd"));
    form.close();
}

TEST_F(Hlavni, ConnectionShowsTheModuleAddressAndRate) {
    TForm1 form;
    form.show();
    fake::push_reply(testsupport::reply_bytes(0, 'K', 'M', '-', '2'));
    fake::push_reply(testsupport::reply_bytes(0, '0', '7', ' ', 0));
    fake::push_reply(testsupport::reply_bytes(0, '1', '.', '0', '2'));
    run_connection(form, [](TForm2* dlg) {
        dlg->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("12"));
        dlg->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(8);
        QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    EXPECT_EQ(panel(form, 0), QStringLiteral(" Modul  KM-207   v.1.02"));
    EXPECT_EQ(panel(form, 1), QStringLiteral(" Adresa  12"));
    EXPECT_EQ(panel(form, 2), QStringLiteral(" Rychlost  115200Bd"));
    ASSERT_NE(form.Data, nullptr);
    EXPECT_TRUE(form.Data->Pripojeno);
    form.close();
}

TEST_F(Hlavni, FailedAttemptShowsTheOldValues) {
    TForm1 form;
    form.show();
    fake::set_result("Init", 1);
    run_connection(form, [](TForm2* dlg) {
        dlg->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("99"));
        QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    EXPECT_EQ(panel(form, 1), QStringLiteral(" Adresa  0"));
    EXPECT_EQ(panel(form, 2), QStringLiteral(" Rychlost  9600Bd"));
    form.close();
}

TEST_F(Hlavni, ClosingWithAnOpenLinkWritesTheSettingsThenCallsDoneOnce) {
    auto form = std::make_unique<TForm1>();
    form->show();
    testsupport::open_fake_link(*form->Data, 0);
    form->Data->Adresa = 42;
    form->Data->CisloPortu = 3;
    // What the settings file holds at the moment the driver is closed.
    QString ini_at_done;
    int done_seen = 0;
    fake::set_observer([&](const fake::Call& c) {
        if (c.entry == "KSER410_Done") {
            ++done_seen;
            ini_at_done = read_ini();
        }
    });
    form->close();
    fake::set_observer({});

    EXPECT_EQ(done_seen, 1);
    EXPECT_TRUE(ini_at_done.contains(QStringLiteral("Adresa=42"))) << ini_at_done.toStdString();
    EXPECT_TRUE(ini_at_done.contains(QStringLiteral("Číslo portu=3")));
    const auto done = fake::calls("KSER410_Done");
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].args[0], 0x1234u);
    EXPECT_EQ(driver_calls(), (std::vector<std::string>{"KSER410_Done", "KSER410_unload"}));
    EXPECT_EQ(form->Data, nullptr);
    // A second close does nothing more.
    form->close();
    form.reset();
    EXPECT_EQ(fake::calls("KSER410_Done").size(), 1u);
}

TEST_F(Hlavni, ClosingWithoutALinkWritesTheSettingsAndCallsNoDriver) {
    ASSERT_FALSE(QFile::exists(ini_path()));
    TForm1 form;
    form.show();
    form.Data->Adresa = 200;
    form.close();
    EXPECT_TRUE(fake::journal().empty());
    const QString ini = read_ini();
    EXPECT_TRUE(ini.contains(QStringLiteral("[Připojení]")));
    EXPECT_TRUE(ini.contains(QStringLiteral("Rozhraní=COMx")));
    EXPECT_TRUE(ini.contains(QStringLiteral("Adresa=200")));
    EXPECT_TRUE(ini.contains(QStringLiteral("Rychlost=9600")));
}

TEST_F(Hlavni, KonecClosesTheWindowThroughFormClose) {
    TForm1 form;
    form.show();
    child<QAction>(&form, "Konec2")->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.Data, nullptr);
    EXPECT_TRUE(QFile::exists(ini_path()));
}

TEST_F(Hlavni, ALibraryLeftByAFailedInitIsReleasedAtClosing) {
    TForm1 form;
    form.show();
    fake::set_result("Init", 3);
    run_connection(form, [](TForm2* dlg) {
        QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    // Kept so that its error text could be read.
    EXPECT_TRUE(fake::calls("KSER410_unload").empty());
    fake::clear_journal();
    form.close();
    EXPECT_EQ(driver_calls(), (std::vector<std::string>{"KSER410_unload"}));
}

TEST_F(Hlavni, RecordThatCannotBeAllocated) {
    TForm1::AlokujData = [] { return static_cast<TData*>(nullptr); };
    TForm1 form;
    form.show();
    EXPECT_EQ(form.Data, nullptr);
    EXPECT_EQ(panel(form, 3), QStringLiteral(" Nelze vytvořit datové struktury programu"));
    EXPECT_EQ(panel(form, 0), QStringLiteral(" Modul"));

    // Every command but "Konec" is inert: no dialog appears.
    bool opened = false;
    for (const char* item : {"Pipojen1", "AdresaRychlost1", "NastavAIN1", "HodinovobvodRTC1",
                             "NastavDIO1", "OkamAIN2", "OkamDIN2", "OkamDOUT1", "Statusregistr1"}) {
        // Tied to the form: one that has not fired by the end of the test
        // (a slow machine) must not close the next test's dialog.
        QTimer::singleShot(20, &form, [&opened] {
            if (QWidget* m = QApplication::activeModalWidget()) {
                opened = true;
                m->close();
            }
        });
        child<QAction>(&form, item)->trigger();
        EXPECT_FALSE(opened) << item;
    }
    EXPECT_EQ(panel(form, 0), QStringLiteral(" Modul"));
    QTest::qWait(30);

    child<QAction>(&form, "Konec2")->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(QFile::exists(ini_path()));
    EXPECT_TRUE(fake::journal().empty());
}

TEST_F(Hlavni, StatusPanelsShowTheirWholeTexts) {
    TForm1 form;
    form.show();
    fake::push_reply(testsupport::reply_bytes(0, 'K', 'M', '-', '2'));
    fake::push_reply(testsupport::reply_bytes(0, '0', '7', ' ', ' '));
    fake::push_reply(testsupport::reply_bytes(0, '1', '.', '0', '2'));
    run_connection(form, [](TForm2* dlg) {
        dlg->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("255"));
        dlg->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(8);
        QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    ASSERT_EQ(panel(form, 0), QStringLiteral(" Modul  KM-207   v.1.02"));
    ASSERT_EQ(panel(form, 2), QStringLiteral(" Rychlost  115200Bd"));
    auto* bar = child<TStatusBar>(&form, "StatusBar1");
    ASSERT_NE(bar, nullptr);
    // Wider where the text needs it, never narrower than given.
    const int widths[] = {140, 80, 120, 50};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(testsupport::shows_whole(bar->Panel(i)), "") << i;
        EXPECT_GE(bar->Panel(i)->width(), widths[i]) << i;
    }
    EXPECT_EQ(form.frameGeometry().size(), QSize(600, 400));
    form.close();
}

TEST_F(Hlavni, TheRecordFailureTextIsShownWhole) {
    TForm1::AlokujData = [] { return static_cast<TData*>(nullptr); };
    TForm1 form;
    form.show();
    QCoreApplication::processEvents();
    auto* bar = child<TStatusBar>(&form, "StatusBar1");
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(panel(form, 3), QStringLiteral(" Nelze vytvořit datové struktury programu"));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(testsupport::shows_whole(bar->Panel(i)), "") << i;
    // In the window as it is: the bar grows in height, not the window.
    EXPECT_EQ(form.frameGeometry().size(), QSize(600, 400));
    form.close();
}

} // namespace
