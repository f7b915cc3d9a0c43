#include "core/texts.h"

#include <QCoreApplication>

#include "core/resources.h"

namespace leafsong {

std::unique_ptr<QTranslator> InstallTexts(TextLanguage language) {
    if (language != TextLanguage::English) {
        return nullptr;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QString::fromLatin1(kEnglishTexts)) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return nullptr;
    }
    return translator;
}

QString UserText(const char* context, const char16_t* text) {
    // The tables keep their texts as UTF-16 literals; a translation is found by the UTF-8 bytes.
    const QByteArray source = QString::fromUtf16(text).toUtf8();
    return QCoreApplication::translate(context, source.constData());
}

}  // namespace leafsong
