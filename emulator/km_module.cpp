#include "km_module.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>

namespace km::emu {

using proto::Reply;
using proto::Request;

namespace {

constexpr int64_t kDayMs = 86400000;

int64_t floor_div(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

int64_t floor_mod(int64_t a, int64_t b) {
    return a - floor_div(a, b) * b;
}

int days_in_month(int year, int month) {
    using namespace std::chrono;
    return static_cast<int>(static_cast<unsigned>(
        (year_month_day_last{std::chrono::year{year} /
                             std::chrono::month{static_cast<unsigned>(month)} / last})
            .day()));
}

void put_word(Reply& rep, uint32_t w) {
    for (int i = 0; i < 4; ++i)
        rep.data[i] = static_cast<uint8_t>(w >> (8 * i));
}

uint32_t get_word(const Request& req) {
    return static_cast<uint32_t>(req.b[1]) | static_cast<uint32_t>(req.b[2]) << 8 |
           static_cast<uint32_t>(req.b[3]) << 16 | static_cast<uint32_t>(req.b[4]) << 24;
}

// Four register bytes of one 32-bit DIO setting (g: 0 DOUT initial, 1 DIN
// negation, 2 DOUT negation), byte i in register 32 + 3i + g.
uint32_t dio_word(const std::array<uint8_t, 64>& regs, int g) {
    uint32_t w = 0;
    for (int i = 0; i < 4; ++i)
        w |= static_cast<uint32_t>(regs[kRegDioFirst + 3 * i + g]) << (8 * i);
    return w;
}

constexpr int64_t kRange23 = int64_t{1} << 23;
constexpr int64_t kMax23 = kRange23 - 1;

bool config_register_exists(uint8_t reg) {
    return reg == kRegCounterMode || (reg >= kRegDioFirst && reg <= kRegDioLast) ||
           reg == kRegBaud || reg == kRegAddress;
}

} // namespace

bool config_value_ok(uint8_t reg, uint8_t value) {
    if (!config_register_exists(reg)) return false;
    if (reg == kRegCounterMode) return value <= 2;
    if (reg == kRegBaud) return value <= 8;
    return true;
}

int64_t host_local_ms() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t); // the model also runs inside a Windows test library
#else
    localtime_r(&t, &tm);
#endif
    // The local calendar time read as if it were UTC (no tm_gmtoff on Windows).
    const int64_t ms = duration_cast<milliseconds>(now.time_since_epoch()).count();
    return from_datetime({tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                          tm.tm_sec, static_cast<int>(ms % 1000)});
}

DateTime to_datetime(int64_t local_ms) {
    using namespace std::chrono;
    const int64_t days = floor_div(local_ms, kDayMs);
    int64_t rest = local_ms - days * kDayMs;
    const year_month_day ymd{sys_days{std::chrono::days{days}}};
    DateTime dt{};
    dt.year = static_cast<int>(ymd.year());
    dt.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    dt.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    dt.hour = static_cast<int>(rest / 3600000);
    rest %= 3600000;
    dt.minute = static_cast<int>(rest / 60000);
    rest %= 60000;
    dt.second = static_cast<int>(rest / 1000);
    dt.ms = static_cast<int>(rest % 1000);
    return dt;
}

int64_t from_datetime(const DateTime& dt) {
    using namespace std::chrono;
    const sys_days d{std::chrono::year{dt.year} /
                     std::chrono::month{static_cast<unsigned>(dt.month)} /
                     std::chrono::day{static_cast<unsigned>(dt.day)}};
    return static_cast<int64_t>(d.time_since_epoch().count()) * kDayMs + dt.hour * 3600000LL +
           dt.minute * 60000LL + dt.second * 1000LL + dt.ms;
}

const char* fault_name(FaultKind k) {
    switch (k) {
    case FaultKind::Drop:
        return "drop";
    case FaultKind::Delay:
        return "delay";
    case FaultKind::Corrupt:
        return "corrupt";
    case FaultKind::WrongReadback:
        return "readback";
    case FaultKind::ErrorStatus:
        return "status";
    }
    return "?";
}

Module::Module(Config cfg, Clock clock) : cfg_(std::move(cfg)), clock_(std::move(clock)) {
    cfg_.name.resize(8, ' ');
    cfg_.version.resize(4, ' ');
    regs_[kRegCounterMode] = cfg_.counter_mode;
    for (int i = 0; i < 12; ++i)
        regs_[kRegDioFirst + i] = cfg_.dio[i];
    regs_[kRegBaud] = cfg_.baud_index;
    regs_[kRegAddress] = cfg_.address;
    for (const auto& [reg, value] : cfg_.registers)
        if (config_value_ok(reg, value)) regs_[reg] = value;
    clock_offset_ms_ = cfg_.clock_offset_ms;
    counter_rate_ = cfg_.counter_rate;
    pattern_ = cfg_.input_pattern;
    inputs_raw_ = cfg_.inputs;
    script_start_ms_ = clock_();
    if (!cfg_.input_script.empty()) pattern_ = false;
    rng_.seed(cfg_.seed);
    set_counter(cfg_.counter_start);
    down_at_ms_ = module_time_ms() - cfg_.off_before_ms;
    power_up();
}

void Module::power_down() {
    if (!powered_) return;
    down_at_ms_ = module_time_ms();
    powered_ = false;
}

void Module::power_up() {
    if (powered_) return;
    failure_start_ms_ = down_at_ms_;
    failure_end_ms_ = module_time_ms();
    address_ = regs_[kRegAddress];
    baud_index_ = regs_[kRegBaud];
    outputs_ = dio_word(regs_, 0);
    status_ |= kStPwr | kStRst | kStPrf;
    powered_ = true;
}

uint8_t Module::config_register(uint8_t reg) const {
    return reg < regs_.size() ? regs_[reg] : 0;
}

bool Module::set_config_register(uint8_t reg, uint8_t value) {
    if (!config_value_ok(reg, value)) return false;
    if (reg == kRegCounterMode) {
        regs_[reg] = value;
        observe_counter(false); // a new range is no overflow
        return true;
    }
    regs_[reg] = value;
    return true;
}

int64_t Module::counter_raw() const {
    const int64_t dt = clock_() - counter_ref_ms_;
    return counter_base_ + floor_div(static_cast<int64_t>(counter_rate_) * dt, 1000);
}

void Module::set_counter(int64_t value) {
    counter_base_ = value;
    counter_ref_ms_ = clock_();
    observe_counter(false);
}

void Module::set_counter_rate(int32_t counts_per_second) {
    counter_base_ = counter_raw();
    counter_ref_ms_ = clock_();
    counter_rate_ = counts_per_second;
}

// Wrap index of a raw count in the current mode.
static int64_t wrap_index(int64_t raw, uint8_t mode) {
    switch (mode) {
    case 1:
        return floor_div(raw, kRange23);
    case 2:
        return floor_div(raw + kMax23, 2 * kMax23 + 1);
    default:
        return floor_div(raw, int64_t{1} << 32);
    }
}

void Module::observe_counter(bool flag_wrap) {
    const int64_t w = wrap_index(counter_raw(), regs_[kRegCounterMode]);
    if (flag_wrap && w != counter_wraps_) status_ |= kStErr24;
    counter_wraps_ = w;
}

std::array<uint8_t, 4> Module::counter_bytes() const {
    const int64_t raw = counter_raw();
    uint32_t w = 0;
    switch (regs_[kRegCounterMode]) {
    case 1:
        w = static_cast<uint32_t>(floor_mod(raw, kRange23));
        break;
    case 2: {
        // Sign and magnitude: 23 bits of magnitude, sign in bit 23 (bit 7 of B3).
        const int64_t v = floor_mod(raw + kMax23, 2 * kMax23 + 1) - kMax23;
        w = static_cast<uint32_t>(v < 0 ? -v : v);
        if (v < 0) w |= 1u << 23;
        break;
    }
    default:
        w = static_cast<uint32_t>(floor_mod(raw, int64_t{1} << 32));
        break;
    }
    return {static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 8), static_cast<uint8_t>(w >> 16),
            static_cast<uint8_t>(w >> 24)};
}

uint32_t Module::input_raw() const {
    if (!pattern_) {
        uint32_t w = inputs_raw_;
        const int64_t t = clock_() - script_start_ms_;
        for (const InputWave& s : cfg_.input_script) {
            const bool high = s.kind == InputWave::Kind::Square
                                  ? t >= 0 && floor_mod(floor_div(t, s.length_ms), 2) == 1
                                  : t >= s.at_ms && t < s.at_ms + s.length_ms;
            w = high ? w | 1u << s.bit : w & ~(1u << s.bit);
        }
        return w;
    }
    // A pattern an operator can see move: a walking bit, a binary count every
    // quarter second, an alternating byte each second, and the second itself.
    const int64_t t = clock_();
    const uint32_t step = static_cast<uint32_t>(floor_div(t, 250));
    const uint32_t sec = static_cast<uint32_t>(floor_mod(floor_div(t, 1000), 60));
    const uint32_t b0 = 1u << (step % 8);
    const uint32_t b1 = step & 0xFF;
    const uint32_t b2 = (sec % 2) ? 0xA5u : 0x5Au;
    return b0 | b1 << 8 | b2 << 16 | sec << 24;
}

uint32_t Module::inputs() const {
    return input_raw() ^ dio_word(regs_, 1);
}

void Module::set_inputs(uint32_t raw) {
    pattern_ = false;
    inputs_raw_ = raw;
}

void Module::run_input_pattern() {
    pattern_ = true;
}

uint32_t Module::output_pins() const {
    return outputs_ ^ dio_word(regs_, 2);
}

void Module::corrupt_frame(uint8_t* frame, std::size_t len) {
    if (len == 0) return;
    const std::size_t pos = static_cast<std::size_t>(rng_() % len);
    const uint8_t mask = static_cast<uint8_t>(1u << (rng_() % 8));
    frame[pos] ^= mask; // one flipped bit always breaks a CRC-16
}

uint8_t Module::run_clock_read(uint8_t reg, Reply& rep) {
    int64_t t = 0;
    switch (reg) {
    case 1:
    case 2:
        t = module_time_ms();
        break;
    case 3:
    case 4:
        t = failure_start_ms_;
        break;
    default:
        t = failure_end_ms_;
        break;
    }
    const DateTime dt = to_datetime(t);
    if (reg % 2 == 1) {
        rep.data[0] = static_cast<uint8_t>(dt.second);
        rep.data[1] = static_cast<uint8_t>(dt.minute);
        rep.data[2] = static_cast<uint8_t>(dt.hour);
    } else {
        rep.data[0] = static_cast<uint8_t>(dt.day);
        rep.data[1] = static_cast<uint8_t>(dt.month);
        rep.data[2] = static_cast<uint8_t>(floor_mod(dt.year, 4));
    }
    return proto::kStatusOk;
}

uint8_t Module::run_clock_write(const Request& req) {
    DateTime dt = to_datetime(module_time_ms());
    const int a = req.b[1], b = req.b[2], c = req.b[3];
    if (req.p5 == 1) {
        if (a > 59 || b > 59 || c > 23) return proto::kStatusBadValue;
        dt.second = a;
        dt.minute = b;
        dt.hour = c;
    } else {
        if (c > 3 || b < 1 || b > 12) return proto::kStatusBadValue;
        // The module keeps the year modulo 4: take the latest year not after
        // the current one that has this remainder.
        const int year = dt.year - static_cast<int>(floor_mod(dt.year - c, 4));
        if (a < 1 || a > days_in_month(year, b)) return proto::kStatusBadValue;
        dt.year = year;
        dt.month = b;
        dt.day = a;
    }
    // The sub-second part restarts with the write, as an RTC's divider does.
    dt.ms = 0;
    set_module_time_ms(from_datetime(dt));
    return proto::kStatusOk;
}

uint8_t Module::run(const Request& req, Reply& rep) {
    observe_counter(true);
    switch (req.command) {
    case kCmdRead:
        if (req.p5 == kObjInputs) {
            put_word(rep, inputs());
            return proto::kStatusOk;
        }
        if (req.p5 == kObjCounter) {
            const auto c = counter_bytes();
            for (int i = 0; i < 4; ++i)
                rep.data[i] = c[i];
            return proto::kStatusOk;
        }
        return proto::kStatusBadRegister;
    case kCmdWrite:
        if (req.p5 == kObjInputs) {
            outputs_ = get_word(req);
            return proto::kStatusOk;
        }
        if (req.p5 == kObjCounter) {
            set_counter(0);
            return proto::kStatusOk;
        }
        return proto::kStatusBadRegister;
    case kCmdRegRead:
        if (req.p5 == 0) {
            put_word(rep, status_);
            return proto::kStatusOk;
        }
        if (req.p5 <= 6) return run_clock_read(req.p5, rep);
        return proto::kStatusBadRegister;
    case kCmdRegWrite:
        if (req.p5 == 0) {
            status_ = 0;
            return proto::kStatusOk;
        }
        if (req.p5 == 1 || req.p5 == 2) return run_clock_write(req);
        return proto::kStatusBadRegister; // 3-6 are read-only
    case kCmdConfigRead: {
        // The register number comes twice; a mismatch means a damaged request.
        const uint8_t reg = req.b[1];
        if (req.p5 != 0 || req.b[2] != reg || !config_register_exists(reg))
            return proto::kStatusBadRegister;
        rep.data[0] = rep.data[1] = reg;
        rep.data[2] = rep.data[3] = regs_[reg];
        return proto::kStatusOk;
    }
    case kCmdConfigWrite: {
        const uint8_t reg = req.b[1];
        if (req.p5 != 0 || req.b[2] != reg || !config_register_exists(reg))
            return proto::kStatusBadRegister;
        if (req.b[3] != req.b[4]) return proto::kStatusBadValue;
        if (!set_config_register(reg, req.b[3])) return proto::kStatusBadValue;
        status_ |= kStFn;
        rep.data[0] = rep.data[1] = reg;
        rep.data[2] = rep.data[3] = req.b[3];
        return proto::kStatusOk;
    }
    case kCmdIdent: {
        if (req.p5 > 2) return proto::kStatusBadRegister;
        const std::string& s = req.p5 == 2 ? cfg_.version : cfg_.name;
        const std::size_t off = req.p5 == 1 ? 4 : 0;
        for (int i = 0; i < 4; ++i)
            rep.data[i] = static_cast<uint8_t>(s[off + i]);
        return proto::kStatusOk;
    }
    default:
        return proto::kStatusUnknownCommand;
    }
}

bool Module::execute(const Request& req, Reply& rep) {
    if (!powered_ || req.address != address_) return false;
    rep = Reply{};
    rep.address = req.address;
    rep.command = req.command;
    rep.out = req.p5;
    const uint8_t st = run(req, rep);
    if (st != proto::kStatusOk) {
        for (auto& d : rep.data)
            d = 0;
    }
    rep.status = st;
    return true;
}

bool Module::fires(FaultRule& rule, const Request& req) {
    if (rule.command >= 0 && req.command != rule.command) return false;
    if (rule.address >= 0 && req.address != rule.address) return false;
    if (rule.kind == FaultKind::WrongReadback && req.command != kCmdConfigRead) return false;
    if (rule.count > 0) {
        --rule.count;
        return true;
    }
    if (rule.probability > 0.0)
        return std::uniform_real_distribution<double>(0.0, 1.0)(rng_) < rule.probability;
    return false;
}

Response Module::exchange(const Request& req) {
    ++stats_.requests;
    Response r;
    if (!powered_ || req.address != address_) return r;
    ++stats_.handled;
    r.answered = true;

    bool refused = false;
    for (auto& f : faults_) {
        if (f.kind == FaultKind::ErrorStatus && fires(f, req)) {
            ++stats_.faults;
            r.reply.address = req.address;
            r.reply.command = req.command;
            r.reply.out = req.p5;
            r.reply.status =
                f.status == 0 ? static_cast<uint8_t>(proto::kStatusBadValue) : f.status;
            refused = true;
            break;
        }
    }
    if (!refused) execute(req, r.reply);

    for (auto& f : faults_) {
        switch (f.kind) {
        case FaultKind::ErrorStatus:
            break;
        case FaultKind::WrongReadback:
            if (r.reply.status == proto::kStatusOk && fires(f, req)) {
                ++stats_.faults;
                r.reply.data[2] = static_cast<uint8_t>(r.reply.data[2] + 1);
                r.reply.data[3] = r.reply.data[2];
            }
            break;
        case FaultKind::Corrupt:
            if (fires(f, req)) {
                ++stats_.faults;
                ++stats_.corrupted;
                r.corrupt = true;
            }
            break;
        case FaultKind::Delay:
            if (fires(f, req)) {
                ++stats_.faults;
                ++stats_.delayed;
                r.delay_ms += f.delay_ms;
            }
            break;
        case FaultKind::Drop:
            if (fires(f, req)) {
                ++stats_.faults;
                ++stats_.dropped;
                r.answered = false;
            }
            break;
        }
    }
    return r;
}

namespace {

bool parse_uint(const std::string& s, unsigned long max, unsigned long& v) {
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long x = std::strtoul(s.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || s[0] == '-' || x > max) return false;
    v = x;
    return true;
}

} // namespace

bool parse_fault(const std::string& text, FaultRule& rule, std::string& error) {
    FaultRule r;
    const auto colon = text.find(':');
    const std::string kind = text.substr(0, colon);
    if (kind == "drop")
        r.kind = FaultKind::Drop;
    else if (kind == "delay")
        r.kind = FaultKind::Delay;
    else if (kind == "corrupt")
        r.kind = FaultKind::Corrupt;
    else if (kind == "readback")
        r.kind = FaultKind::WrongReadback;
    else if (kind == "status")
        r.kind = FaultKind::ErrorStatus;
    else {
        error = "unknown fault kind '" + kind + "'";
        return false;
    }
    std::string rest = colon == std::string::npos ? "" : text.substr(colon + 1);
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string item = rest.substr(0, comma);
        rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
        const auto eq = item.find('=');
        if (eq == std::string::npos) {
            error = "expected key=value, got '" + item + "'";
            return false;
        }
        const std::string key = item.substr(0, eq), val = item.substr(eq + 1);
        unsigned long v = 0;
        if (key == "count" && parse_uint(val, 0xFFFFFFFFul, v))
            r.count = static_cast<uint32_t>(v);
        else if (key == "ms" && parse_uint(val, 600000ul, v))
            r.delay_ms = static_cast<uint32_t>(v);
        else if (key == "status" && parse_uint(val, 255ul, v) && v != 0)
            r.status = static_cast<uint8_t>(v);
        else if (key == "cmd" && parse_uint(val, 255ul, v))
            r.command = static_cast<int>(v);
        else if (key == "address" && parse_uint(val, 255ul, v))
            r.address = static_cast<int>(v);
        else if (key == "p") {
            char* end = nullptr;
            const double p = std::strtod(val.c_str(), &end);
            if (val.empty() || *end != '\0' || !(p >= 0.0 && p <= 1.0)) {
                error = "probability must be 0..1, got '" + val + "'";
                return false;
            }
            r.probability = p;
        } else {
            error = "bad fault option '" + item + "'";
            return false;
        }
    }
    if (r.count == 0 && r.probability == 0.0) {
        error = "fault '" + kind + "' needs count=N or p=P";
        return false;
    }
    rule = r;
    return true;
}

bool parse_input_wave(const std::string& text, InputWave& wave, std::string& error) {
    std::vector<long long> n;
    const auto colon = text.find(':');
    const std::string kind = text.substr(0, colon);
    std::size_t at = colon;
    while (at != std::string::npos) {
        const std::size_t next = text.find(':', at + 1);
        const std::string part =
            text.substr(at + 1, next == std::string::npos ? next : next - at - 1);
        char* end = nullptr;
        errno = 0;
        const long long v = std::strtoll(part.c_str(), &end, 10);
        if (part.empty() || errno || *end) {
            error = "not a number: \"" + part + "\"";
            return false;
        }
        n.push_back(v);
        at = next;
    }
    constexpr long long kDay = 24LL * 3600 * 1000;
    InputWave w;
    if (kind == "square" && n.size() == 2) {
        w.kind = InputWave::Kind::Square;
        w.length_ms = n[1];
        if (w.length_ms < 1 || w.length_ms > kDay) {
            error = "half period 1 ms to 24 h";
            return false;
        }
    } else if (kind == "pulse" && n.size() == 3) {
        w.kind = InputWave::Kind::Pulse;
        w.at_ms = n[1];
        w.length_ms = n[2];
        if (w.at_ms < 0 || w.at_ms > kDay || w.length_ms < 1 || w.length_ms > kDay) {
            error = "start 0 to 24 h, length 1 ms to 24 h";
            return false;
        }
    } else {
        error = "square:BIT:HALF_MS or pulse:BIT:AT_MS:LENGTH_MS";
        return false;
    }
    if (n[0] < 0 || n[0] > 31) {
        error = "input bit 0-31";
        return false;
    }
    w.bit = static_cast<uint8_t>(n[0]);
    wave = w;
    return true;
}

} // namespace km::emu
