// km207: the KM-207 module's settings and live values from the command line.
#include "stop.h"
#include "tool.h"

#include "Jazyk.h"
#include "Kxxx410.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The program's name, so the per-user settings file is the program's own.
    QCoreApplication::setApplicationName(QStringLiteral("W_KM207"));
    km207::installStopHandler();
    const QStringList args = QCoreApplication::arguments().mid(1);
    // JSON is read by programs: its every byte stays the same in any language.
    NastavJazyk(args.contains(QStringLiteral("--json")) ? TJazyk::Cestina
                                                        : JazykProcesu(args, false));
    const int status = km207::run(args);
    // A driver call cut off by a stop may still run in its library, which
    // must neither be released nor see the process's static objects go.
    if (OvladacOpusten()) {
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(status);
    }
    // A library that a failed Init left loaded.
    OvladacUvolni();
    return status;
}
