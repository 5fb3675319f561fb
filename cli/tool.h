// km207's commands on the link layer: the same commands as the windows, in
// the same order, with the same pauses and verification.
#pragma once

#include <QStringList>

namespace km207 {

// Runs the command line (arguments after the program name); returns the
// exit status.
int run(const QStringList& args);

} // namespace km207
