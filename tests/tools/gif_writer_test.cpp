// The GIF encoder, checked by reading its files back with Qt's own GIF reader.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>

#include "samplegen/gif_writer.h"

namespace {

QImage Noise(int w, int h, int colours, quint32 seed) {
    QRandomGenerator rng(seed);
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int c = int(rng.bounded(colours));
            img.setPixel(x, y, qRgb(c, 255 - c, (c * 97) & 0xff));
        }
    }
    return img;
}

TEST(GifWriter, RoundTripsExactly) {
    const QList<QList<QImage>> cases = {
        {Noise(1, 1, 1, 1)},
        {Noise(300, 200, 256, 3)},  // fills the LZW table many times over
        {Noise(120, 80, 7, 5), Noise(120, 80, 200, 6), Noise(120, 80, 2, 7)},
    };
    for (const QList<QImage>& frames : cases) {
        QByteArray bytes = leafsong::EncodeGif(frames, 25);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "gif");
        ASSERT_EQ(reader.imageCount(), frames.size());
        EXPECT_EQ(reader.loopCount(), frames.size() > 1 ? -1 : 0);
        for (const QImage& want : frames) {
            const QImage got = reader.read().convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(got, want) << want.width() << "x" << want.height() << ": "
                                 << reader.errorString().toStdString();
            if (frames.size() > 1) {
                EXPECT_EQ(reader.nextImageDelay(), 250);
            }
        }
    }
    EXPECT_TRUE(leafsong::EncodeGif({}, 0).isEmpty());
}

}  // namespace
