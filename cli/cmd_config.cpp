// km207 backup and restore: the whole configuration to a file and back.
#include "session.h"

#include "stop.h"

#include "Kxxx410.h"
#include "Prikazy.h"
#include "Rychlosti.h"
#include "SouborKonfigurace.h"
#include "Soubory.h"

#include <QFile>

#include <QCoreApplication>

namespace km207 {

int Session::backup() {
    const QString path = o_.operands[0];
    const bool toOutput = path == QLatin1String("-");
    QString error;
    // The target is checked and its temporary file made before anything
    // is sent: exit 64 promises that nothing was.
    TZapisSouboru target(path);
    if (!toOutput && !target.Otevri(error)) return usage(error);
    if (const int s = openLink()) return s;
    TSouborKonfigurace content;
    content.Modul = modul_;
    content.Blok = data_.Konfigurace;
    const TVysledekBloku v = CtiBlok(CilModulu(data_), content.Blok, transfer());
    if (!v.Uspech()) return fail(blockFailure(v, content.Blok));
    QDateTime read = MistniCas();
    read.setTime(QTime(read.time().hour(), read.time().minute(), read.time().second()));
    content.Precteno = read;
    QByteArray text;
    // A value the file cannot hold (a baud index above 8, ...) came from
    // the module.
    if (!KonfiguraceNaText(content, text, error)) {
        out_.error(QCoreApplication::translate("km207", "Konfiguraci modulu nelze uložit: ") +
                       error,
                   std::nullopt, ExitModule);
        return ExitModule;
    }
    if (toOutput) {
        // A failed standard output is said at the end (Output::finish).
        out_.raw(text);
        if (!out_.outputFailure().isEmpty()) return ExitOutput;
    } else if (!target.Dokonci(text, error)) {
        out_.error(error, std::nullopt, ExitOutput);
        return ExitOutput;
    }
    const QString modul = ModulNaText(modul_);
    const QString message =
        QCoreApplication::translate("km207", "Konfigurace přečtena a uložena do %1 (modul %2, "
                                             "adresa %3, %4 Bd).")
            .arg(toOutput ? QCoreApplication::translate("km207", "standardního výstupu")
                          : JmenoSouboru(path),
                 modul)
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

int Session::restore() {
    const QString path = o_.operands[0];
    TSouborKonfigurace content;
    QString error;
    // The whole file is checked before anything goes to the module.
    bool parsed;
    if (path == QLatin1String("-")) {
        const std::optional<QByteArray> text = readInput(MaxVelikostKonfigurace + 1);
        if (!text) {
            out_.error(QCoreApplication::translate(
                           "km207", "Čtení standardního vstupu přerušeno; nic nebylo odesláno."),
                       std::nullopt, ExitLink);
            return ExitLink;
        }
        parsed = TextNaKonfiguraci(*text, content, error);
    } else {
        parsed = NactiKonfiguraci(path, content, error);
    }
    const QString name = JmenoSouboru(path);
    if (!parsed) return usage(error.contains(name) ? error : name + QStringLiteral(": ") + error);
    if (const int s = openLink()) return s;

    TKonfigurace current = data_.Konfigurace;
    const TVysledekBloku read = CtiBlok(CilModulu(data_), current, transfer());
    if (!read.Uspech()) return fail(blockFailure(read, current));
    if (content.Modul != modul_)
        out_.note(QCoreApplication::translate(
                      "km207", "varování: soubor je z modulu %1, připojený modul je %2")
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
        out_.result(QCoreApplication::translate("km207", "registr %1: %2 -> %3, ")
                            .arg(SeznamRegistru({reg}))
                            .arg(from)
                            .arg(to) +
                        what,
                    {{QStringLiteral("register"), reg},
                     {QStringLiteral("name"), NazevRegistru(reg)},
                     {QStringLiteral("from"), from},
                     {QStringLiteral("to"), to}});
    };
    const uint8_t target = content.Blok.KonfAdresa;
    if (!o_.force && target != data_.Adresa &&
        std::find(changed.begin(), changed.end(), RegistrAdresa) != changed.end()) {
        // Two modules on one address would answer each other's requests
        // after the next power-up; neither could be reached. Asked in a dry
        // run too (one reading), so it predicts the refusal.
        uint8_t b0 = 0;
        QString part;
        const uint8_t code = CastIdentifikace(CilModulu(data_, target), 0, b0, part);
        if (code == KodPreruseno) return fail(linkFailure(code));
        if (code == 0 || NejasnaOdpoved(code) || ChybaModulu(code)) {
            out_.error(QCoreApplication::translate(
                           "km207", "Na adrese %1 už odpovídá modul; po zapnutí by tam byly dva. "
                                    "Nic nebylo zapsáno (--keep-address ponechá adresu modulu, "
                                    "--force zapíše i tak).")
                           .arg(target),
                       std::nullopt, ExitModule);
            return ExitModule;
        }
    }
    // A stop that came while the module was read: nothing is written.
    if (stopRequested()) {
        out_.error(QCoreApplication::translate("km207", "Přenos zastaven. Nic nebylo zapsáno."),
                   std::nullopt, ExitLink);
        return ExitLink;
    }
    if (o_.dryRun) {
        for (uint8_t reg : changed)
            change(reg, QCoreApplication::translate("km207", "zapsal by se"));
        out_.result(QCoreApplication::translate("km207", "Zkouška nanečisto: nic nebylo zapsáno."),
                    {{QStringLiteral("dry_run"), true},
                     {QStringLiteral("changed"), registerArray(changed)}});
        return ExitOk;
    }
    if (changed.empty()) {
        out_.result(QCoreApplication::translate(
                        "km207", "Modul už má konfiguraci ze souboru; nic se nezapisuje."),
                    {{QStringLiteral("changed"), QJsonArray()}});
        return ExitOk;
    }
    const TVysledekBloku v =
        ZapisBlok(CilModulu(data_), content.Blok, changed, transfer(), [&](int, int, uint8_t reg) {
            change(reg, QCoreApplication::translate("km207", "zapsán a ověřen"));
        });
    if (v.Uspech()) {
        const QString note = PoznamkaZapnuti(v.Registry);
        const bool restart = !note.isEmpty();
        QJsonObject json{{QStringLiteral("changed"), registerArray(v.Registry)}};
        if (restart) json.insert(QStringLiteral("note"), note);
        out_.result(
            QCoreApplication::translate("km207", "Konfigurace zapsána. Změněné registry: ") +
                SeznamRegistru(v.Registry) + (restart ? QStringLiteral("\n") + note : QString()),
            json);
        return ExitOk;
    }
    return writeFailure(changed, v, content.Blok);
}

} // namespace km207
