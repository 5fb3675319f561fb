#include "sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

std::string SimProcess::default_executable() {
#ifdef KM207_SIM
    return KM207_SIM;
#else
    return "km207-sim";
#endif
}

bool SimProcess::spawn(std::vector<std::string>& args) {
    int pipe_fds[2];
    if (pipe2(pipe_fds, O_CLOEXEC) != 0) return false;
    std::vector<char*> argv;
    for (std::string& s : args)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0) {
        close(pipe_fds[0]);
        close(pipe_fds[1]);
        return false;
    }
    if (pid_ == 0) {
        // A test that crashes must not leave the emulator behind.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        dup2(pipe_fds[1], STDOUT_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(pipe_fds[1]);
    out_ = pipe_fds[0];
    return true;
}

int SimProcess::read_pipe(char* buf, size_t cap, int timeout_ms) {
    pollfd p{static_cast<int>(out_), POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) return 0;
    const ssize_t got = read(static_cast<int>(out_), buf, cap);
    return got > 0 ? static_cast<int>(got) : -1;
}

void SimProcess::close_pipe() {
    if (out_ >= 0) close(static_cast<int>(out_));
    out_ = -1;
}

bool SimProcess::has_exited() const {
    // Peek without reaping, so stop() still collects the status.
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == pid_;
}

void SimProcess::end_process() {
    kill(pid_, SIGTERM);
    bool reaped = false;
    for (int i = 0; i < 200 && !reaped; ++i) { // up to 2 s
        int status = 0;
        const pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_ || r < 0)
            reaped = true;
        else
            usleep(10000);
    }
    if (!reaped) {
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
}
