// The decorations, cursor and greeting tune as the program embeds them.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QList>

namespace {

QImage Embedded(const char* name) {
    return QImage(QStringLiteral(":/leafsong/") + QLatin1String(name))
        .convertToFormat(QImage::Format_ARGB32);
}

TEST(Decorations, Sizes) {
    const std::pair<const char*, QSize> sizes[] = {{"Border.png", {900, 600}},
                                                   {"ShadowR.png", {900, 600}},
                                                   {"ShadowL.png", {900, 600}},
                                                   {"PageCover.png", {920, 620}},
                                                   {"cursor.png", {32, 32}}};
    for (const auto& [name, size] : sizes) {
        EXPECT_EQ(Embedded(name).size(), size) << name;
    }
    EXPECT_EQ(qAlpha(Embedded("cursor.png").pixel(12, 1)), 255) << "hot spot (12,1) not drawn";
}

// Every pixel of the box has this alpha; the visible ones are grey, of this level unless -1.
TEST(Decorations, Layout) {
    const struct {
        const char* name;
        QRect box;
        int alpha, grey;
    } areas[] = {
        {"Border.png", QRect(0, 0, 15, 600), 255, 255},      // white margin, cols 0-14
        {"Border.png", QRect(15, 10, 1, 580), 3, 255},       // faint column at x=15
        {"Border.png", QRect(16, 10, 870, 580), 0, -1},      // see-through centre
        {"ShadowR.png", QRect(0, 0, 450, 600), 0, -1},       // left half clear
        {"ShadowR.png", QRect(886, 10, 14, 580), 130, -1},   // outer edge, cols 886-899
        {"ShadowL.png", QRect(450, 0, 450, 600), 0, -1},     // right half clear
        {"PageCover.png", QRect(0, 0, 920, 7), 0, -1},       // rows 0-6 clear
        {"PageCover.png", QRect(8, 14, 904, 598), 255, -1},  // opaque greys
    };
    for (const auto& a : areas) {
        const QImage img = Embedded(a.name);
        int bad = 0;
        QPoint first;
        for (int y = a.box.top(); y <= a.box.bottom(); ++y) {
            for (int x = a.box.left(); x <= a.box.right(); ++x) {
                const QRgb p = img.pixel(x, y);
                const bool grey = qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) &&
                                  (a.grey < 0 || qRed(p) == a.grey);
                if (qAlpha(p) != a.alpha || (a.alpha > 0 && !grey)) {
                    first = bad++ ? first : QPoint(x, y);
                }
            }
        }
        EXPECT_EQ(bad, 0) << a.name << ", first at " << first.x() << "," << first.y();
    }
}

TEST(GreetingTune, OneTrackPlayingTheMelody) {
    QFile file(QStringLiteral(":/leafsong/Birthday.mid"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray m = file.readAll();
    ASSERT_GE(m.size(), 22);
    auto number = [&](qsizetype at, int bytes) {
        quint32 v = 0;
        while (bytes--) {
            v = v << 8 | quint8(m[at++]);
        }
        return v;
    };
    EXPECT_EQ(m.left(4), "MThd");
    EXPECT_EQ(number(8, 2), 0u) << "format";
    EXPECT_EQ(number(10, 2), 1u) << "tracks";
    EXPECT_EQ(number(12, 2), 480u) << "division";
    EXPECT_EQ(m.mid(14, 4), "MTrk");
    ASSERT_EQ(number(18, 4), quint32(m.size() - 22));

    // Walk the events to the end of the track, noting the pitch of every note-on.
    qsizetype i = 22;
    auto byte = [&]() -> quint8 { return ++i <= m.size() ? quint8(m[i - 1]) : 0; };
    auto varLen = [&] {
        quint32 v = 0;
        for (quint8 b = 0x80; b & 0x80;) {
            b = byte();
            v = v << 7 | (b & 0x7f);
        }
        return v;
    };
    QList<int> pitches;
    quint8 status = 0;
    bool ended = false;
    while (i < m.size() && !ended) {
        varLen();
        if (i < m.size() && quint8(m[i]) & 0x80) {
            status = byte();
        }
        if (status == 0xff) {
            ended = byte() == 0x2f;
            i += varLen();
        } else if (status == 0xf0 || status == 0xf7) {
            i += varLen();
        } else {
            const int kind = status & 0xf0;
            const int pitch = byte();
            const int velocity = kind == 0xc0 || kind == 0xd0 ? 0 : byte();
            if (kind == 0x90 && velocity > 0) {
                pitches.append(pitch);
            }
        }
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(i, m.size()) << "end-of-track must end the file";
    ASSERT_EQ(pitches.size(), 25);
    const int kAboveFirst[25] = {0, 0,  2, 0, 5, 4, 0,  0,  2, 0, 7, 5, 0,
                                 0, 12, 9, 5, 4, 2, 10, 10, 9, 5, 7, 5};
    for (int n = 0; n < 25; ++n) {
        EXPECT_EQ(pitches[n] - pitches[0], kAboveFirst[n]) << "note " << n + 1;
    }
}

}  // namespace
