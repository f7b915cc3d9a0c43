#include "platform/window_shape.h"

#include <gtest/gtest.h>

#include "platform/surface.h"

namespace leafsong {
namespace {

TEST(WindowShapeTest, OnlyTheExactKeyColourIsSeeThrough) {
    Surface s(QSize(200, 100));
    QImage& img = s.image();
    for (int y = 20; y < 60; ++y) {
        for (int x = 30; x < 130; ++x) {
            img.setPixel(x, y, qRgb(200, 180, 160));
        }
    }
    img.setPixel(50, 40, kKeyColour);      // a hole in the picture
    img.setPixel(10, 10, qRgb(7, 7, 40));  // one step off the key: opaque
    img.setPixel(11, 10, qRgb(8, 7, 39));
    const QRegion r = OpaqueRegion(img, img.rect());
    EXPECT_TRUE(r.contains(QPoint(30, 20)));
    EXPECT_TRUE(r.contains(QPoint(129, 59)));
    EXPECT_FALSE(r.contains(QPoint(130, 59)));
    EXPECT_FALSE(r.contains(QPoint(50, 40)));
    EXPECT_TRUE(r.contains(QPoint(10, 10)));
    EXPECT_TRUE(r.contains(QPoint(11, 10)));
    EXPECT_FALSE(r.contains(QPoint(12, 10)));
    EXPECT_FALSE(r.contains(QPoint(0, 0)));
    // An area reaching past the surface is clipped, and its region placed where it lies.
    EXPECT_EQ(OpaqueRegion(img, QRect(100, 50, 500, 500)), QRegion(100, 50, 30, 10));
}

TEST(WindowShapeTest, UpdatesOnlyWhatChanged) {
    Surface s(QSize(300, 200));
    WindowShape shape;
    EXPECT_FALSE(shape.Update(s.image(), s.image().rect()));  // all see-through: no change
    s.image().fill(qRgb(1, 1, 1));
    // Only the changed rectangle is looked at.
    EXPECT_TRUE(shape.Update(s.image(), QRect(0, 0, 10, 10)));
    EXPECT_EQ(shape.region(), QRegion(0, 0, 10, 10));
    EXPECT_FALSE(shape.Update(s.image(), QRect(0, 0, 10, 10)));
    // A change that clears part of it.
    s.image().fill(kKeyColour);
    EXPECT_TRUE(shape.Update(s.image(), QRect(5, 0, 100, 100)));
    EXPECT_EQ(shape.region(), QRegion(0, 0, 5, 10));
}

}  // namespace
}  // namespace leafsong
