#include "Dekl.h"

#include "IniDocument.h"
#include "Rozhrani.h"
#include "Rychlosti.h"
#include "Soubory.h"
#include "cp1250_table.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <algorithm>

namespace {

const QString kSoubor = QStringLiteral("W_km207.ini");
const QString kPripojeni = QStringLiteral("Připojení");
const QString kRozhrani = QStringLiteral("Rozhraní");
const QString kAdresa = QStringLiteral("Adresa");
const QString kRychlost = QStringLiteral("Rychlost");
// Each kind's parameters have a section named after the kind.
const QString kKib = RozhraniSParametry(TParametry::BazovaAdresa).Nazev.toString();
const QString kBazova = QStringLiteral("Bázová adresa");
const QString kComx = RozhraniSParametry(TParametry::CisloPortu).Nazev.toString();
const QString kCislo = QStringLiteral("Číslo portu");
const QString kKl = RozhraniSParametry(TParametry::Lan).Nazev.toString();
const QString kIp = QStringLiteral("IP adresa");
const QString kUdpPort = QStringLiteral("UDP port");
const QString kUdpTimeout = QStringLiteral("UDP timeout");
// The program's own section, which older versions read past.
const QString kProgram = QStringLiteral("Program");
const QString kJazyk = QStringLiteral("Jazyk");

// Test stand-ins for the executable's folder and the per-user folder.
QString& adresarIni() {
    static QString adresar;
    return adresar;
}
QString& uzivatelskyAdresarIni() {
    static QString adresar;
    return adresar;
}

std::function<QDateTime()>& hodiny() {
    static std::function<QDateTime()> h;
    return h;
}

QString uzivatelskySoubor() {
    const QString& adresar = uzivatelskyAdresarIni();
    return QDir(adresar.isEmpty()
                    ? QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
                    : adresar)
        .filePath(kSoubor);
}

QString slozkaProgramu() {
    return adresarIni().isEmpty() ? QCoreApplication::applicationDirPath() : adresarIni();
}

QString souborUProgramu() {
    return QDir(slozkaProgramu()).filePath(kSoubor);
}

// Largest settings file that is read; a larger one counts as unreadable.
constexpr qint64 kNejvyseBajtu = 1024 * 1024;

enum class Cteni { Chybi, Precteno, Nelze };

// What stands at `cesta`, through links: nothing; a regular file of sane size
// that may be read (and replaced); or anything else (a device, a FIFO, a
// folder, a dangling link, a file too large or unreadable), which is neither
// read nor replaced. The type is known before anything is opened, so a FIFO
// never blocks and a device is never touched.
Cteni stav(const QString& cesta) {
    const QFileInfo i(cesta);
    if (!i.exists()) return i.isSymLink() ? Cteni::Nelze : Cteni::Chybi;
    if (!i.isFile() || i.size() > kNejvyseBajtu || !i.isReadable()) return Cteni::Nelze;
    return Cteni::Precteno;
}

// Installed, the executable shares a system folder such as /usr/bin and its
// drivers live in the private folder ../lib/km207. The settings then belong
// to the user even when that folder is writable (root), so nothing is left
// among the system's files.
bool instalovano(const QString& slozkaProgramu) {
    return QFileInfo(SoukromaSlozka(slozkaProgramu)).isDir();
}

// Whether a file can be made in the folder, tried: the permission bits do
// not tell everywhere (on Windows a folder such as Program Files reads as
// writable while its access rules keep a user out, and the settings would
// be lost at closing).
bool lzeVytvoritV(const QString& slozka) {
    QTemporaryFile zkouska(QDir(slozka).filePath(QStringLiteral("W_km207-XXXXXX.tmp")));
    return zkouska.open();
}

bool lzeZapsatDo(const QString& slozkaProgramu) {
    if (instalovano(slozkaProgramu)) return false;
    const QString cesta = QDir(slozkaProgramu).filePath(kSoubor);
    switch (stav(cesta)) {
    case Cteni::Chybi: {
        const QFileInfo slozka(slozkaProgramu);
        return slozka.isDir() && slozka.isWritable() && lzeVytvoritV(slozkaProgramu);
    }
    case Cteni::Precteno: {
        // A link's target is replaced, beside the target.
        const QFileInfo soubor(cesta);
        const QFileInfo slozka(QFileInfo(soubor.canonicalFilePath()).absolutePath());
        return soubor.isWritable() && slozka.isWritable() &&
               lzeVytvoritV(slozka.absoluteFilePath());
    }
    case Cteni::Nelze:
        break;
    }
    return false;
}

// Where the settings are read from: the file that will be written, or,
// before the per-user copy exists, the one beside the executable.
QString souborCteni() {
    const QString cesta = CestaIni();
    if (stav(cesta) != Cteni::Chybi) return cesta;
    return souborUProgramu();
}

// A settings file as read: its text and how to write it back.
struct Obsah {
    IniDocument dokument;
    // Saved by an editor as UTF-8 with a byte-order mark: kept so.
    bool utf8 = false;
};

const QByteArray kZnackaUtf8("\xEF\xBB\xBF");

Cteni nactiDokument(const QString& cesta, Obsah& obsah) {
    const Cteni s = stav(cesta);
    if (s != Cteni::Precteno) return s;
    // Read by the one file rule: capped again, and never waiting on a FIFO
    // that took the file's place since it was looked at.
    QByteArray bajty;
    QString duvod;
    if (!CtiSoubor(cesta, kNejvyseBajtu, bajty, duvod)) return Cteni::Nelze;
    obsah = Obsah{};
    if (bajty.startsWith(kZnackaUtf8)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(bajty.mid(kZnackaUtf8.size()));
        if (!utf8.hasError()) {
            obsah.dokument = IniDocument(text);
            obsah.utf8 = true;
            return Cteni::Precteno;
        }
    }
    obsah.dokument = IniDocument(Cp1250NaText(bajty));
    return Cteni::Precteno;
}

// A number read into a field of type T, cut to its width (a value that is
// not a number leaves the field as it was). With Nepouzite, a value not used
// as it stands is told, with what is used instead: the field, or what
// Pouzije makes of it.
template <typename T>
void ctiCislo(const IniDocument& d, const QString& s, const QString& k, T& pole, TPoleIni Pole,
              std::vector<TNepouzitaHodnota>* Nepouzite, uint64_t (*Pouzije)(T) = nullptr) {
    const auto text = d.value(s, k);
    if (!text) return;
    const auto cislo = TextNaCislo(*text);
    if (cislo) pole = static_cast<T>(static_cast<uint64_t>(*cislo));
    const uint64_t pouzito = Pouzije ? Pouzije(pole) : pole;
    if (Nepouzite && !(cislo && *cislo >= 0 && pouzito == static_cast<uint64_t>(*cislo)))
        Nepouzite->push_back({Pole, s, k, *text, QString::number(pouzito)});
}

} // namespace

void InitData(TData* Data) {
    if (!Data) return;
    Data->Rozhrani = 0;
    Data->Adresa = 0;
    Data->Rychlost = 9600;
    Data->BazovaAdresa = 0x300;
    Data->CisloPortu = 1;
    Data->IpAdresa = QStringLiteral("192.168.0.99");
    Data->UdpPort = 5000;
    Data->UdpTimeout = 100;
    Data->StavText = QCoreApplication::translate("Dekl", "Připojení modulu dosud neinicializováno");
    Data->Handle = 0;
    Data->Pripojeno = false;
    Data->Modul.clear();
    Data->KonfigOvladace.fill(0);
    Data->IpAdresaBajty.clear();
    TKonfigurace& k = Data->Konfigurace;
    k.KonfAdresa = 1;
    k.KonfRychlost = 4;
    k.KonfModCitace = 0;
    std::fill(std::begin(k.NegaceDIN), std::end(k.NegaceDIN), 255);
    std::fill(std::begin(k.NegaceDOUT), std::end(k.NegaceDOUT), 255);
    std::fill(std::begin(k.PocStavDOUT), std::end(k.PocStavDOUT), 0);
}

bool CtiIni(TData* Data) {
    return CtiIniZeSouboru(Data, souborCteni());
}

QString CestaCteniIni() {
    return souborCteni();
}

bool CtiIniZeSouboru(TData* Data, const QString& Cesta, std::vector<TNepouzitaHodnota>* Nepouzite) {
    if (!Data) return false;
    Obsah obsah;
    nactiDokument(Cesta, obsah);
    const IniDocument& d = obsah.dokument;
    const QString nazev = d.value(kPripojeni, kRozhrani).value_or(QStringLiteral("jkl"));
    if (nazev == QLatin1String("jkl")) return false;

    std::vector<TNepouzitaHodnota>* n = Nepouzite;
    ctiCislo(d, kPripojeni, kAdresa, Data->Adresa, TPoleIni::Adresa, n);
    // Kept as read; a rate not of the nine opens the link at 9600 Bd, as the
    // rate lists show it.
    ctiCislo(
        d, kPripojeni, kRychlost, Data->Rychlost, TPoleIni::Rychlost, n,
        +[](uint32_t r) -> uint64_t { return IndexNaRychlost(RychlostNaIndex(r)); });
    ctiCislo(d, kKib, kBazova, Data->BazovaAdresa, TPoleIni::BazovaAdresa, n);
    ctiCislo(d, kComx, kCislo, Data->CisloPortu, TPoleIni::CisloPortu, n);
    if (const auto ip = d.value(kKl, kIp)) Data->IpAdresa = *ip;
    ctiCislo(d, kKl, kUdpPort, Data->UdpPort, TPoleIni::UdpPort, n);
    ctiCislo(d, kKl, kUdpTimeout, Data->UdpTimeout, TPoleIni::UdpTimeout, n);

    // Exact, case-sensitive: another spelling leaves the kind as it was.
    bool znamy = false;
    for (const TRozhrani& r : TabulkaRozhrani) {
        if (nazev != r.Nazev) continue;
        Data->Rozhrani = r.Druh;
        znamy = true;
    }
    if (n && !znamy)
        n->insert(n->begin(), {TPoleIni::Rozhrani, kPripojeni, kRozhrani, nazev,
                               NazevRozhrani(Data->Rozhrani)});
    return true;
}

namespace {

// Re-reads what is on disk now and writes it back with Zmen's keys changed,
// so every other key stays. A file that exists but cannot be read is never
// replaced: the settings then go to the per-user file (CestaIni), which an
// unusable file beside the executable only fails to seed.
bool zmenIni(const std::function<void(IniDocument&)>& Zmen) {
    const QString cesta = CestaIni();
    const QString zdroj = souborCteni();
    Obsah obsah;
    if (nactiDokument(zdroj, obsah) == Cteni::Nelze && zdroj == cesta) return false;
    IniDocument& d = obsah.dokument;
    Zmen(d);

    QDir().mkpath(QFileInfo(cesta).absolutePath());
    // Written whole to a temporary file and renamed over the old one, so a
    // failure at any point leaves the previous file intact.
    QSaveFile f(cesta);
    // Unbuffered, so a failing write shows in its own count: the buffered
    // path can lose the error of the final flush and commit a partial file.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const QByteArray bajty =
        obsah.utf8 ? kZnackaUtf8 + d.toString().toUtf8() : TextNaCp1250(d.toString());
    if (f.write(bajty) != bajty.size()) {
        f.cancelWriting();
        f.commit();
        return false;
    }
    return f.commit();
}

} // namespace

bool ZapisIni(TData* Data) {
    if (!Data) return false;
    return zmenIni([Data](IniDocument& d) {
        // A kind the table does not know is stored as the first one.
        const TRozhrani* r = NajdiRozhrani(Data->Rozhrani);
        if (!r) r = &TabulkaRozhrani[0];
        d.setValue(kPripojeni, kRozhrani, r->Nazev.toString());
        switch (r->Parametry) {
        case TParametry::CisloPortu:
            d.setValue(kComx, kCislo, QString::number(Data->CisloPortu));
            break;
        case TParametry::BazovaAdresa:
            d.setValue(kKib, kBazova, QString::number(Data->BazovaAdresa));
            break;
        case TParametry::Lan:
            d.setValue(kKl, kIp, Data->IpAdresa);
            d.setValue(kKl, kUdpPort, QString::number(Data->UdpPort));
            d.setValue(kKl, kUdpTimeout, QString::number(Data->UdpTimeout));
            break;
        case TParametry::Zadne:
            break;
        }
        d.setValue(kPripojeni, kAdresa, QString::number(Data->Adresa));
        d.setValue(kPripojeni, kRychlost, QString::number(Data->Rychlost));
    });
}

std::optional<QString> CtiJazykIni() {
    // The user's own choice first; else the one the installer left beside
    // the program for a new installation (read even once the user's file
    // exists without a choice of its own).
    for (const QString& cesta : {souborCteni(), souborUProgramu()}) {
        Obsah obsah;
        nactiDokument(cesta, obsah);
        if (const auto kod = obsah.dokument.value(kProgram, kJazyk)) return kod;
    }
    return std::nullopt;
}

bool ZapisJazykIni(const QString& Kod) {
    return zmenIni([&Kod](IniDocument& d) { d.setValue(kProgram, kJazyk, Kod); });
}

QString PoleNaText(const TTextPole& Pole) {
    // The character is the low byte of an element; a zero character ends the
    // text whatever the element's upper bits hold.
    QString text;
    if (static_cast<uint8_t>(Pole[0]) != 0) text += ZnakCp1250(static_cast<uint8_t>(Pole[0]));
    for (size_t i = 1; i < Pole.size() && static_cast<uint8_t>(Pole[i]) != 0; ++i)
        text += ZnakCp1250(static_cast<uint8_t>(Pole[i]));
    return text;
}

int TextNaPole(const QString& Text, TTextPole& Pole) {
    Pole.fill(0);
    const QByteArray bajty = TextNaCp1250(Text.left(99));
    for (qsizetype i = 0; i < bajty.size() && i < 99; ++i)
        Pole[i + 1] = static_cast<uint8_t>(bajty[i]);
    return 0;
}

QChar ZnakCp1250(uint8_t Bajt) {
    return Bajt < 0x80 ? QChar(Bajt) : QChar(kCp1250High[Bajt - 0x80]);
}

uint8_t BajtCp1250(QChar Znak) {
    const char16_t c = Znak.unicode();
    if (c < 0x80) return static_cast<uint8_t>(c);
    for (int i = 0; i < 128; ++i)
        if (kCp1250High[i] == c) return static_cast<uint8_t>(0x80 + i);
    return '?';
}

QString Cp1250NaText(const QByteArray& Bajty) {
    QString text;
    text.reserve(Bajty.size());
    for (char b : Bajty)
        text += ZnakCp1250(static_cast<uint8_t>(b));
    return text;
}

QByteArray TextNaCp1250(const QString& Text) {
    QByteArray bajty;
    bajty.reserve(Text.size());
    for (QChar z : Text)
        bajty += static_cast<char>(BajtCp1250(z));
    return bajty;
}

std::optional<int64_t> TextNaCislo(const QString& Text) {
    const QString t = Text.trimmed();
    int64_t hodnota = 0;
    if (t.startsWith(QLatin1Char('$')) || t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString cifry = t.mid(t.startsWith(QLatin1Char('$')) ? 1 : 2);
        if (cifry.isEmpty() || cifry.size() > 8) return std::nullopt;
        for (QChar z : cifry) {
            const char16_t u = z.unicode();
            int v = -1;
            if (u >= '0' && u <= '9')
                v = u - '0';
            else if (u >= 'a' && u <= 'f')
                v = u - 'a' + 10;
            else if (u >= 'A' && u <= 'F')
                v = u - 'A' + 10;
            if (v < 0) return std::nullopt;
            hodnota = hodnota * 16 + v;
        }
        return hodnota;
    }
    qsizetype i = 0;
    bool zaporne = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
        zaporne = t[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= t.size()) return std::nullopt;
    for (; i < t.size(); ++i) {
        const char16_t u = t[i].unicode();
        if (u < '0' || u > '9') return std::nullopt;
        hodnota = hodnota * 10 + (u - '0');
        if (hodnota > 0xFFFFFFFFLL) return std::nullopt;
    }
    if (zaporne) hodnota = -hodnota;
    if (hodnota < -0x80000000LL) return std::nullopt;
    return hodnota;
}

QString ModulNaText(const QString& Modul) {
    QString text = Modul;
    text.replace(QChar(0), QLatin1Char(' '));
    return text;
}

uint32_t BajtyNaCislo(uint8_t B1, uint8_t B2, uint8_t B3, uint8_t B4) {
    return uint32_t(B1) | uint32_t(B2) << 8 | uint32_t(B3) << 16 | uint32_t(B4) << 24;
}

uint32_t SlovoBloku(const TKonfigurace& Blok, int Prvni) {
    return BajtyNaCislo(Blok.Bajt(Prvni), Blok.Bajt(Prvni + 1), Blok.Bajt(Prvni + 2),
                        Blok.Bajt(Prvni + 3));
}

void NastavSlovoBloku(TKonfigurace& Blok, int Prvni, uint32_t Slovo) {
    for (int i = 0; i < 4; ++i)
        Blok.Bajt(Prvni + i) = static_cast<uint8_t>(Slovo >> (8 * i));
}

QString CitacNaText(uint8_t Mod, uint8_t B1, uint8_t B2, uint8_t B3, uint8_t B4) {
    if (Mod == 2) {
        const uint32_t velikost = BajtyNaCislo(B1, B2, static_cast<uint8_t>(B3 & 0x7F), 0);
        const int64_t hodnota = (B3 & 0x80) ? -static_cast<int64_t>(velikost) : velikost;
        return QString::number(hodnota);
    }
    return QString::number(BajtyNaCislo(B1, B2, B3, B4));
}

QTime CasHodin(uint8_t Sekundy, uint8_t Minuty, uint8_t Hodiny) {
    return QTime(std::min<int>(Hodiny, 23), std::min<int>(Minuty, 59), std::min<int>(Sekundy, 59));
}

TDatumHodin DatumHodin(uint8_t Den, uint8_t Mesic, uint8_t Rok) {
    const int y = MistniCas().date().year();
    // The module keeps the year modulo 4; the byte is added whole.
    return {std::min<int>(Den, 31), std::min<int>(Mesic, 12),
            static_cast<uint16_t>((y - y % 4) + Rok)};
}

QString CasNaText(uint8_t Sekundy, uint8_t Minuty, uint8_t Hodiny) {
    return CasNaText(CasHodin(Sekundy, Minuty, Hodiny));
}

QString CasNaText(const QTime& Cas) {
    return QStringLiteral("%1:%2:%3")
        .arg(Cas.hour())
        .arg(Cas.minute(), 2, 10, QLatin1Char('0'))
        .arg(Cas.second(), 2, 10, QLatin1Char('0'));
}

QString DatumNaText(uint8_t Den, uint8_t Mesic, uint8_t Rok) {
    return DatumNaText(DatumHodin(Den, Mesic, Rok));
}

QString DatumNaText(const TDatumHodin& Datum) {
    return QStringLiteral("%1.%2.%3").arg(Datum.Den).arg(Datum.Mesic).arg(Datum.Rok);
}

QDateTime MistniCas() {
    return hodiny() ? hodiny()() : QDateTime::currentDateTime();
}

void NastavHodiny(std::function<QDateTime()> Hodiny) {
    hodiny() = std::move(Hodiny);
}

QString CestaIni() {
    return CestaIniProSlozku(slozkaProgramu());
}

QString SoukromaSlozka(const QString& SlozkaProgramu) {
    return QDir::cleanPath(SlozkaProgramu + QStringLiteral("/../lib/km207"));
}

QString CestaIniProSlozku(const QString& SlozkaProgramu) {
    return lzeZapsatDo(SlozkaProgramu) ? QDir(SlozkaProgramu).filePath(kSoubor)
                                       : uzivatelskySoubor();
}

void NastavAdresarIni(const QString& Adresar, const QString& UzivatelskyAdresar) {
    adresarIni() = Adresar;
    uzivatelskyAdresarIni() = UzivatelskyAdresar;
}

QString NazevRozhrani(uint8_t Rozhrani) {
    const TRozhrani* r = NajdiRozhrani(Rozhrani);
    return r ? r->Nazev.toString() : QString();
}
