// The readings of km207: get once, watch periodically, and the trend
// window's sample.
#include "session.h"

#include "stop.h"

#include "Komunikace.h"
#include "Kxxx410.h"
#include "Prikazy.h"
#include "Rychlosti.h"
#include "Vzorek.h"

#include <QFileInfo>
#include <QJsonArray>

#include <chrono>
#include <thread>

#include <QCoreApplication>

namespace km207 {

namespace {

// A moment of the module's clock, both parts read, as the clock dialog
// shows it: "D.M.YYYY H:MM:SS".
QString momentText(const TOkamzikModulu& m) {
    return DatumNaText(*m.Datum) + QLatin1Char(' ') + CasNaText(*m.Cas);
}

// The module's clock in the form set clock takes, so a reading can be
// written back; a moment it would not take (no date of the calendar, a
// year not of four digits) as the clock dialog shows it.
QString clockText(const TOkamzikModulu& m) {
    const QDateTime at = m.Okamzik();
    const int year = at.date().year();
    if (!at.isValid() || year < 1000 || year > 9999) return momentText(m);
    return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

Reading Session::readRegisters(const std::vector<uint8_t>& regs, TKonfigurace& block) {
    const TVysledekBloku v = CtiRegistry(CilModulu(data_), block, regs, transfer());
    if (!v.Uspech()) return blockFailure(v, block);
    return {};
}

Reading Session::readAddress(bool&) {
    TKonfigurace block = data_.Konfigurace;
    Reading r = readRegisters({RegistrAdresa}, block);
    if (!r.ok) return r;
    r.text = QString::number(block.KonfAdresa);
    r.json.insert(QStringLiteral("address"), block.KonfAdresa);
    return r;
}

Reading Session::readBaud(bool&) {
    TKonfigurace block = data_.Konfigurace;
    Reading r = readRegisters({RegistrRychlost}, block);
    if (!r.ok) return r;
    const int index = block.KonfRychlost;
    r.json.insert(QStringLiteral("index"), index);
    if (index < PocetRychlosti) {
        r.text = QString::number(IndexNaRychlost(index));
        r.json.insert(QStringLiteral("baud"), static_cast<qint64>(IndexNaRychlost(index)));
    } else {
        r.text = QCoreApplication::translate("km207", "? (index rychlosti %1)").arg(index);
        r.json.insert(QStringLiteral("baud"), QJsonValue());
    }
    return r;
}

Reading Session::readMode(bool&) {
    TKonfigurace block = data_.Konfigurace;
    Reading r = readRegisters({RegistrModCitace}, block);
    if (!r.ok) return r;
    const QString name = modeName(block.KonfModCitace);
    r.text =
        name.isEmpty()
            ? QCoreApplication::translate("km207", "? (registr 0 = %1)").arg(block.KonfModCitace)
            : name;
    r.json.insert(QStringLiteral("mode"), name.isEmpty() ? QJsonValue() : QJsonValue(name));
    r.json.insert(QStringLiteral("register"), block.KonfModCitace);
    return r;
}

Reading Session::readDio(bool&) {
    TKonfigurace block = data_.Konfigurace;
    Reading r = readRegisters(dioRegisters(), block);
    if (!r.ok) return r;
    r.text = dioWords(block, r.json);
    return r;
}

Reading Session::readCounter(bool&) {
    // As the counter view polls: the value formatted by the module's mode.
    TCitac citac;
    const uint8_t chyba = CtiCitac(CilModulu(data_), citac);
    if (chyba != 0) return linkFailure(chyba);
    Reading r;
    r.text = citac.Text();
    r.json.insert(QStringLiteral("counter"), r.text.toLongLong());
    const QString name = modeName(citac.Mod);
    r.json.insert(QStringLiteral("mode"), name.isEmpty() ? QJsonValue() : QJsonValue(name));
    return r;
}

Reading Session::readClock(bool& powerFailureRead) {
    return readClockOrFailure(true, powerFailureRead);
}

Reading Session::readPowerFailure(bool& powerFailureRead) {
    return readClockOrFailure(false, powerFailureRead);
}

Reading Session::readClockOrFailure(bool clock, bool& powerFailureRead) {
    Reading r;
    if (!clock || !powerFailureRead) {
        // Start time, start date, end time, end date: the clock dialog's
        // order, once per opening.
        TVypadek v;
        const uint8_t chyba = CtiVypadek(CilModulu(data_), v);
        if (chyba != 0) return linkFailure(chyba);
        powerFailureRead = true;
        const QString start = momentText(v.Zacatek);
        const QString end = momentText(v.Konec);
        r.text = QCoreApplication::translate("km207", "začátek %1, konec %2").arg(start, end);
        QJsonObject failure{{QStringLiteral("start"), start}, {QStringLiteral("end"), end}};
        if (clock)
            r.json.insert(QStringLiteral("power-failure"), failure);
        else
            r.json = failure;
    }
    if (clock) {
        TOkamzikModulu moment;
        const uint8_t chyba = CtiCasModulu(CilModulu(data_), moment);
        if (chyba != 0) return linkFailure(chyba);
        const QString now = clockText(moment);
        r.text = r.text.isEmpty()
                     ? now
                     : now + QCoreApplication::translate("km207", "  (výpadek napájení: ") +
                           r.text + QLatin1Char(')');
        r.json.insert(QStringLiteral("clock"), now);
    }
    return r;
}

Reading Session::readStatus(bool&) {
    return readWord(true);
}

Reading Session::readInputs(bool&) {
    return readWord(false);
}

Reading Session::readWord(bool status) {
    std::array<uint8_t, 4> b{};
    const uint8_t chyba = status ? CtiStav(CilModulu(data_), b) : CtiVstupy(CilModulu(data_), b);
    if (chyba != 0) return linkFailure(chyba);
    const uint32_t word = BajtyNaCislo(b[0], b[1], b[2], b[3]);
    Reading r;
    r.text = SlovoNaHex(word);
    r.json.insert(QString::fromUtf8(subject_->name), SlovoNaHex(word));
    if (status) {
        const std::array<QString, 32> names = JmenaBituStavu();
        QStringList set;
        QJsonArray bits;
        for (int bit = 0; bit < 32; ++bit) {
            if (!(word >> bit & 1u)) continue;
            const QString name = names[static_cast<size_t>(bit)] == QLatin1String("---")
                                     ? QStringLiteral("bit%1").arg(bit)
                                     : names[static_cast<size_t>(bit)];
            set << name;
            bits.append(name);
        }
        if (!set.isEmpty()) r.text += QLatin1Char(' ') + set.join(QLatin1Char(' '));
        r.json.insert(QStringLiteral("bits"), bits);
    }
    return r;
}

int Session::get() {
    if (const int s = openLink()) return s;
    const int times = o_.repeat.value_or(1);
    TPocitadloPrikazu counter;
    uint64_t token = 0;
    if (o_.repeat)
        token = NastavPozorovatele(
            [&counter](const TZaznamPrikazu& z) { counter.Pridej(z.Chyba, z.DobaUs); });
    int status = ExitOk;
    for (int i = 0; i < times && goOn(); ++i) {
        bool powerFailureRead = true;
        const Reading r = (this->*subject_->read)(powerFailureRead);
        if (r.ok)
            out_.result(r.text, r.json);
        else
            status = worse(status, fail(r));
    }
    if (o_.repeat) {
        ZrusPozorovatele(token);
        const TStatistika s = counter.Statistika();
        QJsonObject byCode;
        for (const auto& [code, n] : s.ChybyPodleKodu)
            byCode.insert(QString::number(code), static_cast<qint64>(n));
        const QJsonObject stats{{QStringLiteral("commands"), static_cast<qint64>(s.Prikazy)},
                                {QStringLiteral("failures"), static_cast<qint64>(s.Chyby)},
                                {QStringLiteral("failures_by_code"), byCode},
                                {QStringLiteral("min_ms"), s.MinUs / 1000.0},
                                {QStringLiteral("median_ms"), s.MedianUs / 1000.0},
                                {QStringLiteral("max_ms"), s.MaxUs / 1000.0}};
        out_.result(StatistikaNaText(s), {{QStringLiteral("statistics"), stats}});
    }
    return status;
}

int Session::watch() {
    if (subject_->run) return (this->*subject_->run)();
    if (const int s = openLink()) return s;
    const int period = o_.interval.value_or(subject_->watchPeriod);
    const bool fromEnd = subject_->periodFromEnd;
    using Clock = std::chrono::steady_clock;
    bool powerFailureRead = false;
    int status = ExitOk;
    for (int n = 0; goOn();) {
        const Clock::time_point start = Clock::now();
        const QDateTime at = MistniCas();
        Reading r = (this->*subject_->read)(powerFailureRead);
        const QString time = at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        if (r.ok) {
            r.json.insert(QStringLiteral("time"), at.toString(Qt::ISODateWithMs));
            out_.result(time + QStringLiteral("  ") + r.text, r.json);
        } else {
            out_.error(time + QStringLiteral("  ") + r.error, r.code, r.status,
                       {{QStringLiteral("time"), at.toString(Qt::ISODateWithMs)}});
            status = worse(status, r.status);
        }
        if (o_.count && ++n >= *o_.count) break;
        const Clock::time_point next =
            (fromEnd ? Clock::now() : start) + std::chrono::milliseconds(period);
        // Short naps, so Ctrl-C is noticed at once.
        while (!stopRequested() && Clock::now() < next)
            std::this_thread::sleep_for(
                std::min<Clock::duration>(next - Clock::now(), std::chrono::milliseconds(20)));
    }
    return status;
}

// The trend window's sample, period from its start, optionally recorded as
// the window records it. Opens the link itself, after the CSV file.
int Session::watchTrend() {
    const int period = o_.interval.value_or(subject_->watchPeriod);
    TZaznamPrubehu csv;
    if (o_.csv) {
        QString error;
        if (!csv.Otevri(*o_.csv, error, o_.overwrite,
                        o_.csvExcel ? TDialektCsv::Excel : TDialektCsv::Zakladni)) {
            if (!o_.overwrite && QFileInfo(*o_.csv).isFile())
                error +=
                    QCoreApplication::translate("km207", " Přepsat ho lze volbou --overwrite.");
            // Opened, but the header could not be written: nothing was sent.
            const int status = csv.Chyba().isEmpty() ? ExitUsage : ExitOutput;
            out_.error(error, std::nullopt, status);
            return status;
        }
    }
    // The file is checked before anything goes to the module.
    if (const int s = openLink()) return s;
    const bool lines = !o_.csv || *o_.csv != QLatin1String("-");
    using Clock = std::chrono::steady_clock;
    TRychlostCitace rates(o_.rateWindow.value_or(TRychlostCitace::VychoziOkno));
    int status = ExitOk;
    for (int n = 0; goOn();) {
        const Clock::time_point start = Clock::now();
        const TVzorek v = CtiVzorek(CilModulu(data_), Pauza);
        const std::optional<double> rate = rates.Dalsi(v);
        if (csv.Otevreno()) {
            QString error;
            if (!csv.Pridej(v, rate, error)) {
                out_.error(error, std::nullopt, ExitOutput);
                return ExitOutput;
            }
        }
        const QDateTime at = QDateTime::fromMSecsSinceEpoch(v.Cas);
        if (lines) {
            const auto field = [](bool ok, const QString& text) {
                return ok ? text : QStringLiteral("-");
            };
            const QString text =
                QCoreApplication::translate("km207", "čítač %1  rychlost %2/s  vstupy %3  stav %4")
                    .arg(
                        field(v.Citac.has_value(), v.Citac ? QString::number(*v.Citac) : QString()),
                        field(rate.has_value(), rate ? QString::number(*rate, 'f', 1) : QString()),
                        field(v.Vstupy.has_value(), v.Vstupy ? SlovoNaHex(*v.Vstupy) : QString()),
                        field(v.Stav.has_value(), v.Stav ? SlovoNaHex(*v.Stav) : QString()));
            QJsonObject json{{QStringLiteral("time"), at.toString(Qt::ISODateWithMs)}};
            json.insert(QStringLiteral("counter"),
                        v.Citac ? QJsonValue(static_cast<qint64>(*v.Citac)) : QJsonValue());
            json.insert(QStringLiteral("rate"), rate ? QJsonValue(*rate) : QJsonValue());
            json.insert(QStringLiteral("inputs"),
                        v.Vstupy ? QJsonValue(SlovoNaHex(*v.Vstupy)) : QJsonValue());
            json.insert(QStringLiteral("status"),
                        v.Stav ? QJsonValue(SlovoNaHex(*v.Stav)) : QJsonValue());
            json.insert(QStringLiteral("error"), v.Chyba);
            out_.result(at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) +
                            QStringLiteral("  ") + text,
                        json);
        }
        if (v.Selhani) {
            if (lines)
                out_.note(QCoreApplication::translate("km207", "%1 čtení selhalo: %2")
                              .arg(v.Selhani)
                              .arg(TextChyby(data_.Rozhrani, v.Chyba)));
            status = worse(status, exitStatusForCode(v.Chyba));
        }
        if (o_.count && ++n >= *o_.count) break;
        const Clock::time_point next = start + std::chrono::milliseconds(period);
        while (!stopRequested() && Clock::now() < next)
            std::this_thread::sleep_for(
                std::min<Clock::duration>(next - Clock::now(), std::chrono::milliseconds(20)));
    }
    if (!csv.Zavri()) {
        out_.error(csv.Chyba(), std::nullopt, ExitOutput);
        return ExitOutput;
    }
    return status;
}

} // namespace km207
