// The live views against the module model behind the test driver: the
// values the module holds are the values the views show, and the views'
// writes change the module.
#include "OkamCNT.h"
#include "OkamDIN.h"
#include "OkamDOUT.h"
#include "RTC.h"
#include "StatReg.h"
#include "fake_module.h"
#include "test_live_support.h"

#include <QCheckBox>
#include <QPushButton>

using namespace livetest;
using km::emu::DateTime;
using km::emu::from_datetime;
using km::emu::to_datetime;

namespace {

class ModuleBacked : public LinkTest {
  protected:
    void SetUp() override {
        LinkTest::SetUp();
        now_ms = from_datetime(DateTime{2026, 6, 15, 12, 0, 0, 0});
        NastavHodiny([] { return QDateTime(QDate(2026, 6, 15), QTime(12, 0)); });
    }
    void TearDown() override {
        fake::detach_module();
        module.reset();
        LinkTest::TearDown();
    }
    // A module at address 7 on a clock the test moves by hand.
    void attach(km::emu::Config cfg) {
        cfg.address = 7;
        module = std::make_unique<km::emu::Module>(cfg, [this] { return now_ms; });
        fake::attach_module(*module);
    }
    static QString time_text(const DateTime& d) {
        return QString::asprintf("%d:%02d:%02d", d.hour, d.minute, d.second);
    }

    int64_t now_ms = 0;
    std::unique_ptr<km::emu::Module> module;
};

TEST_F(ModuleBacked, CounterMovesAndFollowsTheModuleMode) {
    km::emu::Config cfg;
    cfg.counter_rate = 10;
    cfg.counter_start = 100;
    attach(cfg);
    TForm6 form;
    form.Data = &data;
    form.show();
    form.Timer1->stop();
    auto* panel = form.findChild<QLabel*>(QStringLiteral("Panel1"));
    form.Timer1Timer();
    EXPECT_EQ(panel->text(), QStringLiteral("100"));
    now_ms += 2000;
    form.Timer1Timer();
    EXPECT_EQ(panel->text(), QStringLiteral("120"));
    EXPECT_EQ(form.StatusBar1->Text(0), ok_text());

    form.Button1Click();
    EXPECT_EQ(form.StatusBar1->Text(0), QStringLiteral(" Čítač vynulován"));
    EXPECT_EQ(panel->text(), QStringLiteral("120"));
    form.Timer1Timer();
    EXPECT_EQ(panel->text(), QStringLiteral("0"));

    // Mode 2 is read from the module on every tick.
    ASSERT_TRUE(module->set_config_register(0, 2));
    module->set_counter_rate(-10);
    now_ms += 1000;
    form.Timer1Timer();
    EXPECT_EQ(panel->text(), QStringLiteral("-10"));
}

TEST_F(ModuleBacked, ClockShowsModuleTimesAndIsSetFromThePc) {
    attach({});
    TForm3 form;
    form.Data = &data;
    form.show();
    form.Timer1->stop();
    form.Timer1Timer();
    const DateTime start = to_datetime(module->failure_start_ms());
    const DateTime end = to_datetime(module->failure_end_ms());
    EXPECT_EQ(label(&form, 4)->text(), time_text(start));
    EXPECT_EQ(label(&form, 5)->text(), time_text(end));
    EXPECT_EQ(label(&form, 8)->text(), QStringLiteral("%1.%2.2026").arg(end.day).arg(end.month));
    EXPECT_EQ(label(&form, 6)->text(), QStringLiteral("12:00:00"));
    EXPECT_EQ(label(&form, 9)->text(), QStringLiteral("15.6.2026"));

    NastavHodiny([] { return QDateTime(QDate(2027, 3, 4), QTime(5, 6, 7, 890)); });
    form.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    EXPECT_EQ(form.StatusBar1->Text(0), QStringLiteral(" Čas nastaven"));
    const DateTime set = to_datetime(module->module_time_ms());
    EXPECT_EQ(
        (std::array<int, 6>{set.day, set.month, set.year % 4, set.hour, set.minute, set.second}),
        (std::array<int, 6>{4, 3, 3, 5, 6, 7}));
    EXPECT_EQ(set.ms, 0);
    form.Timer1Timer();
    EXPECT_EQ(label(&form, 6)->text(), QStringLiteral("5:06:07"));
    EXPECT_EQ(label(&form, 9)->text(), QStringLiteral("4.3.2027"));
}

TEST_F(ModuleBacked, StatusBitsAndClear) {
    attach({});
    TForm15 form;
    form.Data = &data;
    form.show();
    form.Timer1->stop();
    const uint32_t word = module->status();
    ASSERT_NE(word & (1u << 4), 0u); // PWR after power-up
    form.Timer1Timer();
    for (int n = 0; n < 32; ++n)
        EXPECT_EQ(label(&form, 33 + n)->text(), (word >> n) & 1u ? "1" : "0") << n;
    form.Button2Click();
    EXPECT_EQ(module->status(), 0u);
    form.Timer1Timer();
    for (int n = 0; n < 32; ++n)
        EXPECT_EQ(label(&form, 33 + n)->text(), "0") << n;
}

TEST_F(ModuleBacked, InputsAsTheModuleReportsThem) {
    attach({});
    module->set_inputs(0x00800000u);
    TForm11 form;
    form.Data = &data;
    form.show();
    form.Timer1->stop();
    form.Timer1Timer();
    for (int n = 0; n < 32; ++n)
        EXPECT_EQ(label(&form, 33 + n)->text(), n == 23 ? "1" : "0") << n;
    module->set_inputs(0x80000001u);
    form.Timer1Timer();
    for (int n = 0; n < 32; ++n)
        EXPECT_EQ(label(&form, 33 + n)->text(), n == 0 || n == 31 ? "1" : "0") << n;
}

TEST_F(ModuleBacked, OutputsReachTheModule) {
    attach({});
    TForm9 form;
    form.Data = &data;
    form.show();
    form.findChild<QCheckBox*>(QStringLiteral("CheckBox9"))->setChecked(true);
    form.findChild<QCheckBox*>(QStringLiteral("CheckBox32"))->setChecked(true);
    form.Button1Click();
    EXPECT_EQ(form.StatusBar1->Text(0), QStringLiteral(" Data zapsána"));
    EXPECT_EQ(module->outputs(), 0x80000100u);
}

TEST_F(ModuleBacked, LostReplyShowsDriverErrorAndKeepsValue) {
    km::emu::Config cfg;
    cfg.counter_rate = 0;
    cfg.counter_start = 55;
    attach(cfg);
    TForm6 form;
    form.Data = &data;
    form.show();
    form.Timer1->stop();
    auto* panel = form.findChild<QLabel*>(QStringLiteral("Panel1"));
    form.Timer1Timer();
    ASSERT_EQ(panel->text(), QStringLiteral("55"));
    km::emu::FaultRule drop;
    drop.kind = km::emu::FaultKind::Drop;
    drop.count = 1;
    drop.command = 0;
    module->add_fault(drop);
    form.Timer1Timer();
    EXPECT_EQ(panel->text(), QStringLiteral("55"));
    EXPECT_EQ(form.StatusBar1->Text(0), error_text(5));
    EXPECT_TRUE(form.Timer1->isActive());
}

} // namespace
