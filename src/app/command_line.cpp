#include "app/command_line.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

#include "app/drops.h"

namespace leafsong {

namespace {

QString Usage() {
    return QStringLiteral(
        "Usage: leafsong [FILE|FOLDER]\n"
        "Shows the pictures of a folder (JPEG, PNG, WebP, TIFF, BMP, GIF) as a book floating\n"
        "over the desktop.\n"
        "FOLDER opens that folder; a picture opens its folder at that picture; a music file\n"
        "becomes the background music. Without one the album opens the folder of its last run.\n"
        "While the album runs, the file is handed to it.\n"
        "\n"
        "  -h, --help     show this help and exit\n"
        "  -v, --version  show the version and exit\n"
        "\n"
        "Keys: Left/Right turn a page, any other key or a double-click turns pages by\n"
        "itself, F1 shows the guide, Esc quits. A right click opens the menu.\n");
}

QString ErrnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

OpenRequest ClassifyPath(const QString& path, QString* reason) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        *reason = ErrnoText(errno);
        return {};
    }
    if (S_ISDIR(st.st_mode)) {
        // The album lists the folder and reads its files by name.
        if (::access(name.constData(), R_OK | X_OK) != 0) {
            *reason = ErrnoText(errno);
            return {};
        }
        return {OpenRequest::Kind::Folder, path};
    }
    const DropChoice choice = ChooseDropped({path});
    if (!S_ISREG(st.st_mode) || choice.kind == DropChoice::Kind::None) {
        *reason = QStringLiteral(
            "not a folder, a picture (JPEG, PNG, WebP, TIFF, BMP, GIF) or a music file");
        return {};
    }
    // Opened to be sure: access() answers for the real user, and a FIFO-like stall is ruled out.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *reason = ErrnoText(errno);
        return {};
    }
    ::close(fd);
    return {choice.kind == DropChoice::Kind::Picture ? OpenRequest::Kind::Picture
                                                     : OpenRequest::Kind::Music,
            path};
}

CommandLine ParseCommandLine(const QStringList& args, const QString& cwd) {
    CommandLine cl;
    bool onlyNames = false;
    QString given;
    for (const QString& arg : args) {
        if (!onlyNames && arg == QLatin1String("--")) {
            onlyNames = true;
        } else if (!onlyNames && (arg == QLatin1String("-h") || arg == QLatin1String("--help"))) {
            return {CommandLine::Action::Help, {}, Usage()};
        } else if (!onlyNames &&
                   (arg == QLatin1String("-v") || arg == QLatin1String("--version"))) {
            return {CommandLine::Action::Version,
                    {},
                    QStringLiteral("leafsong %1\n").arg(QLatin1String(LEAFSONG_VERSION))};
        } else if (!onlyNames && arg.startsWith(u'-') && arg.size() > 1) {
            return {CommandLine::Action::Error,
                    {},
                    QStringLiteral("leafsong: unknown option %1\n%2").arg(arg, Usage())};
        } else if (!given.isEmpty()) {
            return {
                CommandLine::Action::Error,
                {},
                QStringLiteral("leafsong: only one file or folder can be opened\n%1").arg(Usage())};
        } else if (arg.isEmpty()) {
            return {CommandLine::Action::Error, {}, QStringLiteral("leafsong: empty path\n")};
        } else {
            given = arg;
        }
    }
    if (given.isEmpty()) {
        return cl;
    }
    const QString path = QDir::cleanPath(QDir(cwd).absoluteFilePath(given));
    QString reason;
    cl.open = ClassifyPath(path, &reason);
    if (cl.open.kind == OpenRequest::Kind::None) {
        return {CommandLine::Action::Error,
                {},
                QStringLiteral("leafsong: %1: %2\n").arg(given, reason)};
    }
    return cl;
}

}  // namespace leafsong
