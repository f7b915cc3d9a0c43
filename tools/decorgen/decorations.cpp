#include "decorgen/decorations.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <functional>

namespace leafsong::decorgen {
namespace {

constexpr int kPageW = 900;
constexpr int kPageH = 600;
constexpr int kHalf = kPageW / 2;
constexpr int kBandH = 10;  // stacked page edges above and below a page

QRgb Grey(int g, int a) {
    return qRgba(g, g, g, a);
}

// v0 at x0 to v1 at x1 along a smooth curve (flat at both ends), held outside the range.
int Ease(int x, int x0, int x1, int v0, int v1) {
    const double t = std::clamp(double(x - x0) / (x1 - x0), 0.0, 1.0);
    return qRound(v0 + (v1 - v0) * t * t * (3 - 2 * t));
}

// v0 at x0 to v1 at x1 in a straight line.
int Lerp(int x, int x0, int x1, int v0, int v1) {
    return qRound(v0 + double(v1 - v0) * (x - x0) / (x1 - x0));
}

// The edges of the pages stacked under the top one: light and darker lines alternate, the
// lighter ones fading with distance d (0..9) from the page.
int PageEdgeGrey(int d) {
    return d % 2 == 0 ? 255 - 3 * d : 172 + 3 * (d - 1);
}

// Right page, one row between the edge bands: the paper curving down into the spine (a grey
// sheen, then shade), and a darker outer edge.
QRgb RightColumn(int x) {
    if (x == kHalf) {
        return Grey(0, 11);
    }
    if (x >= 886) {
        return Grey(Lerp(x, 886, 899, 210, 215), 130);
    }
    if (x <= 660) {
        const int grey = x <= 550 ? Ease(x, 451, 550, 107, 0) : Ease(x, 550, 610, 0, 79);
        const int alpha = x <= 515 ? Ease(x, 451, 515, 24, 45) : Ease(x, 515, 660, 45, 0);
        return Grey(grey, alpha);
    }
    const double t = double(x - 660) / (885 - 660);
    return Grey(0, qRound(20 * t * t));
}

// Left page, one row between the edge bands: outer page edges, a light shade fading inwards,
// then the shadow of the spine.
QRgb LeftColumn(int x) {
    if (x < 15) {
        return Grey(Lerp(x, 0, 14, 206, 211), 128);
    }
    if (x <= 170) {
        return Grey(0, Ease(x, 15, 170, 24, 0));
    }
    if (x < 245) {
        return qRgba(0, 0, 0, 0);
    }
    if (x < 360) {
        return Grey(0, Ease(x, 245, 360, 0, 45));
    }
    if (x <= 375) {
        return Grey(0, 45);
    }
    return Grey(0, Ease(x, 375, kHalf - 1, 45, 20));
}

// One half of a page-sized picture: every row between the bands from column(x), the bands as
// page edges with bandAlpha; the other half transparent.
QImage ShadedHalf(int x0, int x1, const std::function<QRgb(int)>& column, int bandAlpha) {
    QImage img(kPageW, kPageH, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int y = 0; y < kPageH; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const int d = y < kBandH ? kBandH - 1 - y : y - (kPageH - kBandH);
        for (int x = x0; x <= x1; ++x) {
            line[x] = d >= 0 ? Grey(PageEdgeGrey(d), bandAlpha) : column(x);
        }
    }
    return img;
}

// A 32x32 picture from 32 rows of text: 'X' black, '.' white, anything else transparent.
QImage FromArt(const std::array<const char*, 32>& rows) {
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32 && rows[y][x] != '\0'; ++x) {
            if (rows[y][x] == 'X') {
                img.setPixel(x, y, qRgba(0, 0, 0, 255));
            } else if (rows[y][x] == '.') {
                img.setPixel(x, y, qRgba(255, 255, 255, 255));
            }
        }
    }
    return img;
}

}  // namespace

QImage Border() {
    QImage img(kPageW, kPageH, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int y = 0; y < kPageH; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const bool band = y < kBandH || y >= kPageH - kBandH;
        for (int x = 0; x < kPageW; ++x) {
            if (band || x < 15 || x >= 886) {
                line[x] = qRgba(255, 255, 255, 255);
            }
        }
        // A trace of white softens the step from the margin into the picture.
        if (!band) {
            line[15] = qRgba(255, 255, 255, 3);
        }
    }
    return img;
}

QImage ShadowRight() {
    return ShadedHalf(kHalf, kPageW - 1, RightColumn, 130);
}

QImage ShadowLeft() {
    return ShadedHalf(0, kHalf - 1, LeftColumn, 128);
}

QImage PageCover() {
    constexpr int W = 920;
    constexpr int H = 620;
    constexpr int top = 7;  // the cover starts below the pages' top edge
    constexpr int spine = W / 2;
    constexpr int blockBottom = 613;
    constexpr int leaves = 6;  // page-edge lines visible at the sides and the bottom

    QImage img(W, H, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);

    QLinearGradient cloth(0, top, 0, H);
    cloth.setColorAt(0, QColor(104, 104, 104));
    cloth.setColorAt(1, QColor(70, 70, 70));
    p.fillRect(QRect(0, top, W, H - top), cloth);

    // Stacked leaves, the lowest (largest) first: each smaller one leaves a one-pixel line.
    for (int k = 0; k <= leaves; ++k) {
        const QColor paper = k == leaves
                                 ? QColor(238, 238, 238)
                                 : (k % 2 == 0 ? QColor(200, 200, 200) : QColor(244, 244, 244));
        const int h = blockBottom - k - top + 1;
        p.fillRect(QRect(4 + k, top, spine - 4 - k, h), paper);
        p.fillRect(QRect(spine, top, W - 4 - k - spine, h), paper);
    }

    // The gutter: pages and cover fall away into the spine.
    QLinearGradient gutter(spine - 26, 0, spine + 26, 0);
    gutter.setColorAt(0, QColor(0, 0, 0, 0));
    gutter.setColorAt(0.42, QColor(0, 0, 0, 120));
    gutter.setColorAt(0.5, QColor(0, 0, 0, 185));
    gutter.setColorAt(0.58, QColor(0, 0, 0, 120));
    gutter.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRect(spine - 26, top, 52, H - top), gutter);

    // Rounded corners: keep only what falls inside the cover's outline.
    QImage shape(W, H, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter s(&shape);
        s.setRenderHint(QPainter::Antialiasing);
        s.setPen(Qt::NoPen);
        s.setBrush(Qt::black);
        s.drawRoundedRect(QRectF(0, top, W, H - top), 5, 5);
    }
    p.setPen(QColor(48, 48, 48));
    p.drawLine(0, H - 1, W - 1, H - 1);
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.drawImage(0, 0, shape);
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

QImage PageCursor() {
    return FromArt({
        "            XX",
        "           X..X",
        "           X..X",
        "           X..X",
        "           X..X",
        "           X..X",
        "           X..XXX",
        "           X..X..XXX",
        "           X..X..X..X",
        "           X..X..X..XXX",
        "           X..X..X..X..X",
        "       XX  X..X..X..X..X",
        "      X..X X..X..X..X..X",
        "      X...XX..X..X..X..X",
        "      X................X",
        "       X...............X",
        "       X...............X",
        "        X..............X",
        "        X.............X",
        "         X............X",
        "         X...........X",
        "          X..........X",
        "          X..........X",
        "          XXXXXXXXXXXX",
        "          X..........X",
        "          XXXXXXXXXXXX",
        "",
        "",
        "",
        "",
        "",
        "",
    });
}

QImage ProgramIcon(int size) {
    // Drawn on a 256-unit canvas. Smaller icons are drawn at 256 and scaled down, which gives
    // them soft edges; larger ones are drawn at their own size so that nothing is blurred.
    constexpr int S = 256;
    constexpr int spine = S / 2;
    constexpr int skyY = S / 3;  // the light comes from above the book
    const int canvas = std::max(S, size);
    QImage big(canvas, canvas, QImage::Format_RGB32);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(double(canvas) / S, double(canvas) / S);

    QRadialGradient sky(spine, skyY, S);
    sky.setColorAt(0, QColor(214, 236, 250));
    sky.setColorAt(1, QColor(96, 150, 206));
    p.fillRect(QRect(0, 0, S, S), sky);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(122, 70, 38));
    p.drawRoundedRect(QRectF(10, 70, S - 20, 160), 16, 16);

    const QPen ink(QColor(92, 66, 44), 7);
    auto page = [&](double outer) {
        QPainterPath path;
        path.moveTo(spine, 78);
        path.cubicTo(spine + (outer - spine) * 0.4, 46, outer, 56, outer, 52);
        path.lineTo(outer, 200);
        path.cubicTo(outer, 204, spine + (outer - spine) * 0.4, 196, spine, 222);
        path.closeSubpath();
        p.setPen(ink);
        p.setBrush(QColor(252, 246, 228));
        p.drawPath(path);
    };
    page(24);
    page(S - 24);

    p.setPen(QPen(QColor(150, 140, 128), 8, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        const double y = 92 + i * 28;
        p.drawLine(QPointF(46, y), QPointF(spine - 22, y + 6));
    }

    // The leaf lies on the right page, tilted up and away from the spine.
    p.save();
    p.translate(190, 136);
    p.rotate(-40);
    QPainterPath leaf;
    leaf.moveTo(-62, 0);
    leaf.cubicTo(-30, -44, 30, -44, 62, 0);
    leaf.cubicTo(30, 44, -30, 44, -62, 0);
    QLinearGradient green(0, -40, 0, 40);
    green.setColorAt(0, QColor(120, 200, 70));
    green.setColorAt(1, QColor(34, 122, 40));
    p.setPen(QPen(QColor(24, 84, 28), 6));
    p.setBrush(green);
    p.drawPath(leaf);
    p.setPen(QPen(QColor(24, 84, 28), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-80, 8), QPointF(48, 0));
    p.restore();
    p.end();

    if (canvas == size) {
        return big;
    }
    return big.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

}  // namespace leafsong::decorgen
