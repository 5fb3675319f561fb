#include "sim_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

SimProcess::SimProcess(const std::vector<std::string>& args) {
    std::vector<std::string> argv_s = {KM_SIM_PATH, "--udp-host", "127.0.0.1", "--udp-port", "0",
                                       // a safety net: never outlive a crashed test for long
                                       "--exit-after", "120"};
    argv_s.insert(argv_s.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& s : argv_s)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error_ = "pipe failed";
        return;
    }
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, fds[1], STDOUT_FILENO);
    int rc = posix_spawn(&pid_, KM_SIM_PATH, &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    close(fds[1]);
    if (rc != 0) {
        pid_ = -1;
        close(fds[0]);
        error_ = std::string("spawn failed: ") + std::strerror(rc);
        return;
    }
    // Read its announcement lines, for at most five seconds.
    std::string out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!ready_) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0) break;
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        char buf[256];
        ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0) break;
        out.append(buf, static_cast<std::size_t>(n));
        std::size_t pos;
        while ((pos = out.find('\n')) != std::string::npos) {
            std::string line = out.substr(0, pos);
            out.erase(0, pos + 1);
            if (line.rfind("udp: ", 0) == 0) {
                auto colon = line.rfind(':');
                udp_port_ = static_cast<unsigned>(std::stoul(line.substr(colon + 1)));
            } else if (line.rfind("pty: ", 0) == 0) {
                pty_ = line.substr(5);
            } else if (line == "ready") {
                ready_ = true;
            }
        }
    }
    close(fds[0]);
    if (!ready_) error_ = "km207-sim did not announce itself: " + out;
}

SimProcess::~SimProcess() {
    stop();
}

void SimProcess::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    // It stops within its 100 ms poll; fall back to SIGKILL after two seconds.
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        usleep(10000);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
    pid_ = -1;
}
