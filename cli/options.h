// What km207's command line asks for, and the checks of its values that
// the settings file's overrides share.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace km207 {

// What the command line asks for, every value already checked for range.
struct Options {
    QString command; // empty with --version or a bare --help
    QStringList operands;
    bool json = false;
    bool help = false;
    bool version = false;
    bool verbose = false;          // every request and reply on standard error
    std::optional<QString> config; // settings file instead of W_km207.ini
    bool noConfig = false;         // no settings file: the program's defaults
    std::optional<QString> lang;   // "cs" or "en", taken before parsing

    // Overrides of the settings file.
    std::optional<uint8_t> kind; // 0-4, the settings file's kinds
    std::optional<QString> port; // as typed; its meaning depends on the kind
    std::optional<QString> ip;
    std::optional<uint32_t> udpPort;
    std::optional<uint32_t> timeout;
    std::optional<uint8_t> address;
    std::optional<uint32_t> baud; // one of the nine rates

    // scan
    int first = 0;
    int last = 255;
    std::vector<int> baudIndices; // empty: the link's own rate
    // watch
    std::optional<int> interval; // ms
    std::optional<int> count;
    std::optional<QString> csv;    // watch trend: CSV file, "-" standard output
    std::optional<int> rateWindow; // watch trend: ms the counter's rate is taken over
    bool overwrite = false;        // an existing CSV file is emptied, not refused
    bool csvExcel = false;         // that CSV as "CSV pro Excel"
    // get
    std::optional<int> repeat;
    // restore
    bool force = false;       // write a new address even where a module answers
    bool keepAddress = false; // keep the module's own address and rate
    bool dryRun = false;      // say what would change, write nothing
    // line
    std::optional<QString> line;        // the line file
    std::optional<int> misses;          // misses in a row after which a module does not answer
    std::optional<uint32_t> moduleBaud; // commission: the rate the module gets, in Bd
    std::optional<int> wait;            // commission: seconds to wait for its power-up
};

// The interface kind's name on the command line ("com" ... "lan").
QString kindName(uint8_t kind);

// COM port number (1-255) or ISA base address (0-0xFFFF, "300h", "0x300",
// "$300" or decimal) typed for --port, for the given kind. Nothing for a bad
// value or a kind without a port.
std::optional<uint32_t> portValue(uint8_t kind, const QString& text);

// A 32-bit word written in hexadecimal, with or without "0x" or "$".
std::optional<uint32_t> hexWord(const QString& text);

// A decimal (or "0x"/"$" hexadecimal) number within [min, max], overflow
// checked; nothing otherwise.
std::optional<int64_t> numberIn(const QString& text, int64_t min, int64_t max);

} // namespace km207
