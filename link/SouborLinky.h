// The line file (.km207linka): the modules of one line, each with its
// address and rate, the identification expected there and the
// technician's label, as readable UTF-8 text. One writer and one strict
// parser, shared by the windows and the command line, in the style and
// with the rules of the configuration file (SouborKonfigurace.h).
//
//   # KM-207: linka modulů
//   format = 1
//   modul = 5
//   rychlost = 9600
//   identifikace = "KM-207   v.1.02"
//   popis = "rozvaděč R3, pole 2"
//   modul = 7
//   rychlost = 38400
//   konec = 2
//
// Lines: "key = value", blank lines and comment lines starting with "#",
// ended by LF, CR LF or CR, the last line too. format comes once, before
// the first module. "modul = ADDRESS" starts a module; rychlost (in Bd,
// one of the nine) follows it once; identifikace and popis are optional,
// once each. "konec = N" is the last key, N the number of modules: a file
// cut anywhere, also at a line end between two keys, lacks it or its
// count. Numbers are decimal or hexadecimal ("0x", "$"); texts are quoted
// with \" \\ and \xHH (a control character) as escapes. Two modules with
// the same address and rate would answer each other's requests: such a
// file is refused.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

constexpr int FormatLinky = 1;
// Larger input is refused unread: far above any line of 256 addresses.
constexpr qsizetype MaxVelikostLinky = 256 * 1024;
// The technician's label, in characters.
constexpr int MaxDelkaPopisu = 200;

// Suffix of line files.
inline const QString PriponaLinky = QStringLiteral(".km207linka");

// One module of a line.
struct TModulLinky {
    uint8_t Adresa = 0;
    int IndexRychlosti = 4; // baud index 0-8
    // The identification expected at the address, as Modul is built
    // (SlozModul: at most 15 Windows-1250 characters); empty: any module.
    QString Identifikace;
    // The technician's label ("rozvaděč R3, pole 2"); may be empty.
    QString Popis;

    bool operator==(const TModulLinky&) const = default;
};

struct TSouborLinky {
    std::vector<TModulLinky> Moduly; // in the file's order

    bool operator==(const TSouborLinky&) const = default;
};

// The place of the module at Adresa and IndexRychlosti in Moduly; -1 when
// there is none.
int NajdiModulLinky(const std::vector<TModulLinky>& Moduly, uint8_t Adresa, int IndexRychlosti);

// Why Modul cannot join Moduly, as a Czech sentence naming it: a baud
// index outside 0-8, an identification too long or outside Windows-1250,
// a label too long, or another module with its address and rate (a
// collision). Empty when it can.
QString VadaModuluLinky(const std::vector<TModulLinky>& Moduly, const TModulLinky& Modul);

// The file's text. False, with a Czech reason in Chyba and Text untouched,
// when a module cannot be written as a valid file (VadaModuluLinky).
bool LinkaNaText(const TSouborLinky& Soubor, QByteArray& Text, QString& Chyba);

// Parses a whole file. Refuses, with a Czech reason naming the line, input
// over MaxVelikostLinky, text that is not UTF-8, a zero byte, a last line
// without its line end, a line that is not "key = value" or a comment, an
// unknown key, a key given twice (format, konec, or in one module), format
// after a module, a module key before the first module, a module without
// its rate, a missing format or konec, a key after konec, another format
// version, a count in konec other than the modules before it, any value
// out of range, and a collision. Soubor is set only on success.
bool TextNaLinku(const QByteArray& Text, TSouborLinky& Soubor, QString& Chyba);

// Writes the file whole or not at all, by the rule of Soubory.h.
bool UlozLinku(const QString& Cesta, const TSouborLinky& Soubor, QString& Chyba);
// Reads and parses a regular file (Soubory.h); a file over the size limit
// is refused.
bool NactiLinku(const QString& Cesta, TSouborLinky& Soubor, QString& Chyba);
