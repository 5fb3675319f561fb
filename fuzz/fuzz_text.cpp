// Text arrays handed over by a driver, and the module's identification
// bytes: any content gives a bounded text and never reads past the array.
#include "Dekl.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TTextPole pole{};
    std::memcpy(pole.data(), data, std::min(size, sizeof(pole)));
    const QString text = PoleNaText(pole);
    if (text.size() > 100) abort();

    TTextPole back;
    TextNaPole(text, back);
    if (back[0] != 0 || PoleNaText(back) != text.left(99)) abort();

    // Identification: every byte value is a character, a zero shown as blank.
    QByteArray ident(reinterpret_cast<const char*>(data),
                     static_cast<qsizetype>(std::min<size_t>(size, 12)));
    const QString modul = Cp1250NaText(ident);
    const QString shown = ModulNaText(modul);
    if (shown.size() != modul.size() || shown.contains(QChar(0))) abort();
    return 0;
}
