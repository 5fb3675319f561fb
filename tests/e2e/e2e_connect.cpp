// The program's windows connect to km207-sim through the real drivers: the
// serial driver over the emulator's pseudo-terminal and the LAN driver over
// UDP on loopback; each bound in the program and again in km207-driverhost.
// Every row of the table of interface kinds opens its own driver the same
// way through OtevriSpojeni.
//
// With KM207_SHOT_DIR set, the test also saves pictures of the connection
// dialog and the main window after the connection (tools/screenshot.sh).
#include "Hlavni.h"
#include "HledaniOvladace.h"
#include "Kxxx410.h"
#include "Pripojeni.h"
#include "Rozhrani.h"
#include "Spojeni.h"
#include "fake_link.h"
#include "sim_process.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>

namespace {

const QString kUspech = QStringLiteral("Připojení úspěšně inicializováno. Připojen modul   ");

// COM7, not COM1: the port number must reach Init for the device to be found.
constexpr uint8_t kPort = 7;
// The four serial kinds' devices, all set to the emulator's pseudo-terminal.
const char* const kDeviceVariables[] = {"KM207_COM7", "KM207_KIB410", "KM207_KPB4100",
                                        "KM207_KUB4100"};

// Lets the window system catch up (no QTest in this binary).
void wait_ms(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

QString shot_dir() {
    return qEnvironmentVariable("KM207_SHOT_DIR");
}

// Saves a widget as it is drawn, and the whole X screen when there is one.
void take_shot(QWidget* w, const QString& name) {
    const QString dir = shot_dir();
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    wait_ms(300); // let the window system draw it
    w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
    if (!qEnvironmentVariableIsEmpty("DISPLAY") &&
        !QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty())
        QProcess::execute(
            QStringLiteral("import"),
            {QStringLiteral("-window"), QStringLiteral("root"),
             QDir(dir).filePath(QStringLiteral("screen-") + name + QStringLiteral(".png"))});
}

// Runs `inside` on the connection dialog from inside its modal loop, then
// cancels it.
void with_connection_dialog(TForm1& form, std::function<void(TForm2*)> inside) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, inside, tries] {
        auto* dlg = qobject_cast<TForm2*>(QApplication::activeModalWidget());
        if (!dlg && ++*tries < 500) return;
        timer->stop();
        timer->deleteLater();
        if (!dlg) {
            ADD_FAILURE() << "the connection dialog did not open";
            return;
        }
        inside(dlg);
        dlg->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    });
    timer->start();
    form.findChild<QAction*>(QStringLiteral("Pipojen1"))->trigger();
}

class E2eConnect : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        testsupport::use_temp_settings_dir();
        // The real drivers, from the executable's folder as the program finds them.
        OvladacUvolni();
        NastavAdresarOvladacu(QString());
        NastavIzolaciOvladacu(GetParam());
    }
    void TearDown() override {
        OvladacUvolni();
        NastavIzolaciOvladacu(false);
        unsetenv("KM207_COM1");
        for (const char* v : kDeviceVariables)
            unsetenv(v);
    }
};

TEST_P(E2eConnect, DefaultSettingsReachTheEmulatorOverThePseudoTerminal) {
    SimProcess sim({"--address", "0"});
    ASSERT_TRUE(sim.running()) << sim.output();
    ASSERT_FALSE(sim.pty().empty());
    setenv("KM207_COM1", sim.pty().c_str(), 1);

    TForm1 form;
    form.show();
    QString status;
    with_connection_dialog(form, [&](TForm2* dlg) {
        dlg->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        status = dlg->findChild<QLabel*>(QStringLiteral("Panel1"))->text();
        take_shot(dlg, QStringLiteral("connection-dialog"));
    });
    EXPECT_EQ(status, kUspech + QStringLiteral("KM-207   v.1.02"));
    EXPECT_EQ(OvladacVazba().endsWith(QStringLiteral(" přes km207-driverhost")), GetParam());
    ASSERT_NE(form.Data, nullptr);
    EXPECT_TRUE(form.Data->Pripojeno);
    EXPECT_NE(form.Data->Handle, 0u);
    EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("StatusBar1_0"))->text(),
              QStringLiteral(" Modul  KM-207   v.1.02"));
    EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("StatusBar1_1"))->text(),
              QStringLiteral(" Adresa  0"));
    EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("StatusBar1_2"))->text(),
              QStringLiteral(" Rychlost  9600Bd"));
    take_shot(&form, QStringLiteral("main-window"));

    // The link is usable: a command on the open handle answers.
    uint8_t b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, chyba = 10;
    TOdpoved odpoved{};
    ProvedPrikaz(form.Data->Rozhrani, form.Data->Handle, 0, 200, 2, &b0, &b1, &b2, &b3, &b4, chyba,
                 odpoved);
    EXPECT_EQ(chyba, 0);
    const char version[] = {char(b1), char(b2), char(b3), char(b4), 0};
    EXPECT_STREQ(version, "1.02");

    form.close();
    EXPECT_EQ(form.Data, nullptr);
    EXPECT_TRUE(sim.running());
}

TEST_P(E2eConnect, LanConverterOverUdpWithAnotherAddressAndName) {
    SimProcess sim({"--address", "17", "--name", "TEST-M", "--fw", "2.5a", "--no-pty"});
    ASSERT_TRUE(sim.running()) << sim.output();
    ASSERT_NE(sim.udp_port(), 0);

    TForm1 form;
    form.show();
    QString status;
    with_connection_dialog(form, [&](TForm2* dlg) {
        dlg->findChild<QComboBox*>(QStringLiteral("ComboBox2"))->setCurrentIndex(4);
        dlg->findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("127.0.0.1"));
        dlg->findChild<QLineEdit*>(QStringLiteral("Edit3"))
            ->setText(QString::number(sim.udp_port()));
        dlg->findChild<QLineEdit*>(QStringLiteral("Edit4"))->setText(QStringLiteral("200"));
        dlg->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("17"));
        dlg->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(8);
        dlg->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        status = dlg->findChild<QLabel*>(QStringLiteral("Panel1"))->text();
    });
    // The emulator pads the name with blanks to eight characters.
    EXPECT_EQ(status, kUspech + QStringLiteral("TEST-M   v.2.5a"));
    EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("StatusBar1_1"))->text(),
              QStringLiteral(" Adresa  17"));
    EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("StatusBar1_2"))->text(),
              QStringLiteral(" Rychlost  115200Bd"));
    form.close();
}

TEST_P(E2eConnect, AModuleThatDoesNotAnswerLeavesTheLinkClosed) {
    SimProcess sim({"--address", "5", "--no-udp"});
    ASSERT_TRUE(sim.running()) << sim.output();
    setenv("KM207_COM1", sim.pty().c_str(), 1);

    TForm1 form;
    form.show();
    QString status;
    with_connection_dialog(form, [&](TForm2* dlg) {
        // Address 0: nobody there.
        dlg->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        status = dlg->findChild<QLabel*>(QStringLiteral("Panel1"))->text();
    });
    EXPECT_FALSE(status.isEmpty());
    EXPECT_FALSE(status.startsWith(QStringLiteral("Připojení úspěšně")));
    EXPECT_FALSE(status.startsWith(QStringLiteral("Chyba inicializace")));
    ASSERT_NE(form.Data, nullptr);
    EXPECT_FALSE(form.Data->Pripojeno);
    EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("StatusBar1_0"))->text(),
              QStringLiteral(" Modul  "));
    form.close();
}

TEST_P(E2eConnect, AMissingSerialDeviceIsReportedByTheDriver) {
    setenv("KM207_COM1", "/nonexistent/km207-tty", 1);
    TForm1 form;
    form.show();
    QString status;
    with_connection_dialog(form, [&](TForm2* dlg) {
        dlg->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        status = dlg->findChild<QLabel*>(QStringLiteral("Panel1"))->text();
    });
    EXPECT_TRUE(status.startsWith(QStringLiteral("Chyba inicializace připojení - ")))
        << status.toStdString();
    EXPECT_GT(status.size(), QStringLiteral("Chyba inicializace připojení - ").size());
    EXPECT_FALSE(form.Data->Pripojeno);
    form.close();
}

// The form of Init and the parameters each row hands over are what that
// library takes: the four serial kinds reach the emulator's pseudo-terminal
// through their device variables, the LAN converter its UDP port.
TEST_P(E2eConnect, EveryKindOpensItsDriverAndIdentifiesTheModule) {
    SimProcess sim({"--address", "23", "--name", "KIND-T", "--fw", "3.04"});
    ASSERT_TRUE(sim.running()) << sim.output();
    ASSERT_FALSE(sim.pty().empty());
    for (const char* v : kDeviceVariables)
        setenv(v, sim.pty().c_str(), 1);

    for (const TRozhrani& r : TabulkaRozhrani) {
        SCOPED_TRACE(r.Nazev.toString().toStdString());
        TData data;
        InitData(&data);
        data.Rozhrani = r.Druh;
        data.CisloPortu = kPort;
        data.IpAdresa = QStringLiteral("127.0.0.1");
        data.UdpPort = sim.udp_port();
        data.UdpTimeout = 300;
        TOtevreni jak;
        jak.Adresa = 23;
        jak.IndexRychlosti = 4;
        uint32_t handle = 0;
        const TVysledekSpojeni v = OtevriSpojeni(data, handle, jak);
        EXPECT_TRUE(v.Uspech()) << int(v.Krok) << " " << v.Kod << " " << v.Text.toStdString();
        EXPECT_EQ(v.Modul, QStringLiteral("KIND-T   v.3.04"));
        EXPECT_EQ(v.Rychlost, 9600u);
        EXPECT_TRUE(data.Pripojeno);
        EXPECT_EQ(data.Handle, handle);
        EXPECT_TRUE(OvladacVazba().contains(QString::fromLatin1(r.Ovladac().prefix)))
            << OvladacVazba().toStdString();
        EXPECT_EQ(OvladacVazba().contains(QStringLiteral("km207-driverhost")), GetParam());
        testsupport::close_link(data);
    }
    EXPECT_TRUE(sim.running());
}

INSTANTIATE_TEST_SUITE_P(Drivers, E2eConnect, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "InHost" : "InProcess";
                         });

TEST(SimProcessTest, AnnouncesItselfAndIsGoneAfterDestruction) {
    pid_t pid = -1;
    {
        SimProcess sim;
        ASSERT_TRUE(sim.running()) << sim.output();
        EXPECT_EQ(sim.pty().rfind("/dev/pts/", 0), 0u) << sim.pty();
        EXPECT_NE(sim.udp_port(), 0);
        EXPECT_NE(sim.udp_port(), 5000); // a free port, not the emulator's default
        pid = sim.pid();
        EXPECT_EQ(kill(pid, 0), 0);
    }
    // Stopped and reaped: the process id no longer exists.
    EXPECT_EQ(kill(pid, 0), -1);
}

TEST(SimProcessTest, AnExecutableThatCannotStartIsNotRunning) {
    SimProcess sim({}, "/nonexistent/km207-sim", 1000);
    EXPECT_FALSE(sim.running());
    EXPECT_TRUE(sim.pty().empty());
    EXPECT_EQ(sim.udp_port(), 0);
}

} // namespace
