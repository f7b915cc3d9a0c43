#pragma once
// Which language the album's texts are shown in, from the user's locale variables.

#include <QString>

namespace leafsong {

enum class TextLanguage { Original, English };

// The locale variables that choose the language of messages, as the environment holds them.
struct LocaleVariables {
    QString language = {};  // LANGUAGE: a colon-separated list, the first entry preferred
    QString lcAll = {};
    QString lcMessages = {};
    QString lang = {};
};

// The original (Chinese) texts under a Chinese locale and under C or POSIX, English under any
// other. The locale is the first non-empty one of LC_ALL, LC_MESSAGES and LANG (none is C);
// LANGUAGE comes before it, except when that locale is C or POSIX, as gettext has it.
TextLanguage ChooseTextLanguage(const LocaleVariables& locale);

// The variables as this process has them now.
LocaleVariables LocaleVariablesOfProcess();

}  // namespace leafsong
