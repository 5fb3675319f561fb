// The platform-free part of SimProcess: the emulator's arguments, its
// announcement lines and the output kept for the test.
#include "sim_process.h"

#include <chrono>
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

SimProcess::SimProcess(const std::vector<std::string>& args, const std::string& executable,
                       int startup_timeout_ms) {
    std::vector<std::string> argv{executable};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto given = [&args](const char* option) {
        for (const std::string& a : args)
            if (a == option) return true;
        return false;
    };
    // Parallel tests must not fight over the emulator's default port, and a
    // forgotten emulator must not run for ever.
    if (!given("--udp-port") && !given("--no-udp")) argv.insert(argv.end(), {"--udp-port", "0"});
    if (!given("--exit-after")) argv.insert(argv.end(), {"--exit-after", "300"});
    if (!spawn(argv)) return;

    // Read the announcement lines with a deadline, then hand the pipe to a
    // thread that keeps draining it so the emulator never blocks on stdout.
    std::string pending;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(startup_timeout_ms);
    bool eof = false;
    while (!eof && !ready_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) break;
        char buf[512];
        const int got = read_pipe(buf, sizeof buf, static_cast<int>(left));
        if (got < 0) {
            eof = true;
            break;
        }
        if (got == 0) continue;
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
    if (eof)
        close_pipe();
    else
        reader_ = std::thread([this] { read_output(); });
}

void SimProcess::read_output() {
    char buf[512];
    // Short waits, so that stop() is never held up by a pipe some grandchild
    // keeps open.
    while (!stopping_) {
        const int got = read_pipe(buf, sizeof buf, 100);
        if (got < 0) break;
        std::lock_guard<std::mutex> lock(mutex_);
        output_.append(buf, static_cast<size_t>(got));
    }
    close_pipe();
}

bool SimProcess::running() const {
    if (pid_ <= 0 || exited_ || !ready_) return false;
    if (has_exited()) {
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
        end_process();
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
