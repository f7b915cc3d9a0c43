#pragma once
// Runs the real program as a user would: a copy in a fresh folder with a private home and
// runtime folder, on a private Xvfb server, looked at through screenshots and driven by xdotool.

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <functional>

#include "core/album_state.h"
#include "support/temp_folder.h"

namespace leafsong::e2e {

using namespace Qt::StringLiterals;
inline constexpr QRgb kWhite = qRgb(255, 255, 255);

// Polls cond, dispatching events, until it holds or ms have passed; true when it held.
inline bool WaitFor(const std::function<bool()>& cond, int ms = 20000) {
    for (const QDeadlineTimer deadline(ms); !cond(); QThread::msleep(30)) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

inline int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
           std::abs(qBlue(a) - qBlue(b));
}

// What a helper program printed; nothing when it failed or took more than 20 s.
inline QByteArray Output(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(20000) && p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray();
}

class AlbumE2E : public ::testing::Test {
protected:
    explicit AlbumE2E(QSize screen = {1280, 1024}) {
        // Xvfb picks a free display and prints its number; a white root shows see-through.
        xvfb_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const QString size = u"%1x%2x24"_s.arg(screen.width()).arg(screen.height());
        xvfb_.start(u"Xvfb"_s,
                    {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, size, u"-wr"_s, u"-noreset"_s});
        book = PlaceBook(screen.width(), screen.height());
        QByteArray number;
        WaitFor([&] {
            number += xvfb_.readAllStandardOutput();
            return number.endsWith('\n') || xvfb_.state() == QProcess::NotRunning;
        });
        // Every program started from here (xdotool, the album, the drag source) uses it.
        qputenv("DISPLAY", ':' + number.trimmed());
        qputenv("QT_QPA_PLATFORM", "xcb");
        env = QProcessEnvironment::systemEnvironment();
        QDir(root.path()).mkpath(u"app"_s);
        QDir(root.path()).mkpath(u"album"_s);
        QFile::copy(QStringLiteral(LEAFSONG_BINARY), app);
        env.insert(u"XDG_RUNTIME_DIR"_s, root.path());  // private (0700) as a login's
        env.insert(u"HOME"_s, root.path(u"home"_s));
        env.insert(u"XDG_STATE_HOME"_s, root.path(u"home/.local/state"_s));
        // Third-party libraries keep some memory to the end; the unit tests look for our leaks.
        env.insert(u"ASAN_OPTIONS"_s, u"detect_leaks=0"_s);
        QObject::connect(&album_, &QProcess::readyReadStandardError, &album_,
                         [this] { err += QString::fromUtf8(album_.readAllStandardError()); });
    }
    ~AlbumE2E() override {
        xvfb_.terminate();
        xvfb_.waitForFinished(5000);
    }
    void SetUp() override { ASSERT_TRUE(xvfb_.state() == QProcess::Running) << "no Xvfb"; }

    void Start(const QStringList& args) {
        err.clear();
        album_.setProcessEnvironment(env);
        album_.start(app, args);
    }
    // The exit code; -1 when the album crashed or still runs after ms.
    int WaitForExit(int ms = 15000) {
        const bool ended = WaitFor([&] { return album_.state() == QProcess::NotRunning; }, ms);
        err += QString::fromUtf8(album_.readAllStandardError());
        return ended && album_.exitStatus() == QProcess::NormalExit ? album_.exitCode() : -1;
    }
    void Signal(int sig) { ::kill(static_cast<pid_t>(album_.processId()), sig); }
    QString Album() const { return root.path(u"album"_s); }
    QByteArray Settings() const { return root.read(u"app/Leafsong.ini"_s); }
    QStringList TempFiles() const { return QDir(root.path(u"leafsong"_s)).entryList(QDir::Files); }

    // xdotool types no Chinese under the C locale.
    QString XDo(const QStringList& args) const {
        return QString::fromUtf8(
            Output(u"env"_s, QStringList{u"LC_ALL=C.UTF-8"_s, u"xdotool"_s} + args));
    }
    QString XDo(const QString& commands) const { return XDo(commands.split(u' ')); }
    // Moves the pointer, repeating until it is there; the window under it.
    QString MoveTo(int px, int py) const {
        const QString there = u"X=%1\nY=%2\n"_s.arg(px).arg(py);
        QString at;
        for (int i = 0; i < 5 && !at.contains(there); ++i) {
            at = XDo({u"mousemove"_s, QString::number(px), QString::number(py),
                      u"getmouselocation"_s, u"--shell"_s});
        }
        EXPECT_TRUE(at.contains(there)) << "the pointer did not reach " << px << ", " << py;
        return at.section(u"WINDOW="_s, 1).trimmed();
    }
    void Click(int bx, int by, const QString& button = u"1"_s) const {
        MoveTo(book.BookLeft + bx, book.BookTop + by);
        XDo({u"click"_s, button});
    }
    // A pixel of the last screenshot, counted from the book's corner (dx: the window's moves).
    QRgb At(int bx, int by, int dx = 0) const {
        return shot.pixel(book.BookLeft + bx + dx, book.BookTop + by);
    }
    // Takes screenshots until cond holds for one.
    bool WaitForShot(const std::function<bool()>& cond) {
        return WaitFor([&] {
            shot = QImage::fromData(Output(u"import"_s, {u"-window"_s, u"root"_s, u"png:-"_s}));
            return !shot.isNull() && cond();
        });
    }
    bool WaitForBook(QRgb colour, QPoint at = {375, 250}) {
        return WaitForShot([&] { return Distance(At(at.x(), at.y()), colour) < 30; });
    }

    test::TempFolder root;
    QString app = root.path(u"app/leafsong"_s);
    QProcessEnvironment env;  // the album's
    QString err;              // what the album printed on stderr since it was started
    BookGeometry book;        // on the screen the server was started with
    QImage shot;

private:
    QProcess xvfb_, album_;
};

}  // namespace leafsong::e2e
