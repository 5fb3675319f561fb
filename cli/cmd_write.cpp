// The writes of km207: set and clear. Every value is checked before the
// link opens.
#include "session.h"

#include "Vzorek.h"

#include "Prikazy.h"
#include "Rychlosti.h"

#include <iterator>

#include <QCoreApplication>

namespace km207 {

int Session::set() {
    return (this->*subject_->run)();
}

int Session::clear() {
    return (this->*subject_->run)();
}

int Session::setAddressOrBaud(uint8_t reg, uint8_t value, const QString& what, int shown) {
    TKonfigurace block = data_.Konfigurace;
    block.Bajt(reg == RegistrAdresa ? 0 : 1) = value;
    const TVysledekBloku v = ZapisBlok(CilModulu(data_), block, {reg}, transfer());
    if (!v.Uspech()) return fail(blockFailure(v, block));
    const QString note = PoznamkaZapnuti({reg});
    out_.result(QCoreApplication::translate("km207", "Konfigurace zapsána.\n") + note,
                {{QStringLiteral("set"), what},
                 {QStringLiteral("value"), shown},
                 {QStringLiteral("note"), note}});
    return ExitOk;
}

int Session::setAddress() {
    const QString value = o_.operands.value(1);
    const std::optional<int64_t> n = TextNaCislo(value);
    if (!n || *n < 0 || *n > 255)
        return usage(QCoreApplication::translate("km207", "adresa modulu musí být 0-255"));
    if (const int s = openLink()) return s;
    return setAddressOrBaud(RegistrAdresa, static_cast<uint8_t>(*n), o_.operands[0],
                            static_cast<int>(*n));
}

int Session::setBaud() {
    const QString value = o_.operands.value(1);
    const std::optional<int64_t> n = TextNaCislo(value);
    const int index =
        n && *n > 0 && *n <= 0xFFFFFFFF ? PresnyIndexRychlosti(static_cast<uint32_t>(*n)) : -1;
    if (index < 0)
        return usage(QCoreApplication::translate(
            "km207", "rychlost musí být jedna z 600, 1200, 2400, 4800, 9600, "
                     "19200, 38400, 57600, 115200"));
    if (const int s = openLink()) return s;
    return setAddressOrBaud(RegistrRychlost, static_cast<uint8_t>(index), o_.operands[0],
                            static_cast<int>(*n));
}

int Session::setMode() {
    const QString value = o_.operands.value(1);
    if (!modeNames().contains(value))
        return usage(QCoreApplication::translate("km207", "mód čítače je 32, 23 nebo 23s"));
    if (const int s = openLink()) return s;
    TKonfigurace block = data_.Konfigurace;
    block.KonfModCitace = static_cast<uint8_t>(modeNames().indexOf(value));
    // Read back at once, as the counter mode dialog writes it.
    const TVysledekBloku v = ZapisBlok(CilModulu(data_), block, {RegistrModCitace}, transfer(), {},
                                       {.PauzaPoPoslednim = false, .OvereniHned = true});
    if (!v.Uspech()) return fail(blockFailure(v, block));
    out_.result(
        QCoreApplication::translate("km207", "Konfigurace zapsána."),
        {{QStringLiteral("set"), QStringLiteral("mode")}, {QStringLiteral("value"), value}});
    return ExitOk;
}

int Session::setDio() {
    QStringList keys;
    for (const QString& op : o_.operands.mid(1)) {
        const QString key = op.section(QLatin1Char('='), 0, 0);
        const bool known =
            std::any_of(std::begin(kDioWords), std::end(kDioWords),
                        [&](const DioWord& w) { return key == QLatin1String(w.key); });
        if (!known || !op.contains(QLatin1Char('=')))
            return usage(QCoreApplication::translate("km207",
                                                     "\"%1\": dio bere din-neg=HEX, dout-neg=HEX, "
                                                     "dout-init=HEX")
                             .arg(op));
        if (keys.contains(key))
            return usage(QCoreApplication::translate("km207", "%1 je zadáno dvakrát").arg(key));
        keys << key;
        if (!hexWord(op.section(QLatin1Char('='), 1)))
            return usage(QCoreApplication::translate(
                             "km207", "%1 potřebuje 32bitové číslo v šestnáctkové soustavě")
                             .arg(key));
    }
    if (const int s = openLink()) return s;
    TKonfigurace block = data_.Konfigurace;
    const std::vector<uint8_t> regs = dioRegisters();
    // Settings not given keep the module's: read first, as "Přečíst" does.
    if (o_.operands.size() - 1 < static_cast<qsizetype>(std::size(kDioWords))) {
        const Reading r = readRegisters(regs, block);
        if (!r.ok) return fail(r);
    }
    for (const QString& op : o_.operands.mid(1)) {
        const QString key = op.section(QLatin1Char('='), 0, 0);
        for (const DioWord& w : kDioWords)
            if (key == QLatin1String(w.key))
                NastavSlovoBloku(block, w.firstByte, *hexWord(op.section(QLatin1Char('='), 1)));
    }
    const TVysledekBloku v = ZapisBlok(CilModulu(data_), block, regs, transfer());
    if (!v.Uspech()) return writeFailure(regs, v, block);
    QJsonObject json{{QStringLiteral("set"), QStringLiteral("dio")}};
    const QString words = dioWords(block, json);
    out_.result(QCoreApplication::translate("km207", "Konfigurace zapsána: ") + words, json);
    return ExitOk;
}

int Session::setOutputs() {
    const QString value = o_.operands.value(1);
    const std::optional<uint32_t> word = hexWord(value);
    if (!word)
        return usage(QCoreApplication::translate(
            "km207", "výstupy potřebují 32bitové číslo v šestnáctkové soustavě"));
    if (const int s = openLink()) return s;
    const std::array<uint8_t, 4> b{static_cast<uint8_t>(*word), static_cast<uint8_t>(*word >> 8),
                                   static_cast<uint8_t>(*word >> 16),
                                   static_cast<uint8_t>(*word >> 24)};
    const uint8_t chyba = ZapisVystupy(CilModulu(data_), b);
    if (chyba != 0) return fail(linkFailure(chyba));
    out_.result(QCoreApplication::translate("km207", "Data zapsána"),
                {{QStringLiteral("set"), QStringLiteral("outputs")},
                 {QStringLiteral("value"), SlovoNaHex(*word)}});
    return ExitOk;
}

int Session::setClock() {
    const QString value = o_.operands.mid(1).join(QLatin1Char(' '));
    // The ISO form too, as JSON users write it.
    QDateTime given;
    for (const char* form : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss"})
        if (!given.isValid()) given = QDateTime::fromString(value, QLatin1String(form));
    if (value != QLatin1String("now") && !given.isValid())
        return usage(
            QCoreApplication::translate("km207", "čas je now nebo \"RRRR-MM-DD HH:MM:SS\""));
    if (given.isValid()) {
        const QString why = ChybaRokuHodin(given);
        if (!why.isEmpty()) return usage(why);
    }
    if (const int s = openLink()) return s;
    // One reading of the clock, so date and time belong to the same instant.
    const QDateTime at = given.isValid() ? given : MistniCas();
    const uint8_t chyba = NastavCasModulu(CilModulu(data_), at);
    if (chyba != 0) return fail(linkFailure(chyba));
    const QString shown = at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    out_.result(
        QCoreApplication::translate("km207", "Čas nastaven: ") + shown,
        {{QStringLiteral("set"), QStringLiteral("clock")}, {QStringLiteral("value"), shown}});
    return ExitOk;
}

int Session::clearStatus() {
    if (const int s = openLink()) return s;
    const uint8_t chyba = NulujStav(CilModulu(data_));
    if (chyba != 0) return fail(linkFailure(chyba));
    out_.result(QCoreApplication::translate("km207", "Stavový registr vynulován"),
                {{QStringLiteral("clear"), o_.operands[0]}});
    return ExitOk;
}

int Session::clearCounter() {
    if (const int s = openLink()) return s;
    const uint8_t chyba = NulujCitac(CilModulu(data_));
    if (chyba != 0) return fail(linkFailure(chyba));
    out_.result(QCoreApplication::translate("km207", "Čítač vynulován"),
                {{QStringLiteral("clear"), o_.operands[0]}});
    return ExitOk;
}

} // namespace km207
