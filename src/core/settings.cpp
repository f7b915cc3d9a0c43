#include "core/settings.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "common/path_utils.h"
#include "platform/atomic_file.h"
#include "platform/profile.h"

namespace leafsong {

namespace {

const QString kShow = QStringLiteral("Show");
const QString kPointer = QStringLiteral("Pointer");
const QString kLoop = QStringLiteral("Loop");
const QString kRepeat = QStringLiteral("Repeat");
const QString kFooter = QStringLiteral("Footer");
const QString kProportions = QStringLiteral("Proportions");
const QString kMusic = QStringLiteral("BackGroundMusic");
const QString kPicturePath = QStringLiteral("PicturePath");

// Only an exact "T" turns a mode on: "t", "True" or the default word leave it off.
bool IsOn(const QString& word) {
    return word == QLatin1String("T");
}

QByteArray Mark(bool on) {
    return on ? QByteArrayLiteral("T") : QByteArrayLiteral("F");
}

QString ConfigFile() {
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory rules say.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) {
        config = JoinPath(QDir::homePath(), QStringLiteral(".config"));
    }
    return JoinPath(JoinPath(config, QStringLiteral("leafsong")),
                    QString::fromLatin1(kSettingsFileName));
}

// Judged from the size alone: reading a huge file is what stalls.
bool TooLarge(const QString& file) {
    const QFileInfo info(file);
    return info.isFile() && info.size() > kMaxProfileSize;
}

}  // namespace

SettingsPlace ChooseSettingsFile(const QString& exeDir, bool installed) {
    const QString config = ConfigFile();
    const QString beside = JoinPath(exeDir, QString::fromLatin1(kSettingsFileName));
    SettingsPlace place{config, config, {}};
    if (!installed && TooLarge(beside)) {
        place.notices << QStringLiteral(
                             "%1 is larger than 1 MiB and is left alone; "
                             "the settings are kept in %2")
                             .arg(beside, config);
    } else if (!installed && CanReplaceFile(beside)) {
        return {beside, beside, {}};
    } else if (!installed && !QFileInfo::exists(config) && QFileInfo(beside).isReadable()) {
        place.readFrom = beside;
    }
    if (TooLarge(place.readFrom)) {
        place.notices << QStringLiteral(
                             "%1 is larger than 1 MiB and is left alone; the settings are not kept")
                             .arg(place.readFrom);
        place.readFrom.clear();
        place.writeTo.clear();
    }
    return place;
}

SettingsFile::SettingsFile(const QString& exeDir, bool installed)
    : exeDir_(exeDir), place_(ChooseSettingsFile(exeDir, installed)) {}

SettingsFile::ReadPath SettingsFile::ReadPathSetting(const QByteArray& content,
                                                     const QString& key) const {
    ReadPath read{ReadProfileText(content, kPointer, key),
                  ReadProfileBytes(content, kPointer, key)};
    // From the program's folder: the current directory is no base, the guide moves it. The
    // default word (what an empty or missing value reads as, and what "no path" is saved as)
    // names no file and stays as it is.
    if (read.text != QLatin1StringView(kDefaultWord)) {
        read.text = QDir::cleanPath(QDir(exeDir_).absoluteFilePath(read.text));
    }
    return read;
}

void SettingsFile::LoadSettings(Modes& modes, AlbumState& state) {
    for (const QString& line : std::as_const(place_.notices)) {
        std::fprintf(stderr, "leafsong: %s\n", qPrintable(line));
    }
    const QByteArray content = ReadProfileFile(place_.readFrom).value_or(QByteArray());
    modes.loop = IsOn(ReadProfileText(content, kShow, kLoop));
    modes.repeat = IsOn(ReadProfileText(content, kShow, kRepeat));
    modes.footer = IsOn(ReadProfileText(content, kShow, kFooter));
    modes.proportions = IsOn(ReadProfileText(content, kShow, kProportions));
    music_ = ReadPathSetting(content, kMusic);
    folder_ = ReadPathSetting(content, kPicturePath);
    state.BackGroundMusic = music_.text;
    state.PicturePath = folder_.text;
}

bool SettingsFile::SaveSettings(const Modes& modes, const AlbumState& state) {
    if (place_.writeTo.isEmpty()) {
        return false;  // a notice at the start said why
    }
    QString error;
    if (Write(modes, state, &error)) {
        return true;
    }
    std::fprintf(stderr, "leafsong: cannot save the settings to %s: %s\n",
                 qPrintable(place_.writeTo), qPrintable(error));
    return false;
}

bool SettingsFile::Write(const Modes& modes, const AlbumState& state, QString* error) {
    const std::optional<QByteArray> before = ReadProfileFile(place_.readFrom, error);
    if (!before) {
        return false;
    }
    // Text decoded from bytes that are not UTF-8 cannot give them back, and the text of a relative
    // path was made absolute: an unchanged path goes back as it was read.
    const auto stored = [](const ReadPath& read, const QString& now) {
        return now == read.text && !read.bytes.isEmpty() ? read.bytes : now.toUtf8();
    };
    QByteArray after = WriteProfileBytes(*before, kShow, kLoop, Mark(modes.loop));
    after = WriteProfileBytes(after, kShow, kRepeat, Mark(modes.repeat));
    after = WriteProfileBytes(after, kShow, kFooter, Mark(modes.footer));
    after = WriteProfileBytes(after, kShow, kProportions, Mark(modes.proportions));
    after = WriteProfileBytes(after, kPointer, kMusic, stored(music_, state.BackGroundMusic));
    after = WriteProfileBytes(after, kPointer, kPicturePath, stored(folder_, state.PicturePath));
    if (after == *before && place_.readFrom == place_.writeTo) {
        return true;
    }
    if (!MakePrivateFolder(QFileInfo(place_.writeTo).absolutePath(), error) ||
        !WriteFileAtomically(place_.writeTo, after, error)) {
        return false;
    }
    place_.readFrom = place_.writeTo;  // the copy carries on from here
    return true;
}

}  // namespace leafsong
