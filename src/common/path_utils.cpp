#include "common/path_utils.h"

#include <QFileInfo>

namespace leafsong {

QString JoinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(u'/')) {
        return folder + name;
    }
    return folder + u'/' + name;
}

QString GetFileName(const QString& path) {
    const qsizetype at = path.lastIndexOf(u'/');
    return at < 0 ? path : path.mid(at + 1);
}

QString GetExtName(const QString& path) {
    const qsizetype at = path.lastIndexOf(u'.');
    return at < 0 ? path : path.mid(at + 1);
}

QString GetPathName(const QString& path) {
    const qsizetype at = path.lastIndexOf(u'/');
    return at < 0 ? QString() : path.left(at + 1);
}

bool FileExists(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

bool FolderExists(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(path);
    return info.exists() && (info.isDir() || info.isFile());
}

}  // namespace leafsong
