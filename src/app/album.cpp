#include "app/album.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>

#include "app/drops.h"
#include "common/path_utils.h"
#include "core/resources.h"
#include "core/settings.h"
#include "music/music_choice.h"
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
      dialogs_(options_.dialogs ? *options_.dialogs : qtDialogs_),
      book_(state_, modes_, window_.surface(), clock_),
      music_(media_, state_),
      // The menu's hidden widget owns the guide's notice, as it owns the other dialogs.
      guide_({}, options_.exeDir, options_.editor ? *options_.editor : desktopEditor_, dialogs_,
             [this] { return menu_.frmMenu(); }),
      menu_([this](Command command) { commands_.Run(command); }, modes_),
      input_(
          state_, modes_, [this] { return book_.Count(); }, commands_,
          [this](QPoint global) { menu_.Popup(global); }) {
    BindCommands();
    BindWindow();
    book_.onEndRule = [this] { commands_.Run(Command::ToggleAutoTurnAtPointer); };
    book_.beep = [] { QApplication::beep(); };
    book_.onLaidOut = [this] {
        qCDebug(lcStartup) << "opening spread laid out" << options_.started.elapsed()
                           << "ms after start";
        if (!musicStarted_) {
            musicStarted_ = true;
            StartMusic();
            music_.FollowRepeat(modes_.repeat);
        }
    };
    mci_.SetEndNotice([this] { music_.OnTuneEnded(); });
}

Album::~Album() = default;

void Album::BindCommands() {
    auto toggle = [this](bool Modes::*mode) {
        return [this, mode](const QStringList&) {
            modes_.*mode = !(modes_.*mode);
            // Before the music's start the repeat has nothing to repeat.
            music_.FollowRepeat(modes_.repeat && musicStarted_);
            SaveSettings();
        };
    };
    commands_.Bind(Command::ChooseFolder, [this](const QStringList&) {
        // The dialog starts at the album's folder, or at home when that is gone.
        const QString start =
            FolderExists(state_.PicturePath) ? state_.PicturePath : QDir::homePath();
        const QString folder = dialogs_.BrowseFolder(menu_.frmMenu(), FolderTitle(), start);
        if (!folder.isEmpty()) {
            commands_.Run(Command::OpenFolder, {folder});
        }
    });
    commands_.Bind(Command::ChooseMusic, [this](const QStringList&) {
        const QString chosen =
            AskForMusic(dialogs_, menu_.frmMenu(), state_.BackGroundMusic, options_.exeDir);
        if (!chosen.isEmpty()) {
            commands_.Run(Command::PlayMusic, {chosen});
        }
    });
    commands_.Bind(Command::ToggleLoop, toggle(&Modes::loop));
    commands_.Bind(Command::ToggleRepeat, toggle(&Modes::repeat));
    commands_.Bind(Command::ToggleFooter, toggle(&Modes::footer));
    commands_.Bind(Command::ToggleProportions, toggle(&Modes::proportions));
    commands_.Bind(Command::ShowGuide, [this](const QStringList&) { guide_.ShowReadme(); });
    commands_.Bind(Command::Exit, [this](const QStringList&) { Ready2Exit(); });
    commands_.Bind(Command::TurnForward, [this](const QStringList&) { book_.FlipForward(); });
    commands_.Bind(Command::TurnBackward, [this](const QStringList&) { book_.FlipBackward(); });
    commands_.Bind(Command::ToggleAutoTurn, [this](const QStringList&) {
        state_.AutoFlip = !state_.AutoFlip;
        book_.FlipPage(0);
    });
    commands_.Bind(Command::ToggleAutoTurnAtPointer, [this](const QStringList&) {
        if (book_.Count() == 0) {
            return;
        }
        state_.AutoFlip = !state_.AutoFlip;
        // No button released yet counts as the left edge.
        book_.FlipPage(state_.LastMouseX.value_or(0.0F) > input_.HalfLine() ? 0 : 1);
    });
    commands_.Bind(Command::OpenFolder, [this](const QStringList& args) {
        book_.OpenFolder(args.value(0), args.value(1));
        SaveSettings();
    });
    commands_.Bind(Command::PlayMusic, [this](const QStringList& args) {
        music_.Play(args.value(0));
        SaveSettings();
    });
    commands_.Bind(Command::OpenDropped, [this](const QStringList& paths) {
        const DropChoice choice = ChooseDropped(paths);
        if (choice.kind == DropChoice::Kind::Picture) {
            commands_.Run(Command::OpenFolder, {GetPathName(choice.path)});
        } else if (choice.kind == DropChoice::Kind::Music) {
            commands_.Run(Command::PlayMusic, {choice.path});
        }
    });
    commands_.Bind(Command::OpenGiven, [this](const QStringList& args) {
        QString reason;
        const OpenRequest given = ClassifyPath(args.value(0), &reason);
        if (given.kind == OpenRequest::Kind::Folder) {
            commands_.Run(Command::OpenFolder, {given.path});
        } else if (given.kind == OpenRequest::Kind::Picture) {
            const QFileInfo picture(given.path);
            commands_.Run(Command::OpenFolder, {picture.absolutePath(), picture.fileName()});
        } else if (given.kind == OpenRequest::Kind::Music) {
            commands_.Run(Command::PlayMusic, {given.path});
        }
    });
}

void Album::BindWindow() {
    window_.onCloseRequest = [this] { Ready2Exit(); };
    window_.onKeyUp = [this](int key) {
        if (!exiting_) {
            input_.KeyReleased(key);
        }
    };
    window_.onMouseDown = [this](bool rightAlone, QPoint global) {
        input_.ButtonPressed(rightAlone, global);
    };
    window_.onMouseUp = [this](float x) { input_.ButtonReleased(x); };
    window_.onDoubleClick = [this] { input_.DoubleClicked(); };
    window_.onDropFiles = [this](const QStringList& paths) {
        commands_.Run(Command::OpenDropped, paths);
    };
    window_.pageTurnPointerAt = [this](float x) {
        return input_.PointerAt(x) == AlbumInput::Pointer::PageTurn;
    };
}

std::optional<int> Album::Start() {
    // Nothing is touched before the lock is held.
    const InstanceLock::Result lock = lock_.TryAcquire(lockPath_);
    if (lock == InstanceLock::Result::Taken) {
        qCDebug(lcStartup) << "another copy is running";
        return options_.open.kind == OpenRequest::Kind::None
                   ? 0
                   : *HandOverToRunningAlbum(lockPath_, options_.open.path, 3000);
    }
    if (lock == InstanceLock::Result::Unavailable) {
        qCDebug(lcStartup) << "running without the single-copy lock";
    } else if (!handoff_.Listen(HandoffSocketPath(lockPath_))) {
        qCDebug(lcStartup) << "later copies cannot hand files to this one";
    }
    // Pictures that earlier versions renamed get their names back first.
    RestoreLegacyMarks(MarkJournalPath());
    // What a run writes into its private folder: found there now, it is a killed run's.
    QStringList leftovers{QLatin1StringView(kShortNamePattern), QLatin1StringView(kPartialPattern),
                          QLatin1StringView(kReadmeName),
                          QLatin1StringView(kGreetingTune.fileName)};
    for (const ResourceFile& f : kDecorationFiles) {
        leftovers << QLatin1StringView(f.fileName);
    }
    if (const QString refused = privateFolder_.Open(leftovers); !refused.isEmpty()) {
        std::fprintf(stderr, "leafsong: %s\n", refused.toUtf8().constData());
        return 1;
    }
    tempDir_ = privateFolder_.path();
    guide_.setTempDir(tempDir_);
    shortNames_.SetFolder(tempDir_);
    signals_ = std::make_unique<SignalPipe>([this](int) { Ready2Exit(); });

    settings_.emplace(options_.exeDir, options_.installed);
    settings_->LoadSettings(modes_, state_);
    state_.AutoFlip = false;

    window_.CoverScreen(QGuiApplication::primaryScreen());
    state_.book = PlaceBook(window_.surface().width(), window_.surface().height());
    input_.setWindowWidth(window_.surface().width());
    qCDebug(lcStartup) << "screen" << window_.surface().image().size() << "book"
                       << state_.book.rect();

    // What the command line names is the user's choice, opened (and saved) as a menu command
    // opens it; otherwise the saved folder, or the program's when that is gone, which is written
    // only at the orderly end. Music waits for the opening spread: the pictures come first.
    const OpenRequest::Kind given = options_.open.kind;
    if (given == OpenRequest::Kind::Folder || given == OpenRequest::Kind::Picture) {
        commands_.Run(Command::OpenGiven, {options_.open.path});
    } else {
        book_.OpenFolder(FolderExists(state_.PicturePath) ? state_.PicturePath : options_.exeDir);
    }
    // The window is mapped, the decorations are read and the files written while the first
    // picture is decoded.
    window_.setWindowIcon(QIcon(QString::fromLatin1(kIconResource)));
    window_.show();
    window_.activateWindow();
    book_.LoadDecorations();
    pageTurnCursor_ = QCursor(QPixmap(QString::fromLatin1(kCursorResource)), 12, 1);
    window_.setPageTurnCursor(pageTurnCursor_);
    WriteTemporaryFiles();
    RequestDetectableAutoRepeat();
    return std::nullopt;
}

std::optional<int> HandOverToRunningAlbum(const QString& lockPath, const QString& path,
                                          int waitMs) {
    // A running copy may be starting still, its socket not yet open.
    const QString socket = HandoffSocketPath(lockPath);
    QElapsedTimer waited;
    waited.start();
    HandoffResult result = HandoffResult::NoAlbum;
    while ((result = HandToRunningAlbum(socket, path, 3000)) == HandoffResult::NoAlbum &&
           waited.elapsed() < waitMs) {
        QThread::msleep(50);
    }
    if (result == HandoffResult::Taken) {
        return 0;
    }
    if (result == HandoffResult::NoAlbum && waitMs == 0) {
        return std::nullopt;
    }
    std::fprintf(stderr, "leafsong: the running album did not take %s\n", qPrintable(path));
    return 1;
}

bool Album::TakeHandedOver(const QString& path) {
    QString reason;
    if (exiting_ || ClassifyPath(path, &reason).kind == OpenRequest::Kind::None) {
        return false;
    }
    commands_.Run(Command::OpenGiven, {path});
    window_.raise();
    window_.activateWindow();
    return true;
}

void Album::WriteTemporaryFiles() {
    for (const ResourceFile& f : kDecorationFiles) {
        const QString path = JoinPath(tempDir_, QString::fromLatin1(f.fileName));
        if (ResToFile(QString::fromLatin1(f.resource), path)) {
            written_ << path;
        }
    }
}

void Album::StartMusic() {
    if (options_.open.kind == OpenRequest::Kind::Music) {
        commands_.Run(Command::OpenGiven, {options_.open.path});
    } else if (IsBirthday(clock_)) {
        const QString tune = JoinPath(tempDir_, QString::fromLatin1(kGreetingTune.fileName));
        if (ResToFile(QString::fromLatin1(kGreetingTune.resource), tune)) {
            written_ << tune;
        }
        music_.Start(tune);
    } else if (FileExists(state_.BackGroundMusic)) {
        music_.Start(state_.BackGroundMusic);
    }
}

void Album::SaveSettings() {
    // Nothing is written before the settings were read: a refused start leaves the file alone.
    if (settings_) {
        settings_->SaveSettings(modes_, state_);
    }
}

void Album::Ready2Exit() {
    if (exiting_) {
        return;
    }
    exiting_ = true;
    book_.Close();
    music_.Close();
    shortNames_.RemoveAll();
    for (const QString& path : std::as_const(written_)) {
        QFile::remove(path);
    }
    guide_.Remove();
    privateFolder_.Close();
    SaveSettings();
    window_.hide();
    QCoreApplication::exit(0);
}

bool IsInstalledCopy(const QString& exeDir) {
    const QString here = QFileInfo(exeDir).canonicalFilePath();
    const QString configured =
        QFileInfo(QStringLiteral(LEAFSONG_INSTALL_BINDIR)).canonicalFilePath();
    const QString metainfo =
        QStringLiteral("%1/../share/metainfo/%2.metainfo.xml").arg(exeDir, QLatin1String(kAppId));
    return (!here.isEmpty() && here == configured) || QFileInfo(metainfo).isFile();
}

int RunAlbum(const OpenRequest& open, const QElapsedTimer& started) {
    QApplication::setFont([] {
        QFont f = QApplication::font();
        f.setFamilies(CjkFamilies());
        return f;
    }());
    // Desktops match the window to its desktop entry by this name.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kAppId));
    StartOptions options;
    options.open = open;
    options.started = started;
    options.exeDir = QCoreApplication::applicationDirPath();
    options.installed = IsInstalledCopy(options.exeDir);
    Album album(options);
    if (const std::optional<int> status = album.Start()) {
        return *status;
    }
    return QApplication::exec();
}

}  // namespace leafsong
