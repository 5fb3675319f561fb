// km207-sim as a separate process, reached over UDP loopback and its pty.
#include "emu_test_util.h"
#include "km_module.h"
#include "wire_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using emu_test::rq;
using emu_test::word;
using km::proto::Reply;

namespace {

// Starts km207-sim, collects its announcement lines, stops it at the end.
class Sim {
  public:
    explicit Sim(std::vector<std::string> args, bool wait_ready = true) {
        args.insert(args.begin(), KM207_SIM);
        if (std::find(args.begin(), args.end(), "--exit-after") == args.end()) {
            args.push_back("--exit-after");
            args.push_back("60"); // never outlives a broken test for long
        }
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, fds[1], 1);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, KM207_SIM, &fa, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&fa);
        ::close(fds[1]);
        out_ = fds[0];
        if (wait_ready) read_until_ready(5000);
    }
    ~Sim() {
        if (pid_ > 0) stop();
        if (out_ >= 0) ::close(out_);
    }

    bool ready() const { return lines_.count("ready") != 0; }
    std::string value(const std::string& key) const {
        auto it = lines_.find(key);
        return it == lines_.end() ? "" : it->second;
    }
    uint16_t udp_port() const {
        const std::string v = value("udp");
        const auto colon = v.rfind(':');
        return colon == std::string::npos ? 0
                                          : static_cast<uint16_t>(std::stoi(v.substr(colon + 1)));
    }
    std::string all() const { return text_; }
    pid_t pid() const { return pid_; }
    // Reads more output until a line starting with `prefix` came (or timeout).
    bool wait_line(const std::string& prefix, int timeout_ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        while (std::chrono::steady_clock::now() < end) {
            if (lines_.count(prefix)) return true;
            pollfd p{out_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            char buf[256];
            const ssize_t n = ::read(out_, buf, sizeof buf);
            if (n <= 0) return false;
            feed(buf, static_cast<std::size_t>(n));
        }
        return lines_.count(prefix) != 0;
    }

    // SIGTERM, then the exit status (or -1 when it did not stop within 3 s).
    int stop(int sig = SIGTERM) {
        ::kill(pid_, sig);
        return wait(3000);
    }
    int wait(int timeout_ms) {
        for (int waited = 0; waited < timeout_ms; waited += 10) {
            int st = 0;
            if (::waitpid(pid_, &st, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        return -1;
    }
    void read_until_ready(int timeout_ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        while (!ready() && std::chrono::steady_clock::now() < end) {
            pollfd p{out_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            char buf[256];
            const ssize_t n = ::read(out_, buf, sizeof buf);
            if (n <= 0) break;
            feed(buf, static_cast<std::size_t>(n));
        }
    }

  private:
    void feed(const char* buf, std::size_t n) {
        text_.append(buf, n);
        partial_.append(buf, n);
        std::size_t nl;
        while ((nl = partial_.find('\n')) != std::string::npos) {
            const std::string line = partial_.substr(0, nl);
            partial_.erase(0, nl + 1);
            const auto sep = line.find(": ");
            if (sep == std::string::npos)
                lines_[line] = "";
            else
                lines_[line.substr(0, sep)] = line.substr(sep + 2);
        }
    }

    pid_t pid_ = -1;
    std::string partial_;
    int out_ = -1;
    std::map<std::string, std::string> lines_;
    std::string text_;
};

} // namespace

TEST(Sim, HelpExplainsEveryOption) {
    Sim s({"--help"}, false);
    s.read_until_ready(2000);
    EXPECT_EQ(s.wait(3000), 0);
    for (const char* opt :
         {"--address",      "--baud-index",  "--mode",         "--reg",        "--name",
          "--fw",           "--counter",     "--counter-rate", "--inputs",     "--clock-offset",
          "--off-before",   "--fault",       "--seed",         "--udp-host",   "--udp-port",
          "--no-udp",       "--no-pty",      "--pty-link",     "--exit-after", "--verbose",
          "--strict-baud",  "--module",      "SIGUSR1",        "drop",         "delay",
          "--com",          "corrupt",       "readback",       "status",       "--usr1-modules",
          "--usr2-modules", "--status-bits", "SIGUSR2",        "address=A"})
        EXPECT_NE(s.all().find(opt), std::string::npos) << opt;
}

TEST(Sim, RefusesBadOptions) {
    for (std::vector<std::string> bad :
         {std::vector<std::string>{"--address", "256"},
          {"--baud-index", "9"},
          {"--reg", "1=1"},
          {"--reg", "0=3"},
          {"--fault", "melt:count=1"},
          {"--udp-port", "70000"},
          {"--module", "1:9"},
          {"--module", "256"},
          {"--module", "1", "--address", "2"},
          {"--module", "1", "--module", "1:4"},
          {"--input-script", "square:3:100", "--input-script", "pulse:3:0:10"},
          {"--com", "/dev/null", "--pty-link", "x"},
          {"--usr1-modules", "1,"},
          {"--module", "1", "--usr2-modules", "1:5"},
          {"--status-bits", "0=0x100000000"},
          {"--fault", "drop:p=1,address=3"},
          {"--bogus"}}) {
        Sim s(bad, false);
        EXPECT_EQ(s.wait(3000), 2) << bad[0];
    }
}

// Czech whatever the locale unless English is asked for, by the option or
// the environment; the option wins, and a language it lacks is refused.
TEST(Sim, SpeaksCzechUnlessAskedForEnglish) {
    const auto help = [](std::vector<std::string> args) {
        Sim s(std::move(args), false);
        s.read_until_ready(2000);
        EXPECT_EQ(s.wait(3000), 0);
        return s.all();
    };
    const char* lang = std::getenv("LANG");
    const std::string saved = lang ? lang : "";
    ::setenv("LANG", "en_US.UTF-8", 1);
    ::unsetenv("KM207_LANG");
    EXPECT_EQ(help({"--help"}).rfind("Použití: km207-sim", 0), 0u);
    const std::string english = help({"--lang", "en", "--help"});
    EXPECT_EQ(english.rfind("Usage: km207-sim", 0), 0u) << english;
    EXPECT_NE(english.find("--lang cs|en"), std::string::npos);
    ::setenv("KM207_LANG", "en", 1);
    EXPECT_EQ(help({"--help"}), english);
    EXPECT_EQ(help({"--lang", "cs", "--help"}).rfind("Použití: km207-sim", 0), 0u);
    ::unsetenv("KM207_LANG");
    Sim german({"--lang", "de", "--help"}, false);
    EXPECT_EQ(german.wait(3000), 2);
    if (lang)
        ::setenv("LANG", saved.c_str(), 1);
    else
        ::unsetenv("LANG");
}

TEST(Sim, AnswersOverUdpAndPtyAndStopsOnSigterm) {
    Sim s({"--udp-port", "0", "--address", "5"});
    ASSERT_TRUE(s.ready()) << s.all();
    ASSERT_NE(s.udp_port(), 0);
    EXPECT_EQ(s.value("udp").rfind("127.0.0.1:", 0), 0u);
    EXPECT_EQ(s.value("address"), "5");

    emu_test::UdpClient c(s.udp_port());
    Reply r;
    ASSERT_TRUE(c.ask(77, rq(5, 200, 0), r));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data), 4), "KM-2");
    c.send(78, rq(0, 200, 0));
    EXPECT_TRUE(c.receive(150).empty()) << "address 0 is someone else";

    emu_test::PtyClient p(s.value("pty"));
    ASSERT_TRUE(p.is_open()) << s.value("pty");
    ASSERT_TRUE(p.ask(rq(5, 200, 1), r));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data), 4), "07  ");
    ASSERT_TRUE(p.ask(rq(5, 200, 2), r));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data), 4), "1.02");

    EXPECT_EQ(s.stop(SIGTERM), 0);
}

TEST(Sim, ServesTheSerialPortGivenWithCom) {
    // The test holds the far end of a pseudo-terminal, as a cable would.
    const int m = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(m, 0);
    ASSERT_EQ(::grantpt(m), 0);
    ASSERT_EQ(::unlockpt(m), 0);
    const std::string port = ::ptsname(m);
    Sim s({"--no-udp", "--com", port, "--fw", "4.56"});
    ASSERT_TRUE(s.ready()) << s.all();
    EXPECT_EQ(s.value("pty"), port);
    uint8_t f[km::proto::kFrameSize];
    km::proto::encode_request(rq(0, 200, 2), f);
    ASSERT_EQ(::write(m, f, sizeof f), static_cast<ssize_t>(sizeof f));
    std::vector<uint8_t> got;
    for (int i = 0; i < 100 && got.size() < sizeof f; ++i) {
        pollfd p{m, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        uint8_t buf[64];
        const ssize_t n = ::read(m, buf, sizeof buf);
        if (n > 0) got.insert(got.end(), buf, buf + n);
    }
    Reply r;
    ASSERT_EQ(km::proto::decode_reply(got.data(), got.size(), rq(0, 200, 2), r),
              km::proto::Reject::None);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data), 4), "4.56");
    EXPECT_EQ(s.stop(SIGTERM), 0);
    ::close(m);
    Sim none({"--no-udp", "--com", "/nonexistent/ttyKM"}, false);
    EXPECT_EQ(none.wait(3000), 1) << "a port that cannot be opened ends the emulator";
}

TEST(Sim, StopsOnSigint) {
    Sim s({"--udp-port", "0", "--no-pty"});
    ASSERT_TRUE(s.ready()) << s.all();
    EXPECT_EQ(s.value("pty"), "");
    EXPECT_EQ(s.stop(SIGINT), 0);
}

TEST(Sim, InitialRegistersAndInputs) {
    Sim s({"--udp-port", "0", "--reg", "0=2", "--reg", "42=0xF0", "--inputs", "0x01020304",
           "--name", "SIM-1", "--fw", "9.99"});
    ASSERT_TRUE(s.ready()) << s.all();
    emu_test::UdpClient c(s.udp_port());
    Reply r;
    ASSERT_TRUE(c.ask(1, rq(0, 102, 0, {0, 0, 0}), r));
    EXPECT_EQ(r.data[2], 2);
    ASSERT_TRUE(c.ask(2, rq(0, 0, 64), r));
    EXPECT_EQ(word(r), 0x01020304u ^ 0xF0000000u) << "DIN24-31 negated by register 42";
    ASSERT_TRUE(c.ask(3, rq(0, 200, 0), r));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data), 4), "SIM-");
    ASSERT_TRUE(c.ask(4, rq(0, 200, 1), r));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data), 4), "1   ");
    ASSERT_TRUE(c.ask(5, rq(0, 200, 2), r));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data), 4), "9.99");
}

TEST(Sim, FaultOptions) {
    Sim s(
        {"--udp-port", "0", "--fault", "status:count=1,status=2", "--fault", "drop:count=1,cmd=0"});
    ASSERT_TRUE(s.ready()) << s.all();
    emu_test::UdpClient c(s.udp_port());
    Reply r;
    ASSERT_TRUE(c.ask(1, rq(0, 200, 0), r));
    EXPECT_EQ(r.status, 2);
    ASSERT_TRUE(c.ask(2, rq(0, 200, 0), r));
    EXPECT_EQ(r.status, 0);
    c.send(3, rq(0, 0, 80));
    EXPECT_TRUE(c.receive(200).empty());
    EXPECT_TRUE(c.ask(4, rq(0, 0, 80), r));
}

TEST(Sim, PtyLinkIsMadeAndRemoved) {
    const std::string link = ::testing::TempDir() + "km207-sim-link-" + std::to_string(::getpid());
    {
        Sim s({"--udp-port", "0", "--pty-link", link});
        ASSERT_TRUE(s.ready()) << s.all();
        char target[256] = {};
        ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(std::string(target), s.value("pty"));
        emu_test::PtyClient p(link);
        Reply r;
        EXPECT_TRUE(p.ask(rq(0, 100, 0), r));
        EXPECT_EQ(s.stop(), 0);
    }
    struct stat st;
    EXPECT_NE(::lstat(link.c_str(), &st), 0);
}

TEST(Sim, ExitsByItself) {
    Sim s({"--udp-port", "0", "--no-pty", "--exit-after", "1"});
    ASSERT_TRUE(s.ready());
    EXPECT_EQ(s.wait(3000), 0);
}

TEST(Sim, Sigusr1PowerCyclesTheModule) {
    Sim s({"--udp-port", "0", "--no-pty"});
    ASSERT_TRUE(s.ready()) << s.all();
    emu_test::UdpClient c(s.udp_port());
    Reply r;
    ASSERT_TRUE(c.ask(1, rq(0, 103, 0, {0, 63, 63, 12, 12}), r));
    ASSERT_TRUE(c.ask(2, rq(0, 102, 0, {0, 63, 63, 12, 12}), r));
    EXPECT_EQ(r.data[2], 12) << "verified at the old address";
    ::kill(s.pid(), SIGUSR1);
    ASSERT_TRUE(s.wait_line("power-up", 3000)) << s.all();
    EXPECT_EQ(s.value("power-up"), "address 12 baud-index 4");
    c.send(3, rq(0, 200, 0));
    EXPECT_TRUE(c.receive(150).empty());
    EXPECT_TRUE(c.ask(4, rq(12, 200, 0), r));
    EXPECT_EQ(s.stop(), 0);
}

// A line of three modules where one fails while the others run on: each
// case names the lines the emulator prints after "ready" and each module's
// status afterwards (PWR, RST, PRF, ERR24; -1: no answer).
TEST(Sim, OneModuleOfALineFailsAlone) {
    struct Case {
        std::vector<std::string> args;
        int signal, times;
        const char* printed;
        std::array<int, 3> status; // addresses 1, 2, 3
    };
    const Case cases[] = {
        {{},
         SIGUSR1,
         1,
         "power-up: address 1 baud-index 4\npower-up: address 2 baud-index 4\n"
         "power-up: address 3 baud-index 6\n",
         {0x34, 0x34, 0x34}},
        {{"--usr1-modules", "3:6"}, SIGUSR1, 1, "power-up: address 3 baud-index 6\n", {0, 0, 0x34}},
        {{"--usr2-modules", "2"}, SIGUSR2, 1, "power-down: address 2 baud-index 4\n", {0, -1, 0}},
        {{"--usr2-modules", "2"},
         SIGUSR2,
         2,
         "power-down: address 2 baud-index 4\npower-up: address 2 baud-index 4\n",
         {0, 0x34, 0}},
        {{"--fault", "drop:p=1,address=2"}, 0, 0, "", {0x34, -1, 0x34}},
        {{"--status-bits", "2=0x40"}, 0, 0, "", {0x34, 0x40, 0x34}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--udp-port", "0", "--no-pty", "--module", "1",
                                         "--module",   "2", "--module", "3:6"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(c.args.empty() ? "SIGUSR1" : c.args[0] + " " + c.args[1]);
        Sim s(args);
        ASSERT_TRUE(s.ready()) << s.all();
        emu_test::UdpClient u(s.udp_port());
        Reply r;
        uint16_t txn = 1;
        for (uint8_t a = 1; a <= 3 && c.signal != 0; ++a)
            ASSERT_TRUE(u.ask(txn++, rq(a, 101, 0), r)) << "status of " << int(a) << " cleared";
        auto after_ready = [&] { return s.all().substr(s.all().find("ready\n") + 6); };
        for (int k = 0; k < c.times; ++k) {
            const std::size_t before = after_ready().size();
            ::kill(s.pid(), c.signal);
            for (int i = 0; i < 60 && after_ready().size() == before; ++i)
                s.wait_line("-", 50); // reads what came
        }
        EXPECT_EQ(after_ready(), c.printed);
        for (uint8_t a = 1; a <= 3; ++a) {
            const bool answered = u.ask(txn++, rq(a, 100, 0), r, 300);
            EXPECT_EQ(answered ? static_cast<int>(word(r) & 0x74) : -1, c.status[a - 1])
                << "module " << int(a);
        }
    }
}
