// Round trip of one module command through the LAN driver to km207-sim on
// loopback, against the floor of a bare UDP echo on loopback.
//
// Run: bench_drivers [--benchmark_repetitions=N]. Prints both medians, their
// ratio (target: at most 1.2) and the bytes one exchange puts on a serial wire.
// A third figure, the echo served by another process, shows how much of the
// difference is the process boundary (km207-sim is a process of its own).
#include "Kxxx410.h"
#include "km_protocol.h"
#include "median_reporter.h"
#include "sim_process.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
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

void BM_ProvedPrikazKL4100(benchmark::State& state) {
    SimProcess sim({"--no-pty"});
    if (!sim.running()) {
        state.SkipWithError(("km207-sim did not start: " + sim.output()).c_str());
        return;
    }
    NastavAdresarOvladacu(QString::fromUtf8(KM_DRIVER_DIR));
    std::string ip = "127.0.0.1";
    TKonfigOvladace cfg{};
    cfg[0] = reinterpret_cast<uintptr_t>(ip.c_str());
    cfg[1] = sim.udp_port();
    cfg[2] = 100;
    uint32_t handle = 0;
    if (OvladacInit(4, handle, cfg) != 0 || OvladacSetConfig(4, handle, 9600, 13, 2) != 0) {
        state.SkipWithError("KL4100 did not open");
        OvladacUvolni();
        return;
    }
    TOdpoved odpoved{};
    for (auto _ : state) {
        uint8_t b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, chyba = 0xFF;
        ProvedPrikaz(4, handle, 0, 200, 0, &b0, &b1, &b2, &b3, &b4, chyba, odpoved);
        if (chyba != 0) {
            state.SkipWithError("command failed");
            break;
        }
    }
    // What one exchange costs on the wire: UDP payload, and the same
    // request and reply on a serial line.
    state.counters["udp_bytes"] = 2.0 * km::proto::kUdpFrameSize;
    state.counters["serial_bytes"] = 2.0 * km::proto::kFrameSize;
    OvladacDone(4, handle);
    OvladacUvolni();
}

BENCHMARK(BM_UdpEchoFloor)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();
BENCHMARK(BM_UdpEchoFloorProcess)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();
BENCHMARK(BM_ProvedPrikazKL4100)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();

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
    return 0;
}
