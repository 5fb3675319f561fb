// What km207 prints: results on standard output (plain lines or one JSON
// object per line), errors and notes on standard error, and a progress bar
// on standard error when it is a terminal.
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace km207 {

// Exit statuses of the tool.
constexpr int ExitOk = 0;
constexpr int ExitModule = 1;  // the module answered with an error, or a verification failed
constexpr int ExitLink = 2;    // no answer, or the link could not be opened
constexpr int ExitUsage = 64;  // bad command line or input file; nothing sent
constexpr int ExitOutput = 74; // an output (standard output, a file) could not be written

// km207's own code, outside the link's: a register read back with another
// value than the one written.
constexpr uint32_t CodeReadBackDiffers = 120;

// Exit status for a code of the link: 1 for the module's own error statuses
// (12, 16, 17, 18) and a failed verification (9), 2 for everything else.
int exitStatusForCode(uint32_t code);

// Register numbers as a JSON array.
QJsonArray registerArray(const std::vector<uint8_t>& regs);
// The counter modes by register 0's value: "32", "23", "23s".
const QStringList& modeNames();
// Empty for a value that is no mode.
QString modeName(uint8_t mode);

class Output {
  public:
    explicit Output(bool json);

    bool json() const { return json_; }

    // One result: Text as a line, or Object in JSON mode.
    void result(const QString& text, const QJsonObject& object);
    // A remark on standard error (both modes), prefixed "km207: ".
    void note(const QString& text);
    // A failure: "km207: Text (kód N)" on standard error; in JSON mode also
    // {"error": Text, "code": N, "exit": Status} plus Extra on standard output.
    void error(const QString& text, std::optional<uint32_t> code, int status,
               const QJsonObject& extra = {});
    // A usage error with a pointer to the help of Command (or the tool).
    void usage(const QString& text, const QString& command);
    // Plain text such as the help, as it stands.
    void text(const QString& text);
    // Bytes on standard output as they are (a file written to "-").
    void raw(const QByteArray& bytes);

    // Why standard output could not be written (a full disk, a closed
    // pipe); empty while every write went through.
    const QString& outputFailure() const { return failure_; }
    // The exit status once the command returned Status: a failed standard
    // output is said on standard error and overrides it.
    int finish(int status);

    // Progress of a long operation, only when standard error is a terminal.
    void progress(int done, int total, const QString& label);
    // Removes the bar, so a result line can be printed.
    void endProgress();

  private:
    // A line or bytes to standard output, a failure kept.
    void toOutput(const QString& line);
    void failed();

    bool json_;
    bool terminal_;
    int shownWidth_ = 0;
    QString failure_;
};

} // namespace km207
