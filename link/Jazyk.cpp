#include "Jazyk.h"

#include "Dekl.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

TJazyk& aktualni() {
    static TJazyk jazyk = TJazyk::Cestina;
    return jazyk;
}

// Qt's catalogs: where Qt keeps them, or a "translations" folder beside the
// program (the Windows package).
bool nactiPrekladQt(QTranslator& Preklad, const QLocale& Jazyk) {
    for (const QString& Slozka :
         {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
          QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
        if (Preklad.load(Jazyk, QStringLiteral("qtbase"), QStringLiteral("_"), Slozka)) return true;
    }
    return false;
}

} // namespace

std::optional<TJazyk> JazykZKodu(const QString& Kod) {
    if (Kod == QLatin1String("cs")) return TJazyk::Cestina;
    if (Kod == QLatin1String("en")) return TJazyk::Anglictina;
    return std::nullopt;
}

QString KodJazyka(TJazyk Jazyk) {
    return Jazyk == TJazyk::Anglictina ? QStringLiteral("en") : QStringLiteral("cs");
}

std::optional<QString> VolbaJazyka(const QStringList& Argumenty) {
    const QString Volba = QStringLiteral("--lang");
    for (qsizetype i = 0; i < Argumenty.size(); ++i) {
        const QString& a = Argumenty[i];
        if (a == QLatin1String("--")) break;
        if (a == Volba) return i + 1 < Argumenty.size() ? Argumenty[i + 1] : QString();
        if (a.startsWith(Volba + QLatin1Char('='))) return a.mid(Volba.size() + 1);
    }
    return std::nullopt;
}

TJazyk ZvolJazyk(const std::optional<QString>& Volba, const std::optional<QString>& Prostredi,
                 const std::optional<QString>& Nastaveni) {
    // A value that names no language is passed over, so a typo in the
    // environment cannot hide the settings file's choice.
    for (const auto* Zdroj : {&Volba, &Prostredi, &Nastaveni})
        if (*Zdroj)
            if (const auto Jazyk = JazykZKodu(**Zdroj)) return *Jazyk;
    return TJazyk::Cestina;
}

TJazyk JazykProcesu(const QStringList& Argumenty, bool ZNastaveni) {
    const auto Volba = VolbaJazyka(Argumenty);
    std::optional<QString> Prostredi;
    if (qEnvironmentVariableIsSet("KM207_LANG")) Prostredi = qEnvironmentVariable("KM207_LANG");
    if (!ZNastaveni || (Volba && JazykZKodu(*Volba)) || (Prostredi && JazykZKodu(*Prostredi)))
        return ZvolJazyk(Volba, Prostredi, std::nullopt);
    return ZvolJazyk(Volba, Prostredi, CtiJazykIni());
}

bool NastavJazyk(TJazyk Jazyk) {
    static QTranslator Program;
    static QTranslator Qt;
    // Texts created from now on speak the new language; a window already
    // open keeps the words it was built with.
    QCoreApplication::removeTranslator(&Program);
    QCoreApplication::removeTranslator(&Qt);
    aktualni() = Jazyk;
    // English is Qt's own source language and Czech is ours: each language
    // needs one catalog, Qt's Czech one or our English one.
    if (Jazyk == TJazyk::Cestina)
        return nactiPrekladQt(Qt, QLocale(QLocale::Czech, QLocale::Czechia)) &&
               QCoreApplication::installTranslator(&Qt);
    return Program.load(QStringLiteral(":/i18n/km207_en.qm")) &&
           QCoreApplication::installTranslator(&Program);
}

TJazyk AktualniJazyk() {
    return aktualni();
}
