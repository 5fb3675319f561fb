#include "tool.h"

#include "options.h"
#include "output.h"

#include "Dekl.h"
#include "Komunikace.h"
#include "Kxxx410.h"
#include "Operace.h"
#include "Prikazy.h"
#include "Rozhrani.h"
#include "Rychlosti.h"
#include "SouborKonfigurace.h"
#include "Soubory.h"
#include "Spojeni.h"
#include "Vzorek.h"

#include <QDir>
#include <QJsonArray>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <iterator>
#include <thread>

namespace km207 {

namespace {

volatile std::sig_atomic_t g_stop = 0;
// Set while the tool waits on standard input, where no pause comes to look
// at g_stop: the first signal then ends the tool (nothing was sent yet).
volatile std::sig_atomic_t g_readingInput = 0;
// How long a stop waits for the tool to end by itself.
constexpr std::chrono::seconds kStopGrace{2};

extern "C" void onStopSignal(int signal) {
    if (g_readingInput) std::_Exit(ExitUsage);
    g_stop = 1;
    // A second Ctrl-C is not waited for.
    std::signal(signal, SIG_DFL);
}

// The three digital I/O words and their first byte in the block.
struct DioWord {
    const char* key;
    int firstByte;
};
constexpr DioWord kDioWords[] = {{"din-neg", 3}, {"dout-neg", 7}, {"dout-init", 11}};

QString hex(uint32_t word) {
    return QStringLiteral("0x") +
           QString::number(word, 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

// "63 (adresa)".
QString registerName(uint8_t reg) {
    const QString name = NazevRegistru(reg);
    return name.isEmpty() ? QString::number(reg) : QStringLiteral("%1 (%2)").arg(reg).arg(name);
}

QString registerList(const std::vector<uint8_t>& regs) {
    QStringList names;
    for (uint8_t r : regs)
        names << registerName(r);
    return names.join(QStringLiteral(", "));
}

QJsonArray registerArray(const std::vector<uint8_t>& regs) {
    QJsonArray a;
    for (uint8_t r : regs)
        a.append(r);
    return a;
}

const QStringList kModeNames{"32", "23", "23s"};

QString modeName(uint8_t mode) {
    return mode < kModeNames.size() ? kModeNames[mode] : QString();
}

// What a write of these registers means: a new address or rate is the
// module's only at its next power-up. Empty when neither was written.
QString powerUpNote(const std::vector<uint8_t>& written) {
    const auto has = [&](uint8_t r) {
        return std::find(written.begin(), written.end(), r) != written.end();
    };
    const bool address = has(RegistrAdresa), baud = has(RegistrRychlost);
    if (!address && !baud) return QString();
    return (address && baud ? QStringLiteral("Nová adresa a rychlost platí")
            : address       ? QStringLiteral("Nová adresa platí")
                            : QStringLiteral("Nová rychlost platí")) +
           QStringLiteral(" od příštího zapnutí modulu.");
}

int worse(int a, int b) {
    // 2 (no answer) over 1 (the module's error) over 0.
    return std::max(a, b);
}

// The outcome of one reading.
struct Reading {
    bool ok = true;
    QString text;
    QJsonObject json;
    QString error;
    std::optional<uint32_t> code;
    int status = ExitOk;
};

class Tool {
  public:
    Tool(const Options& options, Output& out) : o_(options), out_(out) {}
    int run();

  private:
    // The record from the settings file with the command line's overrides.
    bool prepareLink(QString& error);
    // Opens the link as the connection dialog does: Init, SetConfig with
    // the link's rate, then (Identify) the three commands 200.
    int open(bool identify);
    void close();

    uint8_t command(uint8_t prikaz, uint8_t p5, std::array<uint8_t, 5>& b);
    int usage(const QString& text) {
        out_.usage(text, o_.command);
        return ExitUsage;
    }
    int fail(const QString& text, uint32_t code) {
        const int status = exitStatusForCode(code);
        out_.error(text, code, status);
        return status;
    }
    int fail(const Reading& r) {
        out_.error(r.error, r.code, r.status);
        return r.status;
    }
    Reading linkFailure(uint8_t chyba) const;
    Reading blockFailure(const TVysledekBloku& v, const TKonfigurace& written) const;
    // A write of several registers that did not finish: each register in
    // exactly one list, the same in text and JSON.
    int writeFailure(const std::vector<uint8_t>& regs, const TVysledekBloku& v,
                     const TKonfigurace& block);
    // The pause of a transfer, and Ctrl-C honoured there.
    TRizeni transfer() const;

    Reading read(const QString& what, bool& powerFailureRead);
    Reading readRegisters(const std::vector<uint8_t>& regs, TKonfigurace& block);
    Reading readClock(uint8_t p5, QString& text, bool date);

    int identify();
    int scan();
    int get();
    int set();
    int clear();
    int watch();
    int watchTrend(int period);
    int backup();
    int restore();

    int setAddressOrBaud(uint8_t reg, uint8_t value, const QString& what, int shown);
    int setMode(const QString& value);
    int setDio();
    int setOutputs(const QString& value);
    int setClock();

    const Options& o_;
    Output& out_;
    TData data_;
    QString modul_;
};

bool Tool::prepareLink(QString& error) {
    InitData(&data_);
    QString settings;
    if (o_.config) {
        settings = *o_.config;
        QString why;
        QByteArray unused;
        if (!CtiSoubor(settings, 1024 * 1024, unused, why)) {
            error = QStringLiteral("soubor nastavení: ") + why;
            return false;
        }
        CtiIniZeSouboru(&data_, settings);
    } else if (!o_.noConfig) {
        settings = CestaCteniIni();
        CtiIni(&data_);
    }
    // A value the command line did not give came from the settings file:
    // the error names the file and the key.
    const auto fromFile = [&](bool given, const char* key) {
        return given || settings.isEmpty()
                   ? QString()
                   : QStringLiteral(" (soubor %1, [KL-4100] %2)")
                         .arg(QDir::toNativeSeparators(settings), QString::fromUtf8(key));
    };
    if (o_.kind) data_.Rozhrani = *o_.kind;
    if (o_.address) data_.Adresa = *o_.address;
    if (o_.baud) data_.Rychlost = *o_.baud;
    const uint8_t kind = data_.Rozhrani;
    const QString kindText = QStringLiteral(" (rozhraní je %1)").arg(kindName(kind));
    if (o_.port) {
        const std::optional<uint32_t> port = portValue(kind, *o_.port);
        if (kind == 0 && !port) {
            error = QStringLiteral("--port potřebuje číslo portu COM 1-255");
            return false;
        }
        if (kind == 1 && !port) {
            error = QStringLiteral("--port potřebuje bázovou adresu karty 0-FFFFh (např. 300h)");
            return false;
        }
        if (kind == 0) data_.CisloPortu = static_cast<uint8_t>(*port);
        if (kind == 1) data_.BazovaAdresa = static_cast<uint16_t>(*port);
        if (kind > 1) {
            error = QStringLiteral("--port platí jen pro rozhraní com a isa") + kindText +
                    (kind == 4 ? QStringLiteral("; UDP port je --udp-port") : QString());
            return false;
        }
    }
    if (kind != 4 && (o_.ip || o_.udpPort || o_.timeout)) {
        error =
            QStringLiteral("--ip, --udp-port a --timeout platí jen pro rozhraní lan") + kindText;
        return false;
    }
    if (o_.ip) data_.IpAdresa = *o_.ip;
    if (o_.udpPort) data_.UdpPort = *o_.udpPort;
    if (o_.timeout) data_.UdpTimeout = *o_.timeout;

    const TRozhrani* rozhrani = NajdiRozhrani(kind);
    if (rozhrani && rozhrani->Parametry == TParametry::Lan) {
        // The connection dialog refuses these before it opens anything.
        if (data_.IpAdresa.isEmpty()) {
            error = QStringLiteral("Neplatná IP adresa") + fromFile(o_.ip.has_value(), "IP adresa");
            return false;
        }
        if (data_.UdpPort > 65535) {
            error = QStringLiteral("Neplatný UDP port %1").arg(data_.UdpPort) +
                    fromFile(o_.udpPort.has_value(), "UDP port");
            return false;
        }
        if (data_.UdpTimeout > 65535) {
            error = QStringLiteral("Neplatný UDP timeout %1").arg(data_.UdpTimeout) +
                    fromFile(o_.timeout.has_value(), "UDP timeout");
            return false;
        }
    }
    return true;
}

int Tool::open(bool identify) {
    TOtevreni jak;
    jak.Az = identify ? TKrokSpojeni::Identifikace : TKrokSpojeni::SetConfig;
    jak.Adresa = data_.Adresa;
    // A rate the settings file brings that is not one of the nine goes out
    // as 9600 Bd, as the connection dialog's list shows it.
    jak.IndexRychlosti = RychlostNaIndex(data_.Rychlost);
    data_.Rychlost = IndexNaRychlost(jak.IndexRychlosti);
    uint32_t handle = 0;
    const TVysledekSpojeni v = OtevriSpojeni(data_, handle, jak);
    modul_ = v.Modul;
    switch (v.Krok) {
    case TKrokSpojeni::Hotovo:
        return ExitOk;
    case TKrokSpojeni::Init: {
        // The code's text names the library; the cause, where the link
        // knows one (no Wine, no 32-bit programs here), says what to do.
        const QString duvod = OvladacDuvod();
        const int status = exitStatusForCode(v.Kod);
        QJsonObject extra;
        if (!duvod.isEmpty()) extra.insert(QStringLiteral("reason"), duvod);
        out_.error(QStringLiteral("Chyba inicializace připojení - ") + v.Text, v.Kod, status,
                   extra);
        if (!duvod.isEmpty()) out_.note(QStringLiteral("Důvod: ") + duvod);
        return status;
    }
    case TKrokSpojeni::SetConfig:
        return fail(QStringLiteral("Chyba inicializace připojení - ") + v.Text, v.Kod);
    case TKrokSpojeni::Parametry:
    case TKrokSpojeni::Identifikace:
        break;
    }
    return fail(v.Text, v.Kod);
}

void Tool::close() {
    if (!SpojeniOtevreno(&data_)) return;
    uint32_t handle = data_.Handle;
    OvladacDone(data_.Rozhrani, handle);
    data_.Handle = handle;
    data_.Pripojeno = false;
}

uint8_t Tool::command(uint8_t prikaz, uint8_t p5, std::array<uint8_t, 5>& b) {
    uint8_t chyba = KodNeplatne;
    TOdpoved odpoved{};
    ProvedPrikaz(data_.Rozhrani, data_.Handle, data_.Adresa, prikaz, p5, &b[0], &b[1], &b[2], &b[3],
                 &b[4], chyba, odpoved);
    return chyba;
}

Reading Tool::linkFailure(uint8_t chyba) const {
    Reading r;
    r.ok = false;
    r.error = TextChyby(data_.Rozhrani, chyba);
    r.code = chyba;
    r.status = exitStatusForCode(chyba);
    return r;
}

Reading Tool::blockFailure(const TVysledekBloku& v, const TKonfigurace& written) const {
    if (v.Konec == TKonecBloku::Chyba) return linkFailure(v.Chyba);
    Reading r;
    r.ok = false;
    r.error = v.Text;
    if (v.Konec == TKonecBloku::Neshoda) {
        const auto reg = static_cast<uint8_t>(v.Registr);
        const uint8_t value = written.Bajt(BajtRegistru(reg));
        r.error += QStringLiteral(" Registr %1: zapsáno %2, zpět přečteno %3.")
                       .arg(registerName(reg))
                       .arg(value)
                       .arg(v.Precteno);
        r.code = CodeReadBackDiffers;
        r.status = ExitModule;
    } else {
        r.status = ExitLink;
    }
    return r;
}

int Tool::writeFailure(const std::vector<uint8_t>& regs, const TVysledekBloku& v,
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
            lines += QStringLiteral("\nRegistr %1: zapsáno %2, zpět přečteno %3.")
                         .arg(registerName(reg))
                         .arg(block.Bajt(BajtRegistru(reg)))
                         .arg(v.Precteno);
            break;
        case TStavZapisu::Neoveren:
            unverified.push_back(reg);
            lines += QStringLiteral("\nRegistr %1: zápis přijat, neověřen.").arg(registerName(reg));
            break;
        case TStavZapisu::Neznamy:
            unknown.push_back(reg);
            lines += QStringLiteral("\nRegistr %1: zápis odeslán bez odpovědi, stav neznámý.")
                         .arg(registerName(reg));
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
    const QString note = powerUpNote(landed);
    const auto list = [](const std::vector<uint8_t>& l) {
        return l.empty() ? QStringLiteral("žádné") : registerList(l);
    };
    QString summary =
        QStringLiteral("Zápis nedokončen.\nZapsané a ověřené registry: %1.").arg(list(verified)) +
        lines + QStringLiteral("\nNezapsané: %1.").arg(list(notWritten));
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

TRizeni Tool::transfer() const {
    TRizeni r;
    r.Pauza = Pauza;
    r.Zastavit = [] { return stopRequested(); };
    return r;
}

// ------------------------------------------------------------ readings

Reading Tool::readRegisters(const std::vector<uint8_t>& regs, TKonfigurace& block) {
    const TVysledekBloku v = CtiRegistry(data_, block, regs, transfer());
    if (!v.Uspech()) return blockFailure(v, block);
    return {};
}

Reading Tool::readClock(uint8_t p5, QString& text, bool date) {
    std::array<uint8_t, 5> b{};
    const uint8_t chyba = command(100, p5, b);
    if (chyba != 0) return linkFailure(chyba);
    text = date ? DatumNaText(b[1], b[2], b[3]) : CasNaText(b[1], b[2], b[3]);
    return {};
}

Reading Tool::read(const QString& what, bool& powerFailureRead) {
    Reading r;
    TKonfigurace block = data_.Konfigurace;
    if (what == QLatin1String("address")) {
        r = readRegisters({RegistrAdresa}, block);
        if (!r.ok) return r;
        r.text = QString::number(block.KonfAdresa);
        r.json.insert(QStringLiteral("address"), block.KonfAdresa);
    } else if (what == QLatin1String("baud")) {
        r = readRegisters({RegistrRychlost}, block);
        if (!r.ok) return r;
        const int index = block.KonfRychlost;
        r.json.insert(QStringLiteral("index"), index);
        if (index < PocetRychlosti) {
            r.text = QString::number(IndexNaRychlost(index));
            r.json.insert(QStringLiteral("baud"), static_cast<qint64>(IndexNaRychlost(index)));
        } else {
            r.text = QStringLiteral("? (index rychlosti %1)").arg(index);
            r.json.insert(QStringLiteral("baud"), QJsonValue());
        }
    } else if (what == QLatin1String("mode")) {
        r = readRegisters({RegistrModCitace}, block);
        if (!r.ok) return r;
        const QString name = modeName(block.KonfModCitace);
        r.text =
            name.isEmpty() ? QStringLiteral("? (registr 0 = %1)").arg(block.KonfModCitace) : name;
        r.json.insert(QStringLiteral("mode"), name.isEmpty() ? QJsonValue() : QJsonValue(name));
        r.json.insert(QStringLiteral("register"), block.KonfModCitace);
    } else if (what == QLatin1String("dio")) {
        std::vector<uint8_t> regs;
        for (const TRegistr& R : RegistryDIO())
            regs.push_back(R.Cislo);
        r = readRegisters(regs, block);
        if (!r.ok) return r;
        QStringList parts;
        for (const DioWord& w : kDioWords) {
            const QString value = hex(SlovoBloku(block, w.firstByte));
            parts << QStringLiteral("%1=%2").arg(QLatin1String(w.key), value);
            r.json.insert(QLatin1String(w.key), value);
        }
        r.text = parts.join(QLatin1Char(' '));
    } else if (what == QLatin1String("counter")) {
        // As the counter view polls: the mode register first, so the value
        // is formatted by the mode the module has now.
        std::array<uint8_t, 5> b{};
        uint8_t chyba = command(PrikazCti, 0, b);
        if (chyba != 0) return linkFailure(chyba);
        const uint8_t mode = b[3];
        b = {};
        chyba = command(0, 80, b);
        if (chyba != 0) return linkFailure(chyba);
        r.text = CitacNaText(mode, b[1], b[2], b[3], b[4]);
        r.json.insert(QStringLiteral("counter"), r.text.toLongLong());
        const QString name = modeName(mode);
        r.json.insert(QStringLiteral("mode"), name.isEmpty() ? QJsonValue() : QJsonValue(name));
    } else if (what == QLatin1String("clock") || what == QLatin1String("power-failure")) {
        const bool clock = what == QLatin1String("clock");
        if (!clock || !powerFailureRead) {
            // Start time, start date, end time, end date: the clock dialog's
            // order, once per opening.
            QString parts[4];
            for (int i = 0; i < 4; ++i) {
                r = readClock(static_cast<uint8_t>(3 + i), parts[i], i % 2 == 1);
                if (!r.ok) return r;
            }
            powerFailureRead = true;
            const QString start = parts[1] + QLatin1Char(' ') + parts[0];
            const QString end = parts[3] + QLatin1Char(' ') + parts[2];
            r.text = QStringLiteral("začátek %1, konec %2").arg(start, end);
            QJsonObject failure{{QStringLiteral("start"), start}, {QStringLiteral("end"), end}};
            if (clock)
                r.json.insert(QStringLiteral("power-failure"), failure);
            else
                r.json = failure;
        }
        if (clock) {
            QString time, date;
            Reading t = readClock(1, time, false);
            if (!t.ok) return t;
            t = readClock(2, date, true);
            if (!t.ok) return t;
            // The form set clock takes, so a reading can be written back.
            const QDateTime at = QDateTime::fromString(date + QLatin1Char(' ') + time,
                                                       QStringLiteral("d.M.yyyy H:mm:ss"));
            const QString now = at.isValid() ? at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                             : date + QLatin1Char(' ') + time;
            r.text = r.text.isEmpty() ? now
                                      : now + QStringLiteral("  (výpadek napájení: ") + r.text +
                                            QLatin1Char(')');
            r.json.insert(QStringLiteral("clock"), now);
        }
    } else if (what == QLatin1String("status") || what == QLatin1String("inputs")) {
        const bool status = what == QLatin1String("status");
        std::array<uint8_t, 5> b{};
        const uint8_t chyba = status ? command(100, 0, b) : command(0, 64, b);
        if (chyba != 0) return linkFailure(chyba);
        const uint32_t word = BajtyNaCislo(b[1], b[2], b[3], b[4]);
        r.text = hex(word);
        r.json.insert(what, hex(word));
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
    }
    return r;
}

// ------------------------------------------------------------ commands

int Tool::identify() {
    if (const int s = open(true)) return s;
    const QString modul = ModulNaText(modul_);
    out_.result(modul, {{QStringLiteral("module"), modul},
                        {QStringLiteral("address"), data_.Adresa},
                        {QStringLiteral("baud"), static_cast<qint64>(data_.Rychlost)}});
    return ExitOk;
}

int Tool::scan() {
    if (const int s = open(false)) return s;
    THledani h;
    h.Od = o_.first;
    h.Do = o_.last;
    h.Rychlosti = o_.baudIndices;
    // No pause between addresses: a silent address already costs a timeout.
    h.Rizeni.Zastavit = [] { return stopRequested(); };
    h.Prubeh = [this](int done, int total, uint8_t address, int index) {
        out_.progress(done, total,
                      QStringLiteral("adresa %1, %2 Bd").arg(address).arg(IndexNaRychlost(index)));
    };
    std::vector<uint8_t> shown;
    h.Nalezeno = [this, &shown](const TNalez& n) {
        // One line per module: a module that answers at another rate too
        // (a LAN converter answers at every rate) is named once, and its
        // rates at the end.
        if (std::find(shown.begin(), shown.end(), n.Adresa) != shown.end()) return;
        shown.push_back(n.Adresa);
        const QString modul = ModulNaText(n.Modul);
        const uint32_t rate = IndexNaRychlost(n.IndexRychlosti);
        out_.result(QStringLiteral("adresa %1  %2 Bd  %3").arg(n.Adresa).arg(rate).arg(modul),
                    {{QStringLiteral("address"), n.Adresa},
                     {QStringLiteral("baud"), static_cast<qint64>(rate)},
                     {QStringLiteral("module"), modul}});
    };
    const TVysledekHledani v = Hledej(data_, h);
    out_.endProgress();
    if (!v.Text.isEmpty()) return fail(v.Text, v.Chyba);
    // Texts come from the driver, so they are read while it is still bound.
    for (const auto& [index, code] : v.OdmitnuteRychlosti)
        out_.note(QStringLiteral("rychlost %1 Bd přeskočena: %2 (kód %3)")
                      .arg(IndexNaRychlost(index))
                      .arg(TextChyby(data_.Rozhrani, code))
                      .arg(code));
    for (const auto& entry : v.Poruchy)
        out_.note(QStringLiteral("jiné odpovědi na lince: ") +
                  TextPoruchy(v, data_.Rozhrani, entry.first));
    for (uint8_t address : shown) {
        const std::vector<int> rates = RychlostiModulu(v.Nalezene, address);
        if (rates.size() < 2) continue;
        QStringList names;
        for (int index : rates)
            names << QString::number(IndexNaRychlost(index));
        out_.note(QStringLiteral("modul na adrese %1 odpovídá na %2 rychlostech (%3 Bd); "
                                 "počítá se jednou")
                      .arg(address)
                      .arg(rates.size())
                      .arg(names.join(QStringLiteral(", "))));
    }
    if (v.ChybaObnoveni != 0)
        out_.note(QStringLiteral("vlastní rychlost linky se nepodařilo obnovit: %1 (kód %2)")
                      .arg(TextChyby(data_.Rozhrani, v.ChybaObnoveni))
                      .arg(v.ChybaObnoveni));
    const int found = PocetModulu(v.Nalezene);
    const QString summary = QStringLiteral("prohledáno %1 z %2, nalezeno modulů: %3%4")
                                .arg(v.Hotovo)
                                .arg(v.Celkem)
                                .arg(found)
                                .arg(v.Zastaveno ? QStringLiteral(" (přerušeno)") : QString());
    if (out_.json())
        out_.result(summary, {{QStringLiteral("scanned"), v.Hotovo},
                              {QStringLiteral("total"), v.Celkem},
                              {QStringLiteral("found"), found},
                              {QStringLiteral("stopped"), v.Zastaveno}});
    else
        out_.note(summary);
    // Stopped, the search is not complete whatever it found.
    if (v.Zastaveno) {
        out_.error(QStringLiteral("Hledání přerušeno."), std::nullopt, ExitLink);
        return ExitLink;
    }
    if (found == 0) {
        out_.error(QStringLiteral("Žádný modul neodpověděl."), std::nullopt, ExitLink);
        return ExitLink;
    }
    return ExitOk;
}

int Tool::get() {
    if (const int s = open(true)) return s;
    const QString& what = o_.operands[0];
    const int times = o_.repeat.value_or(1);
    TPocitadloPrikazu counter;
    uint64_t token = 0;
    if (o_.repeat)
        token = NastavPozorovatele(
            [&counter](const TZaznamPrikazu& z) { counter.Pridej(z.Chyba, z.DobaUs); });
    int status = ExitOk;
    for (int i = 0; i < times && !stopRequested(); ++i) {
        bool powerFailureRead = true;
        const Reading r = read(what, powerFailureRead);
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

int Tool::setAddressOrBaud(uint8_t reg, uint8_t value, const QString& what, int shown) {
    TKonfigurace block = data_.Konfigurace;
    block.Bajt(reg == RegistrAdresa ? 0 : 1) = value;
    const TVysledekBloku v = ZapisBlok(data_, block, {reg}, transfer());
    if (!v.Uspech()) return fail(blockFailure(v, block));
    const QString note = powerUpNote({reg});
    out_.result(QStringLiteral("Konfigurace zapsána.\n") + note, {{QStringLiteral("set"), what},
                                                                  {QStringLiteral("value"), shown},
                                                                  {QStringLiteral("note"), note}});
    return ExitOk;
}

int Tool::setMode(const QString& value) {
    const auto mode = static_cast<uint8_t>(kModeNames.indexOf(value));
    QString text;
    uint8_t read = 0;
    const uint8_t code = ZapisOverRegistrPrecteno(data_.Rozhrani, data_.Handle, data_.Adresa,
                                                  RegistrModCitace, mode, text, read);
    if (code == KodPozadavek && text == TextChybaZapisu) {
        // The read-back differed: said as set address says it.
        TVysledekBloku v;
        v.Konec = TKonecBloku::Neshoda;
        v.Registr = RegistrModCitace;
        v.Precteno = read;
        v.Text = text;
        TKonfigurace block = data_.Konfigurace;
        block.KonfModCitace = mode;
        return fail(blockFailure(v, block));
    }
    if (code != 0) {
        out_.error(text, code, exitStatusForCode(code));
        return exitStatusForCode(code);
    }
    out_.result(
        QStringLiteral("Konfigurace zapsána."),
        {{QStringLiteral("set"), QStringLiteral("mode")}, {QStringLiteral("value"), value}});
    return ExitOk;
}

int Tool::setDio() {
    TKonfigurace block = data_.Konfigurace;
    std::vector<uint8_t> regs;
    for (const TRegistr& R : RegistryDIO())
        regs.push_back(R.Cislo);
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
    const TVysledekBloku v = ZapisBlok(data_, block, regs, transfer());
    if (!v.Uspech()) return writeFailure(regs, v, block);
    QJsonObject json{{QStringLiteral("set"), QStringLiteral("dio")}};
    QStringList parts;
    for (const DioWord& w : kDioWords) {
        const QString value = hex(SlovoBloku(block, w.firstByte));
        parts << QStringLiteral("%1=%2").arg(QLatin1String(w.key), value);
        json.insert(QLatin1String(w.key), value);
    }
    out_.result(QStringLiteral("Konfigurace zapsána: ") + parts.join(QLatin1Char(' ')), json);
    return ExitOk;
}

int Tool::setOutputs(const QString& value) {
    const uint32_t word = *hexWord(value);
    std::array<uint8_t, 5> b{0, static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
                             static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 24)};
    const uint8_t chyba = command(1, 64, b);
    if (chyba != 0) return fail(linkFailure(chyba));
    out_.result(QStringLiteral("Data zapsána"), {{QStringLiteral("set"), QStringLiteral("outputs")},
                                                 {QStringLiteral("value"), hex(word)}});
    return ExitOk;
}

int Tool::setClock() {
    const QString value = o_.operands.mid(1).join(QLatin1Char(' '));
    // One reading of the clock, so date and time belong to the same instant.
    const QDateTime at = value == QLatin1String("now")
                             ? MistniCas()
                             : QDateTime::fromString(value, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QDate date = at.date();
    const QTime time = at.time();
    std::array<uint8_t, 5> b{0, static_cast<uint8_t>(time.second()),
                             static_cast<uint8_t>(time.minute()), static_cast<uint8_t>(time.hour()),
                             0};
    uint8_t chyba = command(101, 1, b);
    if (chyba == 0) {
        b = {0, static_cast<uint8_t>(date.day()), static_cast<uint8_t>(date.month()),
             static_cast<uint8_t>(date.year() & 3), 0};
        chyba = command(101, 2, b);
    }
    if (chyba != 0) return fail(linkFailure(chyba));
    const QString shown = at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    out_.result(
        QStringLiteral("Čas nastaven: ") + shown,
        {{QStringLiteral("set"), QStringLiteral("clock")}, {QStringLiteral("value"), shown}});
    return ExitOk;
}

int Tool::set() {
    const QString& what = o_.operands[0];
    const QString value = o_.operands.value(1);
    // Every value is checked before the link opens.
    if (what == QLatin1String("address")) {
        const std::optional<int64_t> n = TextNaCislo(value);
        if (!n || *n < 0 || *n > 255) return usage(QStringLiteral("adresa modulu musí být 0-255"));
        if (const int s = open(true)) return s;
        return setAddressOrBaud(RegistrAdresa, static_cast<uint8_t>(*n), what,
                                static_cast<int>(*n));
    }
    if (what == QLatin1String("baud")) {
        const std::optional<int64_t> n = TextNaCislo(value);
        const int index =
            n && *n > 0 && *n <= 0xFFFFFFFF ? PresnyIndexRychlosti(static_cast<uint32_t>(*n)) : -1;
        if (index < 0)
            return usage(QStringLiteral("rychlost musí být jedna z 600, 1200, 2400, 4800, 9600, "
                                        "19200, 38400, 57600, 115200"));
        if (const int s = open(true)) return s;
        return setAddressOrBaud(RegistrRychlost, static_cast<uint8_t>(index), what,
                                static_cast<int>(*n));
    }
    if (what == QLatin1String("mode")) {
        if (!kModeNames.contains(value))
            return usage(QStringLiteral("mód čítače je 32, 23 nebo 23s"));
        if (const int s = open(true)) return s;
        return setMode(value);
    }
    if (what == QLatin1String("dio")) {
        QStringList keys;
        for (const QString& op : o_.operands.mid(1)) {
            const QString key = op.section(QLatin1Char('='), 0, 0);
            const bool known =
                std::any_of(std::begin(kDioWords), std::end(kDioWords),
                            [&](const DioWord& w) { return key == QLatin1String(w.key); });
            if (!known || !op.contains(QLatin1Char('=')))
                return usage(QStringLiteral("\"%1\": dio bere din-neg=HEX, dout-neg=HEX, "
                                            "dout-init=HEX")
                                 .arg(op));
            if (keys.contains(key)) return usage(QStringLiteral("%1 je zadáno dvakrát").arg(key));
            keys << key;
            if (!hexWord(op.section(QLatin1Char('='), 1)))
                return usage(
                    QStringLiteral("%1 potřebuje 32bitové číslo v šestnáctkové soustavě").arg(key));
        }
        if (const int s = open(true)) return s;
        return setDio();
    }
    if (what == QLatin1String("outputs")) {
        if (!hexWord(value))
            return usage(
                QStringLiteral("výstupy potřebují 32bitové číslo v šestnáctkové soustavě"));
        if (const int s = open(true)) return s;
        return setOutputs(value);
    }
    // clock
    const QString clock = o_.operands.mid(1).join(QLatin1Char(' '));
    if (clock != QLatin1String("now") &&
        !QDateTime::fromString(clock, QStringLiteral("yyyy-MM-dd HH:mm:ss")).isValid())
        return usage(QStringLiteral("čas je now nebo \"RRRR-MM-DD HH:MM:SS\""));
    if (const int s = open(true)) return s;
    return setClock();
}

int Tool::clear() {
    if (const int s = open(true)) return s;
    const bool status = o_.operands[0] == QLatin1String("status");
    std::array<uint8_t, 5> b{};
    const uint8_t chyba = status ? command(101, 0, b) : command(1, 80, b);
    if (chyba != 0) return fail(linkFailure(chyba));
    out_.result(status ? QStringLiteral("Stavový registr vynulován")
                       : QStringLiteral("Čítač vynulován"),
                {{QStringLiteral("clear"), o_.operands[0]}});
    return ExitOk;
}

int Tool::watch() {
    const QString& what = o_.operands[0];
    // The views' own periods.
    int period = 100;
    if (what == QLatin1String("status")) period = 500;
    if (what == QLatin1String("clock")) period = 200;
    period = o_.interval.value_or(period);
    // The counter view stops its timer while it waits for the module, so
    // its period runs from the end of a reading; the others from its start.
    const bool fromEnd = what == QLatin1String("counter");
    if (what == QLatin1String("trend")) return watchTrend(period);
    if (const int s = open(true)) return s;

    using Clock = std::chrono::steady_clock;
    bool powerFailureRead = false;
    int status = ExitOk;
    for (int n = 0; !stopRequested();) {
        const Clock::time_point start = Clock::now();
        const QDateTime at = MistniCas();
        Reading r = read(what, powerFailureRead);
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
int Tool::watchTrend(int period) {
    TZaznamPrubehu csv;
    if (o_.csv) {
        QString error;
        if (!csv.Otevri(*o_.csv, error)) {
            out_.error(error, std::nullopt, ExitUsage);
            return ExitUsage;
        }
    }
    // The file is checked before anything goes to the module.
    if (const int s = open(true)) return s;
    const bool lines = !o_.csv || *o_.csv != QLatin1String("-");
    using Clock = std::chrono::steady_clock;
    TRychlostCitace rates;
    int status = ExitOk;
    for (int n = 0; !stopRequested();) {
        const Clock::time_point start = Clock::now();
        const TVzorek v = CtiVzorek(data_, data_.Adresa, Pauza);
        const std::optional<double> rate = rates.Dalsi(v);
        if (csv.Otevreno()) {
            QString error;
            if (!csv.Pridej(v, rate, error)) {
                out_.error(error, std::nullopt, ExitUsage);
                return ExitUsage;
            }
        }
        const QDateTime at = QDateTime::fromMSecsSinceEpoch(v.Cas);
        if (lines) {
            const auto field = [](bool ok, const QString& text) {
                return ok ? text : QStringLiteral("-");
            };
            const QString text =
                QStringLiteral("čítač %1  rychlost %2/s  vstupy %3  stav %4")
                    .arg(
                        field(v.Citac.has_value(), v.Citac ? QString::number(*v.Citac) : QString()),
                        field(rate.has_value(), rate ? QString::number(*rate, 'f', 1) : QString()),
                        field(v.Vstupy.has_value(), v.Vstupy ? hex(*v.Vstupy) : QString()),
                        field(v.Stav.has_value(), v.Stav ? hex(*v.Stav) : QString()));
            QJsonObject json{{QStringLiteral("time"), at.toString(Qt::ISODateWithMs)}};
            json.insert(QStringLiteral("counter"),
                        v.Citac ? QJsonValue(static_cast<qint64>(*v.Citac)) : QJsonValue());
            json.insert(QStringLiteral("rate"), rate ? QJsonValue(*rate) : QJsonValue());
            json.insert(QStringLiteral("inputs"),
                        v.Vstupy ? QJsonValue(hex(*v.Vstupy)) : QJsonValue());
            json.insert(QStringLiteral("status"), v.Stav ? QJsonValue(hex(*v.Stav)) : QJsonValue());
            json.insert(QStringLiteral("error"), v.Chyba);
            out_.result(at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) +
                            QStringLiteral("  ") + text,
                        json);
        }
        if (v.Selhani) {
            if (lines)
                out_.note(QStringLiteral("%1 čtení selhalo: %2")
                              .arg(v.Selhani)
                              .arg(TextChyby(data_.Rozhrani, v.Chyba)));
            status = worse(status, exitStatusForCode(v.Chyba));
        }
        if (o_.count && ++n >= *o_.count) break;
        const Clock::time_point next = start + std::chrono::milliseconds(period);
        while (!stopRequested() && Clock::now() < next) {
            csv.Dopln();
            std::this_thread::sleep_for(
                std::min<Clock::duration>(next - Clock::now(), std::chrono::milliseconds(20)));
        }
    }
    return status;
}

int Tool::backup() {
    const QString path = o_.operands[0];
    const bool toOutput = path == QLatin1String("-");
    QString error;
    // The target is checked and its temporary file made before anything
    // is sent: exit 64 promises that nothing was.
    TZapisSouboru target(path);
    if (!toOutput && !target.Otevri(error)) return usage(error);
    if (const int s = open(true)) return s;
    TSouborKonfigurace content;
    content.Modul = modul_;
    content.Blok = data_.Konfigurace;
    const TVysledekBloku v = CtiBlok(data_, content.Blok, transfer());
    if (!v.Uspech()) return fail(blockFailure(v, content.Blok));
    QDateTime read = MistniCas();
    read.setTime(QTime(read.time().hour(), read.time().minute(), read.time().second()));
    content.Precteno = read;
    QByteArray text;
    // A value the file cannot hold (a baud index above 8, ...) came from
    // the module.
    if (!KonfiguraceNaText(content, text, error)) {
        out_.error(QStringLiteral("Konfiguraci modulu nelze uložit: ") + error, std::nullopt,
                   ExitModule);
        return ExitModule;
    }
    if (toOutput) {
        out_.raw(text);
    } else if (!target.Dokonci(text, error)) {
        out_.error(error, std::nullopt, ExitUsage);
        return ExitUsage;
    }
    const QString modul = ModulNaText(modul_);
    const QString message =
        QStringLiteral("Konfigurace přečtena a uložena do %1 (modul %2, "
                       "adresa %3, %4 Bd).")
            .arg(toOutput ? QStringLiteral("standardního výstupu") : path, modul)
            .arg(content.Blok.KonfAdresa)
            .arg(IndexNaRychlost(content.Blok.KonfRychlost));
    // With the file on standard output, the message goes to standard error.
    if (toOutput)
        out_.note(message);
    else
        out_.result(message, {{QStringLiteral("file"), path},
                              {QStringLiteral("module"), modul},
                              {QStringLiteral("read"), read.toString(Qt::ISODate)},
                              {QStringLiteral("registers"), static_cast<int>(v.Registry.size())}});
    return ExitOk;
}

int Tool::restore() {
    const QString path = o_.operands[0];
    TSouborKonfigurace content;
    QString error;
    // The whole file is checked before anything goes to the module.
    bool parsed;
    if (path == QLatin1String("-")) {
        QFile input;
        input.open(stdin, QIODevice::ReadOnly);
        g_readingInput = 1;
        const QByteArray text = input.read(MaxVelikostKonfigurace + 1);
        g_readingInput = 0;
        parsed = TextNaKonfiguraci(text, content, error);
    } else {
        parsed = NactiKonfiguraci(path, content, error);
    }
    if (!parsed) return usage(error.contains(path) ? error : path + QStringLiteral(": ") + error);
    if (const int s = open(true)) return s;

    TKonfigurace current = data_.Konfigurace;
    const TVysledekBloku read = CtiBlok(data_, current, transfer());
    if (!read.Uspech()) return fail(blockFailure(read, current));
    if (content.Modul != modul_)
        out_.note(QStringLiteral("varování: soubor je z modulu %1, připojený modul je %2")
                      .arg(ModulNaText(content.Modul), ModulNaText(modul_)));
    if (o_.keepAddress) {
        // One setup cloned onto many modules: each keeps where it answers.
        content.Blok.KonfAdresa = current.KonfAdresa;
        content.Blok.KonfRychlost = current.KonfRychlost;
    }
    const std::vector<uint8_t> changed = RozdilneRegistry(current, content.Blok);
    // "registr 63 (adresa): 4 -> 3, <what>", one line per register.
    const auto change = [&](uint8_t reg, const QString& what) {
        const uint8_t from = current.Bajt(BajtRegistru(reg));
        const uint8_t to = content.Blok.Bajt(BajtRegistru(reg));
        out_.result(
            QStringLiteral("registr %1: %2 -> %3, ").arg(registerName(reg)).arg(from).arg(to) +
                what,
            {{QStringLiteral("register"), reg},
             {QStringLiteral("name"), NazevRegistru(reg)},
             {QStringLiteral("from"), from},
             {QStringLiteral("to"), to}});
    };
    if (o_.dryRun) {
        for (uint8_t reg : changed)
            change(reg, QStringLiteral("zapsal by se"));
        out_.result(QStringLiteral("Zkouška nanečisto: nic nebylo zapsáno."),
                    {{QStringLiteral("dry_run"), true},
                     {QStringLiteral("changed"), registerArray(changed)}});
        return ExitOk;
    }
    const uint8_t target = content.Blok.KonfAdresa;
    if (!o_.force && target != data_.Adresa &&
        std::find(changed.begin(), changed.end(), RegistrAdresa) != changed.end()) {
        // Two modules on one address would answer each other's requests
        // after the next power-up; neither could be reached.
        uint8_t b0 = 0;
        QString part;
        const uint8_t code = CastIdentifikace(data_.Rozhrani, data_.Handle, target, 0, b0, part);
        if (code == 0 || code == 6 || code == 7 || ChybaModulu(code)) {
            out_.error(QStringLiteral("Na adrese %1 už odpovídá modul; po zapnutí by tam byly dva. "
                                      "Nic nebylo zapsáno (--keep-address ponechá adresu modulu, "
                                      "--force zapíše i tak).")
                           .arg(target),
                       std::nullopt, ExitModule);
            return ExitModule;
        }
    }
    if (changed.empty()) {
        out_.result(QStringLiteral("Modul už má konfiguraci ze souboru; nic se nezapisuje."),
                    {{QStringLiteral("changed"), QJsonArray()}});
        return ExitOk;
    }
    const TVysledekBloku v =
        ZapisBlok(data_, content.Blok, changed, transfer(),
                  [&](int, int, uint8_t reg) { change(reg, QStringLiteral("zapsán a ověřen")); });
    if (v.Uspech()) {
        const QString note = powerUpNote(v.Registry);
        const bool restart = !note.isEmpty();
        QJsonObject json{{QStringLiteral("changed"), registerArray(v.Registry)}};
        if (restart) json.insert(QStringLiteral("note"), note);
        out_.result(QStringLiteral("Konfigurace zapsána. Změněné registry: ") +
                        registerList(v.Registry) +
                        (restart ? QStringLiteral("\n") + note : QString()),
                    json);
        return ExitOk;
    }
    return writeFailure(changed, v, content.Blok);
}

int Tool::run() {
    QString error;
    if (!prepareLink(error)) return usage(error);
    const QString& c = o_.command;
    // Every request and reply, as the communication log shows it.
    uint64_t verbose = 0;
    if (o_.verbose)
        verbose = NastavPozorovatele([this](const TZaznamPrikazu& z) {
            out_.note(RadekZaznamu(z, TextChyby(z.Rozhrani, z.Chyba)));
        });
    int status;
    if (c == QLatin1String("identify"))
        status = identify();
    else if (c == QLatin1String("scan"))
        status = scan();
    else if (c == QLatin1String("get"))
        status = get();
    else if (c == QLatin1String("set"))
        status = set();
    else if (c == QLatin1String("clear"))
        status = clear();
    else if (c == QLatin1String("watch"))
        status = watch();
    else if (c == QLatin1String("backup"))
        status = backup();
    else
        status = restore();
    // Closed only here, so every error text above came from a bound driver.
    close();
    if (verbose) ZrusPozorovatele(verbose);
    return status;
}

} // namespace

void installStopHandler() {
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
    // A stop is honoured at the next pause, which comes within one command
    // at ordinary timeouts, so what was done is still reported. A driver
    // call that waits far longer (a timeout of a minute) is not waited for.
    std::thread([] {
        while (!g_stop)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::this_thread::sleep_for(kStopGrace);
        std::_Exit(ExitLink);
    }).detach();
}

bool stopRequested() {
    return g_stop != 0;
}

int run(const QStringList& args) {
    if (args.isEmpty()) {
        Output(false).usage(QStringLiteral("chybí příkaz\n") + shortUsage(), QString());
        return ExitUsage;
    }
    Options options;
    QString error;
    const bool parsed = parseOptions(args, options, error);
    // --json is honoured even for a usage error, when it was read.
    Output out(options.json || args.contains(QLatin1String("--json")));
    if (!parsed) {
        // The help to point to: the first word that names a command.
        QString command;
        for (const QString& a : args)
            if (command.isEmpty() && !a.startsWith(QLatin1Char('-')) && !helpText(a).isEmpty())
                command = a;
        out.usage(error, command);
        return ExitUsage;
    }
    if (options.help) {
        const QString help = helpText(options.command);
        out.text(help);
        return ExitOk;
    }
    if (options.version) {
        out.result(QStringLiteral("km207 " KM207_VERSION),
                   {{QStringLiteral("version"), QStringLiteral(KM207_VERSION)}});
        return ExitOk;
    }
    Tool tool(options, out);
    return tool.run();
}

} // namespace km207
