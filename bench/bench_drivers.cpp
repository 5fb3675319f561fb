// Round trip of one module command through the LAN driver to km207-sim,
// side by side with two floors measured in the same run: a bare UDP echo
// and a libmodbus TCP read of one register, each served by a second process
// that blocks in its receive, as km207-sim does. And the same command with
// the driver in km207-driverhost, against pipe floors.
//
// Run: bench_drivers [--cpu=N] [benchmark flags]. Client and servers run
// pinned to one core (N, default the first core this process may use; -1
// leaves them free), so every round trip crosses between processes on that
// core, and the repetitions are interleaved. Prints the ratios with their
// targets, of the median wall times and of the median CPU times of client
// and server added up (steadier on a busy machine), and what the driver
// host adds (target: at most 10 us).
//
// bench_drivers --exchanges=N --udp-port=P sends N commands through KL4100
// to a km207-sim already serving 127.0.0.1:P and exits; bench/syscalls.sh
// counts the system calls of such runs.
#include "HledaniOvladace.h"
#include "Kxxx410.h"
#include "child_process.h"
#include "km_protocol.h"
#include "machine.h"
#include "median_reporter.h"
#include "sim_process.h"

#include <benchmark/benchmark.h>
#include <modbus/modbus.h>

#include <QCoreApplication>
#include <QProcess>
#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <netinet/in.h>
#include <sched.h>
#include <signal.h>
#include <string>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

int loopback_socket(uint16_t& port) {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return fd;
}

// A server process, stopped and reaped when this goes.
struct Child {
    pid_t pid = -1;
    ~Child() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
};

double cpu_seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// CPU time the server process spends over the timed loop, per iteration, as
// the counter "server_cpu". With client and server on one core, wall time is
// close to the two CPU times added up; that sum varies far less than wall
// time when other work shares the core.
class ServerCpu {
  public:
    ServerCpu(benchmark::State& state, pid_t pid) : state_(state) {
        if (clock_getcpuclockid(pid, &clock_) == 0) start_ = cpu_seconds(clock_);
    }
    ~ServerCpu() {
        if (start_ < 0) return;
        state_.counters["server_cpu"] =
            benchmark::Counter(cpu_seconds(clock_) - start_, benchmark::Counter::kAvgIterations);
    }

  private:
    benchmark::State& state_;
    clockid_t clock_{};
    double start_ = -1;
};

// The floor: a second process that blocks in recvfrom and echoes with
// sendto; the client sends and blocks in recv. Two system calls each.
void BM_UdpEchoTwoProcesses(benchmark::State& state) {
    uint16_t port = 0;
    const int server = loopback_socket(port);
    Child child;
    child.pid = fork();
    if (child.pid == 0) {
        uint8_t buf[64];
        for (;;) {
            sockaddr_in from{};
            socklen_t len = sizeof from;
            const ssize_t n =
                recvfrom(server, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
            if (n > 0)
                sendto(server, buf, static_cast<std::size_t>(n), 0,
                       reinterpret_cast<sockaddr*>(&from), len);
        }
    }
    close(server);
    uint16_t own = 0;
    const int fd = loopback_socket(own);
    timeval limit{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(port);
    uint8_t frame[km::proto::kUdpFrameSize] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    uint8_t buf[64];
    ServerCpu server_cpu(state, child.pid);
    for (auto _ : state) {
        sendto(fd, frame, sizeof frame, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        if (recv(fd, buf, sizeof buf, 0) != sizeof frame) {
            state.SkipWithError("echo lost");
            break;
        }
    }
    close(fd);
}

// libmodbus reading one holding register over TCP from a libmodbus server
// in a second process.
void BM_ModbusTcpReadRegister(benchmark::State& state) {
    int port_pipe[2];
    if (pipe(port_pipe) != 0) {
        state.SkipWithError("pipe failed");
        return;
    }
    Child child;
    child.pid = fork();
    if (child.pid == 0) {
        close(port_pipe[0]);
        modbus_t* ctx = modbus_new_tcp("127.0.0.1", 0);
        modbus_mapping_t* map = modbus_mapping_new(0, 0, 1, 0);
        const int listener = ctx && map ? modbus_tcp_listen(ctx, 1) : -1;
        sockaddr_in a{};
        socklen_t len = sizeof a;
        uint16_t port = 0;
        if (listener >= 0 && getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len) == 0)
            port = ntohs(a.sin_port);
        if (write(port_pipe[1], &port, sizeof port) != sizeof port || port == 0) _exit(1);
        int s = listener;
        if (modbus_tcp_accept(ctx, &s) < 0) _exit(1);
        map->tab_registers[0] = 0x1234;
        uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
        for (;;) {
            const int rc = modbus_receive(ctx, query);
            if (rc > 0)
                modbus_reply(ctx, query, rc, map);
            else if (rc < 0)
                _exit(0);
        }
    }
    close(port_pipe[1]);
    uint16_t port = 0;
    const bool got = read(port_pipe[0], &port, sizeof port) == sizeof port && port != 0;
    close(port_pipe[0]);
    modbus_t* ctx = got ? modbus_new_tcp("127.0.0.1", port) : nullptr;
    if (!ctx || modbus_connect(ctx) != 0) {
        state.SkipWithError("libmodbus server did not start");
        if (ctx) modbus_free(ctx);
        return;
    }
    uint16_t value = 0;
    ServerCpu server_cpu(state, child.pid);
    for (auto _ : state) {
        if (modbus_read_registers(ctx, 0, 1, &value) != 1 || value != 0x1234) {
            state.SkipWithError("read failed");
            break;
        }
    }
    modbus_close(ctx);
    modbus_free(ctx);
}

// Opens KL4100 to 127.0.0.1:port as the program does; 0 handle on failure.
uint32_t open_lan(uint16_t port, std::string& ip) {
    NastavAdresarOvladacu(QString::fromUtf8(KM_DRIVER_DIR));
    TKonfigOvladace cfg{};
    cfg[0] = reinterpret_cast<uintptr_t>(ip.c_str());
    cfg[1] = port;
    cfg[2] = 100;
    uint32_t handle = 0;
    if (OvladacInit(4, handle, cfg) != 0 || OvladacSetConfig(4, handle, 9600, 13, 2) != 0) return 0;
    return handle;
}

bool identify(uint32_t handle) {
    uint8_t b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, chyba = 0xFF;
    static TOdpoved odpoved; // ProvedPrikaz clears it itself
    ProvedPrikaz(4, handle, 0, 200, 0, &b0, &b1, &b2, &b3, &b4, chyba, odpoved);
    return chyba == 0;
}

// A bare pipe round trip between this process and a child echoing back:
// the floor of any driver host, which adds its framing and the waits with
// a deadline on top.
void BM_PipeFloorProcess(benchmark::State& state) {
    int to_child[2], from_child[2];
    if (pipe(to_child) != 0 || pipe(from_child) != 0) {
        state.SkipWithError("pipe failed");
        return;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(to_child[1]);
        close(from_child[0]);
        uint8_t buf[512];
        for (;;) {
            const ssize_t n = read(to_child[0], buf, sizeof buf);
            if (n <= 0 || write(from_child[1], buf, static_cast<size_t>(n)) != n) _exit(0);
        }
    }
    close(to_child[0]);
    close(from_child[1]);
    uint8_t frame[460] = {1, 2, 3};
    uint8_t buf[512];
    for (auto _ : state) {
        if (write(to_child[1], frame, sizeof frame) != sizeof frame ||
            read(from_child[0], buf, sizeof buf) <= 0) {
            state.SkipWithError("echo lost");
            break;
        }
    }
    close(to_child[1]);
    close(from_child[0]);
    if (child > 0) waitpid(child, nullptr, 0);
}

// The same echo through QProcess, as the program once spoke to a driver
// host: what Qt's process plumbing adds to the bare pipe.
void BM_QProcessEchoFloor(benchmark::State& state) {
    QProcess cat;
    cat.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    cat.start(QStringLiteral("cat"), {});
    if (!cat.waitForStarted(5000)) {
        state.SkipWithError("cat did not start");
        return;
    }
    const QByteArray frame(460, 'x');
    char buf[4096];
    for (auto _ : state) {
        cat.write(frame);
        qint64 got = 0;
        while (got < frame.size() && cat.waitForReadyRead(1000))
            got += cat.read(buf, sizeof buf);
        if (got != frame.size()) {
            state.SkipWithError("echo lost");
            break;
        }
    }
    cat.closeWriteChannel();
    cat.waitForFinished(5000);
}

// The same echo through the program's own child process and pipes, as it
// speaks to a driver host now.
void BM_ChildEchoFloor(benchmark::State& state) {
    kmhost::ChildCommand cat;
    cat.program = "cat";
    std::unique_ptr<kmhost::ChildProcess> child = kmhost::start_child(cat);
    if (!child) {
        state.SkipWithError("cat did not start");
        return;
    }
    const std::vector<uint8_t> frame(460, 'x');
    uint8_t buf[4096];
    for (auto _ : state) {
        long got = 0;
        if (child->write(frame.data(), frame.size(), 1000))
            for (long n; got < long(frame.size()) && (n = child->read(buf, sizeof buf, 1000)) > 0;)
                got += n;
        if (got != long(frame.size())) {
            state.SkipWithError("echo lost");
            break;
        }
    }
    child->finish(5000);
}

// Identification commands through ProvedPrikaz, `kind`'s library from
// `folder` bound as the program binds it; in a host when `isolate`.
void round_trips(benchmark::State& state, uint8_t kind, const QString& folder, bool isolate,
                 const TKonfigOvladace& cfg) {
    NastavAdresarOvladacu(folder);
    NastavIzolaciOvladacu(isolate);
    uint32_t handle = 0;
    TKonfigOvladace block = cfg;
    if (OvladacInit(kind, handle, block) != 0 || OvladacSetConfig(kind, handle, 9600, 13, 2) != 0) {
        state.SkipWithError("the driver did not open");
        OvladacUvolni();
        return;
    }
    state.SetLabel(OvladacVazba().toStdString());
    TOdpoved odpoved{};
    for (auto _ : state) {
        uint8_t b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, chyba = 0xFF;
        ProvedPrikaz(kind, handle, 0, 200, 0, &b0, &b1, &b2, &b3, &b4, chyba, odpoved);
        if (chyba != 0) {
            state.SkipWithError("command failed");
            break;
        }
    }
    OvladacDone(kind, handle);
    OvladacUvolni();
    NastavIzolaciOvladacu(false);
}

// KL4100 to km207-sim as it is started by default (UDP and the
// pseudo-terminal), in this process or in km207-driverhost.
void sim_round_trips(benchmark::State& state, bool isolate) {
    SimProcess sim;
    if (!sim.running()) {
        state.SkipWithError(("km207-sim did not start: " + sim.output()).c_str());
        return;
    }
    std::string ip = "127.0.0.1";
    TKonfigOvladace cfg{};
    cfg[0] = reinterpret_cast<uintptr_t>(ip.c_str());
    cfg[1] = sim.udp_port();
    cfg[2] = 100;
    ServerCpu server_cpu(state, sim.pid());
    round_trips(state, 4, QString::fromUtf8(KM_DRIVER_DIR), isolate, cfg);
}

void BM_ProvedPrikazKL4100(benchmark::State& state) {
    sim_round_trips(state, false);
}
void BM_ProvedPrikazKL4100Host(benchmark::State& state) {
    sim_round_trips(state, true);
}

// The test driver with a module model inside it (no network): the cost of
// the host alone, natively and as a 32-bit DLL in the Windows host under Wine.
void BM_ModelInProcess(benchmark::State& state) {
    round_trips(state, 0, QStringLiteral(STANDIN_DIR "/model"), false, {});
}
void BM_ModelHost(benchmark::State& state) {
    round_trips(state, 0, QStringLiteral(STANDIN_DIR "/model"), true, {});
}
#ifdef KM_WIN32_DIR
void BM_ModelWineHost(benchmark::State& state) {
    // A prefix of its own in the build tree, so its Wine server is started
    // by this run (and pinned with it).
    if (qEnvironmentVariableIsEmpty("WINEPREFIX")) qputenv("WINEPREFIX", KM_WINEPREFIX_BENCH);
    if (qEnvironmentVariableIsEmpty("WINEDEBUG")) qputenv("WINEDEBUG", "-all");
    if (kmhost::runs_32bit_programs() == kmhost::Runs32::no) {
        state.SkipWithError("this machine's kernel cannot run 32-bit programs");
        return;
    }
    round_trips(state, 0, QStringLiteral(KM_WIN32_DIR "/model"), false, {});
}
#endif

BENCHMARK(BM_UdpEchoTwoProcesses)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();
BENCHMARK(BM_ModbusTcpReadRegister)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();
BENCHMARK(BM_ProvedPrikazKL4100)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();

BENCHMARK(BM_ProvedPrikazKL4100Host)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();
BENCHMARK(BM_PipeFloorProcess)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();
BENCHMARK(BM_QProcessEchoFloor)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();
BENCHMARK(BM_ChildEchoFloor)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();
BENCHMARK(BM_ModelInProcess)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();
BENCHMARK(BM_ModelHost)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();
#ifdef KM_WIN32_DIR
BENCHMARK(BM_ModelWineHost)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();
#endif

// Value of "--name=VALUE" taken out of argv.
bool take_option(int& argc, char** argv, const char* name, long& value) {
    const std::size_t n = std::strlen(name);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], name, n) == 0 && argv[i][n] == '=') {
            value = std::strtol(argv[i] + n + 1, nullptr, 10);
            for (int k = i; k < argc; ++k)
                argv[k] = argv[k + 1];
            --argc;
            return true;
        }
    return false;
}

// Pins this process (and the servers it starts) to one core; -1 when free.
int pin(long cpu) {
    cpu_set_t allowed;
    if (cpu < 0 || sched_getaffinity(0, sizeof allowed, &allowed) != 0) return -1;
    if (cpu == 0x7FFF)
        for (cpu = 0; cpu < CPU_SETSIZE && !CPU_ISSET(cpu, &allowed); ++cpu) {
        }
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(static_cast<int>(cpu), &one);
    return sched_setaffinity(0, sizeof one, &one) == 0 ? static_cast<int>(cpu) : -1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    long exchanges = -1, udp_port = 0, cpu = 0x7FFF;
    take_option(argc, argv, "--exchanges", exchanges);
    take_option(argc, argv, "--udp-port", udp_port);
    take_option(argc, argv, "--cpu", cpu);

    if (exchanges >= 0) {
        std::string ip = "127.0.0.1";
        uint32_t handle = open_lan(static_cast<uint16_t>(udp_port), ip);
        if (!handle) {
            std::fprintf(stderr, "bench_drivers: KL4100 did not open to port %ld\n", udp_port);
            return 1;
        }
        for (long i = 0; i < exchanges; ++i)
            if (!identify(handle)) {
                std::fprintf(stderr, "bench_drivers: command %ld failed\n", i);
                return 1;
            }
        OvladacDone(4, handle);
        OvladacUvolni();
        return 0;
    }

    const int core = pin(cpu);
    // Repetitions of the three run interleaved, so that a burst of other
    // work on the machine does not fall on one of them only.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    bool given = false;
    for (char* a : args)
        given = given || std::strncmp(a, "--benchmark_enable_random_interleaving", 38) == 0;
    if (!given) args.push_back(interleave.data());
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (core >= 0)
        std::printf("\nclient and servers pinned to core %d\n", core);
    else
        std::printf("\nnot pinned\n");
    const auto compare = [](const std::map<std::string, double>& m, const char* what) {
        const auto get = [&m](const char* name) {
            auto it = m.find(name);
            return it == m.end() ? 0.0 : it->second;
        };
        const double link = get("BM_ProvedPrikazKL4100");
        const double echo = get("BM_UdpEchoTwoProcesses");
        const double modbus = get("BM_ModbusTcpReadRegister");
        if (link > 0 && echo > 0)
            std::printf("%s: ProvedPrikaz via KL4100 %.2f us / two-process UDP echo %.2f us = "
                        "%.2f (target <= 1.10)\n",
                        what, link, echo, link / echo);
        if (link > 0 && modbus > 0)
            std::printf("%s: ProvedPrikaz via KL4100 %.2f us / libmodbus TCP read %.2f us = "
                        "%.2f (target <= 0.70)\n",
                        what, link, modbus, link / modbus);
    };
    compare(reporter.medians, "median wall time");
    compare(reporter.cpu_with_server, "median CPU, client + server");
    const auto median = [&reporter](const char* name) {
        const auto it = reporter.medians.find(name);
        return it == reporter.medians.end() ? -1.0 : it->second;
    };
    const double in_process = median("BM_ProvedPrikazKL4100");
    const double host = median("BM_ProvedPrikazKL4100Host");
    if (in_process > 0 && host > 0)
        std::printf("driver host: KL4100 to km207-sim %.1f us in process, %.1f us in the host: "
                    "+%.1f us (target <= +10)\n",
                    in_process, host, host - in_process);
    const double model = median("BM_ModelInProcess");
    const double model_host = median("BM_ModelHost");
    const double model_wine = median("BM_ModelWineHost");
    if (model > 0 && model_host > 0)
        std::printf("module model inside the driver: %.1f us in process, %.1f us in the host; "
                    "a bare pipe round trip to a child %.1f us, through the program's own "
                    "pipes %.1f us, through QProcess %.1f us\n",
                    model, model_host, median("BM_PipeFloorProcess"), median("BM_ChildEchoFloor"),
                    median("BM_QProcessEchoFloor"));
    if (model_wine > 0)
        std::printf("the same as a 32-bit DLL in km207-driverhost.exe under Wine: %.1f us\n",
                    model_wine);
    return 0;
}
