// The start of a Windows library, as tests lay one beside a program: enough
// for the binding to tell a 32-bit (0x014C) from a 64-bit (0x8664) DLL.
// QtCore only, so any test binary may use it.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>

namespace testsupport {

// Writes "MZ", the PE header's offset (64), "PE\0\0" and the machine; false
// when the file cannot be written.
inline bool write_pe_header(const QString& path, uint16_t machine) {
    QByteArray b(70, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    b[60] = 64;
    b.replace(64, 4, QByteArray("PE\0\0", 4));
    b[68] = static_cast<char>(machine & 0xFF);
    b[69] = static_cast<char>(machine >> 8);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}

} // namespace testsupport
