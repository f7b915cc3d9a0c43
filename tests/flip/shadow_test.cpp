#include "flip/shadow.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <functional>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

using test::TempFolder;

// A frame drawn on a 1000x667 picture: white bands of these widths, see-through inside.
constexpr int kFrameLeft = 17;
constexpr int kFrameRight = 16;
constexpr int kFrameTop = 11;
constexpr int kFrameBottom = 11;

void WriteDecorations(const TempFolder& tmp) {
    QImage right(400, 300, QImage::Format_ARGB32);
    right.fill(qRgba(0, 0, 0, 128));  // halves the page's light
    ASSERT_TRUE(right.save(tmp.path(QStringLiteral("deco/ShadowR.png")), "PNG"));
    QImage left(400, 300, QImage::Format_ARGB32);
    left.fill(qRgba(0, 0, 0, 64));  // takes a quarter
    ASSERT_TRUE(left.save(tmp.path(QStringLiteral("deco/ShadowL.png")), "PNG"));

    QImage border(1000, 667, QImage::Format_ARGB32);
    border.fill(qRgba(255, 255, 255, 255));
    QPainter p(&border);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(QPoint(kFrameLeft, kFrameTop), QPoint(999 - kFrameRight, 666 - kFrameBottom)),
               QColor(0, 0, 0, 0));
    p.end();
    ASSERT_TRUE(border.save(tmp.path(QStringLiteral("deco/Border.png")), "PNG"));
}

// How many pixels from a start, stepping one way, are (nearly) white.
int WhiteRun(const QImage& img, QPoint from, QPoint step) {
    int n = 0;
    for (QPoint p = from; img.rect().contains(p) && qGray(img.pixel(p)) >= 192; p += step) {
        ++n;
    }
    return n;
}

TEST(Shadow, ShadesEachPageThenFramesBoth) {
    TempFolder tmp;
    QDir().mkpath(tmp.path(QStringLiteral("deco")));
    WriteDecorations(tmp);
    Decorations deco;
    deco.LoadFrom(tmp.path(QStringLiteral("deco")));
    ASSERT_TRUE(deco.BorderPng.isLoaded());

    const QString picture = tmp.writePicture(QStringLiteral("grey.jpg"), 1000, 667, 0x808080);
    PageBuffer Pic1;
    PageBuffer Pic2;
    ASSERT_TRUE(Pic1.Load(picture));
    ASSERT_TRUE(Pic2.Load(picture));
    const int grey = qGray(Pic1.pixels().pixel(375, 250));
    ASSERT_NEAR(grey, 128, 4);

    Shadow(deco, Pic1, Pic2);

    struct Page {
        const char* name;
        const PageBuffer& buffer;
        double light;  // share of the light the page's shading lets through
    };
    for (const Page& page :
         {Page{"Pic1", Pic1, 1 - 128 / 255.0}, Page{"Pic2", Pic2, 1 - 64 / 255.0}}) {
        const QImage& img = page.buffer.pixels();
        const int w = img.width();
        const int h = img.height();
        // The frame scales with the stored pixels, whatever their size.
        const double sx = w / 1000.0;
        const double sy = h / 667.0;
        EXPECT_NEAR(WhiteRun(img, {0, h / 2}, {1, 0}), kFrameLeft * sx, 1.0) << page.name;
        EXPECT_NEAR(WhiteRun(img, {w - 1, h / 2}, {-1, 0}), kFrameRight * sx, 1.0) << page.name;
        EXPECT_NEAR(WhiteRun(img, {w / 2, 0}, {0, 1}), kFrameTop * sy, 1.0) << page.name;
        EXPECT_NEAR(WhiteRun(img, {w / 2, h - 1}, {0, -1}), kFrameBottom * sy, 1.0) << page.name;
        // Inside the frame the page is shaded, right to its edge.
        for (const QPoint p : {QPoint(w / 2, h / 2), QPoint(kFrameLeft * sx + 2, h / 2),
                               QPoint(w / 2, h - kFrameBottom * sy - 3)}) {
            EXPECT_NEAR(qGray(img.pixel(p)), grey * page.light, 4)
                << page.name << " " << p.x() << "," << p.y();
        }
    }
}

TEST(Shadow, EmptyBuffersAreLeftAlone) {
    TempFolder tmp;
    QDir().mkpath(tmp.path(QStringLiteral("deco")));
    WriteDecorations(tmp);
    Decorations deco;
    deco.LoadFrom(tmp.path(QStringLiteral("deco")));
    PageBuffer Pic1;
    PageBuffer Pic2;
    Shadow(deco, Pic1, Pic2);
    EXPECT_TRUE(Pic1.pixels().isNull());
    EXPECT_TRUE(Pic2.pixels().isNull());
}

}  // namespace
}  // namespace leafsong
