// The windows while a call waits on a driver host: they keep painting under
// a busy cursor, and nothing the operator does reaches them until the call
// returns. Installed into the link (VazbaOvladace.h) at start-up.
#pragma once

// Makes every wait on a host longer than a moment process the pending
// window messages other than input (paint, expose, move), under a wait
// cursor. The program's own timers wait too: a live view polling from its
// timer would call into the link inside the call. The deadline is the
// link's, unchanged.
void NastavCekaniOken();
