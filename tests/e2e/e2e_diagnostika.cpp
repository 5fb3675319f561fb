// The search and the configuration files against km207-sim through the real
// drivers, driven through the windows' controls: two modules found at two
// addresses and two rates on one serial line; a module's configuration
// saved to a file and loaded onto a second emulator; an emulator that stops
// in the middle of a load.
#include "Hlavni.h"
#include "Kxxx410.h"
#include "Operace.h"
#include "Pripojeni.h"
#include "SouborKonfigurace.h"
#include "e2e_link.h"
#include "fake_link.h"
#include "sim_process.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

constexpr int kWaitMs = 60000;

// Runs `inside` on the next modal window from inside its loop, then closes it.
void on_modal(const std::function<void(QWidget*)>& inside) {
    QTimer::singleShot(0, qApp, [inside] {
        if (!QTest::qWaitFor([] { return QApplication::activeModalWidget(); }, kWaitMs)) return;
        QWidget* w = QApplication::activeModalWidget();
        inside(w);
        if (w->isVisible()) w->close();
    });
}

template <class T> T* control(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QLatin1String(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

QString status(QWidget* w) {
    return control<QLabel>(w, "LabelStav")->text();
}

QString chosen_file;

class Diagnostika : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::use_temp_settings_dir();
        saved_chooser = ZvolSoubor;
        ZvolSoubor = [](QWidget*, const QString&, const QString&, bool) { return chosen_file; };
        chosen_file = dir.filePath(QStringLiteral("modul.km207"));
        form_ = std::make_unique<TForm1>();
        form = form_.get();
    }
    void TearDown() override {
        close_link_and_driver(*form->Data);
        form_.reset();
        ZvolSoubor = saved_chooser;
        unsetenv("KM207_COM1");
    }
    // The main window's link to an emulator over UDP, opened by the dialog.
    void connect_udp(const SimProcess& sim, uint8_t address) {
        close_link_and_driver(*form->Data);
        form->Data->Rozhrani = 4;
        form->Data->IpAdresa = QStringLiteral("127.0.0.1");
        form->Data->UdpPort = sim.udp_port();
        form->Data->Adresa = address;
        const QString text = open_through_dialog(*form->Data);
        ASSERT_TRUE(SpojeniOtevreno(form->Data)) << text.toStdString();
    }
    // Runs a file command of the menu; `inside` gets its window once the
    // window's own work (reading the module) is done.
    void file_command(const char* item, const std::function<void(QWidget*)>& inside) {
        on_modal([inside](QWidget* w) {
            EXPECT_TRUE(QTest::qWaitFor(
                [w] {
                    return !status(w).isEmpty() && !status(w).startsWith(QStringLiteral("Probíhá"));
                },
                kWaitMs));
            inside(w);
        });
        form->findChild<QAction*>(QLatin1String(item))->trigger();
    }

    QTemporaryDir dir;
    std::unique_ptr<TForm1> form_;
    TForm1* form = nullptr;
    decltype(ZvolSoubor) saved_chooser = nullptr;
};

TEST_F(Diagnostika, SearchFindsTwoModulesAtTwoAddressesAndRatesOnOneSerialLine) {
    SimProcess sim({"--no-udp", "--strict-baud", "--module", "2", "--module", "5:6"});
    ASSERT_TRUE(sim.running()) << sim.output();
    setenv("KM207_COM1", sim.pty().c_str(), 1);
    TForm2 dialog;
    dialog.Data = form->Data;
    dialog.show();
    QStringList found;
    on_modal([&](QWidget* w) {
        control<QSpinBox>(w, "SpinBoxOd")->setValue(2);
        control<QSpinBox>(w, "SpinBoxDo")->setValue(5);
        control<QCheckBox>(w, "CheckBoxRychlosti")->setChecked(true);
        control<QPushButton>(w, "ButtonHledat")->click();
        auto* tree = control<QTreeWidget>(w, "TreeNalezene");
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            found << tree->topLevelItem(i)->text(0) + QLatin1Char('/') +
                         tree->topLevelItem(i)->text(1) + QLatin1Char('/') +
                         tree->topLevelItem(i)->text(2);
        EXPECT_TRUE(status(w).startsWith(QStringLiteral("Hledání dokončeno.")))
            << status(w).toStdString();
    });
    control<QPushButton>(&dialog, "Button3")->click();
    EXPECT_EQ(found, (QStringList{"2/9600 Bd/KM-207   v.1.02", "5/38400 Bd/KM-207   v.1.02"}));
    EXPECT_FALSE(SpojeniOtevreno(form->Data));
}

TEST_F(Diagnostika, SavedThenLoadedOntoASecondModuleWhoseRegistersThenMatch) {
    SimProcess first({"--no-pty", "--module", "3", "--mode", "2", "--reg", "62=7", "--reg",
                      "33=165", "--reg", "41=1", "--reg", "43=128"});
    SimProcess second({"--no-pty", "--module", "4"});
    ASSERT_TRUE(first.running() && second.running()) << first.output() << second.output();

    connect_udp(first, 3);
    file_command("UlozitKonfiguraci1", [](QWidget* w) {
        EXPECT_TRUE(status(w).startsWith(QStringLiteral("Konfigurace modulu uložena do souboru")))
            << status(w).toStdString();
    });
    TSouborKonfigurace saved;
    QString error;
    ASSERT_TRUE(NactiKonfiguraci(chosen_file, saved, error)) << error.toStdString();
    EXPECT_EQ(saved.Blok.KonfAdresa, 3);
    EXPECT_EQ(saved.Modul, form->Data->Modul);

    connect_udp(second, 4);
    file_command("NahratKonfiguraci1", [](QWidget* w) {
        auto* tree = control<QTreeWidget>(w, "TreeRegistry");
        QStringList changed;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            if (tree->topLevelItem(i)->text(4) == QStringLiteral("ano"))
                changed << tree->topLevelItem(i)->text(0);
        EXPECT_EQ(changed, (QStringList{"63", "62", "0", "41", "33", "43"}));
        EXPECT_TRUE(control<QLabel>(w, "LabelPoznamka")->isVisibleTo(w));
        control<QPushButton>(w, "ButtonZapsat")->click();
        EXPECT_TRUE(status(w).startsWith(QStringLiteral(
            "Zapsáno a ověřeno 6 registrů: 63 (adresa), 62 (rychlost), 0 (mód čítače), ")))
            << status(w).toStdString();
        EXPECT_TRUE(status(w).endsWith(
            QStringLiteral(" Nová adresa a rychlost platí od příštího zapnutí modulu. Do té doby "
                           "modul odpovídá na dosavadní adrese a rychlosti.")));
        EXPECT_FALSE(control<QPushButton>(w, "ButtonZapsat")->isEnabled());
    });
    // Read back at the old address: the new one waits for the next power-up.
    TKonfigurace back{};
    ASSERT_TRUE(CtiBlok(CilModulu(*form->Data), back).Uspech());
    EXPECT_EQ(back, saved.Blok);
}

TEST_F(Diagnostika, AnEmulatorStoppedMidLoadIsToldWithTheRegistersWritten) {
    SimProcess sim({"--no-pty", "--module", "6"});
    ASSERT_TRUE(sim.running()) << sim.output();
    TSouborKonfigurace file;
    file.Modul = QStringLiteral("KM-207   v.1.02");
    file.Precteno = QDateTime::currentDateTime();
    for (int b = 0; b < 15; ++b)
        file.Blok.Bajt(b) = static_cast<uint8_t>(b == 1 ? 5 : b == 2 ? 1 : 0x5A);
    QString error;
    ASSERT_TRUE(UlozKonfiguraci(chosen_file, file, error)) << error.toStdString();

    connect_udp(sim, 6);
    file_command("NahratKonfiguraci1", [&](QWidget* w) {
        auto* bar = control<QProgressBar>(w, "ProgressBar1");
        // The emulator goes away once three registers are written and verified.
        QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) {
            if (v == 3) sim.stop();
        });
        control<QPushButton>(w, "ButtonZapsat")->click();
        EXPECT_EQ(status(w),
                  QStringLiteral("Zápis přerušen u registru 32 (počáteční stav DOUT0-7): Modul "
                                 "neodpovídá. Zapsány a ověřeny registry: 63 (adresa), 62 "
                                 "(rychlost), 0 (mód čítače). Nová adresa a rychlost platí od "
                                 "příštího zapnutí modulu. Do té doby modul odpovídá na "
                                 "dosavadní adrese a rychlosti."));
        EXPECT_TRUE(control<QPushButton>(w, "ButtonZapsat")->isEnabled());
    });
}

} // namespace
