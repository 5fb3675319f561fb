// The host's pipes on POSIX systems.
#include "host_serve.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

namespace kmhost {

namespace {

class PipeChannel : public Channel {
  public:
    PipeChannel(int in, int out) : in_(in), out_(out) {}
    ~PipeChannel() override {
        close(in_);
        close(out_);
    }
    long read(uint8_t* data, size_t size) override {
        for (;;) {
            const ssize_t n = ::read(in_, data, size);
            if (n < 0 && errno == EINTR) continue;
            return static_cast<long>(n);
        }
    }
    bool write(const uint8_t* data, size_t size) override {
        while (size > 0) {
            const ssize_t n = ::write(out_, data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            data += n;
            size -= static_cast<size_t>(n);
        }
        return true;
    }
    void note(const std::string& text) override {
        const std::string line = "km207-driverhost: " + text + "\n";
        if (::write(STDERR_FILENO, line.data(), line.size()) < 0) {
            // Nobody to tell.
        }
    }

  private:
    int in_, out_;
};

// The pipe the frames go out on, for the last word of a crash.
int frames_out = -1;

// A library that crashes: the program is told why in a Crashed frame
// before the pipe closes, then the signal ends the host as it would have.
// Only async-signal-safe calls here.
void end_on_crash(int sig) {
    uint8_t frame[kCrashedFrameSize];
    if (frames_out >= 0 && crashed_frame(kCrashSignal, static_cast<uint32_t>(sig), frame) &&
        ::write(frames_out, frame, sizeof frame) < 0) {
        // Nobody to tell.
    }
    char line[64] = "km207-driverhost: the library crashed (signal ";
    size_t n = std::strlen(line);
    if (sig >= 10) line[n++] = static_cast<char>('0' + sig / 10 % 10);
    line[n++] = static_cast<char>('0' + sig % 10);
    line[n++] = ')';
    line[n++] = '\n';
    if (::write(STDERR_FILENO, line, n) < 0) {
        // Nobody to tell.
    }
    signal(sig, SIG_DFL);
    raise(sig);
}

} // namespace

std::unique_ptr<Channel> standard_channel() {
#if defined(__linux__)
    // A host stuck in a library must not outlive the program that started it.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    // A program that went away shows as a failed write, not a signal.
    signal(SIGPIPE, SIG_IGN);
    const int in = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    const int out = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    const int null = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (in < 0 || out < 0 || null < 0 || dup2(null, STDIN_FILENO) < 0 ||
        dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        if (in >= 0) close(in);
        if (out >= 0) close(out);
        if (null >= 0) close(null);
        return nullptr;
    }
    close(null);
    frames_out = out;
    struct sigaction crash {};
    crash.sa_handler = end_on_crash;
    crash.sa_flags = SA_NODEFER | SA_RESETHAND;
    sigemptyset(&crash.sa_mask);
    for (int sig : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT})
        sigaction(sig, &crash, nullptr);
    return std::make_unique<PipeChannel>(in, out);
}

} // namespace kmhost
