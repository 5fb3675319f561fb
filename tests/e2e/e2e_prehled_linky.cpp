// The line overview against km207-sim through the real drivers, over UDP
// and over the pseudo-terminal: the line of eight modules at two rates
// (line_under_test.h) opened from its file through the window. During the
// poll one module stops answering, one is power-cycled alone and one has
// ERR24: the window flags those three, in words, and no other. And while
// another window of the program holds the link, the overview sends nothing.
#include "Hlavni.h"
#include "PrehledLinky.h"
#include "SouborLinky.h"
#include "e2e_link.h"
#include "line_under_test.h"
#include "sim_process.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

constexpr int kWaitMs = 20000;

QString g_file;
QString chosen(QWidget*, const QString&, const QString&, bool) {
    return g_file;
}

// The flags of each row that has any, as the window words them, by address.
std::map<int, QString> flags(const TForm17& w) {
    std::map<int, QString> f;
    for (int r = 0; r < w.TabulkaModulu->rowCount(); ++r)
        if (const QString t = w.TabulkaModulu->item(r, TForm17::SPriznaky)->text(); !t.isEmpty())
            f[w.TabulkaModulu->item(r, TForm17::SAdresa)->text().toInt()] = t;
    return f;
}

bool every_module_answers(const TForm17& w) {
    for (int r = 0; r < w.TabulkaModulu->rowCount(); ++r)
        if (w.TabulkaModulu->item(r, TForm17::SStav)->text() != QStringLiteral("odpovídá"))
            return false;
    return w.TabulkaModulu->rowCount() == int(line_under_test::kModules.size());
}

// The main window on a link to the emulator, with the overview open on the
// line file and polling once every module answers.
class LineOverview : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        saved_chooser = ZvolSoubor;
        ZvolSoubor = chosen;
        g_file = dir.filePath(QStringLiteral("linka.km207linka"));
        TSouborLinky file;
        for (const auto& m : line_under_test::kModules)
            file.Moduly.push_back({static_cast<uint8_t>(m.address), m.baud_index, {}, {}});
        QString error;
        ASSERT_TRUE(UlozLinku(g_file, file, error)) << error.toStdString();
        main = std::make_unique<TForm1>();
    }
    void TearDown() override {
        if (main->Prehled) main->Prehled->close();
        close_link_and_driver(*main->Data);
        main.reset();
        ZvolSoubor = saved_chooser;
        unsetenv("KM207_COM1");
    }
    TForm17* open_overview(const SimProcess& sim, bool serial) {
        TData& data = *main->Data;
        if (serial) {
            setenv("KM207_COM1", sim.pty().c_str(), 1);
            data.Rozhrani = 0;
        } else {
            data.Rozhrani = 4;
            data.IpAdresa = QStringLiteral("127.0.0.1");
            data.UdpPort = sim.udp_port();
        }
        data.Adresa = 1;
        const QString text = open_through_dialog(data);
        EXPECT_TRUE(SpojeniOtevreno(&data)) << text.toStdString();
        main->Prehledlinky1->trigger();
        TForm17* w = main->Prehled;
        w->findChild<QPushButton*>(QStringLiteral("ButtonOtevrit"))->click();
        EXPECT_TRUE(QTest::qWaitFor([w] { return every_module_answers(*w); }, kWaitMs));
        return w;
    }

    QTemporaryDir dir;
    std::unique_ptr<TForm1> main;
    decltype(ZvolSoubor) saved_chooser = nullptr;
};

TEST_P(LineOverview, FlagsTheModuleThatStopsTheOnePowerCycledAndErr24AndNoOther) {
    using namespace line_under_test;
    SimProcess sim(sim_args());
    ASSERT_TRUE(sim.running()) << sim.output();
    TForm17* w = open_overview(sim, GetParam());
    ASSERT_TRUE(every_module_answers(*w));
    EXPECT_EQ(flags(*w), (std::map<int, QString>{{kErr24, "ERR24"}}));
    w->findChild<QPushButton*>(QStringLiteral("ButtonPotvrdit"))->click();

    ::kill(sim.pid(), SIGUSR2);
    ::kill(sim.pid(), SIGUSR1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return flags(*w).size() == 3; }, kWaitMs));
    const std::map<int, QString> f = flags(*w);
    EXPECT_EQ(f.size(), 3u);
    EXPECT_EQ(f.count(kStops) ? f.at(kStops) : "", QStringLiteral("neodpovídá"));
    EXPECT_TRUE(f.count(kCycled) && f.at(kCycled).startsWith(QStringLiteral("výpadek napájení")))
        << (f.count(kCycled) ? f.at(kCycled).toStdString() : "");
    EXPECT_EQ(f.count(kErr24) ? f.at(kErr24) : "", QStringLiteral("ERR24"));
    EXPECT_NE(sim.output().find("power-down: address 3 "), std::string::npos) << sim.output();
}

INSTANTIATE_TEST_SUITE_P(UdpAndSerial, LineOverview, ::testing::Values(false, true),
                         [](const auto& p) { return p.param ? "Serial" : "Udp"; });

// A dialog asked for from the menu in the middle of a poll cycle: the cycle
// stops at its next pause, then the dialog opens and, for as long as it is
// open, no command reaches the link.
TEST_F(LineOverview, NothingIsSentWhileAnotherWindowHoldsTheLink) {
    SimProcess sim(line_under_test::sim_args());
    ASSERT_TRUE(sim.running()) << sim.output();
    TForm17* w = open_overview(sim, false);
    const TLogKomunikace& log = main->Protokol1->Log;
    // Asked for from the pause between two commands of the next cycle.
    QObject::connect(
        w->TabulkaModulu, &QTableWidget::itemChanged, main.get(),
        [this] { QTimer::singleShot(0, main.get(), [this] { main->AdresaRychlost1->trigger(); }); },
        Qt::SingleShotConnection);
    // Looks from whatever loop runs (the dialog's own, once it is open).
    uint64_t sent_while_open = ~uint64_t{0};
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        look.stop();
        const uint64_t at_open = log.Celkem();
        QTimer::singleShot(2500, dialog, [&, dialog, at_open] { // two periods and a half
            sent_while_open = log.Celkem() - at_open;
            dialog->close();
        });
    });
    look.start(10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sent_while_open != ~uint64_t{0}; }, kWaitMs));
    EXPECT_EQ(sent_while_open, 0u);
    const uint64_t at_close = log.Celkem();
    EXPECT_TRUE(QTest::qWaitFor([&] { return log.Celkem() > at_close; }, kWaitMs))
        << "the poll goes on once the dialog has closed";
}

} // namespace
