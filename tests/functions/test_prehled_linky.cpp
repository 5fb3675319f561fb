// The line overview through its controls, on the test driver: a row per
// module with its values and flags in words and colour, a double click that
// makes a module the program's, a poll that sends nothing while another
// window holds the link, and a line file refused whole.
#include "PrehledLinky.h"
#include "Spojeni.h"
#include "test_live_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest/QTest>

using namespace livetest;
using testsupport::reply_bytes;
using testsupport::reply_status;
using testsupport::sent_requests;

namespace {

// Module 5 answers everything, its status word with PWR and ERR24 set;
// module 7 answers nothing.
fake::SendReply line_of_two(const uint32_t* request) {
    if (request[0] != 5) return reply_status(5);
    if (request[1] == 100 && request[2] == 0) return reply_bytes(0, 0x50, 0, 0, 0);
    if (request[1] == 0 && request[2] == 64) return reply_bytes(0, 0x0F, 0, 0, 0x80);
    return reply_bytes(0, 'K', 'M', '-', '2');
}

QString g_file;
QString chosen(QWidget*, const QString&, const QString&, bool) {
    return g_file;
}

class LineWindow : public LinkTest {
  protected:
    void SetUp() override {
        LinkTest::SetUp();
        QString error;
        ASSERT_TRUE(line.Nastav({{5, 4, {}, {}}, {7, 6, {}, QStringLiteral("pole 2")}}, error));
        form.Data = &data;
        form.Linka = &line;
        form.show();
        form.Timer1->stop(); // cycles by hand
        fake::set_responder(line_of_two);
        fake::clear_journal();
        saved = ZvolSoubor;
        ZvolSoubor = chosen;
    }
    void TearDown() override {
        ZvolSoubor = saved;
        form.hide();
        LinkTest::TearDown();
    }
    QString cell(int row, int column) const {
        return form.TabulkaModulu->item(row, column)->text();
    }
    QBrush background(int row) const { return form.TabulkaModulu->item(row, 0)->background(); }

    TLinka line;
    TForm17 form;
    QString (*saved)(QWidget*, const QString&, const QString&, bool) = nullptr;
};

TEST_F(LineWindow, EachModuleIsARowWithItsFlagsInWordsAndColour) {
    for (QPushButton* b : form.findChildren<QPushButton*>())
        EXPECT_FALSE(b->autoDefault()) << b->objectName().toStdString();
    EXPECT_FALSE(form.TabulkaModulu->accessibleName().isEmpty());
    form.findChild<QSpinBox*>(QStringLiteral("SpinBoxVynechani"))->setValue(1);
    form.Timer1Timer();

    ASSERT_EQ(form.TabulkaModulu->rowCount(), 2);
    EXPECT_EQ(cell(0, TForm17::SAdresa), QStringLiteral("5"));
    EXPECT_EQ(cell(1, TForm17::SRychlost), QStringLiteral("38400 Bd"));
    EXPECT_EQ(cell(1, TForm17::SPopis), QStringLiteral("pole 2"));
    EXPECT_EQ(cell(0, TForm17::SStav), QStringLiteral("odpovídá"));
    EXPECT_EQ(cell(0, TForm17::SBity), QStringLiteral("PWR ERR24"));
    EXPECT_EQ(cell(0, TForm17::SVstupy), QStringLiteral("0x8000000F"));
    EXPECT_TRUE(cell(0, TForm17::SPriznaky).contains(QStringLiteral("ERR24")));
    EXPECT_EQ(cell(1, TForm17::SStav), QStringLiteral("neodpovídá"));
    EXPECT_TRUE(cell(1, TForm17::SPriznaky).contains(QStringLiteral("neodpovídá")));
    EXPECT_EQ(cell(1, TForm17::SSelhani), QStringLiteral("1"));
    EXPECT_NE(background(0), QBrush());
    EXPECT_NE(background(1), background(0));
    // The next cycle a period after this one's start at the latest.
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_LE(form.Timer1->interval(), 1000);
}

TEST_F(LineWindow, DoubleClickMakesTheModuleTheProgramsModuleAtItsRate) {
    int shown = 0;
    form.ModulZmenen = [&] { ++shown; };
    form.Timer1Timer();
    fake::clear_journal();
    const QRect cell = form.TabulkaModulu->visualItemRect(form.TabulkaModulu->item(1, 0));
    // As the window system delivers a double click: press and release,
    // then the second press.
    QTest::mouseClick(form.TabulkaModulu->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(form.TabulkaModulu->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(data.Adresa, 7);
    EXPECT_EQ(data.Rychlost, 38400u);
    EXPECT_EQ(shown, 1);
    const std::vector<fake::Call> rates = fake::calls("KSER410_SetConfig");
    ASSERT_EQ(rates.size(), 1u);
    EXPECT_EQ(rates[0].args[1], 38400u);
    EXPECT_TRUE(sent_requests().empty());
}

TEST_F(LineWindow, NothingIsSentWhileAnotherWindowHoldsTheLink) {
    {
        const TUzivatelSpojeni other;
        form.Timer1Timer();
        EXPECT_TRUE(fake::journal().empty());
        EXPECT_TRUE(form.Timer1->isActive()); // it asks again a period later
    }
    form.Timer1Timer();
    EXPECT_FALSE(sent_requests().empty());
}

TEST_F(LineWindow, AFileCutShortIsRefusedWholeAndTheLineStays) {
    QTemporaryDir dir;
    g_file = dir.filePath(QStringLiteral("r3.km207linka"));
    form.findChild<QPushButton*>(QStringLiteral("ButtonUlozit"))->click();
    QFile file(g_file);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray whole = file.readAll();
    file.resize(whole.size() - 2);
    file.close();
    QString error;
    ASSERT_TRUE(line.Nastav({}, error));
    form.ObnovTabulku();
    form.findChild<QPushButton*>(QStringLiteral("ButtonOtevrit"))->click();
    EXPECT_EQ(form.TabulkaModulu->rowCount(), 0);
    EXPECT_TRUE(form.StatusBar1->Text(0).startsWith(QStringLiteral(" Soubor linky odmítnut: ")));
    EXPECT_TRUE(fake::journal().empty());

    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(whole);
    file.close();
    form.findChild<QPushButton*>(QStringLiteral("ButtonOtevrit"))->click();
    ASSERT_EQ(form.TabulkaModulu->rowCount(), 2);
    EXPECT_EQ(cell(1, TForm17::SPopis), QStringLiteral("pole 2"));
    EXPECT_EQ(form.SouborLinky(), g_file);
}

} // namespace
