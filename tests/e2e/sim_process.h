// Runs km207-sim as a child process for end-to-end tests.
//
//   SimProcess sim({"--address", "0"});
//   ASSERT_TRUE(sim.running());
//   setenv("KM207_COM1", sim.pty().c_str(), 1);
//   ... sim.udp_port() ...
//
// The constructor waits (bounded) until the emulator has printed its
// pseudo-terminal path, UDP port and "ready". Unless the arguments say
// otherwise it asks for a free UDP port and a 300 s safety stop. the destructor stops it (SIGTERM,
// then SIGKILL) and reaps it. The child also dies with the test process.
// On Windows it runs km207-sim.exe from beside the test, which serves UDP
// only (pty() stays empty), and ends it with TerminateProcess.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class SimProcess {
  public:
    explicit SimProcess(const std::vector<std::string>& args = {},
                        const std::string& executable = default_executable(),
                        int startup_timeout_ms = 5000);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Path of the emulator's pseudo-terminal ("" if it printed none).
    const std::string& pty() const { return pty_; }
    // UDP port on 127.0.0.1 (0 if it printed none).
    uint16_t udp_port() const { return udp_port_; }
    // Started, announced itself and not exited since.
    bool running() const;
    pid_t pid() const { return pid_; }
    // Everything the emulator printed on stdout so far.
    std::string output() const;
    // Stops it now; also done by the destructor.
    void stop();

    static std::string default_executable();

  private:
    // One file per platform (sim_process_posix.cpp, sim_process_win32.cpp).
    // Starts args[0] with its stdout on a pipe read through read_pipe().
    bool spawn(std::vector<std::string>& args);
    // Bytes read within `timeout_ms` (0: none came), or -1 at end of file.
    int read_pipe(char* buf, size_t cap, int timeout_ms);
    void close_pipe();
    bool has_exited() const;
    // Ends the emulator and reaps it.
    void end_process();
    void read_output();

    pid_t pid_ = -1;
    // The pipe's read end (a descriptor or a HANDLE) and, on Windows, the
    // process and the job that ends it with the test.
    intptr_t out_ = -1;
    intptr_t process_ = -1;
    intptr_t job_ = -1;
    std::string pty_;
    uint16_t udp_port_ = 0;
    std::thread reader_;
    mutable std::mutex mutex_;
    std::string output_;
    bool ready_ = false;
    mutable bool exited_ = false;
    std::atomic<bool> stopping_{false};
};
