// The communication log in the main window, through its list, its labels and
// its context menu, with the test driver bound as the program binds one.
#include "Hlavni.h"
#include "Prikazy.h"
#include "pe_header.h"
#include "shell_test_util.h"

#include <QAction>
#include <QBrush>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace shelltest;

namespace {

class Protokol : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        form = std::make_unique<TForm1>();
        form->show();
        testsupport::open_fake_link(*form->Data, 0);
        list = child<QListView>(form.get(), "ListProtokol");
    }
    void TearDown() override {
        ZvolSoubor = saved_chooser;
        testsupport::close_link(*form->Data);
        form.reset();
        ShellTest::TearDown();
    }
    // Sends one command to address 7 through the bound driver.
    void send(uint8_t prikaz, uint8_t p5, uint8_t b1, uint8_t b3) {
        uint8_t b0 = 0, b2 = b1, b4 = 0, chyba = 0;
        TOdpoved odpoved{};
        ProvedPrikaz(0, form->Data->Handle, 7, prikaz, p5, &b0, &b1, &b2, &b3, &b4, chyba, odpoved);
    }
    // Waits for the view to show `n` lines (it follows the log a few times
    // a second) and returns them.
    QStringList lines(int n) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount() == n; }, 5000))
            << list->model()->rowCount();
        QStringList out;
        for (int i = 0; i < list->model()->rowCount(); ++i)
            out << list->model()->index(i, 0).data().toString();
        return out;
    }
    QString label(const char* name) { return child<QLabel>(form.get(), name)->text(); }

    std::unique_ptr<TForm1> form;
    QListView* list = nullptr;
    decltype(ZvolSoubor) saved_chooser = ZvolSoubor;
};

TEST_F(Protokol, EveryCommandOfTheTableIsOneDecodedLineAndFailuresAreMarked) {
    const std::vector<TPopisPrikazu>& table = TabulkaPrikazu();
    const size_t failing = 5;
    for (size_t i = 0; i < table.size(); ++i) {
        fake::push_reply(i == failing ? testsupport::reply_status(5)
                                      : testsupport::reply_bytes(0, 0x11, 0x22, 0x33, 0x44));
        send(table[i].Prikaz, static_cast<uint8_t>(std::max(table[i].P5, 0)), 62,
             static_cast<uint8_t>(i));
    }
    const QStringList shown = lines(static_cast<int>(table.size()));
    ASSERT_EQ(shown.size(), static_cast<int>(table.size()));
    for (size_t i = 0; i < table.size(); ++i) {
        const QString& line = shown[static_cast<int>(i)];
        const QString meaning = QString::number(table[i].Prikaz) + QLatin1Char(' ') +
                                QString::fromUtf8(table[i].Vyznam);
        EXPECT_TRUE(line.contains(QStringLiteral("  adr 7  ") + meaning)) << line.toStdString();
        EXPECT_TRUE(line.contains(
            QStringLiteral("00 3E 3E %1 00 -> ").arg(i, 2, 16, QLatin1Char('0')).toUpper()))
            << line.toStdString();
        const QModelIndex index = list->model()->index(static_cast<int>(i), 0);
        const bool red = index.data(Qt::ForegroundRole).value<QBrush>().color() == Qt::red;
        if (i == failing) {
            EXPECT_TRUE(line.contains(QStringLiteral("00 00 00 00 00  CHYBA 5 Modul neodpovídá")))
                << line.toStdString();
            EXPECT_TRUE(red);
        } else {
            EXPECT_TRUE(line.contains(QStringLiteral("00 11 22 33 44  0 V pořádku")))
                << line.toStdString();
            EXPECT_FALSE(red);
        }
        EXPECT_TRUE(line.endsWith(QStringLiteral(" ms"))) << line.toStdString();
    }
    // Register commands name their register.
    EXPECT_TRUE(shown[14].contains(QStringLiteral("102 čtení registru 62 (rychlost)")));
    EXPECT_TRUE(shown[15].contains(QStringLiteral("103 zápis registru 62 (rychlost)")));
    EXPECT_TRUE(
        label("LabelStatistika")
            .startsWith(QStringLiteral("příkazů %1, chyb 1 (5: 1x), doba min ").arg(table.size())))
        << label("LabelStatistika").toStdString();
    // The library the link bound, by its path.
    EXPECT_EQ(
        label("LabelOvladac"),
        QStringLiteral("Ovladač: ") +
            QDir::toNativeSeparators(
                QDir(QStringLiteral(FAKE_DIR)).filePath(QStringLiteral("KSER410" FAKE_SUFFIX))));
}

// The maker's 32-bit library with no Wine (on Windows no 32-bit host) to run
// it: the driver line says why, in words, where it names the bound library
// otherwise.
TEST_F(Protokol, TheDriverLineSaysWhyAMakersLibraryCannotRun) {
    testsupport::close_link(*form->Data);
    QTemporaryDir dir;
    ASSERT_TRUE(testsupport::write_pe_header(dir.filePath(QStringLiteral("KSER410.DLL")), 0x014C));
    NastavAdresarOvladacu(dir.path());
    qputenv("KM207_WINE", "/nonexistent/wine");
    uint32_t handle = 0;
    EXPECT_EQ(OvladacInit(0, handle, form->Data->KonfigOvladace), 100u);
    qunsetenv("KM207_WINE");
    NastavAdresarOvladacu(QString());
    child<TProtokolKomunikace>(form.get(), "Protokol")->Obnov();
#ifdef Q_OS_WIN
    // Windows runs it in the 32-bit host beside the program; the tests' folder has none.
    const QString why =
        QStringLiteral("Ovladač: žádný – vedle programu chybí km207-driverhost.exe");
#else
    const QString why = QStringLiteral("Ovladač: žádný – program Wine není nainstalován");
#endif
    EXPECT_TRUE(label("LabelOvladac").startsWith(why)) << label("LabelOvladac").toStdString();
}

// At the default size the statistics show whole, before and after a save,
// and Shift+F10 opens the context menu.
TEST_F(Protokol, TheStatisticsShowWholeAndShiftF10OpensTheMenu) {
    form->resize(600, 400);
    for (int i = 0; i < 50; ++i)
        send(102, 0, 62, 0);
    // Paused: the longest form of the line.
    child<QAction>(form.get(), "ActionPozastavit")->trigger();
    QTemporaryDir dir;
    static QString chosen;
    chosen = dir.filePath(QStringLiteral("log1"));
    ZvolSoubor = [](QWidget*, const QString&, const QString&, bool) { return chosen; };
    auto* stats = child<QLabel>(form.get(), "LabelStatistika");
    auto* message = child<QLabel>(form.get(), "LabelZprava");
    for (bool saved : {false, true}) {
        if (saved) child<QAction>(form.get(), "ActionUlozit")->trigger();
        form->Protokol1->Obnov();
        QTest::qWait(50);
        EXPECT_TRUE(stats->text().contains(QStringLiteral("max"))) << stats->text().toStdString();
        EXPECT_GE(stats->contentsRect().width(),
                  stats->fontMetrics().horizontalAdvance(stats->text()))
            << stats->text().toStdString();
        EXPECT_FALSE(message->isVisible() && message->geometry().intersects(stats->geometry()));
    }
    EXPECT_TRUE(message->isVisible());

    bool opened = false;
    QTimer::singleShot(0, [&] {
        QWidget* menu = QApplication::activePopupWidget();
        opened = menu != nullptr;
        if (menu) menu->close();
    });
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(opened);
}

TEST_F(Protokol, TheBoundHoldsAfter20000CommandsAndTheCsvReadsBack) {
    for (int i = 0; i < 20000; ++i)
        send(102, 0, static_cast<uint8_t>(i & 0xFF), static_cast<uint8_t>(i >> 8));
    const QStringList shown = lines(10000);
    ASSERT_EQ(shown.size(), 10000);
    // The oldest 10,000 are gone: the first line is command 10,000 (0x2710).
    EXPECT_TRUE(shown.front().contains(QStringLiteral("00 10 10 27 00 ->")));
    EXPECT_TRUE(shown.back().contains(QStringLiteral("00 1F 1F 4E 00 ->")));
    EXPECT_TRUE(label("LabelStatistika").startsWith(QStringLiteral("příkazů 20000, chyb 0")));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("komunikace.csv"));
    static QString chosen;
    chosen = path;
    ZvolSoubor = [](QWidget*, const QString&, const QString&, bool) { return chosen; };
    child<QAction>(form.get(), "ActionUlozit")->trigger();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(rows.size(), 10002); // header, 10,000 records, nothing after the last line end
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("čas,rozhraní,adresa,příkaz,P5,význam")));
    const QStringList first = rows[1].split(QLatin1Char(','));
    ASSERT_EQ(first.size(), 11);
    EXPECT_EQ(first[1], QStringLiteral("COMx"));
    EXPECT_EQ(first[2], QStringLiteral("7"));
    EXPECT_EQ(first[3], QStringLiteral("102"));
    EXPECT_EQ(first[5], QStringLiteral("102 čtení registru 16"));
    EXPECT_EQ(first[6], QStringLiteral("00 10 10 27 00"));
    EXPECT_EQ(first[8], QStringLiteral("0"));
    EXPECT_TRUE(rows[10000].contains(QStringLiteral("00 1F 1F 4E 00")));
    EXPECT_TRUE(rows[10001].isEmpty());

    // Paused, nothing is kept; cleared, nothing is left.
    child<QAction>(form.get(), "ActionPozastavit")->trigger();
    send(0, 80, 0, 0);
    form->Protokol1->Obnov();
    EXPECT_EQ(list->model()->rowCount(), 10000);
    EXPECT_TRUE(label("LabelStatistika").startsWith(QStringLiteral("pozastaveno, příkazů 20000,")));
    child<QAction>(form.get(), "ActionVymazat")->trigger();
    EXPECT_EQ(list->model()->rowCount(), 0);
    EXPECT_EQ(label("LabelStatistika"), QStringLiteral("pozastaveno, příkazů 0, chyb 0"));
}

} // namespace
