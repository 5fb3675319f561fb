// Module search from the connection dialog, through its controls, against
// two modules behind the test driver: address 3 answers at 9600 Bd, address
// 9 at 38400 Bd, each only at the rate the driver was set to.
#include "Hledani.h"
#include "Pripojeni.h"
#include "shell_test_util.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

using namespace shelltest;

namespace {

class Hledani : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        InitData(&data);
        modules();
    }
    // The two modules; again after anything that resets the test driver.
    void modules() {
        fake::set_observer([this](const fake::Call& c) {
            if (c.entry.ends_with("_SetConfig")) baud = static_cast<uint32_t>(c.args[1]);
            if (c.entry.ends_with("_Send") && on_send) on_send(++sends);
        });
        fake::set_responder([this](const uint32_t* r) {
            const bool here = (r[0] == 3 && baud == 9600) || (r[0] == 9 && baud == 38400);
            if (!here || r[1] != 200 || r[2] > 2) return testsupport::reply_status(5);
            static const char* const parts[] = {"KM-2", "07  ", "1.02"};
            const char* part = parts[r[2]];
            return testsupport::reply_bytes(0, part[0], part[1], part[2], part[3]);
        });
    }

    // Presses "Hledat…" in a connection dialog on the record and runs
    // `inside` on the search window, which it then closes unless `inside` did.
    void search(TForm2& dialog, const std::function<void(QWidget*)>& inside) {
        when_modal([inside](QWidget* modal) {
            ASSERT_NE(qobject_cast<TFormHledani*>(modal), nullptr);
            inside(modal);
            if (modal->isVisible()) modal->close();
        });
        QTest::mouseClick(child<QPushButton>(&dialog, "Button3"), Qt::LeftButton);
    }
    static void start(QWidget* w, int from, int to, bool all_rates) {
        child<QSpinBox>(w, "SpinBoxOd")->setValue(from);
        child<QSpinBox>(w, "SpinBoxDo")->setValue(to);
        child<QCheckBox>(w, "CheckBoxRychlosti")->setChecked(all_rates);
        QTest::mouseClick(child<QPushButton>(w, "ButtonHledat"), Qt::LeftButton);
    }

    TData data;
    uint32_t baud = 0;
    int sends = 0;
    std::function<void(int)> on_send;
};

TEST_F(Hledani, FindsBothModulesAtTheirRatesAndADoubleClickFillsTheEntries) {
    TForm2 dialog;
    dialog.Data = &data;
    dialog.show();
    search(dialog, [](QWidget* w) {
        start(w, 0, 12, true);
        auto* tree = child<QTreeWidget>(w, "TreeNalezene");
        ASSERT_EQ(tree->topLevelItemCount(), 2);
        const QStringList first{tree->topLevelItem(0)->text(0), tree->topLevelItem(0)->text(1),
                                tree->topLevelItem(0)->text(2)};
        EXPECT_EQ(first, (QStringList{"3", "9600 Bd", "KM-207   v.1.02"}));
        EXPECT_EQ(tree->topLevelItem(1)->text(0), QStringLiteral("9"));
        EXPECT_EQ(tree->topLevelItem(1)->text(1), QStringLiteral("38400 Bd"));
        auto* bar = child<QProgressBar>(w, "ProgressBar1");
        EXPECT_EQ(bar->value(), 13 * 9);
        EXPECT_EQ(bar->maximum(), 13 * 9);
        QCoreApplication::processEvents(); // the view lays out its new rows
        // A double click as the window system delivers it: press and
        // release, then the second press.
        const QPoint at = tree->visualItemRect(tree->topLevelItem(1)).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    });
    EXPECT_EQ(child<QLineEdit>(&dialog, "Edit1")->text(), QStringLiteral("9"));
    EXPECT_EQ(child<QComboBox>(&dialog, "ComboBox1")->currentIndex(), 6);

    // Only identification went out, over the interface opened for the
    // search alone; the record is as it was.
    const auto sent = testsupport::sent_requests();
    EXPECT_EQ(sent.size(), 13u * 9 + 4); // and P5 1, 2 of each module
    for (const auto& r : sent)
        EXPECT_EQ(r[1], 200u);
    EXPECT_EQ(fake::calls("KSER410_Init").size(), 1u);
    EXPECT_EQ(fake::calls("KSER410_Done").size(), 1u);
    EXPECT_FALSE(data.Pripojeno);
    EXPECT_EQ(data.Handle, 0u);
    EXPECT_EQ(data.Adresa, 0);
    EXPECT_EQ(data.Rychlost, 9600u);
    EXPECT_TRUE(data.Modul.isEmpty());
    EXPECT_EQ(child<QLabel>(&dialog, "Panel1")->text(), data.StavText);
}

TEST_F(Hledani, ZastavitStopsWithinOneExchangeAndTheOpenLinkGetsItsRateBack) {
    testsupport::open_fake_link(data, 0);
    modules();
    data.Rychlost = 19200;
    const uint32_t handle = data.Handle;
    TForm2 dialog;
    dialog.Data = &data;
    dialog.show();
    int clicked_at = -1;
    QString status;
    search(dialog, [&](QWidget* w) {
        auto* stop = child<QPushButton>(w, "ButtonZastavit");
        // The click waits for the search's next pause, as a real one would.
        on_send = [&, stop](int n) {
            if (n == 5)
                QTimer::singleShot(0, stop, [&, stop] {
                    clicked_at = sends;
                    QTest::mouseClick(stop, Qt::LeftButton);
                });
        };
        start(w, 0, 255, false);
        status = child<QLabel>(w, "LabelStav")->text();
    });
    ASSERT_GT(clicked_at, 0);
    EXPECT_LE(sends - clicked_at, 1);
    EXPECT_TRUE(status.startsWith(QStringLiteral("Hledání zastaveno na adrese ")))
        << status.toStdString();
    // Searched over the open link, which keeps its handle and gets its rate back.
    EXPECT_TRUE(fake::calls("KSER410_Init").empty());
    EXPECT_TRUE(fake::calls("KSER410_Done").empty());
    EXPECT_TRUE(data.Pripojeno);
    EXPECT_EQ(data.Handle, handle);
    EXPECT_EQ(baud, 19200u);
    testsupport::close_link(data);
}

// "Zavřít" while the search runs stops it and closes the window at once.
TEST_F(Hledani, ZavritDuringASearchStopsItAndCloses) {
    TForm2 dialog;
    dialog.Data = &data;
    dialog.show();
    bool open_after = true;
    search(dialog, [&](QWidget* w) {
        auto* close = child<QPushButton>(w, "ButtonZavrit");
        on_send = [&, close](int n) {
            if (n == 5) QTimer::singleShot(0, close, [close] { close->click(); });
        };
        start(w, 0, 255, false);
        open_after = w->isVisible();
    });
    EXPECT_FALSE(open_after);
    EXPECT_LT(sends, 10);
}

// The search names and opens the port "Inicializace připojení" would open:
// the typed number's low 16 bits, not the record's 8.
TEST_F(Hledani, ACom300EntryIsNamedAndOpenedAsCom300) {
    TForm2 dialog;
    dialog.Data = &data;
    dialog.show();
    child<QLineEdit>(&dialog, "Edit2")->setText(QStringLiteral("300"));
    QString named;
    search(dialog, [&](QWidget* w) {
        named = child<QLabel>(w, "LabelRozhrani")->text();
        start(w, 3, 3, false);
    });
    EXPECT_EQ(named.toStdString(), "Rozhraní: Standardní COMx, port COM300");
    const auto init = fake::calls("KSER410_Init");
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(init[0].args[1], 300u);
}

TEST_F(Hledani, EntriesThatCannotBeUsedAreSaidAndNothingIsOpened) {
    data.Rozhrani = 4;
    TForm2 dialog;
    dialog.Data = &data;
    dialog.show();
    child<QLineEdit>(&dialog, "Edit3")->setText(QStringLiteral("65536"));
    search(dialog, [](QWidget* w) {
        EXPECT_FALSE(child<QPushButton>(w, "ButtonHledat")->isEnabled());
        EXPECT_EQ(child<QLabel>(w, "LabelStav")->text(), QStringLiteral("Neplatný UDP port"));
    });
    EXPECT_TRUE(fake::journal().empty());
    EXPECT_EQ(data.UdpPort, 5000u);
}

} // namespace
