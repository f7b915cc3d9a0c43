// Presenting a frame of a page turn on a real X display: the window shape over the changed region,
// the paint and its flush. Needs DISPLAY (e.g. an Xvfb); skipped elsewhere.
#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>

#include "app/album_window.h"
#include "book/decorations.h"
#include "book/frame.h"
#include "book/page_buffer.h"
#include "book/schedule.h"

namespace {

struct PresentScene {
    leafsong::AlbumWindow window;
    leafsong::Decorations deco;
    leafsong::PageBuffer Pic1, Pic2;
    leafsong::BookGeometry book;
    std::vector<leafsong::FrameStep> frames = leafsong::ForwardFrames(750);
    size_t next = 0;

    PresentScene() {
        deco.Load();
        QImage a(6000, 4000, QImage::Format_RGB32), b(6000, 4000, QImage::Format_RGB32);
        a.fill(qRgb(180, 90, 40));
        b.fill(qRgb(40, 90, 180));
        QTemporaryDir dir;
        a.save(dir.filePath(QStringLiteral("a.jpg")));
        b.save(dir.filePath(QStringLiteral("b.jpg")));
        Pic1.Load(dir.filePath(QStringLiteral("a.jpg")));
        Pic2.Load(dir.filePath(QStringLiteral("b.jpg")));
        window.CoverScreen(QGuiApplication::primaryScreen());
        book = leafsong::PlaceBook(window.surface().width(), window.surface().height());
        window.show();
        QCoreApplication::processEvents();
    }
    // Draws the next frame of a forward turn (not measured).
    void Draw() {
        const leafsong::FrameStep step = frames[next++ % frames.size()];
        leafsong::Blting(window.surface(), book, deco, Pic1, Pic2, step.FlipPos, step.Reverse);
    }
};

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

void Present(benchmark::State& state, bool roundTrip) {
    xcb_connection_t* c = Connection();
    if (!c) {
        state.SkipWithError("needs an X display (QT_QPA_PLATFORM=xcb and DISPLAY)");
        return;
    }
    PresentScene scene;
    for (auto _ : state) {
        state.PauseTiming();
        scene.Draw();
        state.ResumeTiming();
        // The mask region of what changed, the paint of it and the flush of both to X.
        scene.window.surface().Present();
        xcb_flush(c);
        if (roundTrip) {
            free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        }
    }
}

void BM_PresentClient(benchmark::State& state) {
    Present(state, false);
}
void BM_PresentRoundTrip(benchmark::State& state) {
    Present(state, true);
}
BENCHMARK(BM_PresentClient)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PresentRoundTrip)->Unit(benchmark::kMicrosecond);

}  // namespace
