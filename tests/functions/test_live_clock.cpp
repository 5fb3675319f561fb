// Clock dialog: read order, power-failure re-reads, year completion from
// the PC clock, and setting the module clock from one instant.
#include "RTC.h"
#include "test_live_support.h"

#include <QPushButton>

using namespace livetest;
using testsupport::reply_bytes;
using testsupport::reply_status;
using testsupport::sent_requests;

namespace {

QDateTime at(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

class ClockView : public LinkTest {
  protected:
    void SetUp() override {
        LinkTest::SetUp();
        NastavHodiny([] { return at(2026, 6, 15, 12, 0, 0); });
        form.Data = &data;
        form.show();
        form.Timer1->stop();
    }
    QString text(int n) { return label(&form, n)->text(); }
    QString status() const { return form.StatusBar1->Text(0); }

    TForm3 form;
};

TEST_F(ClockView, ControlsAndCaptions) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Nastavení hodinového obvodu RTC"));
    EXPECT_EQ(text(1), QStringLiteral("Začátek výpadku napájení"));
    EXPECT_EQ(text(2), QStringLiteral("Konec výpadku napájení"));
    EXPECT_EQ(text(3), QStringLiteral("Čas a datum modulu"));
    auto* b1 = form.findChild<QPushButton*>(QStringLiteral("Button1"));
    auto* b2 = form.findChild<QPushButton*>(QStringLiteral("Button2"));
    ASSERT_TRUE(b1 && b2);
    EXPECT_EQ(b1->text(), QStringLiteral("Nastavit čas"));
    EXPECT_EQ(b2->text(), QStringLiteral("Cancel"));
    EXPECT_FALSE(b1->autoDefault() || b2->autoDefault());
    for (int n : {4, 7, 5, 8})
        EXPECT_EQ(label(&form, n)->parent()->objectName(), "Panel1");
    for (int n : {6, 9})
        EXPECT_EQ(label(&form, n)->parent()->objectName(), "Panel2");
    for (int n = 4; n <= 9; ++n) {
        EXPECT_EQ(text(n), QStringLiteral("0"));
        EXPECT_EQ(label(&form, n)->textFormat(), Qt::PlainText);
    }
    EXPECT_EQ(form.findChild<QTimer*>(QStringLiteral("Timer1"))->interval(), 200);
}

TEST(ClockViewTimer, EnabledFromCreationAndOnShow) {
    TForm3 form;
    EXPECT_TRUE(form.Timer1->isActive());
    form.Timer1->stop();
    form.show();
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST_F(ClockView, FirstTickReadsFailureRegistersOnceThenClock) {
    fake::push_reply(reply_bytes(9, 7, 5, 9, 0));     // 3: failure start time
    fake::push_reply(reply_bytes(0, 6, 12, 2, 0));    // 4: its date
    fake::push_reply(reply_bytes(0, 0, 0, 0, 0));     // 5: failure end time
    fake::push_reply(reply_bytes(0, 1, 1, 3, 0));     // 6: its date
    fake::push_reply(reply_bytes(0, 59, 59, 23, 0));  // 1: module time
    fake::push_reply(reply_bytes(0, 31, 12, 1, 200)); // 2: module date
    form.Timer1Timer();
    EXPECT_EQ(sent_requests(),
              (std::vector<Request>{req(7, 100, 3), req(7, 100, 4), req(7, 100, 5), req(7, 100, 6),
                                    req(7, 100, 1), req(7, 100, 2)}));
    EXPECT_EQ(text(4), QStringLiteral("9:05:07"));
    EXPECT_EQ(text(7), QStringLiteral("6.12.2026"));
    EXPECT_EQ(text(5), QStringLiteral("0:00:00"));
    EXPECT_EQ(text(8), QStringLiteral("1.1.2027"));
    EXPECT_EQ(text(6), QStringLiteral("23:59:59"));
    EXPECT_EQ(text(9), QStringLiteral("31.12.2025"));
    EXPECT_TRUE(form.VypadekPrecten);
    EXPECT_EQ(status(), ok_text());

    fake::clear_journal();
    form.Timer1Timer();
    form.Timer1Timer();
    EXPECT_EQ(sent_requests(), (std::vector<Request>{req(7, 100, 1), req(7, 100, 2), req(7, 100, 1),
                                                     req(7, 100, 2)}));
}

TEST_F(ClockView, FailedFailureReadStopsTickAndRestartsFromRegister3) {
    fake::push_reply(reply_bytes(0, 1, 2, 3, 0)); // 3
    fake::push_reply(reply_bytes(0, 4, 5, 2, 0)); // 4
    fake::push_reply(reply_status(6));            // 5 fails
    form.Timer1Timer();
    EXPECT_EQ(sent_requests(),
              (std::vector<Request>{req(7, 100, 3), req(7, 100, 4), req(7, 100, 5)}));
    EXPECT_EQ(text(4), QStringLiteral("3:02:01"));
    EXPECT_EQ(text(7), QStringLiteral("4.5.2026"));
    EXPECT_EQ(text(5), QStringLiteral("0"));
    EXPECT_EQ(text(8), QStringLiteral("0"));
    EXPECT_EQ(text(6), QStringLiteral("0"));
    EXPECT_FALSE(form.VypadekPrecten);
    EXPECT_EQ(status(), error_text(6));

    fake::clear_journal();
    form.Timer1Timer();
    EXPECT_EQ(sent_requests(),
              (std::vector<Request>{req(7, 100, 3), req(7, 100, 4), req(7, 100, 5), req(7, 100, 6),
                                    req(7, 100, 1), req(7, 100, 2)}));
    EXPECT_TRUE(form.VypadekPrecten);
}

TEST_F(ClockView, FailedDateReadKeepsNewTime) {
    form.VypadekPrecten = true;
    fake::push_reply(reply_bytes(0, 30, 20, 10, 0));
    fake::push_reply(reply_bytes(0, 1, 2, 0, 0));
    form.Timer1Timer();
    EXPECT_EQ(text(9), QStringLiteral("1.2.2024"));
    fake::push_reply(reply_bytes(0, 31, 20, 10, 0));
    fake::push_reply(reply_status(4));
    form.Timer1Timer();
    EXPECT_EQ(text(6), QStringLiteral("10:20:31"));
    EXPECT_EQ(text(9), QStringLiteral("1.2.2024"));
    EXPECT_EQ(status(), error_text(4));
}

TEST_F(ClockView, YearFollowsThePcClock) {
    form.VypadekPrecten = true;
    const struct {
        int pcYear;
        uint8_t byte;
        const char* shown;
    } cases[] = {{2024, 3, "1.1.2027"},
                 {2027, 3, "1.1.2027"},
                 {2028, 0, "1.1.2028"},
                 {2026, 10, "1.1.2034"},
                 {2026, 255, "1.1.2279"}};
    for (const auto& c : cases) {
        NastavHodiny([y = c.pcYear] { return at(y, 3, 1, 8, 0, 0); });
        fake::push_reply(reply_bytes(0, 0, 0, 0, 0));
        fake::push_reply(reply_bytes(0, 1, 1, c.byte, 0));
        form.Timer1Timer();
        EXPECT_EQ(text(9), QString::fromUtf8(c.shown)) << c.pcYear << " " << int(c.byte);
    }
}

TEST_F(ClockView, ShowingAgainReadsFailureTimesAgain) {
    form.Timer1Timer();
    EXPECT_TRUE(form.VypadekPrecten);
    form.hide();
    form.show();
    EXPECT_FALSE(form.VypadekPrecten);
    for (int n = 4; n <= 9; ++n)
        EXPECT_EQ(text(n), QStringLiteral("0"));
    fake::clear_journal();
    form.Timer1Timer();
    EXPECT_EQ(sent_requests().size(), 6u);
}

TEST_F(ClockView, SetClockAcrossMidnightUsesOneInstant) {
    int reads = 0;
    NastavHodiny([&reads] {
        // The first reading is a moment before midnight; any later one is
        // already in the next year.
        return reads++ == 0 ? at(2026, 12, 31, 23, 59, 59, 999) : at(2027, 1, 1, 0, 0, 0);
    });
    std::vector<bool> active;
    fake::set_responder([&](const uint32_t*) {
        active.push_back(form.Timer1->isActive());
        return fake::SendReply{};
    });
    form.Timer1->start();
    form.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    EXPECT_EQ(sent_requests(), (std::vector<Request>{req(7, 101, 1, 0, 59, 59, 23, 0),
                                                     req(7, 101, 2, 0, 31, 12, 2026 % 4, 0)}));
    EXPECT_EQ(active, (std::vector<bool>{false, false}));
    EXPECT_EQ(status(), QStringLiteral(" Čas nastaven"));
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_TRUE(form.VypadekPrecten == false); // "Nastavit čas" reads nothing
}

TEST_F(ClockView, FailedTimeWriteSkipsDate) {
    NastavHodiny([] { return at(2025, 2, 3, 4, 5, 6); });
    fake::push_reply(reply_status(8));
    form.Button1Click();
    EXPECT_EQ(sent_requests(), (std::vector<Request>{req(7, 101, 1, 0, 6, 5, 4, 0)}));
    EXPECT_EQ(status(), error_text(8));
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST_F(ClockView, FailedDateWriteShowsError) {
    NastavHodiny([] { return at(2025, 2, 3, 4, 5, 6); });
    fake::push_reply(reply_bytes(0, 0, 0, 0, 0));
    fake::push_reply(reply_status(2));
    form.Button1Click();
    EXPECT_EQ(sent_requests(),
              (std::vector<Request>{req(7, 101, 1, 0, 6, 5, 4, 0), req(7, 101, 2, 0, 3, 2, 1, 0)}));
    EXPECT_EQ(status(), error_text(2));
    EXPECT_TRUE(form.Timer1->isActive());
}

class ClockClosed : public ClosedLinkTest {};

TEST_F(ClockClosed, NotInitialisedLeavesTimerAlone) {
    TForm3 form;
    form.Data = &data;
    form.show();
    form.Timer1Timer();
    EXPECT_EQ(form.StatusBar1->Text(0), TextNeinicializovano);
    form.Timer1->stop();
    form.StatusBar1->NastavText(0, QString());
    form.Button1Click();
    EXPECT_EQ(form.StatusBar1->Text(0), TextNeinicializovano);
    EXPECT_FALSE(form.Timer1->isActive());
    form.Timer1->start();
    form.Button1Click();
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_TRUE(sent_requests().empty());
}

TEST(ClockNoRecord, SendsNothingAndShowsNothing) {
    testsupport::use_fake_drivers();
    TForm3 form;
    form.show();
    form.Timer1Timer();
    form.Button1Click();
    wait_ms(250);
    for (int n = 4; n <= 9; ++n)
        EXPECT_EQ(label(&form, n)->text(), QStringLiteral("0"));
    EXPECT_EQ(form.StatusBar1->Text(0), QString());
    EXPECT_TRUE(sent_requests().empty());
}

} // namespace
