#pragma once
// The album's private temporary folder and the files it writes there from its resources.

#include <QString>
#include <QStringList>

namespace leafsong {

// Names of ResToFile's unfinished files.
inline constexpr char kPartialPattern[] = "*.part-*";

// ${TMPDIR:-/tmp}: the folder shared by all users where fresh private folders are made.
QString SharedTempFolder();

// The folder of one run. A running album keeps a lock on its folder (flock on the folder itself),
// so a folder whose lock can be had belongs to no running album: what the album writes into it is
// then a killed run's, and is removed.
class TempDir {
public:
    TempDir() = default;
    // Lets the folder go, leaving it in place.
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // With XDG_RUNTIME_DIR set, UseFolder($XDG_RUNTIME_DIR/leafsong); else MakeFresh in
    // SharedTempFolder(). leftovers: patterns of the names the album writes. "" when a folder
    // was taken, else the one line for the user.
    QString Open(const QStringList& leftovers);

    // Takes folder, made 0700 when missing. Refuses it, touching nothing, when it is a symbolic
    // link, not a folder, another user's or open to others: the answer is then the one line for
    // the user ("" when taken).
    QString UseFolder(const QString& folder, const QStringList& leftovers);

    // Makes a fresh folder parent/leafsong-<uid>-XXXXXX (0700), which no one else can have taken
    // first, after sweeping this user's stale ones there: their leftovers, then the folders
    // themselves when that empties them. Symbolic links and other users' folders are passed by.
    // Answers as UseFolder.
    QString MakeFresh(const QString& parent, const QStringList& leftovers);

    // The folder, ending with "/"; empty until taken.
    const QString& path() const { return path_; }

    // Removes the folder when it is empty and lets it go.
    void Close();

private:
    QString path_;
    int fd_ = -1;
};

// Writes the embedded resource to filePath (mode 0600) unless a file of that name exists. True
// only when this call wrote the file; the bytes go to a fresh private name first and are renamed
// into place, so a failed write never leaves a partial file under the final name.
bool ResToFile(const QString& resource, const QString& filePath);

}  // namespace leafsong
