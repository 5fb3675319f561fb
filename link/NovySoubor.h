// Opening a file that the program writes as it goes (a recording): only a
// regular file or a new one, never a device, FIFO, socket or folder, and
// never anything that could block on opening. QtCore only.
#pragma once

#include <QFile>
#include <QString>

// Opens Cesta for writing from its start. A link is followed to its target.
// What stands there must be a regular file (it is removed and created anew)
// or nothing; anything else is refused before it is opened. The file is
// always created exclusively, so a FIFO or device slipped in meanwhile makes
// the open fail instead of blocking. False with a Czech text in Chyba.
bool OtevriNovySoubor(QFile& Soubor, const QString& Cesta, QString& Chyba);
