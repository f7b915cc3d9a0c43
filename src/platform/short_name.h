#pragma once
// Short forms of paths for media command strings: a blank-free alias of the file whose extension
// is the file's own, cut to three letters and upper-cased (song.midi -> ....MID). Each alias is a
// symbolic link in the album's private temporary folder, named after a hash of the path, and is
// reached through a descriptor of that folder (/proc/self/fd/<n>/media-<hash>.<EXT>), so no blank
// or quote of the folder's own path reaches the command.

#include <QString>

namespace leafsong {

// Names of the aliases.
inline constexpr char kShortNamePattern[] = "media-*";

class ShortNames {
public:
    // folder: where the aliases go (the private temporary folder); may be set later.
    explicit ShortNames(const QString& folder = {});
    // Lets the folder go; the aliases stay until RemoveAll.
    ~ShortNames();
    ShortNames(const ShortNames&) = delete;
    ShortNames& operator=(const ShortNames&) = delete;

    // Opens the folder for the aliases ("" lets the previous one go).
    void SetFolder(const QString& folder);

    // The alias of an existing file. When no alias can be made (no such file, no folder, the
    // link refused) the answer is the previous call's, kept for the whole run ("" at first).
    QString GetShortName(const QString& path);

    // Removes every alias in the folder, those of earlier runs included. Called at exit.
    void RemoveAll();

private:
    int dirFd_ = -1;
    QString buffer_;  // the last answer
};

// The alias's name for a file path: "media-<hash>" plus "." and the short extension when the
// file name has one.
QString ShortAliasName(const QString& absolutePath);

}  // namespace leafsong
