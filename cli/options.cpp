#include "options.h"

#include "commands.h"

#include "Dekl.h"
#include "Rychlosti.h"

#include <algorithm>
#include <functional>

namespace km207 {

namespace {

const QStringList kKinds{"com", "isa", "pci", "usb", "lan"};

std::optional<int64_t> number(const QString& text, int64_t min, int64_t max) {
    const std::optional<int64_t> n = TextNaCislo(text);
    if (!n || *n < min || *n > max) return std::nullopt;
    return n;
}

// One option: its name, whether it takes a value, the commands it belongs
// to (empty: every command) and what to do with its value.
struct Rule {
    const char* name;
    bool takesValue;
    QStringList commands;
    std::function<bool(const QString& value, Options& o, QString& error)> apply;
};

QString rangeError(const char* option, const QString& what) {
    return QStringLiteral("--%1 potřebuje %2").arg(QLatin1String(option), what);
}

const std::vector<Rule>& rules() {
    static const std::vector<Rule> all{
        {"json", false, {}, [](const QString&, Options& o, QString&) { return o.json = true; }},
        {"help", false, {}, [](const QString&, Options& o, QString&) { return o.help = true; }},
        {"version",
         false,
         {},
         [](const QString&, Options& o, QString&) { return o.version = true; }},
        {"verbose",
         false,
         {},
         [](const QString&, Options& o, QString&) { return o.verbose = true; }},
        {"config",
         true,
         {},
         [](const QString& v, Options& o, QString& e) {
             if (v.isEmpty()) {
                 e = rangeError("config", QStringLiteral("cestu k souboru nastavení"));
                 return false;
             }
             o.config = v;
             return true;
         }},
        {"no-config",
         false,
         {},
         [](const QString&, Options& o, QString&) { return o.noConfig = true; }},
        {"kind",
         true,
         {},
         [](const QString& v, Options& o, QString& e) {
             const qsizetype i = kKinds.indexOf(v);
             if (i < 0) {
                 e = QStringLiteral("neznámé rozhraní \"%1\"; --kind je com, isa, pci, usb "
                                    "nebo lan")
                         .arg(v);
                 return false;
             }
             o.kind = static_cast<uint8_t>(i);
             return true;
         }},
        {"port",
         true,
         {},
         [](const QString& v, Options& o, QString& e) {
             if (v.trimmed().isEmpty()) {
                 e = rangeError("port", QStringLiteral("číslo portu COM nebo bázovou adresu"));
                 return false;
             }
             o.port = v;
             return true;
         }},
        {"ip",
         true,
         {},
         [](const QString& v, Options& o, QString& e) {
             if (v.isEmpty()) {
                 e = rangeError("ip", QStringLiteral("IP adresu LAN konvertoru"));
                 return false;
             }
             o.ip = v;
             return true;
         }},
        {"udp-port",
         true,
         {},
         [](const QString& v, Options& o, QString& e) {
             const auto n = number(v, 1, 65535);
             if (!n) e = rangeError("udp-port", QStringLiteral("číslo 1-65535"));
             if (n) o.udpPort = static_cast<uint32_t>(*n);
             return n.has_value();
         }},
        {"timeout",
         true,
         {},
         [](const QString& v, Options& o, QString& e) {
             const auto n = number(v, 0, 65535);
             if (!n) e = rangeError("timeout", QStringLiteral("milisekundy 0-65535"));
             if (n) o.timeout = static_cast<uint32_t>(*n);
             return n.has_value();
         }},
        {"address",
         true,
         {},
         [](const QString& v, Options& o, QString& e) {
             const auto n = number(v, 0, 255);
             if (!n) e = rangeError("address", QStringLiteral("adresu modulu 0-255"));
             if (n) o.address = static_cast<uint8_t>(*n);
             return n.has_value();
         }},
        {"baud",
         true,
         {},
         [](const QString& v, Options& o, QString& e) {
             const auto n = number(v, 0, 0xFFFFFFFF);
             if (!n || PresnyIndexRychlosti(static_cast<uint32_t>(*n)) < 0) {
                 e = rangeError("baud", QStringLiteral("jednu z rychlostí 600, 1200, 2400, "
                                                       "4800, 9600, 19200, 38400, 57600, "
                                                       "115200"));
                 return false;
             }
             o.baud = static_cast<uint32_t>(*n);
             return true;
         }},
        {"addresses",
         true,
         {"scan"},
         [](const QString& v, Options& o, QString& e) {
             const qsizetype dash = v.indexOf(QLatin1Char('-'), 1);
             const auto a = number(dash < 0 ? v : v.left(dash), 0, 255);
             const auto b = dash < 0 ? a : number(v.mid(dash + 1), 0, 255);
             if (!a || !b || *a > *b) {
                 e = rangeError("addresses",
                                QStringLiteral("adresu nebo rozsah A-B v mezích 0-255, A <= B"));
                 return false;
             }
             o.first = static_cast<int>(*a);
             o.last = static_cast<int>(*b);
             return true;
         }},
        {"bauds",
         true,
         {"scan"},
         [](const QString& v, Options& o, QString& e) {
             o.baudIndices.clear();
             if (v == QLatin1String("all")) {
                 for (int i = 0; i < PocetRychlosti; ++i)
                     o.baudIndices.push_back(i);
                 return true;
             }
             for (const QString& part : v.split(QLatin1Char(','))) {
                 const auto n = number(part, 0, 0xFFFFFFFF);
                 const int index = n ? PresnyIndexRychlosti(static_cast<uint32_t>(*n)) : -1;
                 if (index < 0) {
                     e = rangeError("bauds", QStringLiteral("all nebo rychlosti v Bd oddělené "
                                                            "čárkou (např. 9600,38400)"));
                     return false;
                 }
                 if (std::find(o.baudIndices.begin(), o.baudIndices.end(), index) ==
                     o.baudIndices.end())
                     o.baudIndices.push_back(index);
             }
             return true;
         }},
        {"interval",
         true,
         {"watch"},
         [](const QString& v, Options& o, QString& e) {
             const auto n = number(v, 1, 3600000);
             if (!n) e = rangeError("interval", QStringLiteral("milisekundy 1-3600000"));
             if (n) o.interval = static_cast<int>(*n);
             return n.has_value();
         }},
        {"count",
         true,
         {"watch"},
         [](const QString& v, Options& o, QString& e) {
             const auto n = number(v, 1, 1000000000);
             if (!n) e = rangeError("count", QStringLiteral("počet čtení 1 a více"));
             if (n) o.count = static_cast<int>(*n);
             return n.has_value();
         }},
        {"csv",
         true,
         {"watch"},
         [](const QString& v, Options& o, QString& e) {
             if (v.isEmpty())
                 e = rangeError("csv", QStringLiteral("soubor (nebo - pro standardní výstup)"));
             if (!v.isEmpty()) o.csv = v;
             return !v.isEmpty();
         }},
        {"repeat",
         true,
         {"get"},
         [](const QString& v, Options& o, QString& e) {
             const auto n = number(v, 1, 1000000000);
             if (!n) e = rangeError("repeat", QStringLiteral("počet opakování 1 a více"));
             if (n) o.repeat = static_cast<int>(*n);
             return n.has_value();
         }},
        {"force",
         false,
         {"restore"},
         [](const QString&, Options& o, QString&) { return o.force = true; }},
        {"keep-address",
         false,
         {"restore"},
         [](const QString&, Options& o, QString&) { return o.keepAddress = true; }},
        {"dry-run",
         false,
         {"restore"},
         [](const QString&, Options& o, QString&) { return o.dryRun = true; }},
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
        error = QStringLiteral("použití: km207 %1").arg(form);
        return false;
    };
    if (n < c.minOperands || n > c.maxOperands) return usage(usageForm(c));
    if (c.subjects.empty()) return true;
    const Subject* s = findSubject(c, o.operands[0]);
    if (!s) {
        error = QStringLiteral("%1: neznámý předmět \"%2\"; možnosti: %3")
                    .arg(o.command, o.operands[0], subjectNames(c).join(QStringLiteral(", ")));
        return false;
    }
    if (n - 1 > s->maxValues)
        return usage(QStringLiteral("%1 %2%3").arg(o.command, o.operands[0],
                                                   QString::fromUtf8(c.usageTail)));
    // The CSV's columns are those of a trend sample.
    if (o.csv && o.operands[0] != QLatin1String("trend")) {
        error = QStringLiteral("--csv patří k watch trend");
        return false;
    }
    return true;
}

} // namespace

QString kindName(uint8_t kind) {
    return kind < kKinds.size() ? kKinds[kind] : QString();
}

std::optional<uint32_t> portValue(uint8_t kind, const QString& text) {
    if (kind == 0) {
        const auto n = number(text, 1, 255);
        if (!n) return std::nullopt;
        return static_cast<uint32_t>(*n);
    }
    if (kind == 1) {
        // The connection dialog shows the base as "300h"; the settings file
        // keeps it in decimal.
        const QString t = text.trimmed();
        std::optional<int64_t> n;
        if (t.endsWith(QLatin1Char('h'), Qt::CaseInsensitive))
            n = number(QStringLiteral("0x") + t.chopped(1), 0, 0xFFFF);
        else
            n = number(t, 0, 0xFFFF);
        if (!n) return std::nullopt;
        return static_cast<uint32_t>(*n);
    }
    return std::nullopt;
}

std::optional<uint32_t> hexWord(const QString& text) {
    QString t = text.trimmed();
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        t = t.mid(2);
    else if (t.startsWith(QLatin1Char('$')))
        t = t.mid(1);
    // Always hexadecimal, read as the settings file reads "0x" numbers.
    const std::optional<int64_t> n = TextNaCislo(QStringLiteral("0x") + t);
    if (!n) return std::nullopt;
    return static_cast<uint32_t>(*n);
}

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
                error = QStringLiteral("neznámá volba %1").arg(a);
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
            error = QStringLiteral("neznámá volba --%1").arg(name);
            return false;
        }
        if (rule->takesValue && !inlineValue) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("volba --%1 potřebuje hodnotu").arg(name);
                return false;
            }
            value = args[++i];
        } else if (!rule->takesValue && inlineValue) {
            error = QStringLiteral("volba --%1 nemá hodnotu").arg(name);
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
        error = QStringLiteral("neznámý příkaz \"%1\"").arg(o.command);
        return false;
    }
    if (o.config && o.noConfig) {
        error = QStringLiteral("--config a --no-config se vylučují");
        return false;
    }
    if (o.help) return true;
    if (o.version) {
        if (!o.command.isEmpty()) {
            error = QStringLiteral("--version se zadává bez příkazu");
            return false;
        }
        return true;
    }
    if (o.command.isEmpty()) {
        error = QStringLiteral("chybí příkaz");
        return false;
    }
    for (const Given& g : given) {
        if (!g.rule->commands.isEmpty() && !g.rule->commands.contains(o.command)) {
            error = QStringLiteral("volba --%1 nepatří k příkazu %2")
                        .arg(QLatin1String(g.rule->name), o.command);
            return false;
        }
    }
    return checkOperands(o, error);
}

} // namespace km207
