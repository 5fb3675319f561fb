// The user's guide: a section for every window in both languages, links
// that resolve, and F1 in each window opening that window's section.
#include "Hlavni.h"
#include "Hledani.h"
#include "KonfModulu.h"
#include "NastavAdr.h"
#include "NastavCNT.h"
#include "NastavDIO.h"
#include "OkamCNT.h"
#include "OkamDIN.h"
#include "OkamDOUT.h"
#include "PrehledLinky.h"
#include "Pripojeni.h"
#include "Prirucka.h"
#include "Prubeh.h"
#include "RTC.h"
#include "StatReg.h"
#include "UvedeniDoProvozu.h"
#include "shell_test_util.h"

#include <QApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

#include <functional>
#include <memory>

using namespace shelltest;

namespace {

// Every window of the program, built as the program builds it.
std::vector<std::function<QWidget*()>> windows(TData* data) {
    return {
        [] { return new TForm1; },
        [] { return new TForm2; },
        [data] { return new TFormHledani(data, *data, TOtevreni{}, QString(), QString()); },
        [] { return new TForm12; },
        [] { return new TForm5; },
        [] { return new TForm14; },
        [] { return new TForm3; },
        [] { return new TForm6; },
        [] { return new TForm11; },
        [] { return new TForm9; },
        [] { return new TForm15; },
        [] { return new TForm16; },
        [] { return new TFormKonfigurace(TFormKonfigurace::TRezim::Ulozit, QString()); },
        [] { return new TForm17; },
        [data] {
            static TLinka linka;
            static TStatusBar* bar = nullptr;
            static TPrenos prenos(bar);
            return new TFormUvedeni(data, &linka, prenos);
        },
    };
}

class Prirucka : public ShellTest {
  protected:
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TPrirucka*>(w)) delete w;
        NastavJazyk(TJazyk::Cestina);
        ShellTest::TearDown();
    }
};

TEST_F(Prirucka, EveryWindowHasItsSectionAndEveryLinkResolves) {
    TData data;
    InitData(&data);
    QStringList classes;
    for (const auto& make : windows(&data)) {
        std::unique_ptr<QWidget> w(make());
        classes << QString::fromLatin1(w->metaObject()->className());
    }
    const QRegularExpression link(QStringLiteral("\\]\\(([^)]+)\\)"));
    for (const char* lang : {"cs", "en"}) {
        SCOPED_TRACE(lang);
        const QString guide = TextPrirucky(QString::fromLatin1(lang));
        ASSERT_FALSE(guide.isEmpty());
        const auto sections = OddilyOken(guide);
        for (const QString& c : classes)
            EXPECT_TRUE(sections.contains(c)) << "no section for " << c.toStdString();
        EXPECT_EQ(sections.size(), classes.size()) << "a section for a window that is not there";
        QStringList anchors;
        for (const QString& line : guide.split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1Char('#')))
                anchors << KotvaNadpisu(line.section(QLatin1Char(' '), 1));
        for (auto m = link.globalMatch(guide); m.hasNext();) {
            const QString target = m.next().captured(1);
            if (target.startsWith(QLatin1Char('#'))) {
                EXPECT_TRUE(anchors.contains(target.mid(1))) << target.toStdString();
            } else if (!target.contains(QLatin1String("://"))) {
                EXPECT_TRUE(QFileInfo::exists(QStringLiteral(":/prirucka/") + target))
                    << target.toStdString();
            }
        }
    }
}

TEST_F(Prirucka, F1OpensTheSectionOfTheWindowInEitherLanguage) {
    NainstalujF1(*qApp);
    TData data;
    InitData(&data);
    for (const TJazyk lang : {TJazyk::Cestina, TJazyk::Anglictina}) {
        NastavJazyk(lang);
        const auto sections = OddilyOken(TextPrirucky(KodJazyka(lang)));
        for (const auto& make : windows(&data)) {
            std::unique_ptr<QWidget> w(make());
            const QString c = QString::fromLatin1(w->metaObject()->className());
            SCOPED_TRACE(c.toStdString() + " " + KodJazyka(lang).toStdString());
            QTest::keyClick(w.get(), Qt::Key_F1);
            TPrirucka* guide = nullptr;
            for (QWidget* t : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<TPrirucka*>(t); p && p->isVisible()) guide = p;
            ASSERT_NE(guide, nullptr);
            EXPECT_EQ(guide->ViditelnyOddil(), sections.value(c));
            EXPECT_EQ(
                guide->Text->document()->toPlainText().contains(QStringLiteral("Příručka KM-207")),
                lang == TJazyk::Cestina);
        }
    }
}

} // namespace
