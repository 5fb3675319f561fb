// km207's commands on the link layer: the same commands as the windows, in
// the same order, with the same pauses and verification.
#pragma once

#include <QStringList>

namespace km207 {

// Runs the command line (arguments after the program name); returns the
// exit status.
int run(const QStringList& args);

// Ctrl-C and SIGTERM stop a watch, a scan or a transfer at its next pause;
// a second one ends the process at once.
void installStopHandler();
bool stopRequested();
// While the tool waits on standard input, where no pause comes to look for
// a stop, the first Ctrl-C ends it at once (nothing was sent yet).
void readingInput(bool reading);

} // namespace km207
