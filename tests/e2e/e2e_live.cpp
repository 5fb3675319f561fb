// The live views against km207-sim through the real LAN driver over UDP
// loopback: the counter view follows the emulated counter, and "Nastavit
// čas" sets the emulated clock to the PC's time.
#include "Kxxx410.h"
#include "OkamCNT.h"
#include "Pripojeni.h"
#include "RTC.h"
#include "e2e_link.h"
#include "sim_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

void run_events_ms(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Opens the link to the emulator the way the operator does, through the
// connection dialog with the LAN interface.
class LiveEndToEnd : public ::testing::Test {
  protected:
    void connect_to(const SimProcess& sim) {
        ASSERT_TRUE(sim.running()) << sim.output();
        InitData(&data);
        data.Rozhrani = 4;
        data.IpAdresa = QStringLiteral("127.0.0.1");
        data.UdpPort = sim.udp_port();
        const QString stav = open_through_dialog(data);
        ASSERT_TRUE(SpojeniOtevreno(&data)) << stav.toStdString();
    }
    void TearDown() override { close_link_and_driver(data); }
    TData data;
};

TEST_F(LiveEndToEnd, CounterViewShowsTheEmulatedCounterMoving) {
    SimProcess sim({"--no-pty", "--counter", "1000", "--counter-rate", "200"});
    connect_to(sim);
    TForm6 form;
    form.Data = &data;
    form.show();
    auto* panel = form.findChild<QLabel*>(QStringLiteral("Panel1"));
    run_events_ms(400);
    const qulonglong first = panel->text().toULongLong();
    EXPECT_GE(first, 1000u);
    EXPECT_EQ(form.StatusBar1->Text(0), QLatin1Char(' ') + TextChyby(4, 0));
    run_events_ms(600);
    const qulonglong second = panel->text().toULongLong();
    // 200 counts a second: about 120 in 0.6 s, whatever the scheduling.
    EXPECT_GT(second, first + 40);
    EXPECT_LT(second, first + 1000);

    form.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    EXPECT_EQ(form.StatusBar1->Text(0), QStringLiteral(" Čítač vynulován"));
    run_events_ms(300);
    EXPECT_LT(panel->text().toULongLong(), 200u);
    form.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
}

TEST_F(LiveEndToEnd, SetClockSetsTheEmulatedClockToThePcTime) {
    // The module clock starts a day and a few hours away from the PC's.
    SimProcess sim({"--no-pty", "--clock-offset", "-100000"});
    connect_to(sim);
    TForm3 form;
    form.Data = &data;
    form.show();
    auto* time = form.findChild<QLabel*>(QStringLiteral("Label6"));
    auto* date = form.findChild<QLabel*>(QStringLiteral("Label9"));
    auto today = [] {
        const QDate d = QDate::currentDate();
        return QStringLiteral("%1.%2.%3").arg(d.day()).arg(d.month()).arg(d.year());
    };
    // Seconds between the shown module time and the PC's, across midnight too.
    auto apart = [&] {
        const QTime shown = QTime::fromString(time->text(), QStringLiteral("H:mm:ss"));
        EXPECT_TRUE(shown.isValid()) << time->text().toStdString();
        const int d = std::abs(shown.secsTo(QTime::currentTime()));
        return std::min(d, 86400 - d);
    };
    run_events_ms(500);
    ASSERT_NE(time->text(), QStringLiteral("0"));
    EXPECT_NE(date->text(), today());
    EXPECT_GT(apart(), 60);

    form.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    EXPECT_EQ(form.StatusBar1->Text(0), QStringLiteral(" Čas nastaven"));
    EXPECT_TRUE(form.Timer1->isActive());
    run_events_ms(500);
    EXPECT_LE(apart(), 2);
    if (QTime::currentTime() > QTime(0, 0, 5)) {
        EXPECT_EQ(date->text(), today());
    }
    EXPECT_EQ(form.StatusBar1->Text(0), QLatin1Char(' ') + TextChyby(4, 0));
    form.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
}

} // namespace
