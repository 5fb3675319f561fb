// The command line of km207: commands, their operands and options, the
// help texts. Parsing sends nothing; every refusal here is a usage error.
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
    // get
    std::optional<int> repeat;
    // restore
    bool force = false;       // write a new address even where a module answers
    bool keepAddress = false; // keep the module's own address and rate
    bool dryRun = false;      // say what would change, write nothing
};

// Parses the arguments after the program name. On a usage error returns
// false with a Czech message in error (no leading "km207: ").
bool parseOptions(const QStringList& args, Options& options, QString& error);

// Help of the tool (empty command) or of one command; empty for an unknown
// command.
QString helpText(const QString& command);

// The first lines of the tool's help: its form and its commands.
QString shortUsage();

// The interface kind's name on the command line ("com" ... "lan").
QString kindName(uint8_t kind);

// COM port number (1-255) or ISA base address (0-0xFFFF, "300h", "0x300",
// "$300" or decimal) typed for --port, for the given kind. Nothing for a bad
// value or a kind without a port.
std::optional<uint32_t> portValue(uint8_t kind, const QString& text);

// A 32-bit word written in hexadecimal, with or without "0x" or "$".
std::optional<uint32_t> hexWord(const QString& text);

} // namespace km207
