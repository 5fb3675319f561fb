// A full `km207 scan` of 256 addresses at one rate over UDP with a 20 ms
// timeout, the process timed from start to exit against km207-sim holding
// modules at two addresses. Target: at most 1.1 x (256 x 20 ms) plus the
// round trips of the modules found (two more identification commands each,
// priced at the median round trip that `km207 get --repeat` measures).
//
// Also the cost of one silent address of a serial scan, by rate.
//
// Run: bench_cli
#include "driver_core.h"
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

// What one silent address costs a `km207 scan` over the pseudo-terminal at
// a rate: (scan of 65 addresses - scan of 1) / 64, so the process start and
// the link's opening drop out. Target: the driver's response timeout plus
// 20 character times (10 bits each) at the rate.
void BM_Km207ScanSilentSerial(benchmark::State& state) {
    const auto baud = static_cast<uint32_t>(state.range(0));
    SimProcess sim({"--no-udp", "--address", "255"});
    if (!sim.running()) {
        state.SkipWithError(("km207-sim did not start: " + sim.output()).c_str());
        return;
    }
    qputenv("KM207_COM1", QByteArray::fromStdString(sim.pty()));
    const QStringList link{"--kind", "com", "--port", "1", "--bauds", QString::number(baud)};
    const auto timed = [&](const QString& addresses) {
        int status = 0;
        const auto start = std::chrono::steady_clock::now();
        run(QStringList{"scan", "--addresses", addresses} + link, status);
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    double perAddressMs = 0;
    for (auto _ : state)
        perAddressMs = (timed(QStringLiteral("0-64")) - timed(QStringLiteral("0-0"))) / 64;
    const double targetMs = km::serial_response_timeout_ms(baud) + 20 * 10 * 1000.0 / baud;
    state.counters["silent_address_ms"] = perAddressMs;
    state.counters["target_ms"] = targetMs;
    state.counters["x_target"] = perAddressMs / targetMs;
}

BENCHMARK(BM_Km207ScanSilentSerial)
    ->Arg(600)
    ->Arg(9600)
    ->Arg(115200)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
