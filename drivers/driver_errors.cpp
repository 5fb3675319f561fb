#include "driver_errors.h"

#include "cp1250_table.h"

namespace km {

namespace {
struct Row {
    uint32_t code;
    const char* text;
};

const Row kRows[] = {
    {kOk, "V pořádku"},
    {kErrNoDevice, "Zařízení nenalezeno"},
    {kErrPermission, "Přístup k zařízení odepřen (přidejte uživatele do skupiny dialout)"},
    {kErrBusy, "Port je používán jiným programem"},
    {kErrBaud, "Neplatná komunikační rychlost"},
    {kErrTimeout, "Modul neodpovídá"},
    {kErrCorrupt, "Poškozená odpověď modulu"},
    {kErrOtherModule, "Odpověď od jiného modulu"},
    {kErrIpAddress, "Neplatná IP adresa"},
    {kErrRequest, "Chybný požadavek"},
    {kErrNotBound, "Ovladač není připojen"},
    {kErrUdpPort, "Neplatný UDP port"},
    {kErrModule, "Modul hlásí chybu"},
    {kErrHandle, "Neplatný handle ovladače"},
    {kErrIo, "Chyba komunikace"},
    {kErrNoMemory, "Nedostatek prostředků"},
    {kErrUnknownCommand, "Modul nezná příkaz"},
    {kErrBadRegister, "Modul nemá tento registr"},
    {kErrBadValue, "Modul odmítl hodnotu"},
    {kErrParameter, "Neplatný parametr ovladače"},
};

const char* const kUnknown = "Neznámá chyba ovladače";

// Next code point of a UTF-8 text; the texts above are well formed.
uint32_t next_code_point(const unsigned char*& p) {
    uint32_t c = *p++;
    if (c < 0x80) return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
    c &= 0x3F >> extra;
    while (extra-- > 0 && (*p & 0xC0) == 0x80)
        c = (c << 6) | (*p++ & 0x3F);
    return c;
}
} // namespace

const char* driver_error_text(uint32_t code) {
    for (const Row& r : kRows)
        if (r.code == code) return r.text;
    return kUnknown;
}

uint8_t cp1250_from_unicode(uint32_t cp) {
    if (cp < 0x80) return static_cast<uint8_t>(cp);
    for (int i = 0; i < 128; ++i)
        if (kCp1250High[i] == cp) return static_cast<uint8_t>(0x80 + i);
    return '?';
}

void driver_error_fill(uint32_t code, uint32_t* text, uint32_t len) {
    if (!text || len == 0) return;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(driver_error_text(code));
    uint32_t i = 0;
    while (*p && i + 1 < len)
        text[i++] = cp1250_from_unicode(next_code_point(p));
    while (i < len)
        text[i++] = 0;
}

} // namespace km
