#pragma once
// The settings file Leafsong.ini: the modes and the two paths, read at start and written
// whenever the user changes one of them, and at the orderly end.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "core/album_state.h"
#include "core/modes.h"

namespace leafsong {

inline constexpr char kSettingsFileName[] = "Leafsong.ini";

// Where the settings come from and go to for one run.
struct SettingsPlace {
    QString readFrom;     // empty: nothing is read, every setting has its default
    QString writeTo;      // empty: nothing is written
    QStringList notices;  // one line each for stderr: the files passed over, and why
};

// Leafsong.ini beside the program in exeDir. Where that file or its folder cannot be written,
// the copy in $XDG_CONFIG_HOME/leafsong/ (~/.config/leafsong/), which starts from the file beside
// the program until it exists. A file over kMaxProfileSize is passed over with a notice. An
// installed program keeps its settings in that folder always.
SettingsPlace ChooseSettingsFile(const QString& exeDir, bool installed = false);

class SettingsFile {
public:
    // The settings of a program in exeDir, in the file ChooseSettingsFile gives.
    explicit SettingsFile(const QString& exeDir, bool installed = false);

    // Prints the notices of the file's choice on stderr, then sets the modes and the two
    // paths from the file. A relative path is taken from the program's folder, whatever the
    // current directory.
    void LoadSettings(Modes& modes, AlbumState& state);

    // Writes the modes and the two paths atomically, keeping every other line of the file
    // and the very bytes of a path not changed since it was read (a relative one stays relative,
    // so a copy of the album on a stick keeps working elsewhere). False, after one line on stderr
    // naming the file and the reason, when it could not be written: the file is then as it was.
    bool SaveSettings(const Modes& modes, const AlbumState& state);

    // The file the settings are saved to; empty when they are not saved.
    const QString& path() const { return place_.writeTo; }

private:
    // A path as read: its text, made absolute, and its bytes, which the text cannot hold when not
    // UTF-8.
    struct ReadPath {
        QString text;
        QByteArray bytes;
    };

    bool Write(const Modes& modes, const AlbumState& state, QString* error);
    ReadPath ReadPathSetting(const QByteArray& content, const QString& key) const;

    QString exeDir_;
    SettingsPlace place_;
    ReadPath music_;
    ReadPath folder_;
};

}  // namespace leafsong
