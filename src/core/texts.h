#pragma once
// The texts the user reads. The album's own texts are written in Chinese in the code; English
// ones are looked up by them in the embedded translation.

#include <QString>
#include <QTranslator>
#include <memory>

#include "platform/text_language.h"

namespace leafsong {

// Makes UserText give the texts of language while the returned translator lives: for English it
// is installed on the application; the original texts need none (null).
std::unique_ptr<QTranslator> InstallTexts(TextLanguage language);

// text, one of the album's own texts of context (a class name), in the installed language. The
// translation (resources/translations/leafsong_en.ts) is keyed by context and text: a text changed
// here needs its entry changed there, or it shows untranslated.
QString UserText(const char* context, const char16_t* text);

}  // namespace leafsong
