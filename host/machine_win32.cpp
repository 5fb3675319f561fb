#include "machine.h"

namespace kmhost {

// Windows starts the 32-bit host itself (WoW64 on a 64-bit system); where it
// cannot, starting the host fails with its own error, so no probe here.
Runs32 runs_32bit_programs() {
    return Runs32::unknown;
}

} // namespace kmhost
