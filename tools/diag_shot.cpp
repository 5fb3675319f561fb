// Pictures of the diagnostics, the operator's way through the menus: the
// main window connects over COM1 (KM207_COM1 points the serial driver at
// km207-sim), its communication log fills while the counter view polls, a
// search finds the modules on the line, and a configuration file with other
// values is loaded, up to the preview of what it would change.
// Not part of the build; tools/diag_screenshots.sh compiles and runs it.
//
//   diag_shot --drivers DIR --out DIR --file PATH
#include "Hlavni.h"
#include "HledaniOvladace.h"
#include "Jazyk.h"
#include "Kxxx410.h"
#include "Pripojeni.h"
#include "SouborKonfigurace.h"
#include "functions.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <functional>

namespace {

QString g_out;
QString g_file;

// The window as drawn, and the whole screen with the window manager's frames.
void shot(QWidget* w, const QString& name) {
    QTest::qWait(400);
    const QString file = QDir(g_out).filePath(name);
    w->grab().save(file + QStringLiteral(".png"));
    if (!QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty())
        QProcess::execute(QStringLiteral("import"),
                          {QStringLiteral("-window"), QStringLiteral("root"),
                           file + QStringLiteral("-screen.png")});
}

// Runs `inside` on the modal window the action brings up.
void with_modal(QAction* action, const std::function<void(QWidget*)>& inside) {
    QTimer::singleShot(0, [inside] {
        if (!QTest::qWaitFor([] { return QApplication::activeModalWidget(); }, 20000)) return;
        QWidget* w = QApplication::activeModalWidget();
        QTest::qWait(300);
        inside(w);
        if (w->isVisible()) w->close();
    });
    action->trigger();
}

template <class T> T* control(QWidget* w, const char* name) {
    return w->findChild<T*>(QLatin1String(name));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // KM207_LANG=en for the pictures in English.
    NastavJazyk(JazykProcesu({}, false));
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QString drivers;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--drivers"))
            drivers = args[i + 1];
        else if (args[i] == QLatin1String("--out"))
            g_out = args[i + 1];
        else if (args[i] == QLatin1String("--file"))
            g_file = args[i + 1];
    }
    if (drivers.isEmpty() || g_out.isEmpty() || g_file.isEmpty()) {
        std::fprintf(stderr, "usage: diag_shot --drivers DIR --out DIR --file PATH\n");
        return 2;
    }
    NastavAdresarOvladacu(drivers);
    ZvolSoubor = [](QWidget*, const QString&, const QString&, bool) { return g_file; };

    TForm1 form;
    form.show();
    QTest::qWait(500);
    form.Data->Adresa = 2;
    with_modal(form.Pipojen1, [](QWidget* w) {
        control<QPushButton>(w, "Button1")->click();
        std::printf("connect: %s\n", control<QLabel>(w, "Panel1")->text().toUtf8().constData());
    });

    // The log while the counter view polls.
    with_modal(form.OkamAIN2, [&](QWidget*) {
        QTest::qWait(2500);
        shot(&form, QStringLiteral("log-polling"));
    });

    // A search over the open link: addresses 0-6 at all nine rates.
    with_modal(form.Pipojen1, [](QWidget* dialog) {
        QTimer::singleShot(0, [] {
            auto search = [] {
                QWidget* w = QApplication::activeModalWidget();
                return w && w->objectName() == QLatin1String("FormHledani") ? w : nullptr;
            };
            if (!QTest::qWaitFor([&] { return search() != nullptr; }, 20000)) return;
            QWidget* w = search();
            control<QSpinBox>(w, "SpinBoxDo")->setValue(6);
            control<QCheckBox>(w, "CheckBoxRychlosti")->setChecked(true);
            control<QPushButton>(w, "ButtonHledat")->click();
            std::printf("search: %s\n",
                        control<QLabel>(w, "LabelStav")->text().toUtf8().constData());
            shot(w, QStringLiteral("search-results"));
            w->close();
        });
        control<QPushButton>(dialog, "Button3")->click();
    });

    // The module's configuration kept, then a file with other values loaded.
    with_modal(form.UlozitKonfiguraci1, [](QWidget* w) {
        auto* label = control<QLabel>(w, "LabelStav");
        if (!QTest::qWaitFor([label] { return label->text().startsWith(u"Konfigurace"); }, 20000))
            std::fprintf(stderr, "diag_shot: %s\n", label->text().toUtf8().constData());
    });
    TSouborKonfigurace file;
    QString error;
    if (!NactiKonfiguraci(g_file, file, error)) {
        std::fprintf(stderr, "diag_shot: %s\n", error.toUtf8().constData());
        return 1;
    }
    file.Blok.KonfAdresa = 7;
    file.Blok.KonfRychlost = 5;
    file.Blok.NegaceDIN[0] = 0xA5;
    file.Blok.PocStavDOUT[3] = 0x80;
    UlozKonfiguraci(g_file, file, error);
    with_modal(form.NahratKonfiguraci1, [](QWidget* w) {
        if (!QTest::qWaitFor([w] { return control<QPushButton>(w, "ButtonZapsat")->isEnabled(); },
                             20000))
            std::fprintf(stderr, "diag_shot: no differences to write\n");
        std::printf("preview: %s\n", control<QLabel>(w, "LabelStav")->text().toUtf8().constData());
        shot(w, QStringLiteral("load-preview"));
    });
    form.close();
    return 0;
}
