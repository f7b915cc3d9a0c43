#include "app/lifecycle.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

#include "app/drops.h"
#include "app/settings.h"
#include "common/path_utils.h"
#include "menu/folder_choice.h"
#include "music/music_choice.h"
#include "pages/put_first.h"
#include "platform/audio_environment.h"
#include "platform/auto_repeat.h"
#include "platform/fonts.h"
#include "platform/log.h"
#include "platform/temp_dir.h"

namespace leafsong {

void PrepareEnvironment() {
    // The see-through window needs an X11 window shape: under Wayland run through XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    // The sound library reads its choices when it starts, after this.
    PrepareAudioEnvironment();
}

Album::Album(StartOptions options)
    : options_(std::move(options)),
      clock_(options_.clock ? *options_.clock : systemClock_),
      media_(options_.media ? *options_.media : player_),
      journal_(options_.journalFile.isEmpty() ? MarkJournal::DefaultPath() : options_.journalFile),
      marks_(&journal_),
      turner_(TurnServices{state_, File1_, Pic1_, Pic2_, deco_, window_.surface(), modes_, cache_,
                           [this] { input_.Form_DblClick(); }, [this] { LayOutFirst(); },
                           [] { QApplication::beep(); }}),
      dialogs_(options_.dialogs ? *options_.dialogs : qtDialogs_),
      help_({}, options_.exeDir, options_.editor ? *options_.editor : desktopEditor_),
      menu_(modes_, MenuHandlers{[this] {
                                     mnuPicture_Click(dialogs_, menu_.frmMenu(), state_, File1_,
                                                      [this] { LayOutFirst(); });
                                 },
                                 [this] {
                                     mnuMusic_Click(dialogs_, menu_.frmMenu(), state_, media_,
                                                    options_.exeDir);
                                 },
                                 [this] { help_.ShowReadme(); }, [this] { Ready2Exit(); }}),
      input_(InputServices{state_, File1_, modes_, turner_, [this] { Ready2Exit(); },
                           [this] { help_.ShowReadme(); },
                           [this](QPoint global) { menu_.Popup(global); }}) {
    window_.onCloseRequest = [this] { Ready2Exit(); };
    window_.onKeyUp = [this](int key) {
        if (!exiting_) {
            input_.Form_KeyUp(key);
        }
    };
    window_.onMouseDown = [this](bool rightAlone, QPoint global) {
        input_.Form_MouseDown(rightAlone, global);
    };
    window_.onMouseUp = [this](float x) { input_.Form_MouseUp(x); };
    window_.onDoubleClick = [this] { input_.Form_DblClick(); };
    window_.onDropFiles = [this](const QStringList& paths) {
        TakeDroppedFiles(paths, state_, File1_, media_, [this] { LayOutFirst(); });
    };
    window_.pageTurnPointerAt = [this](float x) {
        return input_.PointerAt(x) == AlbumInput::Pointer::PageTurn;
    };
}

Album::~Album() = default;

std::optional<int> Album::Start() {
    // Nothing is touched before the lock is held.
    const QString lockName =
        options_.lockName.isEmpty() ? InstanceLock::DefaultName() : options_.lockName;
    if (!lock_.TryAcquire(lockName)) {
        qCDebug(lcStartup) << "another copy is running";
        return 0;
    }
    // Names left marked by a run that did not end in order come back first.
    RestoreFromJournal(journal_);
    const TempDirResult temp = GetTempDir();
    if (!temp.ok()) {
        std::fprintf(stderr, "leafsong: %s\n", temp.error.toUtf8().constData());
        return 1;
    }
    tempDir_ = temp.path;
    help_.setTempDir(tempDir_);
    shortNames_.SetFolder(tempDir_);
    signals_ = std::make_unique<SignalPipe>([this](int) { Ready2Exit(); });

    settingsFile_ = SettingsFilePath(options_.exeDir);
    LoadSettings(settingsFile_, modes_, state_);
    if (!options_.folder.isEmpty()) {
        state_.PicturePath = options_.folder;
    }
    imgCursor_ = QCursor(QPixmap(QString::fromLatin1(kCursorResource)), 12, 1);
    window_.setPageTurnCursor(imgCursor_);
    WriteTemporaryFiles();
    deco_.LoadFrom(tempDir_);
    state_.AutoFlip = false;

    QScreen* screen = QGuiApplication::primaryScreen();
    window_.CoverScreen(screen);
    state_.book = PlaceBook(window_.surface().width(), window_.surface().height());
    input_.setWindowWidth(window_.surface().width());
    qCDebug(lcStartup) << "screen" << window_.surface().image().size() << "book"
                       << state_.book.rect();

    ConnectRepeat(repeat_, modes_.tmrRepeat, mci_);
    StartMusic();
    if (!FolderExists(state_.PicturePath)) {
        state_.PicturePath = options_.exeDir;
    }
    File1_.SetPath(state_.PicturePath);
    LayOutFirst();
    qCDebug(lcStartup) << "first spread drawn" << options_.started.elapsed() << "ms after start";
    window_.show();
    window_.activateWindow();
    RequestDetectableAutoRepeat();
    return std::nullopt;
}

void Album::WriteTemporaryFiles() {
    for (const DecorationFile& f : kDecorationFiles) {
        const QString path = JoinPath(tempDir_, QString::fromLatin1(f.fileName));
        if (ResToFile(QString::fromLatin1(f.resource), path)) {
            written_ << path;
        }
    }
}

void Album::StartMusic() {
    if (IsBirthday(clock_)) {
        const QString tune = JoinPath(tempDir_, QString::fromLatin1(kGreetingTune.fileName));
        if (ResToFile(QString::fromLatin1(kGreetingTune.resource), tune)) {
            written_ << tune;
        }
        media_.OpenMedia(tune);
        media_.PlayMedia();
    } else if (FileExists(state_.BackGroundMusic)) {
        media_.OpenMedia(state_.BackGroundMusic);
        media_.PlayMedia();
    }
}

void Album::LayOutFirst() {
    turner_.Abandon();
    PageServices pages{state_, File1_, Pic1_,  Pic2_,  deco_, window_.surface(),
                       marks_, modes_, clock_, &cache_};
    PutFirst(pages);
    const int count = File1_.ListCount();
    if (count > 2) {
        // The next turn either way.
        cache_.Prefetch({File1_.FullPath(count - 1), File1_.FullPath(2)});
    }
}

void Album::Ready2Exit() {
    if (exiting_) {
        return;
    }
    exiting_ = true;
    turner_.Stop();
    marks_.RemoveMark();
    deco_.Release();
    media_.CloseMedia();
    shortNames_.RemoveAll();
    for (const QString& path : std::as_const(written_)) {
        QFile::remove(path);
    }
    help_.Remove();
    // Leaves the folder when it is empty; another run's files keep it.
    QDir().rmdir(tempDir_);
    if (!SaveSettings(settingsFile_, modes_, state_)) {
        qCDebug(lcStartup) << "settings not written to" << settingsFile_;
    }
    window_.hide();
    QCoreApplication::exit(0);
}

int RunAlbum(const QString& folder, const QElapsedTimer& started) {
    QApplication::setFont([] {
        QFont f = QApplication::font();
        f.setFamilies(CjkFamilies());
        return f;
    }());
    StartOptions options;
    options.folder = folder;
    options.started = started;
    options.exeDir = QCoreApplication::applicationDirPath();
    Album album(options);
    if (const std::optional<int> status = album.Start()) {
        return *status;
    }
    return QApplication::exec();
}

}  // namespace leafsong
