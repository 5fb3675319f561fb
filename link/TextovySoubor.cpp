#include "TextovySoubor.h"

#include "Dekl.h"
#include "Rychlosti.h"

#include <QCoreApplication>
#include <QStringDecoder>

namespace {

bool Ridici(char16_t z) {
    return z < 0x20 || (z >= 0x7F && z <= 0x9F);
}

bool ZnakKodoveStranky(QChar z) {
    return ZnakCp1250(BajtCp1250(z)) == z;
}

int HexCislice(QChar z) {
    const char16_t c = z.unicode();
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

} // namespace

bool TextSouboru(const QByteArray& Obsah, qsizetype Nejvyse, const QString& Druh, QString& Text,
                 QString& Chyba) {
    if (Obsah.size() > Nejvyse) {
        Chyba = QCoreApplication::translate("TextovySoubor",
                                            "Soubor je příliš velký (nejvýše %1 bajtů).")
                    .arg(Nejvyse);
        return false;
    }
    if (Obsah.contains('\0')) {
        Chyba =
            QCoreApplication::translate("TextovySoubor", "Soubor obsahuje nulový bajt; není to %1.")
                .arg(Druh);
        return false;
    }
    QStringDecoder Dekoder(QStringDecoder::Utf8);
    Text = Dekoder.decode(Obsah);
    if (Dekoder.hasError()) {
        Chyba = QCoreApplication::translate("TextovySoubor",
                                            "Soubor není platný text v kódování UTF-8.");
        return false;
    }
    if (Text.startsWith(QChar(0xFEFF))) Text.remove(0, 1);
    return true;
}

bool RadkySouboru(QString Text, QStringList& Radky, QString& Chyba) {
    Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Radky = Text.split(QLatin1Char('\n'));
    // A file cut short ends inside its last line, perhaps inside a value
    // that still reads as a number: the last line must be whole.
    if (!Radky.last().trimmed().isEmpty()) {
        Chyba = UvodRadku(static_cast<int>(Radky.size())) +
                QCoreApplication::translate("TextovySoubor",
                                            "chybí konec řádku; soubor je zřejmě neúplný.");
        return false;
    }
    return true;
}

QString UvodRadku(int Cislo) {
    return QCoreApplication::translate("TextovySoubor", "řádek %1: ").arg(Cislo);
}

QString Uvozene(const QString& Text) {
    return QLatin1Char('"') + Text + QLatin1Char('"');
}

QString Ukazka(const QString& Hodnota) {
    return Uvozene(Hodnota.left(40));
}

bool CtiZapis(const QString& Radek, int Cislo, std::optional<TZapis>& Zapis, QString& Chyba) {
    Zapis.reset();
    const QString Oriznuty = Radek.trimmed();
    if (Oriznuty.isEmpty() || Oriznuty.startsWith(QLatin1Char('#'))) return true;
    const qsizetype Rovnase = Radek.indexOf(QLatin1Char('='));
    if (Rovnase < 0) {
        Chyba = UvodRadku(Cislo) +
                QCoreApplication::translate("TextovySoubor", "očekáván zápis klíč = hodnota.");
        return false;
    }
    Zapis = TZapis{Radek.left(Rovnase).trimmed(), Radek.mid(Rovnase + 1).trimmed()};
    return true;
}

QString TextNaUvozovky(const QString& Text) {
    QString s = QStringLiteral("\"");
    for (QChar z : Text) {
        if (z == QLatin1Char('"') || z == QLatin1Char('\\')) {
            s += QLatin1Char('\\') + z;
        } else if (Ridici(z.unicode())) {
            s += QStringLiteral("\\x") +
                 QString::number(z.unicode(), 16).toUpper().rightJustified(2, QLatin1Char('0'));
        } else {
            s += z;
        }
    }
    return s + QLatin1Char('"');
}

std::optional<QString> UvozovkyNaText(const QString& s) {
    if (s.size() < 2 || !s.startsWith(QLatin1Char('"')) || !s.endsWith(QLatin1Char('"')))
        return std::nullopt;
    QString Text;
    for (qsizetype i = 1; i < s.size() - 1; ++i) {
        const QChar z = s.at(i);
        if (z == QLatin1Char('"')) return std::nullopt;
        if (z != QLatin1Char('\\')) {
            Text += z;
            continue;
        }
        if (i + 1 >= s.size() - 1) return std::nullopt;
        const QChar n = s.at(++i);
        if (n == QLatin1Char('"') || n == QLatin1Char('\\')) {
            Text += n;
        } else if (n == QLatin1Char('x') && i + 2 < s.size() - 1) {
            const int h = HexCislice(s.at(i + 1)), l = HexCislice(s.at(i + 2));
            if (h < 0 || l < 0) return std::nullopt;
            Text += QChar(static_cast<char16_t>(h * 16 + l));
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return Text;
}

QString VadaUvozovek(const QString& Co) {
    return QCoreApplication::translate(
               "TextovySoubor", "%1 musí být v uvozovkách (\\\", \\\\ a \\xHH jako náhrady).")
        .arg(Co);
}

QString VadaIdentifikace(const QString& Modul) {
    if (Modul.size() > MaxDelkaModulu)
        return QCoreApplication::translate("TextovySoubor",
                                           "identifikace modulu je delší než %1 znaků.")
            .arg(MaxDelkaModulu);
    for (QChar z : Modul)
        if (!ZnakKodoveStranky(z))
            return QCoreApplication::translate(
                "TextovySoubor", "identifikace modulu obsahuje znak mimo Windows-1250.");
    return QString();
}

std::optional<int64_t> CisloHodnoty(const QString& Hodnota, const QString& Klic, int64_t Min,
                                    int64_t Max, QString& Chyba) {
    const std::optional<int64_t> v = TextNaCislo(Hodnota);
    if (v && *v >= Min && *v <= Max) return v;
    Chyba =
        QCoreApplication::translate("TextovySoubor", "hodnota %1 klíče %2 musí být číslo %3-%4.")
            .arg(Ukazka(Hodnota), Uvozene(Klic))
            .arg(Min)
            .arg(Max);
    return std::nullopt;
}

std::optional<uint8_t> RychlostHodnoty(const QString& Hodnota, QString& Chyba) {
    const std::optional<int64_t> Rychlost = TextNaCislo(Hodnota);
    const int i = Rychlost && *Rychlost >= 0 && *Rychlost <= UINT32_MAX
                      ? PresnyIndexRychlosti(static_cast<uint32_t>(*Rychlost))
                      : -1;
    if (i >= 0) return static_cast<uint8_t>(i);
    Chyba =
        QCoreApplication::translate(
            "TextovySoubor", "rychlost %1 není jedna z 600, 1200, 2400, 4800, 9600, 19200, 38400, "
                             "57600, 115200 Bd.")
            .arg(Ukazka(Hodnota));
    return std::nullopt;
}
