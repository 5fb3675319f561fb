#include "output.h"

#include "Kxxx410.h"
#include "Soubory.h"
#include "console.h"

#include <QCoreApplication>
#include <QJsonDocument>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace km207 {

namespace {

// Each line is flushed at once: a script or a watching operator sees it as
// it happens, and output and errors keep their order.
bool writeLine(FILE* stream, const QString& line) {
    return writeText(stream, line + QLatin1Char('\n'));
}

// Text for a terminal: a control character from the module, a file name or
// the settings file is shown as \xHH, never passed on to act on the
// terminal. Line breaks of our own texts stay.
QString visible(const QString& text) {
    return ViditelnyText(text, true);
}

QString compact(const QJsonObject& object) {
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

} // namespace

QJsonArray registerArray(const std::vector<uint8_t>& regs) {
    QJsonArray a;
    for (uint8_t r : regs)
        a.append(r);
    return a;
}

const QStringList& modeNames() {
    static const QStringList names{"32", "23", "23s"};
    return names;
}

QString modeName(uint8_t mode) {
    return mode < modeNames().size() ? modeNames()[mode] : QString();
}

int exitStatusForCode(uint32_t code) {
    if (code == 0) return ExitOk;
    // The link's own (the request could not be formed) and ours: a register
    // read back with another value.
    const bool moduleFault =
        code == KodPozadavek || code == CodeReadBackDiffers || ChybaModulu(code);
    return moduleFault ? ExitModule : ExitLink;
}

Output::Output(bool json) : json_(json), terminal_(isTerminal(stderr)) {}

void Output::toOutput(const QString& line) {
    if (!writeLine(stdout, line)) failed();
}

void Output::failed() {
    if (failure_.isEmpty()) failure_ = qt_error_string(errno);
}

int Output::finish(int status) {
    if (failure_.isEmpty()) return status;
    writeLine(stderr,
              QCoreApplication::translate("km207", "km207: Standardní výstup nelze zapsat: %1.")
                  .arg(failure_));
    return ExitOutput;
}

void Output::result(const QString& text, const QJsonObject& object) {
    endProgress();
    toOutput(json_ ? compact(object) : visible(text));
}

void Output::note(const QString& text) {
    endProgress();
    writeLine(stderr, QStringLiteral("km207: ") + visible(text));
}

void Output::error(const QString& text, std::optional<uint32_t> code, int status,
                   const QJsonObject& extra) {
    endProgress();
    QString line = QStringLiteral("km207: ") + visible(text);
    if (code) line += QCoreApplication::translate("km207", " (kód %1)").arg(*code);
    writeLine(stderr, line);
    if (!json_) return;
    QJsonObject object = extra;
    object.insert(QStringLiteral("error"), text);
    if (code) object.insert(QStringLiteral("code"), static_cast<qint64>(*code));
    object.insert(QStringLiteral("exit"), status);
    toOutput(compact(object));
}

void Output::usage(const QString& text, const QString& command) {
    error(text, std::nullopt, ExitUsage);
    const QString help = command.isEmpty() ? QStringLiteral("km207 --help")
                                           : QStringLiteral("km207 %1 --help").arg(command);
    writeLine(stderr, QCoreApplication::translate("km207", "Nápověda: ") + help);
}

void Output::text(const QString& text) {
    QString t = visible(text);
    if (t.endsWith(QLatin1Char('\n'))) t.chop(1);
    toOutput(t);
}

void Output::raw(const QByteArray& bytes) {
    const size_t n = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    if (std::fflush(stdout) != 0 || n != static_cast<size_t>(bytes.size())) failed();
}

void Output::progress(int done, int total, const QString& label) {
    if (!terminal_ || total <= 0) return;
    constexpr int Width = 30;
    const int filled = static_cast<int>(static_cast<int64_t>(done) * Width / total);
    const QString line = QStringLiteral("\r[%1%2] %3 %  %4")
                             .arg(QString(filled, QLatin1Char('#')))
                             .arg(QString(Width - filled, QLatin1Char('.')))
                             .arg(static_cast<int64_t>(done) * 100 / total, 3)
                             .arg(visible(label));
    // Blanks over what is left of a longer previous line.
    const int width = static_cast<int>(line.size());
    const QString padded = line + QString(std::max(0, shownWidth_ - width), QLatin1Char(' '));
    shownWidth_ = width;
    writeText(stderr, padded);
}

void Output::endProgress() {
    if (shownWidth_ == 0) return;
    writeText(stderr,
              QLatin1Char('\r') + QString(shownWidth_, QLatin1Char(' ')) + QLatin1Char('\r'));
    shownWidth_ = 0;
}

} // namespace km207
