#include "core/settings.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/path_utils.h"
#include "platform/profile.h"

namespace leafsong {

namespace {

const QString kShow = QStringLiteral("Show");
const QString kPointer = QStringLiteral("Pointer");
const QString kLoop = QStringLiteral("Loop");
const QString kRepeat = QStringLiteral("Repeat");
const QString kFooter = QStringLiteral("Footer");
const QString kMusic = QStringLiteral("BackGroundMusic");
const QString kPicturePath = QStringLiteral("PicturePath");

// Only an exact "T" turns a mode on: "t", "True" or the default word leave it off.
bool IsOn(const QString& word) {
    return word == QLatin1String("T");
}

QString Mark(bool on) {
    return on ? QStringLiteral("T") : QStringLiteral("F");
}

bool FolderWritable(const QString& dir) {
    return !dir.isEmpty() && ::access(QFile::encodeName(dir).constData(), W_OK) == 0;
}

}  // namespace

QString SettingsFilePath(const QString& exeDir) {
    const QString name = QString::fromLatin1(kSettingsFileName);
    if (FolderWritable(exeDir)) {
        return JoinPath(exeDir, name);
    }
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory rules say.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) {
        config = JoinPath(QDir::homePath(), QStringLiteral(".config"));
    }
    return JoinPath(JoinPath(config, QStringLiteral("leafsong")), name);
}

void LoadSettings(const QString& file, Modes& modes, AlbumState& state) {
    const QByteArray content = ReadProfileFile(file);
    modes.loop = IsOn(ReadProfileText(content, kShow, kLoop));
    modes.repeat = IsOn(ReadProfileText(content, kShow, kRepeat));
    modes.footer = IsOn(ReadProfileText(content, kShow, kFooter));
    state.BackGroundMusic = ReadProfileText(content, kPointer, kMusic);
    state.PicturePath = ReadProfileText(content, kPointer, kPicturePath);
}

bool SaveSettings(const QString& file, const Modes& modes, const AlbumState& state) {
    // The fallback folder under XDG_CONFIG_HOME is made only when there is something to write.
    const QString folder = QFileInfo(file).absolutePath();
    if (!QFileInfo::exists(folder) && !QDir().mkpath(folder)) {
        return false;
    }
    return WriteProfileValues(file, {
                                        {kShow, kLoop, Mark(modes.loop)},
                                        {kShow, kRepeat, Mark(modes.repeat)},
                                        {kShow, kFooter, Mark(modes.footer)},
                                        {kPointer, kMusic, state.BackGroundMusic},
                                        {kPointer, kPicturePath, state.PicturePath},
                                    });
}

}  // namespace leafsong
