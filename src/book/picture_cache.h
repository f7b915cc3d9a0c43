#pragma once
// Decoded pictures kept at book resolution, and decoded ahead on a worker thread, so that a turn
// starts at once. A file that changed on disk (size or modification time) is decoded afresh.

#include <QFuture>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

#include "book/page_buffer.h"

namespace leafsong {

class PictureCache {
public:
    explicit PictureCache(int capacity = 6) : capacity_(capacity) {}
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // Loads the picture into pic, from the cache when the file is unchanged; false (pic left as
    // it was) when it cannot be decoded.
    bool Load(PageBuffer& pic, const QString& path);

    // Starts decoding the pictures that are not cached yet, in the background.
    void Prefetch(const QStringList& paths);

    // Waits until the decodes started ahead have finished.
    void Settle();

    // Forgets everything (a new folder).
    void Clear();

    bool contains(const QString& path) const { return entries_.contains(path); }

private:
    // Tells a changed or replaced file from the one decoded.
    struct Stamp {
        qint64 size = -1;
        qint64 modifiedNs = 0;
        quint64 inode = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        Stamp stamp;
        std::optional<DecodedPicture> picture;  // nothing: the file is unreadable
        quint64 used = 0;
    };
    struct Pending {
        Stamp stamp;
        QFuture<std::optional<DecodedPicture>> future;
    };
    static Stamp StampOf(const QString& path);
    void Store(const QString& path, const Stamp& stamp, std::optional<DecodedPicture> picture);

    int capacity_;
    quint64 clock_ = 0;
    QHash<QString, Entry> entries_;
    QHash<QString, Pending> pending_;
};

}  // namespace leafsong
