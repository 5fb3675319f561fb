#include "Soubory.h"

#include "regular_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString Jmeno(const QString& Cesta) {
    return JmenoSouboru(Cesta);
}

// The path is no regular file, said for a read or for a write.
enum class TUcel { Cteni, Zapis };
QString NeniSoubor(const QString& Cesta, TUcel Ucel) {
    return (Ucel == TUcel::Cteni
                ? QCoreApplication::translate("Soubory",
                                              "%1 není obyčejný soubor (je to složka, "
                                              "zařízení, roura nebo soket). Číst lze jen "
                                              "obyčejný soubor.")
                : QCoreApplication::translate("Soubory",
                                              "%1 není obyčejný soubor (je to složka, "
                                              "zařízení, roura nebo soket). Zapisovat lze "
                                              "jen do obyčejného souboru."))
        .arg(Jmeno(Cesta));
}

// A path the platform knows as no regular file, though Qt may take it for a
// missing one: on Windows a device name (NUL, CON) in any folder.
bool JeZarizeni(const QString& Cesta) {
    kmhost::RegularFile Vysledek = kmhost::RegularFile::Failed;
    const int Fd = kmhost::open_regular_file(NativniCesta(Cesta), Vysledek);
    if (Fd >= 0) {
        QFile Soubor; // closes the descriptor
        Soubor.open(Fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    }
    return Fd < 0 && Vysledek == kmhost::RegularFile::NotRegular;
}

} // namespace

QString ViditelnyText(const QString& Text, bool KonceRadku) {
    QString text;
    text.reserve(Text.size());
    for (QChar z : Text) {
        const char16_t u = z.unicode();
        if ((u < 0x20 && !(KonceRadku && u == u'\n')) || (u >= 0x7F && u <= 0x9F))
            text += QStringLiteral("\\x") +
                    QString::number(u, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        else
            text += z;
    }
    return text;
}

QString JmenoSouboru(const QString& Cesta) {
    return ViditelnyText(QDir::toNativeSeparators(Cesta));
}

std::string NativniCesta(const QString& Cesta) {
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(Cesta).toUtf8().toStdString();
#else
    return QFile::encodeName(Cesta).toStdString();
#endif
}

bool CtiSoubor(const QString& Cesta, qint64 Nejvyse, QByteArray& Obsah, QString& Chyba) {
    kmhost::RegularFile Vysledek = kmhost::RegularFile::Failed;
    const int Fd = Cesta.isEmpty() ? -1 : kmhost::open_regular_file(NativniCesta(Cesta), Vysledek);
    switch (Fd >= 0 ? kmhost::RegularFile::Opened : Vysledek) {
    case kmhost::RegularFile::Opened:
        break;
    case kmhost::RegularFile::Missing:
        Chyba = QCoreApplication::translate("Soubory", "Soubor %1 neexistuje.").arg(Jmeno(Cesta));
        return false;
    case kmhost::RegularFile::NotRegular:
        Chyba = NeniSoubor(Cesta, TUcel::Cteni);
        return false;
    case kmhost::RegularFile::Denied:
        Chyba = QCoreApplication::translate("Soubory", "Soubor %1 nelze otevřít: přístup odepřen.")
                    .arg(Jmeno(Cesta));
        return false;
    case kmhost::RegularFile::Failed:
    case kmhost::RegularFile::Exists:
        Chyba =
            QCoreApplication::translate("Soubory", "Soubor %1 nelze otevřít.").arg(Jmeno(Cesta));
        return false;
    }
    QFile Soubor;
    if (!Soubor.open(Fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        Chyba =
            QCoreApplication::translate("Soubory", "Soubor %1 nelze otevřít.").arg(Jmeno(Cesta));
        return false;
    }
    // One byte over the limit tells that it is too large.
    const QByteArray Bajty = Soubor.read(Nejvyse + 1);
    if (Soubor.error() != QFileDevice::NoError) {
        Chyba =
            QCoreApplication::translate("Soubory", "Soubor %1 nelze přečíst.").arg(Jmeno(Cesta));
        return false;
    }
    if (Bajty.size() > Nejvyse) {
        Chyba =
            QCoreApplication::translate("Soubory", "Soubor %1 je příliš velký (nejvýše %2 bajtů).")
                .arg(Jmeno(Cesta))
                .arg(Nejvyse);
        return false;
    }
    Obsah = Bajty;
    return true;
}

bool TZapisSouboru::Otevri(QString& Chyba) {
    const QFileInfo Cil(Cesta_);
    if (Cesta_.isEmpty() || Cesta_.endsWith(QLatin1Char('/')) || (Cil.exists() && !Cil.isFile()) ||
        JeZarizeni(Cesta_)) {
        Chyba = NeniSoubor(Cesta_, TUcel::Zapis);
        return false;
    }
    if (!Cil.exists() && Cil.isSymLink()) {
        Chyba = QCoreApplication::translate("Soubory", "%1 je odkaz na neexistující soubor.")
                    .arg(Jmeno(Cesta_));
        return false;
    }
    // A link's target is replaced, in the target's folder.
    const QFileInfo Slozka(Cil.exists() ? QFileInfo(Cil.canonicalFilePath()).absolutePath()
                                        : Cil.absolutePath());
    if (!Slozka.isDir()) {
        Chyba = QCoreApplication::translate("Soubory", "Složka %1 neexistuje.")
                    .arg(Jmeno(Slozka.filePath()));
        return false;
    }
    if (Cil.exists() && !Cil.isWritable()) {
        Chyba = QCoreApplication::translate("Soubory", "Soubor %1 nelze přepsat: přístup odepřen.")
                    .arg(Jmeno(Cesta_));
        return false;
    }
    // Creates the temporary file, so a folder that takes no new file
    // (read-only, /proc, /sys) shows here.
    if (!Soubor_.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        Chyba = QCoreApplication::translate(
                    "Soubory", "Soubor %1 nelze vytvořit: do složky %2 nelze zapisovat.")
                    .arg(Jmeno(Cesta_), Jmeno(Slozka.filePath()));
        return false;
    }
    return true;
}

bool TZapisSouboru::Dokonci(const QByteArray& Obsah, QString& Chyba) {
    // Unbuffered, so a failing write shows in its own count.
    if (!Soubor_.isOpen() || Soubor_.write(Obsah) != Obsah.size()) {
        Soubor_.cancelWriting();
        Soubor_.commit();
        Chyba = QCoreApplication::translate(
                    "Soubory", "Soubor %1 nelze zapsat (plný nebo nedostupný disk); původní "
                               "obsah zůstal beze změny.")
                    .arg(Jmeno(Cesta_));
        return false;
    }
    if (!Soubor_.commit()) {
        Chyba = QCoreApplication::translate(
                    "Soubory", "Soubor %1 nelze uložit; původní obsah zůstal beze změny.")
                    .arg(Jmeno(Cesta_));
        return false;
    }
    return true;
}

bool ZapisSoubor(const QString& Cesta, const QByteArray& Obsah, QString& Chyba) {
    TZapisSouboru Soubor(Cesta);
    return Soubor.Otevri(Chyba) && Soubor.Dokonci(Obsah, Chyba);
}

bool OtevriNovySoubor(QFile& Soubor, const QString& Cesta, QString& Chyba, bool Prepsat) {
    if (Cesta.isEmpty()) {
        Chyba = QCoreApplication::translate("Soubory", "Není zadán soubor.");
        return false;
    }
    const QFileInfo Info(Cesta); // exists() and isFile() look through links
    if (Info.isSymLink() && !Info.exists()) {
        // Created at the end of a dangling link, it would land somewhere
        // the operator did not choose.
        Chyba = QCoreApplication::translate("Soubory", "%1 je odkaz na neexistující soubor.")
                    .arg(Jmeno(Cesta));
        return false;
    }
    if ((Info.exists() && !Info.isFile()) || JeZarizeni(Cesta)) {
        Chyba = NeniSoubor(Cesta, TUcel::Zapis);
        return false;
    }
    kmhost::RegularFile Vysledek = kmhost::RegularFile::Failed;
    const int Fd = kmhost::open_file_for_append(NativniCesta(Cesta), Prepsat, Vysledek);
    switch (Fd >= 0 ? kmhost::RegularFile::Opened : Vysledek) {
    case kmhost::RegularFile::Opened:
        break;
    case kmhost::RegularFile::Exists:
        Chyba = QCoreApplication::translate("Soubory", "Soubor %1 už existuje.").arg(Jmeno(Cesta));
        return false;
    case kmhost::RegularFile::NotRegular:
        Chyba = NeniSoubor(Cesta, TUcel::Zapis);
        return false;
    case kmhost::RegularFile::Denied:
        Chyba = (Info.exists() ? QCoreApplication::translate(
                                     "Soubory", "Soubor %1 nelze přepsat: přístup odepřen.")
                               : QCoreApplication::translate(
                                     "Soubory", "Soubor %1 nelze vytvořit: přístup odepřen."))
                    .arg(Jmeno(Cesta));
        return false;
    case kmhost::RegularFile::Missing:
    case kmhost::RegularFile::Failed:
        Chyba =
            QCoreApplication::translate("Soubory", "Soubor %1 nelze vytvořit.").arg(Jmeno(Cesta));
        return false;
    }
    if (!Soubor.open(Fd, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered,
                     QFileDevice::AutoCloseHandle)) {
        Chyba =
            QCoreApplication::translate("Soubory", "Soubor %1 nelze vytvořit.").arg(Jmeno(Cesta));
        return false;
    }
    return true;
}
