// km207-sim: a KM-207 module on UDP loopback and on a pseudo-terminal or a
// serial port.
#include "km_bus.h"
#include "km_module.h"
#include "km_server.h"
#include "sim_platform.h"
#include "sim_texts.h"

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

using km::emu::choose_language;
using km::emu::help_text;
using km::emu::say;

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
    km::emu::write_text(stderr, "km207-sim: " + say("%1 (see --help)", {msg}) + "\n");
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
        if (!a.number(0, 255, n)) return refused(error, say("--address needs 0-255"));
        cfg.address = static_cast<uint8_t>(n);
        o.address_given = true;
    } else if (a.name == "--module") {
        int64_t addr = 0, baud = -1;
        if (!parse_module(a.value, addr, baud))
            return refused(error, say("--module needs ADDRESS[:BAUDINDEX], 0-255 and 0-8"));
        o.module_args.emplace_back(addr, baud);
        a.take();
    } else if (a.name == "--baud-index") {
        if (!a.number(0, 8, n)) return refused(error, say("--baud-index needs 0-8"));
        cfg.baud_index = static_cast<uint8_t>(n);
    } else if (a.name == "--mode") {
        if (!a.number(0, 2, n)) return refused(error, say("--mode needs 0-2"));
        cfg.counter_mode = static_cast<uint8_t>(n);
    } else if (a.name == "--reg") {
        const std::string s = a.value ? a.value : "";
        const auto eq = s.find('=');
        int64_t r = 0, x = 0;
        if (eq == std::string::npos || !to_long(s.substr(0, eq).c_str(), 0, 255, r) ||
            !to_long(s.substr(eq + 1).c_str(), 0, 255, x))
            return refused(error, say("--reg needs R=V with bytes"));
        if (!km::emu::config_value_ok(static_cast<uint8_t>(r), static_cast<uint8_t>(x)))
            return refused(error, say("--reg %1: no such register or value out of range", {s}));
        cfg.registers.emplace_back(static_cast<uint8_t>(r), static_cast<uint8_t>(x));
        a.take();
    } else if (a.name == "--name") {
        if (!a.value || std::strlen(a.value) > 8)
            return refused(error, say("--name needs up to 8 characters"));
        cfg.name = a.value;
        a.take();
    } else if (a.name == "--fw") {
        if (!a.value || std::strlen(a.value) > 4)
            return refused(error, say("--fw needs up to 4 characters"));
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
            return refused(error, say("--counter needs a number"));
        cfg.counter_start = n;
    } else if (a.name == "--counter-rate") {
        if (!a.number(-1000000, 1000000, n))
            return refused(error, say("--counter-rate needs -1000000..1000000"));
        cfg.counter_rate = static_cast<int32_t>(n);
    } else if (a.name == "--inputs") {
        if (!a.number(0, 0xFFFFFFFFL, n))
            return refused(error, say("--inputs needs a 32-bit word"));
        cfg.input_pattern = false;
        cfg.inputs = static_cast<uint32_t>(n);
    } else if (a.name == "--input-script") {
        km::emu::InputWave w;
        if (!a.value || !km::emu::parse_input_wave(a.value, w, why))
            return refused(error, "--input-script: " + why);
        // Two scripts on one input would fight over it.
        for (const km::emu::InputWave& other : cfg.input_script)
            if (other.bit == w.bit)
                return refused(error, say("--input-script: input %1 has a script already",
                                          {std::to_string(w.bit)}));
        cfg.input_script.push_back(w);
        cfg.input_pattern = false;
        a.take();
    } else if (a.name == "--clock-offset") {
        if (!a.number(-(int64_t{1} << 33), int64_t{1} << 33, n))
            return refused(error, say("--clock-offset needs seconds"));
        cfg.clock_offset_ms = n * 1000;
    } else if (a.name == "--off-before") {
        if (!a.number(0, int64_t{1} << 33, n))
            return refused(error, say("--off-before needs seconds"));
        cfg.off_before_ms = n * 1000;
    } else if (a.name == "--fault") {
        km::emu::FaultRule r;
        if (!a.value || !km::emu::parse_fault(a.value, r, why))
            return refused(error, "--fault: " + why);
        o.faults.push_back(r);
        a.take();
    } else if (a.name == "--seed") {
        if (!a.number(0, 0x7FFFFFFFL, n)) return refused(error, say("--seed needs a number"));
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
        if (!a.value) return refused(error, say("--udp-host needs an address"));
        o.udp_host = a.value;
        a.take();
    } else if (a.name == "--udp-port") {
        if (!a.number(0, 65535, n)) return refused(error, say("--udp-port needs 0-65535"));
        o.udp_port = n;
    } else if (a.name == "--no-udp") {
        o.use_udp = false;
    } else if (a.name == "--no-pty") {
        o.use_pty = false;
    } else if (a.name == "--com") {
        if (!a.value || !*a.value) return refused(error, say("--com needs a port name"));
        o.com = a.value;
        a.take();
    } else if (a.name == "--pty-link") {
        if (!a.value) return refused(error, say("--pty-link needs a path"));
        o.pty_link = a.value;
        a.take();
    } else if (a.name == "--exit-after") {
        if (!a.number(0, int64_t{1} << 30, n))
            return refused(error, say("--exit-after needs seconds"));
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
            return refused(error, say("%1 needs A[:B][,A[:B]...], 0-255 and 0-8", {a.name}));
        a.take();
    } else if (a.name == "--status-bits") {
        const std::string s = a.value ? a.value : "";
        const auto eq = s.find('=');
        Pick p;
        int64_t bits = 0;
        if (eq == std::string::npos || !parse_module(s.substr(0, eq).c_str(), p.first, p.second) ||
            !to_long(s.substr(eq + 1).c_str(), 0, 0xFFFFFFFFL, bits))
            return refused(error, say("--status-bits needs A[:B]=X with a 32-bit word"));
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
    // First, so that the help and every message speak the language chosen.
    if (!choose_language(argc, argv)) return usage_error(say("--lang needs cs or en"));
    for (int i = 1; i < argc; ++i) {
        const Arg a{argv[i], i + 1 < argc ? argv[i + 1] : nullptr, i};
        if (a.name == "--lang") {
            a.take();
            continue;
        }
        if (a.name == "--help" || a.name == "-h") {
            km::emu::write_text(stdout, help_text());
            return 0;
        }
        if (a.name == "--version") {
            std::printf("km207-sim %s\n", KM207_VERSION);
            return 0;
        }
        std::string error;
        if (!module_option(a, o, error) && !behaviour_option(a, o, error) &&
            !serving_option(a, o, error) && !line_option(a, o, error))
            return usage_error(say("unknown option %1", {a.name}));
        if (!error.empty()) return usage_error(error);
    }
    if (o.address_given && !o.module_args.empty())
        return usage_error(
            say("--address is for the single module; give each module with --module"));
    if (!o.com.empty() && !o.pty_link.empty())
        return usage_error(say("--pty-link names the pseudo-terminal, which --com replaces"));
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
                usage_error(say("two modules at address %1 and baud index %2",
                                {std::to_string(c.address), std::to_string(c.baud_index)}));
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
            usage_error(p.second < 0
                            ? say("%1: no module at address %2", {option, std::to_string(p.first)})
                            : say("%1: no module at address %2 and baud index %3",
                                  {option, std::to_string(p.first), std::to_string(p.second)}));
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
    km::emu::write_text(stderr, "km207-sim: " + error + "\n");
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
        km::emu::write_text(stderr, "km207-sim: " +
                                        say("stopped after %1 udp and %2 serial frames",
                                            {std::to_string(server.udp_frames()),
                                             std::to_string(server.serial_frames())}) +
                                        "\n");
    return 0;
}
