// "Nahrát konfiguraci do modulu…" with files it must refuse, against the
// journal of the test driver: nothing may reach the module.
#include "Hlavni.h"
#include "shell_test_util.h"
#include "nonregular_files.h"

#include <QAction>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <map>

using namespace shelltest;

namespace {

QString chosen_file;

TEST_F(ShellTest, ACorruptOrOutOfRangeFileIsRefusedWithNothingSent) {
    const auto saved = ZvolSoubor;
    ZvolSoubor = [](QWidget*, const QString&, const QString&, bool) { return chosen_file; };
    TForm1 form;
    form.show();
    testsupport::open_fake_link(*form.Data, 0);
    QTemporaryDir dir;
    const QByteArray valid = "format = 1\nmodul = \"KM-207   v.1.02\"\n"
                             "precteno = 2024-05-01T14:03:07+02:00\nadresa = 5\n"
                             "rychlost = 9600\nmod_citace = 0\nnegace_din = 0xFFFFFFFF\n"
                             "negace_dout = 0xFFFFFFFF\npocatecni_stav_dout = 0x00000000\n";
    const struct {
        QByteArray text;
        const char* reason;
    } files[] = {
        {QByteArray(valid).replace("mod_citace = 0", "mod_citace = 3"), "řádek 6: "},
        {QByteArray(valid).replace("rychlost = 9600", "rychlost = 9601"), "řádek 5: "},
        {QByteArray(valid).replace("adresa = 5\n", ""), "chybí klíč"},
        {QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "nulový bajt"},
        {valid.left(valid.size() - 5), "neúplný"},
    };
    for (const auto& f : files) {
        chosen_file = dir.filePath(QStringLiteral("modul.km207"));
        QFile file(chosen_file);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(f.text);
        file.close();
        QString status;
        bool write_offered = true;
        when_modal([&](QWidget* w) {
            auto* label = child<QLabel>(w, "LabelStav");
            EXPECT_TRUE(QTest::qWaitFor([&] { return !label->text().isEmpty(); }, 5000));
            status = label->text();
            write_offered = child<QPushButton>(w, "ButtonZapsat")->isEnabled();
            QTest::mouseClick(child<QPushButton>(w, "ButtonZavrit"), Qt::LeftButton);
        });
        child<QAction>(&form, "NahratKonfiguraci1")->trigger();
        EXPECT_TRUE(status.startsWith(QStringLiteral("Soubor nelze použít: ")))
            << status.toStdString();
        EXPECT_TRUE(status.contains(QString::fromUtf8(f.reason))) << status.toStdString();
        EXPECT_TRUE(status.endsWith(QStringLiteral("Do modulu nebylo nic odesláno.")));
        EXPECT_FALSE(write_offered);
    }
    EXPECT_TRUE(testsupport::sent_requests().empty());
    testsupport::close_link(*form.Data);
    ZvolSoubor = saved;
}

// "Zastavit" right after a write went out: that register's value in the
// module is unknown, not the old one still to be changed.
TEST_F(ShellTest, AWriteStoppedBeforeItsReadBackLeavesTheRegisterUnknown) {
    const auto saved = ZvolSoubor;
    ZvolSoubor = [](QWidget*, const QString&, const QString&, bool) { return chosen_file; };
    TForm1 form;
    form.show();
    testsupport::open_fake_link(*form.Data, 0);
    static std::map<uint32_t, uint8_t> registers;
    static QPushButton* stop = nullptr;
    registers.clear();
    fake::set_responder([](const uint32_t* r) {
        if (r[1] == 103) {
            registers[r[4]] = static_cast<uint8_t>(r[6]);
            if (stop) QTimer::singleShot(0, stop, [] { stop->click(); });
        }
        const uint8_t v = registers[r[4]];
        return testsupport::reply_bytes(0, static_cast<uint8_t>(r[4]), static_cast<uint8_t>(r[4]),
                                        v, v);
    });
    QTemporaryDir dir;
    chosen_file = dir.filePath(QStringLiteral("modul.km207"));
    QFile file(chosen_file);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("format = 1\nmodul = \"KM-207   v.1.02\"\nprecteno = 2024-05-01T14:03:07+02:00\n"
               "adresa = 5\nrychlost = 600\nmod_citace = 0\nnegace_din = 0\nnegace_dout = 0\n"
               "pocatecni_stav_dout = 0\n");
    file.close();
    QStringList row;
    when_modal([&](QWidget* w) {
        // Polled, not waited for: the window reads the module from inside
        // this loop's pauses.
        auto* poll = new QTimer(w);
        QObject::connect(poll, &QTimer::timeout, w, [&row, w, poll] {
            auto* write = child<QPushButton>(w, "ButtonZapsat");
            if (!write->isEnabled()) return;
            poll->stop();
            stop = child<QPushButton>(w, "ButtonZastavit");
            write->click();
            stop = nullptr;
            const QTreeWidgetItem* first = child<QTreeWidget>(w, "TreeRegistry")->topLevelItem(0);
            for (int c = 0; c < 5; ++c)
                row << first->text(c);
            QTest::mouseClick(child<QPushButton>(w, "ButtonZavrit"), Qt::LeftButton);
        });
        poll->start(10);
        QTimer::singleShot(10000, w, [w] { w->close(); });
    });
    child<QAction>(&form, "NahratKonfiguraci1")->trigger();
    EXPECT_EQ(row, (QStringList{"63", "adresa", "?", "5", "neznámá"}));
    fake::set_responder(nullptr);
    testsupport::close_link(*form.Data);
    ZvolSoubor = saved;
}

TEST(ZvolSoubor, QtsOwnDialogTextsAreCzech) {
    ASSERT_TRUE(NactiCeskyPrekladQt());
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"),
              QStringLiteral("File &name:"));
}

TEST(ZvolSoubor, ANameWithoutExtensionGetsTheFiltersOne) {
    EXPECT_EQ(
        SPriponouFiltru(QStringLiteral("/d/modA"), QStringLiteral("Konfigurace KM-207 (*.km207)")),
        QStringLiteral("/d/modA.km207"));
    EXPECT_EQ(SPriponouFiltru(QStringLiteral("/d/log1"), QStringLiteral("CSV (*.csv)")),
              QStringLiteral("/d/log1.csv"));
    EXPECT_EQ(SPriponouFiltru(QStringLiteral("/d/modA.txt"), QStringLiteral("X (*.km207)")),
              QStringLiteral("/d/modA.txt"));
    EXPECT_EQ(SPriponouFiltru(QStringLiteral("/d/modA"), QStringLiteral("Všechny soubory (*)")),
              QStringLiteral("/d/modA"));
}

// Neither saving nor loading touches a FIFO, a folder or a link to one, and
// loading one never waits for a writer (what the platform has of these).
TEST_F(ShellTest, OnlyARegularFileIsSavedOrLoaded) {
    const auto saved = ZvolSoubor;
    ZvolSoubor = [](QWidget*, const QString&, const QString&, bool) { return chosen_file; };
    TForm1 form;
    form.show();
    testsupport::open_fake_link(*form.Data, 0);
    QTemporaryDir dir;
    const QStringList targets = testsupport::make_nonregular_files(dir.path());
    std::map<QString, bool> existed;
    for (const QString& target : targets)
        existed[target] = QFileInfo(target).exists();
    for (const QString& target : targets) {
        chosen_file = target;
        for (const char* action : {"UlozitKonfiguraci1", "NahratKonfiguraci1"}) {
            QString status;
            when_modal([&](QWidget* w) {
                auto* label = child<QLabel>(w, "LabelStav");
                EXPECT_TRUE(QTest::qWaitFor([&] { return !label->text().isEmpty(); }, 5000));
                status = label->text();
                QTest::mouseClick(child<QPushButton>(w, "ButtonZavrit"), Qt::LeftButton);
            });
            child<QAction>(&form, action)->trigger();
            EXPECT_TRUE(status.contains(QStringLiteral("není obyčejný soubor")))
                << action << ": " << status.toStdString();
        }
    }
    // Each is still what it was: none became a regular file or went away.
    for (const QString& target : targets) {
        EXPECT_FALSE(QFileInfo(target).isFile()) << target.toStdString();
        EXPECT_EQ(QFileInfo(target).exists(), existed[target]) << target.toStdString();
    }
    EXPECT_TRUE(testsupport::sent_requests().empty());
    testsupport::close_link(*form.Data);
    ZvolSoubor = saved;
}

} // namespace
