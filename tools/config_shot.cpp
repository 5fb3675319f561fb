// Shows one settings dialog on a LAN link to km207-sim, reads the module
// with "Přečíst" and saves a picture of the dialog. Not part of the build;
// tools/config_screenshots.sh compiles and runs it.
//
//   config_shot --dialog adr|cnt|dio --port N --address A --drivers DIR --out FILE.png
#include "Dekl.h"
#include "HledaniOvladace.h"
#include "Jazyk.h"
#include "Kxxx410.h"
#include "NastavAdr.h"
#include "NastavCNT.h"
#include "NastavDIO.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include <cstdio>
#include <memory>

namespace {

void wait_ms(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // KM207_LANG=en for the pictures in English.
    NastavJazyk(JazykProcesu({}, false));
    QString dialog, out, drivers;
    uint32_t port = 0, address = 0;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--dialog"))
            dialog = args[i + 1];
        else if (args[i] == QLatin1String("--out"))
            out = args[i + 1];
        else if (args[i] == QLatin1String("--drivers"))
            drivers = args[i + 1];
        else if (args[i] == QLatin1String("--port"))
            port = args[i + 1].toUInt();
        else if (args[i] == QLatin1String("--address"))
            address = args[i + 1].toUInt();
    }
    if (out.isEmpty() || port == 0) {
        std::fprintf(stderr,
                     "usage: config_shot --dialog adr|cnt|dio --port N --drivers DIR --out F\n");
        return 2;
    }

    TData data;
    InitData(&data);
    NastavAdresarOvladacu(drivers);
    data.Rozhrani = 4;
    data.Adresa = static_cast<uint8_t>(address);
    data.IpAdresa = QStringLiteral("127.0.0.1");
    data.UdpPort = port;
    data.IpAdresaBajty = TextNaCp1250(data.IpAdresa);
    data.KonfigOvladace.fill(0);
    data.KonfigOvladace[0] = reinterpret_cast<uintptr_t>(data.IpAdresaBajty.constData());
    data.KonfigOvladace[1] = data.UdpPort;
    data.KonfigOvladace[2] = data.UdpTimeout;
    uint32_t handle = 0;
    const uint32_t kod = OvladacInit(data.Rozhrani, handle, data.KonfigOvladace);
    if (kod != 0) {
        std::fprintf(stderr, "config_shot: link failed: %s\n",
                     TextChyby(data.Rozhrani, kod).toUtf8().constData());
        return 1;
    }
    data.Handle = handle;
    data.Pripojeno = true;

    std::unique_ptr<QDialog> dlg;
    if (dialog == QLatin1String("adr")) {
        auto* d = new TForm12;
        d->Data = &data;
        dlg.reset(d);
    } else if (dialog == QLatin1String("cnt")) {
        auto* d = new TForm5;
        d->Data = &data;
        dlg.reset(d);
    } else {
        auto* d = new TForm14;
        d->Data = &data;
        dlg.reset(d);
    }
    dlg->show();
    wait_ms(300);
    dlg->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    wait_ms(500);
    const bool saved = dlg->grab().save(out);
    dlg.reset();
    OvladacDone(data.Rozhrani, handle);
    OvladacUvolni();
    return saved ? 0 : 1;
}
