// Windows under faults: the emulator going away in the middle of a transfer
// or of a live view, and garbage typed into every edit of every dialog.
#include "HledaniOvladace.h"
#include "Kxxx410.h"
#include "NastavAdr.h"
#include "NastavCNT.h"
#include "NastavDIO.h"
#include "OkamCNT.h"
#include "OkamDIN.h"
#include "OkamDOUT.h"
#include "Pripojeni.h"
#include "RTC.h"
#include "StatReg.h"
#include "fake_link.h"
#include "sim_process.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <random>

namespace {

constexpr uint32_t kUdpTimeoutMs = 100;

QString status(QWidget* w) {
    auto* l = w->findChild<QLabel*>(QStringLiteral("StatusBar1_0"));
    return l ? l->text() : QString();
}

QPushButton* button(QWidget* w, int n) {
    return w->findChild<QPushButton*>(QStringLiteral("Button%1").arg(n));
}

// True when `text` is one blank and the text of a nonzero code of the driver.
bool is_driver_error(const QString& text, uint8_t kind) {
    for (uint32_t k = 1; k < 100; ++k) {
        const QString t = TextChyby(kind, k);
        if (!t.isEmpty() && text == QLatin1Char(' ') + t) return true;
    }
    return false;
}

// Opens the LAN driver through the connection dialog, as the operator does.
bool connect_udp(TData& data, uint16_t port) {
    TForm2 dlg;
    dlg.Data = &data;
    dlg.show();
    dlg.findChild<QComboBox*>(QStringLiteral("ComboBox2"))->setCurrentIndex(4);
    dlg.findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("127.0.0.1"));
    dlg.findChild<QLineEdit*>(QStringLiteral("Edit3"))->setText(QString::number(port));
    dlg.findChild<QLineEdit*>(QStringLiteral("Edit4"))->setText(QString::number(kUdpTimeoutMs));
    dlg.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("0"));
    dlg.Button1->click();
    dlg.hide();
    return SpojeniOtevreno(&data);
}

class EmulatorStops : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::use_temp_settings_dir();
        OvladacUvolni();
        NastavAdresarOvladacu(QString());
    }
    void TearDown() override {
        if (SpojeniOtevreno(&data_)) {
            uint32_t h = data_.Handle;
            OvladacDone(data_.Rozhrani, h);
        }
        OvladacUvolni();
    }
    TData data_;
};

TEST_F(EmulatorStops, InTheMiddleOfADigitalSettingsWrite) {
    // Every reply 15 ms late: the write of twelve registers with read-backs
    // takes long enough to be cut in the middle.
    auto sim = std::make_unique<SimProcess>(
        std::vector<std::string>{"--address", "0", "--no-pty", "--fault", "delay:p=1,ms=15"});
    ASSERT_TRUE(sim->running()) << sim->output();
    const uint16_t port = sim->udp_port();
    ASSERT_TRUE(connect_udp(data_, port));

    TForm14 dlg;
    dlg.Data = &data_;
    dlg.show();
    for (int n = 1; n <= 96; ++n)
        dlg.findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(n))->setChecked(n % 3 == 0);

    QString at_kill;
    QTimer::singleShot(120, [&] {
        at_kill = status(&dlg);
        sim->stop();
    });
    QElapsedTimer t;
    t.start();
    dlg.Button1->click();
    const qint64 took = t.elapsed();
    EXPECT_TRUE(at_kill.startsWith(QStringLiteral(" Probíhá zápis"))) << at_kill.toStdString();
    EXPECT_TRUE(is_driver_error(status(&dlg), data_.Rozhrani)) << status(&dlg).toStdString();
    EXPECT_LT(took, 5000);
    std::printf("[faults] TForm14 write cut: status '%s' after %lld ms\n",
                status(&dlg).toStdString().c_str(), static_cast<long long>(took));

    // Still usable: "Přečíst" answers with the error again, in bounded time.
    t.restart();
    dlg.Button2->click();
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_TRUE(is_driver_error(status(&dlg), data_.Rozhrani)) << status(&dlg).toStdString();

    // The emulator comes back on the same port: the same dialog writes again.
    sim = std::make_unique<SimProcess>(
        std::vector<std::string>{"--address", "0", "--no-pty", "--udp-port", std::to_string(port)});
    ASSERT_TRUE(sim->running()) << sim->output();
    dlg.Button1->click();
    EXPECT_EQ(status(&dlg), QStringLiteral(" Konfigurace zapsána."));
    dlg.Button4->click();
    EXPECT_FALSE(dlg.isVisible());

    // And a new connection through the connection dialog works.
    ASSERT_TRUE(connect_udp(data_, port));
    TForm14 again;
    again.Data = &data_;
    again.show();
    again.Button2->click();
    EXPECT_EQ(status(&again), QStringLiteral(" Konfigurace přečtena."));
    EXPECT_TRUE(again.findChild<QCheckBox*>(QStringLiteral("CheckBox3"))->isChecked());
    EXPECT_FALSE(again.findChild<QCheckBox*>(QStringLiteral("CheckBox4"))->isChecked());
    again.Button4->click();
}

TEST_F(EmulatorStops, WhileTheCounterViewPolls) {
    auto sim = std::make_unique<SimProcess>(std::vector<std::string>{"--address", "0", "--no-pty"});
    ASSERT_TRUE(sim->running()) << sim->output();
    const uint16_t port = sim->udp_port();
    ASSERT_TRUE(connect_udp(data_, port));
    const QString ok = QLatin1Char(' ') + TextChyby(data_.Rozhrani, 0);

    TForm6 dlg;
    dlg.Data = &data_;
    dlg.show();
    QTest::qWait(350);
    EXPECT_EQ(status(&dlg), ok);

    sim->stop();
    QTest::qWait(static_cast<int>(kUdpTimeoutMs) * 3 * 2 + 400);
    EXPECT_TRUE(is_driver_error(status(&dlg), data_.Rozhrani)) << status(&dlg).toStdString();
    std::printf("[faults] TForm6 polling: status '%s'\n", status(&dlg).toStdString().c_str());
    EXPECT_TRUE(dlg.Timer1->isActive()); // keeps polling

    // "Nulovat" still answers, with the error, in bounded time.
    QElapsedTimer t;
    t.start();
    dlg.Button1->click();
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_TRUE(is_driver_error(status(&dlg), data_.Rozhrani)) << status(&dlg).toStdString();

    // The emulator returns; the view recovers by itself.
    sim = std::make_unique<SimProcess>(
        std::vector<std::string>{"--address", "0", "--no-pty", "--udp-port", std::to_string(port)});
    ASSERT_TRUE(sim->running()) << sim->output();
    QTest::qWait(1200);
    EXPECT_EQ(status(&dlg), ok);
    dlg.Button2->click();
    EXPECT_FALSE(dlg.isVisible());

    // A new connection works too.
    ASSERT_TRUE(connect_udp(data_, port));
    TForm6 again;
    again.Data = &data_;
    again.show();
    QTest::qWait(350);
    EXPECT_EQ(status(&again), ok);
    again.Button2->click();
}

// ---- garbage typed into every edit ---------------------------------------

QStringList garbage_texts() {
    QStringList out;
    std::mt19937 rng(20261207);
    const QString alphabet =
        QStringLiteral("abcxyzG$0123456789 -+.,:;/\\\"'ěščřžýáíéůúĚŠČŘŽ@#%&*()[]{}<>?!~");
    for (int k = 0; k < 6; ++k) {
        QString s = QStringLiteral("g");
        const int len = 1 + static_cast<int>(rng() % 40);
        for (int i = 0; i < len; ++i)
            s += alphabet[static_cast<int>(rng() % alphabet.size())];
        out << s;
    }
    QString control = QStringLiteral("g");
    for (int c = 1; c < 32; ++c)
        control += QChar(c);
    control += QChar(0x7F);
    out << control;
    out << QStringLiteral("g") + QString(10000, QLatin1Char('9'));
    out << QStringLiteral("g") + QString(10000, QChar(0x0416));
    out << QStringLiteral("g日本語テキスト العربية русский текст 🙂");
    out << QStringLiteral("g\u202Eevil\u200B\uFEFF") + QChar(0xD800); // lone surrogate
    out << QStringLiteral("g999999999999999999999999999999999");
    out << QStringLiteral("g-1");
    out << QStringLiteral("g0x") + QString(300, QLatin1Char('F'));
    return out;
}

bool closes(QPushButton* b) {
    const QString t = b->text();
    return t == QStringLiteral("Ok") || t == QStringLiteral("OK") || t == QStringLiteral("Cancel");
}

class Garbage : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::use_temp_settings_dir();
        testsupport::open_fake_link(data_, 0);
    }
    void TearDown() override { testsupport::close_link(data_); }

    // Every edit gets `text`, typed as well as set; then every button that
    // does not close the dialog is clicked.
    void pound(QDialog& dlg, const QString& text) {
        for (QLineEdit* e : dlg.findChildren<QLineEdit*>()) {
            e->clear();
            // Key events exist only for printable ASCII; the rest is pasted.
            QString typed;
            for (QChar c : text.left(30))
                if (c.unicode() >= 0x20 && c.unicode() < 0x7F) typed += c;
            QTest::keyClicks(e, typed);
            e->setText(text);
        }
        for (QPushButton* b : dlg.findChildren<QPushButton*>()) {
            if (closes(b) || !b->isVisible() || !b->isEnabled()) continue;
            // A window the button opens (the module search) is closed again.
            QTimer::singleShot(0, &dlg, [&dlg] {
                QWidget* opened = QApplication::activeModalWidget();
                if (opened && opened != &dlg) opened->close();
            });
            b->click();
            QCoreApplication::processEvents();
        }
    }

    template <typename T> void pound_dialog(const QStringList& texts) {
        T dlg;
        dlg.Data = &data_;
        dlg.show();
        for (const QString& s : texts)
            pound(dlg, s);
        QTest::qWait(20);
        dlg.reject();
        EXPECT_FALSE(dlg.isVisible());
    }

    TData data_;
};

TEST_F(Garbage, AddressDialogShowsItsRangeMessage) {
    TForm12 dlg;
    dlg.Data = &data_;
    dlg.show();
    auto* edit = dlg.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    ASSERT_NE(edit, nullptr);
    for (const QString& s : garbage_texts()) {
        pound(dlg, s);
        edit->setText(s);
        button(&dlg, 1)->click();
        EXPECT_EQ(status(&dlg), QStringLiteral(" Adresa modulu musí být v rozsahu 0-255."))
            << s.left(40).toStdString();
    }
    // "Zapsat" with a bad address never wrote to the module, while "Přečíst"
    // did reach it.
    bool read = false;
    for (const auto& r : testsupport::sent_requests()) {
        EXPECT_NE(r[1], 103u);
        read = read || r[1] == 102u;
    }
    EXPECT_TRUE(read);
    dlg.reject();
}

TEST_F(Garbage, ConnectionDialogShowsItsMessages) {
    const QStringList texts = garbage_texts();
    TForm2 dlg;
    dlg.Data = &data_;
    dlg.show();
    auto* combo = dlg.findChild<QComboBox*>(QStringLiteral("ComboBox2"));
    auto* panel = dlg.findChild<QLabel*>(QStringLiteral("Panel1"));
    auto edit = [&](int n) { return dlg.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n)); };
    ASSERT_NE(panel, nullptr);
    for (int kind = 0; kind < combo->count(); ++kind) {
        combo->setCurrentIndex(kind);
        for (const QString& s : texts)
            pound(dlg, s);
    }
    combo->setCurrentIndex(4);
    for (const QString& s : texts) {
        edit(1)->setText(s);
        edit(2)->setText(QString());
        dlg.Button1->click();
        EXPECT_EQ(panel->text(), QStringLiteral("Neplatná IP adresa"));

        edit(2)->setText(s);
        edit(3)->setText(s);
        dlg.Button1->click();
        EXPECT_EQ(panel->text(), QStringLiteral("Neplatný UDP port")) << s.left(40).toStdString();

        edit(2)->setText(QStringLiteral("127.0.0.1"));
        edit(3)->setText(QStringLiteral("5000"));
        edit(4)->setText(s);
        dlg.Button1->click();
        EXPECT_EQ(panel->text(), QStringLiteral("Neplatný UDP timeout"))
            << s.left(40).toStdString();
        // The address is shown back as a number.
        bool number = false;
        edit(1)->text().toUInt(&number);
        EXPECT_TRUE(number) << edit(1)->text().left(40).toStdString();
    }
    dlg.reject();
}

TEST_F(Garbage, EveryOtherDialogSurvives) {
    const QStringList texts = garbage_texts();
    pound_dialog<TForm5>(texts);
    pound_dialog<TForm14>(texts);
    pound_dialog<TForm3>(texts);
    pound_dialog<TForm15>(texts);
    pound_dialog<TForm6>(texts);
    pound_dialog<TForm11>(texts);
    pound_dialog<TForm9>(texts);
    EXPECT_TRUE(SpojeniOtevreno(&data_));
}

} // namespace
