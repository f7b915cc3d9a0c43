#include "flip/shadow.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

TEST(Shadow, ShadesEachPageThenFramesBothAndLeavesEmptyBuffersAlone) {
    // Pic1's shading halves the light, Pic2's takes a quarter; the border is white with a
    // see-through inside from (17, 11) to (983, 655), scaled to the stored pixels.
    test::TempFolder tmp;
    for (const auto& [name, colour] : {std::pair("ShadowR.png", qRgba(0, 0, 0, 128)),
                                       {"ShadowL.png", qRgba(0, 0, 0, 64)},
                                       {"Border.png", qRgba(255, 255, 255, 255)}}) {
        QImage img(1000, 667, QImage::Format_ARGB32);
        img.fill(colour);
        QPainter p(&img);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        if (qRed(colour)) {
            p.fillRect(QRect(QPoint(17, 11), QPoint(983, 655)), Qt::transparent);
        }
        p.end();
        ASSERT_TRUE(img.save(tmp.path(QString::fromLatin1(name)), "PNG"));
    }
    Decorations deco;
    deco.LoadFrom(tmp.path());
    const QString grey = tmp.writePicture(QStringLiteral("grey.jpg"), 1000, 667, 0x808080);
    PageBuffer Pic1, Pic2, empty1, empty2;
    ASSERT_TRUE(Pic1.Load(grey) && Pic2.Load(grey));
    const int before = qGray(Pic1.pixels().pixel(375, 250));
    Shadow(deco, Pic1, Pic2);
    for (const auto& [pic, light] : {std::pair(&Pic1, 1 - 128 / 255.0), {&Pic2, 1 - 64 / 255.0}}) {
        const QImage& img = pic->pixels();
        const int w = img.width(), h = img.height(), l = 17 * w / 1000, r = w - 16 * w / 1000,
                  t = 11 * h / 667, b = h - 11 * h / 667;
        for (const QPoint p : {QPoint(l - 2, h / 2), QPoint(r + 2, h / 2), QPoint(w / 2, t - 2),
                               QPoint(w / 2, b + 2)}) {
            EXPECT_GE(qGray(img.pixel(p)), 240) << p.x() << "," << p.y();
        }
        for (const QPoint p : {QPoint(l + 2, h / 2), QPoint(r - 3, h / 2), QPoint(w / 2, t + 2),
                               QPoint(w / 2, b - 3), QPoint(w / 2, h / 2)}) {
            EXPECT_NEAR(qGray(img.pixel(p)), before * light, 4) << p.x() << "," << p.y();
        }
    }
    Shadow(deco, empty1, empty2);
    EXPECT_TRUE(empty1.pixels().isNull() && empty2.pixels().isNull());
}

}  // namespace
}  // namespace leafsong
