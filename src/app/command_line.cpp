#include "app/command_line.h"

#include <QDir>

namespace leafsong {

namespace {

QString Usage() {
    return QStringLiteral(
        "Usage: leafsong [FOLDER]\n"
        "Shows the JPEG, BMP and GIF pictures of FOLDER as a book floating over the desktop.\n"
        "Without FOLDER the album opens the folder of its last run.\n"
        "\n"
        "  -h, --help     show this help and exit\n"
        "  -v, --version  show the version and exit\n"
        "\n"
        "Keys: Left/Right turn a page, any other key or a double-click turns pages by\n"
        "itself, F1 shows the guide, Esc quits. A right click opens the menu.\n");
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& args, const QString& cwd) {
    CommandLine cl;
    bool onlyNames = false;
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
        } else if (!cl.folder.isEmpty()) {
            return {CommandLine::Action::Error,
                    {},
                    QStringLiteral("leafsong: only one folder can be opened\n%1").arg(Usage())};
        } else {
            cl.folder = QDir::cleanPath(QDir(cwd).absoluteFilePath(arg));
        }
    }
    return cl;
}

}  // namespace leafsong
