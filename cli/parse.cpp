#include "parse.h"

#include "commands.h"
#include "options.h"

#include "Dekl.h"
#include "Jazyk.h"
#include "Rozhrani.h"
#include "Rychlosti.h"
#include "Vzorek.h"

#include <QCoreApplication>

#include <algorithm>
#include <functional>

namespace km207 {

namespace {

// One option: its name, whether it takes a value, the commands it belongs
// to (empty: every command) and what to do with its value.
struct Rule {
    const char* name;
    bool takesValue;
    QStringList commands;
    std::function<bool(const QString& value, Options& o, QString& error)> apply;
};

QString rangeError(const char* option, const QString& what) {
    return QCoreApplication::translate("km207", "--%1 potřebuje %2")
        .arg(QLatin1String(option), what);
}

// An option without a value that sets one flag.
Rule flag(const char* name, bool Options::*member, QStringList commands = {}) {
    return {name, false, std::move(commands),
            [member](const QString&, Options& o, QString&) { return o.*member = true; }};
}

// An option whose value is a text, kept as given. An empty one is refused,
// and so is one of blanks alone unless blanksAllowed.
Rule text(const char* name, std::optional<QString> Options::*member, const char* what,
          QStringList commands = {}, bool blanksAllowed = true) {
    return {name, true, std::move(commands),
            [name, member, what, blanksAllowed](const QString& v, Options& o, QString& e) {
                if ((blanksAllowed ? v : v.trimmed()).isEmpty()) {
                    e = rangeError(name, QCoreApplication::translate("km207", what));
                    return false;
                }
                o.*member = v;
                return true;
            }};
}

// An option whose value is a whole number in [min, max].
template <typename T>
Rule integer(const char* name, std::optional<T> Options::*member, int64_t min, int64_t max,
             const char* what, QStringList commands = {}) {
    return {name, true, std::move(commands), [=](const QString& v, Options& o, QString& e) {
                const auto n = numberIn(v, min, max);
                if (!n) {
                    e = rangeError(name, QCoreApplication::translate("km207", what));
                    return false;
                }
                o.*member = static_cast<T>(*n);
                return true;
            }};
}

bool applyKind(const QString& v, Options& o, QString& e) {
    const TRozhrani* r = nullptr;
    for (const TRozhrani& k : TabulkaRozhrani)
        if (v == k.Prepinac) r = &k;
    if (!r) {
        e = QCoreApplication::translate(
                "km207", "neznámé rozhraní \"%1\"; --kind je com, isa, pci, usb nebo lan")
                .arg(v);
        return false;
    }
    o.kind = r->Druh;
    return true;
}

bool applyBaud(const QString& v, Options& o, QString& e) {
    const auto n = numberIn(v, 0, 0xFFFFFFFF);
    if (!n || PresnyIndexRychlosti(static_cast<uint32_t>(*n)) < 0) {
        e = rangeError("baud", QCoreApplication::translate(
                                   "km207", "jednu z rychlostí 600, 1200, 2400, 4800, 9600, "
                                            "19200, 38400, 57600, 115200"));
        return false;
    }
    o.baud = static_cast<uint32_t>(*n);
    return true;
}

// Checked here for its error; main has already chosen the language by it.
bool applyLang(const QString& v, Options& o, QString& e) {
    if (!JazykZKodu(v)) {
        e = rangeError("lang", QCoreApplication::translate("km207", "cs nebo en"));
        return false;
    }
    o.lang = v;
    return true;
}

// scan: one address or a range A-B.
// line commission: the rate the module gets.
bool applyModuleBaud(const QString& v, Options& o, QString& e) {
    const auto n = numberIn(v, 0, 0xFFFFFFFF);
    if (!n || PresnyIndexRychlosti(static_cast<uint32_t>(*n)) < 0) {
        e = rangeError("module-baud", QCoreApplication::translate(
                                          "km207", "jednu z rychlostí 600, 1200, 2400, 4800, "
                                                   "9600, 19200, 38400, 57600, 115200"));
        return false;
    }
    o.moduleBaud = static_cast<uint32_t>(*n);
    return true;
}

bool applyAddresses(const QString& v, Options& o, QString& e) {
    const qsizetype dash = v.indexOf(QLatin1Char('-'), 1);
    const auto a = numberIn(dash < 0 ? v : v.left(dash), 0, 255);
    const auto b = dash < 0 ? a : numberIn(v.mid(dash + 1), 0, 255);
    if (!a || !b || *a > *b) {
        e = rangeError("addresses", QCoreApplication::translate(
                                        "km207", "adresu nebo rozsah A-B v mezích 0-255, A <= B"));
        return false;
    }
    o.first = static_cast<int>(*a);
    o.last = static_cast<int>(*b);
    return true;
}

// scan: "all" or rates in Bd, each once, in the order given.
bool applyBauds(const QString& v, Options& o, QString& e) {
    o.baudIndices.clear();
    if (v == QLatin1String("all")) {
        for (int i = 0; i < PocetRychlosti; ++i)
            o.baudIndices.push_back(i);
        return true;
    }
    for (const QString& part : v.split(QLatin1Char(','))) {
        const auto n = numberIn(part, 0, 0xFFFFFFFF);
        const int index = n ? PresnyIndexRychlosti(static_cast<uint32_t>(*n)) : -1;
        if (index < 0) {
            e = rangeError("bauds", QCoreApplication::translate(
                                        "km207", "all nebo rychlosti v Bd oddělené čárkou "
                                                 "(např. 9600,38400)"));
            return false;
        }
        if (std::find(o.baudIndices.begin(), o.baudIndices.end(), index) == o.baudIndices.end())
            o.baudIndices.push_back(index);
    }
    return true;
}

const std::vector<Rule>& rules() {
    static const std::vector<Rule> all{
        // Every command.
        flag("json", &Options::json),
        flag("help", &Options::help),
        flag("version", &Options::version),
        flag("verbose", &Options::verbose),
        text("config", &Options::config, QT_TRANSLATE_NOOP("km207", "cestu k souboru nastavení")),
        flag("no-config", &Options::noConfig),
        {"lang", true, {}, applyLang},
        // The link, over the settings file.
        {"kind", true, {}, applyKind},
        text("port", &Options::port,
             QT_TRANSLATE_NOOP("km207", "číslo portu COM nebo bázovou adresu"), {}, false),
        text("ip", &Options::ip, QT_TRANSLATE_NOOP("km207", "IP adresu LAN konvertoru")),
        integer("udp-port", &Options::udpPort, 1, 65535,
                QT_TRANSLATE_NOOP("km207", "číslo 1-65535")),
        integer("timeout", &Options::timeout, 0, 65535,
                QT_TRANSLATE_NOOP("km207", "milisekundy 0-65535")),
        integer("address", &Options::address, 0, 255,
                QT_TRANSLATE_NOOP("km207", "adresu modulu 0-255")),
        {"baud", true, {}, applyBaud},
        // One command each.
        {"addresses", true, {"scan", "line"}, applyAddresses},
        {"bauds", true, {"scan", "line"}, applyBauds},
        integer("interval", &Options::interval, 1, 3600000,
                QT_TRANSLATE_NOOP("km207", "milisekundy 1-3600000"), {"watch", "line"}),
        integer("count", &Options::count, 1, 1000000000,
                QT_TRANSLATE_NOOP("km207", "počet čtení 1 a více"), {"watch", "line"}),
        text("csv", &Options::csv,
             QT_TRANSLATE_NOOP("km207", "soubor (nebo - pro standardní výstup)"),
             {"watch", "line"}),
        integer("rate-window", &Options::rateWindow, TRychlostCitace::NejkratsiOkno,
                TRychlostCitace::NejdelsiOkno, QT_TRANSLATE_NOOP("km207", "milisekundy 100-60000"),
                {"watch"}),
        flag("overwrite", &Options::overwrite, {"watch", "line"}),
        flag("csv-excel", &Options::csvExcel, {"watch"}),
        integer("repeat", &Options::repeat, 1, 1000000000,
                QT_TRANSLATE_NOOP("km207", "počet opakování 1 a více"), {"get"}),
        flag("force", &Options::force, {"restore", "line"}),
        flag("keep-address", &Options::keepAddress, {"restore"}),
        flag("dry-run", &Options::dryRun, {"restore", "line"}),
        text("line", &Options::line, QT_TRANSLATE_NOOP("km207", "soubor linky"), {"line"}),
        integer("misses", &Options::misses, 1, 100, QT_TRANSLATE_NOOP("km207", "počet 1-100"),
                {"line"}),
        {"module-baud", true, {"line"}, applyModuleBaud},
        integer("wait", &Options::wait, 1, 86400, QT_TRANSLATE_NOOP("km207", "sekundy 1-86400"),
                {"line"}),
    };
    return all;
}

const Rule* findRule(const QString& name) {
    for (const Rule& s : rules())
        if (name == QLatin1String(s.name)) return &s;
    return nullptr;
}

// The operands' shape, by the table of commands; their values are checked
// by the command itself, still before anything is sent.
bool checkOperands(const Options& o, QString& error) {
    const Command& c = *findCommand(o.command);
    const qsizetype n = o.operands.size();
    const auto usage = [&](const QString& form) {
        error = QCoreApplication::translate("km207", "použití: km207 %1").arg(form);
        return false;
    };
    if (n < c.minOperands || n > c.maxOperands) return usage(usageForm(c));
    if (c.subjects.empty()) return true;
    const Subject* s = findSubject(c, o.operands[0]);
    if (!s) {
        error = QCoreApplication::translate("km207", "%1: neznámý předmět \"%2\"; možnosti: %3")
                    .arg(o.command, o.operands[0], subjectNames(c).join(QStringLiteral(", ")));
        return false;
    }
    if (n - 1 > s->maxValues)
        return usage(QStringLiteral("%1 %2%3").arg(o.command, o.operands[0], usageTail(c)));
    // The CSV's columns are those of a trend sample; line checks its own.
    if (o.csv && o.command == QLatin1String("watch") && o.operands[0] != QLatin1String("trend")) {
        error = QCoreApplication::translate("km207", "--csv patří k watch trend");
        return false;
    }
    if (o.rateWindow && o.operands[0] != QLatin1String("trend")) {
        error = QCoreApplication::translate("km207", "--rate-window patří k watch trend");
        return false;
    }
    if (o.overwrite && !o.csv) {
        error = QCoreApplication::translate("km207", "--overwrite patří k --csv");
        return false;
    }
    if (o.csvExcel && !o.csv) {
        error = QCoreApplication::translate("km207", "--csv-excel patří k --csv");
        return false;
    }
    return true;
}

} // namespace

bool parseOptions(const QStringList& args, Options& o, QString& error) {
    QStringList positional;
    struct Given {
        const Rule* rule;
        QString value;
    };
    std::vector<Given> given;
    bool onlyOperands = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        // -h is --help, as everywhere.
        const QString a =
            !onlyOperands && args[i] == QLatin1String("-h") ? QStringLiteral("--help") : args[i];
        if (onlyOperands || !a.startsWith(QLatin1String("--")) || a == QLatin1String("-")) {
            if (!onlyOperands && a.startsWith(QLatin1Char('-')) && a.size() > 1 &&
                !a.at(1).isDigit()) {
                error = QCoreApplication::translate("km207", "neznámá volba %1").arg(a);
                return false;
            }
            positional << a;
            continue;
        }
        if (a == QLatin1String("--")) {
            onlyOperands = true;
            continue;
        }
        QString name = a.mid(2), value;
        const qsizetype eq = name.indexOf(QLatin1Char('='));
        const bool inlineValue = eq >= 0;
        if (inlineValue) {
            value = name.mid(eq + 1);
            name = name.left(eq);
        }
        const Rule* rule = findRule(name);
        if (!rule) {
            error = QCoreApplication::translate("km207", "neznámá volba --%1").arg(name);
            return false;
        }
        if (rule->takesValue && !inlineValue) {
            if (i + 1 >= args.size()) {
                error =
                    QCoreApplication::translate("km207", "volba --%1 potřebuje hodnotu").arg(name);
                return false;
            }
            value = args[++i];
        } else if (!rule->takesValue && inlineValue) {
            error = QCoreApplication::translate("km207", "volba --%1 nemá hodnotu").arg(name);
            return false;
        }
        // Given twice, the last one wins, as a script that adds to a
        // command line expects.
        std::erase_if(given, [rule](const Given& g) { return g.rule == rule; });
        given.push_back({rule, value});
    }

    // "help COMMAND" is "COMMAND --help".
    if (!positional.isEmpty() && positional[0] == QLatin1String("help")) {
        positional.removeFirst();
        o.help = true;
    }
    if (!positional.isEmpty()) {
        o.command = positional.takeFirst();
        o.operands = positional;
    }
    for (const Given& g : given)
        if (!g.rule->apply(g.value, o, error)) return false;
    if (!o.command.isEmpty() && !findCommand(o.command)) {
        error = QCoreApplication::translate("km207", "neznámý příkaz \"%1\"").arg(o.command);
        return false;
    }
    if (o.config && o.noConfig) {
        error = QCoreApplication::translate("km207", "--config a --no-config se vylučují");
        return false;
    }
    if (o.help) return true;
    if (o.version) {
        if (!o.command.isEmpty()) {
            error = QCoreApplication::translate("km207", "--version se zadává bez příkazu");
            return false;
        }
        return true;
    }
    if (o.command.isEmpty()) {
        error = QCoreApplication::translate("km207", "chybí příkaz");
        return false;
    }
    for (const Given& g : given) {
        if (!g.rule->commands.isEmpty() && !g.rule->commands.contains(o.command)) {
            error = QCoreApplication::translate("km207", "volba --%1 nepatří k příkazu %2")
                        .arg(QLatin1String(g.rule->name), o.command);
            return false;
        }
    }
    return checkOperands(o, error);
}

} // namespace km207
