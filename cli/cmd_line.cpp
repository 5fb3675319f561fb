// km207 line: a line of modules through the link layer's line (Linka), as
// the window "Přehled linky" uses it: a search into a line file, one cycle,
// watching, backup, restore and commissioning.
#include "session.h"

#include "stop.h"

#include "Komunikace.h"
#include "Kxxx410.h"
#include "Linka.h"
#include "Prikazy.h"
#include "Rychlosti.h"
#include "Soubory.h"
#include "Vzorek.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>

#include <chrono>
#include <thread>

#include <QCoreApplication>

namespace km207 {

namespace {

// "adresa 5  9600 Bd", as scan names a module.
QString where(const TModulLinky& m) {
    return QCoreApplication::translate("km207", "adresa %1  %2 Bd")
        .arg(m.Adresa)
        .arg(IndexNaRychlost(m.IndexRychlosti));
}

QJsonObject whereJson(const TModulLinky& m) {
    return {{QStringLiteral("address"), m.Adresa},
            {QStringLiteral("baud"), static_cast<qint64>(IndexNaRychlost(m.IndexRychlosti))}};
}

// A state and the flags as JSON (English) and CSV (Czech, as the CSV's
// columns) words, which never change with the language.
struct Word {
    const char* json;
    const char* csv;
};

Word stateWord(TOdezva o) {
    switch (o) {
    case TOdezva::Odpovida:
        return {"answers", "odpovida"};
    case TOdezva::Neodpovida:
        return {"silent", "neodpovida"};
    case TOdezva::OdpovidaSChybami:
        return {"errors", "s_chybami"};
    case TOdezva::Nezjisteno:
        break;
    }
    return {"unknown", "nezjisteno"};
}

struct FlagWord {
    TPriznak flag;
    Word word;
};
constexpr FlagWord kFlags[] = {{PriznakNeodpovida, {"silent", "neodpovida"}},
                               {PriznakVypadek, {"power_failure", "vypadek"}},
                               {PriznakErr24, {"err24", "err24"}},
                               {PriznakJinyModul, {"other_module", "jiny_modul"}},
                               {PriznakMimoSoubor, {"not_in_file", "mimo_soubor"}}};

// The exit status a module stands for: 2 it does not answer, 1 a flag or
// an error status, 0 well.
int rowStatus(const TStavModulu& s) {
    if (s.Odezva == TOdezva::Neodpovida) return ExitLink;
    return s.Priznaky || s.Odezva == TOdezva::OdpovidaSChybami ? ExitModule : ExitOk;
}

QString rowText(const TPolozkaLinky& p, uint8_t kind) {
    const TStavModulu& s = p.Stav;
    QStringList parts{where(p.Modul), TextOdezvy(s.Odezva)};
    if (!s.Modul.isEmpty()) parts << ModulNaText(s.Modul);
    if (s.SlovoStavu)
        parts << (QCoreApplication::translate("km207", "stav ") + SlovoNaHex(*s.SlovoStavu) +
                  QLatin1Char(' ') + BityStavuNaText(*s.SlovoStavu))
                     .trimmed();
    if (s.Citac) parts << QCoreApplication::translate("km207", "čítač ") + s.Citac->Text();
    if (s.Vstupy) parts << QCoreApplication::translate("km207", "vstupy ") + SlovoNaHex(*s.Vstupy);
    if (s.Odezva != TOdezva::Odpovida && s.PosledniChyba != 0)
        parts << QCoreApplication::translate("km207", "chyba: %1 (kód %2)")
                     .arg(TextChyby(kind, s.PosledniChyba))
                     .arg(s.PosledniChyba);
    if (!p.Modul.Popis.isEmpty())
        parts << QCoreApplication::translate("km207", "popis: ") + p.Modul.Popis;
    const QStringList flags = TextyPriznaku(p);
    if (!flags.isEmpty())
        parts << QCoreApplication::translate("km207", "příznaky: ") +
                     flags.join(QStringLiteral("; "));
    return parts.join(QStringLiteral("  "));
}

QJsonObject rowJson(const TPolozkaLinky& p, uint8_t kind) {
    const TStavModulu& s = p.Stav;
    QJsonObject j = whereJson(p.Modul);
    const auto optional = [](bool has, const QJsonValue& v) { return has ? v : QJsonValue(); };
    j.insert(QStringLiteral("label"), p.Modul.Popis);
    j.insert(QStringLiteral("expected"), ModulNaText(p.Modul.Identifikace));
    j.insert(QStringLiteral("module"), optional(!s.Modul.isEmpty(), ModulNaText(s.Modul)));
    j.insert(QStringLiteral("state"), QLatin1String(stateWord(s.Odezva).json));
    j.insert(QStringLiteral("state_text"), TextOdezvy(s.Odezva));
    j.insert(QStringLiteral("last_reply"),
             optional(s.PosledniOdpoved.isValid(), s.PosledniOdpoved.toString(Qt::ISODateWithMs)));
    j.insert(QStringLiteral("failures"), s.Selhani);
    j.insert(QStringLiteral("last_error"), optional(s.PosledniChyba != 0, s.PosledniChyba));
    j.insert(QStringLiteral("last_error_text"),
             optional(s.PosledniChyba != 0, TextChyby(kind, s.PosledniChyba)));
    j.insert(QStringLiteral("status"),
             optional(s.SlovoStavu.has_value(), SlovoNaHex(s.SlovoStavu.value_or(0))));
    j.insert(QStringLiteral("status_bits"),
             optional(s.SlovoStavu.has_value(), BityStavuNaText(s.SlovoStavu.value_or(0))));
    j.insert(QStringLiteral("counter"),
             optional(s.Citac.has_value(),
                      s.Citac ? static_cast<qint64>(
                                    CitacNaCislo(s.Citac->Mod, s.Citac->Bajty[0], s.Citac->Bajty[1],
                                                 s.Citac->Bajty[2], s.Citac->Bajty[3]))
                              : 0));
    j.insert(QStringLiteral("mode"),
             optional(s.Citac.has_value(), modeName(s.Citac ? s.Citac->Mod : 0)));
    j.insert(QStringLiteral("inputs"),
             optional(s.Vstupy.has_value(), SlovoNaHex(s.Vstupy.value_or(0))));
    QJsonArray flags;
    for (const FlagWord& f : kFlags)
        if (s.Priznaky & f.flag) flags.append(QLatin1String(f.word.json));
    j.insert(QStringLiteral("flags"), flags);
    j.insert(QStringLiteral("flag_texts"), QJsonArray::fromStringList(TextyPriznaku(p)));
    return j;
}

QString csvHeader() {
    return QStringLiteral("cas,adresa,rychlost,stav,priznaky,posledni_odpoved,selhani,"
                          "stavovy_registr,citac,vstupy,modul");
}

QString csvRow(const QDateTime& at, const TPolozkaLinky& p) {
    const TStavModulu& s = p.Stav;
    const QString time = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");
    QStringList flags;
    for (const FlagWord& f : kFlags)
        if (s.Priznaky & f.flag) flags << QLatin1String(f.word.csv);
    return QStringList{at.toString(time),
                       QString::number(p.Modul.Adresa),
                       QString::number(IndexNaRychlost(p.Modul.IndexRychlosti)),
                       QLatin1String(stateWord(s.Odezva).csv),
                       flags.join(QLatin1Char(';')),
                       s.PosledniOdpoved.isValid() ? s.PosledniOdpoved.toString(time) : QString(),
                       QString::number(s.Selhani),
                       s.SlovoStavu ? SlovoNaHex(*s.SlovoStavu) : QString(),
                       s.Citac ? s.Citac->Text() : QString(),
                       s.Vstupy ? SlovoNaHex(*s.Vstupy) : QString(),
                       PoleCsv(ModulNaText(s.Modul))}
        .join(QLatin1Char(','));
}

// The CSV of line watch, written as the cycles come: a new file (or
// standard output for "-"), every write checked, flushed after each cycle.
class LineCsv {
  public:
    // An existing file is refused unless overwrite, as for watch trend.
    bool open(const QString& path, bool overwrite, QString& error) {
        path_ = path;
        const bool ok = path == QLatin1String("-")
                            ? file_.open(stdout, QIODevice::WriteOnly)
                            : OtevriNovySoubor(file_, path, error, overwrite);
        return ok && write(csvHeader() + QLatin1Char('\n'), error);
    }
    bool isOpen() const { return file_.isOpen(); }
    bool write(const QString& rows, QString& error) {
        const QByteArray bytes = rows.toUtf8();
        if (file_.write(bytes) == bytes.size() && file_.flush()) return true;
        error = QCoreApplication::translate("km207", "Do souboru %1 nelze zapisovat: %2")
                    .arg(path_, file_.errorString());
        file_.close();
        return false;
    }

  private:
    QFile file_;
    QString path_;
};

// A poll is no configuration transfer: no pause of a millisecond between
// its reads; Ctrl-C is looked at after each.
TRizeni pollControl() {
    return {{}, [] { return stopRequested(); }};
}

} // namespace

// Which subject takes which of the line's options and operands; anything
// else is a usage error before anything is sent.
int Session::line() {
    const QString subject = o_.operands[0];
    const bool folder = subject == QLatin1String("backup") || subject == QLatin1String("restore");
    const bool watching = subject == QLatin1String("watch");
    const auto refuse = [&](const QString& option) {
        return usage(QCoreApplication::translate("km207", "volba %1 nepatří k line %2")
                         .arg(option, subject));
    };
    if (folder && o_.operands.size() < 2)
        return usage(
            QCoreApplication::translate("km207", "použití: km207 line %1 SLOŽKA").arg(subject));
    if (!o_.line && subject != QLatin1String("restore"))
        return usage(
            QCoreApplication::translate("km207", "line %1 potřebuje --line SOUBOR (soubor linky)")
                .arg(subject));
    if (o_.line && subject == QLatin1String("restore"))
        return usage(QCoreApplication::translate(
            "km207", "line restore bere soubor linky ze složky zálohy; --line "
                     "nepatří k němu"));
    if (!watching && (o_.interval || o_.count || o_.csv))
        return refuse(o_.csv ? QStringLiteral("--csv") : QStringLiteral("--interval/--count"));
    if (subject != QLatin1String("restore") && (o_.dryRun || o_.force))
        return refuse(o_.force ? QStringLiteral("--force") : QStringLiteral("--dry-run"));
    const bool commission = subject == QLatin1String("commission");
    if (!commission && (o_.moduleBaud || o_.wait))
        return refuse(o_.wait ? QStringLiteral("--wait") : QStringLiteral("--module-baud"));
    if (!watching && subject != QLatin1String("status") && o_.misses)
        return refuse(QStringLiteral("--misses"));
    const bool range = o_.first != 0 || o_.last != 255;
    if (subject != QLatin1String("scan") && (!o_.baudIndices.empty() || (range && !commission)))
        return refuse(o_.baudIndices.empty() ? QStringLiteral("--addresses")
                                             : QStringLiteral("--bauds"));
    return (this->*subject_->run)();
}

int Session::loadLine(TSouborLinky& line, bool missingAllowed) {
    const QString path = *o_.line;
    if (missingAllowed && !QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) return ExitOk;
    QString error;
    if (NactiLinku(path, line, error)) return ExitOk;
    return usage(error.contains(path) ? error : path + QStringLiteral(": ") + error);
}

int Session::lineScan() {
    QString error;
    // The target is checked before anything is sent.
    TZapisSouboru target(*o_.line);
    if (!target.Otevri(error)) return usage(error);
    std::vector<TNalez> found;
    scanFound_ = &found;
    const int status = scan();
    scanFound_ = nullptr;
    // Nothing found or stopped: the file stays as it was.
    if (status != ExitOk) return status;
    TLinka l;
    l.NastavZHledani(found);
    QByteArray text;
    if (!LinkaNaText(l.Soubor(), text, error) || !target.Dokonci(text, error)) {
        out_.error(error, std::nullopt, ExitUsage);
        return ExitUsage;
    }
    out_.result(QCoreApplication::translate("km207", "Linka uložena do %1 (modulů: %2).")
                    .arg(*o_.line)
                    .arg(l.Pocet()),
                {{QStringLiteral("file"), *o_.line}, {QStringLiteral("modules"), l.Pocet()}});
    return ExitOk;
}

int Session::lineStatus() {
    TSouborLinky file;
    if (const int s = loadLine(file)) return s;
    if (const int s = openLink()) return s;
    TLinka l;
    QString error;
    l.Nastav(file.Moduly, error);
    // One cycle is all there is: a module silent in it does not answer.
    l.NastavMezVynechani(o_.misses.value_or(1));
    const TVysledekCyklu v = l.Cyklus(CilModulu(data_), pollControl());
    int status = ExitOk, answering = 0, flagged = 0;
    for (const TPolozkaLinky& p : l.Polozky()) {
        out_.result(rowText(p, data_.Rozhrani), rowJson(p, data_.Rozhrani));
        status = worse(status, rowStatus(p.Stav));
        answering +=
            p.Stav.Odezva == TOdezva::Odpovida || p.Stav.Odezva == TOdezva::OdpovidaSChybami;
        flagged += p.Stav.Priznaky != 0;
    }
    if (v.Zastaveno) {
        out_.error(QCoreApplication::translate("km207", "Cyklus přerušen."), std::nullopt,
                   ExitLink);
        return ExitLink;
    }
    if (!v.Text.isEmpty()) status = worse(status, fail(v.Text, v.Chyba ? v.Chyba : KodNeplatne));
    const QString summary =
        QCoreApplication::translate("km207", "modulů %1, odpovídá %2, s příznakem %3")
            .arg(l.Pocet())
            .arg(answering)
            .arg(flagged);
    if (out_.json())
        out_.result(summary, {{QStringLiteral("modules"), l.Pocet()},
                              {QStringLiteral("answering"), answering},
                              {QStringLiteral("flagged"), flagged}});
    else
        out_.note(summary);
    return status;
}

int Session::lineWatch() {
    TSouborLinky file;
    if (const int s = loadLine(file)) return s;
    LineCsv csv;
    QString error;
    // The file is checked before anything goes to the modules.
    if (o_.csv && !csv.open(*o_.csv, o_.overwrite, error)) return usage(error);
    if (const int s = openLink()) return s;
    TLinka l;
    l.Nastav(file.Moduly, error);
    l.NastavMezVynechani(o_.misses.value_or(TLinka::VychoziMezVynechani));
    const bool lines = !o_.csv || *o_.csv != QLatin1String("-");
    const int period = o_.interval.value_or(1000);
    using Clock = std::chrono::steady_clock;
    // What was shown of each module: a line is printed when it changes.
    std::vector<std::pair<TOdezva, unsigned>> shown(file.Moduly.size(), {TOdezva::Nezjisteno, ~0u});
    int status = ExitOk;
    for (int n = 0; !stopRequested();) {
        const Clock::time_point start = Clock::now();
        const TVysledekCyklu v = l.Cyklus(CilModulu(data_), pollControl());
        const QDateTime at = MistniCas();
        const QString time = at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        QString rows;
        for (int i = 0; i < l.Pocet(); ++i) {
            const TPolozkaLinky& p = l.Polozky()[i];
            status = worse(status, rowStatus(p.Stav));
            if (csv.isOpen()) rows += csvRow(at, p) + QLatin1Char('\n');
            const std::pair now{p.Stav.Odezva, p.Stav.Priznaky};
            if (!lines || shown[i] == now) continue;
            shown[i] = now;
            QJsonObject j = rowJson(p, data_.Rozhrani);
            j.insert(QStringLiteral("time"), at.toString(Qt::ISODateWithMs));
            out_.result(time + QStringLiteral("  ") + rowText(p, data_.Rozhrani), j);
        }
        if (csv.isOpen() && !csv.write(rows, error)) {
            out_.error(error, std::nullopt, ExitUsage);
            return ExitUsage;
        }
        if (!v.Text.isEmpty()) {
            const uint32_t code = v.Chyba ? v.Chyba : KodNeplatne;
            out_.error(time + QStringLiteral("  ") + v.Text, code, exitStatusForCode(code),
                       {{QStringLiteral("time"), at.toString(Qt::ISODateWithMs)}});
            status = worse(status, exitStatusForCode(code));
        }
        if (v.Zastaveno || (o_.count && ++n >= *o_.count)) break;
        const Clock::time_point next = start + std::chrono::milliseconds(period);
        // Short naps, so Ctrl-C is noticed at once.
        while (!stopRequested() && Clock::now() < next)
            std::this_thread::sleep_for(
                std::min<Clock::duration>(next - Clock::now(), std::chrono::milliseconds(20)));
    }
    return status;
}

int Session::lineBackup() {
    TSouborLinky file;
    if (const int s = loadLine(file)) return s;
    const QString folder = o_.operands[1];
    if (const int s = openLink()) return s;
    const TVysledekZalohy v = ZalohujLinku(
        CilModulu(data_), file.Moduly, folder, transfer(), [this](int done, int total, int) {
            out_.progress(done, total, QCoreApplication::translate("km207", "záloha linky"));
        });
    out_.endProgress();
    // Nothing was sent when the folder or the line file was refused: no
    // module was reached.
    const bool sent = std::any_of(v.Moduly.begin(), v.Moduly.end(),
                                  [](const TZalohaModulu& z) { return z.Dosazen; });
    int status = ExitOk;
    for (const TZalohaModulu& z : v.Moduly) {
        if (!sent) break;
        QJsonObject j = whereJson(z.Modul);
        j.insert(QStringLiteral("saved"), z.Ulozeno);
        if (z.Ulozeno) {
            j.insert(QStringLiteral("file"), z.Soubor);
            j.insert(QStringLiteral("module"), ModulNaText(z.Modul.Identifikace));
            out_.result(where(z.Modul) + QCoreApplication::translate("km207", "  uložen do ") +
                            z.Soubor,
                        j);
            continue;
        }
        j.insert(QStringLiteral("error"), z.Text);
        if (z.Chyba) j.insert(QStringLiteral("code"), z.Chyba);
        out_.result(where(z.Modul) + QCoreApplication::translate("km207", "  NEULOŽEN: ") + z.Text +
                        (z.Chyba ? QCoreApplication::translate("km207", " (kód %1)").arg(z.Chyba)
                                 : QString()),
                    j);
        status = worse(status, z.Chyba ? exitStatusForCode(z.Chyba) : ExitLink);
    }
    if (!v.Chyba.isEmpty()) {
        out_.error(v.Chyba, std::nullopt, ExitUsage);
        return ExitUsage;
    }
    const QString line = QDir(folder).filePath(SouborLinkyZalohy);
    const QString summary =
        QCoreApplication::translate("km207", "Záloha linky: uloženo modulů %1 z %2 do %3; soubor "
                                             "linky %4.")
            .arg(v.Ulozenych())
            .arg(v.Moduly.size())
            .arg(folder, line);
    out_.result(summary, {{QStringLiteral("saved"), v.Ulozenych()},
                          {QStringLiteral("modules"), static_cast<int>(v.Moduly.size())},
                          {QStringLiteral("folder"), folder},
                          {QStringLiteral("line_file"), line},
                          {QStringLiteral("stopped"), v.Zastaveno}});
    if (v.Zastaveno) {
        out_.error(QCoreApplication::translate("km207", "Záloha přerušena."), std::nullopt,
                   ExitLink);
        return ExitLink;
    }
    return status;
}

int Session::lineRestore() {
    TObnovaLinky o;
    QString error;
    // The whole folder is checked before anything goes to a module.
    if (!NactiZalohuLinky(o_.operands[1], o, error)) return usage(error);
    if (const int s = openLink()) return s;
    o.Vynutit = o_.force;
    const auto progress = [this](int done, int total, int) {
        out_.progress(done, total, QCoreApplication::translate("km207", "obnova linky"));
    };
    NahledObnovy(CilModulu(data_), o, transfer(), progress);
    out_.endProgress();
    int status = ExitOk;
    const auto change = [&](const TObnovaModulu& m, uint8_t reg, const QString& what) {
        const uint8_t from = m.VModulu.Bajt(BajtRegistru(reg));
        const uint8_t to = m.Zaloha->Blok.Bajt(BajtRegistru(reg));
        QJsonObject j = whereJson(m.Modul);
        j.insert(QStringLiteral("register"), reg);
        j.insert(QStringLiteral("name"), NazevRegistru(reg));
        j.insert(QStringLiteral("from"), from);
        j.insert(QStringLiteral("to"), to);
        j.insert(QStringLiteral("state"), what);
        out_.result(where(m.Modul) +
                        QCoreApplication::translate("km207", "  registr %1: %2 -> %3, ")
                            .arg(SeznamRegistru({reg}))
                            .arg(from)
                            .arg(to) +
                        what,
                    j);
    };
    for (const TObnovaModulu& m : o.Moduly) {
        QJsonObject j = whereJson(m.Modul);
        if (!m.Zaloha || !m.Precteno) {
            j.insert(QStringLiteral("error"), m.Text);
            out_.result(where(m.Modul) + QStringLiteral("  ") + m.Text +
                            (m.Chyba
                                 ? QCoreApplication::translate("km207", " (kód %1)").arg(m.Chyba)
                                 : QString()),
                        j);
            if (m.Zaloha) status = worse(status, m.Chyba ? exitStatusForCode(m.Chyba) : ExitLink);
            continue;
        }
        if (m.ModulPrecteny != m.Zaloha->Modul)
            out_.note(QCoreApplication::translate(
                          "km207", "varování: %1: záloha je z modulu %2, odpovídá modul %3")
                          .arg(where(m.Modul), ModulNaText(m.Zaloha->Modul),
                               ModulNaText(m.ModulPrecteny)));
        if (m.Zmeny.empty()) {
            j.insert(QStringLiteral("changed"), QJsonArray());
            out_.result(where(m.Modul) + QCoreApplication::translate("km207", "  beze změny"), j);
        } else if (o_.dryRun) {
            for (uint8_t reg : m.Zmeny)
                change(m, reg, QCoreApplication::translate("km207", "zapsal by se"));
        }
    }
    if (o.Zastaveno) {
        out_.error(QCoreApplication::translate("km207", "Obnova přerušena; nic nebylo zapsáno."),
                   std::nullopt, ExitLink);
        return ExitLink;
    }
    if (!o.Nahled) {
        out_.error(QCoreApplication::translate("km207",
                                               "Moduly se nepodařilo přečíst; nic nebylo zapsáno."),
                   std::nullopt, ExitLink);
        return worse(status, ExitLink);
    }
    const QStringList collisions = o.Kolize();
    for (const QString& c : collisions)
        out_.error(c, std::nullopt, ExitModule);
    if (!collisions.isEmpty() && !o_.force) {
        out_.error(
            QCoreApplication::translate("km207", "Nic nebylo zapsáno (--force zapíše i tak)."),
            std::nullopt, ExitModule);
        return ExitModule;
    }
    if (o_.dryRun) {
        out_.result(QCoreApplication::translate("km207", "Zkouška nanečisto: nic nebylo zapsáno."),
                    {{QStringLiteral("dry_run"), true}});
        return status;
    }
    ObnovLinku(CilModulu(data_), o, transfer(), progress);
    out_.endProgress();
    int written = 0;
    for (const TObnovaModulu& m : o.Moduly) {
        if (!m.Zapis) continue;
        const TVysledekBloku& v = *m.Zapis;
        for (uint8_t reg : m.Zmeny) {
            switch (StavZapisu(v, reg)) {
            case TStavZapisu::Overen:
                change(m, reg, QCoreApplication::translate("km207", "zapsán a ověřen"));
                break;
            case TStavZapisu::Lisi:
                change(m, reg,
                       QCoreApplication::translate("km207", "zpět přečteno %1").arg(v.Precteno));
                break;
            case TStavZapisu::Neoveren:
                change(m, reg, QCoreApplication::translate("km207", "zápis přijat, neověřen"));
                break;
            case TStavZapisu::Neznamy:
                change(m, reg,
                       QCoreApplication::translate("km207",
                                                   "zápis odeslán bez odpovědi, stav neznámý"));
                break;
            case TStavZapisu::Nezapsan:
                change(m, reg, QCoreApplication::translate("km207", "nezapsán"));
                break;
            }
        }
        if (v.Uspech()) {
            ++written;
            if (!m.Text.isEmpty()) out_.note(where(m.Modul) + QStringLiteral(": ") + m.Text);
        } else {
            status = worse(status, v.Konec == TKonecBloku::Neshoda ? ExitModule
                                   : v.Konec == TKonecBloku::Chyba ? exitStatusForCode(v.Chyba)
                                                                   : ExitLink);
            out_.note(where(m.Modul) + QStringLiteral(": ") + v.Text);
        }
    }
    out_.result(
        QCoreApplication::translate("km207", "Obnova linky: zapsáno do modulů %1.").arg(written),
        {{QStringLiteral("written_modules"), written}, {QStringLiteral("stopped"), o.Zastaveno}});
    if (o.Zastaveno) {
        out_.error(QCoreApplication::translate("km207", "Obnova přerušena."), std::nullopt,
                   ExitLink);
        return ExitLink;
    }
    return status;
}

int Session::lineCommission() {
    TSouborLinky file;
    if (const int s = loadLine(file, true)) return s;
    QString error;
    // The line file takes the new module: checked before anything is sent.
    TZapisSouboru target(*o_.line);
    if (!target.Otevri(error)) return usage(error);
    if (const int s = openLink()) return s;
    TVolbyUvedeni volby;
    volby.Od = o_.first;
    volby.Do = o_.last;
    if (o_.moduleBaud) volby.IndexRychlosti = PresnyIndexRychlosti(*o_.moduleBaud);
    if (o_.wait) volby.CekaniMs = *o_.wait * 1000;
    const TVysledekUvedeni v = UvedDoProvozu(CilModulu(data_), file.Moduly, volby, transfer(),
                                             [this](const QString& text) { out_.note(text); });
    QJsonObject j = whereJson(v.Modul);
    switch (v.Konec) {
    case TKonecUvedeni::Hotovo:
        break;
    case TKonecUvedeni::ChybaZapisu: {
        TKonfigurace block{};
        block.KonfAdresa = v.Modul.Adresa;
        block.KonfRychlost = static_cast<uint8_t>(v.Modul.IndexRychlosti);
        std::vector<uint8_t> regs{RegistrAdresa};
        if (v.Modul.IndexRychlosti != VyrobniIndexRychlosti) regs.push_back(RegistrRychlost);
        return writeFailure(regs, v.Zapis, block);
    }
    case TKonecUvedeni::DvaModuly:
    case TKonecUvedeni::AdresaObsazena:
    case TKonecUvedeni::ZadnaAdresa:
        out_.error(v.Text, v.Chyba ? std::optional<uint32_t>(v.Chyba) : std::nullopt, ExitModule,
                   j);
        return ExitModule;
    case TKonecUvedeni::ZadnyModul:
    case TKonecUvedeni::Neobjevil:
    case TKonecUvedeni::Zastaveno:
    case TKonecUvedeni::ChybaSpojeni: {
        const int status = v.Chyba ? exitStatusForCode(v.Chyba) : ExitLink;
        out_.error(v.Text, v.Chyba ? std::optional<uint32_t>(v.Chyba) : std::nullopt, status, j);
        return status;
    }
    }
    file.Moduly.push_back(v.Modul);
    QByteArray text;
    if (!LinkaNaText(file, text, error) || !target.Dokonci(text, error)) {
        out_.error(error, std::nullopt, ExitUsage, j);
        return ExitUsage;
    }
    j.insert(QStringLiteral("module"), ModulNaText(v.Modul.Identifikace));
    j.insert(QStringLiteral("file"), *o_.line);
    out_.result(QCoreApplication::translate(
                    "km207", "Modul na adrese %1 (%2 Bd, %3) přidán do %4. Další nový modul: "
                             "připojte ho a spusťte příkaz znovu.")
                    .arg(v.Modul.Adresa)
                    .arg(IndexNaRychlost(v.Modul.IndexRychlosti))
                    .arg(ModulNaText(v.Modul.Identifikace), *o_.line),
                j);
    return ExitOk;
}

} // namespace km207
