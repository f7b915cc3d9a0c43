#include "book/picture_loader.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QFile>
#include <QMetaObject>
#include <algorithm>

#include "platform/log.h"

namespace leafsong {

PictureLoader::PictureLoader(int capacity) : capacity_(capacity) {
    pool_.setMaxThreadCount(1);
}

PictureLoader::~PictureLoader() {
    requests_.clear();
    prefetch_.clear();
    // The decode in flight ends first; its result is dropped with the context.
    pool_.waitForDone();
}

PictureLoader::Stamp PictureLoader::StampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        return {};
    }
    return {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            quint64(st.st_ino)};
}

const PictureLoader::Entry* PictureLoader::Find(const QString& path) const {
    const auto it = entries_.constFind(path);
    return it != entries_.constEnd() && it->stamp == StampOf(path) ? &*it : nullptr;
}

bool PictureLoader::IsReady(const QString& path) const {
    return Find(path) != nullptr;
}

void PictureLoader::Store(const QString& path, const Stamp& stamp,
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

void PictureLoader::Request(const QString& path, Done done) {
    if (auto it = entries_.find(path); it != entries_.end() && it->stamp == StampOf(path)) {
        it->used = ++clock_;
        const std::optional<DecodedPicture> picture = it->picture;  // done may evict it
        done(picture ? &*picture : nullptr);
        return;
    }
    requests_.push_back({path, std::move(done)});
    StartNext();
}

void PictureLoader::Prefetch(const QStringList& paths) {
    prefetch_ = paths;
    StartNext();
}

void PictureLoader::CancelAll() {
    requests_.clear();
    prefetch_.clear();
}

void PictureLoader::Settle() {
    // A finished decode starts the next one waiting, so the loader is idle only when none waits.
    while (busy_) {
        pool_.waitForDone();
        QCoreApplication::sendPostedEvents(&context_);
    }
}

void PictureLoader::Clear() {
    CancelAll();
    entries_.clear();
}

void PictureLoader::StartNext() {
    if (busy_) {
        return;
    }
    QString path;
    if (!requests_.empty()) {
        path = requests_.front().path;
    }
    while (path.isEmpty() && !prefetch_.isEmpty()) {
        const QString next = prefetch_.takeFirst();
        if (!next.isEmpty() && !Find(next)) {
            path = next;
        }
    }
    if (path.isEmpty()) {
        return;
    }
    busy_ = true;
    const Stamp stamp = StampOf(path);
    qCDebug(lcPages) << "decoding" << path;
    pool_.start([this, path, stamp] {
        std::optional<DecodedPicture> picture = DecodePicture(path);
        QMetaObject::invokeMethod(
            &context_,
            [this, path, stamp, picture = std::move(picture)]() mutable {
                Finished(path, stamp, std::move(picture));
            },
            Qt::QueuedConnection);
    });
}

void PictureLoader::Finished(const QString& path, const Stamp& stamp,
                             std::optional<DecodedPicture> picture) {
    busy_ = false;
    // A file that changed while it was decoded is decoded again for the requests that wait.
    if (stamp == StampOf(path)) {
        Store(path, stamp, std::move(picture));
    }
    // One at a time: a callback may ask for more pictures or cancel the rest.
    for (;;) {
        const auto it = std::find_if(requests_.begin(), requests_.end(),
                                     [&](const Waiting& w) { return w.path == path; });
        const Entry* entry = it != requests_.end() ? Find(path) : nullptr;
        if (!entry) {
            break;
        }
        const Done done = std::move(it->done);
        requests_.erase(it);
        const std::optional<DecodedPicture> copy = entry->picture;
        done(copy ? &*copy : nullptr);
    }
    StartNext();
}

}  // namespace leafsong
