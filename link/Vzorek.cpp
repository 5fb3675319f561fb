#include "Vzorek.h"

#include "Kxxx410.h"
#include "Prikazy.h"
#include "Soubory.h"

#include <chrono>
#include <cstdio>

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

QString HlavickaPrubehuCsv(TDialektCsv Dialekt) {
    return QStringList{QStringLiteral("cas"),      QStringLiteral("citac"),
                       QStringLiteral("rychlost"), QStringLiteral("vstupy"),
                       QStringLiteral("stav"),     QStringLiteral("chyba")}
        .join(OddelovacCsv(Dialekt));
}

QString RadekPrubehuCsv(const TVzorek& V, std::optional<double> Rychlost, TDialektCsv Dialekt) {
    const QString Cas =
        QDateTime::fromMSecsSinceEpoch(V.Cas).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    return QStringList{CisloCsv(Cas, Dialekt),
                       V.Citac ? QString::number(*V.Citac) : QString(),
                       Rychlost ? CisloCsv(QString::number(*Rychlost, 'f', 1), Dialekt) : QString(),
                       V.Vstupy ? SlovoNaHex(*V.Vstupy) : QString(),
                       V.Stav ? SlovoNaHex(*V.Stav) : QString(),
                       QString::number(V.Chyba)}
        .join(OddelovacCsv(Dialekt));
}

bool TZaznamPrubehu::Otevri(const QString& Cesta, QString& Chyba, TDialektCsv Dialekt) {
    Zavri();
    Radku_ = 0;
    Dialekt_ = Dialekt;
    Vystup_ = Cesta == QLatin1String("-");
    if (Vystup_) {
        if (!Soubor_.open(stdout, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
            Chyba = QStringLiteral("Standardní výstup nelze zapisovat.");
            return false;
        }
    } else if (!OtevriNovySoubor(Soubor_, Cesta, Chyba)) {
        return false;
    }
    Cesta_ = Cesta;
    Doplneno_.start();
    if (!Zapis(ZacatekCsv(Dialekt_) + HlavickaPrubehuCsv(Dialekt_).toUtf8() + '\n', Chyba))
        return false;
    Dopln();
    return true;
}

bool TZaznamPrubehu::Zapis(const QByteArray& Radek, QString& Chyba) {
    if (!Soubor_.isOpen()) {
        Chyba = QStringLiteral("Záznam není otevřen.");
        return false;
    }
    if (Soubor_.write(Radek) != Radek.size()) {
        Chyba =
            QStringLiteral("Do souboru %1 nelze zapisovat: %2").arg(Cesta_, Soubor_.errorString());
        Zavri();
        return false;
    }
    Cekajici_ = true;
    return true;
}

bool TZaznamPrubehu::Pridej(const TVzorek& V, std::optional<double> Rychlost, QString& Chyba) {
    if (!Zapis(RadekPrubehuCsv(V, Rychlost, Dialekt_).toUtf8() + '\n', Chyba)) return false;
    ++Radku_;
    if (Doplneno_.elapsed() >= 1000) Dopln();
    return true;
}

void TZaznamPrubehu::Dopln() {
    if (!Soubor_.isOpen() || !Cekajici_) return;
    Soubor_.flush();
    if (Vystup_) std::fflush(stdout);
    Cekajici_ = false;
    Doplneno_.restart();
}

void TZaznamPrubehu::Zavri() {
    if (!Soubor_.isOpen()) return;
    Dopln();
    Soubor_.close();
}
