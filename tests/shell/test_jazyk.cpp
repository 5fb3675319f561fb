// The language: how it is chosen, where the choice is kept, and the windows
// built in English next to the same windows in Czech.
#include "Hlavni.h"
#include "Hledani.h"
#include "Jazyk.h"
#include "Pripojeni.h"
#include "Rozhrani.h"
#include "shell_test_util.h"
#include "texts_shown.h"

#include <QLocale>
#include <QRegularExpression>

#include <functional>
#include <memory>
#include <vector>

using namespace shelltest;

namespace {

class Jazyk : public ShellTest {
  protected:
    void TearDown() override {
        NastavJazyk(TJazyk::Cestina);
        qunsetenv("KM207_LANG");
        QLocale::setDefault(QLocale::system());
        ShellTest::TearDown();
    }
};

TEST_F(Jazyk, OptionBeatsEnvironmentWhichBeatsTheSettingsFile) {
    const auto en = TJazyk::Anglictina;
    const auto cs = TJazyk::Cestina;
    struct Case {
        QStringList args;
        const char* env; // nullptr: not set
        const char* ini; // the settings file's key, nullptr: none
        TJazyk expected;
    } cases[] = {
        {{}, nullptr, nullptr, cs},
        {{}, nullptr, "en", en},
        {{}, "en", "cs", en},
        {{}, "cs", "en", cs},
        {{"--lang", "en"}, "cs", "cs", en},
        {{"--lang=cs"}, "en", "en", cs},
        {{"get", "--lang", "en", "--", "--lang", "cs"}, nullptr, nullptr, en},
        {{"--", "--lang", "en"}, nullptr, nullptr, cs},
        // A value that names no language is passed over.
        {{"--lang", "de"}, "xx", "en", en},
        {{"--lang"}, nullptr, nullptr, cs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString() + " env=" + (c.env ? c.env : "-") +
                     " ini=" + (c.ini ? c.ini : "-"));
        write_ini(QStringLiteral("[Připojení]\nRozhraní=KL-4100\nAdresa=9\n"));
        if (c.ini) {
            ASSERT_TRUE(ZapisJazykIni(QString::fromLatin1(c.ini)));
        }
        if (c.env)
            qputenv("KM207_LANG", c.env);
        else
            qunsetenv("KM207_LANG");
        EXPECT_EQ(JazykProcesu(c.args, true), c.expected);
        // km207 never reads the window's choice from the settings file.
        if (!c.args.contains(QStringLiteral("--lang")) && !c.env) {
            EXPECT_EQ(JazykProcesu(c.args, false), cs);
        }
    }
    // Writing the language keeps the connection's keys.
    write_ini(QStringLiteral("[Připojení]\nRozhraní=KL-4100\nAdresa=9\n"));
    ASSERT_TRUE(ZapisJazykIni(QStringLiteral("en")));
    TData data;
    InitData(&data);
    ASSERT_TRUE(CtiIni(&data));
    EXPECT_EQ(data.Adresa, 9);
    EXPECT_TRUE(read_ini().contains(QStringLiteral("[Program]\nJazyk=en")));
}

TEST_F(Jazyk, AnEnglishSystemLocaleLeavesTheProgramCzech) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    qputenv("LANG", "en_US.UTF-8");
    EXPECT_EQ(JazykProcesu({}, true), TJazyk::Cestina);
    qunsetenv("LANG");
}

using Window = std::function<std::unique_ptr<QWidget>()>;

// Each window built in Czech, then in English: every text changes, except
// the module's own names and words that are the same in both, and no English
// text is cut off where the Czech one is whole; back in Czech, every text is
// as in the first build. Returns the English texts.
std::vector<QMap<QString, QString>> walk(const std::vector<Window>& windows) {
    const auto texts = [&windows] {
        std::vector<QMap<QString, QString>> all;
        for (const Window& make : windows)
            all.push_back(testsupport::texts_shown(make().get()));
        return all;
    };
    const auto cut = [&windows] {
        QStringList all;
        for (const Window& make : windows)
            all << testsupport::texts_cut_off(make().get());
        return all;
    };
    const auto czech = texts();
    const QStringList czechCut = cut();
    EXPECT_TRUE(NastavJazyk(TJazyk::Anglictina));
    const auto english = texts();
    const QStringList englishCut = cut();
    EXPECT_EQ(englishCut.size(), czechCut.size())
        << englishCut.join(QLatin1Char('\n')).toStdString();
    const QRegularExpression same(
        QStringLiteral("^ *(KM-207|RTC|Jazyk / Language|Čeština|English|\\d+ Bd|Cancel|UDP "
                       "port|UDP timeout)? *$"));
    for (size_t w = 0; w < windows.size(); ++w) {
        EXPECT_EQ(english[w].keys(), czech[w].keys());
        for (auto it = czech[w].cbegin(); it != czech[w].cend(); ++it) {
            if (same.match(it.value()).hasMatch()) continue;
            EXPECT_NE(english[w].value(it.key()).toStdString(), it.value().toStdString())
                << "untranslated: " << it.key().toStdString();
        }
    }
    EXPECT_TRUE(NastavJazyk(TJazyk::Cestina));
    EXPECT_EQ(texts(), czech);
    return english;
}

// The main window, the connection dialog and the module search.
TEST_F(Jazyk, TheWindowsSpeakEnglishAndCzechAgain) {
    TData data;
    const auto english = walk({
        []() -> std::unique_ptr<QWidget> { return std::make_unique<TForm1>(); },
        [&data]() -> std::unique_ptr<QWidget> {
            InitData(&data);
            auto dialog = std::make_unique<TForm2>();
            dialog->Data = &data;
            dialog->show();
            return dialog;
        },
        [&data]() -> std::unique_ptr<QWidget> {
            InitData(&data);
            return std::make_unique<TFormHledani>(&data, data, TOtevreni{},
                                                  TabulkaRozhrani[0].PopisText(), QString());
        },
    });
    ASSERT_EQ(english.size(), 3u);
    EXPECT_EQ(english[0].value(QStringLiteral("Konec2.text")), QStringLiteral("E&xit"));
    EXPECT_EQ(english[1].value(QStringLiteral("Panel1.text")),
              QStringLiteral("Module connection not initialized yet"));
    EXPECT_EQ(english[2].value(QStringLiteral("LabelRozhrani.text")),
              QStringLiteral("Interface: Standard COMx"));
}

} // namespace

namespace {

// The installer leaves its choice in the settings file beside the program;
// it holds until the user chooses in the program, and is never rewritten.
TEST_F(Jazyk, TheInstallersChoiceHoldsUntilTheUserChooses) {
    const QDir root(ini_dir);
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin")) && root.mkpath(QStringLiteral("lib/km207")));
    NastavAdresarIni(root.filePath(QStringLiteral("bin")), root.filePath(QStringLiteral("user")));
    const QByteArray installer("[Program]\r\nJazyk=en\r\n");
    QFile beside(root.filePath(QStringLiteral("bin/W_km207.ini")));
    ASSERT_TRUE(beside.open(QIODevice::WriteOnly) && beside.write(installer) > 0);
    beside.close();
    EXPECT_EQ(JazykProcesu({}, true), TJazyk::Anglictina);
    // The user's own file, saved without a choice of language.
    ASSERT_TRUE(root.mkpath(QStringLiteral("user")));
    QFile own(root.filePath(QStringLiteral("user/W_km207.ini")));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly) &&
                own.write(TextNaCp1250(QStringLiteral("[Připojení]\r\nAdresa=9\r\n"))) > 0);
    own.close();
    EXPECT_EQ(JazykProcesu({}, true), TJazyk::Anglictina);
    ASSERT_TRUE(ZapisJazykIni(QStringLiteral("cs")));
    EXPECT_EQ(JazykProcesu({}, true), TJazyk::Cestina);
    ASSERT_TRUE(beside.open(QIODevice::ReadOnly));
    EXPECT_EQ(beside.readAll(), installer);
}

} // namespace
