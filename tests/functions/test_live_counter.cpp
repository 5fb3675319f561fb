// Counter live view: formats by the module's mode, poll order, reset, and
// the timer being off while the module is asked.
#include "OkamCNT.h"
#include "test_live_support.h"

#include <QPushButton>

using namespace livetest;
using testsupport::reply_bytes;
using testsupport::reply_status;
using testsupport::sent_requests;

namespace {

class CounterView : public LinkTest {
  protected:
    void SetUp() override {
        LinkTest::SetUp();
        form.Data = &data;
        form.show();
        form.Timer1->stop(); // ticks are driven by hand unless a test waits
        panel = form.findChild<QLabel*>(QStringLiteral("Panel1"));
        ASSERT_NE(panel, nullptr);
    }
    // One tick answered with the mode and then the counter bytes.
    QString tick(uint8_t mode, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4) {
        fake::push_reply(reply_bytes(0, 0, 0, mode, 0));
        fake::push_reply(reply_bytes(0, b1, b2, b3, b4));
        form.Timer1Timer();
        return panel->text();
    }
    QString status() const { return form.StatusBar1->Text(0); }

    TForm6 form;
    QLabel* panel = nullptr;
};

TEST_F(CounterView, ControlsAndCaptions) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Okamžitá hodnota čítače"));
    EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Čítač"));
    auto* b1 = form.findChild<QPushButton*>(QStringLiteral("Button1"));
    auto* b2 = form.findChild<QPushButton*>(QStringLiteral("Button2"));
    ASSERT_TRUE(b1 && b2);
    EXPECT_EQ(b1->text(), QStringLiteral("Nulovat"));
    EXPECT_EQ(b2->text(), QStringLiteral("Cancel"));
    EXPECT_FALSE(b1->autoDefault() || b1->isDefault() || b2->autoDefault() || b2->isDefault());
    EXPECT_EQ(b1->nextInFocusChain(), b2);
    auto* timer = form.findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 100);
    EXPECT_EQ(panel->textFormat(), Qt::PlainText);
    EXPECT_NE(form.findChild<QLabel*>(QStringLiteral("StatusBar1_0")), nullptr);
}

TEST(CounterViewTimer, DisabledUntilShownThenPolls) {
    TData data;
    testsupport::open_fake_link(data, 0);
    {
        TForm6 form;
        form.Data = &data;
        EXPECT_FALSE(form.Timer1->isActive());
        form.show();
        EXPECT_TRUE(form.Timer1->isActive());
        wait_ms(350);
        const auto sent = sent_requests();
        ASSERT_GE(sent.size(), 4u);
        for (size_t i = 0; i + 1 < sent.size(); i += 2) {
            EXPECT_EQ(sent[i], req(0, 102, 0));
            EXPECT_EQ(sent[i + 1], req(0, 0, 80));
        }
    }
    testsupport::close_link(data);
}

TEST_F(CounterView, ReadsModeThenCounterAtShownAddress) {
    data.Adresa = 99; // a later change of the record does not move the dialog
    tick(0, 1, 2, 3, 4);
    EXPECT_EQ(sent_requests(), (std::vector<Request>{req(7, 102, 0), req(7, 0, 80)}));
    EXPECT_EQ(panel->text(), QStringLiteral("67305985"));
    EXPECT_EQ(status(), ok_text());
    EXPECT_EQ(status(), QStringLiteral(" V pořádku"));
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST_F(CounterView, Mode0IsUnsigned32Bit) {
    EXPECT_EQ(tick(0, 255, 255, 255, 255), QStringLiteral("4294967295"));
    EXPECT_EQ(tick(0, 0, 0, 0, 128), QStringLiteral("2147483648"));
    EXPECT_EQ(tick(0, 0, 0, 0, 0), QStringLiteral("0"));
}

TEST_F(CounterView, Mode1IsNotMaskedTo23Bits) {
    EXPECT_EQ(tick(1, 0, 0, 128, 0), QStringLiteral("8388608"));
    EXPECT_EQ(tick(1, 255, 255, 255, 255), QStringLiteral("4294967295"));
}

TEST_F(CounterView, Mode2IsSignAndMagnitude) {
    EXPECT_EQ(tick(2, 1, 0, 128, 0), QStringLiteral("-1"));
    EXPECT_EQ(tick(2, 1, 0, 128, 77), QStringLiteral("-1"));
    EXPECT_EQ(tick(2, 0, 0, 128, 255), QStringLiteral("0"));
    EXPECT_EQ(tick(2, 255, 255, 127, 0), QStringLiteral("8388607"));
    EXPECT_EQ(tick(2, 255, 255, 255, 255), QStringLiteral("-8388607"));
    EXPECT_EQ(tick(2, 1, 0, 0, 255), QStringLiteral("1"));
}

TEST_F(CounterView, ModeAbove2FormatsAsUnsigned) {
    EXPECT_EQ(tick(3, 1, 0, 128, 0), QStringLiteral("8388609"));
    EXPECT_EQ(tick(255, 255, 255, 255, 255), QStringLiteral("4294967295"));
}

TEST_F(CounterView, FailedModeReadKeepsValueAndSkipsCounter) {
    tick(0, 123, 0, 0, 0);
    fake::clear_journal();
    fake::push_reply(reply_status(5));
    form.Timer1Timer();
    EXPECT_EQ(sent_requests().size(), 1u);
    EXPECT_EQ(panel->text(), QStringLiteral("123"));
    EXPECT_EQ(status(), error_text(5));
    EXPECT_NE(status(), ok_text());
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST_F(CounterView, FailedCounterReadKeepsValue) {
    tick(2, 5, 0, 128, 0);
    fake::push_reply(reply_bytes(0, 0, 0, 0, 0));
    fake::push_reply(reply_status(7));
    form.Timer1Timer();
    EXPECT_EQ(panel->text(), QStringLiteral("-5"));
    EXPECT_EQ(status(), error_text(7));
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST_F(CounterView, TimerIsOffWhileTheModuleIsAsked) {
    std::vector<bool> active;
    fake::set_responder([&](const uint32_t*) {
        active.push_back(form.Timer1->isActive());
        return fake::SendReply{};
    });
    form.Timer1->start();
    form.Timer1Timer();
    form.Button1Click();
    EXPECT_EQ(active, (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST_F(CounterView, ResetSendsCommand1AndSaysSo) {
    tick(0, 9, 0, 0, 0);
    fake::clear_journal();
    form.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    EXPECT_EQ(sent_requests(), (std::vector<Request>{req(7, 1, 80)}));
    EXPECT_EQ(status(), QStringLiteral(" Čítač vynulován"));
    EXPECT_EQ(panel->text(), QStringLiteral("9"));
    EXPECT_TRUE(form.Timer1->isActive());
    tick(0, 0, 0, 0, 0);
    EXPECT_EQ(status(), ok_text());
}

TEST_F(CounterView, FailedResetShowsError) {
    fake::push_reply(reply_status(3));
    form.Button1Click();
    EXPECT_EQ(status(), error_text(3));
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST_F(CounterView, CancelStopsPollingAndCloses) {
    form.Timer1->start();
    form.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(form.isVisible());
}

TEST_F(CounterView, ShowingAgainResetsPanel) {
    tick(0, 42, 0, 0, 0);
    form.hide();
    data.Adresa = 12;
    form.show();
    EXPECT_EQ(panel->text(), QStringLiteral("0"));
    EXPECT_EQ(form.AdresaModulu, 12);
}

class CounterClosed : public ClosedLinkTest {};

TEST_F(CounterClosed, NotInitialisedAndNothingSent) {
    TForm6 form;
    form.Data = &data;
    form.show();
    form.Timer1Timer();
    auto* panel = form.findChild<QLabel*>(QStringLiteral("Panel1"));
    EXPECT_EQ(panel->text(), QStringLiteral("0"));
    EXPECT_EQ(form.StatusBar1->Text(0), QStringLiteral(" Připojení k modulu není inicializováno."));
    EXPECT_TRUE(form.Timer1->isActive());
    form.StatusBar1->NastavText(0, QString());
    form.Button1Click();
    EXPECT_EQ(form.StatusBar1->Text(0), TextNeinicializovano);
    // A handle without Pripojeno is not an open link either.
    data.Handle = 0x1234;
    form.Timer1Timer();
    EXPECT_TRUE(sent_requests().empty());
}

TEST(CounterNoRecord, NothingHappensWithoutARecord) {
    testsupport::use_fake_drivers();
    TForm6 form;
    form.show();
    form.Timer1Timer();
    form.Button1Click();
    EXPECT_EQ(form.StatusBar1->Text(0), TextNeinicializovano);
    EXPECT_TRUE(sent_requests().empty());
}

} // namespace
