#pragma once
// Drives the real program as a user would: a private Xvfb server, screenshots, keys and clicks.

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>

namespace leafsong::e2e {

// Polls cond every 50 ms until it holds or ms have passed; true when it held.
bool WaitFor(const std::function<bool()>& cond, int ms);

class XSession {
public:
    // Starts Xvfb with a white root window on a free display; check ok() after.
    explicit XSession(int width = 1280, int height = 1024);
    ~XSession();
    bool ok() const { return !display_.isEmpty(); }
    const QString& display() const { return display_; }

    QImage Screenshot() const;
    // Runs xdotool with the arguments on this display; true when it succeeded.
    bool XDoTool(const QStringList& args) const;
    // Runs xdotool and returns what it printed, nothing when it failed.
    std::optional<QString> XDoToolOutput(const QStringList& args) const;

private:
    std::unique_ptr<QProcess> server_;
    QTemporaryDir dir_;
    QString display_;
};

// A copy of the program in a fresh folder, with a private home and runtime folder.
class AlbumRun {
public:
    explicit AlbumRun(const XSession& x);
    ~AlbumRun();

    QString appDir() const { return root_.filePath(QStringLiteral("app")); }
    QString runtimeDir() const { return root_.filePath(QStringLiteral("run")); }
    QString settingsFile() const { return appDir() + QStringLiteral("/Leafsong.ini"); }
    QString albumDir() const { return root_.filePath(QStringLiteral("album")); }
    QString journalFile() const {
        return root_.filePath(QStringLiteral("home/.local/state/leafsong/marks.journal"));
    }
    QProcessEnvironment& env() { return env_; }

    // Starts the copied program with the arguments.
    void Start(const QStringList& args);
    // Starts another copy of the same program and waits up to ms for it to end; its exit code, or
    // -1 when it was still running.
    int RunSecond(const QStringList& args, int ms);
    // Waits up to ms for the program to end; its exit code, or -1 when it still runs.
    int WaitForExit(int ms);
    QProcess& process() { return *process_; }
    QString stderrText() const { return stderr_; }

private:
    const XSession& x_;
    QTemporaryDir root_;
    QProcessEnvironment env_;
    std::unique_ptr<QProcess> process_;
    QString stderr_;
};

}  // namespace leafsong::e2e
