#include "Vzorek.h"

#include "Kxxx410.h"
#include "Prikazy.h"
#include "Soubory.h"

#include <QCoreApplication>

#include <algorithm>
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

void TRychlostCitace::NastavOkno(int Ms) {
    OknoUs_ = int64_t{std::clamp(Ms, NejkratsiOkno, NejdelsiOkno)} * 1000;
}

std::optional<double> TRychlostCitace::Dalsi(const TVzorek& V) {
    if (!V.Citac || !V.Mod) {
        Body_.clear();
        return std::nullopt;
    }
    if (Body_.empty() || *V.Mod != Mod_ || V.CitacUs <= Body_.back().Us) {
        Body_.assign(1, TBod{V.CitacUs, 0});
        Mod_ = *V.Mod;
        Posledni_ = *V.Citac;
        return std::nullopt;
    }
    const int64_t Celkem = Body_.back().Celkem + RozdilCitace(Mod_, Posledni_, *V.Citac);
    Posledni_ = *V.Citac;
    Body_.push_back(TBod{V.CitacUs, Celkem});
    // The oldest kept is the last one at or before the window's start.
    while (Body_.size() > 2 && Body_[1].Us <= V.CitacUs - OknoUs_)
        Body_.pop_front();
    const TBod& Od = Body_.front();
    return static_cast<double>(Celkem - Od.Celkem) * 1e6 / static_cast<double>(V.CitacUs - Od.Us);
}

TVzorek CtiVzorek(const TCil& Cil, const std::function<void()>& Pauza) {
    TVzorek V;
    // Kept when nothing answers, so that the gap starts where the sample did.
    V.Cas = MistniCas().toMSecsSinceEpoch();
    bool Oznacen = false;
    // The row's time is the counter's reply, else the first reply after it.
    const auto Oznac = [&] {
        if (Oznacen) return;
        V.Cas = MistniCas().toMSecsSinceEpoch();
        Oznacen = true;
    };
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
        Chyba = CtiHodnotuCitace(Cil, B);
        if (Chyba == 0) {
            // The module took the value when it answered the last attempt,
            // just before its reply came back.
            V.CitacUs = Mikrosekundy();
            Oznac();
            V.Citac = CitacNaCislo(Mod, B[0], B[1], B[2], B[3]);
        } else {
            Selhalo(Chyba);
        }
    } else {
        Selhalo(Chyba);
    }
    Mezi();
    Chyba = CtiVstupy(Cil, B);
    if (Chyba == 0) {
        Oznac();
        V.Vstupy = BajtyNaCislo(B[0], B[1], B[2], B[3]);
    } else {
        Selhalo(Chyba);
    }
    Mezi();
    Chyba = CtiStav(Cil, B);
    if (Chyba == 0) {
        Oznac();
        V.Stav = BajtyNaCislo(B[0], B[1], B[2], B[3]);
    } else {
        Selhalo(Chyba);
    }
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

bool TZaznamPrubehu::Otevri(const QString& Cesta, QString& Chyba, bool Prepsat,
                            TDialektCsv Dialekt) {
    Zavri();
    Radku_ = 0;
    Chyba_.clear();
    Dialekt_ = Dialekt;
    Vystup_ = Cesta == QLatin1String("-");
    if (Vystup_) {
        // The descriptor, unbuffered, as a file: each row goes out whole at
        // once and its failure shows.
        if (!Soubor_.open(1, QIODevice::WriteOnly | QIODevice::Unbuffered,
                          QFileDevice::DontCloseHandle)) {
            Chyba = QCoreApplication::translate("Vzorek", "Standardní výstup nelze zapisovat.");
            return false;
        }
    } else if (!OtevriNovySoubor(Soubor_, Cesta, Chyba, Prepsat)) {
        return false;
    }
    Cesta_ = Cesta;
    return Zapis(ZacatekCsv(Dialekt_) + HlavickaPrubehuCsv(Dialekt_).toUtf8() + '\n', Chyba);
}

QString TZaznamPrubehu::Cil() const {
    return Vystup_
               ? QCoreApplication::translate("Vzorek", "Na standardní výstup")
               : QCoreApplication::translate("Vzorek", "Do souboru %1").arg(JmenoSouboru(Cesta_));
}

bool TZaznamPrubehu::Zapis(const QByteArray& Radek, QString& Chyba) {
    if (!Soubor_.isOpen()) {
        Chyba = QCoreApplication::translate("Vzorek", "Záznam není otevřen.");
        return false;
    }
    const qint64 Konec = Vystup_ ? -1 : Soubor_.size();
    const qint64 Zapsano = Soubor_.write(Radek);
    if (Zapsano == Radek.size()) return true;
    // A part written (a full disk, a size limit) names no error of its own.
    QString Proc = Zapsano < 0 ? Soubor_.errorString() : qt_error_string(errno);
    // Whole rows only: a part of one is taken back.
    if (Zapsano > 0 && Konec >= 0 && Soubor_.resize(Konec))
        Proc = QCoreApplication::translate("Vzorek", "%1; záznam končí posledním celým řádkem")
                   .arg(Proc);
    Chyba = Chyba_ =
        QCoreApplication::translate("Vzorek", "%1 nelze zapisovat: %2").arg(Cil(), Proc);
    Soubor_.close();
    return false;
}

bool TZaznamPrubehu::Pridej(const TVzorek& V, std::optional<double> Rychlost, QString& Chyba) {
    if (!Zapis(RadekPrubehuCsv(V, Rychlost, Dialekt_).toUtf8() + '\n', Chyba)) return false;
    ++Radku_;
    return true;
}

bool TZaznamPrubehu::Zavri() {
    if (!Soubor_.isOpen()) return Chyba_.isEmpty();
    Soubor_.close();
    if (Soubor_.error() == QFileDevice::NoError) return true;
    Chyba_ = QCoreApplication::translate("Vzorek", "%1 nelze zapisovat: %2")
                 .arg(Cil(), Soubor_.errorString());
    return false;
}
