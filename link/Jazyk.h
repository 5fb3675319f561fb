// The language the programs speak to a person: Czech by default, whatever
// the system's locale, English when asked for. Only the words shown to a
// person change; files, the CSV columns and JSON keys stay as they are.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

enum class TJazyk { Cestina, Anglictina };

// "cs" or "en"; anything else is no language.
std::optional<TJazyk> JazykZKodu(const QString& Kod);
QString KodJazyka(TJazyk Jazyk);

// The value of "--lang X" or "--lang=X" in a program's arguments (the first
// one), before the arguments are parsed, so that even a parse error speaks
// the chosen language.
std::optional<QString> VolbaJazyka(const QStringList& Argumenty);

// The option beats the environment (KM207_LANG), which beats the settings
// file; Czech when none of them names a language.
TJazyk ZvolJazyk(const std::optional<QString>& Volba, const std::optional<QString>& Prostredi,
                 const std::optional<QString>& Nastaveni);
// The same for this process: its arguments, KM207_LANG and, when
// ZNastaveni, the settings file (read only when the first two say nothing).
// km207 passes false: scripts parse its Czech output, so a choice made in
// the window must not change it.
TJazyk JazykProcesu(const QStringList& Argumenty, bool ZNastaveni);

// Installs the program's catalog and Qt's own for the language (Qt's in
// Czech, too, for its dialogs and standard buttons), in place of those of the
// language before; false when a catalog could not be loaded (the texts then
// stay in the source language).
bool NastavJazyk(TJazyk Jazyk);
TJazyk AktualniJazyk();
