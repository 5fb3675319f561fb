// Connection record, settings file, text arrays and small conversions shared
// by every window.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// Module configuration block, 15 bytes as the module keeps them.
struct TKonfigurace {
    uint8_t KonfAdresa;     // byte 0, register 63
    uint8_t KonfRychlost;   // byte 1, register 62 (baud index)
    uint8_t KonfModCitace;  // byte 2, register 0
    uint8_t NegaceDIN[4];   // bytes 3-6
    uint8_t NegaceDOUT[4];  // bytes 7-10
    uint8_t PocStavDOUT[4]; // bytes 11-14

    // Byte i (0-14) of the block.
    uint8_t& Bajt(int i) { return reinterpret_cast<uint8_t*>(this)[i]; }
    uint8_t Bajt(int i) const { return reinterpret_cast<const uint8_t*>(this)[i]; }
    bool operator==(const TKonfigurace&) const = default;
};
static_assert(sizeof(TKonfigurace) == 15, "the block is 15 packed bytes");

// The 32-bit word of the four block bytes from Prvni on, least significant
// first: bit n is channel n (NegaceDIN at 3, NegaceDOUT at 7, PocStavDOUT
// at 11).
uint32_t SlovoBloku(const TKonfigurace& Blok, int Prvni);
void NastavSlovoBloku(TKonfigurace& Blok, int Prvni, uint32_t Slovo);

// Text handed over by a driver: one Windows-1250 code per element.
using TTextPole = std::array<uint32_t, 100>;

// Driver configuration block. Pointer-sized cells, so that cell 0 can carry
// the address of the IP text on a 64-bit build too.
using TKonfigOvladace = std::array<uintptr_t, 16>;

struct TData {
    uint8_t Rozhrani = 0;
    uint8_t Adresa = 0;
    uint32_t Rychlost = 9600;
    uint16_t BazovaAdresa = 0x300;
    uint8_t CisloPortu = 1;
    QString IpAdresa;
    uint32_t UdpPort = 5000;
    uint32_t UdpTimeout = 100;
    QString StavText;
    uint32_t Handle = 0;
    bool Pripojeno = false;
    // Name and version of the module; raw characters, a zero byte kept as
    // QChar(0). Use ModulNaText to show it.
    QString Modul;
    TKonfigOvladace KonfigOvladace{};
    TKonfigurace Konfigurace{};
    // Windows-1250 bytes of IpAdresa with a terminating zero; cell 0 of
    // KonfigOvladace points here, so it must outlive the driver's Init.
    QByteArray IpAdresaBajty;
};

void InitData(TData* Data);
bool CtiIni(TData* Data);

// The record's fields that the settings file fills with a number or a name.
enum class TPoleIni { Rozhrani, Adresa, Rychlost, BazovaAdresa, CisloPortu, UdpPort, UdpTimeout };
// A value of the settings file that is not used as it stands: not a number
// or an unknown kind's name (the field keeps its value), a number the field
// cannot hold (Adresa 999 is cut to 231), or a rate that is not one of the
// nine (the link opens at 9600 Bd).
struct TNepouzitaHodnota {
    TPoleIni Pole;
    QString Sekce, Klic, Hodnota; // as the file has them
    QString Pouzito;              // what is used instead
};
// CtiIni from another settings file (km207 --config); with Nepouzite, also
// the values that were not used as they stand, in the order of reading.
bool CtiIniZeSouboru(TData* Data, const QString& Cesta,
                     std::vector<TNepouzitaHodnota>* Nepouzite = nullptr);
// The settings file CtiIni reads now: CestaIni, or before the per-user copy
// exists, the one beside the executable.
QString CestaCteniIni();
bool ZapisIni(TData* Data);
// The language chosen in the program ("cs", "en"), a key of its own in the
// same file; writing it changes no other key. Without a choice of the user's,
// the one in the settings file beside the program (the installer's).
std::optional<QString> CtiJazykIni();
bool ZapisJazykIni(const QString& Kod);

QString PoleNaText(const TTextPole& Pole);
int TextNaPole(const QString& Text, TTextPole& Pole);

// Windows-1250, total over all 256 byte values and round-tripping each.
QChar ZnakCp1250(uint8_t Bajt);
// Characters outside the code page become '?'.
uint8_t BajtCp1250(QChar Znak);
QString Cp1250NaText(const QByteArray& Bajty);
QByteArray TextNaCp1250(const QString& Text);

// Whole number typed by the operator or read from the settings file:
// optional sign and decimal digits, or "$"/"0x" followed by up to 8 hex
// digits; blanks around are allowed. The value is checked, never wrapped:
// anything outside -2^31 .. 2^32-1, or any other text, is not a number.
// Callers compare the whole value and only then cut it to a field's width.
std::optional<int64_t> TextNaCislo(const QString& Text);

// Module identification as shown: a zero character becomes a blank.
QString ModulNaText(const QString& Modul);

// Four bytes, least significant first, as one 32-bit word.
uint32_t BajtyNaCislo(uint8_t B1, uint8_t B2, uint8_t B3, uint8_t B4);
// Counter bytes (B1 least significant) as the module's mode formats them:
// mode 2 is sign and 23-bit magnitude (B4 ignored), every other mode an
// unsigned 32-bit number.
QString CitacNaText(uint8_t Mod, uint8_t B1, uint8_t B2, uint8_t B3, uint8_t B4);
// Clock register bytes (seconds, minutes, hours) as a time: hours above 23
// read as 23, minutes and seconds above 59 as 59.
QTime CasHodin(uint8_t Sekundy, uint8_t Minuty, uint8_t Hodiny);
// A date of the module's clock. Day and month are kept even where they
// make no date of the calendar (day 0, 30 February).
struct TDatumHodin {
    int Den = 0;   // 0-31
    int Mesic = 0; // 0-12
    int Rok = 0;   // 0-65535
    // The date of the calendar; invalid when the module's is none.
    QDate Datum() const { return QDate(Rok, Mesic, Den); }
};
// Date register bytes (day, month, year modulo 4) as a date: day above 31
// reads as 31, month above 12 as 12, and the year is completed from the
// PC's date.
TDatumHodin DatumHodin(uint8_t Den, uint8_t Mesic, uint8_t Rok);
// Clock register bytes (seconds, minutes, hours), or the time they give,
// as "H:MM:SS".
QString CasNaText(uint8_t Sekundy, uint8_t Minuty, uint8_t Hodiny);
QString CasNaText(const QTime& Cas);
// Date register bytes (day, month, year modulo 4), or the date they give,
// as "D.M.YYYY".
QString DatumNaText(uint8_t Den, uint8_t Mesic, uint8_t Rok);
QString DatumNaText(const TDatumHodin& Datum);

// The PC's local time. Tests replace it; an empty function restores the
// real clock.
QDateTime MistniCas();
void NastavHodiny(std::function<QDateTime()> Hodiny);

// Full path of the settings file: beside the executable, or in the per-user
// configuration folder when that folder cannot be written or the program is
// installed (its drivers in ../lib/km207).
QString CestaIni();
// The same for a program in the folder SlozkaProgramu.
QString CestaIniProSlozku(const QString& SlozkaProgramu);
// The private folder of an installation, ../lib/km207 beside the
// program's folder: its drivers and driver host.
QString SoukromaSlozka(const QString& SlozkaProgramu);
// For tests: folders standing in for the executable's folder and for the
// per-user configuration folder; an empty one restores the real folder.
void NastavAdresarIni(const QString& Adresar, const QString& UzivatelskyAdresar = QString());

// Name of an interface kind as the settings file stores it ("COMx",
// "KIB-410", "KPB-4100", "KUB-4100", "KL-4100"); empty for any other kind.
QString NazevRozhrani(uint8_t Rozhrani);
