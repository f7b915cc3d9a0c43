// Loading pictures into page buffers, and drawing the still spread.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "book/decorations.h"
#include "book/page_buffer.h"
#include "book/spread.h"
#include "core/album_state.h"
#include "noisy_photo.h"
#include "platform/surface.h"

namespace {

void BM_LoadJpeg(benchmark::State& state) {
    const QString path = leafsong::bench::NoisyPhoto(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        leafsong::PageBuffer pic;
        benchmark::DoNotOptimize(pic.Load(path));
    }
}
BENCHMARK(BM_LoadJpeg)->Args({6000, 4000})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

void BM_DrawStillSpread(benchmark::State& state) {
    leafsong::Decorations deco;
    deco.Load();
    leafsong::PageBuffer pic;
    pic.Load(leafsong::bench::NoisyPhoto(6000, 4000));
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
