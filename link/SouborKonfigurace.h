// The module configuration file: the whole block with the module's
// identification and the time it was read, as readable UTF-8 text. One
// writer and one strict parser, shared by the windows and the command line.
//
//   # KM-207: konfigurace modulu
//   format = 1
//   modul = "KM-207   v.1.02"
//   precteno = 2024-05-01T14:03:07+02:00
//   adresa = 5
//   rychlost = 9600
//   mod_citace = 0
//   negace_din = 0xFFFFFFFF
//   negace_dout = 0xFFFFFFFF
//   pocatecni_stav_dout = 0x00000000
//
// Lines: "key = value", blank lines and comment lines starting with "#",
// ended by LF, CR LF or CR; the last line too, so a file cut short is known.
// Every key exactly once, in any order. rychlost is the rate in Bd (one of
// the nine, stored in the block as its baud index); mod_citace 0-2; the
// three digital I/O words are 32-bit, bit n = channel n. Numbers are decimal
// or hexadecimal ("0x", "$"), as in the settings file. modul is quoted, with
// \" \\ and \xHH (a control character) as escapes.
#pragma once

#include "Dekl.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

constexpr int FormatKonfigurace = 1;
// Larger input is refused unread; a written file is well below 1 KiB.
constexpr qsizetype MaxVelikostKonfigurace = 16 * 1024;

struct TSouborKonfigurace {
    // Identification as Modul is built: at most 15 Windows-1250 characters.
    QString Modul;
    // When the block was read from the module (local time, to the second).
    QDateTime Precteno;
    TKonfigurace Blok{};

    bool operator==(const TSouborKonfigurace&) const = default;
};

// The file's text. False, with a Czech reason in Chyba and Text untouched,
// when a value cannot be written as a valid file (baud index above 8,
// counter mode above 2, Modul too long or outside Windows-1250, no time).
bool KonfiguraceNaText(const TSouborKonfigurace& Soubor, QByteArray& Text, QString& Chyba);

// Parses a whole file. Refuses, with a Czech reason naming the line, input
// over MaxVelikostKonfigurace, text that is not UTF-8, a zero byte, a last
// line without its line end, a line
// that is not "key = value" or a comment, an unknown or repeated key, a
// missing key, another format version, and any value out of range. Soubor
// is set only on success.
bool TextNaKonfiguraci(const QByteArray& Text, TSouborKonfigurace& Soubor, QString& Chyba);

// Writes the file whole or not at all, by the rule of Soubory.h.
bool UlozKonfiguraci(const QString& Cesta, const TSouborKonfigurace& Soubor, QString& Chyba);
// Reads and parses a regular file (Soubory.h); a file over the size limit
// is refused.
bool NactiKonfiguraci(const QString& Cesta, TSouborKonfigurace& Soubor, QString& Chyba);
