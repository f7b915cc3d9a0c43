#include "book/listing.h"

#include <QCollator>
#include <QDir>
#include <QLocale>
#include <algorithm>

#include "common/path_utils.h"

namespace leafsong {

bool IsPictureExtension(QStringView ext) {
    // The one list of formats: the listing, drops and the command line all ask here.
    static constexpr const char* kExtensions[] = {"jpg", "jpeg", "jpe", "png", "webp",
                                                  "tif", "tiff", "bmp", "gif"};
    return std::any_of(std::begin(kExtensions), std::end(kExtensions), [ext](const char* e) {
        return ext.compare(QLatin1StringView(e), Qt::CaseInsensitive) == 0;
    });
}

bool MatchesPicturePattern(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && IsPictureExtension(QStringView(name).sliced(dot + 1));
}

void SortLikeFileManager(QStringList& names) {
    // Qt compares plainly under the C locale, without numbers by value; file managers still sort
    // naturally there, so fall back to a neutral locale's rules.
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C) {
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    }
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    // Names equal to the collator keep a fixed order.
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const int c = collator.compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
}

void Listing::SetPath(const QString& folder) {
    path_ = folder;
    Refresh();
}

void Listing::Refresh() {
    names_.clear();
    if (path_.isEmpty()) {
        return;
    }
    const QDir dir(path_);
    const QStringList all = dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QString& name : all) {
        if (MatchesPicturePattern(name) && !excluded_.contains(JoinPath(path_, name))) {
            names_.append(name);
        }
    }
    SortLikeFileManager(names_);
}

void Listing::Exclude(const QString& name) {
    excluded_.insert(JoinPath(path_, name));
    names_.removeAll(name);
}

QString Listing::FullPath(int i) const {
    return JoinPath(path_, List(i));
}

}  // namespace leafsong
