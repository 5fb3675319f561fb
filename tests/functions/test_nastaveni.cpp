// What the three settings dialogs share, through each one's controls:
// reading the window returns the error that the status bar shows, "Zapsat"
// decides on it, and "Ok" asked for during "Zapsat" acts once the transfer
// has returned.
#include "NastavAdr.h"
#include "NastavCNT.h"
#include "NastavDIO.h"
#include "test_nastav_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <gmock/gmock.h>

#include <functional>
#include <memory>
#include <utility>

using namespace nastavtest;
using ::testing::IsEmpty;

namespace {

using Make = std::function<std::unique_ptr<TNastaveni>()>;
const Make kAdr = [] { return std::make_unique<TForm12>(); };
const Make kCnt = [] { return std::make_unique<TForm5>(); };
const Make kDio = [] { return std::make_unique<TForm14>(); };

// Controls as a test leaves them, and the error they give (none: valid).
struct Controls {
    const char* name;
    Make make;
    std::function<void(QWidget*)> set;
    QString error;
};

const Controls kControls[] = {
    {"address 256", kAdr,
     [](QWidget* w) {
         child<QLineEdit>(w, QStringLiteral("Edit1"))->setText(QStringLiteral("256"));
     },
     QStringLiteral("Adresa modulu musí být v rozsahu 0-255.")},
    {"no speed", kAdr,
     [](QWidget* w) { child<QComboBox>(w, QStringLiteral("ComboBox1"))->setCurrentIndex(-1); },
     QStringLiteral("Komunikační rychlost musí být v rozsahu 600Bd-115200Bd.")},
    {"counter mode", kCnt,
     [](QWidget* w) { child<QRadioButton>(w, QStringLiteral("RadioButton3"))->setChecked(true); },
     QString()},
    {"digital I/O", kDio,
     [](QWidget* w) {
         QCheckBox* box = child<QCheckBox>(w, QStringLiteral("CheckBox1"));
         box->setChecked(!box->isChecked());
     },
     QString()},
};

class NastaveniTest : public LinkedTest {
  protected:
    std::unique_ptr<TNastaveni> open(const Make& make) {
        fake::clear_journal();
        model.sends = 0;
        model.on_send = nullptr;
        std::unique_ptr<TNastaveni> dlg = make();
        dlg->Data = &data;
        show_exposed(dlg.get());
        return dlg;
    }
};

TEST_F(NastaveniTest, ReadingTheWindowReturnsTheErrorTheStatusBarShows) {
    for (const Controls& c : kControls) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<TNastaveni> dlg = open(c.make);
        c.set(dlg.get());
        TKonfigurace k = dlg->Konfig;
        EXPECT_EQ(dlg->PrectiOkno(k), c.error);
        EXPECT_EQ(status(dlg.get()), QLatin1Char(' ') + c.error);
        button(dlg.get(), 1)->click();
        if (c.error.isEmpty()) {
            EXPECT_EQ(status(dlg.get()), QStringLiteral(" Konfigurace zapsána."));
        } else {
            EXPECT_EQ(status(dlg.get()), QLatin1Char(' ') + c.error);
            EXPECT_THAT(testsupport::sent_requests(), IsEmpty());
        }
    }
}

TEST_F(NastaveniTest, OkDuringZapsatActsOnceTheTransferReturned) {
    // Commands of "Zapsat" sent before an "Ok" clicked at the first one acts;
    // the counter mode write has no pause, so it runs to its end.
    const std::pair<const Controls*, size_t> kCases[] = {{&kControls[2], 2}, {&kControls[3], 1}};
    for (const auto& [c, sends] : kCases) {
        SCOPED_TRACE(c->name);
        const TKonfigurace before = data.Konfigurace;
        std::unique_ptr<TNastaveni> dlg = open(c->make);
        c->set(dlg.get());
        model.on_send = [&](int n) {
            if (n == 1) click_later(button(dlg.get(), 3));
        };
        button(dlg.get(), 1)->click();
        QCoreApplication::processEvents();
        EXPECT_EQ(testsupport::sent_requests().size(), sends);
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(dlg->result(), QDialog::Accepted);
        EXPECT_NE(data.Konfigurace, before);
        EXPECT_EQ(data.Konfigurace, dlg->Konfig);
    }
}

} // namespace
