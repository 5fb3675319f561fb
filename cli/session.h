// One run of km207: the options, the output, the link, and the command
// handlers, which the table of commands (commands.h) names.
#pragma once

#include "options.h"
#include "output.h"

#include "Dekl.h"
#include "Operace.h"
#include "SouborLinky.h"

#include <QJsonObject>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace km207 {

// The outcome of one reading.
struct Reading {
    bool ok = true;
    QString text;
    QJsonObject json;
    QString error;
    std::optional<uint32_t> code;
    int status = ExitOk;
};

// 2 (no answer) over 1 (the module's error) over 0.
inline int worse(int a, int b) {
    return std::max(a, b);
}

// The three digital I/O words and their first byte in the block.
struct DioWord {
    const char* key;
    int firstByte;
};
inline constexpr DioWord kDioWords[] = {{"din-neg", 3}, {"dout-neg", 7}, {"dout-init", 11}};
// The digital I/O registers in the dialog's order.
std::vector<uint8_t> dioRegisters();
// "din-neg=0x... dout-neg=0x... dout-init=0x...", each word also into Json.
QString dioWords(const TKonfigurace& block, QJsonObject& json);

class Session;

// A subject of a command ("get counter", "set address").
struct Subject {
    const char* name;
    // get and watch: one reading. powerFailureRead says whether the clock's
    // power failure was read already (the clock view reads it once).
    Reading (Session::*read)(bool& powerFailureRead) = nullptr;
    // set, clear and watch trend: all of it, from the check of the value on.
    int (Session::*run)() = nullptr;
    // set: how many words may follow the subject.
    int maxValues = 0;
    // watch: the view's period in ms, and whether it runs from the end of a
    // reading (the counter view stops its timer while it waits) or from its
    // start.
    int watchPeriod = 0;
    bool periodFromEnd = false;
};

class Session {
  public:
    // identify: the link opens with the identification (three commands
    // 200), as the connection dialog opens it; scan opens it without.
    Session(const Options& options, Output& out, bool identify, const Subject* subject)
        : o_(options), out_(out), identify_(identify), subject_(subject) {}

    // The record from the settings file with the command line's overrides.
    bool prepareLink(QString& error);
    // Opens the link as the command's row says: with or without the
    // identification.
    int openLink() { return open(identify_); }
    void close();

    int usage(const QString& text) {
        out_.usage(text, o_.command);
        return ExitUsage;
    }
    int fail(const QString& text, uint32_t code) {
        const int status = exitStatusForCode(code);
        out_.error(text, code, status);
        return status;
    }
    int fail(const Reading& r) {
        out_.error(r.error, r.code, r.status);
        return r.status;
    }

    // Commands (cmd_link.cpp, cmd_read.cpp, cmd_write.cpp, cmd_config.cpp).
    int identify();
    int scan();
    int get();
    int watch();
    int set();
    int clear();
    int backup();
    int restore();
    int line();

    // Subjects of get and watch: one reading each.
    Reading readAddress(bool& powerFailureRead);
    Reading readBaud(bool& powerFailureRead);
    Reading readMode(bool& powerFailureRead);
    Reading readDio(bool& powerFailureRead);
    Reading readCounter(bool& powerFailureRead);
    Reading readClock(bool& powerFailureRead);
    Reading readPowerFailure(bool& powerFailureRead);
    Reading readStatus(bool& powerFailureRead);
    Reading readInputs(bool& powerFailureRead);
    int watchTrend();

    // Subjects of set and clear.
    int setAddress();
    int setBaud();
    int setMode();
    int setDio();
    int setOutputs();
    int setClock();
    int clearStatus();
    int clearCounter();

    // Subjects of line (cmd_line.cpp).
    int lineScan();
    int lineStatus();
    int lineWatch();
    int lineBackup();
    int lineRestore();
    int lineCommission();

  private:
    // Opens the link as the connection dialog does: Init, SetConfig with
    // the link's rate, then (Identify) the three commands 200.
    int open(bool identify);

    Reading linkFailure(uint8_t chyba) const;
    Reading blockFailure(const TVysledekBloku& v, const TKonfigurace& written) const;
    // A write of several registers that did not finish: each register in
    // exactly one list, the same in text and JSON.
    int writeFailure(const std::vector<uint8_t>& regs, const TVysledekBloku& v,
                     const TKonfigurace& block);
    // The pause of a transfer, and Ctrl-C honoured there.
    TRizeni transfer() const;
    // A run of readings goes on: no stop, and standard output still takes
    // what it reads.
    bool goOn() const;

    // line: the line file of --line read whole (a bad one is a usage
    // error, nothing sent); Missing allows a file that does not exist yet.
    int loadLine(TSouborLinky& line, bool missingAllowed = false);

    Reading readRegisters(const std::vector<uint8_t>& regs, TKonfigurace& block);
    Reading readClockOrFailure(bool clock, bool& powerFailureRead);
    Reading readWord(bool status);
    int setAddressOrBaud(uint8_t reg, uint8_t value, const QString& what, int shown);
    int watchPeriodic(int period, bool fromEnd);

    const Options& o_;
    Output& out_;
    const bool identify_;
    const Subject* subject_; // null for a command without subjects
    TData data_;
    QString modul_;
    // line scan: where scan leaves the modules it found.
    std::vector<TNalez>* scanFound_ = nullptr;
};

} // namespace km207
