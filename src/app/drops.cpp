#include "app/drops.h"

#include "book/listing.h"
#include "common/path_utils.h"

namespace leafsong {

DropChoice ChooseDropped(const QStringList& paths) {
    static const QStringList kMusic{
        QStringLiteral("MP3"), QStringLiteral("WMA"), QStringLiteral("WAV"), QStringLiteral("MIDI"),
        QStringLiteral("MID"), QStringLiteral("CDA"), QStringLiteral("SND"), QStringLiteral("RMI")};
    for (const QString& path : paths) {
        const QString ext = GetExtName(path).toUpper();
        if (IsPictureExtension(ext)) {
            return {DropChoice::Kind::Picture, path};
        }
        if (kMusic.contains(ext)) {
            return {DropChoice::Kind::Music, path};
        }
    }
    return {};
}

}  // namespace leafsong
