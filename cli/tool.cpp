#include "tool.h"

#include "commands.h"
#include "output.h"
#include "parse.h"
#include "session.h"

#include "Komunikace.h"
#include "Kxxx410.h"

#include <QCoreApplication>

namespace km207 {

namespace {

// Runs the command the table names; a command or subject not in it is
// refused here too, whatever the parser let through.
int dispatch(const Options& o, Output& out) {
    const Command* command = findCommand(o.command);
    if (!command) {
        out.usage(QCoreApplication::translate("km207", "neznámý příkaz \"%1\"").arg(o.command),
                  QString());
        return ExitUsage;
    }
    const Subject* subject = nullptr;
    if (!command->subjects.empty()) {
        subject = findSubject(*command, o.operands.value(0));
        if (!subject) {
            out.usage(
                QCoreApplication::translate("km207", "%1: neznámý předmět \"%2\"; možnosti: %3")
                    .arg(o.command, o.operands.value(0),
                         subjectNames(*command).join(QStringLiteral(", "))),
                o.command);
            return ExitUsage;
        }
    }
    Session session(o, out, command->identify, subject);
    QString error;
    if (!session.prepareLink(error)) return session.usage(error);
    // Every request and reply, as the communication log shows it.
    uint64_t verbose = 0;
    if (o.verbose)
        verbose = NastavPozorovatele([&out](const TZaznamPrikazu& z) {
            out.note(RadekZaznamu(z, TextChyby(z.Rozhrani, z.Chyba)));
        });
    const int status = (session.*command->run)();
    // Closed only here, so every error text above came from a bound driver.
    session.close();
    if (verbose) ZrusPozorovatele(verbose);
    return status;
}

} // namespace

int run(const QStringList& args) {
    if (args.isEmpty()) {
        Output(false).usage(QCoreApplication::translate("km207", "chybí příkaz\n") + shortUsage(),
                            QString());
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
        return out.finish(ExitUsage);
    }
    if (options.help) {
        const QString help = helpText(options.command);
        out.text(help);
        return out.finish(ExitOk);
    }
    if (options.version) {
        out.result(QStringLiteral("km207 " KM207_VERSION),
                   {{QStringLiteral("version"), QStringLiteral(KM207_VERSION)}});
        return out.finish(ExitOk);
    }
    return out.finish(dispatch(options, out));
}

} // namespace km207
