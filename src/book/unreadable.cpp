#include "book/unreadable.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/log.h"

namespace leafsong {

QString MarkedName(const QString& path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0) {
        return path;
    }
    return path.left(dot + 1) + QStringLiteral("(F)") + path.mid(dot + 1);
}

void Marks::PasteMark(Listing& File1, PageBuffer& Pic1) {
    marked_.clear();
    // Names given back just before are tested again, not passed over by a stale listing.
    File1.Refresh();
    const int tested = std::min(2, File1.ListCount());
    QStringList unreadable;
    for (int i = 0; i < tested; ++i) {
        if (!Pic1.Load(File1.FullPath(i))) {
            unreadable << File1.List(i);
        }
    }
    for (const QString& name : std::as_const(unreadable)) {
        const QString path = File1.FullPath(File1.IndexOf(name));
        const MarkRecord record{path, MarkedName(path), IdentityOf(path)};
        const bool journalled = !journal_ || journal_->Add(record);
        if (journalled && RenameNoReplace(record.original, record.marked)) {
            qCDebug(lcMarks) << "marked" << record.original;
            marked_.append(record);
            continue;
        }
        if (journal_ && journalled) {
            journal_->Remove(record);
        }
        qCDebug(lcMarks) << "cannot mark" << path << "- leaving it out of the listing";
        File1.Exclude(name);
    }
    File1.Refresh();
}

void Marks::RemoveMark() {
    for (const MarkRecord& r : std::as_const(marked_)) {
        // Only the file this album renamed, and never onto a name that was taken meanwhile.
        if (IdentityOf(r.marked) == r.id && RenameNoReplace(r.marked, r.original)) {
            qCDebug(lcMarks) << "restored" << r.original;
            if (journal_) {
                journal_->Remove(r);
            }
        }
    }
    marked_.clear();
}

}  // namespace leafsong
