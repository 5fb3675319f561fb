// Opens one live view of the program on a LAN link to km207-sim, the way an
// operator does: the main window is up with its communication log, the
// connection dialog opens the link, then the view runs modally over the
// main window. Used by the CPU benchmark of the counter view and to take
// screenshots of the views. With --no-log the view runs alone, without the
// main window, for comparison.
//
//   live_view --view cnt|rtc|stat|din|dout|prubeh --port N [--seconds S]
//             [--grab FILE [--after MS]] [--no-log]
//             [--prefill-hours H] [--scene live|paused]   (prubeh only)
#include "Hlavni.h"
#include "Jazyk.h"
#include "Kxxx410.h"
#include "OkamCNT.h"
#include "OkamDIN.h"
#include "OkamDOUT.h"
#include "Pripojeni.h"
#include "RTC.h"
#include "StatReg.h"
#include "trend_prefill.h"

#include <QApplication>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

template <class T> std::unique_ptr<QDialog> vytvor(TData* data, QWidget* rodic) {
    auto okno = std::make_unique<T>(rodic);
    okno->Data = data;
    return okno;
}

int usage() {
    std::fprintf(stderr, "usage: live_view --view cnt|rtc|stat|din|dout|prubeh --port N "
                         "[--seconds S] [--grab FILE [--after MS]] [--no-log] "
                         "[--prefill-hours H] [--scene live|paused]\n");
    return 64;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // KM207_LANG=en for the pictures in English.
    NastavJazyk(JazykProcesu({}, false));
    std::string view;
    std::string grab;
    long port = -1;
    double seconds = 30.0;
    long after = 1500;
    double prefill = 0;
    std::string scene = "live";
    bool log = true;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "--no-log")) {
            log = false;
            continue;
        }
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!v) return usage();
        if (!std::strcmp(a, "--view"))
            view = v;
        else if (!std::strcmp(a, "--port"))
            port = std::strtol(v, nullptr, 10);
        else if (!std::strcmp(a, "--seconds"))
            seconds = std::strtod(v, nullptr);
        else if (!std::strcmp(a, "--grab"))
            grab = v;
        else if (!std::strcmp(a, "--after"))
            after = std::strtol(v, nullptr, 10);
        else if (!std::strcmp(a, "--prefill-hours"))
            prefill = std::strtod(v, nullptr);
        else if (!std::strcmp(a, "--scene"))
            scene = v;
        else
            return usage();
        ++i;
    }
    if (port <= 0 || port > 65535 || seconds <= 0) return usage();

    // The main window keeps its settings file out of the build folder.
    QTemporaryDir nastaveni;
    NastavAdresarIni(nastaveni.path());
    std::unique_ptr<TForm1> hlavni;
    TData vlastni;
    InitData(&vlastni);
    if (log) {
        hlavni = std::make_unique<TForm1>();
        hlavni->show();
    }
    TData& data = hlavni ? *hlavni->Data : vlastni;
    data.Rozhrani = 4;
    data.IpAdresa = QStringLiteral("127.0.0.1");
    data.UdpPort = static_cast<uint32_t>(port);
    {
        TForm2 pripojeni;
        pripojeni.Data = &data;
        pripojeni.show();
        pripojeni.Button1Click();
    }
    if (!SpojeniOtevreno(&data)) {
        std::fprintf(stderr, "live_view: link not open\n");
        return 2;
    }

    std::unique_ptr<QDialog> okno;
    QWidget* rodic = hlavni.get();
    if (view == "cnt")
        okno = vytvor<TForm6>(&data, rodic);
    else if (view == "rtc")
        okno = vytvor<TForm3>(&data, rodic);
    else if (view == "stat")
        okno = vytvor<TForm15>(&data, rodic);
    else if (view == "din")
        okno = vytvor<TForm11>(&data, rodic);
    else if (view == "dout")
        okno = vytvor<TForm9>(&data, rodic);
    else if (view == "prubeh")
        okno = vytvor<TForm16>(&data, rodic);
    else
        return usage();
    if (auto* f = qobject_cast<TForm16*>(okno.get())) {
        if (prefill > 0) PredvyplnPrubeh(*f, prefill);
        if (!grab.empty()) // the pictures show the last quarter of a minute
            f->PaintBox1->NastavPohled(f->PaintBox1->PravyOkraj(), 15000);
        if (scene == "paused") {
            // Pause a second before the picture, the cursor on an edge of
            // the scripted input.
            QTimer::singleShot(std::max(0L, after - 1000), f, [f] {
                f->Button1->click();
                const qint64 t = f->PaintBox1->PravyOkraj() - f->PaintBox1->Rozsah() * 35 / 100;
                f->PaintBox1->NastavKurzor(t);
            });
        }
    }

    QDialog* o = okno.get();
    if (!grab.empty()) {
        QTimer::singleShot(after, o, [o, &grab] {
            if (auto* f = qobject_cast<TForm9*>(o)) {
                // Show a written word: DOUT8 and DOUT31 on.
                f->CheckBoxy[8]->setChecked(true);
                f->CheckBoxy[31]->setChecked(true);
                f->Button1Click();
            }
            if (!o->grab().save(QString::fromStdString(grab)))
                std::fprintf(stderr, "live_view: cannot write %s\n", grab.c_str());
            o->close();
        });
    }
    QTimer::singleShot(static_cast<int>(seconds * 1000), o, &QDialog::close);
    okno->exec();
    okno.reset();

    if (hlavni) {
        // Closing the main window closes the link, as in the program.
        hlavni->close();
    } else {
        uint32_t handle = data.Handle;
        OvladacDone(data.Rozhrani, handle);
    }
    OvladacUvolni();
    return 0;
}
