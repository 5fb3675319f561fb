// Czech texts of the drivers' status codes (km_status.h).
#pragma once

#include "km_status.h"

#include <stdint.h>

namespace km {

// UTF-8 text of a code; unknown codes get a generic text.
const char* driver_error_text(uint32_t code);

// Writes the text of `code` into `text` (at most `len` elements, the last one
// always 0) as Windows-1250 codes, one per element.
void driver_error_fill(uint32_t code, uint32_t* text, uint32_t len);

// Windows-1250 byte of a Unicode code point; '?' where it has none.
uint8_t cp1250_from_unicode(uint32_t cp);

} // namespace km
