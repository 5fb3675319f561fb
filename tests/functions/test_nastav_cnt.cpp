// Counter mode dialog and ZapisOverRegistr, against the module model.
#include "NastavCNT.h"
#include "test_nastav_support.h"

#include <QGroupBox>
#include <QRadioButton>

#include <gmock/gmock.h>

using namespace nastavtest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

Request rd_value(uint32_t adresa, uint32_t reg, uint32_t v) {
    return {adresa, 102, 0, 0, reg, reg, v, v};
}

QRadioButton* radio(QWidget* w, int n) {
    return child<QRadioButton>(w, QStringLiteral("RadioButton%1").arg(n));
}

class NastavCntTest : public LinkedTest {
  protected:
    void SetUp() override {
        LinkedTest::SetUp();
        dlg.Data = &data;
        show_exposed(&dlg);
    }
    TForm5 dlg;
};

class NastavCntUnlinked : public UnlinkedTest {};
class ZapisOverRegistrTest : public LinkedTest {};

TEST_F(ZapisOverRegistrTest, WritesThenReadsBackCarryingTheValue) {
    QString text = QStringLiteral("x");
    EXPECT_EQ(ZapisOverRegistr(CilModulu(data, 5), 0, 2, text), 0);
    EXPECT_EQ(text, QString());
    EXPECT_THAT(testsupport::sent_requests(), ElementsAre(wr(5, 0, 2), rd_value(5, 0, 2)));
    EXPECT_EQ(model.module.config_register(0), 2);
}

TEST_F(ZapisOverRegistrTest, FailedWriteReturnsTheLinkCode) {
    model.fail_status[1] = 5;
    QString text;
    EXPECT_EQ(ZapisOverRegistr(CilModulu(data, 5), 0, 1, text), 5);
    EXPECT_EQ(text, TextChyby(data.Rozhrani, 5));
    EXPECT_FALSE(text.isEmpty());
    EXPECT_EQ(testsupport::sent_requests().size(), 1u);
}

TEST_F(ZapisOverRegistrTest, FailedReadBackReturnsTheLinkCode) {
    model.fail_status[2] = 6;
    QString text;
    EXPECT_EQ(ZapisOverRegistr(CilModulu(data, 5), 0, 1, text), 6);
    EXPECT_EQ(text, TextChyby(data.Rozhrani, 6));
}

TEST_F(ZapisOverRegistrTest, MismatchReturnsNine) {
    model.lie[2] = 1;
    QString text;
    EXPECT_EQ(ZapisOverRegistr(CilModulu(data, 5), 35, 7, text), 9);
    EXPECT_EQ(text, QStringLiteral("Chyba zápisu dat."));
    EXPECT_THAT(testsupport::sent_requests(), ElementsAre(wr(5, 35, 7), rd_value(5, 35, 7)));
}

TEST_F(ZapisOverRegistrTest, ModuleRefusingTheValueIsAnError) {
    QString text;
    EXPECT_EQ(ZapisOverRegistr(CilModulu(data, 5), 0, 3, text), 18);
    EXPECT_EQ(text, TextChyby(data.Rozhrani, 18));
}

// Handle 0 never reaches the driver; that is a failure, not a verified write.
TEST_F(ZapisOverRegistrTest, HandleZeroIsNotSuccess) {
    QString text;
    EXPECT_EQ(ZapisOverRegistr(TCil{data.Rozhrani, 0, 5}, 0, 1, text), 10);
    EXPECT_EQ(text, TextChyby(data.Rozhrani, 10));
    EXPECT_THAT(testsupport::sent_requests(), IsEmpty());
}

TEST_F(NastavCntUnlinked, WindowLayout) {
    TForm5 dlg;
    dlg.Data = &data;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Nastavení čítače"));
    EXPECT_EQ(dlg.size(), QSize(345, 255));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    EXPECT_EQ(child<QGroupBox>(&dlg, QStringLiteral("GroupBox1"))->title(),
              QStringLiteral(" Mód čítače "));
    EXPECT_EQ(radio(&dlg, 1)->text(), QStringLiteral("32 bitů"));
    EXPECT_EQ(radio(&dlg, 2)->text(), QStringLiteral("23 bitů"));
    EXPECT_EQ(radio(&dlg, 3)->text(), QStringLiteral("+/- 23 bitů"));
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(radio(&dlg, n)->parentWidget(),
                  child<QGroupBox>(&dlg, QStringLiteral("GroupBox1")));
    const char* captions[] = {"Zapsat", "Přečíst", "Ok", "Cancel"};
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(button(&dlg, n)->text(), QString::fromUtf8(captions[n - 1]));
        EXPECT_FALSE(button(&dlg, n)->autoDefault());
    }
    std::vector<QWidget*> order{button(&dlg, 1), button(&dlg, 2), button(&dlg, 3), button(&dlg, 4),
                                radio(&dlg, 1)};
    EXPECT_EQ(tab_order(button(&dlg, 1), order), order);
    // The one panel is the bar's last: it reaches the right edge, so the
    // transfer texts are not cut at 50 pixels.
    dlg.grab();
    EXPECT_GE(panel(&dlg)->width(), 300);
}

TEST_F(NastavCntUnlinked, FirstOpeningChecks32Bits) {
    TForm5 dlg;
    dlg.Data = &data;
    dlg.show();
    EXPECT_TRUE(radio(&dlg, 1)->isChecked());
    EXPECT_FALSE(radio(&dlg, 2)->isChecked());
    EXPECT_FALSE(radio(&dlg, 3)->isChecked());
    EXPECT_EQ(status(&dlg), QStringLiteral(" "));
}

TEST_F(NastavCntUnlinked, ClosedLinkSendsNothing) {
    TForm5 dlg;
    dlg.Data = &data;
    dlg.show();
    button(&dlg, 2)->click();
    EXPECT_EQ(status(&dlg), QStringLiteral(" Připojení k modulu není inicializováno."));
    panel(&dlg)->setText(QStringLiteral(" "));
    button(&dlg, 1)->click();
    EXPECT_EQ(status(&dlg), QStringLiteral(" Připojení k modulu není inicializováno."));
    EXPECT_THAT(testsupport::sent_requests(), IsEmpty());
}

TEST_F(NastavCntUnlinked, OkWithClosedLinkStoresTheMode) {
    data.Konfigurace.KonfAdresa = 44;
    {
        TForm5 dlg;
        dlg.Data = &data;
        dlg.show();
        radio(&dlg, 3)->setChecked(true);
        button(&dlg, 3)->click();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(data.Konfigurace.KonfModCitace, 2);
    EXPECT_EQ(data.Konfigurace.KonfAdresa, 44);
    EXPECT_THAT(testsupport::sent_requests(), IsEmpty());
    TForm5 again;
    again.Data = &data;
    again.show();
    EXPECT_TRUE(radio(&again, 3)->isChecked());
}

TEST_F(NastavCntUnlinked, CancelDiscards) {
    const TKonfigurace before = data.Konfigurace;
    TForm5 dlg;
    dlg.Data = &data;
    dlg.show();
    radio(&dlg, 2)->setChecked(true);
    button(&dlg, 4)->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(data.Konfigurace, before);
}

TEST_F(NastavCntTest, WriteSendsTheVerifiedModeAndShowsInTurn) {
    radio(&dlg, 3)->setChecked(true);
    PanelLog log(panel(&dlg));
    button(&dlg, 1)->click();
    EXPECT_THAT(testsupport::sent_requests(), ElementsAre(wr(5, 0, 2), rd_value(5, 0, 2)));
    EXPECT_THAT(log.texts, ElementsAre(" ", writing(0), writing(100), " Konfigurace zapsána."));
    EXPECT_EQ(model.module.config_register(0), 2);
    EXPECT_EQ(data.Konfigurace.KonfModCitace, 0);
}

TEST_F(NastavCntTest, WriteDoesNotPauseBetweenItsCommands) {
    std::vector<bool> ran_before;
    bool ran = false;
    model.on_send = [&](int) {
        ran_before.push_back(ran);
        ran = false;
        QMetaObject::invokeMethod(
            &dlg, [&] { ran = true; }, Qt::QueuedConnection);
    };
    button(&dlg, 1)->click();
    EXPECT_THAT(ran_before, ElementsAre(false, false));
}

TEST_F(NastavCntTest, ReadShowsTheModeInTurn) {
    model.module.set_config_register(0, 1);
    PanelLog log(panel(&dlg));
    button(&dlg, 2)->click();
    EXPECT_THAT(testsupport::sent_requests(), ElementsAre(rd(5, 0)));
    EXPECT_THAT(log.texts, ElementsAre(reading(0), reading(100), " Konfigurace přečtena."));
    EXPECT_TRUE(radio(&dlg, 2)->isChecked());
}

TEST_F(NastavCntTest, ModeAboveTwoOnReadLeavesTheButtons) {
    radio(&dlg, 2)->setChecked(true);
    model.lie[1] = 5; // register 0 holds 0, the module answers 5
    button(&dlg, 2)->click();
    EXPECT_FALSE(radio(&dlg, 1)->isChecked());
    EXPECT_TRUE(radio(&dlg, 2)->isChecked());
    EXPECT_FALSE(radio(&dlg, 3)->isChecked());
    EXPECT_EQ(status(&dlg), QStringLiteral(" Konfigurace přečtena."));
}

TEST_F(NastavCntTest, MismatchShowsTheWriteErrorAndKeepsTheRecord) {
    radio(&dlg, 2)->setChecked(true);
    model.lie[2] = 1;
    const TKonfigurace before = data.Konfigurace;
    button(&dlg, 1)->click();
    EXPECT_EQ(status(&dlg), QStringLiteral(" Chyba zápisu dat."));
    EXPECT_EQ(data.Konfigurace, before);
}

TEST_F(NastavCntTest, LinkErrorOnReadShowsItsText) {
    model.fail_status[1] = 5;
    button(&dlg, 2)->click();
    EXPECT_EQ(status(&dlg), error_text(5));
    EXPECT_TRUE(radio(&dlg, 1)->isChecked());
}

TEST_F(NastavCntTest, LinkErrorOnWriteShowsItsText) {
    model.fail_status[2] = 6;
    button(&dlg, 1)->click();
    EXPECT_EQ(status(&dlg), error_text(6));
}

} // namespace
