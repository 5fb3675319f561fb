// Start-up of the KM-207 configuration tool: one main window, its message
// loop, and at the end the release of a driver library that a failed Init
// may have left loaded.
#include "Hlavni.h"
#include "Kxxx410.h"
#include "functions.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KM207_APP_ID));
    PripravAplikaci(app);
    int result = 0;
    {
        TForm1 Form1;
        Form1.show();
        result = QApplication::exec();
    }
    OvladacUvolni();
    return result;
}
