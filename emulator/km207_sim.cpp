// km207-sim: a KM-207 module on UDP loopback and on a pseudo-terminal or a
// serial port.
#include "km_bus.h"
#include "km_module.h"
#include "km_server.h"
#include "sim_platform.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_cycle = 0;

void on_signal(int) {
    g_stop = 1;
}
void on_cycle(int) {
    g_cycle = 1;
}

const char* kHelp = R"(Usage: km207-sim [options]

Software model of KM-207 bus modules on one line: one module, or several
with --module. It answers the modules' commands over UDP (KL-4100 style,
12-byte frames with a transaction number) and over a serial line (10-byte
frames): a pseudo-terminal that stands in for one (Linux), or a serial port
given with --com. On start it prints machine-readable lines on stdout:
  udp: HOST:PORT
  pty: /dev/pts/N                   (or the --com port's name)
  module: ADDRESS baud-index B      (one line per module)
  address: N                        (the first module's)
  ready
and runs until SIGINT or SIGTERM (or --exit-after). SIGUSR1 (not on Windows)
switches every module off and on again (a power cycle: a written address or baud index takes
effect, the power failure is recorded) and prints for each
  power-up: address N baud-index B

Emulated: identification (command 200), counter (0/80 read, 1/80 reset; counts
with time, wraps by mode: 0 32-bit, 1 23-bit, 2 sign and magnitude), clock
(100/1-2 read, 101/1-2 write, year modulo 4), power-failure start and end
(100/3-6), status register (100/0 read, 101/0 clear; bits FN, PRF, PWR, RST,
ERR24), digital inputs (0/64, a moving pattern unless --inputs), outputs
(1/64), configuration registers (102 read, 103 write) 0, 32-43, 62, 63. A new
address (63) or baud index (62) takes effect at the next power-up only.
Unknown commands, registers or values are answered with an error status
(1 unknown command, 2 no such register, 3 value refused). A reply's out byte
echoes P5; its four data bytes are B1-B4.

Module:
  --address N        bus address 0-255 of the single module (default 0)
  --baud-index N     baud index register 62, 0-8 (default 4 = 9600 Bd); with
                     --module, the index of modules given without one
  --module A[:B]     a module at address A (0-255) with baud index B (0-8);
                     may repeat, one module each, every one with its own
                     registers; the options below apply to each of them.
                     Not together with --address. Two modules at the same
                     address and index are refused; two that answer one
                     request (same address, rates not enforced) garble it.
  --mode N           counter mode register 0, 0-2 (default 0)
  --reg R=V          set configuration register R (0, 32-43, 62, 63) to V;
                     may repeat
  --name TEXT        module name, 8 characters (default "KM-207  ")
  --fw TEXT          firmware version, 4 characters (default "1.02")
  --counter N        counter start value (default 0)
  --counter-rate N   counts per second, may be negative (default 10)
  --inputs X         fixed raw input word (e.g. 0x0000ff01) instead of the
                     moving pattern
  --input-script W   drive one input by a script timed from the start (may
                     repeat; the others keep --inputs, default 0):
                       square:BIT:HALF_MS       low HALF_MS, high HALF_MS, ...
                       pulse:BIT:AT_MS:LEN_MS   high from AT_MS for LEN_MS
                     The start is printed as "inputs-start: MS" (ms since
                     1970, UTC).
  --clock-offset S   module clock minus host local time, in seconds (default 0)
  --off-before S     seconds the module was off before start-up, recorded as
                     the power failure (default 3600)

Faults (may repeat; all need count=N or p=P):
  --fault KIND[:key=value,...]
      KIND: drop      command runs, reply lost
            delay     command runs, reply sent ms later (key ms, default 100)
            corrupt   command runs, reply damaged (checksum fails)
            readback  command 102 answers another value
            status    command refused with error status (key status,
                      default 3)
      keys: count=N   the next N matching requests
            p=P       then with probability P (0..1)
            cmd=C     only requests with command code C
      e.g. --fault drop:count=2 --fault delay:p=0.1,ms=300
  --seed N           random seed of probabilistic faults (default 1)

Serving:
  --udp-host ADDR    address to bind (default 127.0.0.1)
  --udp-port N       UDP port (default 5000; 0 picks a free port)
  --no-udp           do not serve UDP
  --no-pty           do not open a pseudo-terminal (Windows never opens one)
  --com PORT         serve the serial port PORT (COM5, /dev/ttyUSB0) instead of
                     a pseudo-terminal, at the rate of the first module's baud
                     index
  --pty-link PATH    also make PATH a symbolic link to the pseudo-terminal
                     (removed at exit)
  --strict-baud      on the pseudo-terminal, a module hears (and answers) only
                     when the client set the line speed of its active baud
                     index. UDP frames carry no speed: over UDP every module
                     answers whatever its baud index.
  --exit-after S     stop by itself after S seconds (default: never)
  --verbose          log every request and reply on stderr
  --version          print the version and exit
  --help             this text
)";

// 64 bits on every platform: Windows' long has 32.
bool to_long(const char* s, int64_t lo, int64_t hi, int64_t& v) {
    if (!s || !*s) return false;
    char* end = nullptr;
    errno = 0;
    const long long x = std::strtoll(s, &end, 0);
    if (errno || *end || x < lo || x > hi) return false;
    v = x;
    return true;
}

int usage_error(const std::string& msg) {
    std::fprintf(stderr, "km207-sim: %s (see --help)\n", msg.c_str());
    return 2;
}

// "A" or "A:B" of --module; B stays -1 when not given.
bool parse_module(const char* s, int64_t& address, int64_t& baud) {
    if (!s) return false;
    const std::string t = s;
    const auto colon = t.find(':');
    baud = -1;
    if (!to_long(t.substr(0, colon).c_str(), 0, 255, address)) return false;
    return colon == std::string::npos || to_long(t.substr(colon + 1).c_str(), 0, 8, baud);
}

} // namespace

int main(int argc, char** argv) {
    km::emu::Config cfg;
    std::vector<std::pair<int64_t, int64_t>> module_args; // address, baud index or -1
    bool address_given = false;
    std::vector<km::emu::FaultRule> faults;
    std::string udp_host = "127.0.0.1", pty_link, com;
    int64_t udp_port = 5000, exit_after = -1;
    bool use_udp = true, use_pty = km::emu::Server::pty_supported(), verbose = false,
         strict_baud = false;

    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        int64_t n = 0;
        auto need = [&](int64_t lo, int64_t hi) {
            if (!to_long(v, lo, hi, n)) return false;
            ++i;
            return true;
        };
        if (a == "--help" || a == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (a == "--version") {
            std::printf("km207-sim %s\n", KM207_VERSION);
            return 0;
        } else if (a == "--address") {
            if (!need(0, 255)) return usage_error("--address needs 0-255");
            cfg.address = static_cast<uint8_t>(n);
            address_given = true;
        } else if (a == "--module") {
            int64_t addr = 0, baud = -1;
            if (!parse_module(v, addr, baud))
                return usage_error("--module needs ADDRESS[:BAUDINDEX], 0-255 and 0-8");
            module_args.emplace_back(addr, baud);
            ++i;
        } else if (a == "--baud-index") {
            if (!need(0, 8)) return usage_error("--baud-index needs 0-8");
            cfg.baud_index = static_cast<uint8_t>(n);
        } else if (a == "--mode") {
            if (!need(0, 2)) return usage_error("--mode needs 0-2");
            cfg.counter_mode = static_cast<uint8_t>(n);
        } else if (a == "--reg") {
            const std::string s = v ? v : "";
            const auto eq = s.find('=');
            int64_t r = 0, x = 0;
            if (eq == std::string::npos || !to_long(s.substr(0, eq).c_str(), 0, 255, r) ||
                !to_long(s.substr(eq + 1).c_str(), 0, 255, x))
                return usage_error("--reg needs R=V with bytes");
            if (!km::emu::config_value_ok(static_cast<uint8_t>(r), static_cast<uint8_t>(x)))
                return usage_error("--reg " + s + ": no such register or value out of range");
            cfg.registers.emplace_back(static_cast<uint8_t>(r), static_cast<uint8_t>(x));
            ++i;
        } else if (a == "--name") {
            if (!v || std::strlen(v) > 8) return usage_error("--name needs up to 8 characters");
            cfg.name = v;
            ++i;
        } else if (a == "--fw") {
            if (!v || std::strlen(v) > 4) return usage_error("--fw needs up to 4 characters");
            cfg.version = v;
            ++i;
        } else if (a == "--counter") {
            if (!need(-(int64_t{1} << 40), int64_t{1} << 40))
                return usage_error("--counter needs a number");
            cfg.counter_start = n;
        } else if (a == "--counter-rate") {
            if (!need(-1000000, 1000000))
                return usage_error("--counter-rate needs -1000000..1000000");
            cfg.counter_rate = static_cast<int32_t>(n);
        } else if (a == "--inputs") {
            if (!need(0, 0xFFFFFFFFL)) return usage_error("--inputs needs a 32-bit word");
            cfg.input_pattern = false;
            cfg.inputs = static_cast<uint32_t>(n);
        } else if (a == "--input-script") {
            km::emu::InputWave w;
            std::string err;
            if (!v || !km::emu::parse_input_wave(v, w, err))
                return usage_error("--input-script: " + err);
            cfg.input_script.push_back(w);
            cfg.input_pattern = false;
            ++i;
        } else if (a == "--clock-offset") {
            if (!need(-(int64_t{1} << 33), int64_t{1} << 33))
                return usage_error("--clock-offset needs seconds");
            cfg.clock_offset_ms = n * 1000;
        } else if (a == "--off-before") {
            if (!need(0, int64_t{1} << 33)) return usage_error("--off-before needs seconds");
            cfg.off_before_ms = n * 1000;
        } else if (a == "--fault") {
            km::emu::FaultRule r;
            std::string err;
            if (!v || !km::emu::parse_fault(v, r, err)) return usage_error("--fault: " + err);
            faults.push_back(r);
            ++i;
        } else if (a == "--seed") {
            if (!need(0, 0x7FFFFFFFL)) return usage_error("--seed needs a number");
            cfg.seed = static_cast<uint64_t>(n);
        } else if (a == "--udp-host") {
            if (!v) return usage_error("--udp-host needs an address");
            udp_host = v;
            ++i;
        } else if (a == "--udp-port") {
            if (!need(0, 65535)) return usage_error("--udp-port needs 0-65535");
            udp_port = n;
        } else if (a == "--no-udp") {
            use_udp = false;
        } else if (a == "--no-pty") {
            use_pty = false;
        } else if (a == "--com") {
            if (!v || !*v) return usage_error("--com needs a port name");
            com = v;
            ++i;
        } else if (a == "--pty-link") {
            if (!v) return usage_error("--pty-link needs a path");
            pty_link = v;
            ++i;
        } else if (a == "--exit-after") {
            if (!need(0, int64_t{1} << 30)) return usage_error("--exit-after needs seconds");
            exit_after = n;
        } else if (a == "--strict-baud") {
            strict_baud = true;
        } else if (a == "--verbose") {
            verbose = true;
        } else {
            return usage_error("unknown option " + a);
        }
    }

    if (address_given && !module_args.empty())
        return usage_error("--address is for the single module; give each module with --module");
    if (!com.empty() && !pty_link.empty())
        return usage_error("--pty-link names the pseudo-terminal, which --com replaces");
    if (module_args.empty()) module_args.emplace_back(cfg.address, cfg.baud_index);
    std::vector<std::unique_ptr<km::emu::Module>> modules;
    km::emu::Bus bus;
    for (std::size_t m = 0; m < module_args.size(); ++m) {
        km::emu::Config c = cfg;
        c.address = static_cast<uint8_t>(module_args[m].first);
        if (module_args[m].second >= 0) c.baud_index = static_cast<uint8_t>(module_args[m].second);
        // Registers given with --reg are everyone's, but among several
        // modules not the address and baud index that make each one itself.
        if (module_args.size() > 1)
            std::erase_if(c.registers, [](const std::pair<uint8_t, uint8_t>& r) {
                return r.first == km::emu::kRegAddress || r.first == km::emu::kRegBaud;
            });
        c.seed = cfg.seed + m;
        for (const auto& other : modules)
            if (other->address() == c.address && other->baud_index() == c.baud_index)
                return usage_error("two modules at address " + std::to_string(c.address) +
                                   " and baud index " + std::to_string(c.baud_index));
        modules.push_back(std::make_unique<km::emu::Module>(c));
        for (const auto& f : faults)
            modules.back()->add_fault(f);
        bus.add(*modules.back());
    }

    // Handlers before "ready", so a client that stops us at once gets a clean exit.
    km::emu::install_signals(on_signal, on_cycle);

    km::emu::Server server(bus);
    server.set_verbose(verbose);
    server.set_strict_baud(strict_baud);
    std::string err;
    if (use_udp) {
        if (!server.open_udp(udp_host, static_cast<uint16_t>(udp_port), err)) {
            std::fprintf(stderr, "km207-sim: %s\n", err.c_str());
            return 1;
        }
        std::printf("udp: %s:%u\n", server.udp_host().c_str(), server.udp_port());
    }
    if (!com.empty()) {
        if (!server.open_serial(
                com, km::proto::kBaudRates[modules.front()->baud_index() % km::proto::kBaudCount],
                err)) {
            std::fprintf(stderr, "km207-sim: %s\n", err.c_str());
            return 1;
        }
        std::printf("pty: %s\n", server.pty_path().c_str());
    } else if (use_pty) {
        if (!server.open_pty(err)) {
            std::fprintf(stderr, "km207-sim: %s\n", err.c_str());
            return 1;
        }
        std::printf("pty: %s\n", server.pty_path().c_str());
        if (!pty_link.empty() && !km::emu::make_link(server.pty_path(), pty_link, err)) {
            std::fprintf(stderr, "km207-sim: %s\n", err.c_str());
            return 1;
        }
    }
    for (const auto& m : modules)
        std::printf("module: %u baud-index %u\n", m->address(), m->baud_index());
    if (!cfg.input_script.empty()) {
        // The module counts script time on the host's local clock.
        const int64_t utc = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count();
        std::printf("inputs-start: %lld\n",
                    static_cast<long long>(modules.front()->script_start_ms() -
                                           (km::emu::host_local_ms() - utc)));
    }
    std::printf("address: %u\nready\n", modules.front()->address());
    std::fflush(stdout);

    const auto start = std::chrono::steady_clock::now();
    while (!g_stop) {
        server.poll_once(100);
        if (g_cycle) {
            g_cycle = 0;
            bus.power_cycle();
            for (const auto& m : modules)
                std::printf("power-up: address %u baud-index %u\n", m->address(), m->baud_index());
            std::fflush(stdout);
        }
        if (exit_after >= 0 &&
            std::chrono::steady_clock::now() - start >= std::chrono::seconds(exit_after))
            break;
    }
    if (!pty_link.empty() && use_pty) km::emu::remove_link(pty_link);
    // What the faults did, for soak runs that count them.
    km::emu::Stats st;
    for (const auto& m : modules) {
        st.handled += m->stats().handled;
        st.faults += m->stats().faults;
        st.dropped += m->stats().dropped;
        st.delayed += m->stats().delayed;
        st.corrupted += m->stats().corrupted;
    }
    st.requests = bus.requests();
    std::printf(
        "stats: requests %llu handled %llu faults %llu dropped %llu delayed %llu "
        "corrupted %llu\n",
        static_cast<unsigned long long>(st.requests), static_cast<unsigned long long>(st.handled),
        static_cast<unsigned long long>(st.faults), static_cast<unsigned long long>(st.dropped),
        static_cast<unsigned long long>(st.delayed), static_cast<unsigned long long>(st.corrupted));
    std::fflush(stdout);
    if (verbose)
        std::fprintf(stderr, "km207-sim: stopped after %llu udp and %llu serial frames\n",
                     static_cast<unsigned long long>(server.udp_frames()),
                     static_cast<unsigned long long>(server.serial_frames()));
    return 0;
}
