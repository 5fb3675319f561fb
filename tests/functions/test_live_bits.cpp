// Status register and digital input views: bit placement in the grid,
// failed reads, the clear command and BitNaText.
#include "OkamDIN.h"
#include "StatReg.h"
#include "functions.h"
#include "test_live_support.h"

#include <QFrame>
#include <QPushButton>

using namespace livetest;
using testsupport::reply_bytes;
using testsupport::reply_status;
using testsupport::sent_requests;

namespace {

// Numbers n (0-31) of the value labels showing "1".
std::vector<int> ones(QWidget* form) {
    std::vector<int> out;
    for (int n = 0; n < 32; ++n) {
        const QString t = label(form, 33 + n)->text();
        EXPECT_TRUE(t == "0" || t == "1") << n;
        if (t == "1") out.push_back(n);
    }
    return out;
}

// Each column frame holds its eight name and value labels, top to bottom.
void expect_grid(QWidget* form) {
    for (int k = 0; k < 4; ++k) {
        auto* frame = form->findChild<QFrame*>(QStringLiteral("Panel%1").arg(k + 1));
        ASSERT_NE(frame, nullptr);
        for (int r = 0; r < 8; ++r) {
            const int n = 8 * k + r;
            QLabel* name = label(form, n + 1);
            QLabel* value = label(form, n + 33);
            ASSERT_TRUE(name && value) << n;
            EXPECT_EQ(name->parent(), frame);
            EXPECT_EQ(value->parent(), frame);
            EXPECT_EQ(value->textFormat(), Qt::PlainText);
            EXPECT_LT(name->x(), value->x());
            EXPECT_EQ(name->y(), value->y());
            if (r > 0) {
                EXPECT_GT(value->y(), label(form, n + 32)->y());
            }
        }
        if (k > 0) {
            EXPECT_GT(frame->x(), form->findChild<QFrame*>(QStringLiteral("Panel%1").arg(k))->x());
        }
    }
}

TEST(BitNaText, EachBitAndIndexAbove7) {
    for (uint8_t i = 0; i < 8; ++i) {
        EXPECT_EQ(BitNaText(static_cast<uint8_t>(1u << i), i), QStringLiteral("1"));
        EXPECT_EQ(BitNaText(static_cast<uint8_t>(~(1u << i)), i), QStringLiteral("0"));
    }
    EXPECT_EQ(BitNaText(0xFF, 8), QStringLiteral("0"));
    EXPECT_EQ(BitNaText(0xFF, 255), QStringLiteral("0"));
}

class StatusView : public LinkTest {
  protected:
    void SetUp() override {
        LinkTest::SetUp();
        form.Data = &data;
        form.show();
        form.Timer1->stop();
    }
    QString status() const { return form.StatusBar1->Text(0); }
    TForm15 form;
};

TEST_F(StatusView, ControlsAndCaptions) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Status registr"));
    const char* names[8] = {"---", "FN", "PRF", "---", "PWR", "RST", "ERR24", "---"};
    for (int n = 0; n < 32; ++n) {
        EXPECT_EQ(label(&form, n + 1)->text(), QString::fromUtf8(n < 8 ? names[n] : "---")) << n;
        EXPECT_EQ(label(&form, n + 33)->text(), QStringLiteral("0"));
    }
    expect_grid(&form);
    auto* b1 = form.findChild<QPushButton*>(QStringLiteral("Button1"));
    auto* b2 = form.findChild<QPushButton*>(QStringLiteral("Button2"));
    ASSERT_TRUE(b1 && b2);
    EXPECT_EQ(b1->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(b2->text(), QStringLiteral("Vynulovat"));
    EXPECT_FALSE(b1->autoDefault() || b2->autoDefault());
    EXPECT_EQ(form.Timer1->interval(), 500);
    TForm15 fresh;
    EXPECT_TRUE(fresh.Timer1->isActive());
    EXPECT_EQ(fresh.AdresaModulu, 0);
}

TEST_F(StatusView, BitPlacement) {
    fake::push_reply(reply_bytes(0xFF, 0x02, 0, 0, 0));
    form.Timer1Timer();
    EXPECT_EQ(sent_requests(), (std::vector<Request>{req(7, 100, 0)}));
    EXPECT_EQ(ones(&form), (std::vector<int>{1}));
    EXPECT_EQ(label(&form, 2)->text(), QStringLiteral("FN"));
    EXPECT_EQ(status(), ok_text());

    fake::push_reply(reply_bytes(0, 0, 0, 0, 0x80));
    form.Timer1Timer();
    EXPECT_EQ(ones(&form), (std::vector<int>{31}));
    EXPECT_EQ(label(&form, 64)->parent()->objectName(), QStringLiteral("Panel4"));

    fake::push_reply(reply_bytes(0, 0x81, 0x01, 0x40, 0x02));
    form.Timer1Timer();
    EXPECT_EQ(ones(&form), (std::vector<int>{0, 7, 8, 22, 25}));
}

TEST_F(StatusView, FailedReadKeepsValues) {
    fake::push_reply(reply_bytes(0, 0x12, 0x34, 0x56, 0x78));
    form.Timer1Timer();
    const auto before = ones(&form);
    ASSERT_FALSE(before.empty());
    fake::push_reply(reply_status(5));
    form.Timer1Timer();
    EXPECT_EQ(ones(&form), before);
    EXPECT_EQ(status(), error_text(5));
}

TEST_F(StatusView, ClearSendsCommand101AndLeavesStatus) {
    form.StatusBar1->NastavText(0, QStringLiteral(" earlier"));
    form.Timer1->start();
    form.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    EXPECT_EQ(sent_requests(), (std::vector<Request>{req(7, 101, 0)}));
    EXPECT_EQ(status(), QStringLiteral(" earlier"));
    EXPECT_TRUE(form.Timer1->isActive());
    fake::push_reply(reply_status(3));
    form.Button2Click();
    EXPECT_EQ(status(), error_text(3));
}

TEST_F(StatusView, PollsByItselfAndCancelCloses) {
    form.Timer1->start();
    wait_ms(1100);
    EXPECT_GE(sent_requests().size(), 2u);
    form.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    EXPECT_FALSE(form.isVisible());
}

class StatusClosed : public ClosedLinkTest {};

TEST_F(StatusClosed, NotInitialisedNothingSent) {
    TForm15 form;
    form.Data = &data;
    form.show();
    form.Timer1Timer();
    EXPECT_EQ(form.StatusBar1->Text(0), TextNeinicializovano);
    form.StatusBar1->NastavText(0, QString());
    form.Button2Click();
    EXPECT_EQ(form.StatusBar1->Text(0), TextNeinicializovano);
    EXPECT_TRUE(sent_requests().empty());
    TForm15 orphan;
    orphan.Timer1Timer();
    orphan.Button2Click();
    EXPECT_EQ(orphan.StatusBar1->Text(0), QString());
}

class InputView : public LinkTest {
  protected:
    void SetUp() override {
        LinkTest::SetUp();
        form.Data = &data;
        form.show();
        form.Timer1->stop();
    }
    QString status() const { return form.StatusBar1->Text(0); }
    TForm11 form;
};

TEST_F(InputView, ControlsAndCaptions) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Okamžité hodnoty digitálních vstupů"));
    for (int n = 0; n < 32; ++n)
        EXPECT_EQ(label(&form, n + 1)->text(), QStringLiteral("DIN%1").arg(n));
    expect_grid(&form);
    auto* b1 = form.findChild<QPushButton*>(QStringLiteral("Button1"));
    ASSERT_NE(b1, nullptr);
    EXPECT_EQ(b1->text(), QStringLiteral("Cancel"));
    EXPECT_FALSE(b1->autoDefault());
    EXPECT_EQ(form.findChildren<QPushButton*>().size(), 1);
    EXPECT_EQ(form.Timer1->interval(), 100);
    TForm11 fresh;
    EXPECT_TRUE(fresh.Timer1->isActive());
}

TEST_F(InputView, InputPlacement) {
    fake::push_reply(reply_bytes(0, 0x01, 0, 0, 0));
    form.Timer1Timer();
    EXPECT_EQ(sent_requests(), (std::vector<Request>{req(7, 0, 64)}));
    EXPECT_EQ(ones(&form), (std::vector<int>{0}));
    EXPECT_EQ(status(), ok_text());

    fake::push_reply(reply_bytes(0, 0, 0, 0x80, 0));
    form.Timer1Timer();
    EXPECT_EQ(ones(&form), (std::vector<int>{23}));
    EXPECT_EQ(label(&form, 56)->text(), QStringLiteral("1"));
    EXPECT_EQ(label(&form, 56)->parent()->objectName(), QStringLiteral("Panel3"));
    EXPECT_EQ(label(&form, 24)->text(), QStringLiteral("DIN23"));

    fake::push_reply(reply_bytes(0, 0xFF, 0xFF, 0xFF, 0xFF));
    form.Timer1Timer();
    EXPECT_EQ(ones(&form).size(), 32u);
}

TEST_F(InputView, FailedReadKeepsValues) {
    fake::push_reply(reply_bytes(0, 0xA5, 0x5A, 0x0F, 0xF0));
    form.Timer1Timer();
    const auto before = ones(&form);
    fake::push_reply(reply_status(4));
    form.Timer1Timer();
    EXPECT_EQ(ones(&form), before);
    EXPECT_EQ(status(), error_text(4));
}

TEST_F(InputView, PollsEvery100ms) {
    form.Timer1->start();
    wait_ms(350);
    const auto sent = sent_requests();
    EXPECT_GE(sent.size(), 2u);
    for (const auto& r : sent)
        EXPECT_EQ(r, req(7, 0, 64));
}

class InputClosed : public ClosedLinkTest {};

TEST_F(InputClosed, NotInitialisedNothingSent) {
    TForm11 form;
    form.Data = &data;
    form.show();
    form.Timer1Timer();
    EXPECT_EQ(form.StatusBar1->Text(0), TextNeinicializovano);
    EXPECT_TRUE(sent_requests().empty());
}

} // namespace
