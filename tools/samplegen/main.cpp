// Makes a sample album: procedural scenes of several sizes and aspect ratios in JPEG, BMP and GIF,
// each captioned with its own file name so a page shows which file it came from.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTextStream>
#include <cmath>
#include <functional>

#include "samplegen/gif_writer.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Fills the whole picture with a vertical gradient through the given stops (position, colour).
void Gradient(QPainter& p, const QSize& s, std::initializer_list<std::pair<double, QColor>> stops,
              double from = 0, double to = 1) {
    QLinearGradient g(0, from * s.height(), 0, to * s.height());
    for (const auto& [at, colour] : stops) {
        g.setColorAt(at, colour);
    }
    p.fillRect(QRectF(0, from * s.height(), s.width(), (to - from) * s.height()), g);
}

// A range of hills or mountains: a skyline around height base (fraction of the picture) that
// rises and falls by amp, closed down to the bottom. sharp > 0 turns rounded hills into peaks.
QPainterPath Ridge(const QSize& s, double base, double amp, double phase, double sharp = 0) {
    const double w = s.width();
    const double h = s.height();
    QPainterPath path(QPointF(0, h));
    const int steps = 240;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        double wave = 0.6 * std::sin(2 * kPi * (1.3 * t + phase)) +
                      0.4 * std::sin(2 * kPi * (3.1 * t + 2 * phase));
        if (sharp > 0) {
            wave =
                (1 - sharp) * wave + sharp * (1 - 2 * std::abs(std::sin(kPi * (2.5 * t + phase))));
        }
        path.lineTo(t * w, (base - amp * wave) * h);
    }
    path.lineTo(w, h);
    path.closeSubpath();
    return path;
}

// A sun or moon: a disc with a soft halo of the given colour.
void Glow(QPainter& p, QPointF c, double r, const QColor& core, const QColor& halo) {
    QRadialGradient g(c, r * 4);
    g.setColorAt(0, halo);
    g.setColorAt(1, QColor(halo.red(), halo.green(), halo.blue(), 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r * 4, r * 4);
    p.setBrush(core);
    p.drawEllipse(c, r, r);
}

void Dawn(QPainter& p, const QSize& s) {
    Gradient(
        p, s,
        {{0, QColor(38, 52, 110)}, {0.45, QColor(226, 120, 92)}, {0.62, QColor(252, 206, 130)}});
    Glow(p, QPointF(s.width() * 0.62, s.height() * 0.58), s.height() * 0.06, QColor(255, 240, 200),
         QColor(255, 200, 120, 160));
    p.setBrush(QColor(120, 86, 110));
    p.drawPath(Ridge(s, 0.6, 0.05, 0.1));
    p.setBrush(QColor(72, 80, 70));
    p.drawPath(Ridge(s, 0.72, 0.06, 0.45));
    p.setBrush(QColor(34, 52, 34));
    p.drawPath(Ridge(s, 0.86, 0.05, 0.8));
}

void Harbour(QPainter& p, const QSize& s) {
    const double w = s.width();
    const double h = s.height();
    Gradient(p, s, {{0, QColor(110, 170, 225)}, {1, QColor(210, 230, 245)}}, 0, 0.55);
    Gradient(p, s, {{0, QColor(40, 110, 150)}, {1, QColor(10, 50, 80)}}, 0.55, 1);
    p.setPen(QPen(QColor(200, 225, 240, 150), h / 300));
    QRandomGenerator rng(2);
    for (int i = 0; i < 60; ++i) {
        const double y = h * (0.57 + 0.43 * rng.generateDouble());
        const double x = w * rng.generateDouble();
        p.drawLine(QPointF(x, y), QPointF(x + w * 0.04, y));
    }
    // The boat: hull, mast and sail.
    p.setPen(Qt::NoPen);
    QPainterPath hull;
    hull.moveTo(w * 0.30, h * 0.62);
    hull.lineTo(w * 0.62, h * 0.62);
    hull.lineTo(w * 0.57, h * 0.70);
    hull.lineTo(w * 0.35, h * 0.70);
    hull.closeSubpath();
    p.setBrush(QColor(150, 40, 36));
    p.drawPath(hull);
    p.fillRect(QRectF(w * 0.455, h * 0.22, w * 0.01, h * 0.40), QColor(90, 60, 40));
    QPainterPath sail;
    sail.moveTo(w * 0.47, h * 0.24);
    sail.lineTo(w * 0.60, h * 0.58);
    sail.lineTo(w * 0.47, h * 0.58);
    sail.closeSubpath();
    p.setBrush(QColor(245, 240, 225));
    p.drawPath(sail);
    // Pier posts on the left.
    for (int i = 0; i < 5; ++i) {
        p.fillRect(QRectF(w * (0.04 + 0.05 * i), h * 0.5, w * 0.018, h * 0.25), QColor(70, 50, 36));
    }
    p.fillRect(QRectF(0, h * 0.5, w * 0.28, h * 0.025), QColor(110, 80, 56));
}

void Meadow(QPainter& p, const QSize& s) {
    const double w = s.width();
    const double h = s.height();
    Gradient(p, s, {{0, QColor(90, 160, 230)}, {0.6, QColor(200, 230, 250)}});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(96, 170, 70));
    p.drawPath(Ridge(s, 0.6, 0.03, 0.3));
    p.setBrush(QColor(64, 140, 50));
    p.drawPath(Ridge(s, 0.75, 0.03, 0.7));
    QRandomGenerator rng(3);
    const QColor petals[] = {QColor(250, 250, 250), QColor(250, 220, 60), QColor(230, 80, 120)};
    for (int i = 0; i < 400; ++i) {
        const QPointF at(w * rng.generateDouble(), h * (0.7 + 0.3 * rng.generateDouble()));
        p.setBrush(petals[rng.bounded(3)]);
        p.drawEllipse(at, h / 200.0, h / 200.0);
    }
    // A tree on the nearer hill.
    p.fillRect(QRectF(w * 0.72, h * 0.42, w * 0.025, h * 0.25), QColor(100, 70, 40));
    p.setBrush(QColor(40, 110, 40));
    p.drawEllipse(QPointF(w * 0.732, h * 0.38), w * 0.08, h * 0.11);
}

void Tower(QPainter& p, const QSize& s) {
    const double w = s.width();
    const double h = s.height();
    Gradient(p, s, {{0, QColor(150, 190, 230)}, {1, QColor(235, 240, 245)}}, 0, 0.8);
    Gradient(p, s, {{0, QColor(120, 130, 90)}, {1, QColor(80, 90, 60)}}, 0.8, 1);
    // A striped tower narrowing towards the top.
    p.setPen(Qt::NoPen);
    const int bands = 8;
    for (int i = 0; i < bands; ++i) {
        const double y0 = h * (0.82 - 0.08 * i);
        const double y1 = y0 - h * 0.08;
        const double half0 = w * (0.12 - 0.006 * i);
        const double half1 = w * (0.12 - 0.006 * (i + 1));
        QPolygonF band({QPointF(w / 2 - half0, y0), QPointF(w / 2 + half0, y0),
                        QPointF(w / 2 + half1, y1), QPointF(w / 2 - half1, y1)});
        p.setBrush(i % 2 == 0 ? QColor(200, 40, 40) : QColor(245, 245, 240));
        p.drawPolygon(band);
    }
    p.setBrush(QColor(50, 50, 60));
    p.drawRect(QRectF(w * 0.4, h * 0.14, w * 0.2, h * 0.04));
    p.setBrush(QColor(255, 230, 120));
    p.drawRect(QRectF(w * 0.43, h * 0.08, w * 0.14, h * 0.06));
    QPolygonF roof(
        {QPointF(w * 0.4, h * 0.08), QPointF(w * 0.6, h * 0.08), QPointF(w / 2, h * 0.02)});
    p.setBrush(QColor(50, 50, 60));
    p.drawPolygon(roof);
    p.setBrush(QColor(40, 40, 50));
    for (int i = 0; i < 3; ++i) {
        p.drawRect(QRectF(w * 0.485, h * (0.70 - 0.18 * i), w * 0.03, h * 0.04));
    }
}

void Night(QPainter& p, const QSize& s) {
    const double w = s.width();
    const double h = s.height();
    Gradient(p, s, {{0, QColor(4, 6, 24)}, {1, QColor(30, 40, 90)}});
    QRandomGenerator rng(5);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 500; ++i) {
        const int a = 120 + rng.bounded(136);
        p.setBrush(QColor(255, 255, 230, a));
        const double r = h / 900.0 * (1 + rng.bounded(3));
        p.drawEllipse(QPointF(w * rng.generateDouble(), h * 0.75 * rng.generateDouble()), r, r);
    }
    // A crescent: a lit disc with a sky-coloured disc over most of it.
    const QPointF moon(w * 0.78, h * 0.2);
    const double r = h * 0.07;
    Glow(p, moon, r, QColor(250, 245, 210), QColor(200, 200, 160, 50));
    p.setBrush(QColor(8, 11, 35));
    p.drawEllipse(moon + QPointF(r * 0.45, -r * 0.2), r * 0.9, r * 0.9);
    p.setBrush(QColor(10, 12, 20));
    p.drawPath(Ridge(s, 0.82, 0.05, 0.2));
    // Lit windows of a village on the hill.
    for (int i = 0; i < 14; ++i) {
        p.fillRect(QRectF(w * (0.1 + 0.05 * i), h * (0.86 + 0.04 * rng.generateDouble()), h / 80.0,
                          h / 80.0),
                   QColor(255, 210, 110));
    }
}

// Flat colours only, moved a little each frame: few enough colours to keep the GIF exact.
void Shapes(QPainter& p, const QSize& s, int frame) {
    const double w = s.width();
    const double h = s.height();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.fillRect(QRectF(0, 0, w, h), QColor(240, 236, 220));
    p.setPen(Qt::NoPen);
    const double dx = w * 0.03 * frame;
    p.setBrush(QColor(220, 60, 50));
    p.drawEllipse(QPointF(w * 0.25 + dx, h * 0.35), h * 0.18, h * 0.18);
    p.setBrush(QColor(40, 90, 200));
    p.drawRect(QRectF(w * 0.52, h * 0.15 + dx / 2, w * 0.3, h * 0.3));
    p.setBrush(QColor(250, 190, 30));
    p.drawPolygon(QPolygonF({QPointF(w * 0.2, h * 0.85), QPointF(w * 0.45 - dx, h * 0.5),
                             QPointF(w * 0.65, h * 0.85)}));
    p.setBrush(QColor(40, 150, 80));
    p.save();
    p.translate(w * 0.8, h * 0.7);
    p.rotate(15.0 * frame);
    p.drawRect(QRectF(-h * 0.1, -h * 0.1, h * 0.2, h * 0.2));
    p.restore();
}

void Lake(QPainter& p, const QSize& s) {
    const double w = s.width();
    const double h = s.height();
    // The land is drawn once and shown twice: upright, and mirrored in the water, darker and
    // rippled.
    QImage land(s.width(), s.height() * 60 / 100, QImage::Format_RGB32);
    {
        QPainter lp(&land);
        lp.setRenderHint(QPainter::Antialiasing);
        Gradient(lp, land.size(), {{0, QColor(120, 170, 220)}, {1, QColor(225, 235, 240)}});
        lp.setPen(Qt::NoPen);
        lp.setBrush(QColor(110, 120, 150));
        lp.drawPath(Ridge(land.size(), 0.55, 0.25, 0.15, 0.7));
        lp.setBrush(QColor(60, 90, 70));
        lp.drawPath(Ridge(land.size(), 0.85, 0.08, 0.6));
    }
    const double shore = land.height();
    p.drawImage(0, 0, land);
    p.drawImage(QRectF(0, shore, w, h - shore), land.mirrored(false, true));
    p.fillRect(QRectF(0, shore, w, h - shore), QColor(10, 40, 70, 110));
    p.setPen(QPen(QColor(230, 240, 250, 90), h / 400));
    for (int i = 1; i < 20; ++i) {
        const double y = shore + (h - shore) * i / 20.0;
        p.drawLine(QPointF(w * 0.1 * (i % 5), y), QPointF(w * (0.5 + 0.1 * (i % 5)), y));
    }
}

void Dunes(QPainter& p, const QSize& s) {
    Gradient(p, s, {{0, QColor(70, 140, 220)}, {0.55, QColor(240, 220, 180)}});
    Glow(p, QPointF(s.width() * 0.2, s.height() * 0.16), s.height() * 0.05, QColor(255, 252, 235),
         QColor(255, 240, 200, 120));
    p.setBrush(QColor(224, 180, 110));
    p.drawPath(Ridge(s, 0.55, 0.06, 0.05));
    p.setBrush(QColor(206, 150, 84));
    p.drawPath(Ridge(s, 0.7, 0.07, 0.5));
    p.setBrush(QColor(180, 120, 60));
    p.drawPath(Ridge(s, 0.86, 0.06, 0.85));
}

// The picture's file name in its lower left corner, white on a dark shadow.
void Caption(QPainter& p, const QSize& s, const QString& text) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(12, s.height() / 22));
    font.setBold(true);
    if (!p.testRenderHint(QPainter::TextAntialiasing)) {
        font.setStyleStrategy(QFont::NoAntialias);
    }
    p.setFont(font);
    const QPointF at(s.height() / 30.0, s.height() - s.height() / 30.0);
    const double off = std::max(1.0, font.pixelSize() / 14.0);
    p.setPen(QColor(0, 0, 0, 180));
    p.drawText(at + QPointF(off, off), text);
    p.setPen(Qt::white);
    p.drawText(at, text);
}

QImage Paint(const QSize& size, const QString& name, const std::function<void(QPainter&)>& scene) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    scene(p);
    p.setRenderHint(QPainter::Antialiasing);
    Caption(p, size, name);
    return img;
}

bool Save(const QString& path, const QImage& img, const char* format) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QImageWriter writer(&file, format);
    writer.setQuality(90);
    return writer.write(img) && file.commit();
}

struct Sample {
    const char* name;
    int width;
    int height;
    void (*scene)(QPainter&, const QSize&);
};

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1) {
        QTextStream(stderr) << "usage: leafsong_samplegen OUTDIR\n";
        return 2;
    }
    const QDir out(args[0]);
    if (!QDir().mkpath(out.path())) {
        QTextStream(stderr) << "leafsong_samplegen: cannot create " << out.path() << '\n';
        return 1;
    }
    // Extensions in mixed case on purpose: the album must not care.
    const Sample stills[] = {
        {"01 Dawn.jpg", 6000, 4000, Dawn},   {"02 Harbour.JPG", 1024, 768, Harbour},
        {"03 Meadow.gif", 800, 600, Meadow}, {"04 Tower.jpg", 1000, 1500, Tower},
        {"05 Night.bmp", 1200, 800, Night},  {"07 Lake.jpg", 1920, 1080, Lake},
        {"08 Dunes.bmp", 900, 600, Dunes},
    };
    bool ok = true;
    for (const Sample& sample : stills) {
        const QString name = QString::fromLatin1(sample.name);
        const QSize size(sample.width, sample.height);
        const QImage img = Paint(size, name, [&](QPainter& p) { sample.scene(p, size); });
        const QString path = out.filePath(name);
        const QString ext = name.section(QLatin1Char('.'), -1).toLower();
        const bool saved = ext == QLatin1String("gif")   ? leafsong::WriteGif(path, {img}, 0)
                           : ext == QLatin1String("bmp") ? Save(path, img, "bmp")
                                                         : Save(path, img, "jpeg");
        if (!saved) {
            QTextStream(stderr) << "leafsong_samplegen: cannot write " << path << '\n';
            ok = false;
        }
    }
    // The one animated picture: the album shows its first frame.
    const QString shapesName = QStringLiteral("06 Shapes.gif");
    QList<QImage> frames;
    for (int f = 0; f < 6; ++f) {
        frames.append(Paint(QSize(640, 480), shapesName,
                            [&](QPainter& p) { Shapes(p, QSize(640, 480), f); }));
    }
    if (!leafsong::WriteGif(out.filePath(shapesName), frames, 40)) {
        QTextStream(stderr) << "leafsong_samplegen: cannot write " << shapesName << '\n';
        ok = false;
    }
    return ok ? 0 : 1;
}
