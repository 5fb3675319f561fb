// Opens the main window, connects through the connection dialog as the
// operator does (COM1 with the default settings; KM207_COM1 points the
// serial driver at km207-sim), and saves pictures of the dialog after
// "Inicializace připojení", of the main window after the dialog closed and
// of the user's guide opened over it.
// Not part of the build; tools/window_screenshots.sh compiles and runs it.
//
//   window_shot --drivers DIR --out PREFIX    (writes PREFIX-dialog.png, PREFIX-main.png,
//                                              PREFIX-guide.png)
#include "Hlavni.h"
#include "HledaniOvladace.h"
#include "Jazyk.h"
#include "Kxxx410.h"
#include "Pripojeni.h"
#include "Prirucka.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

// The window as drawn, and the whole screen with the window manager's frames.
void shot(QWidget* w, const QString& file) {
    QTest::qWait(400);
    w->grab().save(file + QStringLiteral(".png"));
    if (!QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty())
        QProcess::execute(QStringLiteral("import"),
                          {QStringLiteral("-window"), QStringLiteral("root"),
                           file + QStringLiteral("-screen.png")});
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // KM207_LANG=en for the pictures in English.
    NastavJazyk(JazykProcesu({}, false));
    QString drivers, out;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--drivers"))
            drivers = args[i + 1];
        else if (args[i] == QLatin1String("--out"))
            out = args[i + 1];
    }
    if (drivers.isEmpty() || out.isEmpty()) {
        std::fprintf(stderr, "usage: window_shot --drivers DIR --out PREFIX\n");
        return 2;
    }
    NastavAdresarOvladacu(drivers);

    TForm1 form;
    form.show();
    QTest::qWait(500);
    QString status;
    QTimer::singleShot(300, [&] {
        auto* dialog = qobject_cast<TForm2*>(QApplication::activeModalWidget());
        if (!dialog) return;
        dialog->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        status = dialog->findChild<QLabel*>(QStringLiteral("Panel1"))->text();
        shot(dialog, out + QStringLiteral("-dialog"));
        dialog->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    });
    form.findChild<QAction*>(QStringLiteral("Pipojen1"))->trigger();
    shot(&form, out + QStringLiteral("-main"));
    // The user's guide at the main window's section, as F1 opens it.
    OtevriPrirucku(&form);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* guide = qobject_cast<TPrirucka*>(w)) {
            guide->resize(760, 560);
            shot(guide, out + QStringLiteral("-guide"));
            guide->close();
        }
    std::printf("status: %s\n", status.toUtf8().constData());
    form.close();
    return 0;
}
