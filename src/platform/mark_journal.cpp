#include "platform/mark_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/files.h"
#include "platform/log.h"

namespace leafsong {

namespace {

constexpr char kTag[] = "mark1";

bool WriteDurably(const QString& path, const QByteArray& bytes) {
    const QString tmp = path + QStringLiteral(".new");
    const QByteArray native = QFile::encodeName(tmp);
    const int fd =
        ::open(native.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return false;
    }
    bool ok = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(native.constData(), QFile::encodeName(path).constData()) == 0;
    if (!ok) {
        ::unlink(native.constData());
        return false;
    }
    // The rename itself must reach the disk before a picture is renamed.
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace

FileIdentity IdentityOf(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return {};
    }
    return {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size)};
}

QString MarkJournal::DefaultPath() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state)) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty()) {
            return {};
        }
        state = home + QStringLiteral("/.local/state");
    }
    return state + QStringLiteral("/leafsong/marks.journal");
}

QList<MarkRecord> MarkJournal::Load() const {
    QList<MarkRecord> records;
    QFile f(file_);
    if (file_.isEmpty() || !f.open(QIODevice::ReadOnly)) {
        return records;
    }
    // One record a line: tag, device, inode, size, original and marked path (base64, so any
    // byte of a name survives).
    while (!f.atEnd()) {
        const QList<QByteArray> fields = f.readLine(1 << 16).trimmed().split(' ');
        if (fields.size() != 6 || fields[0] != kTag) {
            continue;
        }
        bool ok[3] = {};
        MarkRecord r;
        r.id.dev = fields[1].toULongLong(&ok[0]);
        r.id.ino = fields[2].toULongLong(&ok[1]);
        r.id.size = fields[3].toLongLong(&ok[2]);
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

bool MarkJournal::Save(const QList<MarkRecord>& records) {
    if (file_.isEmpty() || !QDir().mkpath(QFileInfo(file_).absolutePath())) {
        return false;
    }
    QByteArray bytes;
    for (const MarkRecord& r : records) {
        bytes += QByteArray(kTag) + ' ' + QByteArray::number(r.id.dev) + ' ' +
                 QByteArray::number(r.id.ino) + ' ' + QByteArray::number(r.id.size) + ' ' +
                 QFile::encodeName(r.original).toBase64() + ' ' +
                 QFile::encodeName(r.marked).toBase64() + '\n';
    }
    return WriteDurably(file_, bytes);
}

bool MarkJournal::Add(const MarkRecord& record) {
    QList<MarkRecord> records = Load();
    records.append(record);
    return Save(records);
}

bool MarkJournal::Remove(const MarkRecord& record) {
    QList<MarkRecord> records = Load();
    records.removeAll(record);
    return Save(records);
}

bool MarkJournal::Clear() {
    if (file_.isEmpty() || !QFileInfo::exists(file_)) {
        return true;
    }
    return QFile::remove(file_);
}

int RestoreFromJournal(MarkJournal& journal) {
    int restored = 0;
    for (const MarkRecord& r : journal.Load()) {
        // Only a file this album renamed itself, unchanged since, and only onto a free name.
        if (IdentityOf(r.marked) == r.id && r.id.size >= 0 &&
            RenameNoReplace(r.marked, r.original)) {
            qCDebug(lcMarks) << "gave back the name of" << r.original;
            ++restored;
        }
    }
    journal.Clear();
    return restored;
}

}  // namespace leafsong
