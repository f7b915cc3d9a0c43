#include "platform/text_language.h"

#include <gtest/gtest.h>

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

TEST(TextLanguageTest, TheLocaleVariablesChooseTheLanguage) {
    constexpr auto O = TextLanguage::Original, E = TextLanguage::English;
    const struct {
        LocaleVariables locale;
        TextLanguage language;
    } rows[] = {
        {{}, O},
        {{.lang = u"zh_CN.UTF-8"_s}, O},
        {{.lang = u"zh_TW.Big5"_s}, O},
        {{.lang = u"C"_s}, O},
        {{.lang = u"C.UTF-8"_s}, O},
        {{.lang = u"POSIX"_s}, O},
        {{.lang = u"en_US.UTF-8"_s}, E},
        {{.lang = u"de_DE@euro"_s}, E},
        {{.lang = u"zu_ZA.UTF-8"_s}, E},
        // LC_ALL, then LC_MESSAGES, then LANG.
        {{.lcAll = u"C"_s, .lcMessages = u"en_GB.UTF-8"_s, .lang = u"en_US.UTF-8"_s}, O},
        {{.lcMessages = u"en_GB.UTF-8"_s, .lang = u"zh_CN.UTF-8"_s}, E},
        {{.lcAll = u"zh_CN.UTF-8"_s, .lcMessages = u"en_GB.UTF-8"_s}, O},
        // LANGUAGE first, its first entry deciding, unless the locale is C or POSIX.
        {{.language = u"en"_s, .lang = u"zh_CN.UTF-8"_s}, E},
        {{.language = u"zh_CN:en"_s, .lang = u"en_US.UTF-8"_s}, O},
        {{.language = u":fr:zh"_s, .lang = u"zh_CN.UTF-8"_s}, E},
        {{.language = u"en_US"_s, .lang = u"C.UTF-8"_s}, O},
        {{.language = u"en_US"_s, .lcAll = u"POSIX"_s, .lang = u"zh_CN.UTF-8"_s}, O},
        {{.language = u"en_US"_s}, O},
    };
    for (const auto& [locale, language] : rows) {
        EXPECT_EQ(ChooseTextLanguage(locale), language)
            << locale.language.toStdString() << '|' << locale.lcAll.toStdString() << '|'
            << locale.lcMessages.toStdString() << '|' << locale.lang.toStdString();
    }
}

}  // namespace
}  // namespace leafsong
