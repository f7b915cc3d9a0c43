#pragma once
// Pictures decoded at book resolution one at a time on a worker thread, so that no decode holds up
// the window and no two decodes add up in memory; the last few are kept so that a turn can start
// at once and no picture is decoded twice. A file that changed on disk is decoded afresh.

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <deque>
#include <functional>
#include <optional>

#include "book/page_buffer.h"

namespace leafsong {

class PictureLoader {
public:
    // picture is null when the file cannot be decoded.
    using Done = std::function<void(const DecodedPicture* picture)>;

    explicit PictureLoader(int capacity = 6);
    ~PictureLoader();
    PictureLoader(const PictureLoader&) = delete;
    PictureLoader& operator=(const PictureLoader&) = delete;

    // Asks for a picture: done runs on this thread once it is decoded, at once (before Request
    // returns) when it is at hand. Requests are served before the pictures asked for ahead.
    void Request(const QString& path, Done done);
    // Decodes pictures ahead, once the requests are served; replaces the earlier wish list.
    void Prefetch(const QStringList& paths);
    // Drops every request and prefetch still waiting; their callbacks never run. The decode in
    // flight finishes and is kept.
    void CancelAll();
    // Decodes everything asked for and waits until it is done, delivering the results (tests and
    // benchmarks).
    void Settle();
    // True when the picture is decoded and the file unchanged.
    bool IsReady(const QString& path) const;
    // Forgets every decoded picture.
    void Clear();

private:
    struct Stamp {
        qint64 size = -1;
        qint64 modifiedNs = 0;
        quint64 inode = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        Stamp stamp;
        std::optional<DecodedPicture> picture;
        quint64 used = 0;
    };
    struct Waiting {
        QString path;
        Done done;
    };
    static Stamp StampOf(const QString& path);
    const Entry* Find(const QString& path) const;
    void Store(const QString& path, const Stamp& stamp, std::optional<DecodedPicture> picture);
    void StartNext();
    void Finished(const QString& path, const Stamp& stamp, std::optional<DecodedPicture> picture);

    int capacity_;
    quint64 clock_ = 0;
    QHash<QString, Entry> entries_;
    std::deque<Waiting> requests_;
    QStringList prefetch_;
    bool busy_ = false;
    QThreadPool pool_;  // one worker: one decode at a time
    QObject context_;   // results arrive through it, on this thread
};

}  // namespace leafsong
