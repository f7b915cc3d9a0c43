// Starting a page turn (request to first frame drawn), with the neighbours decoded ahead and
// without; and listing a folder of 10,000 pictures.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "book/book.h"
#include "book/page_turner.h"
#include "noisy_photo.h"

namespace {

struct TurnScene {
    QTemporaryDir dir;
    leafsong::AlbumState state;
    leafsong::Surface surface{QSize(1920, 1080)};
    leafsong::Modes modes{.loop = true};
    leafsong::FixedClock clock{QDate(2026, 3, 1)};
    leafsong::Book book{state, modes, surface, clock};
    bool drawn = false;

    explicit TurnScene(int pictures) {
        for (int i = 0; i < pictures; ++i) {
            QFile::copy(leafsong::bench::NoisyPhoto(6000, 4000, i * 40),
                        dir.filePath(QStringLiteral("%1.jpg").arg(i)));
        }
        book.LoadDecorations();
        state.book = leafsong::PlaceBook(1920, 1080);
        book.File1().SetPath(dir.path());
        book.turner().onFrame = [this](int, bool) { drawn = true; };
    }
    // Lays the book out and waits until it is complete.
    void LayOutFirst() {
        book.PutFirst();
        while (!book.laidOut()) {
            book.loader().Settle();
            QCoreApplication::processEvents();
        }
    }
};

void TurnStart(benchmark::State& st, bool prefetched) {
    TurnScene scene(3);
    for (auto _ : st) {
        st.PauseTiming();
        scene.LayOutFirst();
        scene.book.loader().Clear();
        if (prefetched) {
            scene.book.loader().Prefetch(
                {scene.book.File1().FullPath(0), scene.book.File1().FullPath(1)});
            scene.book.loader().Settle();
        }
        scene.drawn = false;
        st.ResumeTiming();
        // The request returns at once; the first frame follows once both pictures are decoded.
        scene.book.FlipForward();
        while (!scene.drawn) {
            scene.book.loader().Settle();
            QCoreApplication::processEvents();
        }
        st.PauseTiming();
        scene.book.turner().Abandon();
        st.ResumeTiming();
    }
}

void BM_TurnStartPrefetched(benchmark::State& st) {
    TurnStart(st, true);
}
void BM_TurnStartCold(benchmark::State& st) {
    TurnStart(st, false);
}
BENCHMARK(BM_TurnStartPrefetched)->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(BM_TurnStartCold)->Unit(benchmark::kMillisecond)->Iterations(8);

void BM_List10000(benchmark::State& st) {
    QTemporaryDir dir;
    QImage small(64, 48, QImage::Format_RGB32);
    small.fill(Qt::darkGreen);
    const QString first = dir.filePath(QStringLiteral("00000.jpg"));
    small.save(first, "JPEG");
    for (int i = 1; i < 10000; ++i) {
        QFile::copy(first, dir.filePath(QStringLiteral("%1.jpg").arg(i, 5, 10, QLatin1Char('0'))));
    }
    for (auto _ : st) {
        leafsong::Listing l;
        l.SetPath(dir.path());
        benchmark::DoNotOptimize(l.ListCount());
    }
}
BENCHMARK(BM_List10000)->Unit(benchmark::kMillisecond);

}  // namespace
