#include "samplegen/gif_writer.h"

#include <QHash>
#include <QSaveFile>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace leafsong {
namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kMaxCodes = 1 << kMaxCodeBits;

// A frame as palette indices.
struct Indexed {
    QList<QRgb> palette;  // a power of two long, at least 2 entries
    int bits = 1;         // log2 of the palette's length
    QByteArray pixels;    // one index per pixel, row by row
};

int BitsFor(qsizetype colours) {
    int bits = 1;
    while ((qsizetype(1) << bits) < colours) {
        ++bits;
    }
    return bits;
}

// The frame's own colours when there are at most 256 of them: no loss at all.
std::optional<Indexed> ExactColours(const QImage& img) {
    Indexed out;
    QHash<QRgb, int> index;
    out.pixels.resize(qsizetype(img.width()) * img.height());
    char* dst = out.pixels.data();
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = line[x] | 0xff000000u;
            auto it = index.constFind(c);
            if (it == index.constEnd()) {
                if (index.size() == 256) {
                    return std::nullopt;
                }
                it = index.insert(c, int(index.size()));
                out.palette.append(c);
            }
            *dst++ = char(it.value());
        }
    }
    out.bits = BitsFor(out.palette.size());
    out.palette.resize(qsizetype(1) << out.bits, qRgb(0, 0, 0));
    return out;
}

// Levels per channel of the colour cube: the eye tells greens apart best, so green gets seven.
constexpr int kRedLevels = 6;
constexpr int kGreenLevels = 7;
constexpr int kBlueLevels = 6;

// A level index for v, nudged by the threshold t (0..255) so that neighbouring pixels round
// differently and average back to v.
int DitherLevel(int v, int levels, int t) {
    return std::min(levels - 1, (v * (levels - 1) + t) / 255);
}

int LevelValue(int level, int levels) {
    return (level * 255 + (levels - 1) / 2) / (levels - 1);
}

// Any frame, mapped onto the fixed colour cube with 8x8 ordered (Bayer) dithering.
Indexed CubeDithered(const QImage& img) {
    static constexpr int kBayer[8][8] = {
        {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
        {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
        {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
        {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
    };
    Indexed out;
    out.bits = 8;
    out.palette.resize(256, qRgb(0, 0, 0));
    for (int r = 0; r < kRedLevels; ++r) {
        for (int g = 0; g < kGreenLevels; ++g) {
            for (int b = 0; b < kBlueLevels; ++b) {
                out.palette[(r * kGreenLevels + g) * kBlueLevels + b] =
                    qRgb(LevelValue(r, kRedLevels), LevelValue(g, kGreenLevels),
                         LevelValue(b, kBlueLevels));
            }
        }
    }
    out.pixels.resize(qsizetype(img.width()) * img.height());
    char* dst = out.pixels.data();
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int t = (kBayer[y % 8][x % 8] * 255 + 127) / 64;
            const int r = DitherLevel(qRed(line[x]), kRedLevels, t);
            const int g = DitherLevel(qGreen(line[x]), kGreenLevels, t);
            const int b = DitherLevel(qBlue(line[x]), kBlueLevels, t);
            *dst++ = char((r * kGreenLevels + g) * kBlueLevels + b);
        }
    }
    return out;
}

// Collects codes least significant bit first and cuts them into the 255-byte sub-blocks of a
// GIF data stream.
class CodeWriter {
public:
    explicit CodeWriter(QByteArray& out) : out_(out) {}

    void Put(int code, int width) {
        acc_ |= std::uint32_t(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            PutByte(char(acc_ & 0xff));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }

    // Flushes the last partial byte and ends the stream with an empty sub-block.
    void Finish() {
        if (bits_ > 0) {
            PutByte(char(acc_ & 0xff));
        }
        FlushBlock();
        out_.append('\0');
    }

private:
    void PutByte(char b) {
        block_.append(b);
        if (block_.size() == 255) {
            FlushBlock();
        }
    }
    void FlushBlock() {
        if (!block_.isEmpty()) {
            out_.append(char(block_.size()));
            out_.append(block_);
            block_.clear();
        }
    }

    QByteArray& out_;
    QByteArray block_;
    std::uint32_t acc_ = 0;
    int bits_ = 0;
};

// GIF's variable-width LZW. The decoder adds each table entry one code later than we do, so a
// code is written as wide as the decoder's table will then need; a full table is answered with a
// clear code.
void CompressLzw(const QByteArray& pixels, int minCodeSize, QByteArray& out) {
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    out.append(char(minCodeSize));
    CodeWriter codes(out);

    std::unordered_map<std::uint32_t, int> table;  // (prefix code << 8 | index) -> code
    table.reserve(kMaxCodes);
    int width = minCodeSize + 1;
    int next = end + 1;
    codes.Put(clear, width);

    int prefix = std::uint8_t(pixels[0]);
    for (qsizetype i = 1; i < pixels.size(); ++i) {
        const std::uint8_t c = std::uint8_t(pixels[i]);
        const std::uint32_t key = std::uint32_t(prefix) << 8 | c;
        if (const auto it = table.find(key); it != table.end()) {
            prefix = it->second;
            continue;
        }
        while (next > (1 << width) && width < kMaxCodeBits) {
            ++width;
        }
        codes.Put(prefix, width);
        if (next < kMaxCodes) {
            table.emplace(key, next++);
        } else {
            codes.Put(clear, width);
            table.clear();
            width = minCodeSize + 1;
            next = end + 1;
        }
        prefix = c;
    }
    while (next > (1 << width) && width < kMaxCodeBits) {
        ++width;
    }
    codes.Put(prefix, width);
    // The decoder grows its table once more on reading that last code.
    if (next >= (1 << width) && width < kMaxCodeBits) {
        ++width;
    }
    codes.Put(end, width);
    codes.Finish();
}

void PutWord(QByteArray& out, int v) {
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

void PutPalette(QByteArray& out, const QList<QRgb>& palette) {
    for (const QRgb c : palette) {
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
}

}  // namespace

QByteArray EncodeGif(const QList<QImage>& frames, int delayCs) {
    if (frames.isEmpty()) {
        return {};
    }
    int width = 0;
    int height = 0;
    QList<Indexed> indexed;
    for (const QImage& frame : frames) {
        if (frame.isNull() || frame.width() > 0xffff || frame.height() > 0xffff) {
            return {};
        }
        width = std::max(width, frame.width());
        height = std::max(height, frame.height());
        const QImage rgb = frame.convertToFormat(QImage::Format_RGB32);
        std::optional<Indexed> exact = ExactColours(rgb);
        indexed.append(exact ? std::move(*exact) : CubeDithered(rgb));
    }

    QByteArray out("GIF89a");
    const Indexed& global = indexed.first();
    PutWord(out, width);
    PutWord(out, height);
    out.append(char(0x80 | 0x70 | (global.bits - 1)));  // global table, 8-bit colour resolution
    out.append('\0');                                   // background: entry 0
    out.append('\0');                                   // square pixels
    PutPalette(out, global.palette);

    const bool animated = frames.size() > 1;
    if (animated) {
        out.append("\x21\xff\x0bNETSCAPE2.0\x03\x01", 16);
        PutWord(out, 0);  // loop forever
        out.append('\0');
    }
    for (qsizetype i = 0; i < frames.size(); ++i) {
        const Indexed& f = indexed[i];
        if (animated) {
            out.append("\x21\xf9\x04", 3);
            out.append(char(1 << 2));  // leave the frame in place under the next one
            PutWord(out, std::clamp(delayCs, 0, 0xffff));
            out.append('\0');  // no transparent entry
            out.append('\0');
        }
        out.append(char(0x2c));
        PutWord(out, 0);
        PutWord(out, 0);
        PutWord(out, frames[i].width());
        PutWord(out, frames[i].height());
        const bool local = f.palette != global.palette;
        out.append(char(local ? 0x80 | (f.bits - 1) : 0));
        if (local) {
            PutPalette(out, f.palette);
        }
        CompressLzw(f.pixels, std::max(2, f.bits), out);
    }
    out.append(char(0x3b));
    return out;
}

bool WriteGif(const QString& path, const QList<QImage>& frames, int delayCs) {
    const QByteArray bytes = EncodeGif(frames, delayCs);
    if (bytes.isEmpty()) {
        return false;
    }
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace leafsong
