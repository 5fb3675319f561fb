// Windows has no SIGUSR1 or SIGUSR2 (no power cycle or switch by signal) and no pseudo-terminal
// to link to.
#include "sim_platform.h"

#include <csignal>

namespace km::emu {

void install_signals(void (*stop)(int), void (*)(int), void (*)(int)) {
    std::signal(SIGINT, stop);
    std::signal(SIGTERM, stop);
    std::signal(SIGBREAK, stop);
}

bool make_link(const std::string&, const std::string&, std::string& error) {
    error = "--pty-link needs a pseudo-terminal (Linux only)";
    return false;
}

void remove_link(const std::string&) {}

} // namespace km::emu
