// Digital outputs dialog: the output word, its texts and a clear start on
// every opening.
#include "OkamDOUT.h"
#include "test_live_support.h"

#include <QCheckBox>
#include <QPushButton>

using namespace livetest;
using testsupport::reply_status;
using testsupport::sent_requests;

namespace {

QCheckBox* box(QWidget* form, int n) {
    return form->findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(n));
}

class OutputView : public LinkTest {
  protected:
    void SetUp() override {
        LinkTest::SetUp();
        form.Data = &data;
        form.show();
    }
    void write() { form.findChild<QPushButton*>(QStringLiteral("Button1"))->click(); }
    QString status() const { return form.StatusBar1->Text(0); }
    TForm9 form;
};

TEST_F(OutputView, LayoutAsDrawn) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Zápis na digitální výstupy"));
    EXPECT_EQ(form.size(), QSize(410, 271));
    const int columns[4] = {40, 128, 216, 304};
    for (int k = 0; k < 32; ++k) {
        QCheckBox* b = box(&form, k + 1);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QStringLiteral("DOUT%1").arg(k));
        EXPECT_EQ(b->geometry(), QRect(columns[k / 8], 32 + 16 * (k % 8), 65, 17)) << k;
        if (k > 0) {
            EXPECT_EQ(box(&form, k)->nextInFocusChain(), b);
        }
    }
    auto* b1 = form.findChild<QPushButton*>(QStringLiteral("Button1"));
    auto* b2 = form.findChild<QPushButton*>(QStringLiteral("Button2"));
    ASSERT_TRUE(b1 && b2);
    EXPECT_EQ(b1->text(), QStringLiteral("Zapsat"));
    EXPECT_EQ(b2->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(b1->geometry(), QRect(208, 200, 75, 25));
    EXPECT_EQ(b2->geometry(), QRect(296, 200, 75, 25));
    EXPECT_FALSE(b1->autoDefault() || b2->autoDefault());
    EXPECT_EQ(box(&form, 32)->nextInFocusChain(), b1);
    EXPECT_EQ(b1->nextInFocusChain(), b2);
}

TEST_F(OutputView, NothingCheckedSendsZeros) {
    write();
    EXPECT_EQ(sent_requests(), (std::vector<Request>{req(7, 1, 64, 0, 0, 0, 0, 0)}));
    EXPECT_EQ(status(), QStringLiteral(" Data zapsána"));
}

TEST_F(OutputView, Dout8AndDout31) {
    box(&form, 9)->setChecked(true); // DOUT8
    write();
    box(&form, 9)->setChecked(false);
    box(&form, 32)->setChecked(true); // DOUT31
    write();
    box(&form, 1)->setChecked(true);  // DOUT0
    box(&form, 24)->setChecked(true); // DOUT23
    write();
    EXPECT_EQ(sent_requests(),
              (std::vector<Request>{req(7, 1, 64, 0, 0, 1, 0, 0), req(7, 1, 64, 0, 0, 0, 0, 128),
                                    req(7, 1, 64, 0, 1, 0, 128, 128)}));
}

TEST_F(OutputView, AllCheckedAndFailedWriteKeepsBoxes) {
    for (int n = 1; n <= 32; ++n)
        box(&form, n)->setChecked(true);
    fake::push_reply(reply_status(6));
    write();
    EXPECT_EQ(sent_requests(), (std::vector<Request>{req(7, 1, 64, 0, 255, 255, 255, 255)}));
    EXPECT_EQ(status(), error_text(6));
    for (int n = 1; n <= 32; ++n)
        EXPECT_TRUE(box(&form, n)->isChecked());
}

TEST_F(OutputView, EveryOpeningStartsClear) {
    box(&form, 5)->setChecked(true);
    box(&form, 30)->setChecked(true);
    write();
    form.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    EXPECT_FALSE(form.isVisible());
    form.show();
    for (int n = 1; n <= 32; ++n)
        EXPECT_FALSE(box(&form, n)->isChecked()) << n;

    // A new dialog, as the menu command creates one, starts clear as well.
    auto* other = new TForm9;
    other->Data = &data;
    other->show();
    for (int n = 1; n <= 32; ++n)
        EXPECT_FALSE(box(other, n)->isChecked()) << n;
    delete other;
}

TEST_F(OutputView, AddressTakenAtShowing) {
    form.hide();
    data.Adresa = 33;
    form.show();
    write();
    EXPECT_EQ(sent_requests().back()[0], 33u);
}

class OutputClosed : public ClosedLinkTest {};

TEST_F(OutputClosed, NotInitialisedNothingSentBoxesKept) {
    TForm9 form;
    form.Data = &data;
    form.show();
    box(&form, 3)->setChecked(true);
    form.Button1Click();
    EXPECT_EQ(form.StatusBar1->Text(0), TextNeinicializovano);
    EXPECT_TRUE(box(&form, 3)->isChecked());
    EXPECT_TRUE(sent_requests().empty());
    TForm9 orphan;
    orphan.show();
    orphan.Button1Click();
    EXPECT_EQ(orphan.StatusBar1->Text(0), TextNeinicializovano);
}

} // namespace
