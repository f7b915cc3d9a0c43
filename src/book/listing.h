#pragma once
// The album's folder listing: the names of the folder's picture files (JPEG, PNG, WebP, TIFF, BMP,
// GIF), sorted as a file manager sorts them.

#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include "common/path_utils.h"

namespace leafsong {

// True for the extension (the text after the last dot) of a picture the album shows, in any letter
// case: jpg, jpeg, jpe, png, webp, tif, tiff, bmp, gif.
bool IsPictureExtension(QStringView ext);

// True for names ending in a dot and a picture extension, in any letter case.
bool MatchesPicturePattern(const QString& name);

// Case-insensitive, locale-aware, numbers compared by value ("2" before "10").
void SortLikeFileManager(QStringList& names);

class Listing {
public:
    // Points the listing at a folder and reads it.
    void SetPath(const QString& folder);
    // Reads the folder again.
    void Refresh();

    const QString& Path() const { return path_; }
    int ListCount() const { return static_cast<int>(names_.size()); }
    // Entry i's file name (without folder).
    QString List(int i) const { return names_.value(i); }
    // Entry i's full path.
    QString FullPath(int i) const;
    // Index of a name in the listing, or -1.
    int IndexOf(const QString& name) const { return int(names_.indexOf(name)); }
    // Leaves a file of the current folder out of the listing, now and at every later read.
    void Exclude(const QString& name);

private:
    QString path_;
    QStringList names_;
    QSet<QString> excluded_;  // full paths
};

}  // namespace leafsong
