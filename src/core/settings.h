#pragma once
// The settings file Leafsong.ini: the three modes and the two paths, read once at start and
// written once at the orderly end.

#include <QString>

#include "core/album_state.h"
#include "core/modes.h"

namespace leafsong {

inline constexpr char kSettingsFileName[] = "Leafsong.ini";

// Leafsong.ini beside the executable; in $XDG_CONFIG_HOME/leafsong/ when the executable's folder
// cannot be written.
QString SettingsFilePath(const QString& exeDir);

// Sets the three modes and the two paths from the file.
void LoadSettings(const QString& file, Modes& modes, AlbumState& state);

// Writes the three modes and the two paths, keeping every other line of the file; false when the
// file could not be written (nothing is then changed on disk).
bool SaveSettings(const QString& file, const Modes& modes, const AlbumState& state);

}  // namespace leafsong
