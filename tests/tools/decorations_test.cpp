// The decorations as the program embeds them.
#include <gtest/gtest.h>

#include "platform/png_overlay.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

// Every pixel of each box has the alpha given.
TEST(DecorationsTest, SizesAndTheAreasTheBookReliesOn) {
    const std::tuple<const char*, QSize, QRect, int> areas[] = {
        {"Border.png", {900, 600}, {0, 0, 15, 600}, 255},  // opaque margins
        {"Border.png", {900, 600}, {886, 0, 14, 600}, 255},
        {"Border.png", {900, 600}, {0, 590, 900, 10}, 255},
        {"Border.png", {900, 600}, {15, 10, 1, 580}, 3},    // faint column at x=15
        {"Border.png", {900, 600}, {16, 10, 870, 580}, 0},  // see-through centre
        {"ShadowR.png", {900, 600}, {0, 0, 450, 600}, 0},   // the other page's half is clear
        {"ShadowL.png", {900, 600}, {450, 0, 450, 600}, 0},
        {"PageCover.png", {920, 620}, {0, 0, 920, 7}, 0},
        {"PageCover.png", {920, 620}, {8, 14, 904, 598}, 255},
        {"cursor.png", {32, 32}, {12, 1, 1, 1}, 255}};  // the hot spot is drawn
    for (const auto& [name, size, box, alpha] : areas) {
        const QImage img = QImage(u":/leafsong/"_s + QLatin1String(name));
        ASSERT_EQ(img.size(), size) << name;
        int bad = 0;
        for (int i = 0; i < box.width() * box.height(); ++i) {
            bad += qAlpha(img.pixel(box.x() + i % box.width(), box.y() + i / box.width())) != alpha;
        }
        EXPECT_EQ(bad, 0) << name << " in " << box.x() << "," << box.y();
    }
}

TEST(DecorationsTest, BorderWhitensTheMarginsOfALargePage) {
    PngOverlay border;
    ASSERT_TRUE(border.Load(u":/leafsong/Border.png"_s));
    QImage page(1000, 700, QImage::Format_RGB32);
    page.fill(Qt::black);
    int W = 1000, h = 0;
    border.StretchDC(page, 0, 0, W, h);
    auto whiteRun = [&](QPoint at, QPoint step) {
        int n = 0;
        for (; qRed(page.pixel(at)) > 127; at += step) {
            ++n;
        }
        return n;
    };
    // A 1000x667 page: its left, right, top and bottom margins; nothing below it.
    EXPECT_EQ(QList<int>({h, whiteRun({0, 333}, {1, 0}), whiteRun({999, 333}, {-1, 0}),
                          whiteRun({500, 0}, {0, 1}), whiteRun({500, 666}, {0, -1}),
                          whiteRun({500, 667}, {0, 1})}),
              QList<int>({667, 17, 16, 11, 11, 0}));
}

}  // namespace
}  // namespace leafsong
