#include "platform/text_language.h"

#include <QStringList>

namespace leafsong {

namespace {

// "zh_CN.UTF-8" names Chinese, "C.UTF-8" the C locale: the part before territory, codeset and
// modifier is what counts.
QString LanguageOf(const QString& name) {
    qsizetype end = 0;
    while (end < name.size() && !QStringView(u"_.@").contains(name[end])) {
        ++end;
    }
    return name.left(end);
}

bool IsCLocale(const QString& name) {
    const QString language = LanguageOf(name);
    return language.isEmpty() || language == u"C" || language == u"POSIX";
}

}  // namespace

TextLanguage ChooseTextLanguage(const LocaleVariables& locale) {
    QString name = !locale.lcAll.isEmpty()        ? locale.lcAll
                   : !locale.lcMessages.isEmpty() ? locale.lcMessages
                                                  : locale.lang;
    if (IsCLocale(name)) {
        return TextLanguage::Original;
    }
    // Both languages are at hand, so the first entry decides.
    const QStringList preferred = locale.language.split(u':', Qt::SkipEmptyParts);
    if (!preferred.isEmpty()) {
        name = preferred.constFirst();
    }
    return IsCLocale(name) || LanguageOf(name) == u"zh" ? TextLanguage::Original
                                                        : TextLanguage::English;
}

LocaleVariables LocaleVariablesOfProcess() {
    return {qEnvironmentVariable("LANGUAGE"), qEnvironmentVariable("LC_ALL"),
            qEnvironmentVariable("LC_MESSAGES"), qEnvironmentVariable("LANG")};
}

}  // namespace leafsong
