// The one rule for every file the program and km207 read or write
// (configuration files, the log's CSV, recordings): only a regular file is
// read or replaced, or a new one created; never a device, a FIFO, a socket
// or a folder, whatever a link points to, and nothing blocks on opening.
// Every failure comes with a reason that names the file, in the language
// set.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

#include <string>

// Text for one line of a terminal or a status line: each control character
// (C0, DEL, C1) as \xHH, so a module's identification or a file name can
// neither break the line nor act on a terminal. With KonceRadku, line feeds
// stay (a message's own lines).
QString ViditelnyText(const QString& Text, bool KonceRadku = false);

// A file's name in a message: the platform's separators, and a control
// character (a line break in the name) as \xHH, so it keeps to its line.
QString JmenoSouboru(const QString& Cesta);

// A path (or a program's argument) as the platform's own calls take it
// (host/): UTF-8 on Windows, the file system's own bytes elsewhere.
std::string NativniCesta(const QString& Cesta);

// Reads a whole regular file of at most Nejvyse bytes. The type is checked
// without opening anything that could wait (a FIFO with no writer).
bool CtiSoubor(const QString& Cesta, qint64 Nejvyse, QByteArray& Obsah, QString& Chyba);

// A file written whole or not at all. Otevri checks the target and creates
// the temporary file beside it, so a target that cannot be written is known
// before the content exists (before anything is sent to a module); Dokonci
// writes and replaces. Dropped without Dokonci, the old file stays as it was.
class TZapisSouboru {
  public:
    explicit TZapisSouboru(const QString& Cesta) : Cesta_(Cesta), Soubor_(Cesta) {}
    bool Otevri(QString& Chyba);
    bool Dokonci(const QByteArray& Obsah, QString& Chyba);

  private:
    QString Cesta_;
    QSaveFile Soubor_;
};

// Both steps at once.
bool ZapisSoubor(const QString& Cesta, const QByteArray& Obsah, QString& Chyba);

// A file written as it goes (a recording), appended to, each write going
// out at once (Unbuffered): a new file is created; an existing regular file
// (through a link, its target) is refused ("už existuje"), or with Prepsat
// emptied in place, never removed and made anew, so its other links, owner
// and mode stay and a user who may not write it cannot replace it. Anything
// else is refused before it is opened, and nothing blocks on opening. The
// windows' file dialog asks before it overwrites, hence the default.
bool OtevriNovySoubor(QFile& Soubor, const QString& Cesta, QString& Chyba, bool Prepsat = true);
