// The trend chart's full redraw with an hour of history (36000 samples at
// 100 ms) against the same with a minute, at the window's size: the cost
// should not follow the history (one min/max summary per pixel column).
// Target: at most 5 ms for the hour. Also the history's own memory.
#include "Prubeh.h"
#include "trend_prefill.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <memory>

namespace {

std::unique_ptr<TForm16> g_okno;

TForm16& okno(double hodin) {
    g_okno = std::make_unique<TForm16>();
    g_okno->resize(980, 640);
    PredvyplnPrubeh(*g_okno, hodin);
    // Four input traces, as after a few inputs changed.
    g_okno->PaintBox1->NastavVstupy(0x00050009u);
    return *g_okno;
}

void Redraw(benchmark::State& state, double hodin, qint64 rozsah) {
    TForm16& o = okno(hodin);
    TGrafPrubehu* graf = o.PaintBox1;
    const THistoriePrubehu& h = o.Historie();
    graf->NastavPohled(h.Bod(h.Konec() - 1).Cas, rozsah);
    QImage obraz(760, 520, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&obraz);
        graf->Kresli(p, obraz.rect());
    }
    state.counters["samples"] = static_cast<double>(h.Konec() - h.Prvni());
    state.counters["history_MB"] =
        static_cast<double>(h.Kapacita() * sizeof(TBodPrubehu)) / (1024.0 * 1024.0);
}

void BM_RedrawHourOfHistoryWholeHourShown(benchmark::State& s) {
    Redraw(s, 1.0, 3600 * 1000);
}
void BM_RedrawHourOfHistoryLastMinuteShown(benchmark::State& s) {
    Redraw(s, 1.0, 60 * 1000);
}
void BM_RedrawMinuteOfHistory(benchmark::State& s) {
    Redraw(s, 1.0 / 60, 60 * 1000);
}

BENCHMARK(BM_RedrawHourOfHistoryWholeHourShown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawHourOfHistoryLastMinuteShown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawMinuteOfHistory)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    g_okno.reset();
    benchmark::Shutdown();
    return 0;
}
