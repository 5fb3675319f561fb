#pragma once

#include <QByteArray>

#include <optional>

namespace km207 {

// Ctrl-C and SIGTERM stop a watch, a scan or a transfer at its next pause,
// and end a driver call that waits (NastavPreruseniOvladace): the command
// then reports what it did. A second one ends the process at once.
void installStopHandler();
bool stopRequested();
// Standard input to its end, at most Max bytes, read on a thread of its own
// so that a stop ends the wait: nothing then.
std::optional<QByteArray> readInput(qint64 max);

} // namespace km207
