// km207-sim: a KM-207 module on UDP loopback and on a pseudo-terminal or a
// serial port.
#include "km_bus.h"
#include "km_module.h"
#include "km_server.h"
#include "sim_platform.h"

#include <algorithm>
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
volatile std::sig_atomic_t g_switch = 0;

void on_signal(int) {
    g_stop = 1;
}
void on_cycle(int) {
    g_cycle = 1;
}
void on_switch(int) {
    g_switch = 1;
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
                     repeat, one script per input; the others keep --inputs,
                     default 0):
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
            address=A only requests to address A (one module of a line)
      e.g. --fault drop:count=2 --fault delay:p=0.1,ms=300
  --seed N           random seed of probabilistic faults (default 1)

A line under test, so that one module fails while the others run on (the
signals not on Windows); a module is named by its address at start, A[:B]
with its baud index B where two share the address:
  --usr1-modules A[:B][,...]
                     SIGUSR1 power-cycles only these modules (default: every
                     module)
  --usr2-modules A[:B][,...]
                     SIGUSR2 switches these modules off (default: every
                     module): they stop answering, as if taken off the line,
                     and the next SIGUSR2 switches them on again (a power-up:
                     the power failure is recorded). Prints for each
                       power-down: address N baud-index B
                     or the power-up line of SIGUSR1
  --status-bits A[:B]=X
                     that module's status register starts as X in place of
                     the power-up's PWR, RST and PRF (0x34): e.g. 0x74 adds
                     ERR24, 0 is the register as cleared; may repeat

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

// A module by its address and baud index (-1: any) at start.
using Pick = std::pair<int64_t, int64_t>;

// "A[:B],A[:B]..." into `picks`.
bool parse_picks(const char* s, std::vector<Pick>& picks) {
    if (!s) return false;
    std::string rest = s;
    for (;;) {
        const auto comma = rest.find(',');
        Pick p;
        if (!parse_module(rest.substr(0, comma).c_str(), p.first, p.second)) return false;
        picks.push_back(p);
        if (comma == std::string::npos) return true;
        rest.erase(0, comma + 1);
    }
}

struct Options {
    km::emu::Config cfg;
    std::vector<std::pair<int64_t, int64_t>> module_args; // address, baud index or -1
    bool address_given = false;
    std::vector<km::emu::FaultRule> faults;
    std::string udp_host = "127.0.0.1", pty_link, com;
    int64_t udp_port = 5000, exit_after = -1;
    bool use_udp = true, use_pty = km::emu::Server::pty_supported(), verbose = false,
         strict_baud = false;
    // The line under test: the modules SIGUSR1 and SIGUSR2 act on (none
    // given: every module), and status registers at start.
    std::vector<Pick> usr1, usr2;
    std::vector<std::pair<Pick, uint32_t>> status_bits;
};

// The option argv[i] and the value after it (null after the last one); a
// value taken moves `i` past it.
struct Arg {
    std::string name;
    const char* value;
    int& i;

    bool number(int64_t lo, int64_t hi, int64_t& n) const {
        if (!to_long(value, lo, hi, n)) return false;
        ++i;
        return true;
    }
    void take() const { ++i; }
};

// Each group of options: true when `a` is one of the group's, with `error`
// set when its value is refused.
bool refused(std::string& error, const std::string& why) {
    error = why;
    return true;
}

// What makes each module itself: address, rate, registers, name.
bool module_option(const Arg& a, Options& o, std::string& error) {
    km::emu::Config& cfg = o.cfg;
    int64_t n = 0;
    if (a.name == "--address") {
        if (!a.number(0, 255, n)) return refused(error, "--address needs 0-255");
        cfg.address = static_cast<uint8_t>(n);
        o.address_given = true;
    } else if (a.name == "--module") {
        int64_t addr = 0, baud = -1;
        if (!parse_module(a.value, addr, baud))
            return refused(error, "--module needs ADDRESS[:BAUDINDEX], 0-255 and 0-8");
        o.module_args.emplace_back(addr, baud);
        a.take();
    } else if (a.name == "--baud-index") {
        if (!a.number(0, 8, n)) return refused(error, "--baud-index needs 0-8");
        cfg.baud_index = static_cast<uint8_t>(n);
    } else if (a.name == "--mode") {
        if (!a.number(0, 2, n)) return refused(error, "--mode needs 0-2");
        cfg.counter_mode = static_cast<uint8_t>(n);
    } else if (a.name == "--reg") {
        const std::string s = a.value ? a.value : "";
        const auto eq = s.find('=');
        int64_t r = 0, x = 0;
        if (eq == std::string::npos || !to_long(s.substr(0, eq).c_str(), 0, 255, r) ||
            !to_long(s.substr(eq + 1).c_str(), 0, 255, x))
            return refused(error, "--reg needs R=V with bytes");
        if (!km::emu::config_value_ok(static_cast<uint8_t>(r), static_cast<uint8_t>(x)))
            return refused(error, "--reg " + s + ": no such register or value out of range");
        cfg.registers.emplace_back(static_cast<uint8_t>(r), static_cast<uint8_t>(x));
        a.take();
    } else if (a.name == "--name") {
        if (!a.value || std::strlen(a.value) > 8)
            return refused(error, "--name needs up to 8 characters");
        cfg.name = a.value;
        a.take();
    } else if (a.name == "--fw") {
        if (!a.value || std::strlen(a.value) > 4)
            return refused(error, "--fw needs up to 4 characters");
        cfg.version = a.value;
        a.take();
    } else {
        return false;
    }
    return true;
}

// How the modules behave: counter, inputs, clock, faults.
bool behaviour_option(const Arg& a, Options& o, std::string& error) {
    km::emu::Config& cfg = o.cfg;
    int64_t n = 0;
    std::string why; // a parser's reason
    if (a.name == "--counter") {
        if (!a.number(-(int64_t{1} << 40), int64_t{1} << 40, n))
            return refused(error, "--counter needs a number");
        cfg.counter_start = n;
    } else if (a.name == "--counter-rate") {
        if (!a.number(-1000000, 1000000, n))
            return refused(error, "--counter-rate needs -1000000..1000000");
        cfg.counter_rate = static_cast<int32_t>(n);
    } else if (a.name == "--inputs") {
        if (!a.number(0, 0xFFFFFFFFL, n)) return refused(error, "--inputs needs a 32-bit word");
        cfg.input_pattern = false;
        cfg.inputs = static_cast<uint32_t>(n);
    } else if (a.name == "--input-script") {
        km::emu::InputWave w;
        if (!a.value || !km::emu::parse_input_wave(a.value, w, why))
            return refused(error, "--input-script: " + why);
        // Two scripts on one input would fight over it.
        for (const km::emu::InputWave& other : cfg.input_script)
            if (other.bit == w.bit)
                return refused(error, "--input-script: input " + std::to_string(w.bit) +
                                          " has a script already");
        cfg.input_script.push_back(w);
        cfg.input_pattern = false;
        a.take();
    } else if (a.name == "--clock-offset") {
        if (!a.number(-(int64_t{1} << 33), int64_t{1} << 33, n))
            return refused(error, "--clock-offset needs seconds");
        cfg.clock_offset_ms = n * 1000;
    } else if (a.name == "--off-before") {
        if (!a.number(0, int64_t{1} << 33, n)) return refused(error, "--off-before needs seconds");
        cfg.off_before_ms = n * 1000;
    } else if (a.name == "--fault") {
        km::emu::FaultRule r;
        if (!a.value || !km::emu::parse_fault(a.value, r, why))
            return refused(error, "--fault: " + why);
        o.faults.push_back(r);
        a.take();
    } else if (a.name == "--seed") {
        if (!a.number(0, 0x7FFFFFFFL, n)) return refused(error, "--seed needs a number");
        cfg.seed = static_cast<uint64_t>(n);
    } else {
        return false;
    }
    return true;
}

// What is served, and how long.
bool serving_option(const Arg& a, Options& o, std::string& error) {
    int64_t n = 0;
    if (a.name == "--udp-host") {
        if (!a.value) return refused(error, "--udp-host needs an address");
        o.udp_host = a.value;
        a.take();
    } else if (a.name == "--udp-port") {
        if (!a.number(0, 65535, n)) return refused(error, "--udp-port needs 0-65535");
        o.udp_port = n;
    } else if (a.name == "--no-udp") {
        o.use_udp = false;
    } else if (a.name == "--no-pty") {
        o.use_pty = false;
    } else if (a.name == "--com") {
        if (!a.value || !*a.value) return refused(error, "--com needs a port name");
        o.com = a.value;
        a.take();
    } else if (a.name == "--pty-link") {
        if (!a.value) return refused(error, "--pty-link needs a path");
        o.pty_link = a.value;
        a.take();
    } else if (a.name == "--exit-after") {
        if (!a.number(0, int64_t{1} << 30, n)) return refused(error, "--exit-after needs seconds");
        o.exit_after = n;
    } else if (a.name == "--strict-baud") {
        o.strict_baud = true;
    } else if (a.name == "--verbose") {
        o.verbose = true;
    } else {
        return false;
    }
    return true;
}

// Which modules of a line fail during the run, and how.
bool line_option(const Arg& a, Options& o, std::string& error) {
    if (a.name == "--usr1-modules" || a.name == "--usr2-modules") {
        if (!parse_picks(a.value, a.name == "--usr1-modules" ? o.usr1 : o.usr2))
            return refused(error, a.name + " needs A[:B][,A[:B]...], 0-255 and 0-8");
        a.take();
    } else if (a.name == "--status-bits") {
        const std::string s = a.value ? a.value : "";
        const auto eq = s.find('=');
        Pick p;
        int64_t bits = 0;
        if (eq == std::string::npos || !parse_module(s.substr(0, eq).c_str(), p.first, p.second) ||
            !to_long(s.substr(eq + 1).c_str(), 0, 0xFFFFFFFFL, bits))
            return refused(error, "--status-bits needs A[:B]=X with a 32-bit word");
        o.status_bits.emplace_back(p, static_cast<uint32_t>(bits));
        a.take();
    } else {
        return false;
    }
    return true;
}

// The command line into `o`: -1 to go on, else the exit code (0 after
// --help or --version, 2 after a usage error, which is printed).
int read_options(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const Arg a{argv[i], i + 1 < argc ? argv[i + 1] : nullptr, i};
        if (a.name == "--help" || a.name == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (a.name == "--version") {
            std::printf("km207-sim %s\n", KM207_VERSION);
            return 0;
        }
        std::string error;
        if (!module_option(a, o, error) && !behaviour_option(a, o, error) &&
            !serving_option(a, o, error) && !line_option(a, o, error))
            return usage_error("unknown option " + a.name);
        if (!error.empty()) return usage_error(error);
    }
    if (o.address_given && !o.module_args.empty())
        return usage_error("--address is for the single module; give each module with --module");
    if (!o.com.empty() && !o.pty_link.empty())
        return usage_error("--pty-link names the pseudo-terminal, which --com replaces");
    return -1;
}

using Modules = std::vector<std::unique_ptr<km::emu::Module>>;

// One module per --module (else the single one), each with every fault, all
// on `bus`. False after a usage error (printed): two modules alike.
bool add_modules(Options& o, Modules& modules, km::emu::Bus& bus) {
    if (o.module_args.empty()) o.module_args.emplace_back(o.cfg.address, o.cfg.baud_index);
    for (std::size_t m = 0; m < o.module_args.size(); ++m) {
        km::emu::Config c = o.cfg;
        c.address = static_cast<uint8_t>(o.module_args[m].first);
        if (o.module_args[m].second >= 0)
            c.baud_index = static_cast<uint8_t>(o.module_args[m].second);
        // Registers given with --reg are everyone's, but among several
        // modules not the address and baud index that make each one itself.
        if (o.module_args.size() > 1)
            std::erase_if(c.registers, [](const std::pair<uint8_t, uint8_t>& r) {
                return r.first == km::emu::kRegAddress || r.first == km::emu::kRegBaud;
            });
        c.seed = o.cfg.seed + m;
        for (const auto& other : modules)
            if (other->address() == c.address && other->baud_index() == c.baud_index) {
                usage_error("two modules at address " + std::to_string(c.address) +
                            " and baud index " + std::to_string(c.baud_index));
                return false;
            }
        modules.push_back(std::make_unique<km::emu::Module>(c));
        for (const auto& f : o.faults)
            modules.back()->add_fault(f);
        bus.add(*modules.back());
    }
    return true;
}

bool picked(const Pick& p, const km::emu::Module& m) {
    return m.address() == p.first && (p.second < 0 || m.baud_index() == p.second);
}

// The modules `picks` name into `out`, every module when there are none.
// False after a usage error (printed): a pick that names no module.
bool pick_modules(const std::string& option, const std::vector<Pick>& picks, const Modules& modules,
                  std::vector<km::emu::Module*>& out) {
    for (const Pick& p : picks)
        if (std::none_of(modules.begin(), modules.end(),
                         [&](const auto& m) { return picked(p, *m); })) {
            usage_error(option + ": no module at address " + std::to_string(p.first) +
                        (p.second < 0 ? "" : " and baud index " + std::to_string(p.second)));
            return false;
        }
    for (const auto& m : modules)
        if (picks.empty() ||
            std::any_of(picks.begin(), picks.end(), [&](const Pick& p) { return picked(p, *m); }))
            out.push_back(m.get());
    return true;
}

// What the two signals do to the line under test.
struct LineEvents {
    std::vector<km::emu::Module*> cycled;   // SIGUSR1: power cycle
    std::vector<km::emu::Module*> switched; // SIGUSR2: off, and on again
};

// The line under test as the options make it: the signals' modules, the
// status registers set. False after a usage error (printed): a module named
// there or by a fault's address is not on the line.
bool prepare_line(const Options& o, const Modules& modules, LineEvents& line) {
    if (!pick_modules("--usr1-modules", o.usr1, modules, line.cycled) ||
        !pick_modules("--usr2-modules", o.usr2, modules, line.switched))
        return false;
    std::vector<km::emu::Module*> at;
    for (const auto& f : o.faults)
        if (f.address >= 0 && !pick_modules("--fault", {{f.address, -1}}, modules, at))
            return false;
    for (const auto& [p, bits] : o.status_bits) {
        at.clear();
        if (!pick_modules("--status-bits", {p}, modules, at)) return false;
        for (km::emu::Module* m : at)
            m->set_status(bits);
    }
    return true;
}

bool failed(const std::string& error) {
    std::fprintf(stderr, "km207-sim: %s\n", error.c_str());
    return false;
}

// Opens UDP and the serial line (a --com port at the first module's rate,
// or a pseudo-terminal) and prints where they are. False after an error
// (printed).
bool open_servers(const Options& o, km::emu::Server& server, const km::emu::Module& first) {
    std::string err;
    if (o.use_udp) {
        if (!server.open_udp(o.udp_host, static_cast<uint16_t>(o.udp_port), err))
            return failed(err);
        std::printf("udp: %s:%u\n", server.udp_host().c_str(), server.udp_port());
    }
    if (!o.com.empty()) {
        const uint32_t baud = km::proto::kBaudRates[first.baud_index() % km::proto::kBaudCount];
        if (!server.open_serial(o.com, baud, err)) return failed(err);
        std::printf("pty: %s\n", server.pty_path().c_str());
    } else if (o.use_pty) {
        if (!server.open_pty(err)) return failed(err);
        std::printf("pty: %s\n", server.pty_path().c_str());
        if (!o.pty_link.empty() && !km::emu::make_link(server.pty_path(), o.pty_link, err))
            return failed(err);
    }
    return true;
}

// The rest of the start-up lines, "ready" last.
void announce(const Options& o, const Modules& modules) {
    for (const auto& m : modules)
        std::printf("module: %u baud-index %u\n", m->address(), m->baud_index());
    if (!o.cfg.input_script.empty()) {
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
}

void print_power(const char* what, const km::emu::Module& m) {
    std::printf("%s: address %u baud-index %u\n", what, m.address(), m.baud_index());
}

// Serves until a stop signal or `exit_after` seconds (negative: never),
// power-cycling or switching modules of the line on the two signals.
void serve(km::emu::Server& server, const LineEvents& line, int64_t exit_after) {
    const auto start = std::chrono::steady_clock::now();
    while (!g_stop) {
        server.poll_once(100);
        if (g_cycle) {
            g_cycle = 0;
            for (km::emu::Module* m : line.cycled) {
                m->power_cycle();
                print_power("power-up", *m);
            }
            std::fflush(stdout);
        }
        if (g_switch) {
            g_switch = 0;
            for (km::emu::Module* m : line.switched) {
                if (m->powered())
                    m->power_down();
                else
                    m->power_up();
                print_power(m->powered() ? "power-up" : "power-down", *m);
            }
            std::fflush(stdout);
        }
        if (exit_after >= 0 &&
            std::chrono::steady_clock::now() - start >= std::chrono::seconds(exit_after))
            break;
    }
}

// What the faults did, for soak runs that count them.
void print_stats(const Modules& modules, const km::emu::Bus& bus) {
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
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (const int code = read_options(argc, argv, o); code >= 0) return code;
    Modules modules;
    km::emu::Bus bus;
    LineEvents line;
    if (!add_modules(o, modules, bus) || !prepare_line(o, modules, line)) return 2;

    // Handlers before "ready", so a client that stops us at once gets a clean exit.
    km::emu::install_signals(on_signal, on_cycle, on_switch);

    km::emu::Server server(bus);
    server.set_verbose(o.verbose);
    server.set_strict_baud(o.strict_baud);
    if (!open_servers(o, server, *modules.front())) return 1;
    announce(o, modules);
    serve(server, line, o.exit_after);
    if (!o.pty_link.empty() && o.use_pty) km::emu::remove_link(o.pty_link);
    print_stats(modules, bus);
    if (o.verbose)
        std::fprintf(stderr, "km207-sim: stopped after %llu udp and %llu serial frames\n",
                     static_cast<unsigned long long>(server.udp_frames()),
                     static_cast<unsigned long long>(server.serial_frames()));
    return 0;
}
