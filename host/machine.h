// What this machine can run, probed from the machine itself rather than
// told by a setting. No Qt.
#pragma once

namespace kmhost {

enum class Runs32 { yes, no, unknown };

// Whether this machine starts 32-bit x86 programs, as Wine's loader for the
// 32-bit driver host must be. Probed once per process by starting a tiny
// such program: no when the kernel refuses its format (a kernel without
// 32-bit support), unknown when the probe itself cannot run.
Runs32 runs_32bit_programs();

} // namespace kmhost
