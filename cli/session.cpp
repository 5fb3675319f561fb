// What every command of km207 shares: failures reported alike, and the
// transfer's pause with Ctrl-C honoured there.
#include "session.h"

#include "stop.h"

#include "Kxxx410.h"
#include "Prikazy.h"
#include "Vzorek.h"

#include <QJsonArray>

#include <QCoreApplication>

namespace km207 {

std::vector<uint8_t> dioRegisters() {
    std::vector<uint8_t> regs;
    for (const TRegistr& R : RegistryDIO())
        regs.push_back(R.Cislo);
    return regs;
}

QString dioWords(const TKonfigurace& block, QJsonObject& json) {
    QStringList parts;
    for (const DioWord& w : kDioWords) {
        const QString value = SlovoNaHex(SlovoBloku(block, w.firstByte));
        parts << QStringLiteral("%1=%2").arg(QLatin1String(w.key), value);
        json.insert(QLatin1String(w.key), value);
    }
    return parts.join(QLatin1Char(' '));
}

Reading Session::linkFailure(uint8_t chyba) const {
    Reading r;
    r.ok = false;
    r.error = TextChyby(data_.Rozhrani, chyba);
    r.code = chyba;
    r.status = exitStatusForCode(chyba);
    return r;
}

Reading Session::blockFailure(const TVysledekBloku& v, const TKonfigurace& written) const {
    if (v.Konec == TKonecBloku::Chyba) return linkFailure(v.Chyba);
    Reading r;
    r.ok = false;
    r.error = v.Text;
    if (v.Konec == TKonecBloku::Neshoda) {
        const auto reg = static_cast<uint8_t>(v.Registr);
        const uint8_t value = written.Bajt(BajtRegistru(reg));
        r.error +=
            QCoreApplication::translate("km207", " Registr %1: zapsáno %2, zpět přečteno %3.")
                .arg(SeznamRegistru({reg}))
                .arg(value)
                .arg(v.Precteno);
        r.code = CodeReadBackDiffers;
        r.status = ExitModule;
    } else {
        r.status = ExitLink;
    }
    return r;
}

int Session::writeFailure(const std::vector<uint8_t>& regs, const TVysledekBloku& v,
                          const TKonfigurace& block) {
    const Reading r = blockFailure(v, block);
    std::vector<uint8_t> verified, unverified, unknown, notWritten;
    QJsonArray differs;
    QString lines;
    for (uint8_t reg : regs) {
        switch (StavZapisu(v, reg)) {
        case TStavZapisu::Overen:
            verified.push_back(reg);
            break;
        case TStavZapisu::Lisi:
            differs.append(QJsonObject{{QStringLiteral("register"), reg},
                                       {QStringLiteral("written"), block.Bajt(BajtRegistru(reg))},
                                       {QStringLiteral("read"), v.Precteno}});
            lines +=
                QCoreApplication::translate("km207", "\nRegistr %1: zapsáno %2, zpět přečteno %3.")
                    .arg(SeznamRegistru({reg}))
                    .arg(block.Bajt(BajtRegistru(reg)))
                    .arg(v.Precteno);
            break;
        case TStavZapisu::Neoveren:
            unverified.push_back(reg);
            lines += QCoreApplication::translate("km207", "\nRegistr %1: zápis přijat, neověřen.")
                         .arg(SeznamRegistru({reg}));
            break;
        case TStavZapisu::Neznamy:
            unknown.push_back(reg);
            lines += QCoreApplication::translate(
                         "km207", "\nRegistr %1: zápis odeslán bez odpovědi, stav neznámý.")
                         .arg(SeznamRegistru({reg}));
            break;
        case TStavZapisu::Nezapsan:
            notWritten.push_back(reg);
            break;
        }
    }
    // What may have landed: a new address or rate then waits for power-up.
    std::vector<uint8_t> landed = verified;
    if (v.ZapisPrijat || StavZapisu(v, static_cast<uint8_t>(v.Registr)) == TStavZapisu::Neznamy)
        landed.push_back(static_cast<uint8_t>(v.Registr));
    const QString note = PoznamkaZapnuti(landed);
    const auto list = [](const std::vector<uint8_t>& l) {
        return l.empty() ? QCoreApplication::translate("km207", "žádné") : SeznamRegistru(l);
    };
    QString summary =
        QCoreApplication::translate("km207", "Zápis nedokončen.\nZapsané a ověřené registry: %1.")
            .arg(list(verified)) +
        lines + QCoreApplication::translate("km207", "\nNezapsané: %1.").arg(list(notWritten));
    if (!note.isEmpty()) summary += QLatin1Char('\n') + note;
    if (!out_.json()) out_.text(summary);
    QJsonObject extra{{QStringLiteral("written"), registerArray(verified)},
                      {QStringLiteral("differs"), differs},
                      {QStringLiteral("unverified"), registerArray(unverified)},
                      {QStringLiteral("unknown"), registerArray(unknown)},
                      {QStringLiteral("not_written"), registerArray(notWritten)}};
    if (!note.isEmpty()) extra.insert(QStringLiteral("note"), note);
    out_.error(r.error, r.code, r.status, extra);
    return r.status;
}

bool Session::goOn() const {
    return !stopRequested() && out_.outputFailure().isEmpty();
}

TRizeni Session::transfer() const {
    TRizeni r;
    r.Pauza = Pauza;
    r.Zastavit = [] { return stopRequested(); };
    return r;
}

} // namespace km207
