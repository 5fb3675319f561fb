// Software model of one KM-207 module on the bus.
//
// The model answers decoded requests (km_protocol.h) the way the module does:
// identification, counter, clock, power-failure times, status register,
// digital inputs and outputs, configuration registers. Time comes from an
// injectable clock so tests are deterministic.
//
// Reply mapping: Reply::out is the out byte (the driver's "Vystup", B0 at the
// program) and always echoes the request's P5; Reply::data[0..3] are B1..B4.
// A failed command answers with a nonzero status and all data bytes 0.
#pragma once

#include "km_protocol.h"

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace km::emu {

// Local wall time of the host in milliseconds since 1970-01-01 00:00 (the
// local time read as if it were UTC, so no time zone enters the model).
using Clock = std::function<int64_t()>;
int64_t host_local_ms();

// Command codes and selectors of the command table.
enum Command : uint8_t {
    kCmdRead = 0,
    kCmdWrite = 1,
    kCmdRegRead = 100,
    kCmdRegWrite = 101,
    kCmdConfigRead = 102,
    kCmdConfigWrite = 103,
    kCmdIdent = 200,
};
constexpr uint8_t kObjInputs = 64;  // P5 of commands 0/1: digital inputs / outputs
constexpr uint8_t kObjCounter = 80; // P5 of commands 0/1: counter

// Configuration registers.
constexpr uint8_t kRegCounterMode = 0;
constexpr uint8_t kRegDioFirst =
    32; // 32 + 3i + g, g: 0 DOUT initial, 1 DIN negation, 2 DOUT negation
constexpr uint8_t kRegDioLast = 43;
constexpr uint8_t kRegBaud = 62;
constexpr uint8_t kRegAddress = 63;

// Status register bits.
enum StatusBit : uint32_t {
    kStFn = 1u << 1,    // a configuration register was written (settings stored)
    kStPrf = 1u << 2,   // power-failure start/end registers hold a new record
    kStPwr = 1u << 4,   // the module powered up
    kStRst = 1u << 5,   // the module's processor was reset (every power-up)
    kStErr24 = 1u << 6, // the counter overflowed its range and wrapped
};

enum class FaultKind {
    Drop,          // command runs, the reply is lost
    Delay,         // command runs, the reply comes `delay_ms` late
    Corrupt,       // command runs, the reply frame is damaged on the wire
    WrongReadback, // command 102 answers a value other than the register's
    ErrorStatus,   // command does not run, reply carries `status`
};

const char* fault_name(FaultKind k);

struct FaultRule {
    FaultKind kind = FaultKind::Drop;
    uint32_t count = 0;                      // fire on the next `count` matching requests...
    double probability = 0.0;                // ...then (or otherwise) with this probability
    uint32_t delay_ms = 100;                 // Delay only
    uint8_t status = proto::kStatusBadValue; // ErrorStatus only
    int command = -1;                        // only requests with this command code; -1 = any
    int address = -1; // only requests to this address (one module of a line); -1 = any
};

// What the bus sees for one request.
struct Response {
    bool answered = false; // false: no reply at all (foreign address, power off, dropped)
    proto::Reply reply;
    uint32_t delay_ms = 0; // send the reply this much later
    bool corrupt = false;  // damage the encoded frame before sending (see corrupt_frame)
};

// One scripted input, timed from the module's start (script_start_ms):
// a square wave (low for half_ms, high for half_ms, repeating) or a single
// pulse (high from at_ms for length_ms).
struct InputWave {
    enum class Kind { Square, Pulse } kind = Kind::Square;
    uint8_t bit = 0;
    int64_t at_ms = 0;     // pulse: start
    int64_t length_ms = 0; // square: half period; pulse: length
};
// Parses "square:BIT:HALF_MS" or "pulse:BIT:AT_MS:LENGTH_MS" (BIT 0-31,
// times 1 ms to 24 h, a pulse may start at 0).
bool parse_input_wave(const std::string& text, InputWave& wave, std::string& error);

struct Config {
    uint8_t address = 0;
    uint8_t baud_index = 4; // 9600 Bd
    uint8_t counter_mode = 0;
    std::array<uint8_t, 12> dio{}; // registers 32..43
    // Further configuration registers (reg, value), applied after the fields
    // above; invalid pairs are ignored (check them with config_value_ok).
    std::vector<std::pair<uint8_t, uint8_t>> registers;
    std::string name = "KM-207  "; // 8 characters, two blanks at the end
    std::string version = "1.02";  // 4 characters
    int32_t counter_rate = 10;     // counts per second, may be negative
    int64_t counter_start = 0;
    bool input_pattern = true; // inputs run a visible pattern until set_inputs()
    uint32_t inputs = 0;
    // Inputs driven by a script over `inputs` (the pattern is then off).
    std::vector<InputWave> input_script;
    int64_t clock_offset_ms = 0;     // module clock minus host clock
    int64_t off_before_ms = 3600000; // how long the module was off before its first power-up
    uint64_t seed = 1;               // random source of probabilistic faults
};

struct Stats {
    uint64_t requests = 0;  // requests seen (any address)
    uint64_t handled = 0;   // requests for this module while powered
    uint64_t dropped = 0;   // replies dropped by a fault
    uint64_t delayed = 0;   // replies delayed by a fault
    uint64_t corrupted = 0; // replies damaged by a fault
    uint64_t faults = 0;    // faults fired, all kinds
};

class Module {
  public:
    explicit Module(Config cfg = {}, Clock clock = host_local_ms);

    // One request from the bus, faults applied.
    Response exchange(const proto::Request& req);
    // One request with no faults: fills `rep` with the module's plain answer;
    // false (no reply) when the request is not for this module or it is off.
    bool execute(const proto::Request& req, proto::Reply& rep);

    // Power. A new address and baud index are taken at power-up; the outputs
    // take their initial states; PWR, RST and PRF are set; the power-failure
    // registers record the time of the power-down and of the power-up.
    void power_down();
    void power_up();
    void power_cycle() {
        power_down();
        power_up();
    }
    bool powered() const { return powered_; }

    // Active bus address and baud index (those of the last power-up).
    uint8_t address() const { return address_; }
    uint8_t baud_index() const { return baud_index_; }
    // Stored configuration register (what command 102 reads).
    uint8_t config_register(uint8_t reg) const;
    bool set_config_register(uint8_t reg, uint8_t value); // false when not writable

    // Counter: raw count (before wrapping by the mode) and the reply bytes.
    int64_t counter_raw() const;
    void set_counter(int64_t value);
    void set_counter_rate(int32_t counts_per_second);
    std::array<uint8_t, 4> counter_bytes() const;

    // Inputs as the module reports them (after the negation registers).
    uint32_t inputs() const;
    void set_inputs(uint32_t raw); // stops the pattern
    void run_input_pattern();
    // Host-clock time (ms) from which the input script runs: the module's start.
    int64_t script_start_ms() const { return script_start_ms_; }
    // Outputs as last written by command 1/64, and the pin levels after negation.
    uint32_t outputs() const { return outputs_; }
    uint32_t output_pins() const;

    // Status register; a counter wrap since the last look sets ERR24.
    uint32_t status() {
        observe_counter(true);
        return status_;
    }
    void set_status_bits(uint32_t bits) { status_ |= bits; }
    void set_status(uint32_t word) { status_ = word; }

    // Module clock as local milliseconds since 1970.
    int64_t module_time_ms() const { return clock_() + clock_offset_ms_; }
    void set_module_time_ms(int64_t t) { clock_offset_ms_ = t - clock_(); }
    // Power-failure record as module local milliseconds.
    int64_t failure_start_ms() const { return failure_start_ms_; }
    int64_t failure_end_ms() const { return failure_end_ms_; }

    // Faults.
    void add_fault(const FaultRule& rule) { faults_.push_back(rule); }
    void clear_faults() { faults_.clear(); }
    const std::vector<FaultRule>& faults() const { return faults_; }
    void seed(uint64_t s) { rng_.seed(s); }
    // Damages an encoded frame so that its checksum fails.
    void corrupt_frame(uint8_t* frame, std::size_t len);

    const Stats& stats() const { return stats_; }
    const Config& config() const { return cfg_; }

  private:
    uint8_t run(const proto::Request& req, proto::Reply& rep);
    uint8_t run_clock_read(uint8_t reg, proto::Reply& rep);
    uint8_t run_clock_write(const proto::Request& req);
    uint32_t input_raw() const;
    void observe_counter(bool flag_wrap);
    bool fires(FaultRule& rule, const proto::Request& req);

    Config cfg_;
    Clock clock_;
    bool powered_ = false;
    uint8_t address_ = 0;
    uint8_t baud_index_ = 4;
    std::array<uint8_t, 64> regs_{};
    // counter = base + rate * (now - ref) / 1000, in raw counts
    int64_t counter_base_ = 0;
    int64_t counter_ref_ms_ = 0;
    int32_t counter_rate_ = 0;
    int64_t counter_wraps_ = 0; // wraps seen so far, for ERR24
    uint32_t status_ = 0;
    bool pattern_ = true;
    uint32_t inputs_raw_ = 0;
    int64_t script_start_ms_ = 0;
    uint32_t outputs_ = 0;
    int64_t clock_offset_ms_ = 0;
    int64_t failure_start_ms_ = 0;
    int64_t failure_end_ms_ = 0;
    int64_t down_at_ms_ = 0;
    std::vector<FaultRule> faults_;
    std::mt19937_64 rng_;
    Stats stats_;
};

// Whether `value` may be written to configuration register `reg`.
bool config_value_ok(uint8_t reg, uint8_t value);

// Calendar helpers of the module clock (proleptic Gregorian, local ms).
struct DateTime {
    int year, month, day, hour, minute, second, ms;
};
DateTime to_datetime(int64_t local_ms);
int64_t from_datetime(const DateTime& dt);

// Parses a fault text of km207-sim: KIND[:key=value[,key=value...]] with KIND
// drop|delay|corrupt|readback|status and keys count, p, ms, status, cmd,
// address.
bool parse_fault(const std::string& text, FaultRule& rule, std::string& error);

} // namespace km::emu
