#include "stop.h"

#include "output.h"

#include "Kxxx410.h"

#include <QFile>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>

namespace km207 {

namespace {

volatile std::sig_atomic_t g_stop = 0;
// Every wait of the tool looks at the stop. One that looks at nothing (a
// standard output nobody reads) is not waited for beyond this.
constexpr std::chrono::seconds kLastResort{10};
// How often a wait that no signal wakes looks at the stop.
constexpr std::chrono::milliseconds kLook{20};

extern "C" void onStopSignal(int signal) {
    g_stop = 1;
    // A second Ctrl-C is not waited for.
    std::signal(signal, SIG_DFL);
}

} // namespace

void installStopHandler() {
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
    NastavPreruseniOvladace([] { return stopRequested(); });
    std::thread([] {
        while (!g_stop)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::this_thread::sleep_for(kLastResort);
        std::_Exit(ExitLink);
    }).detach();
}

bool stopRequested() {
    return g_stop != 0;
}

std::optional<QByteArray> readInput(qint64 max) {
    struct Read {
        std::mutex m;
        std::condition_variable done;
        std::optional<QByteArray> bytes;
    };
    auto r = std::make_shared<Read>();
    // The descriptor, not the C stream: a thread left blocked in a read of
    // the stream would hold its lock while the process ends.
    std::thread([r, max] {
        QFile input;
        QByteArray bytes;
        if (input.open(0, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
            bytes = input.read(max);
        const std::lock_guard l(r->m);
        r->bytes = bytes;
        r->done.notify_all();
    }).detach();
    std::unique_lock l(r->m);
    while (!r->bytes && !stopRequested())
        r->done.wait_for(l, kLook);
    return r->bytes;
}

} // namespace km207
