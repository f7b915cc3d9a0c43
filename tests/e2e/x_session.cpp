#include "e2e/x_session.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

// The harness itself (not the album) is left out of leak checks: LeakSanitizer's tracer has
// crashed at its exit after it had signalled children.
extern "C" const char* __asan_default_options() {  // NOLINT(bugprone-reserved-identifier)
    return "detect_leaks=0";
}

namespace leafsong::e2e {

bool WaitFor(const std::function<bool()>& cond, int ms) {
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(50);
    }
    return true;
}

XSession::XSession(int width, int height) {
    if (!dir_.isValid()) {
        return;
    }
    // Xvfb picks a free display itself and writes its number to descriptor 3.
    const QString numberFile = dir_.filePath(QStringLiteral("display"));
    server_ = std::make_unique<QProcess>();
    server_->setProgram(QStringLiteral("/bin/sh"));
    server_->setArguments(
        {QStringLiteral("-c"),
         QStringLiteral("exec Xvfb -displayfd 3 -screen 0 %1x%2x24 -wr -nolisten tcp "
                        "-noreset 3>\"$0\"")
             .arg(width)
             .arg(height),
         numberFile});
    server_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server_->setStandardOutputFile(QProcess::nullDevice());
    server_->start();
    QString number;
    WaitFor(
        [&] {
            QFile f(numberFile);
            if (f.open(QIODevice::ReadOnly)) {
                number = QString::fromLatin1(f.readAll()).trimmed();
            }
            return !number.isEmpty() || server_->state() == QProcess::NotRunning;
        },
        20000);
    if (!number.isEmpty()) {
        display_ = u':' + number;
    }
}

XSession::~XSession() {
    if (server_) {
        server_->terminate();
        if (!server_->waitForFinished(5000)) {
            server_->kill();
            server_->waitForFinished(2000);
        }
    }
}

QImage XSession::Screenshot() const {
    QProcess p;
    p.start(QStringLiteral("import"),
            {QStringLiteral("-display"), display_, QStringLiteral("-window"),
             QStringLiteral("root"), QStringLiteral("png:-")});
    p.waitForFinished(20000);
    QImage img;
    img.loadFromData(p.readAllStandardOutput(), "PNG");
    return img.convertToFormat(QImage::Format_RGB32);
}

bool XSession::XDoTool(const QStringList& args) const {
    return XDoToolOutput(args).has_value();
}

std::optional<QString> XSession::XDoToolOutput(const QStringList& args) const {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    // xdotool refuses to type non-ASCII text under the C locale.
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        return std::nullopt;
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

AlbumRun::AlbumRun(const XSession& x) : x_(x) {
    QDir root(root_.path());
    for (const char* sub : {"app", "run", "home", "album"}) {
        root.mkpath(QString::fromLatin1(sub));
    }
    ::chmod(QFile::encodeName(runtimeDir()).constData(), 0700);
    QFile::copy(QStringLiteral(LEAFSONG_BINARY), appDir() + QStringLiteral("/leafsong"));

    env_ = QProcessEnvironment::systemEnvironment();
    env_.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env_.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env_.insert(QStringLiteral("DISPLAY"), x.display());
    env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
    env_.insert(QStringLiteral("HOME"), root_.filePath(QStringLiteral("home")));
    env_.insert(QStringLiteral("XDG_CONFIG_HOME"), root_.filePath(QStringLiteral("home/.config")));
    env_.insert(QStringLiteral("XDG_STATE_HOME"),
                root_.filePath(QStringLiteral("home/.local/state")));
    // Third-party libraries keep some memory to the end; the album's own leaks are found by the
    // unit tests.
    env_.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
}

AlbumRun::~AlbumRun() {
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(5000);
    }
}

void AlbumRun::Start(const QStringList& args) {
    process_ = std::make_unique<QProcess>();
    process_->setProcessEnvironment(env_);
    process_->setWorkingDirectory(root_.path());
    QObject::connect(process_.get(), &QProcess::readyReadStandardError, process_.get(),
                     [this] { stderr_ += QString::fromUtf8(process_->readAllStandardError()); });
    process_->start(appDir() + QStringLiteral("/leafsong"), args);
    process_->waitForStarted(10000);
}

int AlbumRun::RunSecond(const QStringList& args, int ms) {
    QProcess second;
    second.setProcessEnvironment(env_);
    second.start(appDir() + QStringLiteral("/leafsong"), args);
    if (!second.waitForFinished(ms)) {
        second.kill();
        second.waitForFinished(2000);
        return -1;
    }
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}

int AlbumRun::WaitForExit(int ms) {
    if (!WaitFor([&] { return process_->state() == QProcess::NotRunning; }, ms)) {
        return -1;
    }
    stderr_ += QString::fromUtf8(process_->readAllStandardError());
    return process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
}

}  // namespace leafsong::e2e
