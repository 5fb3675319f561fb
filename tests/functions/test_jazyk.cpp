// Every function window built in English next to the same window in Czech:
// each text changes except the module's own names, and back in Czech each
// text is as before.
#include "Jazyk.h"
#include "KonfModulu.h"
#include "NastavAdr.h"
#include "NastavCNT.h"
#include "NastavDIO.h"
#include "OkamCNT.h"
#include "OkamDIN.h"
#include "OkamDOUT.h"
#include "PrehledLinky.h"
#include "Prubeh.h"
#include "RTC.h"
#include "StatReg.h"
#include "UvedeniDoProvozu.h"
#include "texts_shown.h"

#include <QAbstractSpinBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Texts cut off on the screen in the windows built since it was cleared.
QStringList cutOff;

// The window's texts, with what texts_shown leaves out: row names of a
// table, a log's text and a spin box's unit.
QMap<QString, QString> texts(QWidget* w) {
    auto t = testsupport::texts_shown(w);
    for (const auto* table : w->findChildren<QTableWidget*>())
        for (int r = 0; r < table->rowCount(); ++r)
            if (const QTableWidgetItem* item = table->item(r, 0); item && !item->text().isEmpty())
                t.insert(table->objectName() + QStringLiteral(".row%1").arg(r), item->text());
    for (const auto* log : w->findChildren<QPlainTextEdit*>())
        t.insert(log->objectName() + QStringLiteral(".text"), log->toPlainText());
    for (const auto* spin : w->findChildren<QSpinBox*>())
        t.insert(spin->objectName() + QStringLiteral(".suffix"), spin->suffix());
    cutOff << testsupport::texts_cut_off(w);
    return t;
}

// Builds a window and, where one is shown without a link, brings up a
// status text.
using Build = std::function<QMap<QString, QString>()>;
template <class T> Build plain() {
    return [] {
        T w;
        return texts(&w);
    };
}

TEST(Jazyk, EveryFunctionWindowSpeaksEnglishAndCzechAgain) {
    const std::pair<const char*, Build> windows[] = {
        {"NastavAdr",
         [] {
             TForm12 w;
             w.Button1Click(); // no link: the not-initialised text
             return texts(&w);
         }},
        {"NastavCNT", plain<TForm5>()},
        {"NastavDIO", plain<TForm14>()},
        {"OkamCNT", plain<TForm6>()},
        {"OkamDIN", plain<TForm11>()},
        {"OkamDOUT", plain<TForm9>()},
        {"StatReg", plain<TForm15>()},
        {"RTC", plain<TForm3>()},
        {"Prubeh", plain<TForm16>()},
        {"PrehledLinky", plain<TForm17>()},
        {"KonfModulu save",
         [] {
             TFormKonfigurace w(TFormKonfigurace::TRezim::Ulozit, QStringLiteral("a.km207"));
             w.Spust(); // no link
             return texts(&w);
         }},
        {"KonfModulu load",
         [] {
             TFormKonfigurace w(TFormKonfigurace::TRezim::Nahrat, QStringLiteral("a.km207"));
             return texts(&w);
         }},
        {"UvedeniDoProvozu",
         [] {
             TStatusBar* none = nullptr;
             TPrenos prenos(none);
             TFormUvedeni w(nullptr, nullptr, prenos);
             return texts(&w);
         }},
    };
    // The module's own names, units and numbers stay; so does "Cancel".
    const QRegularExpression same(
        QStringLiteral("^ *(-+|(DIN|DOUT|ERR)\\d*|FN|PRF|PWR|RST|\\d+( Bd)?|Cancel|m?s)? *$"));
    for (const auto& [name, build] : windows) {
        SCOPED_TRACE(name);
        cutOff.clear();
        const auto czech = build();
        const QStringList czechCut = cutOff;
        ASSERT_TRUE(NastavJazyk(TJazyk::Anglictina));
        cutOff.clear();
        const auto english = build();
        // No English text cut off where the Czech one is whole.
        EXPECT_EQ(cutOff.size(), czechCut.size()) << cutOff.join(QLatin1Char('\n')).toStdString();
        ASSERT_TRUE(NastavJazyk(TJazyk::Cestina));
        ASSERT_EQ(english.keys(), czech.keys());
        for (auto it = czech.cbegin(); it != czech.cend(); ++it) {
            if (same.match(it.value()).hasMatch()) continue;
            EXPECT_NE(english.value(it.key()).toStdString(), it.value().toStdString())
                << "untranslated: " << it.key().toStdString();
        }
        EXPECT_EQ(build(), czech);
    }
}

} // namespace
