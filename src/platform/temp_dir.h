#pragma once
// The album's private temporary folder and the files it writes there from its resources.

#include <QString>

namespace leafsong {

struct TempDirResult {
    QString path;   // ends with "/"; empty when refused
    QString error;  // one line for the user when refused
    bool ok() const { return !path.isEmpty(); }
};

// $XDG_RUNTIME_DIR/leafsong/ when XDG_RUNTIME_DIR is set, else ${TMPDIR:-/tmp}/leafsong-<uid>/.
QString TempDirCandidate();

// Creates the folder (mode 0700) when missing, and refuses it when it is a symbolic link, not a
// folder, owned by another user or open to others. Nothing is changed when it is refused.
TempDirResult PrepareTempDir(const QString& folder);

// PrepareTempDir(TempDirCandidate()).
TempDirResult GetTempDir();

// Writes the embedded resource to filePath unless a file of that name exists. True only when this
// call wrote the file; the bytes go to a fresh private name first and are renamed into place, so
// a failed write never leaves a partial file under the final name.
bool ResToFile(const QString& resource, const QString& filePath);

}  // namespace leafsong
