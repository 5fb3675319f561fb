// A library that crashes inside Send, and one whose Send never returns, run
// in a driver host: the connection dialog shows a text and what befell the
// library, the program goes on with no host process left behind, and the
// next "Inicializace připojení" starts a fresh host that works.
#include "Pripojeni.h"
#include "fake_control.h"
#include "host_test_util.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <iostream>

namespace {

struct Fault {
    const char* name;
    bool wine;
    uint8_t kind;
    const char* folder;
    const char* cause; // after the code's text
};

std::string fault_name(const testing::TestParamInfo<Fault>& info) {
    return info.param.name;
}

void PrintTo(const Fault& f, std::ostream* os) {
    *os << f.name;
}

class HostFault : public hosttest::HostTest, public testing::WithParamInterface<Fault> {};

TEST_P(HostFault, TheDialogShowsATextAndTheNextInitWorks) {
    const Fault& f = GetParam();
    if (f.wine) KM_REQUIRE_WINE();
    NastavAdresarOvladacu(QString::fromUtf8(f.folder));
    NastavIzolaciOvladacu(!f.wine);

    TData data;
    InitData(&data);
    TForm2 dialog;
    dialog.Data = &data;
    dialog.show();
    const auto edit = [&dialog](const char* name) {
        return dialog.findChild<QLineEdit*>(QLatin1String(name));
    };
    dialog.findChild<QComboBox*>(QStringLiteral("ComboBox2"))->setCurrentIndex(f.kind);
    if (f.kind == 4) {
        edit("Edit2")->setText(QStringLiteral("127.0.0.1"));
        edit("Edit3")->setText(QStringLiteral("5000"));
        edit("Edit4")->setText(QStringLiteral("10")); // keeps the host's deadline short
    }
    auto* connect = dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
    auto* status = dialog.findChild<QLabel*>(QStringLiteral("Panel1"));

    edit("Edit1")->setText(QString::number(fake::kFaultAddress));
    connect->click();
    const QString shown = status->text();
    std::cout << "[ shown    ] " << f.name << ": \"" << shown.toStdString() << "\"\n";
    const char* names[] = {"KSER410", "KIB410", "KPB4100", "KUB4100", "KL4100"};
    QString cause = QString::fromUtf8(f.cause);
#ifdef KM_SANITIZE
    // The sanitizer's handler of SIGSEGV ends the crashed host its own way,
    // an exit and not the signal: the host then ended without a word.
    if (f.kind == 0 && !shown.endsWith(cause))
        cause = QStringLiteral("km207-driverhost, který knihovnu spouští, skončil bez odpovědi");
#endif
    EXPECT_EQ(shown.toStdString(), QStringLiteral("chyba inicializace knihovny %1.DLL – %2")
                                       .arg(QLatin1String(names[f.kind]), cause)
                                       .toStdString());
    EXPECT_FALSE(data.Pripojeno);
    EXPECT_EQ(OvladacVazba(), QString()) << "the binding went with the host";
    EXPECT_TRUE(hosttest::no_child_left()) << "the host was ended and reaped";

    edit("Edit1")->setText(QStringLiteral("0"));
    connect->click();
    EXPECT_EQ(status->text(),
              QStringLiteral("Připojení úspěšně inicializováno. Připojen modul   KM-207   v.1.02"));
    EXPECT_TRUE(data.Pripojeno);
    EXPECT_TRUE(OvladacVazba().contains(QStringLiteral(" přes km207-driverhost")));
    uint32_t h = data.Handle;
    EXPECT_EQ(OvladacDone(data.Rozhrani, h), 0u);
    EXPECT_TRUE(hosttest::no_child_left()) << "the host ended with the binding";
}

INSTANTIATE_TEST_SUITE_P(Native, HostFault,
                         testing::Values(Fault{"crash", false, 0, STANDIN_DIR "/crash",
                                               "knihovna ovladače havarovala (signál 11)"},
                                         Fault{"hang", false, 4, STANDIN_DIR "/hang",
                                               "knihovna neodpověděla do 3 s a byla ukončena"}),
                         fault_name);
#ifdef KM_WIN32_DIR
INSTANTIATE_TEST_SUITE_P(Wine, HostFault,
                         testing::Values(Fault{"crash", true, 0, KM_WIN32_DIR "/crash",
                                               "knihovna ovladače havarovala (výjimka 0xC0000005)"},
                                         Fault{"hang", true, 4, KM_WIN32_DIR "/hang",
                                               "knihovna neodpověděla do 6 s a byla ukončena"}),
                         fault_name);
#endif

} // namespace
