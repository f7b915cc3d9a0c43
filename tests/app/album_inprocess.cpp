// The whole album in this process: offscreen, a fixed clock, a recording player, scripted dialogs.
#include "app/album.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QKeyEvent>
#include <QMimeData>
#include <QScopeGuard>
#include <QThread>

#include "core/texts.h"
#include "support/temp_folder.h"

void PrintTo(const QString& s, std::ostream* os) {
    *os << s.toStdString();
}

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

struct RecordingPlayer final : MediaPlayer {
    bool OpenMedia(const QString& path, int) override {
        current = path;
        playing = false;
        return true;
    }
    bool PlayMedia() override {
        played << current;
        return playing = true;
    }
    bool CloseMedia() override { return OpenMedia({}, 0); }
    bool IsPlaying() override { return playing; }
    QString CurrentMedia() const override { return current; }
    QString current;
    QStringList played;
    bool playing = false;
};

// Records what the dialogs show: titles, the music filter and notices.
struct ScriptedDialogs final : Dialogs {
    QString BrowseFolder(QWidget*, const QString& title, const QString& startFolder) override {
        startFolders << startFolder;
        shown << title;
        return answers.takeFirst();
    }
    QString FileDialog(QWidget*, int, const QString& title, const QString&, const QString& filter,
                       const QString&, const QString&, int) override {
        shown << title << filter;
        return answers.takeFirst();
    }
    void Inform(QWidget*, const QString& title, const QString& text) override {
        EXPECT_TRUE(noticeExpected) << "unexpected notice: " << text.toStdString();
        shown << title << text;
    }
    QStringList answers, startFolders, shown;
    bool noticeExpected = false;
};

struct RecordingEditor final : EditorLauncher {
    bool Open(const QString& file) override {
        opened << file;
        return starts;
    }
    QStringList opened;
    bool starts = true;
};

// Event loops refuse to run once the album has asked the application to quit: no exec() here.
bool WaitFor(const std::function<bool()>& done, int ms = 10000) {
    for (const QDeadlineTimer deadline(ms); !done() && !deadline.hasExpired(); QThread::msleep(1)) {
        QCoreApplication::processEvents();
    }
    return done();
}

const QRgb kRed = 0xdc1414, kGreen = 0x14c814;

// The settings file as the album writes it afresh; modes: Loop, Repeat, Footer and Proportions as
// T or F.
QByteArray Settings(const QString& modes, const QString& music, const QString& folder) {
    return u"[Show]\nLoop=%1\nRepeat=%2\nFooter=%3\nProportions=%4\n"
           u"[Pointer]\nBackGroundMusic=%5\nPicturePath=%6\n"_s
               .arg(modes.at(0), modes.at(1), modes.at(2), modes.at(3), music, folder)
               .toUtf8();
}

class AlbumTest : public ::testing::Test {
protected:
    AlbumTest() {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"}) {
            const QString path = root.path(QString::fromLatin1(name));
            QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv(name, QFile::encodeName(path));
        }
        pics.writePicture(u"01.jpg"_s, 600, 400, kRed);
        pics.writePicture(u"02.jpg"_s, 600, 400, kGreen);
    }
    // given: what the command line names, or nothing.
    void Start(const QString& given, QDate day = {2024, 3, 1}) {
        clock.emplace(day);
        QString reason;
        const OpenRequest open = given.isEmpty() ? OpenRequest{} : ClassifyPath(given, &reason);
        album.emplace(StartOptions{open, exe.path(), {}, &*clock, &player, &dialogs, &editor});
        ASSERT_FALSE(album->Start());
        album->book().beep = [this] { ++beeps; };
        ASSERT_TRUE(WaitFor([&] { return album->book().laidOut(); }));
    }
    void Key(int key) {
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, Qt::NoModifier);
            QCoreApplication::sendEvent(&album->window(), &event);
        }
    }
    // The picture of that colour is on view (each channel's top bit, off the decorations), once
    // the pictures, decoded off the event loop, are laid out.
    bool Shows(QRgb colour) {
        WaitFor([&] { return album->book().laidOut(); });
        const QPoint at = album->state().book.rect().topLeft() + QPoint(200, 250);
        return ((album->window().surface().image().pixel(at) ^ colour) & 0x808080) == 0;
    }
    QString Temp(const QString& f) const { return root.path(u"XDG_RUNTIME_DIR/leafsong/"_s + f); }
    QStringList TempFiles() const { return QDir(Temp({})).entryList(QDir::Files, QDir::Name); }

    test::TempFolder root, exe, pics;
    RecordingPlayer player;
    ScriptedDialogs dialogs;
    RecordingEditor editor;
    int beeps = 0;
    std::optional<FixedClock> clock;
    std::optional<Album> album;
};

TEST_F(AlbumTest, AFreshStartShowsTheProgramFolderAndItsExitSavesAndCleansUp) {
    exe.writePicture(u"a.jpg"_s, 600, 400, kGreen);
    Start({});
    EXPECT_EQ(std::tuple(album->state().PicturePath, album->book().Count(), Shows(kGreen)),
              std::tuple(exe.path(), 1, true));
    EXPECT_EQ(TempFiles() + player.played, (QStringList{u"Border.png"_s, u"PageCover.png"_s,
                                                        u"ShadowL.png"_s, u"ShadowR.png"_s}));
    Album second(StartOptions{{}, exe.path(), {}, &*clock, &player, &dialogs, &editor});
    EXPECT_EQ(second.Start(), 0);
    EXPECT_FALSE(QFile::exists(exe.path(u"Leafsong.ini"_s))) << "the fallback waits for the end";
    // An empty album answers only Esc.
    const QString empty = exe.path(u"empty"_s);
    QDir().mkdir(empty);
    album->Run(Command::OpenFolder, {empty});
    QDir().rmdir(empty);  // the folder dialog then starts at home
    dialogs.answers = {u""_s};
    album->Run(Command::ChooseFolder);
    EXPECT_EQ(dialogs.startFolders, QStringList{root.path(u"HOME"_s)});
    for (const int key : {Qt::Key_Left, Qt::Key_F1, Qt::Key_A, Qt::Key_Escape}) {
        Key(key);
    }
    EXPECT_FALSE(!editor.opened.isEmpty() || album->state().AutoFlip);
    EXPECT_EQ(exe.read(u"Leafsong.ini"_s), Settings(u"FFFF"_s, u"Harrowfen"_s, empty));
    EXPECT_TRUE(TempFiles().isEmpty());
}

TEST_F(AlbumTest, MenuCommandsAndDropsChangeTheAlbumAndReachTheSettingsAtTheEnd) {
    const QString tune = pics.write(u"a.mp3"_s, "tune"), other = pics.write(u"b.wav"_s, "tune");
    exe.writePicture(u"c.jpg"_s, 600, 400, kGreen);
    exe.write(u"Leafsong.ini"_s, Settings(u"FFTF"_s, tune, pics.path()));
    Start({});
    EXPECT_EQ(player.played, QStringList{tune});
    dialogs.answers = {u""_s, exe.path(), tune, pics.path(u"gone.mp3"_s), other};
    album->Run(Command::ChooseFolder);  // cancelled
    EXPECT_EQ(std::pair(album->state().PicturePath, album->book().Count()),
              std::pair(pics.path(), 2));
    album->Run(Command::ChooseFolder);
    EXPECT_EQ(std::pair(album->state().PicturePath, album->book().Count()),
              std::pair(exe.path(), 1));
    EXPECT_EQ(dialogs.startFolders, QStringList(2, pics.path())) << "the album's folder";
    for (int i = 0; i < 3; ++i) {  // the same file and a missing one change nothing
        album->Run(Command::ChooseMusic);
    }
    EXPECT_EQ(player.played, (QStringList{tune, other}));
    for (const Command c : {Command::ToggleLoop, Command::ToggleRepeat, Command::ToggleFooter,
                            Command::ToggleProportions}) {
        album->Run(c);
    }
    EXPECT_TRUE(album->modes().loop && album->modes().repeat && !album->modes().footer &&
                album->modes().proportions);
    // Each choice is on disk at once: a kill -9 now would lose none of them.
    EXPECT_EQ(exe.read(u"Leafsong.ini"_s), Settings(u"TTFT"_s, other, exe.path()));
    player.playing = false;  // the tune ends and the repeat starts it again
    ASSERT_TRUE(WaitFor([&] { return player.played.size() == 3; }));
    // A drop takes its first picture or music file, whose name alone counts.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(pics.path(u"notes.txt"_s)),
                  QUrl::fromLocalFile(u"/p/a.svg"_s), QUrl::fromLocalFile(u"/a.mp3/noext"_s),
                  QUrl(u"https://example.org/c.jpg"_s),
                  QUrl::fromLocalFile(pics.path(u"none.JPG"_s)), QUrl::fromLocalFile(tune)});
    QDragEnterEvent enter({5, 5}, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&album->window(), &enter);  // a drop goes where its entry was taken
    QCoreApplication::sendEvent(&album->window(), &drop);
    EXPECT_EQ(std::tuple(album->state().PicturePath, album->book().Count(), Shows(kRed)),
              std::tuple(pics.path() + u'/', 2, true));
    album->Run(Command::OpenDropped, {other, pics.path(u"02.jpg"_s)});
    album->Run(Command::OpenDropped, {other});  // the same again starts again
    EXPECT_EQ(player.played, (QStringList{tune, other, other, other, other}));
    Key(Qt::Key_F1);
    EXPECT_EQ(editor.opened, QStringList{Temp(u"ReadMe.txt"_s)});
    EXPECT_EQ(QDir::currentPath(), exe.path());
    album->Ready2Exit();
    EXPECT_EQ(exe.read(u"Leafsong.ini"_s), Settings(u"TTFT"_s, other, pics.path() + u'/'));
    EXPECT_TRUE(TempFiles().isEmpty());
}

TEST_F(AlbumTest, AForwardTurnAtTheLastPictureBeepsAndTurnsByItselfTowardsThePointer) {
    Start(pics.path());
    const auto turned = [&] { return !album->book().turner().turning(); };
    Key(Qt::Key_Left);
    ASSERT_TRUE(WaitFor(turned));
    EXPECT_EQ(std::pair(int(album->state().PageIndex), Shows(kGreen)), std::pair(1, true));
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(100, 300), QPointF(100, 300), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&album->window(), &up);  // the pointer's last place: the left half
    Key(Qt::Key_Left);
    EXPECT_EQ(std::pair(beeps, album->state().AutoFlip), std::pair(1, true));
    ASSERT_TRUE(WaitFor(turned));  // the refused turn is followed by one backward
    EXPECT_EQ(std::pair(int(album->state().PageIndex), Shows(kRed)), std::pair(0, true));
}

// A picture given opens its folder at itself; one that cannot be decoded is hidden there, and the
// book opens at the picture that took its place. Music given plays instead of the saved music.
TEST_F(AlbumTest, AGivenPictureOpensAtItselfAndGivenMusicPlays) {
    const QString tune = pics.write(u"a.mp3"_s, "tune"), other = pics.write(u"b.wav"_s, "tune");
    exe.write(u"Leafsong.ini"_s, Settings(u"FFFF"_s, tune, exe.path()));
    pics.write(u"03.jpg"_s, "not a picture");
    Start(pics.path(u"03.jpg"_s));
    EXPECT_EQ(std::tuple(album->book().Count(), int(album->state().PageIndex), Shows(kRed)),
              std::tuple(2, 0, true));
    EXPECT_EQ(exe.read(u"Leafsong.ini"_s), Settings(u"FFFF"_s, tune, pics.path()));
    album->Run(Command::OpenGiven, {pics.path(u"02.jpg"_s)});
    EXPECT_EQ(std::pair(int(album->state().PageIndex), Shows(kGreen)), std::pair(1, true));
    album->Ready2Exit();
    album.reset();
    Start(other);
    EXPECT_EQ(std::pair(player.played, album->state().PicturePath),
              std::pair(QStringList{tune, other}, pics.path()));
}

TEST_F(AlbumTest, TheGreetingTunePlaysOnItsDayAndTheRepeatThenPlaysTheMusic) {
    const QString tune = pics.write(u"a.mid"_s, "tune");
    exe.write(u"Leafsong.ini"_s, Settings(u"FTFF"_s, tune, u"/gone"_s));
    Start(pics.path(), {2023, 6, 5});
    EXPECT_EQ(player.played, QStringList{Temp(u"Birthday.mid"_s)});
    EXPECT_TRUE(TempFiles().contains(u"Birthday.mid"_s));
    player.playing = false;
    ASSERT_TRUE(WaitFor([&] { return player.played.size() == 2; }));
    EXPECT_EQ(player.played.last(), tune);
    album->Ready2Exit();
    EXPECT_TRUE(TempFiles().isEmpty() && player.current.isEmpty());
}

QStringList missingTexts;

// Under English, each text on the way, the information page's too, has its translation: a
// Chinese text changed in the code without its entry is reported as missing.
TEST_F(AlbumTest, InEnglishEveryTextTheUserReadsIsTranslated) {
    const auto english = InstallTexts(TextLanguage::English);
    ASSERT_TRUE(english);
    missingTexts.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext& at, const QString& text) {
            if (at.category == std::string_view("leafsong.texts")) {
                missingTexts << text;
            }
        });
    const auto restore = qScopeGuard([previous] { qInstallMessageHandler(previous); });
    editor.starts = false;
    dialogs.noticeExpected = true;
    dialogs.answers = {u""_s, u""_s};
    Start({}, {2024, 6, 5});  // an empty folder on the greeting day: every line of the page
    album->Run(Command::ChooseFolder);
    album->Run(Command::ChooseMusic);
    album->Run(Command::ShowGuide);
    EXPECT_EQ(missingTexts, QStringList{});
    UserText("leafsong::InfoPage", u"未译");
    EXPECT_EQ(missingTexts.size(), 1) << "a missing text is reported";
    const QStringList shown =
        dialogs.shown +
        QStringList{album->window().windowTitle(),
                    QString::fromUtf8(test::TempFolder::ReadFile(Temp(u"ReadMe.txt"_s)))};
    EXPECT_EQ(shown.size(), 7);
    for (const QString& text : shown) {
        EXPECT_FALSE(std::any_of(text.cbegin(), text.cend(), [](QChar c) {
            return (c >= u'\u3000' && c <= u'\u9fff') || (c >= u'\uff00' && c <= u'\uffef');
        })) << text.toStdString();
    }
    album->Ready2Exit();
}

}  // namespace
}  // namespace leafsong
