// Address and speed dialog, through its controls, against the module model.
#include "NastavAdr.h"
#include "test_nastav_support.h"

#include <QComboBox>
#include <QLineEdit>

#include <gmock/gmock.h>

using namespace nastavtest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class NastavAdrTest : public LinkedTest {
  protected:
    void SetUp() override {
        LinkedTest::SetUp();
        dlg.Data = &data;
        show_exposed(&dlg);
        edit = child<QLineEdit>(&dlg, QStringLiteral("Edit1"));
        combo = child<QComboBox>(&dlg, QStringLiteral("ComboBox1"));
    }
    TForm12 dlg;
    QLineEdit* edit = nullptr;
    QComboBox* combo = nullptr;
};

class NastavAdrUnlinked : public UnlinkedTest {};

TEST(NastavAdrText, TextNaByteTakesTheWholeNumberBeforeCutting) {
    uint8_t v = 77;
    EXPECT_TRUE(TextNaByte(QStringLiteral("0"), 0, 255, v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(TextNaByte(QStringLiteral("255"), 0, 255, v));
    EXPECT_EQ(v, 255);
    v = 77;
    for (const char* bad :
         {"256", "-1", "abc", "", "12a", "4294967296", "4294967297", "-4294967295"}) {
        EXPECT_FALSE(TextNaByte(QString::fromLatin1(bad), 0, 255, v)) << bad;
        EXPECT_EQ(v, 77) << bad;
    }
    EXPECT_FALSE(TextNaByte(QStringLiteral("9"), 10, 20, v));
    EXPECT_FALSE(TextNaByte(QStringLiteral("21"), 10, 20, v));
    EXPECT_TRUE(TextNaByte(QStringLiteral("20"), 10, 20, v));
    EXPECT_EQ(v, 20);
}

TEST_F(NastavAdrUnlinked, WindowLayout) {
    TForm12 dlg;
    dlg.Data = &data;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Nastavení komunikační adresy a rychlosti"));
    EXPECT_EQ(dlg.size(), QSize(393, 200));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    EXPECT_EQ(child<QLabel>(&dlg, QStringLiteral("Label1"))->text(),
              QStringLiteral("Adresa modulu  (0-255)"));
    EXPECT_EQ(child<QLabel>(&dlg, QStringLiteral("Label2"))->text(),
              QStringLiteral("Komunikační rychlost"));
    auto* combo = child<QComboBox>(&dlg, QStringLiteral("ComboBox1"));
    EXPECT_FALSE(combo->isEditable());
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    EXPECT_EQ(items, QStringList({"600 Bd", "1200 Bd", "2400 Bd", "4800 Bd", "9600 Bd", "19200 Bd",
                                  "38400 Bd", "57600 Bd", "115200 Bd"}));
    const char* captions[] = {"Zapsat", "Přečíst", "Ok", "Cancel"};
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(button(&dlg, n)->text(), QString::fromUtf8(captions[n - 1]));
        EXPECT_FALSE(button(&dlg, n)->autoDefault());
        EXPECT_FALSE(button(&dlg, n)->isDefault());
    }
    QWidget* edit = child<QLineEdit>(&dlg, QStringLiteral("Edit1"));
    std::vector<QWidget*> order{
        edit, combo, button(&dlg, 1), button(&dlg, 2), button(&dlg, 3), button(&dlg, 4)};
    EXPECT_EQ(tab_order(edit, order), order);
    // The panel holds at least its 250 pixels and reaches the bar's right edge.
    dlg.grab();
    EXPECT_GE(panel(&dlg)->width(), 250);
    EXPECT_GE(panel(&dlg)->geometry().right(), dlg.width() - 20);
}

TEST_F(NastavAdrUnlinked, FirstOpeningShowsTheDefaults) {
    TForm12 dlg;
    dlg.Data = &data;
    dlg.show();
    EXPECT_EQ(child<QLineEdit>(&dlg, QStringLiteral("Edit1"))->text(), QStringLiteral("1"));
    EXPECT_EQ(child<QComboBox>(&dlg, QStringLiteral("ComboBox1"))->currentText(),
              QStringLiteral("9600 Bd"));
    EXPECT_EQ(status(&dlg), QStringLiteral(" "));
}

TEST_F(NastavAdrUnlinked, ClosedLinkSendsNothing) {
    TForm12 dlg;
    dlg.Data = &data;
    dlg.show();
    button(&dlg, 1)->click();
    EXPECT_EQ(status(&dlg), QStringLiteral(" Připojení k modulu není inicializováno."));
    panel(&dlg)->setText(QStringLiteral(" "));
    button(&dlg, 2)->click();
    EXPECT_EQ(status(&dlg), QStringLiteral(" Připojení k modulu není inicializováno."));
    EXPECT_THAT(testsupport::sent_requests(), IsEmpty());
}

TEST_F(NastavAdrUnlinked, OkWithClosedLinkStoresIntoTheRecord) {
    const TKonfigurace before = data.Konfigurace;
    {
        TForm12 dlg;
        dlg.Data = &data;
        dlg.show();
        child<QLineEdit>(&dlg, QStringLiteral("Edit1"))->setText(QStringLiteral("33"));
        child<QComboBox>(&dlg, QStringLiteral("ComboBox1"))->setCurrentIndex(2);
        button(&dlg, 3)->click();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(data.Konfigurace.KonfAdresa, 33);
    EXPECT_EQ(data.Konfigurace.KonfRychlost, 2);
    for (int i = 2; i < 15; ++i)
        EXPECT_EQ(data.Konfigurace.Bajt(i), before.Bajt(i)) << i;
    EXPECT_THAT(testsupport::sent_requests(), IsEmpty());
    // The next opening offers them again.
    TForm12 again;
    again.Data = &data;
    again.show();
    EXPECT_EQ(child<QLineEdit>(&again, QStringLiteral("Edit1"))->text(), QStringLiteral("33"));
    EXPECT_EQ(child<QComboBox>(&again, QStringLiteral("ComboBox1"))->currentText(),
              QStringLiteral("2400 Bd"));
}

TEST_F(NastavAdrUnlinked, CancelDiscards) {
    const TKonfigurace before = data.Konfigurace;
    {
        TForm12 dlg;
        dlg.Data = &data;
        dlg.show();
        child<QLineEdit>(&dlg, QStringLiteral("Edit1"))->setText(QStringLiteral("99"));
        button(&dlg, 4)->click();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    EXPECT_EQ(data.Konfigurace, before);
}

TEST_F(NastavAdrUnlinked, OkWithAnInvalidAddressStoresNothingButCloses) {
    const TKonfigurace before = data.Konfigurace;
    TForm12 dlg;
    dlg.Data = &data;
    dlg.show();
    child<QLineEdit>(&dlg, QStringLiteral("Edit1"))->setText(QStringLiteral("300"));
    button(&dlg, 3)->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(status(&dlg), QStringLiteral(" Adresa modulu musí být v rozsahu 0-255."));
    EXPECT_EQ(data.Konfigurace, before);
}

TEST_F(NastavAdrTest, FullWriteSendsAndShowsInTurn) {
    data.Konfigurace.KonfModCitace = 2;
    edit->setText(QStringLiteral("17"));
    combo->setCurrentIndex(6);
    const TKonfigurace before = data.Konfigurace;
    PanelLog log(panel(&dlg));
    button(&dlg, 1)->click();
    EXPECT_THAT(testsupport::sent_requests(),
                ElementsAre(wr(5, 63, 17), rd(5, 63), wr(5, 62, 6), rd(5, 62)));
    EXPECT_THAT(log.texts,
                ElementsAre(" ", writing(0), writing(50), writing(100), " Konfigurace zapsána."));
    EXPECT_EQ(model.module.config_register(63), 17);
    EXPECT_EQ(model.module.config_register(62), 6);
    // The link and the record's block are not touched.
    EXPECT_EQ(data.Adresa, 5);
    EXPECT_EQ(data.Rychlost, 9600u);
    EXPECT_EQ(data.Konfigurace, before);
}

TEST_F(NastavAdrTest, PausesBetweenCommandsOnly) {
    // A message queued at one command has run by the next one only where
    // the transfer pauses.
    std::vector<bool> ran_before;
    bool ran = false;
    model.on_send = [&](int) {
        ran_before.push_back(ran);
        ran = false;
        QMetaObject::invokeMethod(
            &dlg, [&] { ran = true; }, Qt::QueuedConnection);
    };
    button(&dlg, 1)->click();
    EXPECT_THAT(ran_before, ElementsAre(false, true, true, true));
    EXPECT_FALSE(ran); // no pause after the last command
}

TEST_F(NastavAdrTest, FullReadSendsAndShowsInTurn) {
    model.module.set_config_register(63, 42);
    model.module.set_config_register(62, 7);
    PanelLog log(panel(&dlg));
    button(&dlg, 2)->click();
    EXPECT_THAT(testsupport::sent_requests(), ElementsAre(rd(5, 63), rd(5, 62)));
    EXPECT_THAT(log.texts,
                ElementsAre(reading(0), reading(50), reading(100), " Konfigurace přečtena."));
    EXPECT_EQ(edit->text(), QStringLiteral("42"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("57600 Bd"));
}

TEST_F(NastavAdrTest, InvalidAddressesAreRefusedBeforeSending) {
    for (const char* bad : {"256", "-1", "abc", ""}) {
        edit->setText(QString::fromLatin1(bad));
        button(&dlg, 1)->click();
        EXPECT_EQ(status(&dlg), QStringLiteral(" Adresa modulu musí být v rozsahu 0-255.")) << bad;
    }
    EXPECT_THAT(testsupport::sent_requests(), IsEmpty());
    for (const char* good : {"0", "255"}) {
        fake::clear_journal();
        edit->setText(QString::fromLatin1(good));
        button(&dlg, 1)->click();
        EXPECT_EQ(status(&dlg), QStringLiteral(" Konfigurace zapsána.")) << good;
        EXPECT_EQ(testsupport::sent_requests().size(), 4u) << good;
    }
    EXPECT_EQ(model.module.config_register(63), 255);
}

TEST_F(NastavAdrTest, BaudIndexAboveEightLeavesNoSelection) {
    model.lie[2] = 5; // register 62 holds 4, the module answers 9
    button(&dlg, 2)->click();
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(status(&dlg), QStringLiteral(" Konfigurace přečtena."));
    fake::clear_journal();
    button(&dlg, 1)->click();
    EXPECT_EQ(status(&dlg),
              QStringLiteral(" Komunikační rychlost musí být v rozsahu 600Bd-115200Bd."));
    EXPECT_THAT(testsupport::sent_requests(), IsEmpty());
    const TKonfigurace before = data.Konfigurace;
    button(&dlg, 3)->click();
    EXPECT_EQ(status(&dlg),
              QStringLiteral(" Komunikační rychlost musí být v rozsahu 600Bd-115200Bd."));
    EXPECT_EQ(data.Konfigurace, before);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(NastavAdrTest, LinkErrorOnTheSecondReadKeepsTheFirst) {
    model.module.set_config_register(63, 12);
    model.module.set_config_register(62, 1);
    button(&dlg, 2)->click();
    ASSERT_EQ(combo->currentIndex(), 1);
    model.module.set_config_register(63, 13);
    model.module.set_config_register(62, 2);
    model.fail_status[4] = 5;
    button(&dlg, 2)->click();
    EXPECT_EQ(edit->text(), QStringLiteral("13"));
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(status(&dlg), error_text(5));
    EXPECT_NE(error_text(5), QStringLiteral(" "));
}

TEST_F(NastavAdrTest, MismatchOnTheAddressStopsBeforeTheSpeed) {
    edit->setText(QStringLiteral("20"));
    combo->setCurrentIndex(0);
    model.lie[2] = 1;
    button(&dlg, 1)->click();
    EXPECT_THAT(testsupport::sent_requests(), ElementsAre(wr(5, 63, 20), rd(5, 63)));
    EXPECT_EQ(status(&dlg), QStringLiteral(" Chyba zápisu dat."));
    EXPECT_EQ(model.module.config_register(62), 4);
}

TEST_F(NastavAdrTest, LinkErrorOnAWriteStopsThere) {
    model.fail_status[1] = 3;
    button(&dlg, 1)->click();
    EXPECT_EQ(testsupport::sent_requests().size(), 1u);
    EXPECT_EQ(status(&dlg), error_text(3));
}

TEST_F(NastavAdrTest, CommandsGoToTheAddressAtTheStart) {
    data.Adresa = 9; // nothing answers there
    button(&dlg, 2)->click();
    ASSERT_EQ(testsupport::sent_requests().size(), 1u);
    EXPECT_EQ(testsupport::sent_requests()[0], rd(9, 63));
    EXPECT_EQ(status(&dlg), error_text(5));
}

// A second "Zapsat" or "Přečíst" during a transfer is ignored.
TEST_F(NastavAdrTest, TransferIsNotReEntered) {
    model.on_send = [&](int n) {
        if (n == 1) {
            click_later(button(&dlg, 1));
            click_later(button(&dlg, 2));
        }
    };
    edit->setText(QStringLiteral("8"));
    button(&dlg, 1)->click();
    EXPECT_THAT(testsupport::sent_requests(),
                ElementsAre(wr(5, 63, 8), rd(5, 63), wr(5, 62, 4), rd(5, 62)));
    EXPECT_EQ(status(&dlg), QStringLiteral(" Konfigurace zapsána."));
}

// "Ok" during a write stops it at its next pause, then acts.
TEST_F(NastavAdrTest, OkDuringAWriteStopsItFirst) {
    model.on_send = [&](int n) {
        if (n == 1) click_later(button(&dlg, 3));
    };
    edit->setText(QStringLiteral("8"));
    button(&dlg, 1)->click();
    EXPECT_THAT(testsupport::sent_requests(), ElementsAre(wr(5, 63, 8)));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(data.Konfigurace.KonfAdresa, 8);
}

TEST_F(NastavAdrTest, EscapeDuringAReadStopsItAndDiscards) {
    model.on_send = [&](int n) {
        if (n == 1)
            QMetaObject::invokeMethod(
                &dlg, [&] { press_escape(&dlg); }, Qt::QueuedConnection);
    };
    const TKonfigurace before = data.Konfigurace;
    button(&dlg, 2)->click();
    EXPECT_EQ(testsupport::sent_requests().size(), 1u);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(data.Konfigurace, before);
}

} // namespace
