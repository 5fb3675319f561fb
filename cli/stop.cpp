#include "stop.h"

#include "output.h"

#include <chrono>
#include <csignal>
#include <thread>

namespace km207 {

namespace {

volatile std::sig_atomic_t g_stop = 0;
// Set while the tool waits on standard input, where no pause comes to look
// at g_stop: the first signal then ends the tool (nothing was sent yet).
volatile std::sig_atomic_t g_readingInput = 0;
// How long a stop waits for the tool to end by itself.
constexpr std::chrono::seconds kStopGrace{2};

extern "C" void onStopSignal(int signal) {
    if (g_readingInput) std::_Exit(ExitUsage);
    g_stop = 1;
    // A second Ctrl-C is not waited for.
    std::signal(signal, SIG_DFL);
}

} // namespace

void installStopHandler() {
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
    // A stop is honoured at the next pause, which comes within one command
    // at ordinary timeouts, so what was done is still reported. A driver
    // call that waits far longer (a timeout of a minute) is not waited for.
    std::thread([] {
        while (!g_stop)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::this_thread::sleep_for(kStopGrace);
        std::_Exit(ExitLink);
    }).detach();
}

bool stopRequested() {
    return g_stop != 0;
}

void readingInput(bool reading) {
    g_readingInput = reading ? 1 : 0;
}

} // namespace km207
