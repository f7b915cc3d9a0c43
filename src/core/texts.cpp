#include "core/texts.h"

#include <algorithm>

#include <QCoreApplication>
#include <QPointer>

#include "core/resources.h"
#include "platform/log.h"

namespace leafsong {

namespace {

// The English translator while it is installed; null under the original texts.
QPointer<QTranslator>& English() {
    static QPointer<QTranslator> translator;
    return translator;
}

}  // namespace

std::unique_ptr<QTranslator> InstallTexts(TextLanguage language) {
    if (language != TextLanguage::English) {
        return nullptr;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QString::fromLatin1(kEnglishTexts)) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return nullptr;
    }
    English() = translator.get();
    return translator;
}

QString UserText(const char* context, const char16_t* text) {
    // The tables keep their texts as UTF-16 literals; a translation is found by the UTF-8 bytes.
    const QString original = QString::fromUtf16(text);
    const QByteArray source = original.toUtf8();
    QString shown = QCoreApplication::translate(context, source.constData());
    // A Chinese text changed in the code without its entry would reach the user unnoticed.
    if (English() && shown == original &&
        std::any_of(source.cbegin(), source.cend(), [](char c) { return c & 0x80; })) {
        qCWarning(lcTexts, "no English text in %s for \"%s\"", context, source.constData());
    }
    return shown;
}

}  // namespace leafsong
