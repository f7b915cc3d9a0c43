#include "book/picture_cache.h"

#include <sys/stat.h>

#include <QFile>
#include <QtConcurrent/QtConcurrentRun>

#include "platform/log.h"

namespace leafsong {

PictureCache::~PictureCache() {
    for (Pending& p : pending_) {
        p.future.waitForFinished();
    }
}

PictureCache::Stamp PictureCache::StampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        return {};
    }
    return {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            quint64(st.st_ino)};
}

void PictureCache::Store(const QString& path, const Stamp& stamp,
                         std::optional<DecodedPicture> picture) {
    entries_.insert(path, Entry{stamp, std::move(picture), ++clock_});
    while (entries_.size() > capacity_) {
        auto oldest = entries_.begin();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->used < oldest->used) {
                oldest = it;
            }
        }
        entries_.erase(oldest);
    }
}

bool PictureCache::Load(PageBuffer& pic, const QString& path) {
    const Stamp now = StampOf(path);
    if (auto p = pending_.find(path); p != pending_.end()) {
        const Pending pending = *p;
        pending_.erase(p);
        // The decode in flight is only good when the file did not change since it began.
        if (pending.stamp == now) {
            Store(path, now, pending.future.result());
        }
    }
    auto it = entries_.find(path);
    if (it == entries_.end() || !(it->stamp == now)) {
        qCDebug(lcPages) << "decoding" << path;
        Store(path, now, DecodePicture(path));
        it = entries_.find(path);
    }
    it->used = ++clock_;
    if (!it->picture) {
        return false;
    }
    pic.Assign(*it->picture);
    return true;
}

void PictureCache::Prefetch(const QStringList& paths) {
    for (const QString& path : paths) {
        const Stamp now = StampOf(path);
        if (path.isEmpty() || pending_.contains(path) ||
            (entries_.contains(path) && entries_[path].stamp == now)) {
            continue;
        }
        pending_.insert(path, Pending{now, QtConcurrent::run(DecodePicture, path)});
    }
}

void PictureCache::Settle() {
    for (Pending& p : pending_) {
        p.future.waitForFinished();
    }
}

void PictureCache::Clear() {
    for (Pending& p : pending_) {
        p.future.waitForFinished();
    }
    pending_.clear();
    entries_.clear();
}

}  // namespace leafsong
