#include "sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

// Value after "<key>:" on a line of its own, trimmed.
bool line_value(const std::string& line, const char* key, std::string& value) {
    const size_t n = std::strlen(key);
    if (line.compare(0, n, key) != 0 || line.size() <= n || line[n] != ':') return false;
    size_t b = n + 1;
    while (b < line.size() && (line[b] == ' ' || line[b] == '\t'))
        ++b;
    size_t e = line.size();
    while (e > b && (line[e - 1] == ' ' || line[e - 1] == '\r' || line[e - 1] == '\t'))
        --e;
    value = line.substr(b, e - b);
    return true;
}

uint16_t port_of(const std::string& endpoint) {
    const size_t colon = endpoint.rfind(':');
    const std::string digits = colon == std::string::npos ? endpoint : endpoint.substr(colon + 1);
    if (digits.empty() || digits.size() > 5) return 0;
    unsigned long v = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        v = v * 10 + static_cast<unsigned long>(c - '0');
    }
    return v <= 65535 ? static_cast<uint16_t>(v) : 0;
}

} // namespace

std::string SimProcess::default_executable() {
#ifdef KM207_SIM
    return KM207_SIM;
#else
    return "km207-sim";
#endif
}

SimProcess::SimProcess(const std::vector<std::string>& args, const std::string& executable,
                       int startup_timeout_ms) {
    int pipe_fds[2];
    if (pipe2(pipe_fds, O_CLOEXEC) != 0) return;

    std::vector<std::string> argv_s{executable};
    argv_s.insert(argv_s.end(), args.begin(), args.end());
    const auto given = [&args](const char* option) {
        for (const std::string& a : args)
            if (a == option) return true;
        return false;
    };
    // Parallel tests must not fight over the emulator's default port, and a
    // forgotten emulator must not run for ever.
    if (!given("--udp-port") && !given("--no-udp"))
        argv_s.insert(argv_s.end(), {"--udp-port", "0"});
    if (!given("--exit-after")) argv_s.insert(argv_s.end(), {"--exit-after", "300"});
    std::vector<char*> argv;
    for (std::string& s : argv_s)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0) {
        close(pipe_fds[0]);
        close(pipe_fds[1]);
        return;
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

    // Read the announcement lines with a deadline, then hand the pipe to a
    // thread that keeps draining it so the emulator never blocks on stdout.
    const int fd = pipe_fds[0];
    std::string pending;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(startup_timeout_ms);
    bool eof = false;
    while (!eof && !ready_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        char buf[512];
        const ssize_t got = read(fd, buf, sizeof buf);
        if (got <= 0) {
            eof = true;
            break;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            output_.append(buf, static_cast<size_t>(got));
        }
        pending.append(buf, static_cast<size_t>(got));
        size_t nl;
        while ((nl = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, nl);
            pending.erase(0, nl + 1);
            std::string value;
            if (line_value(line, "pty", value)) pty_ = value;
            if (line_value(line, "udp", value)) udp_port_ = port_of(value);
            if (line == "ready" || line == "ready\r") ready_ = true;
        }
    }
    if (eof) {
        close(fd);
    } else {
        reader_ = std::thread([this, fd] { read_output(fd); });
    }
}

void SimProcess::read_output(int fd) {
    char buf[512];
    // Polls so that stop() is never held up by a pipe some grandchild keeps open.
    while (!stopping_) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        const ssize_t got = read(fd, buf, sizeof buf);
        if (got <= 0) break;
        std::lock_guard<std::mutex> lock(mutex_);
        output_.append(buf, static_cast<size_t>(got));
    }
    close(fd);
}

bool SimProcess::running() const {
    if (pid_ <= 0 || exited_) return false;
    if (!ready_) return false;
    // Peek without reaping, so stop() still collects the status.
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
        info.si_pid == pid_) {
        exited_ = true;
        return false;
    }
    return true;
}

std::string SimProcess::output() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return output_;
}

void SimProcess::stop() {
    if (pid_ > 0) {
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
        pid_ = -1;
        exited_ = true;
    }
    // The write end closed with the child, so the reader sees end of file;
    // the flag bounds the wait otherwise.
    stopping_ = true;
    if (reader_.joinable()) reader_.join();
}

SimProcess::~SimProcess() {
    stop();
}
