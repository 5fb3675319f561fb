// Connection dialog through its controls, with the test driver bound as the
// program binds a real one.
#include "Pripojeni.h"
#include "shell_test_util.h"
#include "window_check.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace shelltest;

namespace {

// The driver's own text of a code, read through a binding of its own.
QString driver_text(uint8_t kind, uint32_t code) {
    testsupport::use_fake_drivers();
    uint32_t handle = 0;
    TKonfigOvladace konfig{};
    EXPECT_EQ(OvladacInit(kind, handle, konfig), 0u);
    const QString text = TextChyby(kind, code);
    OvladacDone(kind, handle);
    testsupport::use_fake_drivers();
    EXPECT_FALSE(text.isEmpty());
    return text;
}

// Identification replies of a module called "KM-207  " with firmware 1.02.
void push_identification(uint8_t b0 = 0) {
    fake::push_reply(testsupport::reply_bytes(b0, 'K', 'M', '-', '2'));
    fake::push_reply(testsupport::reply_bytes(b0, '0', '7', ' ', ' '));
    fake::push_reply(testsupport::reply_bytes(b0, '1', '.', '0', '2'));
}

const QString kUspech = QStringLiteral("Připojení úspěšně inicializováno. Připojen modul   ");

class Pripojeni : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        InitData(&data);
    }
    void TearDown() override {
        dialog.reset();
        ShellTest::TearDown();
    }

    // Opens a fresh dialog on the record, as the main window does.
    void open() {
        dialog = std::make_unique<TForm2>();
        dialog->Data = &data;
        dialog->show();
    }

    QLineEdit* edit(const char* name) { return child<QLineEdit>(dialog.get(), name); }
    QLabel* label(const char* name) { return child<QLabel>(dialog.get(), name); }
    QComboBox* combo(const char* name) { return child<QComboBox>(dialog.get(), name); }
    QString status() { return label("Panel1")->text(); }
    void connect_click() {
        QTest::mouseClick(child<QPushButton>(dialog.get(), "Button1"), Qt::LeftButton);
    }
    void set_text(const char* name, const QString& text) { edit(name)->setText(text); }

    TData data;
    std::unique_ptr<TForm2> dialog;
};

TEST(PripojeniTabulky, BaudTablesAndTheirDefaults) {
    const uint32_t rates[] = {600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    const uint32_t timing[] = {100, 100, 50, 25, 13, 7, 5, 5, 5};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(IndexNaRychlost(i), rates[i]);
        EXPECT_EQ(RychlostNaIndex(rates[i]), i);
        EXPECT_EQ(IndexNaCasovani(i), timing[i]);
    }
    EXPECT_EQ(IndexNaRychlost(-1), 9600u);
    EXPECT_EQ(IndexNaRychlost(9), 9600u);
    EXPECT_EQ(RychlostNaIndex(1234), 4);
    EXPECT_EQ(RychlostNaIndex(0), 4);
    EXPECT_EQ(IndexNaCasovani(-1), 13u);
    EXPECT_EQ(IndexNaCasovani(9), 13u);
}

TEST_F(Pripojeni, ControlsCarryTheirNamesAndCaptions) {
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Připojení modulu"));
    EXPECT_EQ(dialog->size(), QSize(592, 373));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    const QRect screen = dialog->screen()->availableGeometry();
    EXPECT_LE((dialog->frameGeometry().center() - screen.center()).manhattanLength(), 2);
    EXPECT_EQ(label("Label5")->text(), QStringLiteral("Komunikační rozhraní"));
    EXPECT_EQ(label("Label1")->text(), QStringLiteral("Adresa připojeného modulu"));
    EXPECT_EQ(label("Label2")->text(), QStringLiteral("Komunikační rychlost"));
    EXPECT_EQ(label("Label4")->text(), QStringLiteral("Status připojení"));
    const QStringList kinds{"Standardní COMx", "ISA karta KIB-410", "PCI karta KPB-4100",
                            "USB konvertor KUB-4100", "LAN konvertor KL-4100"};
    ASSERT_EQ(combo("ComboBox2")->count(), kinds.size());
    for (int i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(combo("ComboBox2")->itemText(i), kinds[i]);
    ASSERT_EQ(combo("ComboBox1")->count(), 9);
    EXPECT_EQ(combo("ComboBox1")->itemText(0), QStringLiteral("600 Bd"));
    EXPECT_EQ(combo("ComboBox1")->itemText(8), QStringLiteral("115200 Bd"));
    auto* b1 = child<QPushButton>(dialog.get(), "Button1");
    auto* b2 = child<QPushButton>(dialog.get(), "Button2");
    EXPECT_EQ(b1->text(), QStringLiteral("Inicializace připojení"));
    EXPECT_EQ(b2->text(), QStringLiteral("Cancel"));
    for (QPushButton* b : {b1, b2}) {
        EXPECT_FALSE(b->autoDefault());
        EXPECT_FALSE(b->isDefault());
    }
    for (const char* name :
         {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7", "Panel1"})
        EXPECT_EQ(label(name)->textFormat(), Qt::PlainText) << name;
    QLabel* panel = label("Panel1");
    EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);
    EXPECT_TRUE(panel->autoFillBackground());
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(panel->alignment() & Qt::AlignLeft);
}

TEST_F(Pripojeni, FormShowFillsTheDefaults) {
    open();
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("0"));
    EXPECT_EQ(combo("ComboBox1")->currentIndex(), 4);
    EXPECT_EQ(combo("ComboBox2")->currentIndex(), 0);
    EXPECT_TRUE(label("Label3")->isVisible());
    EXPECT_EQ(label("Label3")->text(), QStringLiteral("Číslo portu COMx"));
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("1"));
    for (const char* name : {"Edit3", "Edit4"})
        EXPECT_FALSE(edit(name)->isVisible()) << name;
    for (const char* name : {"Label6", "Label7"})
        EXPECT_FALSE(label(name)->isVisible()) << name;
    EXPECT_EQ(status(), QStringLiteral("Připojení modulu dosud neinicializováno"));
}

// A key with Alt or Ctrl is meant as a shortcut: it never picks an item.
TEST_F(Pripojeni, AShortcutKeyNeverChangesTheKindOrTheRate) {
    open();
    for (const char* name : {"ComboBox2", "ComboBox1"}) {
        QComboBox* c = combo(name);
        c->setFocus();
        const int before = c->currentIndex();
        for (Qt::Key k : {Qt::Key_I, Qt::Key_U, Qt::Key_P, Qt::Key_L, Qt::Key_1})
            QTest::keyClick(c, k, Qt::AltModifier);
        QTest::keyClick(c, Qt::Key_U, Qt::ControlModifier);
        EXPECT_EQ(c->currentIndex(), before) << name;
    }
    QTest::keyClick(combo("ComboBox2"), Qt::Key_U);
    EXPECT_EQ(combo("ComboBox2")->currentIndex(), 3) << "a plain letter still searches";
}

TEST_F(Pripojeni, FormShowFillsEachKindFromTheRecord) {
    data.Adresa = 17;
    data.Rychlost = 1234; // not in the table: 9600 is selected
    data.Rozhrani = 1;
    data.BazovaAdresa = 0x2A0;
    data.StavText = QStringLiteral("V pořádku");
    open();
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("17"));
    EXPECT_EQ(combo("ComboBox1")->currentIndex(), 4);
    EXPECT_EQ(label("Label3")->text(), QStringLiteral("Bázová adresa KIB-410"));
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("2A0h"));
    EXPECT_EQ(status(), QStringLiteral("V pořádku"));

    data.Rozhrani = 4;
    data.IpAdresa = QStringLiteral("10.0.0.7");
    data.UdpPort = 6001;
    data.UdpTimeout = 250;
    data.Rychlost = 115200;
    open();
    EXPECT_EQ(combo("ComboBox1")->currentIndex(), 8);
    EXPECT_EQ(label("Label3")->text(), QStringLiteral("IP adresa"));
    EXPECT_EQ(label("Label6")->text(), QStringLiteral("UDP port"));
    EXPECT_EQ(label("Label7")->text(), QStringLiteral("UDP timeout"));
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("10.0.0.7"));
    EXPECT_EQ(edit("Edit3")->text(), QStringLiteral("6001"));
    EXPECT_EQ(edit("Edit4")->text(), QStringLiteral("250"));
    for (const char* name : {"Edit2", "Edit3", "Edit4"})
        EXPECT_TRUE(edit(name)->isVisible());

    data.Rozhrani = 3;
    open();
    for (const char* name : {"Edit2", "Edit3", "Edit4"})
        EXPECT_FALSE(edit(name)->isVisible());

    data.BazovaAdresa = 0x1F; // at least three digits
    data.Rozhrani = 0x09;     // only the lowest three bits count
    open();
    EXPECT_EQ(data.Rozhrani, 1);
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("01Fh"));

    data.Rozhrani = 0xFD; // 5: unknown, nothing selected, no parameters
    open();
    EXPECT_EQ(data.Rozhrani, 5);
    EXPECT_EQ(combo("ComboBox2")->currentIndex(), -1);
    for (const char* name : {"Edit2", "Edit3", "Edit4"})
        EXPECT_FALSE(edit(name)->isVisible());
    EXPECT_EQ(status(), QStringLiteral("V pořádku"));
}

TEST_F(Pripojeni, PickingAKindShowsItsStoredParametersNotTheTypedOnes) {
    data.IpAdresa = QStringLiteral("192.168.1.50");
    open();
    set_text("Edit2", QStringLiteral("typed"));
    combo("ComboBox2")->setCurrentIndex(4);
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("192.168.1.50"));
    EXPECT_EQ(edit("Edit3")->text(), QStringLiteral("5000"));
    EXPECT_EQ(edit("Edit4")->text(), QStringLiteral("100"));
    for (const char* name : {"Edit2", "Edit3", "Edit4"})
        EXPECT_TRUE(edit(name)->isVisible());

    combo("ComboBox2")->setCurrentIndex(2);
    for (const char* name : {"Edit2", "Edit3", "Edit4"})
        EXPECT_FALSE(edit(name)->isVisible());
    for (const char* name : {"Label3", "Label6", "Label7"})
        EXPECT_FALSE(label(name)->isVisible());

    combo("ComboBox2")->setCurrentIndex(0);
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("1"));

    combo("ComboBox2")->setCurrentIndex(-1);
    EXPECT_EQ(status(), QStringLiteral("Neznámý typ rozhraní"));
    EXPECT_TRUE(label("Label3")->isVisible());
    EXPECT_TRUE(edit("Edit2")->isVisible());
    EXPECT_FALSE(edit("Edit3")->isVisible());
    // Picking changes nothing in the record.
    EXPECT_EQ(data.Rozhrani, 0);
    EXPECT_TRUE(fake::journal().empty());
}

TEST_F(Pripojeni, ConnectsWithTheDefaults) {
    open();
    push_identification();
    connect_click();

    const auto init = fake::calls("KSER410_Init");
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(init[0].args[1], 1u); // COM port 1
    const auto setconfig = fake::calls("KSER410_SetConfig");
    ASSERT_EQ(setconfig.size(), 1u);
    EXPECT_EQ(setconfig[0].args, (std::vector<uint64_t>{0x1234, 9600, 13, 2}));
    const auto sent = testsupport::sent_requests();
    ASSERT_EQ(sent.size(), 3u);
    for (uint32_t p5 = 0; p5 < 3; ++p5)
        EXPECT_EQ(sent[p5], (std::array<uint32_t, 8>{0, 200, p5, 0, 0, 0, 0, 0}));

    EXPECT_EQ(data.Modul, QStringLiteral("KM-207   v.1.02"));
    EXPECT_EQ(data.Modul.size(), 15);
    EXPECT_EQ(status(), kUspech + QStringLiteral("KM-207   v.1.02"));
    EXPECT_TRUE(data.Pripojeno);
    EXPECT_EQ(data.Handle, 0x1234u);
    EXPECT_EQ(data.Adresa, 0);
    EXPECT_EQ(data.Rychlost, 9600u);
    EXPECT_EQ(data.StavText, QStringLiteral("V pořádku"));
    EXPECT_EQ(data.KonfigOvladace[0], 1u);
    EXPECT_TRUE(fake::calls("KSER410_Done").empty());
}

TEST_F(Pripojeni, SetConfigGets600And100At600Bd) {
    open();
    combo("ComboBox1")->setCurrentIndex(0);
    push_identification();
    connect_click();
    const auto setconfig = fake::calls("KSER410_SetConfig");
    ASSERT_EQ(setconfig.size(), 1u);
    EXPECT_EQ(setconfig[0].args[1], 600u);
    EXPECT_EQ(setconfig[0].args[2], 100u);
    EXPECT_EQ(data.Rychlost, 600u);
}

TEST_F(Pripojeni, B0OfAReplyIsCarriedIntoTheNextRequest) {
    open();
    fake::push_reply(testsupport::reply_bytes(0x55, 'K', 'M', '-', '2'));
    fake::push_reply(testsupport::reply_bytes(0x66, '0', '7', ' ', ' '));
    fake::push_reply(testsupport::reply_bytes(0x77, '1', '.', '0', '2'));
    connect_click();
    const auto sent = testsupport::sent_requests();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0][3], 0u);
    EXPECT_EQ(sent[1][3], 0x55u);
    EXPECT_EQ(sent[2][3], 0x66u);
    for (const auto& r : sent)
        for (int i = 4; i < 8; ++i)
            EXPECT_EQ(r[i], 0u);
}

TEST_F(Pripojeni, AddressIsCutToEightBitsAndShownBack) {
    open();
    set_text("Edit1", QStringLiteral("300"));
    push_identification();
    connect_click();
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("44"));
    EXPECT_EQ(data.Adresa, 44);
    ASSERT_EQ(testsupport::sent_requests().size(), 3u);
    EXPECT_EQ(testsupport::sent_requests()[0][0], 44u);

    set_text("Edit1", QStringLiteral("abc"));
    push_identification();
    connect_click();
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("0"));
    EXPECT_EQ(data.Adresa, 0);
}

TEST_F(Pripojeni, AnAddressBeyondThirtyTwoBitsIsNotANumber) {
    // 2^32 + 44 would wrap to 44 without the overflow check.
    open();
    set_text("Edit1", QStringLiteral("4294967340"));
    push_identification();
    connect_click();
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("0"));
    EXPECT_EQ(data.Adresa, 0);
}

TEST_F(Pripojeni, IsaBaseEntriesAreNormalised) {
    struct Case {
        const char* typed;
        uint32_t value;
        const char* shown;
    };
    const Case cases[] = {
        {"2A0h", 672, "2A0h"}, {"2a0h", 672, "2A0h"}, {"0x300", 768, "300h"},
        {"12", 768, "300h"},   {"xyzh", 768, "300h"}, {"2A0x", 672, "2A0h"},
    };
    for (const Case& c : cases) {
        testsupport::use_fake_drivers();
        data.Pripojeno = false;
        data.Handle = 0;
        data.Rozhrani = 1;
        open();
        set_text("Edit2", QString::fromLatin1(c.typed));
        push_identification();
        connect_click();
        const auto init = fake::calls("KIB410_Init");
        ASSERT_EQ(init.size(), 1u) << c.typed;
        EXPECT_EQ(init[0].args[1], c.value) << c.typed;
        EXPECT_EQ(edit("Edit2")->text(), QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_EQ(data.BazovaAdresa, c.value) << c.typed;
        EXPECT_EQ(data.KonfigOvladace[0], c.value) << c.typed;
        testsupport::close_link(data);
    }
}

TEST_F(Pripojeni, ComPortEntriesAreNormalised) {
    struct Case {
        const char* typed;
        uint32_t value; // handed to Init, low 16 bits
        uint8_t stored; // CisloPortu, low 8 bits
        const char* shown;
    };
    const Case cases[] = {
        {"abc", 1, 1, "1"},   {"3", 3, 3, "3"},          {"300", 300, 44, "300"},
        {"65539", 3, 3, "3"}, {"4294967299", 1, 1, "1"}, // beyond 32 bits: not a number, not 3
    };
    for (const Case& c : cases) {
        testsupport::use_fake_drivers();
        data.Pripojeno = false;
        data.Handle = 0;
        open();
        set_text("Edit2", QString::fromLatin1(c.typed));
        push_identification();
        connect_click();
        const auto init = fake::calls("KSER410_Init");
        ASSERT_EQ(init.size(), 1u) << c.typed;
        EXPECT_EQ(init[0].args[1], c.value) << c.typed;
        EXPECT_EQ(edit("Edit2")->text(), QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_EQ(data.CisloPortu, c.stored) << c.typed;
        testsupport::close_link(data);
    }
}

TEST_F(Pripojeni, LanParametersAreBoundedAndHandedOver) {
    data.Rozhrani = 4;
    open();
    set_text("Edit2", QStringLiteral("any text at all"));
    set_text("Edit3", QStringLiteral("65535"));
    set_text("Edit4", QStringLiteral("0"));
    push_identification();
    connect_click();
    const auto init = fake::calls("KL4100_Init");
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(init[0].text, "any text at all");
    ASSERT_GE(init[0].args.size(), 4u);
    EXPECT_NE(init[0].args[1], 0u); // reference to the text
    EXPECT_EQ(init[0].args[2], 65535u);
    EXPECT_EQ(init[0].args[3], 0u);
    EXPECT_TRUE(data.Pripojeno);
    EXPECT_EQ(data.UdpPort, 65535u);
    EXPECT_EQ(data.UdpTimeout, 0u);
    // The text stays where cell 0 points for as long as the record lives.
    EXPECT_STREQ(reinterpret_cast<const char*>(data.KonfigOvladace[0]), "any text at all");
}

TEST_F(Pripojeni, LanIpTextGoesToTheDriverInWindows1250) {
    data.Rozhrani = 4;
    open();
    set_text("Edit2", QStringLiteral("modul-č"));
    push_identification();
    connect_click();
    const auto init = fake::calls("KL4100_Init");
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(init[0].text, std::string("modul-\xE8"));
}

TEST_F(Pripojeni, InvalidLanParametersAreRefusedBeforeAnyDriverCall) {
    struct Case {
        const char *ip, *port, *timeout, *text;
    };
    const Case cases[] = {
        {"", "5000", "100", "Neplatná IP adresa"},
        {"1.2.3.4", "65536", "100", "Neplatný UDP port"},
        {"1.2.3.4", "-1", "100", "Neplatný UDP port"},
        {"1.2.3.4", "abc", "100", "Neplatný UDP port"},
        {"1.2.3.4", "4294967296", "100", "Neplatný UDP port"},
        {"1.2.3.4", "5000", "65536", "Neplatný UDP timeout"},
        {"1.2.3.4", "5000", "-1", "Neplatný UDP timeout"},
        {"1.2.3.4", "5000", "", "Neplatný UDP timeout"},
    };
    for (const Case& c : cases) {
        fake::clear_journal();
        data.Rozhrani = 4;
        open();
        set_text("Edit2", QString::fromUtf8(c.ip));
        set_text("Edit3", QString::fromUtf8(c.port));
        set_text("Edit4", QString::fromUtf8(c.timeout));
        connect_click();
        EXPECT_EQ(status(), QString::fromUtf8(c.text)) << c.port << " " << c.timeout;
        EXPECT_TRUE(fake::journal().empty()) << c.port << " " << c.timeout;
        EXPECT_FALSE(data.Pripojeno);
    }
}

TEST_F(Pripojeni, ParametersUpToTheFailingOneAreStored) {
    data.Rozhrani = 4;
    open();
    set_text("Edit2", QStringLiteral("10.1.1.1"));
    set_text("Edit3", QStringLiteral("7000"));
    set_text("Edit4", QStringLiteral("70000"));
    connect_click();
    EXPECT_EQ(status(), QStringLiteral("Neplatný UDP timeout"));
    EXPECT_EQ(data.IpAdresa, QStringLiteral("10.1.1.1"));
    EXPECT_EQ(data.UdpPort, 7000u);
    EXPECT_EQ(data.UdpTimeout, 100u);
    EXPECT_EQ(data.StavText, QStringLiteral("Připojení modulu dosud neinicializováno"));
}

TEST_F(Pripojeni, NoKindSelected) {
    open();
    combo("ComboBox2")->setCurrentIndex(-1);
    connect_click();
    EXPECT_EQ(status(), QStringLiteral("Neznámý typ rozhraní"));
    EXPECT_EQ(data.Rozhrani, 255);
    EXPECT_TRUE(fake::journal().empty());
    open();
    EXPECT_EQ(data.Rozhrani, 7);
    EXPECT_EQ(combo("ComboBox2")->currentIndex(), -1);
}

TEST_F(Pripojeni, AnOpenLinkIsClosedThroughItsOwnDriverFirst) {
    testsupport::open_fake_link(data, 4);
    fake::set_done_handle(0);
    open(); // shows kind 4 with the stored parameters
    combo("ComboBox2")->setCurrentIndex(0);
    push_identification();
    connect_click();
    const auto order = driver_calls();
    ASSERT_GE(order.size(), 4u);
    EXPECT_EQ(order[0], "KL4100_Done");
    EXPECT_EQ(order[1], "KL4100_unload");
    EXPECT_EQ(order[2], "KSER410_load");
    EXPECT_EQ(order[3], "KSER410_Init");
    EXPECT_EQ(fake::calls("KL4100_Done")[0].args[0], 0x1234u);
    EXPECT_TRUE(data.Pripojeno);
    EXPECT_EQ(data.Rozhrani, 0);
}

TEST_F(Pripojeni, AnOpenLinkIsClosedEvenWhenTheNewParametersAreInvalid) {
    testsupport::open_fake_link(data, 0);
    fake::set_done_handle(0x99); // what Done leaves in the cell is kept
    open();
    combo("ComboBox2")->setCurrentIndex(4);
    set_text("Edit3", QStringLiteral("65536"));
    connect_click();
    EXPECT_EQ(status(), QStringLiteral("Neplatný UDP port"));
    EXPECT_EQ(driver_calls(), (std::vector<std::string>{"KSER410_Done", "KSER410_unload"}));
    EXPECT_FALSE(data.Pripojeno);
    EXPECT_EQ(data.Handle, 0x99u);
    EXPECT_EQ(data.Rozhrani, 4);
}

TEST_F(Pripojeni, MissingLibrary) {
    QTemporaryDir empty;
    NastavAdresarOvladacu(empty.path());
    open();
    connect_click();
    EXPECT_EQ(status(), QStringLiteral("Chyba inicializace připojení - "
                                       "chyba inicializace knihovny KSER410.DLL"));
    EXPECT_FALSE(data.Pripojeno);
    EXPECT_EQ(data.Handle, 0u);

    data.Rozhrani = 4;
    open();
    connect_click();
    EXPECT_EQ(status(), QStringLiteral("Chyba inicializace připojení - "
                                       "chyba inicializace knihovny KL4100.DLL"));
}

TEST_F(Pripojeni, LibraryWithoutAnEntryPoint) {
    testsupport::use_broken_drivers();
    open();
    connect_click();
    EXPECT_EQ(status(),
              QStringLiteral("Chyba inicializace připojení - chybná knihovna KSER410.DLL"));
    EXPECT_FALSE(data.Pripojeno);
    EXPECT_TRUE(fake::calls("KSER410_Init").empty());
}

TEST_F(Pripojeni, InitFailure) {
    const QString text = driver_text(0, 5);
    fake::set_result("Init", 5);
    data.StavText = QStringLiteral("V pořádku");
    data.Modul = QStringLiteral("old");
    open();
    set_text("Edit1", QStringLiteral("9"));
    connect_click();
    EXPECT_EQ(status(), QStringLiteral("Chyba inicializace připojení - ") + text);
    EXPECT_FALSE(data.Pripojeno);
    EXPECT_EQ(data.Handle, 0u);
    EXPECT_EQ(data.Adresa, 0);
    EXPECT_EQ(data.Modul, QStringLiteral("old"));
    EXPECT_EQ(data.StavText, QStringLiteral("V pořádku"));
    EXPECT_TRUE(fake::calls("KSER410_SetConfig").empty());
    EXPECT_TRUE(fake::calls("KSER410_Done").empty());
}

TEST_F(Pripojeni, SetConfigFailureClosesTheLink) {
    const QString text = driver_text(0, 4);
    fake::set_result("SetConfig", 4);
    fake::set_done_handle(0);
    open();
    connect_click();
    EXPECT_EQ(status(), QStringLiteral("Chyba inicializace připojení - ") + text);
    const auto done = fake::calls("KSER410_Done");
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].args[0], 0x1234u);
    EXPECT_FALSE(data.Pripojeno);
    EXPECT_EQ(data.Handle, 0u);
    EXPECT_TRUE(testsupport::sent_requests().empty());
    EXPECT_EQ(data.StavText, QStringLiteral("Připojení modulu dosud neinicializováno"));
}

TEST_F(Pripojeni, IdentificationFailureShowsTheCodeTextAlone) {
    const QString text = driver_text(0, 5);
    fake::push_reply(testsupport::reply_bytes(0, 'K', 'M', '-', '2'));
    fake::push_reply(testsupport::reply_status(5));
    fake::set_done_handle(0x77);
    data.Modul = QStringLiteral("old");
    open();
    connect_click();
    EXPECT_EQ(status(), text);
    EXPECT_EQ(testsupport::sent_requests().size(), 2u);
    EXPECT_EQ(fake::calls("KSER410_Done").size(), 1u);
    EXPECT_FALSE(data.Pripojeno);
    EXPECT_EQ(data.Handle, 0x77u);
    EXPECT_EQ(data.Modul, QStringLiteral("old"));
}

TEST_F(Pripojeni, AZeroHandleDoesNotReadAsASuccessfulIdentification) {
    // A driver that reports success but hands out no handle: nothing can be
    // sent, and the preset status must say so.
    const QString text = driver_text(0, 10);
    fake::set_handle(0);
    open();
    connect_click();
    EXPECT_EQ(status(), text);
    EXPECT_TRUE(testsupport::sent_requests().empty());
    EXPECT_EQ(fake::calls("KSER410_Done").size(), 1u);
    EXPECT_FALSE(data.Pripojeno);
    EXPECT_TRUE(data.Modul.isEmpty());
    EXPECT_NE(data.StavText, QStringLiteral("V pořádku"));
}

TEST_F(Pripojeni, ModulKeepsAllFifteenRawCharacters) {
    open();
    fake::push_reply(testsupport::reply_bytes(0, 'A', 0, 0x8A, 'D'));
    fake::push_reply(testsupport::reply_bytes(0, 'E', 'F', ' ', ' '));
    fake::push_reply(testsupport::reply_bytes(0, '1', '.', '0', 0));
    connect_click();
    ASSERT_EQ(data.Modul.size(), 15);
    EXPECT_EQ(data.Modul, QString::fromUtf16(u"A\0ŠDEF   v.1.0\0", 15));
    // Shown with a blank for each zero character.
    EXPECT_EQ(status(), kUspech + QStringLiteral("A ŠDEF   v.1.0 "));
}

TEST_F(Pripojeni, ASecondAttemptClosesTheFirstLink) {
    open();
    push_identification();
    connect_click();
    ASSERT_TRUE(data.Pripojeno);
    fake::set_handle(0x5678);
    push_identification();
    connect_click();
    EXPECT_EQ(fake::calls("KSER410_Done").size(), 1u);
    EXPECT_EQ(fake::calls("KSER410_Done")[0].args[0], 0x1234u);
    EXPECT_EQ(fake::calls("KSER410_Init").size(), 2u);
    EXPECT_EQ(data.Handle, 0x5678u);
    EXPECT_TRUE(data.Pripojeno);
}

TEST_F(Pripojeni, InitFailureAfterAnOpenLinkLeavesTheHandleDoneLeft) {
    testsupport::open_fake_link(data, 0);
    fake::set_done_handle(0x42);
    fake::set_result("Init", 1);
    data.StavText = QStringLiteral("V pořádku");
    open();
    connect_click();
    EXPECT_EQ(fake::calls("KSER410_Done").size(), 1u);
    EXPECT_FALSE(data.Pripojeno);
    EXPECT_EQ(data.Handle, 0x42u);
    EXPECT_EQ(data.StavText, QStringLiteral("V pořádku"));
}

TEST_F(Pripojeni, EnterInAnEditStartsNothing) {
    open();
    dialog->activateWindow();
    edit("Edit1")->setFocus();
    QTest::keyClick(edit("Edit1"), Qt::Key_Return);
    QTest::keyClick(edit("Edit1"), Qt::Key_Enter);
    EXPECT_TRUE(fake::journal().empty());
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(Pripojeni, CancelClosesAndUndoesNothing) {
    open();
    push_identification();
    connect_click();
    QTest::mouseClick(child<QPushButton>(dialog.get(), "Button2"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(data.Pripojeno);
    EXPECT_TRUE(fake::calls("KSER410_Done").empty());
}

TEST_F(Pripojeni, NothingHappensWithoutARecord) {
    dialog = std::make_unique<TForm2>();
    dialog->show();
    QTest::mouseClick(child<QPushButton>(dialog.get(), "Button1"), Qt::LeftButton);
    EXPECT_TRUE(fake::journal().empty());
    EXPECT_TRUE(label("Panel1")->text().isEmpty());
}

TEST_F(Pripojeni, PastedLinesBecomeOneLineInEveryEdit) {
    data.Rozhrani = 4;
    open();
    QGuiApplication::clipboard()->setText(
        QStringLiteral("127.0.0.1\nUDP port=1\r\n[Připojení]\tRozhraní=KIB-410\u2028x"));
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4"}) {
        edit(name)->clear();
        edit(name)->paste();
        EXPECT_EQ(edit(name)->text().toStdString(),
                  "127.0.0.1UDP port=1[Připojení]Rozhraní=KIB-410x")
            << name;
    }
    connect_click();
    // The IP text is stored before the port proves not to be a number.
    EXPECT_EQ(status(), QStringLiteral("Neplatný UDP port"));
    EXPECT_EQ(data.IpAdresa.toStdString(), "127.0.0.1UDP port=1[Připojení]Rozhraní=KIB-410x");
}

TEST_F(Pripojeni, ALongStatusTextIsShownWholeOnMoreLines) {
    open();
    const QSize size = dialog->size();
    QLabel* panel = label("Panel1");
    const QRect one_line = panel->geometry();
    auto* button1 = child<QPushButton>(dialog.get(), "Button1");
    auto* button2 = child<QPushButton>(dialog.get(), "Button2");
    fake::set_result("Init", 2);
    connect_click();
    const QString text = QStringLiteral("Chyba inicializace připojení - ") + driver_text(0, 2);
    ASSERT_EQ(status(), text);
    ASSERT_GT(QFontMetrics(panel->font()).horizontalAdvance(text), one_line.width());
    EXPECT_EQ(testsupport::shows_whole(panel), "");
    // Same place and width, taller; the buttons below it stay whole.
    EXPECT_EQ(panel->geometry().topLeft(), one_line.topLeft());
    EXPECT_EQ(panel->width(), one_line.width());
    EXPECT_LT(panel->geometry().bottom(), button1->y());
    for (QPushButton* b : {button1, button2})
        EXPECT_TRUE(dialog->rect().contains(b->geometry())) << b->objectName().toStdString();
    EXPECT_EQ(dialog->width(), size.width());

    // A text that fits takes one line again, in a dialog of its own size.
    fake::set_result("Init", 0);
    push_identification();
    connect_click();
    ASSERT_TRUE(status().startsWith(kUspech));
    EXPECT_EQ(testsupport::shows_whole(panel), "");
    EXPECT_EQ(panel->geometry(), one_line);
    EXPECT_EQ(dialog->size(), size);
}

} // namespace
