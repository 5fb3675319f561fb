// The same task run once from its dialog and once from km207 (in this
// process, through its command table) sends the same commands: both
// journals are taken through the exchange's observer, against km207-sim
// over the real LAN driver.
#include "Kxxx410.h"
#include "NastavAdr.h"
#include "NastavCNT.h"
#include "NastavDIO.h"
#include "PrehledLinky.h"
#include "RTC.h"
#include "StatReg.h"
#include "e2e_link.h"
#include "sim_process.h"
#include "tool.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Every request that reached the driver while it lives: address, command,
// P5 and B0-B4.
class Journal {
  public:
    Journal()
        : token_(NastavPozorovatele([this](const TZaznamPrikazu& z) {
              QString line =
                  QStringLiteral("adr %1 cmd %2/%3 ").arg(z.Adresa).arg(z.Prikaz).arg(z.P5);
              for (uint8_t b : z.Pozadavek)
                  line += QStringLiteral(" %1").arg(b, 2, 16, QLatin1Char('0'));
              lines.push_back(line.toStdString());
          })) {}
    ~Journal() { ZrusPozorovatele(token_); }
    std::vector<std::string> lines;

  private:
    uint64_t token_;
};

const QDateTime kClock(QDate(2027, 3, 4), QTime(5, 6, 7));

template <class T> T* child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

// A task done through a dialog's controls; returns the km207 command lines
// that do the same task.
struct Task {
    const char* name;
    std::function<QList<QStringList>(TData&)> dialog;
};

void PrintTo(const Task& t, std::ostream* os) {
    *os << t.name;
}

const Task kTasks[] = {
    {"AddressAndRate",
     [](TData& d) {
         TForm12 f;
         f.Data = &d;
         f.show();
         child<QLineEdit>(f, "Edit1")->setText(QStringLiteral("7"));
         child<QComboBox>(f, "ComboBox1")->setCurrentIndex(6);
         child<QPushButton>(f, "Button1")->click();
         return QList<QStringList>{{"set", "address", "7"}, {"set", "baud", "38400"}};
     }},
    {"CounterMode",
     [](TData& d) {
         TForm5 f;
         f.Data = &d;
         f.show();
         child<QRadioButton>(f, "RadioButton2")->setChecked(true);
         child<QPushButton>(f, "Button1")->click();
         return QList<QStringList>{{"set", "mode", "23"}};
     }},
    {"DigitalIoBlock",
     [](TData& d) {
         TForm14 f;
         f.Data = &d;
         f.show();
         for (const char* box :
              {"CheckBox1", "CheckBox10", "CheckBox40", "CheckBox71", "CheckBox96"}) {
             QCheckBox* c = child<QCheckBox>(f, box);
             c->setChecked(!c->isChecked());
         }
         child<QPushButton>(f, "Button1")->click();
         QStringList args{"set", "dio"};
         for (const auto& [key, first] :
              {std::pair{"din-neg", 3}, {"dout-neg", 7}, {"dout-init", 11}})
             args << QStringLiteral("%1=%2")
                         .arg(QLatin1String(key))
                         .arg(SlovoBloku(f.Konfig, first), 0, 16);
         return QList<QStringList>{args};
     }},
    {"Clock",
     [](TData& d) {
         NastavHodiny([] { return kClock; });
         TForm3 f;
         f.Data = &d;
         f.show();
         child<QPushButton>(f, "Button1")->click();
         NastavHodiny({});
         return QList<QStringList>{
             {"set", "clock", kClock.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))}};
     }},
    {"ClearStatus",
     [](TData& d) {
         TForm15 f;
         f.Data = &d;
         f.show();
         child<QPushButton>(f, "Button2")->click();
         return QList<QStringList>{{"clear", "status"}};
     }},
    // One poll cycle of the line overview on a line file of one module:
    // its first contact and its three reads.
    {"LineStatus",
     [](TData& d) {
         static QTemporaryDir dir;
         static QString file = dir.filePath(QStringLiteral("linka.km207linka"));
         QString error;
         EXPECT_TRUE(UlozLinku(file, TSouborLinky{{{5, 4, {}, {}}}}, error)) << error.toStdString();
         const auto chooser = ZvolSoubor;
         ZvolSoubor = [](QWidget*, const QString&, const QString&, bool) { return file; };
         TLinka linka;
         TForm17 f;
         f.Data = &d;
         f.Linka = &linka;
         child<QPushButton>(f, "ButtonPozastavit")->setChecked(true);
         f.show();
         child<QPushButton>(f, "ButtonOtevrit")->click();
         ZvolSoubor = chooser;
         child<QPushButton>(f, "ButtonPozastavit")->setChecked(false);
         f.Timer1Timer();
         EXPECT_EQ(linka.Polozky().at(0).Stav.Odezva, TOdezva::Odpovida);
         return QList<QStringList>{{"line", "status", "--line", file}};
     }},
};

class SameJournal : public ::testing::TestWithParam<Task> {
  protected:
    void TearDown() override { close_link_and_driver(data); }
    TData data;
};

TEST_P(SameJournal, FromTheDialogAndFromKm207) {
    SimProcess sim({"--no-pty", "--module", "5"});
    ASSERT_TRUE(sim.running()) << sim.output();
    InitData(&data);
    data.Rozhrani = 4;
    data.Adresa = 5;
    data.IpAdresa = QStringLiteral("127.0.0.1");
    data.UdpPort = sim.udp_port();
    const QString stav = open_through_dialog(data);
    ASSERT_TRUE(SpojeniOtevreno(&data)) << stav.toStdString();

    QList<QStringList> runs;
    std::vector<std::string> fromDialog;
    {
        Journal j;
        runs = GetParam().dialog(data);
        fromDialog = j.lines;
    }
    close_link_and_driver(data);
    ASSERT_FALSE(fromDialog.empty());

    std::vector<std::string> fromTool;
    for (const QStringList& run : runs) {
        Journal j;
        const QStringList link =
            QStringLiteral("--no-config --kind lan --ip 127.0.0.1 --address 5 --udp-port %1")
                .arg(sim.udp_port())
                .split(QLatin1Char(' '));
        ASSERT_EQ(km207::run(run + link), 0) << run.join(QLatin1Char(' ')).toStdString();
        // Each run but a line's opens the link with the identification, as
        // the connection dialog did before the dialog's task.
        const int opening = run.first() == QLatin1String("line") ? 0 : 3;
        ASSERT_GE(j.lines.size(), 3u);
        for (int p5 = 0; p5 < opening; ++p5)
            EXPECT_EQ(
                j.lines[p5].rfind(QStringLiteral("adr 5 cmd 200/%1 ").arg(p5).toStdString(), 0),
                0u);
        fromTool.insert(fromTool.end(), j.lines.begin() + opening, j.lines.end());
    }
    EXPECT_EQ(fromDialog, fromTool);
}

INSTANTIATE_TEST_SUITE_P(Tasks, SameJournal, ::testing::ValuesIn(kTasks),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
