// km207-sim's words to a person, in Czech or English: the help and the
// program's own messages. The lines it prints for programs on stdout are
// not among them and never change with the language.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>

namespace km::emu {

enum class Language { czech, english };

// "cs" or "en"; nothing for anything else, a null included.
std::optional<Language> language_from_code(const char* code);

// --lang beats KM207_LANG; Czech without either, whatever the locale. An
// unknown value in the environment is passed over; false for one given
// with --lang, which is then the caller's usage error.
bool choose_language(int argc, char** argv);

const char* help_text();

// The message whose English is `english`, in the chosen language, with %1,
// %2, ... replaced by `args` in order.
std::string say(const char* english, std::initializer_list<std::string> args = {});

} // namespace km::emu
