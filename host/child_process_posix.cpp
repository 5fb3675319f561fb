// Child processes on POSIX systems: posix_spawn, two pipes, poll.
#include "child_process.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kmhost {

namespace {

using Clock = std::chrono::steady_clock;

// Without a process descriptor to wait on, the child's end is looked for
// this often while its output is awaited.
constexpr int kExitCheckMs = 50;
// A killed child is gone within this long unless the kernel holds it in an
// uninterruptible wait; then a thread of its own reaps it later.
constexpr int kReapMs = 3000;

void close_fd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Milliseconds left until `end`, rounded up so that a wait never ends early.
int left_ms(Clock::time_point end) {
    const auto left = end - Clock::now();
    if (left <= Clock::duration::zero()) return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<decltype(ms)>(ms, 1 << 30));
}

int pidfd_for(pid_t pid) {
#if defined(SYS_pidfd_open)
    // Closed on exec by itself; -1 where the kernel has no such call.
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

// A pipe whose ends are both above the standard descriptors (this process
// may run with one of them closed, and the child's copies go there) and
// closed on exec.
bool make_pipe(int fds[2]) {
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    for (int i = 0; i < 2; ++i) {
        if (fds[i] > 2) continue;
        const int moved = fcntl(fds[i], F_DUPFD_CLOEXEC, 3);
        ::close(fds[i]);
        fds[i] = moved;
    }
    if (fds[0] >= 0 && fds[1] >= 0) return true;
    close_fd(fds[0]);
    close_fd(fds[1]);
    return false;
}

class PosixChild final : public ChildProcess {
  public:
    PosixChild(pid_t pid, int in, int out)
        : pid_(pid), in_(in), out_(out), pidfd_(pidfd_for(pid)) {}
    ~PosixChild() override { kill(); }

    bool write(const uint8_t* data, size_t size, int timeout_ms) override {
        if (in_ < 0) return false;
        // A write into a pipe nobody reads raises SIGPIPE, whose default
        // action ends this whole program. It is held off for this thread
        // during the write, and the one the write raised is taken back
        // before the thread's mask is restored; the program's own handling
        // of the signal stays as it is.
        sigset_t pipe_only, old;
        sigemptyset(&pipe_only);
        sigaddset(&pipe_only, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_only, &old);
        const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeout_ms);
        bool ok = true, broken = false;
        while (size > 0) {
            const ssize_t n = ::write(in_, data, size);
            if (n > 0) {
                data += n;
                size -= static_cast<size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno == EAGAIN) {
                // The pipe is full: the child reads no more than this.
                pollfd p{in_, POLLOUT, 0};
                const int r = poll(&p, 1, left_ms(end));
                if (r > 0 || (r < 0 && errno == EINTR)) continue;
            }
            broken = n < 0 && errno == EPIPE;
            ok = false;
            break;
        }
        if (broken && !sigismember(&old, SIGPIPE)) {
            const timespec now{};
            while (sigtimedwait(&pipe_only, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &old, nullptr);
        return ok;
    }

    long read(uint8_t* data, size_t size, int timeout_ms) override {
        if (out_ < 0) return kEnded;
        const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeout_ms);
        for (bool gone = false;;) {
            // Tried before any wait: on one core the child has often
            // answered already, having run as soon as the request woke it.
            const ssize_t n = ::read(out_, data, size);
            if (n >= 0) return static_cast<long>(n);
            if (errno == EINTR) continue;
            if (errno != EAGAIN) return kFailed;
            // Its output may stay open after it has gone (a process it
            // started may hold it), so its end counts too, once the read
            // above has found nothing more of what it wrote.
            if (gone) return kEnded;
            const int left = left_ms(end);
            if (left == 0) return kTimedOut;
            pollfd p[2] = {{out_, POLLIN, 0}, {pidfd_, POLLIN, 0}};
            const int r = pidfd_ >= 0 ? poll(p, 2, left) : poll(p, 1, std::min(left, kExitCheckMs));
            if (r < 0 && errno != EINTR) return kFailed;
            gone = pidfd_ >= 0 ? r > 0 && p[1].revents != 0 : r == 0 && has_ended();
        }
    }

    void finish(int timeout_ms) override {
        close_fd(in_); // the end of its input tells it to end
        if (!reaped_ && !wait_exit(timeout_ms)) kill();
        close_fds();
    }

    void kill() override {
        close_fd(in_);
        if (!reaped_) {
            ::kill(pid_, SIGKILL);
            if (!wait_exit(kReapMs)) {
                const pid_t pid = pid_;
                std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
                reaped_ = true;
            }
        }
        close_fds();
    }

  private:
    void close_fds() {
        close_fd(in_);
        close_fd(out_);
        close_fd(pidfd_);
    }

    // Ended, not yet reaped.
    bool has_ended() const {
        siginfo_t info{};
        return waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
               info.si_pid == pid_;
    }

    // Reaps the child once it has ended, waiting at most `timeout_ms`.
    bool wait_exit(int timeout_ms) {
        const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeout_ms);
        int nap_ms = 1;
        for (;;) {
            const pid_t r = waitpid(pid_, nullptr, WNOHANG);
            // ECHILD: someone else reaped it (SIGCHLD ignored).
            if (r == pid_ || (r < 0 && errno == ECHILD)) {
                reaped_ = true;
                return true;
            }
            if (r < 0 && errno != EINTR) return false;
            const int left = left_ms(end);
            if (left == 0) return false;
            if (pidfd_ >= 0) {
                pollfd p{pidfd_, POLLIN, 0};
                poll(&p, 1, left);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(std::min(nap_ms, left)));
                nap_ms = std::min(nap_ms * 2, kExitCheckMs);
            }
        }
    }

    pid_t pid_;
    int in_, out_, pidfd_;
    bool reaped_ = false;
};

} // namespace

std::unique_ptr<ChildProcess> start_child(const ChildCommand& command) {
    if (command.program.empty()) return nullptr;
    std::vector<std::string> args;
    args.push_back(command.program);
    args.insert(args.end(), command.arguments.begin(), command.arguments.end());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    // This process's environment, with the command's variables over it.
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e) {
        const std::string entry(*e);
        const std::string name = entry.substr(0, entry.find('='));
        if (std::none_of(command.environment.begin(), command.environment.end(),
                         [&name](const auto& v) { return v.first == name; }))
            env.push_back(entry);
    }
    for (const auto& [name, value] : command.environment)
        env.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    int in[2] = {-1, -1}, out[2] = {-1, -1};
    if (!make_pipe(in)) return nullptr;
    if (!make_pipe(out)) {
        close_fd(in[0]);
        close_fd(in[1]);
        return nullptr;
    }
    // The child's ends become its descriptors 0 and 1; every other of ours
    // is closed on exec. It starts with no signal blocked and SIGPIPE at its
    // default, whatever this thread has.
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    sigset_t none, pipe_only;
    sigemptyset(&none);
    sigemptyset(&pipe_only);
    sigaddset(&pipe_only, SIGPIPE);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &pipe_only);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const bool search = command.program.find('/') == std::string::npos;
    const int rc = search ? posix_spawnp(&pid, argv[0], &actions, &attr, argv.data(), envp.data())
                          : posix_spawn(&pid, argv[0], &actions, &attr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    close_fd(in[0]);
    close_fd(out[1]);
    if (rc != 0) {
        close_fd(in[1]);
        close_fd(out[0]);
        return nullptr;
    }
    // Reads and writes wait in poll, with a deadline, never in the call
    // itself.
    fcntl(in[1], F_SETFL, fcntl(in[1], F_GETFL) | O_NONBLOCK);
    fcntl(out[0], F_SETFL, fcntl(out[0], F_GETFL) | O_NONBLOCK);
    return std::make_unique<PosixChild>(pid, in[1], out[0]);
}

} // namespace kmhost
