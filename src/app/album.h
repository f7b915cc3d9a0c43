#pragma once
// The running album: start-up, the command table and the one orderly way out.

#include <QCursor>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "app/album_window.h"
#include "app/command_line.h"
#include "app/command_table.h"
#include "app/input.h"
#include "book/book.h"
#include "core/album_state.h"
#include "core/modes.h"
#include "core/settings.h"
#include "menu/album_menu.h"
#include "menu/guide.h"
#include "music/media_player.h"
#include "music/music.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/editor.h"
#include "platform/handoff.h"
#include "platform/instance_lock.h"
#include "platform/mark_journal.h"
#include "platform/media_commands.h"
#include "platform/qt_audio_backend.h"
#include "platform/short_name.h"
#include "platform/signal_pipe.h"
#include "platform/temp_dir.h"

namespace leafsong {

// Environment the program sets for itself before the application object exists.
void PrepareEnvironment();

struct StartOptions {
    OpenRequest open;       // what the command line named; Kind::None: the saved folder
    QString exeDir;         // folder of the executable (settings and fallback album folder)
    QElapsedTimer started;  // since the program's start, for the start-up log
    // What the album asks of the outside world; the real services when not given.
    const Clock* clock = nullptr;
    MediaPlayer* media = nullptr;
    Dialogs* dialogs = nullptr;
    EditorLauncher* editor = nullptr;
    bool installed = false;  // an installed copy: settings in $XDG_CONFIG_HOME/leafsong/
};

class Album {
public:
    explicit Album(StartOptions options);
    ~Album();
    Album(const Album&) = delete;
    Album& operator=(const Album&) = delete;

    // Brings the album up. Returns an exit status when the album must end at once (another copy
    // runs: 0, after handing it the file named on the command line; that copy did not take it,
    // or the temporary folder is refused: 1), nothing when it runs.
    std::optional<int> Start();

    // Restores marked pictures, closes the music, deletes this run's temporary files, writes the
    // settings and ends the event loop with status 0. Later calls do nothing.
    void Ready2Exit();

    // Carries out a command as a key, menu item or drop would.
    void Run(Command command, const QStringList& args = {}) { commands_.Run(command, args); }

    const AlbumState& state() const { return state_; }
    const Modes& modes() const { return modes_; }
    AlbumWindow& window() { return window_; }
    Book& book() { return book_; }

private:
    void BindCommands();
    void BindWindow();
    void WriteTemporaryFiles();
    // The saved or given music, or the greeting tune on its day.
    void StartMusic();
    // Another copy hands a path over: taken as OpenGiven when it is one the album can open.
    bool TakeHandedOver(const QString& path);
    // Writes the settings at once, so a choice survives an end that bypasses Ready2Exit.
    void SaveSettings();

    StartOptions options_;
    SystemClock systemClock_;
    QtAudioBackend audio_;
    MediaCommands mci_{audio_};
    ShortNames shortNames_;
    CommandPlayer player_{mci_, shortNames_};
    QtDialogs qtDialogs_;
    DesktopEditor desktopEditor_;
    const Clock& clock_;
    MediaPlayer& media_;
    Dialogs& dialogs_;

    InstanceLock lock_;
    QString lockPath_ = InstanceLock::DefaultPath();
    HandoffListener handoff_{[this](const QString& path) { return TakeHandedOver(path); }};
    AlbumState state_;
    Modes modes_;
    AlbumWindow window_;
    Book book_;
    Music music_;
    Guide guide_;
    CommandTable commands_;
    AlbumMenu menu_;
    AlbumInput input_;
    QCursor pageTurnCursor_;
    std::unique_ptr<SignalPipe> signals_;

    std::optional<SettingsFile> settings_;  // chosen and read by Start
    TempDir privateFolder_;
    QString tempDir_;      // privateFolder_'s path
    QStringList written_;  // temporary files this run wrote, deleted at exit
    bool exiting_ = false;
    bool musicStarted_ = false;  // at the first opening spread laid out
};

// Hands path to the album holding the lock at lockPath, waiting up to waitMs for one that is still
// starting. The exit status for this copy: 0 when it was taken; 1, after one line on stderr, when
// it was refused or (waitMs > 0) no album answered. Nothing when no album answers at once (waitMs
// 0).
std::optional<int> HandOverToRunningAlbum(const QString& lockPath, const QString& path, int waitMs);

// True for a copy run from the bin folder it was installed to: the configured one, or one whose
// installed tree lies beside it (installed with another prefix).
bool IsInstalledCopy(const QString& exeDir);

// Starts the album (open: what the command line named) and runs it to its end.
int RunAlbum(const OpenRequest& open, const QElapsedTimer& started);

}  // namespace leafsong
