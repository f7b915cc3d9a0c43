// The GIF encoder, checked by reading its files back with Qt's own GIF reader.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QRandomGenerator>
#include <cstdlib>
#include <functional>

#include "samplegen/gif_writer.h"
#include "support/temp_folder.h"

namespace {

using leafsong::EncodeGif;
using leafsong::WriteGif;

// What a round trip may change: Exact pictures (at most 256 colours) come back unchanged;
// Dithered ones may move each channel by up to one step of the colour cube; Shaded ones must in
// addition keep the average colour of every 8x8 block (what dithering is for).
enum class Fidelity { Exact, Dithered, Shaded };

struct GifCase {
    const char* name;
    std::function<QList<QImage>()> make;
    Fidelity fidelity;
};

void PrintTo(const GifCase& c, std::ostream* os) {
    *os << c.name;
}

QImage Filled(int w, int h, const std::function<QRgb(int, int)>& colour) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            img.setPixel(x, y, colour(x, y));
        }
    }
    return img;
}

// Noise drawn from a palette of n colours; seeded so that failures repeat.
QImage PaletteNoise(int w, int h, int n, quint32 seed) {
    QRandomGenerator rng(seed);
    QList<QRgb> palette;
    for (int i = 0; i < n; ++i) {
        palette.append(qRgb(i, 255 - i, (i * 97) & 0xff));
    }
    return Filled(w, h, [&](int, int) { return palette[rng.bounded(n)]; });
}

QImage FullColourNoise(int w, int h, quint32 seed) {
    QRandomGenerator rng(seed);
    return Filled(w, h, [&](int, int) { return 0xff000000u | (rng.generate() & 0xffffff); });
}

QImage Gradient(int w, int h) {
    return Filled(w, h,
                  [&](int x, int y) { return qRgb(x * 255 / (w - 1), y * 255 / (h - 1), 90); });
}

class GifRoundTrip : public ::testing::TestWithParam<GifCase> {};

TEST_P(GifRoundTrip, ReadsBackAsWritten) {
    const GifCase& c = GetParam();
    const QList<QImage> frames = c.make();
    QByteArray bytes = EncodeGif(frames, 25);
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_TRUE(bytes.startsWith("GIF89a"));
    EXPECT_EQ(bytes.back(), ';');

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
    EXPECT_EQ(reader.imageCount(), frames.size());
    EXPECT_EQ(reader.loopCount(), frames.size() > 1 ? -1 : 0) << "-1 means forever";

    for (qsizetype f = 0; f < frames.size(); ++f) {
        const QImage got = reader.read().convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(got.isNull()) << "frame " << f << ": " << reader.errorString().toStdString();
        if (frames.size() > 1) {
            EXPECT_EQ(reader.nextImageDelay(), 250) << "frame " << f;
        }
        const QImage& want = frames[f];
        ASSERT_EQ(got.size(), want.size()) << "frame " << f;

        int faults = 0;
        for (int y = 0; y < want.height() && faults < 5; ++y) {
            for (int x = 0; x < want.width() && faults < 5; ++x) {
                const QRgb a = want.pixel(x, y);
                const QRgb b = got.pixel(x, y);
                const bool ok = c.fidelity == Fidelity::Exact
                                    ? (a & 0xffffff) == (b & 0xffffff)
                                    : std::abs(qRed(a) - qRed(b)) <= 51 &&
                                          std::abs(qGreen(a) - qGreen(b)) <= 43 &&
                                          std::abs(qBlue(a) - qBlue(b)) <= 51;
                if (!ok) {
                    ++faults;
                    ADD_FAILURE() << "frame " << f << " (" << x << "," << y << "): wrote "
                                  << std::hex << (a & 0xffffff) << ", read " << (b & 0xffffff);
                }
            }
        }
        if (c.fidelity == Fidelity::Shaded) {
            for (int by = 0; by + 8 <= want.height(); by += 8) {
                for (int bx = 0; bx + 8 <= want.width(); bx += 8) {
                    int sum[2][3] = {};
                    for (int y = by; y < by + 8; ++y) {
                        for (int x = bx; x < bx + 8; ++x) {
                            for (int k = 0; k < 2; ++k) {
                                const QRgb p = k == 0 ? want.pixel(x, y) : got.pixel(x, y);
                                sum[k][0] += qRed(p);
                                sum[k][1] += qGreen(p);
                                sum[k][2] += qBlue(p);
                            }
                        }
                    }
                    for (int ch = 0; ch < 3; ++ch) {
                        ASSERT_NEAR(sum[0][ch] / 64.0, sum[1][ch] / 64.0, 3.0)
                            << "block (" << bx << "," << by << ") channel " << ch;
                    }
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Gif, GifRoundTrip,
    ::testing::Values(
        GifCase{
            "OnePixel",
            [] { return QList<QImage>{Filled(1, 1, [](int, int) { return qRgb(12, 200, 99); })}; },
            Fidelity::Exact},
        // Two colours: the smallest table and the smallest LZW code size.
        GifCase{"TwoColourNoise", [] { return QList<QImage>{PaletteNoise(97, 61, 2, 1)}; },
                Fidelity::Exact},
        GifCase{"FiveColourNoise", [] { return QList<QImage>{PaletteNoise(50, 40, 5, 2)}; },
                Fidelity::Exact},
        // Noise over the whole table fills the LZW table many times over.
        GifCase{"FullTableNoise", [] { return QList<QImage>{PaletteNoise(300, 200, 256, 3)}; },
                Fidelity::Exact},
        GifCase{"FlatAndLarge",
                [] {
                    return QList<QImage>{
                        Filled(2000, 1500, [](int, int) { return qRgb(1, 2, 3); })};
                },
                Fidelity::Exact},
        GifCase{"FullColourNoise", [] { return QList<QImage>{FullColourNoise(640, 480, 4)}; },
                Fidelity::Dithered},
        GifCase{"Gradient", [] { return QList<QImage>{Gradient(256, 200)}; }, Fidelity::Shaded},
        // Frames with different colours each: the later ones carry their own table.
        GifCase{"ThreeFramesOwnColours",
                [] {
                    return QList<QImage>{PaletteNoise(120, 80, 7, 5), PaletteNoise(120, 80, 200, 6),
                                         Filled(120, 80, [](int x, int) { return qRgb(x, 0, 0); })};
                },
                Fidelity::Exact},
        GifCase{"TwoFramesFullColour",
                [] {
                    return QList<QImage>{FullColourNoise(200, 150, 7), Gradient(200, 150)};
                },
                Fidelity::Dithered}),
    [](const ::testing::TestParamInfo<GifCase>& param) { return std::string(param.param.name); });

TEST(GifWriter, RefusesWhatItCannotWrite) {
    EXPECT_TRUE(EncodeGif({}, 0).isEmpty()) << "no frames";
    EXPECT_TRUE(EncodeGif({QImage()}, 0).isEmpty()) << "an empty frame";
    EXPECT_TRUE(EncodeGif({Gradient(4, 4), QImage()}, 0).isEmpty()) << "an empty second frame";

    const leafsong::test::TempFolder dir;
    EXPECT_FALSE(WriteGif(dir.path(QStringLiteral("none.gif")), {}, 0));
    EXPECT_FALSE(QFile::exists(dir.path(QStringLiteral("none.gif"))));
    EXPECT_FALSE(WriteGif(dir.path(QStringLiteral("missing/folder/a.gif")), {Gradient(4, 4)}, 0));
}

TEST(GifWriter, WritesAFileQtRecognisesByItsContent) {
    const leafsong::test::TempFolder dir;
    // A misleading extension: the reader must find GIF from the bytes.
    const QString path = dir.path(QStringLiteral("picture.JPG"));
    ASSERT_TRUE(WriteGif(path, {PaletteNoise(33, 17, 3, 9)}, 0));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    EXPECT_EQ(reader.format(), QByteArray("gif"));
    EXPECT_EQ(reader.read().size(), QSize(33, 17));
}

}  // namespace
