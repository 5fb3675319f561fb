#include "NovySoubor.h"

#include <QFileInfo>

bool OtevriNovySoubor(QFile& Soubor, const QString& Cesta, QString& Chyba) {
    if (Cesta.isEmpty()) {
        Chyba = QStringLiteral("Není zadán soubor.");
        return false;
    }
    const QFileInfo Info(Cesta); // exists() and isFile() look through links
    QString Cil = Info.absoluteFilePath();
    if (Info.isSymLink() && !Info.exists()) {
        // Created at the end of a dangling link, it would land somewhere
        // the operator did not choose.
        Chyba = QStringLiteral("Soubor %1 nelze vytvořit: odkaz nikam nevede.").arg(Cesta);
        return false;
    }
    if (Info.exists()) {
        if (!Info.isFile()) {
            Chyba = QStringLiteral("%1 není obyčejný soubor; nic se do něj nezapisuje.").arg(Cesta);
            return false;
        }
        Cil = Info.canonicalFilePath();
        if (!QFile::remove(Cil)) {
            Chyba = QStringLiteral("Soubor %1 nelze přepsat.").arg(Cesta);
            return false;
        }
    }
    Soubor.setFileName(Cil);
    if (!Soubor.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        Chyba = QStringLiteral("Soubor %1 nelze vytvořit: %2").arg(Cesta, Soubor.errorString());
        return false;
    }
    return true;
}
