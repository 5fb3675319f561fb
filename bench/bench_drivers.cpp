// Round trip of one module command through the LAN driver to km207-sim on
// loopback, against the floor of a bare UDP echo on loopback; and the same
// with the driver in km207-driverhost.
//
// Run pinned to one core: taskset -c 0 bench_drivers. Prints the medians,
// their ratio (target: at most 1.2), what the driver host adds (target: at
// most 10 us), and the bytes one exchange puts on a serial wire.
// A third figure, the echo served by another process, shows how much of the
// difference is the process boundary (km207-sim is a process of its own).
#include "Kxxx410.h"
#include "km_protocol.h"
#include "median_reporter.h"
#include "sim_process.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <map>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

int loopback_socket(uint16_t& port) {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return fd;
}

// A tiny echo server on its own thread: the same wait-receive-send work a
// converter does, with no decoding at all.
class EchoServer {
  public:
    EchoServer() : fd_(loopback_socket(port_)), thread_([this] { run(); }) {}
    ~EchoServer() {
        stop_ = true;
        thread_.join();
        close(fd_);
    }
    uint16_t port() const { return port_; }

  private:
    void run() {
        uint8_t buf[64];
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            sockaddr_in from{};
            socklen_t len = sizeof from;
            ssize_t n = recvfrom(fd_, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
            if (n > 0)
                sendto(fd_, buf, static_cast<std::size_t>(n), 0, reinterpret_cast<sockaddr*>(&from),
                       len);
        }
    }
    uint16_t port_ = 0;
    int fd_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

void BM_UdpEchoFloor(benchmark::State& state) {
    EchoServer echo;
    uint16_t own = 0;
    int fd = loopback_socket(own);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(echo.port());
    uint8_t frame[km::proto::kUdpFrameSize] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    uint8_t buf[64];
    for (auto _ : state) {
        sendto(fd, frame, sizeof frame, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 1000) <= 0 || recv(fd, buf, sizeof buf, 0) != sizeof frame) {
            state.SkipWithError("echo lost");
            break;
        }
    }
    close(fd);
}

// The same echo in a child process: the emulator is a process of its own,
// so this floor includes what crossing between processes costs.
void BM_UdpEchoFloorProcess(benchmark::State& state) {
    uint16_t port = 0;
    int server = loopback_socket(port);
    int quit[2];
    if (pipe(quit) != 0) {
        state.SkipWithError("pipe failed");
        return;
    }
    pid_t child = fork();
    if (child == 0) {
        // Only system calls from here on; ends when the parent closes the pipe.
        close(quit[1]);
        uint8_t buf[64];
        for (;;) {
            pollfd p[2] = {{server, POLLIN, 0}, {quit[0], POLLIN, 0}};
            if (poll(p, 2, 1000) < 0) _exit(1);
            if (p[1].revents) _exit(0);
            if (!(p[0].revents & POLLIN)) continue;
            sockaddr_in from{};
            socklen_t len = sizeof from;
            ssize_t n =
                recvfrom(server, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
            if (n > 0)
                sendto(server, buf, static_cast<std::size_t>(n), 0,
                       reinterpret_cast<sockaddr*>(&from), len);
        }
    }
    close(quit[0]);
    close(server);
    uint16_t own = 0;
    int fd = loopback_socket(own);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(port);
    uint8_t frame[km::proto::kUdpFrameSize] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    uint8_t buf[64];
    for (auto _ : state) {
        sendto(fd, frame, sizeof frame, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 1000) <= 0 || recv(fd, buf, sizeof buf, 0) != sizeof frame) {
            state.SkipWithError("echo lost");
            break;
        }
    }
    close(fd);
    close(quit[1]);
    if (child > 0) waitpid(child, nullptr, 0);
}

// A bare pipe round trip between this process and a child echoing back:
// the floor of any driver host, which adds its framing and QProcess's
// bookkeeping on top.
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

// The same echo through QProcess, as the program speaks to a driver host:
// what Qt's process plumbing adds to the bare pipe.
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

// KL4100 to km207-sim, in this process or in km207-driverhost.
void sim_round_trips(benchmark::State& state, bool isolate) {
    SimProcess sim({"--no-pty"});
    if (!sim.running()) {
        state.SkipWithError(("km207-sim did not start: " + sim.output()).c_str());
        return;
    }
    std::string ip = "127.0.0.1";
    TKonfigOvladace cfg{};
    cfg[0] = reinterpret_cast<uintptr_t>(ip.c_str());
    cfg[1] = sim.udp_port();
    cfg[2] = 100;
    round_trips(state, 4, QString::fromUtf8(KM_DRIVER_DIR), isolate, cfg);
    // What one exchange costs on the wire: UDP payload, and the same
    // request and reply on a serial line.
    state.counters["udp_bytes"] = 2.0 * km::proto::kUdpFrameSize;
    state.counters["serial_bytes"] = 2.0 * km::proto::kFrameSize;
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
    round_trips(state, 0, QStringLiteral(KM_WIN32_DIR "/model"), false, {});
}
#endif

BENCHMARK(BM_UdpEchoFloor)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();
BENCHMARK(BM_UdpEchoFloorProcess)
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
BENCHMARK(BM_ModelInProcess)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();
BENCHMARK(BM_ModelHost)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();
#ifdef KM_WIN32_DIR
BENCHMARK(BM_ModelWineHost)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();
#endif

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto floor = reporter.medians.find("BM_UdpEchoFloor");
    auto link = reporter.medians.find("BM_ProvedPrikazKL4100");
    if (floor != reporter.medians.end() && link != reporter.medians.end() && floor->second > 0) {
        std::printf("\nmedian round trip: ProvedPrikaz via KL4100 %.1f us, bare UDP echo %.1f us\n",
                    link->second, floor->second);
        std::printf("ratio %.2f (target <= 1.20)\n", link->second / floor->second);
        auto proc = reporter.medians.find("BM_UdpEchoFloorProcess");
        if (proc != reporter.medians.end() && proc->second > 0)
            std::printf("echo in a separate process %.1f us; ratio to it %.2f\n", proc->second,
                        link->second / proc->second);
        std::printf("serial wire per exchange: %zu bytes (request %zu + reply %zu)\n",
                    2 * km::proto::kFrameSize, km::proto::kFrameSize, km::proto::kFrameSize);
    }
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
                    "a bare pipe round trip to a child %.1f us, through QProcess %.1f us\n",
                    model, model_host, median("BM_PipeFloorProcess"),
                    median("BM_QProcessEchoFloor"));
    if (model_wine > 0)
        std::printf("the same as a 32-bit DLL in km207-driverhost.exe under Wine: %.1f us\n",
                    model_wine);
    return 0;
}
