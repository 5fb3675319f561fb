// Runs km207-sim for one test: starts it with the given options, reads the
// UDP port and pseudo-terminal it prints, and stops it on destruction.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

class SimProcess {
  public:
    // Starts the emulator with a free UDP port on loopback; `args` are
    // further options such as "--fault", "drop:count=1".
    explicit SimProcess(const std::vector<std::string>& args = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool ready() const { return ready_; }
    const std::string& error() const { return error_; }
    unsigned udp_port() const { return udp_port_; }
    const std::string& pty() const { return pty_; }
    void stop();

  private:
    pid_t pid_ = -1;
    bool ready_ = false;
    std::string error_;
    unsigned udp_port_ = 0;
    std::string pty_;
};
