#include "Vzorek.h"

#include "Kxxx410.h"
#include "Prikazy.h"
#include "Soubory.h"

#include <cerrno>
#include <chrono>

namespace {

constexpr int64_t Max23 = (int64_t{1} << 23) - 1;

int64_t Mikrosekundy() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

int64_t CitacNaCislo(uint8_t Mod, uint8_t B1, uint8_t B2, uint8_t B3, uint8_t B4) {
    if (Mod == 2) {
        const int64_t Velikost = B1 + (B2 << 8) + (int64_t{B3 & 0x7F} << 16);
        return (B3 & 0x80) ? -Velikost : Velikost;
    }
    return BajtyNaCislo(B1, B2, B3, B4);
}

int64_t RozdilCitace(uint8_t Mod, int64_t Predchozi, int64_t Soucasny) {
    const int64_t Rozsah = Mod == 1   ? (int64_t{1} << 23)
                           : Mod == 2 ? 2 * Max23 + 1
                                      : int64_t{1} << 32;
    int64_t D = (Soucasny - Predchozi) % Rozsah;
    if (D < 0) D += Rozsah;
    if (D > Rozsah / 2) D -= Rozsah;
    return D;
}

std::optional<double> TRychlostCitace::Dalsi(const TVzorek& V) {
    if (!V.Citac || !V.Mod) return std::nullopt;
    std::optional<double> Rychlost;
    if (Posledni_ && Posledni_->Mod == *V.Mod && V.CitacUs > Posledni_->Us)
        Rychlost = static_cast<double>(RozdilCitace(*V.Mod, Posledni_->Citac, *V.Citac)) * 1e6 /
                   static_cast<double>(V.CitacUs - Posledni_->Us);
    Posledni_ = TBod{V.CitacUs, *V.Mod, *V.Citac};
    return Rychlost;
}

TVzorek CtiVzorek(const TCil& Cil, const std::function<void()>& Pauza) {
    TVzorek V;
    V.Cas = MistniCas().toMSecsSinceEpoch();
    const auto Selhalo = [&](uint8_t Chyba) {
        if (V.Selhani++ == 0) V.Chyba = Chyba;
    };
    const auto Mezi = [&] {
        if (Pauza) Pauza();
    };
    std::array<uint8_t, 4> B{};
    uint8_t Mod = 0;
    uint8_t Chyba = PrikazRegistru(Cil, PrikazCti, RegistrModCitace, Mod);
    if (Chyba == 0) {
        V.Mod = Mod;
        // The counter view's two commands, with a pause between them here.
        Mezi();
        const int64_t Pred = Mikrosekundy();
        Chyba = CtiHodnotuCitace(Cil, B);
        V.CitacUs = Pred + (Mikrosekundy() - Pred) / 2;
        if (Chyba == 0)
            V.Citac = CitacNaCislo(Mod, B[0], B[1], B[2], B[3]);
        else
            Selhalo(Chyba);
    } else {
        Selhalo(Chyba);
    }
    Mezi();
    Chyba = CtiVstupy(Cil, B);
    if (Chyba == 0)
        V.Vstupy = BajtyNaCislo(B[0], B[1], B[2], B[3]);
    else
        Selhalo(Chyba);
    Mezi();
    Chyba = CtiStav(Cil, B);
    if (Chyba == 0)
        V.Stav = BajtyNaCislo(B[0], B[1], B[2], B[3]);
    else
        Selhalo(Chyba);
    return V;
}

QString SlovoNaHex(uint32_t Slovo) {
    return QStringLiteral("0x") +
           QString::number(Slovo, 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

QString ZnackaBituStavu(int Bit) {
    static const std::array<QString, 32> Jmena = JmenaBituStavu();
    if (Bit < 0 || Bit > 31) return QString();
    const QString& Jmeno = Jmena[static_cast<size_t>(Bit)];
    return Jmeno == QLatin1String("---") ? QStringLiteral("b%1").arg(Bit) : Jmeno;
}

QString HlavickaPrubehuCsv() {
    return QStringLiteral("cas,citac,rychlost,vstupy,stav,chyba");
}

QString RadekPrubehuCsv(const TVzorek& V, std::optional<double> Rychlost) {
    const QString Cas =
        QDateTime::fromMSecsSinceEpoch(V.Cas).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    return Cas + QLatin1Char(',') + (V.Citac ? QString::number(*V.Citac) : QString()) +
           QLatin1Char(',') + (Rychlost ? QString::number(*Rychlost, 'f', 1) : QString()) +
           QLatin1Char(',') + (V.Vstupy ? SlovoNaHex(*V.Vstupy) : QString()) + QLatin1Char(',') +
           (V.Stav ? SlovoNaHex(*V.Stav) : QString()) + QLatin1Char(',') + QString::number(V.Chyba);
}

bool TZaznamPrubehu::Otevri(const QString& Cesta, QString& Chyba, bool Prepsat) {
    Zavri();
    Radku_ = 0;
    Chyba_.clear();
    Vystup_ = Cesta == QLatin1String("-");
    if (Vystup_) {
        // The descriptor, unbuffered, as a file: each row goes out whole at
        // once and its failure shows.
        if (!Soubor_.open(1, QIODevice::WriteOnly | QIODevice::Unbuffered,
                          QFileDevice::DontCloseHandle)) {
            Chyba = QStringLiteral("Standardní výstup nelze zapisovat.");
            return false;
        }
    } else if (!OtevriNovySoubor(Soubor_, Cesta, Chyba, Prepsat)) {
        return false;
    }
    Cesta_ = Cesta;
    return Zapis(HlavickaPrubehuCsv().toUtf8() + '\n', Chyba);
}

QString TZaznamPrubehu::Cil() const {
    return Vystup_ ? QStringLiteral("Na standardní výstup")
                   : QStringLiteral("Do souboru %1").arg(JmenoSouboru(Cesta_));
}

bool TZaznamPrubehu::Zapis(const QByteArray& Radek, QString& Chyba) {
    if (!Soubor_.isOpen()) {
        Chyba = QStringLiteral("Záznam není otevřen.");
        return false;
    }
    const qint64 Konec = Vystup_ ? -1 : Soubor_.size();
    const qint64 Zapsano = Soubor_.write(Radek);
    if (Zapsano == Radek.size()) return true;
    // A part written (a full disk, a size limit) names no error of its own.
    QString Proc = Zapsano < 0 ? Soubor_.errorString() : qt_error_string(errno);
    // Whole rows only: a part of one is taken back.
    if (Zapsano > 0 && Konec >= 0 && Soubor_.resize(Konec))
        Proc += QStringLiteral("; záznam končí posledním celým řádkem");
    Chyba = Chyba_ = QStringLiteral("%1 nelze zapisovat: %2").arg(Cil(), Proc);
    Soubor_.close();
    return false;
}

bool TZaznamPrubehu::Pridej(const TVzorek& V, std::optional<double> Rychlost, QString& Chyba) {
    if (!Zapis(RadekPrubehuCsv(V, Rychlost).toUtf8() + '\n', Chyba)) return false;
    ++Radku_;
    return true;
}

bool TZaznamPrubehu::Zavri() {
    if (!Soubor_.isOpen()) return Chyba_.isEmpty();
    Soubor_.close();
    if (Soubor_.error() == QFileDevice::NoError) return true;
    Chyba_ = QStringLiteral("%1 nelze zapisovat: %2").arg(Cil(), Soubor_.errorString());
    return false;
}
