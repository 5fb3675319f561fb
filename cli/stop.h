#pragma once

namespace km207 {

// Ctrl-C and SIGTERM stop a watch, a scan or a transfer at its next pause;
// a second one ends the process at once.
void installStopHandler();
bool stopRequested();
// While the tool waits on standard input, where no pause comes to look for
// a stop, the first Ctrl-C ends it at once (nothing was sent yet).
void readingInput(bool reading);

} // namespace km207
