// Costs of the shared operations below the windows:
// - what the communication record adds to every command, with no observer
//   (target: negligible) and with the log attached;
// - the log's append on a full ring, one text line, the statistics;
// - a search of 256 addresses at one rate through the LAN driver against
//   km207-sim with a 20 ms timeout (target: at most 1.1 x 256 x 20 ms plus
//   the round trips of the modules found).
//
// Run: bench_operace [--benchmark_filter=...]
#include "HledaniOvladace.h"
#include "Komunikace.h"
#include "Kxxx410.h"
#include "Operace.h"
#include "Spojeni.h"
#include "sim_process.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <chrono>

namespace {

TZaznamPrikazu sample() {
    TZaznamPrikazu z;
    z.Cas = QDateTime::currentDateTime();
    z.Rozhrani = 4;
    z.Adresa = 5;
    z.Prikaz = 102;
    z.Pozadavek = {0, 62, 62, 0, 0};
    z.Odpoved = {0, 62, 62, 4, 4};
    z.DobaUs = 3412;
    return z;
}

// The record's part of ProvedPrikaz when nobody listens.
void BM_RecordWithoutObserver(benchmark::State& state) {
    NastavPozorovatele({});
    for (auto _ : state) {
        TMereniPrikazu m(4, 5, 102, 0, {0, 62, 62, 0, 0});
        m.Oznam({0, 62, 62, 4, 4}, 0);
        benchmark::DoNotOptimize(m);
    }
}

// The same with the log attached: clocks read, the record kept.
void BM_RecordIntoTheLog(benchmark::State& state) {
    TLogKomunikace log;
    log.Pripoj();
    for (auto _ : state) {
        TMereniPrikazu m(4, 5, 102, 0, {0, 62, 62, 0, 0});
        m.Oznam({0, 62, 62, 4, 4}, 0);
    }
    state.counters["kept"] = log.Pocet();
}

void BM_AppendToAFullLog(benchmark::State& state) {
    TLogKomunikace log;
    const TZaznamPrikazu z = sample();
    for (int i = 0; i < log.Kapacita(); ++i)
        log.Pridej(z);
    for (auto _ : state)
        log.Pridej(z);
    state.counters["held"] = log.Pocet();
}

void BM_OneTextLine(benchmark::State& state) {
    TLogKomunikace log;
    log.NastavZdrojTextu([](uint8_t, uint8_t) { return QStringLiteral("V pořádku"); });
    log.Pridej(sample());
    for (auto _ : state)
        benchmark::DoNotOptimize(log.Radek(0));
}

void BM_Statistics(benchmark::State& state) {
    TPocitadloPrikazu p;
    for (uint32_t i = 0; i < 100000; ++i)
        p.Pridej(i % 50 == 0 ? 5 : 0, 2000 + (i * 7919) % 60000);
    for (auto _ : state)
        benchmark::DoNotOptimize(p.Statistika());
}

// One search of 256 addresses over UDP; km207-sim holds modules at two of
// them.
void BM_Search256Udp20ms(benchmark::State& state) {
    SimProcess sim({"--no-pty", "--module", "17", "--module", "200"});
    if (!sim.running()) {
        state.SkipWithError(("km207-sim did not start: " + sim.output()).c_str());
        return;
    }
    NastavAdresarOvladacu(QString::fromUtf8(KM_DRIVER_DIR));
    TData data;
    data.Rozhrani = 4;
    data.IpAdresa = QStringLiteral("127.0.0.1");
    data.UdpPort = sim.udp_port();
    data.UdpTimeout = 20;
    data.Rychlost = 9600;
    uint32_t handle = 0;
    TOtevreni jak;
    jak.Az = TKrokSpojeni::SetConfig;
    if (!OtevriSpojeni(data, handle, jak).Uspech()) {
        state.SkipWithError("KL4100 did not open");
        OvladacUvolni();
        return;
    }
    THledani h;
    h.Rychlosti = {4};
    size_t found = 0;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        found = Hledej(CilModulu(data), h).Nalezene.size();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["found"] = static_cast<double>(found);
    // Against 256 x 20 ms: the target is at most 1.1 plus the found modules'
    // round trips.
    state.counters["x_256_timeouts"] = seconds / (256 * 0.020);
    OvladacDone(4, handle);
    OvladacUvolni();
}

BENCHMARK(BM_RecordWithoutObserver);
BENCHMARK(BM_RecordIntoTheLog);
BENCHMARK(BM_AppendToAFullLog);
BENCHMARK(BM_OneTextLine);
BENCHMARK(BM_Statistics)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Search256Udp20ms)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
