#include "sim_platform.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <unistd.h>

namespace km::emu {

void install_signals(void (*stop)(int), void (*cycle)(int), void (*toggle)(int)) {
    struct sigaction sa {};
    sa.sa_handler = stop;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    struct sigaction sc {};
    sc.sa_handler = cycle;
    sigemptyset(&sc.sa_mask);
    sigaction(SIGUSR1, &sc, nullptr);
    sc.sa_handler = toggle;
    sigaction(SIGUSR2, &sc, nullptr);
}

bool make_link(const std::string& target, const std::string& link, std::string& error) {
    ::unlink(link.c_str());
    if (::symlink(target.c_str(), link.c_str()) == 0) return true;
    error = "symlink " + link + ": " + std::strerror(errno);
    return false;
}

void remove_link(const std::string& link) {
    ::unlink(link.c_str());
}

void write_text(std::FILE* stream, const std::string& text) {
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
}

} // namespace km::emu
