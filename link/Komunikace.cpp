#include "Komunikace.h"

#include "Dekl.h"
#include "Kxxx410.h"
#include "Prikazy.h"
#include "Soubory.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <bit>
#include <memory>

namespace {

// Round trips in a log-linear histogram: below 1024 us one bucket per
// microsecond, above that 512 buckets per power of two.
constexpr uint32_t kPresne = 1024;
constexpr uint32_t kPodil = 512;
constexpr size_t kPriSkupin = 12288; // 1024 + 22 powers of two x 512

size_t Prihradka(uint32_t Us) {
    if (Us < kPresne) return Us;
    const int e = std::bit_width(Us) - 10; // 1 .. 22
    return kPresne + static_cast<size_t>(e - 1) * kPodil + ((Us >> e) - kPodil);
}

// Middle of a bucket.
uint32_t StredPrihradky(size_t i) {
    if (i < kPresne) return static_cast<uint32_t>(i);
    const size_t e = (i - kPresne) / kPodil + 1;
    const uint64_t dolni = static_cast<uint64_t>((i - kPresne) % kPodil + kPodil) << e;
    return static_cast<uint32_t>(dolni + (uint64_t{1} << e) / 2);
}

QString Bajty(const std::array<uint8_t, 5>& B) {
    QString s;
    s.reserve(14);
    for (size_t i = 0; i < B.size(); ++i) {
        if (i) s += QLatin1Char(' ');
        s += QString::number(B[i], 16).toUpper().rightJustified(2, QLatin1Char('0'));
    }
    return s;
}

QString Milisekundy(uint32_t Us) {
    return QString::number(Us / 1000) + QLatin1Char('.') +
           QString::number(Us % 1000).rightJustified(3, QLatin1Char('0'));
}

QString Rozhrani(uint8_t Druh) {
    const QString Nazev = NazevRozhrani(Druh);
    return Nazev.isEmpty() ? QString::number(Druh) : Nazev;
}

} // namespace

// ------------------------------------------------------------ statistics

TPocitadloPrikazu::TPocitadloPrikazu() : Histogram_(kPriSkupin, 0) {}

void TPocitadloPrikazu::Pridej(uint8_t Chyba, uint32_t DobaUs) {
    if (Prikazy_ == 0) {
        Min_ = Max_ = DobaUs;
    } else {
        Min_ = std::min(Min_, DobaUs);
        Max_ = std::max(Max_, DobaUs);
    }
    ++Prikazy_;
    ++PodleKodu_[Chyba];
    ++Histogram_[Prihradka(DobaUs)];
}

void TPocitadloPrikazu::Vymaz() {
    Prikazy_ = 0;
    PodleKodu_.fill(0);
    Min_ = Max_ = 0;
    std::fill(Histogram_.begin(), Histogram_.end(), 0);
}

TStatistika TPocitadloPrikazu::Statistika() const {
    TStatistika S;
    S.Prikazy = Prikazy_;
    for (size_t kod = 1; kod < PodleKodu_.size(); ++kod) {
        if (PodleKodu_[kod] == 0) continue;
        S.ChybyPodleKodu[static_cast<uint8_t>(kod)] = PodleKodu_[kod];
        S.Chyby += PodleKodu_[kod];
    }
    if (Prikazy_ == 0) return S;
    S.MinUs = Min_;
    S.MaxUs = Max_;
    const uint64_t cil = (Prikazy_ + 1) / 2; // the lower median
    uint64_t soucet = 0;
    for (size_t i = 0; i < Histogram_.size(); ++i) {
        soucet += Histogram_[i];
        if (soucet >= cil) {
            S.MedianUs = std::clamp(StredPrihradky(i), Min_, Max_);
            break;
        }
    }
    return S;
}

QString StatistikaNaText(const TStatistika& S) {
    QString Text = QCoreApplication::translate("Komunikace", "příkazů %1, chyb %2")
                       .arg(S.Prikazy)
                       .arg(S.Chyby);
    if (!S.ChybyPodleKodu.empty()) {
        QStringList Kody;
        for (const auto& [kod, pocet] : S.ChybyPodleKodu)
            Kody << QStringLiteral("%1: %2x").arg(kod).arg(pocet);
        Text += QStringLiteral(" (") + Kody.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    if (S.Prikazy > 0)
        Text += QCoreApplication::translate("Komunikace", ", doba min %1 / medián %2 / max %3 ms")
                    .arg(Milisekundy(S.MinUs), Milisekundy(S.MedianUs), Milisekundy(S.MaxUs));
    return Text;
}

// ------------------------------------------------------------ text forms

QString RadekZaznamu(const TZaznamPrikazu& Z, const QString& TextChyby) {
    QString Stav = Z.Chyba != 0 ? QCoreApplication::translate("Komunikace", "CHYBA %1").arg(Z.Chyba)
                                : QString::number(Z.Chyba);
    if (!TextChyby.isEmpty()) Stav += QLatin1Char(' ') + TextChyby;
    // One pass of arg: the texts may hold a '%' of their own.
    return QCoreApplication::translate("Komunikace", "%1  adr %2  %3  %4 -> %5  %6  %7 ms")
        .arg(Z.Cas.toString(QStringLiteral("HH:mm:ss.zzz")), QString::number(Z.Adresa),
             NazevPrikazu(Z.Prikaz, Z.P5, Z.Pozadavek), Bajty(Z.Pozadavek), Bajty(Z.Odpoved), Stav,
             Milisekundy(Z.DobaUs));
}

QByteArray ZacatekCsv(TDialektCsv Dialekt) {
    return Dialekt == TDialektCsv::Excel ? QByteArrayLiteral("\xEF\xBB\xBF") : QByteArray();
}

QChar OddelovacCsv(TDialektCsv Dialekt) {
    return Dialekt == TDialektCsv::Excel ? QLatin1Char(';') : QLatin1Char(',');
}

QString CisloCsv(const QString& Cislo, TDialektCsv Dialekt) {
    if (Dialekt != TDialektCsv::Excel) return Cislo;
    QString s = Cislo;
    return s.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString PoleCsv(const QString& Text, TDialektCsv Dialekt) {
    const bool Uvozovky = Text.contains(OddelovacCsv(Dialekt)) || Text.contains(QLatin1Char('"')) ||
                          Text.contains(QLatin1Char('\n')) || Text.contains(QLatin1Char('\r')) ||
                          Text.startsWith(QLatin1Char(' ')) || Text.endsWith(QLatin1Char(' '));
    if (!Uvozovky) return Text;
    QString s = Text;
    s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString HlavickaCsv(TDialektCsv Dialekt) {
    QString Text = QStringLiteral("čas,rozhraní,adresa,příkaz,P5,význam,požadavek B0-B4,"
                                  "odpověď B0-B4,chyba,text chyby,doba ms");
    return Text.replace(QLatin1Char(','), OddelovacCsv(Dialekt));
}

QString RadekCsv(const TZaznamPrikazu& Z, const QString& TextChyby, TDialektCsv Dialekt) {
    QStringList Pole{
        CisloCsv(Z.Cas.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")), Dialekt),
        Rozhrani(Z.Rozhrani),
        QString::number(Z.Adresa),
        QString::number(Z.Prikaz),
        QString::number(Z.P5),
        CeskyNazevPrikazu(Z.Prikaz, Z.P5, Z.Pozadavek),
        Bajty(Z.Pozadavek),
        Bajty(Z.Odpoved),
        QString::number(Z.Chyba),
        TextChyby,
        CisloCsv(Milisekundy(Z.DobaUs), Dialekt),
    };
    for (QString& P : Pole)
        P = PoleCsv(P, Dialekt);
    return Pole.join(OddelovacCsv(Dialekt));
}

// ------------------------------------------------------------ the log

TLogKomunikace::TLogKomunikace(int Kapacita) : Kapacita_(std::max(1, Kapacita)) {
    Zaznamy_.reserve(static_cast<size_t>(Kapacita_));
    Zdroj_ = [](uint8_t Rozhrani, uint8_t Chyba) { return CeskyTextChyby(Rozhrani, Chyba); };
}

TLogKomunikace::~TLogKomunikace() {
    Odpoj();
}

void TLogKomunikace::Pripoj() {
    if (Pripojen()) return;
    Token_ = NastavPozorovatele([this](const TZaznamPrikazu& Z) { Pridej(Z); });
}

bool TLogKomunikace::Pripojen() const {
    return PozorovatelTrva(Token_);
}

void TLogKomunikace::Odpoj() {
    ZrusPozorovatele(Token_);
    Token_ = 0;
}

void TLogKomunikace::Pridej(const TZaznamPrikazu& Zaznam) {
    if (Pozastaveno_) return;
    if (Zaznamy_.size() < static_cast<size_t>(Kapacita_)) {
        Zaznamy_.push_back(Zaznam);
    } else {
        Zaznamy_[Zacatek_] = Zaznam;
        Zacatek_ = (Zacatek_ + 1) % Zaznamy_.size();
    }
    ++Celkem_;
    Pocitadlo_.Pridej(Zaznam.Chyba, Zaznam.DobaUs);
    if (Oznameni_) Oznameni_();
}

void TLogKomunikace::Vymaz() {
    Zaznamy_.clear();
    Zacatek_ = 0;
    Pocitadlo_.Vymaz();
}

const TZaznamPrikazu& TLogKomunikace::Zaznam(int i) const {
    return Zaznamy_[(Zacatek_ + static_cast<size_t>(i)) % Zaznamy_.size()];
}

QString TLogKomunikace::Radek(int i) const {
    const TZaznamPrikazu& Z = Zaznam(i);
    return RadekZaznamu(Z, PrelozTextChyby(TextChyby(Z.Rozhrani, Z.Chyba)));
}

void TLogKomunikace::NastavZdrojTextu(std::function<QString(uint8_t, uint8_t)> Zdroj) {
    Zdroj_ = std::move(Zdroj);
    Texty_.clear();
}

QString TLogKomunikace::TextChyby(uint8_t Rozhrani, uint8_t Chyba) const {
    const uint16_t Klic = static_cast<uint16_t>(Rozhrani << 8 | Chyba);
    const auto it = Texty_.constFind(Klic);
    if (it != Texty_.constEnd()) return *it;
    const QString Text = Zdroj_ ? Zdroj_(Rozhrani, Chyba) : QString();
    // An unbound driver gives no text; ask again once one is bound.
    if (!Text.isEmpty()) Texty_.insert(Klic, Text);
    return Text;
}

QByteArray TLogKomunikace::Csv(TDialektCsv Dialekt) const {
    QString Text = HlavickaCsv(Dialekt) + QStringLiteral("\r\n");
    for (int i = 0; i < Pocet(); ++i) {
        const TZaznamPrikazu& Z = Zaznam(i);
        Text += RadekCsv(Z, TextChyby(Z.Rozhrani, Z.Chyba), Dialekt) + QStringLiteral("\r\n");
    }
    return ZacatekCsv(Dialekt) + Text.toUtf8();
}

bool TLogKomunikace::UlozCsv(const QString& Cesta, QString& Chyba, TDialektCsv Dialekt) const {
    return ZapisSoubor(Cesta, Csv(Dialekt), Chyba);
}
