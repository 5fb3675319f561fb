// The program's start as W_KM207 makes it, up to its main window on the
// screen, then out: timed whole from outside (bench/startup_lang.sh), once
// in Czech and once with the English catalog loaded.
#include "Hlavni.h"
#include "Kxxx410.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    PripravAplikaci(app);
    int result = 0;
    {
        TForm1 Form1;
        Form1.show();
        // Out once the window has been shown and its first events handled.
        QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
        result = QApplication::exec();
    }
    OvladacUvolni();
    return result;
}
