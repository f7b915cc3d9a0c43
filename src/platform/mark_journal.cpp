#include "platform/mark_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

#include "common/path_utils.h"
#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/state_folder.h"

namespace leafsong {

namespace {

constexpr char kTag[] = "mark1";
// Earlier versions wrote a few lines; anything far larger is not such a journal.
constexpr qint64 kJournalLimit = 1 << 20;

// The journal's bytes when it is this user's own plain file that no one else may write; nothing
// otherwise. Read through the descriptor it was checked on.
std::optional<QByteArray> ReadOwnJournal(const QString& file) {
    const int fd =
        ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat st {};
    QFile f;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
        (st.st_mode & (S_IWGRP | S_IWOTH)) != 0 || st.st_size > kJournalLimit ||
        !f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        qCDebug(lcMarks) << "ignoring the journal" << file;
        return std::nullopt;
    }
    return f.readAll();
}

QByteArray Serialise(const QList<MarkRecord>& records) {
    QByteArray bytes;
    for (const MarkRecord& r : records) {
        bytes += QByteArray(kTag) + ' ' + QByteArray::number(r.dev) + ' ' +
                 QByteArray::number(r.ino) + ' ' + QByteArray::number(r.size) + ' ' +
                 QFile::encodeName(r.original).toBase64() + ' ' +
                 QFile::encodeName(r.marked).toBase64() + '\n';
    }
    return bytes;
}

enum class Outcome { Restored, Later, Gone };

Outcome Restore(const MarkRecord& r) {
    if (r.marked != MarkedName(r.original) || GetPathName(r.marked) != GetPathName(r.original)) {
        return Outcome::Gone;  // not a record the album wrote: nothing to do, ever
    }
    struct stat st {};
    if (::lstat(QFile::encodeName(r.marked).constData(), &st) != 0) {
        // A folder that is not there now (a stick not plugged in) may come back.
        return QFileInfo::exists(GetPathName(r.marked)) ? Outcome::Gone : Outcome::Later;
    }
    if (!S_ISREG(st.st_mode) || quint64(st.st_dev) != r.dev || quint64(st.st_ino) != r.ino) {
        return Outcome::Gone;  // another file wears the marked name now
    }
    return RenameNoReplace(r.marked, r.original) ? Outcome::Restored : Outcome::Later;
}

}  // namespace

QString MarkedName(const QString& path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0) {
        return path;
    }
    return path.left(dot + 1) + QStringLiteral("(F)") + path.mid(dot + 1);
}

QString MarkJournalPath() {
    const QString folder = StateFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("marks.journal");
}

QList<MarkRecord> ParseMarkJournal(const QByteArray& bytes) {
    QList<MarkRecord> records;
    // One record a line: tag, device, inode, size, original and marked path (base64).
    for (const QByteArray& line : bytes.split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        if (fields.size() != 6 || fields[0] != kTag) {
            continue;
        }
        bool ok[3] = {};
        MarkRecord r;
        r.dev = fields[1].toULongLong(&ok[0]);
        r.ino = fields[2].toULongLong(&ok[1]);
        r.size = fields[3].toLongLong(&ok[2]);
        const auto decode = [](const QByteArray& b) {
            return QByteArray::fromBase64Encoding(b, QByteArray::AbortOnBase64DecodingErrors);
        };
        const auto original = decode(fields[4]);
        const auto marked = decode(fields[5]);
        if (!ok[0] || !ok[1] || !ok[2] || !original || !marked || (*original).isEmpty() ||
            (*marked).isEmpty()) {
            continue;
        }
        r.original = QFile::decodeName(*original);
        r.marked = QFile::decodeName(*marked);
        records.append(r);
    }
    return records;
}

int RestoreLegacyMarks(const QString& journalFile) {
    const std::optional<QByteArray> bytes =
        journalFile.isEmpty() ? std::nullopt : ReadOwnJournal(journalFile);
    if (!bytes) {
        return 0;
    }
    int restored = 0;
    QList<MarkRecord> kept;
    for (const MarkRecord& r : ParseMarkJournal(*bytes)) {
        switch (Restore(r)) {
            case Outcome::Restored:
                qCDebug(lcMarks) << "gave back the name of" << r.original;
                ++restored;
                break;
            case Outcome::Later:
                kept.append(r);
                break;
            case Outcome::Gone:
                break;
        }
    }
    if (kept.isEmpty()) {
        QFile::remove(journalFile);
    } else if (kept.size() != ParseMarkJournal(*bytes).size()) {
        QString error;
        WriteFileAtomically(journalFile, Serialise(kept), &error);
    }
    return restored;
}

}  // namespace leafsong
