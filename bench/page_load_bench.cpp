// Loading pictures into page buffers, and drawing the still spread.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "app/album_state.h"
#include "flip/decorations.h"
#include "flip/still_spread.h"
#include "pages/page_buffer.h"
#include "platform/surface.h"

namespace {

// A photo-like noisy picture, saved once per size.
QString NoisyJpeg(int w, int h) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("%1x%2.jpg").arg(w).arg(h));
    if (!QFile::exists(path)) {
        QImage img(w, h, QImage::Format_RGB32);
        quint32 seed = 12345;
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < w; ++x) {
                seed = seed * 1664525u + 1013904223u;
                const int n = int(seed >> 26);
                line[x] = qRgb((x * 255 / w + n) & 255, (y * 255 / h + n) & 255, (n * 4) & 255);
            }
        }
        img.save(path, "JPEG", 90);
    }
    return path;
}

void BM_LoadJpeg(benchmark::State& state) {
    const QString path = NoisyJpeg(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        leafsong::PageBuffer pic;
        benchmark::DoNotOptimize(pic.Load(path));
    }
}
BENCHMARK(BM_LoadJpeg)->Args({6000, 4000})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

void BM_DrawStillSpread(benchmark::State& state) {
    leafsong::Decorations deco;
    deco.LoadFrom(QStringLiteral(":/leafsong"));
    leafsong::PageBuffer pic;
    pic.Load(NoisyJpeg(6000, 4000));
    leafsong::Surface surface(QSize(1920, 1080));
    const leafsong::BookGeometry book = leafsong::PlaceBook(1920, 1080);
    leafsong::DrawSpread(surface, book, deco, pic);  // scaled decorations are cached after this
    for (auto _ : state) {
        surface.Clear();
        leafsong::DrawSpread(surface, book, deco, pic);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawStillSpread)->Unit(benchmark::kMillisecond);

}  // namespace
