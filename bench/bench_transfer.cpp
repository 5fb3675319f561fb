// A full "Zapsat" of the digital input/output settings dialog on a LAN link
// to km207-sim: from the click to the final status text painted, against
// its bound, 24 pauses of 1 ms plus the 24 round trips of the same commands.
//
// Run under a window system to count the real cost of painting, e.g.
//   tests/wm/with_wm.sh build/bin/bench_transfer
// (without a display it runs on Qt's offscreen platform). Prints the medians,
// the ratio to the bound (target: at most 1.10) and the length of one pause.
#include "HledaniOvladace.h"
#include "Kxxx410.h"
#include "NastavDIO.h"
#include "Prenos.h"
#include "Spojeni.h"
#include "median_reporter.h"
#include "sim_process.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

using Hodiny = std::chrono::steady_clock;

double sekundy(Hodiny::duration d) {
    return std::chrono::duration<double>(d).count();
}

// km207-sim and a LAN link to it, opened once for every benchmark.
struct Spojeni {
    SimProcess sim{{"--no-pty"}};
    TData data;

    Spojeni() {
        InitData(&data);
        if (!sim.running()) return;
        NastavAdresarOvladacu(QString::fromUtf8(KM_DRIVER_DIR));
        data.Rozhrani = 4;
        data.IpAdresa = QStringLiteral("127.0.0.1");
        data.UdpPort = sim.udp_port();
        data.UdpTimeout = 100;
        data.Adresa = 0;
        uint32_t handle = 0;
        TOtevreni jak;
        jak.Az = TKrokSpojeni::Init;
        OtevriSpojeni(data, handle, jak);
    }
    ~Spojeni() {
        if (SpojeniOtevreno(&data)) OvladacDone(data.Rozhrani, data.Handle);
        OvladacUvolni();
    }
    bool otevreno() const { return SpojeniOtevreno(&data); }
};

// Made by the first benchmark that needs them, closed by main while the
// application still exists.
std::unique_ptr<Spojeni> g_spojeni;
std::unique_ptr<TForm14> g_dialog;

Spojeni& spojeni() {
    if (!g_spojeni) g_spojeni = std::make_unique<Spojeni>();
    return *g_spojeni;
}

// Registers of the dialog in the order of its transfers.
const uint8_t kRegistry[12] = {32, 35, 38, 41, 33, 36, 39, 42, 34, 37, 40, 43};

// Notes when the panel paints the text it waits for.
class Malovani : public QObject {
  public:
    Malovani(QLabel* panel, QString cil) : panel_(panel), cil_(std::move(cil)) {
        panel_->installEventFilter(this);
    }
    ~Malovani() override { panel_->removeEventFilter(this); }
    bool hotovo = false;
    int malovani = 0;

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == panel_ && e->type() == QEvent::Paint) {
            ++malovani;
            if (panel_->text() == cil_) hotovo = true;
        }
        return false;
    }

  private:
    QLabel* panel_;
    QString cil_;
};

// One pause of a transfer.
void BM_Pauza(benchmark::State& state) {
    for (auto _ : state)
        Pauza();
}

// The 24 commands of a full write (12 writes, each read back), each after a
// pause as in the transfer, so that the emulator wakes for each as it does
// there. Only the commands are timed.
void BM_PrikazyZapisu(benchmark::State& state) {
    Spojeni& s = spojeni();
    if (!s.otevreno()) {
        state.SkipWithError("no link to km207-sim");
        return;
    }
    for (auto _ : state) {
        Hodiny::duration prikazy{};
        for (uint8_t r : kRegistry) {
            for (uint8_t prikaz : {PrikazZapis, PrikazCti}) {
                Pauza();
                uint8_t v = 0x5A;
                const auto t0 = Hodiny::now();
                const uint8_t chyba = PrikazRegistru(4, s.data.Handle, 0, prikaz, r, v);
                prikazy += Hodiny::now() - t0;
                if (chyba != 0) {
                    state.SkipWithError("command failed");
                    return;
                }
            }
        }
        state.SetIterationTime(sekundy(prikazy));
    }
}

// The dialog on the link, shown and exposed, after one transfer to warm up.
TForm14* dialog() {
    std::unique_ptr<TForm14>& dlg = g_dialog;
    if (!dlg) {
        dlg = std::make_unique<TForm14>();
        dlg->Data = &spojeni().data;
        dlg->show();
        if (!QTest::qWaitForWindowExposed(dlg.get())) return nullptr;
        QTest::qWait(200);
        QTest::mouseClick(dlg->Button1, Qt::LeftButton);
        QTest::qWait(50);
    }
    return dlg.get();
}

// Click on "Zapsat" until " Konfigurace zapsána." is painted.
void BM_ZapsatDIO(benchmark::State& state) {
    if (!spojeni().otevreno()) {
        state.SkipWithError("no link to km207-sim");
        return;
    }
    TForm14* dlg = dialog();
    if (!dlg) {
        state.SkipWithError("the dialog was not exposed");
        return;
    }
    QLabel* panel = dlg->StatusBar1->Panel(0);
    int malovani = 0, prenosy = 0;
    for (auto _ : state) {
        Malovani m(panel, QStringLiteral(" Konfigurace zapsána."));
        const auto t0 = Hodiny::now();
        QTest::mouseClick(dlg->Button1, Qt::LeftButton);
        const auto t1 = Hodiny::now();
        if (!m.hotovo) {
            state.SkipWithError(("final text not painted: " + panel->text().toStdString()).c_str());
            return;
        }
        state.SetIterationTime(sekundy(t1 - t0));
        // What the transfer left for later runs before the next click.
        QCoreApplication::processEvents();
        malovani += m.malovani;
        ++prenosy;
    }
    if (prenosy) state.counters["panel_paints"] = static_cast<double>(malovani) / prenosy;
}

BENCHMARK(BM_Pauza)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100)
    ->Repetitions(9)
    ->ReportAggregatesOnly();
// One transfer per repetition: the median of single transfers, so that a
// moment when the machine is busy elsewhere does not count in every figure.
BENCHMARK(BM_PrikazyZapisu)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(41)
    ->ReportAggregatesOnly();
BENCHMARK(BM_ZapsatDIO)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(41)
    ->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    g_dialog.reset();
    g_spojeni.reset();
    const auto m = reporter.medians;
    if (m.count("BM_Pauza") && m.count("BM_PrikazyZapisu") && m.count("BM_ZapsatDIO")) {
        const double meze = 24 * 1.0 + m.at("BM_PrikazyZapisu");
        std::printf("\nplatform %s\n", qPrintable(QGuiApplication::platformName()));
        std::printf("one pause %.3f ms (1 ms sleep after the window messages)\n", m.at("BM_Pauza"));
        std::printf("24 round trips %.2f ms; bound 24 x 1 ms + that = %.2f ms\n",
                    m.at("BM_PrikazyZapisu"), meze);
        std::printf("\"Zapsat\" click to final text painted %.2f ms; ratio %.3f (target <= 1.10)\n",
                    m.at("BM_ZapsatDIO"), m.at("BM_ZapsatDIO") / meze);
    }
    return 0;
}
