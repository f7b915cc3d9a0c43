#include "app/album.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
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
      book_(state_, modes_, window_.surface(), clock_, &journal_),
      music_(media_, state_),
      guide_({}, options_.exeDir, options_.editor ? *options_.editor : desktopEditor_),
      menu_([this](Command command) { commands_.Run(command); }, modes_),
      input_(
          state_, modes_, [this] { return book_.Count(); }, commands_,
          [this](QPoint global) { menu_.Popup(global); }) {
    BindCommands();
    BindWindow();
    book_.onEndRule = [this] { commands_.Run(Command::ToggleAutoTurnAtPointer); };
    book_.beep = [] { QApplication::beep(); };
    mci_.SetEndNotice([this] { music_.OnTuneEnded(); });
}

Album::~Album() = default;

void Album::BindCommands() {
    auto toggle = [this](bool Modes::*mode) {
        return [this, mode](const QStringList&) {
            modes_.*mode = !(modes_.*mode);
            music_.FollowRepeat(modes_.repeat);
        };
    };
    commands_.Bind(Command::ChooseFolder, [this](const QStringList&) {
        const QString folder =
            dialogs_.BrowseFolder(menu_.frmMenu(), QString::fromUtf16(kFolderTitle));
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
    commands_.Bind(Command::OpenFolder,
                   [this](const QStringList& args) { book_.OpenFolder(args.value(0)); });
    commands_.Bind(Command::PlayMusic,
                   [this](const QStringList& args) { music_.Play(args.value(0)); });
    commands_.Bind(Command::OpenDropped, [this](const QStringList& paths) {
        const DropChoice choice = ChooseDropped(paths);
        if (choice.kind == DropChoice::Kind::Picture) {
            commands_.Run(Command::OpenFolder, {GetPathName(choice.path)});
        } else if (choice.kind == DropChoice::Kind::Music) {
            commands_.Run(Command::PlayMusic, {choice.path});
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
    if (!lock_.TryAcquire()) {
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
    guide_.setTempDir(tempDir_);
    shortNames_.SetFolder(tempDir_);
    signals_ = std::make_unique<SignalPipe>([this](int) { Ready2Exit(); });

    settingsFile_ = SettingsFilePath(options_.exeDir);
    LoadSettings(settingsFile_, modes_, state_);
    music_.FollowRepeat(modes_.repeat);
    pageTurnCursor_ = QCursor(QPixmap(QString::fromLatin1(kCursorResource)), 12, 1);
    window_.setPageTurnCursor(pageTurnCursor_);
    WriteTemporaryFiles();
    book_.LoadDecorations(tempDir_);
    state_.AutoFlip = false;

    window_.CoverScreen(QGuiApplication::primaryScreen());
    state_.book = PlaceBook(window_.surface().width(), window_.surface().height());
    input_.setWindowWidth(window_.surface().width());
    qCDebug(lcStartup) << "screen" << window_.surface().image().size() << "book"
                       << state_.book.rect();

    StartMusic();
    QString folder = options_.folder.isEmpty() ? state_.PicturePath : options_.folder;
    if (!FolderExists(folder)) {
        folder = options_.exeDir;
    }
    commands_.Run(Command::OpenFolder, {folder});
    qCDebug(lcStartup) << "first spread drawn" << options_.started.elapsed() << "ms after start";
    window_.show();
    window_.activateWindow();
    RequestDetectableAutoRepeat();
    return std::nullopt;
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
    if (IsBirthday(clock_)) {
        const QString tune = JoinPath(tempDir_, QString::fromLatin1(kGreetingTune.fileName));
        if (ResToFile(QString::fromLatin1(kGreetingTune.resource), tune)) {
            written_ << tune;
        }
        music_.Start(tune);
    } else if (FileExists(state_.BackGroundMusic)) {
        music_.Start(state_.BackGroundMusic);
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
