// The communication log: a bounded log of the records ProvedPrikaz hands to
// its observer (Kxxx410.h), with its text lines, CSV export and statistics.
#pragma once

#include "Kxxx410.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

// Statistics of commands since the last clearing. Round trips cover every
// command, failed ones included; all three are 0 before the first command.
struct TStatistika {
    uint64_t Prikazy = 0;
    uint64_t Chyby = 0;
    std::map<uint8_t, uint64_t> ChybyPodleKodu; // failures only: code -> count
    uint32_t MinUs = 0;
    uint32_t MedianUs = 0; // the lower median; exact below 1024 us, else within 0.2 %
    uint32_t MaxUs = 0;
};

// "příkazů 120, chyb 2 (5: 2x), doba min 1.203 / medián 3.411 / max
// 71.020 ms"; with no failure "chyb 0"; with no command "příkazů 0".
QString StatistikaNaText(const TStatistika& Statistika);

// Counts commands as they come: O(1) per command, fixed memory (about 48
// KiB), whatever the number of commands.
class TPocitadloPrikazu {
  public:
    TPocitadloPrikazu();
    void Pridej(uint8_t Chyba, uint32_t DobaUs);
    void Vymaz();
    TStatistika Statistika() const;

  private:
    uint64_t Prikazy_ = 0;
    std::array<uint64_t, 256> PodleKodu_{};
    uint32_t Min_ = 0;
    uint32_t Max_ = 0;
    std::vector<uint32_t> Histogram_;
};

// One text line of a record: time, address, the command by code and
// meaning, request and reply bytes, status code and text, round trip:
// "14:03:07.123  adr 5  102 čtení registru 62 (rychlost)  00 3E 3E 00 00 ->
// 00 3E 3E 04 04  0 V pořádku  3.412 ms". A failure reads "CHYBA 5 Modul
// neodpovídá" in place of "0 V pořádku". An empty text leaves the code alone.
QString RadekZaznamu(const TZaznamPrikazu& Zaznam, const QString& TextChyby);

// The CSV the program writes: the documented form (commas, decimal points,
// UTF-8), or "CSV pro Excel", which a Czech Excel opens as it stands
// (semicolons, decimal commas, UTF-8 with a byte-order mark). The columns
// are the same in both.
enum class TDialektCsv { Zakladni, Excel };
// What a file of the dialect begins with: the byte-order mark for Excel.
QByteArray ZacatekCsv(TDialektCsv Dialekt);
// The field separator.
QChar OddelovacCsv(TDialektCsv Dialekt);
// A number or time written with a decimal point ("3.412", "12:00:00.123"),
// with the dialect's decimal sign.
QString CisloCsv(const QString& Cislo, TDialektCsv Dialekt);

// Header row of the CSV export, without line end.
QString HlavickaCsv(TDialektCsv Dialekt = TDialektCsv::Zakladni);
// One CSV row of a record (fields quoted where needed), without line end.
QString RadekCsv(const TZaznamPrikazu& Zaznam, const QString& TextChyby,
                 TDialektCsv Dialekt = TDialektCsv::Zakladni);
// A CSV field: quoted, with inner quotes doubled, when it holds the
// dialect's separator, a quote, a line break or a blank at either end.
QString PoleCsv(const QString& Text, TDialektCsv Dialekt = TDialektCsv::Zakladni);

// The last Kapacita records, oldest dropped. Append is O(1) and allocates
// nothing once full, so memory stays flat on a view left polling. Single
// thread, like the rest of the link.
class TLogKomunikace {
  public:
    static constexpr int VychoziKapacita = 10000;

    explicit TLogKomunikace(int Kapacita = VychoziKapacita);
    ~TLogKomunikace();
    TLogKomunikace(const TLogKomunikace&) = delete;
    TLogKomunikace& operator=(const TLogKomunikace&) = delete;

    // Becomes the process-wide observer, so every command lands here;
    // Odpoj (and the destructor) stop that if no one has replaced it since.
    void Pripoj();
    void Odpoj();
    // Still the observer (another Pripoj or NastavPozorovatele replaces it).
    bool Pripojen() const;

    // Keeps a record (nothing while paused) and counts it in the statistics.
    void Pridej(const TZaznamPrikazu& Zaznam);
    // Drops every record and resets the statistics.
    void Vymaz();
    // While paused, records are neither kept nor counted.
    void NastavPozastaveno(bool Pozastaveno) { Pozastaveno_ = Pozastaveno; }
    bool Pozastaveno() const { return Pozastaveno_; }
    // Called after each kept record (a view schedules its update here).
    void NastavOznameni(std::function<void()> Oznameni) { Oznameni_ = std::move(Oznameni); }

    int Kapacita() const { return Kapacita_; }
    // Records held, at most Kapacita.
    int Pocet() const { return static_cast<int>(Zaznamy_.size()); }
    // Records kept since construction, cleared ones included; never goes
    // back, so a view adds min(Celkem - seen, Pocet) new lines.
    uint64_t Celkem() const { return Celkem_; }
    // Record i, 0 = the oldest held; i must be below Pocet.
    const TZaznamPrikazu& Zaznam(int i) const;

    // Text line of record i (RadekZaznamu with the driver's status text), in
    // the language set; the CSV stays Czech whatever the language.
    QString Radek(int i) const;
    TStatistika Statistika() const { return Pocitadlo_.Statistika(); }
    // Header and every record held, UTF-8, lines ended by CR LF.
    QByteArray Csv(TDialektCsv Dialekt = TDialektCsv::Zakladni) const;
    // Writes Csv() to a file whole or not at all, by the rule of Soubory.h;
    // false with a Czech text.
    bool UlozCsv(const QString& Cesta, QString& Chyba,
                 TDialektCsv Dialekt = TDialektCsv::Zakladni) const;

    // Status texts come from the driver (OvladacError, CeskyTextChyby) and
    // are kept per kind and code; tests and tools may give another source.
    void NastavZdrojTextu(std::function<QString(uint8_t Rozhrani, uint8_t Chyba)> Zdroj);
    QString TextChyby(uint8_t Rozhrani, uint8_t Chyba) const;

  private:
    int Kapacita_;
    std::vector<TZaznamPrikazu> Zaznamy_;
    size_t Zacatek_ = 0; // index of the oldest once the ring is full
    uint64_t Celkem_ = 0;
    bool Pozastaveno_ = false;
    uint64_t Token_ = 0;
    std::function<void()> Oznameni_;
    TPocitadloPrikazu Pocitadlo_;
    std::function<QString(uint8_t, uint8_t)> Zdroj_;
    mutable QHash<uint16_t, QString> Texty_;
};
