// The serving loop of km207-driverhost, written once for every platform.
#pragma once

#include "driver_library.h"
#include "km_host_frame.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kmhost {

// The pipe to the program.
class Channel {
  public:
    virtual ~Channel() = default;
    // Up to `size` bytes; 0 at the end of the input, negative on an error.
    virtual long read(uint8_t* data, size_t size) = 0;
    // All of it, or false.
    virtual bool write(const uint8_t* data, size_t size) = 0;
    // A line for the operator (standard error).
    virtual void note(const std::string& text) = 0;
};

// The host's standard input and output, taken over for frames alone: what a
// library prints goes to standard error, and it reads nothing of the frames.
// Implemented once per platform; null when the pipes are unusable.
std::unique_ptr<Channel> standard_channel();

using LibraryOpener = std::unique_ptr<DriverLibrary> (*)(const std::string& path);

// Serves the program's requests until its input ends: 0 then, 1 when the
// pipe fails, 2 when the program sent a broken frame (refused first).
int serve(Channel& io, LibraryOpener open);

// For a crash handler (one per platform): the host's last word to the
// program, a Crashed frame for the request being served, built without
// allocating. False when no request is being served.
bool crashed_frame(uint32_t cause, uint32_t code, uint8_t (&out)[kCrashedFrameSize]);

} // namespace kmhost
