// The line overview from the main window: its menu entry and one modeless
// window, the link held by every dialog the main window opens (the poll
// then sends nothing), and "Do přehledu" in the search handing the modules
// found over, a double click then showing one in the status bar.
#include "Hlavni.h"
#include "Pripojeni.h"
#include "shell_test_util.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace shelltest;

namespace {

class Prehled : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        // Modules 3 and 9 identify themselves; nothing else answers.
        fake::set_responder([](const uint32_t* r) {
            if ((r[0] != 3 && r[0] != 9) || r[1] != 200 || r[2] > 2)
                return testsupport::reply_status(5);
            static const char* const parts[] = {"KM-2", "07  ", "1.02"};
            const char* part = parts[r[2]];
            return testsupport::reply_bytes(0, part[0], part[1], part[2], part[3]);
        });
    }
    static int sent_to(uint32_t address) {
        int n = 0;
        for (const auto& r : testsupport::sent_requests())
            n += r[0] == address;
        return n;
    }
};

TEST_F(Prehled, TheEntryAfterTheTrendWindowOpensOneModelessWindow) {
    TForm1 form;
    form.show();
    const QList<QAction*> items = child<QMenu>(&form, "Okamithodnoty1")->actions();
    ASSERT_GE(items.size(), 2);
    EXPECT_EQ(items[items.size() - 2]->objectName(), QStringLiteral("Prubehhodnot1"));
    EXPECT_EQ(items.last()->objectName(), QStringLiteral("Prehledlinky1"));
    EXPECT_EQ(items.last()->text(), QStringLiteral("Přehled linky…"));
    items.last()->trigger();
    TForm17* first = form.Prehled;
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    EXPECT_EQ(first->parentWidget(), &form);
    EXPECT_EQ(first->Linka, &form.Linka);
    items.last()->trigger();
    EXPECT_EQ(form.Prehled, first);
    form.close();
    EXPECT_FALSE(first->isVisible());
}

TEST_F(Prehled, ADialogOfTheMainWindowHoldsTheLinkAndThePollWaits) {
    TForm1 form;
    form.show();
    testsupport::open_fake_link(*form.Data, 0);
    QString error;
    ASSERT_TRUE(form.Linka.Nastav({{3, 4, {}, {}}}, error));
    form.Prehledlinky1Click();
    form.Prehled->Timer1->stop();
    int held = -1, to_line = -1;
    when_modal([&](QWidget* modal) {
        held = UzivateleSpojeni();
        fake::clear_journal();
        form.Prehled->Timer1Timer();
        to_line = sent_to(3);
        modal->close();
    });
    child<QAction>(&form, "Statusregistr1")->trigger();
    EXPECT_EQ(held, 1);
    EXPECT_EQ(to_line, 0);
    EXPECT_EQ(UzivateleSpojeni(), 0);
    fake::clear_journal();
    form.Prehled->Timer1Timer();
    EXPECT_GT(sent_to(3), 0);
    form.close();
}

TEST_F(Prehled, DoPrehleduHandsTheModulesFoundToTheOverview) {
    TForm1 form;
    form.show();
    bool waited = false;
    when_modal([&](QWidget* connection) {
        when_modal([](QWidget* search) {
            child<QSpinBox>(search, "SpinBoxDo")->setValue(12);
            QTest::mouseClick(child<QPushButton>(search, "ButtonHledat"), Qt::LeftButton);
            auto* to_overview = child<QPushButton>(search, "ButtonDoPrehledu");
            EXPECT_TRUE(to_overview->isVisible());
            QTest::mouseClick(to_overview, Qt::LeftButton);
            search->close();
        });
        QTest::mouseClick(child<QPushButton>(connection, "Button3"), Qt::LeftButton);
        // The overview waits until the connection dialog has closed.
        waited = form.Prehled == nullptr;
        QTest::mouseClick(child<QPushButton>(connection, "Button2"), Qt::LeftButton);
    });
    child<QAction>(&form, "Pipojen1")->trigger();
    EXPECT_TRUE(waited);
    ASSERT_NE(form.Prehled, nullptr);
    EXPECT_TRUE(form.Prehled->isVisible());
    QTableWidget* rows = form.Prehled->TabulkaModulu;
    ASSERT_EQ(rows->rowCount(), 2);
    EXPECT_EQ(rows->item(1, TForm17::SAdresa)->text(), QStringLiteral("9"));

    form.Prehled->Timer1->stop();
    const QRect cell = rows->visualItemRect(rows->item(1, 0));
    // As the window system delivers a double click: press and release,
    // then the second press.
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(rows->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(child<QLabel>(&form, "StatusBar1_1")->text(), QStringLiteral(" Adresa  9"));
    EXPECT_EQ(child<QLabel>(&form, "StatusBar1_0")->text(),
              QStringLiteral(" Modul  KM-207   v.1.02"));
    form.close();
}

} // namespace
