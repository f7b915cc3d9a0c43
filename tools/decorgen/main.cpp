// Draws the book's decorations, the page-turn cursor and the greeting tune into a folder at build
// time; with --icon, draws the program icon instead: the 32x32 window icon (run by hand; it is
// committed) or, given a size, one of the desktop icons the build installs.
#include <QByteArray>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QString>
#include <QTextStream>
#include <cstdio>
#include <functional>
#include <optional>

#include "decorgen/decorations.h"
#include "decorgen/midi.h"

namespace {

bool WriteFile(const QString& path, const std::function<bool(QIODevice&)>& fill) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !fill(file) || !file.commit()) {
        QTextStream(stderr) << "leafsong_decorgen: cannot write " << path << '\n';
        return false;
    }
    return true;
}

// Qt's PNG writer cannot interlace; the album reads the pictures whole, so plain PNG will do.
bool WritePng(const QString& path, const QImage& image) {
    return WriteFile(path, [&](QIODevice& out) { return image.save(&out, "PNG"); });
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    return WriteFile(path, [&](QIODevice& out) { return out.write(bytes) == bytes.size(); });
}

// Icon themes use 16 to 512 pixels; 1024 leaves room for 512 at double scale.
std::optional<int> IconSize(const QString& arg) {
    bool ok = false;
    const int size = arg.toInt(&ok);
    if (!ok || size < 16 || size > 1024) {
        return std::nullopt;
    }
    return size;
}

bool WriteAll(const QString& dir) {
    using namespace leafsong::decorgen;
    if (!QDir().mkpath(dir)) {
        QTextStream(stderr) << "leafsong_decorgen: cannot create " << dir << '\n';
        return false;
    }
    const QDir out(dir);
    return WritePng(out.filePath(QStringLiteral("Border.png")), Border()) &&
           WritePng(out.filePath(QStringLiteral("ShadowR.png")), ShadowRight()) &&
           WritePng(out.filePath(QStringLiteral("ShadowL.png")), ShadowLeft()) &&
           WritePng(out.filePath(QStringLiteral("PageCover.png")), PageCover()) &&
           WritePng(out.filePath(QStringLiteral("cursor.png")), PageCursor()) &&
           WriteBytes(out.filePath(QStringLiteral("Birthday.mid")), BirthdayTune());
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const auto usage = [] {
        QTextStream(stderr) << "usage: leafsong_decorgen OUTDIR\n"
                               "       leafsong_decorgen --icon FILE [SIZE]  (SIZE 16 to 1024, "
                               "default 32)\n";
        return 2;
    };
    if ((args.size() == 2 || args.size() == 3) && args[0] == QLatin1String("--icon")) {
        const std::optional<int> size = args.size() == 3 ? IconSize(args[2]) : 32;
        if (!size) {
            return usage();
        }
        return WritePng(args[1], leafsong::decorgen::ProgramIcon(*size)) ? 0 : 1;
    }
    if (args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
        return usage();
    }
    return WriteAll(args[0]) ? 0 : 1;
}
