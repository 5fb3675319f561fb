// Digital input/output settings dialog, against the module model.
#include "NastavDIO.h"
#include "test_nastav_support.h"

#include <QCheckBox>
#include <QGroupBox>

#include <gmock/gmock.h>

using namespace nastavtest;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

// Register order of both transfers, and the block byte of each register.
const int kOrder[12] = {32, 35, 38, 41, 33, 36, 39, 42, 34, 37, 40, 43};
int byte_of(int reg) {
    const int i = (reg - 32) / 3, g = (reg - 32) % 3;
    return (g == 0 ? 11 : g == 1 ? 3 : 7) + i;
}

QCheckBox* box(QWidget* w, int n) {
    return child<QCheckBox>(w, QStringLiteral("CheckBox%1").arg(n));
}
QGroupBox* group(QWidget* w, int n) {
    return child<QGroupBox>(w, QStringLiteral("GroupBox%1").arg(n));
}
void set_all(QWidget* w, bool on) {
    for (int n = 1; n <= 96; ++n)
        box(w, n)->setChecked(on);
}

class NastavDioTest : public LinkedTest {
  protected:
    void SetUp() override {
        LinkedTest::SetUp();
        dlg.Data = &data;
        show_exposed(&dlg);
    }
    // Distinct values in the twelve registers: register r holds r * 5.
    void fill_module() {
        for (int r = 32; r <= 43; ++r)
            model.module.set_config_register(static_cast<uint8_t>(r), static_cast<uint8_t>(r * 5));
    }
    TForm14 dlg;
};

class NastavDioUnlinked : public UnlinkedTest {};

TEST_F(NastavDioUnlinked, WindowLayout) {
    TForm14 dlg;
    dlg.Data = &data;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Nastavení digitálních vstupů/výstupů"));
    EXPECT_EQ(dlg.size(), QSize(526, 398));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    EXPECT_EQ(group(&dlg, 1)->title(), QStringLiteral(" Negace DIN "));
    EXPECT_EQ(group(&dlg, 2)->title(), QStringLiteral("Negace DOUT "));
    EXPECT_EQ(group(&dlg, 3)->title(), QStringLiteral(" Počáteční stav DOUT "));
    for (int g = 1; g <= 3; ++g)
        EXPECT_EQ(group(&dlg, g)->geometry(), QRect(16 + 168 * (g - 1), 16, 153, 289));
    for (int n = 1; n <= 96; ++n) {
        const int g = (n - 1) / 32, k = (n - 1) % 32;
        QCheckBox* c = box(&dlg, n);
        EXPECT_EQ(c->parentWidget(), group(&dlg, g + 1)) << n;
        EXPECT_EQ(c->text(), QString::fromLatin1(g == 0 ? "DIN" : "DOUT") + QString::number(k))
            << n;
        const int row = k % 16;
        EXPECT_EQ(c->pos(), QPoint(k < 16 ? 8 : 80, row < 8 ? 16 + 16 * row : 152 + 16 * (row - 8)))
            << n;
    }
    EXPECT_EQ(box(&dlg, 8)->y(), 128);
    EXPECT_EQ(box(&dlg, 9)->y(), 152);
    EXPECT_EQ(box(&dlg, 16)->y(), 264);
    const char* captions[] = {"Zapsat", "Přečíst", "Ok", "Cancel"};
    const int xs[] = {32, 112, 328, 408};
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(button(&dlg, n)->text(), QString::fromUtf8(captions[n - 1]));
        EXPECT_EQ(button(&dlg, n)->geometry(), QRect(xs[n - 1], 336, 75, 25));
        EXPECT_FALSE(button(&dlg, n)->autoDefault());
    }
    std::vector<QWidget*> order;
    for (int n = 1; n <= 96; ++n)
        order.push_back(box(&dlg, n));
    for (int n = 1; n <= 4; ++n)
        order.push_back(button(&dlg, n));
    EXPECT_EQ(tab_order(box(&dlg, 1), order), order);
    // The one panel spans the bar along the bottom edge.
    dlg.grab();
    auto* bar = child<QWidget>(&dlg, QStringLiteral("StatusBar1"));
    EXPECT_EQ(bar->geometry().bottom(), 397);
    EXPECT_EQ(bar->width(), 526);
    EXPECT_GE(panel(&dlg)->width(), 480);
}

TEST_F(NastavDioUnlinked, FirstOpeningChecksTheNegations) {
    TForm14 dlg;
    dlg.Data = &data;
    dlg.show();
    for (int n = 1; n <= 64; ++n)
        EXPECT_TRUE(box(&dlg, n)->isChecked()) << n;
    for (int n = 65; n <= 96; ++n)
        EXPECT_FALSE(box(&dlg, n)->isChecked()) << n;
    EXPECT_EQ(status(&dlg), QStringLiteral(" "));
}

TEST_F(NastavDioUnlinked, ClosedLinkSendsNothing) {
    TForm14 dlg;
    dlg.Data = &data;
    dlg.show();
    box(&dlg, 70)->setChecked(true);
    button(&dlg, 1)->click();
    EXPECT_EQ(status(&dlg), QStringLiteral(" Připojení k modulu není inicializováno."));
    button(&dlg, 2)->click();
    EXPECT_EQ(status(&dlg), QStringLiteral(" Připojení k modulu není inicializováno."));
    EXPECT_TRUE(box(&dlg, 70)->isChecked());
    EXPECT_THAT(testsupport::sent_requests(), IsEmpty());
}

TEST_F(NastavDioUnlinked, OkWithClosedLinkStoresTheBoxesBitByBit) {
    data.Konfigurace.KonfAdresa = 200;
    data.Konfigurace.KonfRychlost = 7;
    data.Konfigurace.KonfModCitace = 1;
    {
        TForm14 dlg;
        dlg.Data = &data;
        dlg.show();
        set_all(&dlg, false);
        box(&dlg, 1)->setChecked(true);  // DIN0: byte 3 bit 0
        box(&dlg, 40)->setChecked(true); // DOUT7 negation: byte 7 bit 7
        box(&dlg, 50)->setChecked(true); // DOUT17 negation: byte 9 bit 1
        box(&dlg, 96)->setChecked(true); // DOUT31 initial state: byte 14 bit 7
        button(&dlg, 3)->click();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    const uint8_t expected[15] = {200, 7, 1, 1, 0, 0, 0, 0x80, 0, 0x02, 0, 0, 0, 0, 0x80};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(data.Konfigurace.Bajt(i), expected[i]) << i;
    EXPECT_THAT(testsupport::sent_requests(), IsEmpty());
    TForm14 again;
    again.Data = &data;
    again.show();
    for (int n = 1; n <= 96; ++n)
        EXPECT_EQ(box(&again, n)->isChecked(), n == 1 || n == 40 || n == 50 || n == 96) << n;
}

TEST_F(NastavDioUnlinked, CancelAndTheCloseBoxDiscard) {
    const TKonfigurace before = data.Konfigurace;
    {
        TForm14 dlg;
        dlg.Data = &data;
        dlg.show();
        set_all(&dlg, true);
        button(&dlg, 4)->click();
        EXPECT_FALSE(dlg.isVisible());
    }
    {
        TForm14 dlg;
        dlg.Data = &data;
        dlg.show();
        set_all(&dlg, false);
        dlg.close();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    EXPECT_EQ(data.Konfigurace, before);
    TForm14 again;
    again.Data = &data;
    again.show();
    EXPECT_TRUE(box(&again, 1)->isChecked());
    EXPECT_FALSE(box(&again, 65)->isChecked());
}

TEST_F(NastavDioTest, FullWriteVerifiesTwelveRegistersInTurn) {
    // Each box pattern lands in the register of its byte.
    set_all(&dlg, false);
    for (int n = 1; n <= 96; n += 5)
        box(&dlg, n)->setChecked(true);
    TKonfigurace want = data.Konfigurace;
    dlg.PrectiOkno(want);
    PanelLog log(panel(&dlg));
    button(&dlg, 1)->click();
    std::vector<Request> expected;
    for (int r : kOrder) {
        expected.push_back(wr(5, r, want.Bajt(byte_of(r))));
        expected.push_back(rd(5, r));
    }
    EXPECT_THAT(testsupport::sent_requests(), ElementsAreArray(expected));
    std::vector<std::string> texts{" ", writing(0)};
    for (int p : {8, 16, 25, 33, 41, 50, 58, 66, 75, 83, 91, 100})
        texts.push_back(writing(p));
    texts.push_back(" Konfigurace zapsána.");
    EXPECT_THAT(log.texts, ElementsAreArray(texts));
    for (int r = 32; r <= 43; ++r)
        EXPECT_EQ(model.module.config_register(static_cast<uint8_t>(r)), want.Bajt(byte_of(r)))
            << r;
}

TEST_F(NastavDioTest, OnlyDout0NegationWritesOneToRegister34) {
    set_all(&dlg, false);
    box(&dlg, 33)->setChecked(true);
    button(&dlg, 1)->click();
    const auto sent = testsupport::sent_requests();
    ASSERT_EQ(sent.size(), 24u);
    for (size_t i = 0; i < sent.size(); i += 2) {
        EXPECT_EQ(sent[i][1], 103u);
        EXPECT_EQ(sent[i][6], sent[i][4] == 34 ? 1u : 0u) << sent[i][4];
    }
    EXPECT_EQ(status(&dlg), QStringLiteral(" Konfigurace zapsána."));
}

TEST_F(NastavDioTest, PausesAfterEveryStepTheLastIncluded) {
    std::vector<bool> ran_before;
    bool ran = false;
    model.on_send = [&](int) {
        ran_before.push_back(ran);
        ran = false;
        QMetaObject::invokeMethod(
            &dlg, [&] { ran = true; }, Qt::QueuedConnection);
    };
    button(&dlg, 2)->click();
    EXPECT_EQ(ran_before, std::vector<bool>({false, true, true, true, true, true, true, true, true,
                                             true, true, true}));
    EXPECT_TRUE(ran);
}

TEST_F(NastavDioTest, FullReadFillsTheBoxesInTurn) {
    fill_module();
    PanelLog log(panel(&dlg));
    button(&dlg, 2)->click();
    std::vector<Request> expected;
    for (int r : kOrder)
        expected.push_back(rd(5, r));
    EXPECT_THAT(testsupport::sent_requests(), ElementsAreArray(expected));
    std::vector<std::string> texts{reading(0)};
    for (int p : {8, 16, 25, 33, 41, 50, 58, 66, 75, 83, 91, 100})
        texts.push_back(reading(p));
    texts.push_back(" Konfigurace přečtena.");
    EXPECT_THAT(log.texts, ElementsAreArray(texts));
    for (int n = 1; n <= 96; ++n) {
        const int g = (n - 1) / 32, k = (n - 1) % 32;
        const int reg = 32 + 3 * (k / 8) + (g == 0 ? 1 : g == 1 ? 2 : 0);
        EXPECT_EQ(box(&dlg, n)->isChecked(), ((reg * 5) >> (k % 8)) & 1) << n;
    }
}

TEST_F(NastavDioTest, FailureAtTheFifthReadKeepsTheOtherBoxes) {
    fill_module();
    model.fail_status[5] = 5;
    button(&dlg, 2)->click();
    EXPECT_EQ(testsupport::sent_requests().size(), 5u);
    EXPECT_EQ(status(&dlg), error_text(5));
    // Initial-state boxes come from registers 32, 35, 38, 41.
    for (int n = 65; n <= 96; ++n) {
        const int k = n - 65;
        const int reg = 32 + 3 * (k / 8);
        EXPECT_EQ(box(&dlg, n)->isChecked(), ((reg * 5) >> (k % 8)) & 1) << n;
    }
    // The negation boxes keep what they showed: all checked.
    for (int n = 1; n <= 64; ++n)
        EXPECT_TRUE(box(&dlg, n)->isChecked()) << n;
}

TEST_F(NastavDioTest, MismatchStopsTheWriteAtThatRegister) {
    set_all(&dlg, true);
    model.lie[6] = 1; // read-back of register 38
    button(&dlg, 1)->click();
    EXPECT_THAT(testsupport::sent_requests(), ElementsAre(wr(5, 32, 255), rd(5, 32), wr(5, 35, 255),
                                                          rd(5, 35), wr(5, 38, 255), rd(5, 38)));
    EXPECT_EQ(status(&dlg), QStringLiteral(" Chyba zápisu dat."));
    EXPECT_EQ(model.module.config_register(35), 255);
    EXPECT_EQ(model.module.config_register(41), 0);
}

TEST_F(NastavDioTest, LinkErrorOnAWriteStopsThere) {
    model.fail_status[3] = 6;
    button(&dlg, 1)->click();
    EXPECT_EQ(testsupport::sent_requests().size(), 3u);
    EXPECT_EQ(status(&dlg), error_text(6));
}

TEST_F(NastavDioTest, BytesZeroToTwoPassThroughEveryPath) {
    data.Konfigurace.KonfAdresa = 77;
    data.Konfigurace.KonfRychlost = 3;
    data.Konfigurace.KonfModCitace = 2;
    dlg.FormShow();
    fill_module();
    button(&dlg, 2)->click();
    box(&dlg, 2)->setChecked(!box(&dlg, 2)->isChecked());
    button(&dlg, 1)->click();
    EXPECT_EQ(status(&dlg), QStringLiteral(" Konfigurace zapsána."));
    // Nothing but the twelve registers was touched.
    EXPECT_EQ(model.module.config_register(63), 5);
    EXPECT_EQ(model.module.config_register(0), 0);
    button(&dlg, 3)->click();
    EXPECT_EQ(data.Konfigurace.KonfAdresa, 77);
    EXPECT_EQ(data.Konfigurace.KonfRychlost, 3);
    EXPECT_EQ(data.Konfigurace.KonfModCitace, 2);
    EXPECT_EQ(data.Konfigurace.NegaceDIN[0], static_cast<uint8_t>((33 * 5) ^ 2));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(dlg.Konfig.Bajt(i), data.Konfigurace.Bajt(i));
}

TEST_F(NastavDioTest, ZapisDataLeavesTheCallersBlock) {
    TKonfigurace k = dlg.Konfig;
    k.NegaceDIN[2] = 0x5A;
    const TKonfigurace copy = k;
    dlg.ZapisData(k);
    EXPECT_EQ(k, copy);
    EXPECT_EQ(model.module.config_register(39), 0x5A);
}

// A second "Zapsat" or "Přečíst" while a transfer runs is ignored.
TEST_F(NastavDioTest, TransferIsNotReEntered) {
    model.on_send = [&](int n) {
        if (n == 3 || n == 10) {
            click_later(button(&dlg, 1));
            click_later(button(&dlg, 2));
        }
    };
    button(&dlg, 1)->click();
    EXPECT_EQ(testsupport::sent_requests().size(), 24u);
    EXPECT_EQ(status(&dlg), QStringLiteral(" Konfigurace zapsána."));
    fake::clear_journal();
    model.sends = 0;
    button(&dlg, 2)->click();
    EXPECT_EQ(testsupport::sent_requests().size(), 12u);
    EXPECT_EQ(status(&dlg), QStringLiteral(" Konfigurace přečtena."));
}

TEST_F(NastavDioTest, OkDuringAReadStopsItThenStores) {
    fill_module();
    model.on_send = [&](int n) {
        if (n == 2) click_later(button(&dlg, 3));
    };
    button(&dlg, 2)->click();
    // The read stops at the pause after its second register.
    EXPECT_EQ(testsupport::sent_requests().size(), 2u);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    // What the boxes show after the stopped read is what Ok keeps.
    EXPECT_EQ(data.Konfigurace.PocStavDOUT[0], 32 * 5);
    EXPECT_EQ(data.Konfigurace.PocStavDOUT[1], 35 * 5);
    EXPECT_EQ(data.Konfigurace.PocStavDOUT[2], 0);
    EXPECT_EQ(data.Konfigurace.NegaceDIN[0], 255);
}

TEST_F(NastavDioTest, CancelDuringAWriteStopsItAndDiscards) {
    const TKonfigurace before = data.Konfigurace;
    set_all(&dlg, false);
    model.on_send = [&](int n) {
        if (n == 7) {
            click_later(button(&dlg, 4));
            click_later(button(&dlg, 3)); // the first close asked for wins
        }
    };
    button(&dlg, 1)->click();
    EXPECT_EQ(testsupport::sent_requests().size(), 7u);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(data.Konfigurace, before);
}

TEST_F(NastavDioTest, CloseBoxDuringAWriteStopsIt) {
    model.on_send = [&](int n) {
        if (n == 4)
            QMetaObject::invokeMethod(
                &dlg, [&] { dlg.close(); }, Qt::QueuedConnection);
    };
    button(&dlg, 1)->click();
    EXPECT_EQ(testsupport::sent_requests().size(), 4u);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(NastavDioTest, ModalDialogClosedDuringATransferReturnsOnlyAfterIt) {
    // As the main window runs it: exec(), then delete.
    auto* modal = new TForm14;
    modal->Data = &data;
    int after_close = 0;
    bool closed = false;
    model.on_send = [&](int n) {
        if (closed) ++after_close;
        if (n == 1)
            QMetaObject::invokeMethod(
                modal,
                [&] {
                    press_escape(modal);
                    closed = true;
                },
                Qt::QueuedConnection);
    };
    QMetaObject::invokeMethod(
        modal, [&] { button(modal, 2)->click(); }, Qt::QueuedConnection);
    EXPECT_EQ(modal->exec(), QDialog::Rejected);
    delete modal;
    EXPECT_TRUE(closed);
    EXPECT_EQ(after_close, 0);
    EXPECT_EQ(testsupport::sent_requests().size(), 1u);
}

} // namespace
