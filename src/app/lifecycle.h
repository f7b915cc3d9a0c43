#pragma once
// Start-up and the one orderly way out.

#include <QCursor>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "app/album_state.h"
#include "app/album_window.h"
#include "app/input.h"
#include "flip/decorations.h"
#include "flip/page_turner.h"
#include "menu/album_menu.h"
#include "menu/dialogs.h"
#include "menu/help.h"
#include "menu/modes.h"
#include "music/media_player.h"
#include "music/repeat.h"
#include "pages/listing.h"
#include "pages/marks.h"
#include "pages/page_buffer.h"
#include "pages/picture_cache.h"
#include "platform/clock.h"
#include "platform/instance_lock.h"
#include "platform/media_commands.h"
#include "platform/qt_audio_backend.h"
#include "platform/short_name.h"
#include "platform/signal_pipe.h"

namespace leafsong {

// Environment the program sets for itself before the application object exists.
void PrepareEnvironment();

struct StartOptions {
    QString folder;       // album folder for this run; empty: the one from the settings
    QString exeDir;       // folder of the executable (settings and fallback album folder)
    QString lockName;     // single-instance lock; empty: the user's
    QString journalFile;  // journal of renamed pictures; empty: the user's
    const Clock* clock = nullptr;
    MediaPlayer* media = nullptr;
    Dialogs* dialogs = nullptr;        // Qt's dialogs when not given
    EditorLauncher* editor = nullptr;  // the user's editor when not given
    QElapsedTimer started;             // since the program's start, for the start-up log
};

// The running album: owns its parts and wires them together.
class Album {
public:
    explicit Album(StartOptions options);
    ~Album();
    Album(const Album&) = delete;
    Album& operator=(const Album&) = delete;

    // Brings the album up. Returns an exit status when the album must end at once (another copy
    // runs: 0; the temporary folder is refused: 1), nothing when it runs.
    std::optional<int> Start();

    // Restores marked pictures, closes the music, deletes this run's temporary files, writes the
    // settings and ends the event loop with status 0. Later calls do nothing.
    void Ready2Exit();
    bool exiting() const { return exiting_; }

    const AlbumState& state() const { return state_; }
    AlbumWindow& window() { return window_; }
    const QString& settingsFile() const { return settingsFile_; }
    const QString& tempDir() const { return tempDir_; }
    const QStringList& writtenFiles() const { return written_; }

private:
    // Lays the album out afresh from its first picture, dropping a running turn.
    void LayOutFirst();
    void WriteTemporaryFiles();
    void StartMusic();

    StartOptions options_;
    SystemClock systemClock_;
    QtAudioBackend audio_;
    MediaCommands mci_{audio_};
    ShortNames shortNames_;
    CommandPlayer player_{mci_, shortNames_};
    const Clock& clock_;
    MediaPlayer& media_;

    InstanceLock lock_;
    AlbumState state_;
    Modes modes_;
    Repeat repeat_{media_, state_.BackGroundMusic};
    Listing File1_;
    PageBuffer Pic1_;
    PageBuffer Pic2_;
    Decorations deco_;
    MarkJournal journal_;
    Marks marks_;
    AlbumWindow window_;
    PictureCache cache_;
    PageTurner turner_;
    QtDialogs qtDialogs_;
    DesktopEditor desktopEditor_;
    Dialogs& dialogs_;
    HelpText help_;
    AlbumMenu menu_;
    AlbumInput input_;
    QCursor imgCursor_;
    std::unique_ptr<SignalPipe> signals_;

    QString settingsFile_;
    QString tempDir_;
    QStringList written_;  // temporary files this run wrote, deleted at exit
    bool exiting_ = false;
};

// Starts the album (folder: this run's album folder, or empty) and runs it to its end.
int RunAlbum(const QString& folder, const QElapsedTimer& started);

}  // namespace leafsong
