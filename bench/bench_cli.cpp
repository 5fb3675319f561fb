// A full `km207 scan` of 256 addresses at one rate over UDP with a 20 ms
// timeout, the process timed from start to exit against km207-sim holding
// modules at two addresses. Target: at most 1.1 x (256 x 20 ms) plus the
// round trips of the modules found (two more identification commands each,
// priced at the median round trip that `km207 get --repeat` measures).
//
// Run: bench_cli
#include "sim_process.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <chrono>

namespace {

QByteArray run(const QStringList& args, int& status) {
    QProcess p;
    p.start(QStringLiteral(KM207_BIN), args);
    if (!p.waitForFinished(120000)) p.kill();
    status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput();
}

void BM_Km207Scan256Udp20ms(benchmark::State& state) {
    SimProcess sim({"--no-pty", "--module", "17", "--module", "200"});
    if (!sim.running()) {
        state.SkipWithError(("km207-sim did not start: " + sim.output()).c_str());
        return;
    }
    const QStringList link{"--kind",    "lan",        "--ip",
                           "127.0.0.1", "--udp-port", QString::number(sim.udp_port()),
                           "--timeout", "20"};
    int status = 0;
    const QByteArray stats =
        run(QStringList{"get", "address", "--address", "17", "--repeat", "200", "--json"} + link,
            status);
    const double medianMs = QJsonDocument::fromJson(stats.split('\n').value(200))
                                .object()
                                .value(QStringLiteral("statistics"))
                                .toObject()
                                .value(QStringLiteral("median_ms"))
                                .toDouble();
    double seconds = 0;
    int found = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const QByteArray out = run(QStringList{"scan", "--addresses", "0-255"} + link, status);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        found = static_cast<int>(out.count('\n'));
    }
    if (status != 0) state.SkipWithError("km207 scan failed");
    const double targetMs = 1.1 * 256 * 20 + found * 2 * medianMs;
    state.counters["found"] = found;
    state.counters["scan_ms"] = seconds * 1000;
    state.counters["target_ms"] = targetMs;
    state.counters["x_target"] = seconds * 1000 / targetMs;
    state.counters["x_256_timeouts"] = seconds / (256 * 0.020);
    state.counters["median_rtt_ms"] = medianMs;
}

BENCHMARK(BM_Km207Scan256Udp20ms)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
