// One poll cycle of a line (TLinka::Cyklus, as "Přehled linky" and `km207
// line watch` run it) against km207-sim, each as a ratio to its floor
// measured in the same iterations, so a busy machine weighs on both:
// - over UDP (KL4100), N modules at one rate: at most 1.1 x N x one
//   module's identification-sized exchange (the three commands 200);
// - over the pseudo-terminal (KSER410), N modules, half at 9600 Bd and half
//   at 19200 Bd, the rates enforced (--strict-baud): at most 1.1 x (each
//   module's exchange at its rate + one SetConfig per rate).
// The cycles are steady ones: the first contact (identification, counter
// mode, power failure) is made before the timing starts.
//
// Run: bench_linka [--benchmark_filter=...]
#include "HledaniOvladace.h"
#include "Kxxx410.h"
#include "Linka.h"
#include "Operace.h"
#include "Rychlosti.h"
#include "Spojeni.h"
#include "sim_process.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The two rates of the line: the link's own first.
constexpr int kIndexA = 4; // 9600 Bd
constexpr int kIndexB = 5; // 19200 Bd

// N modules at addresses 1..N; with two rates the first half at kIndexA, the
// rest at kIndexB.
std::vector<TModulLinky> line_of(int n, bool two_rates) {
    std::vector<TModulLinky> m(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        m[static_cast<size_t>(i)].Adresa = static_cast<uint8_t>(i + 1);
        m[static_cast<size_t>(i)].IndexRychlosti = i < n / 2 || !two_rates ? kIndexA : kIndexB;
    }
    return m;
}

std::vector<std::string> sim_args(const std::vector<TModulLinky>& line, bool serial) {
    std::vector<std::string> a = {serial ? "--strict-baud" : "--no-pty"};
    for (const TModulLinky& m : line) {
        a.push_back("--module");
        a.push_back(std::to_string(m.Adresa) + ":" + std::to_string(m.IndexRychlosti));
    }
    return a;
}

// The link to the emulator, opened as the connection dialog opens it, at
// the first rate.
class Link {
  public:
    Link(const SimProcess& sim, bool serial) {
        NastavAdresarOvladacu(QString::fromUtf8(KM_DRIVER_DIR));
        InitData(&data);
        if (serial) {
            setenv("KM207_COM1", sim.pty().c_str(), 1);
            data.Rozhrani = 0;
            data.CisloPortu = 1;
        } else {
            data.Rozhrani = 4;
            data.IpAdresa = QStringLiteral("127.0.0.1");
            data.UdpPort = sim.udp_port();
        }
        data.Rychlost = IndexNaRychlost(kIndexA);
        TOtevreni jak;
        jak.Az = TKrokSpojeni::SetConfig;
        jak.IndexRychlosti = kIndexA;
        uint32_t handle = 0;
        open_ = OtevriSpojeni(data, handle, jak).Uspech();
    }
    ~Link() {
        uint32_t handle = data.Handle;
        if (open_) OvladacDone(data.Rozhrani, handle);
        OvladacUvolni();
    }
    bool open() const { return open_; }
    // The driver's rate, as the cycle sets it.
    void rate(int index) const {
        OvladacSetConfig(data.Rozhrani, data.Handle, IndexNaRychlost(index), IndexNaCasovani(index),
                         OpakovaniSpojeni);
    }

    TData data;

  private:
    bool open_ = false;
};

// The cycle and its floor, iteration by iteration: the floor is each
// module's three commands 200 at its rate, and on the serial line the
// SetConfig to the other rate and back. The time reported is the cycle's.
void cycle_against_floor(benchmark::State& state, bool serial) {
    const std::vector<TModulLinky> moduly = line_of(static_cast<int>(state.range(0)), serial);
    SimProcess sim(sim_args(moduly, serial));
    if (!sim.running()) {
        state.SkipWithError(("km207-sim did not start: " + sim.output()).c_str());
        return;
    }
    Link link(sim, serial);
    if (!link.open()) {
        state.SkipWithError("the link did not open");
        return;
    }
    TLinka linka;
    QString chyba;
    if (!linka.Nastav(moduly, chyba)) {
        state.SkipWithError(chyba.toStdString().c_str());
        return;
    }
    const TCil cil = CilModulu(link.data);
    // First contact, out of the figures.
    if (!linka.Cyklus(cil).Uspech()) {
        state.SkipWithError("the first cycle failed");
        return;
    }
    double cycles = 0, floor = 0, switches = 0;
    int failed = 0, commands = 0, setconfigs = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        const TVysledekCyklu v = linka.Cyklus(cil);
        const double cycle = since(start);
        state.SetIterationTime(cycle);
        cycles += cycle;
        failed += v.Uspech() ? 0 : 1;
        commands += v.Prikazu;
        setconfigs += v.Nastaveni;

        for (const int index : {kIndexA, kIndexB}) {
            if (index == kIndexB && !serial) break;
            if (index != kIndexA) {
                start = Clock::now();
                link.rate(index);
                switches += since(start);
            }
            start = Clock::now();
            for (const TModulLinky& m : moduly) {
                if (m.IndexRychlosti != index) continue;
                QString modul, text;
                failed += Identifikuj(CilModulu(link.data, m.Adresa), modul, text) == 0 ? 0 : 1;
            }
            floor += since(start);
        }
        if (serial) {
            start = Clock::now();
            link.rate(kIndexA);
            switches += since(start);
        }
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["floor_ms"] = 1000 * (floor + switches) / n;
    state.counters["setconfig_ms"] = 1000 * switches / n;
    state.counters["commands"] = commands / n;
    state.counters["setconfigs"] = setconfigs / n;
    state.counters["failed"] = failed;
    // The target: at most 1.1.
    state.counters["x_floor"] = cycles / (floor + switches);
}

void BM_CycleUdp(benchmark::State& state) {
    cycle_against_floor(state, false);
}

void BM_CycleSerial9600And19200(benchmark::State& state) {
    cycle_against_floor(state, true);
}

BENCHMARK(BM_CycleUdp)->Arg(8)->Arg(30)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CycleSerial9600And19200)
    ->Arg(8)
    ->Arg(30)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
