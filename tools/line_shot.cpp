// Pictures of the line overview, the technician's way through the menus:
// the main window connects over COM1 (KM207_COM1 points the serial driver
// at km207-sim's line of modules), a search at all nine rates hands the
// modules to the overview ("Do přehledu"), the line is compared with a line
// file, the state is acknowledged, and then km207-sim is told to fail: one
// module power-cycled, one switched off. The overview is grabbed once the
// poll has flagged them.
// Not part of the build; tools/line_screenshots.sh compiles and runs it.
//
//   line_shot --drivers DIR --out DIR --file PATH --sim PID
#include "Hlavni.h"
#include "HledaniOvladace.h"
#include "Jazyk.h"
#include "PrehledLinky.h"
#include "Pripojeni.h"
#include "SouborLinky.h"
#include "functions.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

QString g_out;
QString g_file;

void shot(QWidget* w, const QString& name) {
    QTest::qWait(400);
    w->grab().save(QDir(g_out).filePath(name + QStringLiteral(".png")));
}

// Runs `inside` on the modal window the action brings up.
void with_modal(const std::function<void()>& action, const std::function<void(QWidget*)>& inside) {
    QTimer::singleShot(0, [inside] {
        if (!QTest::qWaitFor([] { return QApplication::activeModalWidget(); }, 20000)) return;
        QWidget* w = QApplication::activeModalWidget();
        QTest::qWait(300);
        inside(w);
        if (w->isVisible()) w->close();
    });
    action();
}

template <class T> T* control(QWidget* w, const char* name) {
    return w->findChild<T*>(QLatin1String(name));
}

void say(const char* what, const QString& text) {
    std::printf("%s: %s\n", what, text.toUtf8().constData());
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // KM207_LANG=en for the pictures in English.
    NastavJazyk(JazykProcesu({}, false));
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QString drivers, sim;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--drivers"))
            drivers = args[i + 1];
        else if (args[i] == QLatin1String("--out"))
            g_out = args[i + 1];
        else if (args[i] == QLatin1String("--file"))
            g_file = args[i + 1];
        else if (args[i] == QLatin1String("--sim"))
            sim = args[i + 1];
    }
    if (drivers.isEmpty() || g_out.isEmpty() || g_file.isEmpty() || sim.isEmpty()) {
        std::fprintf(stderr, "usage: line_shot --drivers DIR --out DIR --file PATH --sim PID\n");
        return 2;
    }
    NastavAdresarOvladacu(drivers);
    ZvolSoubor = [](QWidget*, const QString&, const QString&, bool) { return g_file; };

    TForm1 form;
    form.show();
    QTest::qWait(500);
    form.Data->Adresa = 1;
    with_modal([&] { form.Pipojen1->trigger(); },
               [](QWidget* w) {
                   control<QPushButton>(w, "Button1")->click();
                   say("connect", control<QLabel>(w, "Panel1")->text());
               });

    // The search at all nine rates, its modules handed to the overview.
    with_modal([&] { form.Pipojen1->trigger(); },
               [](QWidget* dialog) {
                   with_modal([dialog] { control<QPushButton>(dialog, "Button3")->click(); },
                              [](QWidget* w) {
                                  control<QSpinBox>(w, "SpinBoxDo")->setValue(7);
                                  control<QCheckBox>(w, "CheckBoxRychlosti")->setChecked(true);
                                  control<QPushButton>(w, "ButtonHledat")->click();
                                  control<QPushButton>(w, "ButtonDoPrehledu")->click();
                                  say("search", control<QLabel>(w, "LabelStav")->text());
                              });
               });
    TForm17* overview = form.Prehled;
    if (!overview) {
        std::fprintf(stderr, "line_shot: the overview did not open\n");
        return 1;
    }
    overview->resize(1260, 420);
    overview->move(10, 10);
    QTest::qWait(3000);

    // The file the line is compared with lists every module but the one at
    // address 6, and expects another firmware at address 4.
    TSouborLinky line;
    for (int a = 1; a <= 5; ++a) {
        TModulLinky m{static_cast<uint8_t>(a), a >= 4 ? 6 : 4, QStringLiteral("KM-207   v.1.02"),
                      QStringLiteral("rozvaděč R3, pole %1").arg(a)};
        if (a == 4) m.Identifikace = QStringLiteral("KM-207   v.1.03");
        line.Moduly.push_back(m);
    }
    QString error;
    if (!UlozLinku(g_file, line, error)) {
        std::fprintf(stderr, "line_shot: %s\n", error.toUtf8().constData());
        return 1;
    }
    control<QPushButton>(overview, "ButtonPorovnat")->click();
    control<QPushButton>(overview, "ButtonPotvrdit")->click();
    say("acknowledged", overview->StatusBar1->Text(0));
    QTest::qWait(2500);

    // Module 5 power-cycled, module 2 switched off (km207-sim's choice of
    // modules for the two signals).
    QProcess::execute(QStringLiteral("kill"), {QStringLiteral("-USR1"), sim});
    QProcess::execute(QStringLiteral("kill"), {QStringLiteral("-USR2"), sim});
    QTest::qWait(9000);
    say("poll", overview->StatusBar1->Text(0));
    for (int r = 0; r < overview->TabulkaModulu->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < TForm17::PocetSloupcu; ++c)
            row << overview->TabulkaModulu->item(r, c)->text();
        say("row", row.join(QStringLiteral(" | ")));
    }
    shot(overview, QStringLiteral("line-overview"));
    form.close();
    return 0;
}
