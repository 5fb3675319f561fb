// The command line of km207: commands, their operands and options, the
// help texts. Parsing sends nothing; every refusal here is a usage error.
#pragma once

#include "options.h"

#include <QString>
#include <QStringList>

namespace km207 {

// Parses the arguments after the program name. On a usage error returns
// false with a Czech message in error (no leading "km207: ").
bool parseOptions(const QStringList& args, Options& options, QString& error);

// Help of the tool (empty command) or of one command; empty for an unknown
// command.
QString helpText(const QString& command);

// The first lines of the tool's help: its form and its commands.
QString shortUsage();

} // namespace km207
