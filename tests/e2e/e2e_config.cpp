// The settings dialogs against km207-sim through the real drivers: write a
// configuration, open the dialog again, read it back equal.
#include "Hlavni.h"
#include "HledaniOvladace.h"
#include "Kxxx410.h"
#include "NastavAdr.h"
#include "NastavCNT.h"
#include "NastavDIO.h"
#include "Pripojeni.h"
#include "fake_link.h"
#include "sim_process.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace {

// Runs `inside` on the modal dialog of type T that `open` brings up, from
// inside its modal loop; `inside` closes it.
template <typename T>
void with_dialog(const std::function<void()>& open, const std::function<void(T*)>& inside) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    auto tries = std::make_shared<int>(0);
    bool seen = false;
    QObject::connect(timer, &QTimer::timeout, [timer, inside, tries, &seen] {
        auto* dlg = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dlg && ++*tries < 500) return;
        timer->stop();
        timer->deleteLater();
        if (!dlg) return;
        seen = true;
        inside(dlg);
        if (dlg->isVisible()) dlg->reject();
    });
    timer->start();
    open();
    EXPECT_TRUE(seen) << "the dialog did not open";
}

QPushButton* button(QWidget* w, int n) {
    return w->findChild<QPushButton*>(QStringLiteral("Button%1").arg(n));
}
QString status(QWidget* w) {
    return w->findChild<QLabel*>(QStringLiteral("StatusBar1_0"))->text();
}
QCheckBox* box(QWidget* w, int n) {
    return w->findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(n));
}

// Reads one configuration register straight through the link.
int read_register(const TData& data, uint8_t reg) {
    uint8_t b0 = 0, b1 = reg, b2 = reg, b3 = 0, b4 = 0, chyba = 10;
    TOdpoved odpoved{};
    ProvedPrikaz(data.Rozhrani, data.Handle, data.Adresa, 102, 0, &b0, &b1, &b2, &b3, &b4, chyba,
                 odpoved);
    return chyba == 0 ? b3 : -1;
}

class E2eConfig : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::use_temp_settings_dir();
        OvladacUvolni();
        NastavAdresarOvladacu(QString());
    }
    void TearDown() override {
        OvladacUvolni();
        unsetenv("KM207_COM1");
    }

    // Opens the link from the connection dialog, as the operator does.
    void connect_link(TForm1& form, const std::function<void(TForm2*)>& fill) {
        with_dialog<TForm2>([&] { form.Pipojen1->trigger(); },
                            [&](TForm2* dlg) {
                                fill(dlg);
                                button(dlg, 1)->click();
                            });
        ASSERT_NE(form.Data, nullptr);
        ASSERT_TRUE(SpojeniOtevreno(form.Data));
    }
};

TEST_F(E2eConfig, DigitalSettingsOverUdpReadBackEqual) {
    SimProcess sim({"--address", "0", "--no-pty"});
    ASSERT_TRUE(sim.running()) << sim.output();
    TForm1 form;
    form.show();
    connect_link(form, [&](TForm2* dlg) {
        dlg->findChild<QComboBox*>(QStringLiteral("ComboBox2"))->setCurrentIndex(4);
        dlg->findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("127.0.0.1"));
        dlg->findChild<QLineEdit*>(QStringLiteral("Edit3"))
            ->setText(QString::number(sim.udp_port()));
        dlg->findChild<QLineEdit*>(QStringLiteral("Edit4"))->setText(QStringLiteral("200"));
    });
    ASSERT_EQ(form.Data->Rozhrani, 4);
    const TKonfigurace before = form.Data->Konfigurace;

    // A pattern that differs in every byte; written, then left with Cancel.
    auto wanted = [](int n) { return (n * 7) % 3 == 0 || n % 11 == 0; };
    with_dialog<TForm14>([&] { form.NastavDIO1->trigger(); },
                         [&](TForm14* dlg) {
                             for (int n = 1; n <= 96; ++n)
                                 box(dlg, n)->setChecked(wanted(n));
                             button(dlg, 1)->click();
                             EXPECT_EQ(status(dlg), QStringLiteral(" Konfigurace zapsána."));
                             button(dlg, 4)->click();
                         });
    EXPECT_EQ(form.Data->Konfigurace, before);
    // The module holds it: register 33 is DIN0-DIN7.
    uint8_t din0 = 0;
    for (int n = 1; n <= 8; ++n)
        if (wanted(n)) din0 |= static_cast<uint8_t>(1u << (n - 1));
    EXPECT_EQ(read_register(*form.Data, 33), din0);

    // Opened again it shows the record's defaults; "Přečíst" brings the
    // written pattern back, and "Ok" keeps it.
    with_dialog<TForm14>([&] { form.NastavDIO1->trigger(); },
                         [&](TForm14* dlg) {
                             EXPECT_TRUE(box(dlg, 1)->isChecked());
                             EXPECT_FALSE(box(dlg, 65)->isChecked());
                             button(dlg, 2)->click();
                             EXPECT_EQ(status(dlg), QStringLiteral(" Konfigurace přečtena."));
                             for (int n = 1; n <= 96; ++n)
                                 EXPECT_EQ(box(dlg, n)->isChecked(), wanted(n)) << n;
                             button(dlg, 3)->click();
                         });
    with_dialog<TForm14>([&] { form.NastavDIO1->trigger(); },
                         [&](TForm14* dlg) {
                             for (int n = 1; n <= 96; ++n)
                                 EXPECT_EQ(box(dlg, n)->isChecked(), wanted(n)) << n;
                         });
    form.close();
}

TEST_F(E2eConfig, AddressSpeedAndModeOverThePseudoTerminal) {
    SimProcess sim({"--address", "0", "--no-udp"});
    ASSERT_TRUE(sim.running()) << sim.output();
    ASSERT_FALSE(sim.pty().empty());
    setenv("KM207_COM1", sim.pty().c_str(), 1);
    TForm1 form;
    form.show();
    connect_link(form, [](TForm2*) {});

    with_dialog<TForm12>(
        [&] { form.AdresaRychlost1->trigger(); },
        [&](TForm12* dlg) {
            dlg->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("42"));
            dlg->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(7);
            button(dlg, 1)->click();
            EXPECT_EQ(status(dlg), QStringLiteral(" Konfigurace zapsána."));
            button(dlg, 4)->click();
        });
    // The new address waits for the module's next power-up; the link still
    // talks to the old one.
    EXPECT_EQ(form.Data->Adresa, 0);
    EXPECT_EQ(form.Data->Rychlost, 9600u);
    with_dialog<TForm12>([&] { form.AdresaRychlost1->trigger(); },
                         [&](TForm12* dlg) {
                             auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("Edit1"));
                             auto* combo = dlg->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
                             EXPECT_EQ(edit->text(), QStringLiteral("1"));
                             button(dlg, 2)->click();
                             EXPECT_EQ(status(dlg), QStringLiteral(" Konfigurace přečtena."));
                             EXPECT_EQ(edit->text(), QStringLiteral("42"));
                             EXPECT_EQ(combo->currentText(), QStringLiteral("57600 Bd"));
                         });

    auto* nastaveni = form.findChild<QAction*>(QStringLiteral("NastavAIN1"));
    ASSERT_NE(nastaveni, nullptr);
    with_dialog<TForm5>(
        [&] { nastaveni->trigger(); },
        [&](TForm5* dlg) {
            dlg->findChild<QRadioButton*>(QStringLiteral("RadioButton2"))->setChecked(true);
            button(dlg, 1)->click();
            EXPECT_EQ(status(dlg), QStringLiteral(" Konfigurace zapsána."));
            button(dlg, 4)->click();
        });
    with_dialog<TForm5>([&] { nastaveni->trigger(); },
                        [&](TForm5* dlg) {
                            auto* r2 =
                                dlg->findChild<QRadioButton*>(QStringLiteral("RadioButton2"));
                            EXPECT_FALSE(r2->isChecked());
                            button(dlg, 2)->click();
                            EXPECT_EQ(status(dlg), QStringLiteral(" Konfigurace přečtena."));
                            EXPECT_TRUE(r2->isChecked());
                        });
    EXPECT_EQ(read_register(*form.Data, 0), 1);
    form.close();
}

} // namespace
