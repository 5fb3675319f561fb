// A program run as a child of this process, its standard input and output
// pipes to this process, its standard error this process's own. The
// program's binding speaks to km207-driverhost through it. One small file
// per platform implements it; no Qt.
//
// Nothing the child does reaches this process as a signal or a hang: a
// child that stops reading shows as a failed write, one that ends or closes
// its output as the end of the output, and every wait has a deadline.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kmhost {

struct ChildCommand {
    // A path, or a bare name looked up in PATH. Every string is UTF-8 on
    // Windows and the file system's own bytes elsewhere.
    std::string program;
    std::vector<std::string> arguments;
    // Set in the child's environment, over what this process has.
    std::vector<std::pair<std::string, std::string>> environment;
};

class ChildProcess {
  public:
    // Results of read() other than a count of bytes.
    static constexpr long kEnded = 0;
    static constexpr long kFailed = -1;
    static constexpr long kTimedOut = -2;

    // Kills the child if it still runs, and reaps it.
    virtual ~ChildProcess() = default;

    // All of `data` into the child's input within `timeout_ms`; false when
    // the child no longer reads it or takes too long.
    virtual bool write(const uint8_t* data, size_t size, int timeout_ms) = 0;

    // Waits at most `timeout_ms` for the child's output: the count of bytes
    // read (1..size), kEnded once its output is closed or it has ended and
    // all it wrote has been read, kFailed, or kTimedOut.
    virtual long read(uint8_t* data, size_t size, int timeout_ms) = 0;

    // Closes the child's input and gives it `timeout_ms` to end by itself,
    // then kills it. Either way it is reaped: no process is left behind.
    virtual void finish(int timeout_ms) = 0;

    // Kills the child now and reaps it.
    virtual void kill() = 0;
};

// Starts `command`; null when it cannot be started.
std::unique_ptr<ChildProcess> start_child(const ChildCommand& command);

} // namespace kmhost
