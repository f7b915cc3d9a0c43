#include "noisy_photo.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace leafsong::bench {

QString NoisyPhoto(int w, int h, int tint) {
    static QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("%1x%2-%3.jpg").arg(w).arg(h).arg(tint));
    if (QFile::exists(path)) {
        return path;
    }
    QImage img(w, h, QImage::Format_RGB32);
    quint32 seed = 12345u + quint32(tint);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int n = int(seed >> 26);
            line[x] = qRgb((x * 255 / w + n) & 255, (y * 255 / h + n + tint) & 255, (n * 4) & 255);
        }
    }
    img.save(path, "JPEG", 90);
    return path;
}

}  // namespace leafsong::bench
