// The rules that the program's readable text files share (configuration
// files, line files): the bytes as UTF-8 text of bounded size, lines ended
// by LF, CR LF or CR with the last one ended too, "key = value" lines and
// comments, quoted texts with escapes, numbers and rates as values. Each
// reason is Czech; one that concerns a line starts with UvodRadku.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// The bytes of a file as text: at most Nejvyse bytes, no zero byte (Druh
// names what the file then is not: "konfigurace modulu"), UTF-8, without
// the byte order mark that editors on Windows start it with.
bool TextSouboru(const QByteArray& Obsah, qsizetype Nejvyse, const QString& Druh, QString& Text,
                 QString& Chyba);

// The lines of the text, split at LF, CR LF or CR alone, as the settings
// file takes them. False when the last line has no line end: the file was
// cut short.
bool RadkySouboru(QString Text, QStringList& Radky, QString& Chyba);

// "řádek N: ", the start of a reason about line N.
QString UvodRadku(int Cislo);
// The text in double quotes, for a reason.
QString Uvozene(const QString& Text);
// A value as a reason shows it: cut to 40 characters, in quotes.
QString Ukazka(const QString& Hodnota);

// One "key = value" line, both trimmed.
struct TZapis {
    QString Klic;
    QString Hodnota;
};
// One line: Zapis empty for a blank or comment line ("#"); false (Chyba
// naming line Cislo) for a line with no "=".
bool CtiZapis(const QString& Radek, int Cislo, std::optional<TZapis>& Zapis, QString& Chyba);

// A text in double quotes with \" \\ and \xHH (a control character) as
// escapes, and back; nothing for a bad form.
QString TextNaUvozovky(const QString& Text);
std::optional<QString> UvozovkyNaText(const QString& Hodnota);
// Why a value of that form was refused, naming what it holds (Co:
// "identifikace modulu").
QString VadaUvozovek(const QString& Co);

// Characters of an identification, as Modul is built.
constexpr int MaxDelkaModulu = 15;
// Why an identification cannot be in a file, starting in lower case:
// longer than MaxDelkaModulu, or a character outside Windows-1250. Empty
// when it can.
QString VadaIdentifikace(const QString& Modul);

// A whole number in [Min, Max] (TextNaCislo's forms); nothing, with the
// reason (without the line) naming Klic, otherwise.
std::optional<int64_t> CisloHodnoty(const QString& Hodnota, const QString& Klic, int64_t Min,
                                    int64_t Max, QString& Chyba);
// A rate in Bd, one of the nine, as its baud index; nothing, with the
// reason (without the line), otherwise.
std::optional<uint8_t> RychlostHodnoty(const QString& Hodnota, QString& Chyba);
