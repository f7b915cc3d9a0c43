// Drawing one frame of a page turn, beside the cost of copying a whole frame once.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <cstring>
#include <vector>

#include "book/decorations.h"
#include "book/frame.h"
#include "book/page_buffer.h"
#include "book/schedule.h"
#include "core/album_state.h"
#include "noisy_photo.h"
#include "platform/surface.h"

namespace {

constexpr QSize kScreen{1920, 1080};

// Two 24-megapixel pages loaded as a turn loads them, and the book on a full-HD surface.
struct FrameScene {
    FrameScene() {
        deco.Load();
        Pic1.Load(leafsong::bench::NoisyPhoto(6000, 4000, 0));
        Pic2.Load(leafsong::bench::NoisyPhoto(6000, 4000, 80));
    }
    leafsong::Decorations deco;
    leafsong::PageBuffer Pic1;
    leafsong::PageBuffer Pic2;
    leafsong::BookGeometry book = leafsong::PlaceBook(kScreen.width(), kScreen.height());
};

FrameScene& Scene() {
    static FrameScene scene;
    return scene;
}

void BM_ComposeFrame(benchmark::State& state) {
    FrameScene& scene = Scene();
    if (scene.Pic1.isEmpty() || scene.Pic2.isEmpty() || !scene.deco.CoverPng.isLoaded()) {
        state.SkipWithError("pictures or cover did not load");
        return;
    }
    leafsong::Surface surface(kScreen);
    const std::vector<leafsong::FrameStep> frames = leafsong::ForwardFrames(scene.book.BookWidth);
    // The first frame scales the cover once; every later frame reuses it.
    leafsong::Blting(surface, scene.book, scene.deco, scene.Pic1, scene.Pic2, frames[0].FlipPos,
                     frames[0].Reverse);
    size_t k = 0;
    for (auto _ : state) {
        const leafsong::FrameStep& f = frames[k];
        k = (k + 1) % frames.size();
        benchmark::DoNotOptimize(leafsong::Blting(surface, scene.book, scene.deco, scene.Pic1,
                                                  scene.Pic2, f.FlipPos, f.Reverse));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComposeFrame)->Unit(benchmark::kMillisecond);

void BM_MemcpyFrame(benchmark::State& state) {
    const size_t bytes = size_t(kScreen.width()) * size_t(kScreen.height()) * 4;
    std::vector<unsigned char> from(bytes, 7);
    std::vector<unsigned char> to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);

}  // namespace
