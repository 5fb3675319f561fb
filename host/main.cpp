// km207-driverhost: serves the seven entries of one driver library to the
// program over standard input and output (frames in km_host_frame.h). The
// program starts one host per binding and ends it with the binding.
#include "host_serve.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1) {
        const bool help = std::strcmp(argv[1], "--help") == 0;
        std::fputs("usage: km207-driverhost\n"
                   "Serves one KM-207 driver library to the program over standard input and\n"
                   "output; the program starts it. Takes no arguments.\n",
                   help ? stdout : stderr);
        return help ? 0 : 2;
    }
    std::unique_ptr<kmhost::Channel> io = kmhost::standard_channel();
    if (!io) return 1;
    return kmhost::serve(*io, kmhost::open_driver_library);
}
