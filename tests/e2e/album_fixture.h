#pragma once
// A test fixture that runs the real program under a private Xvfb and looks at the screen.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app/album_state.h"
#include "e2e/x_session.h"

namespace leafsong::e2e {

inline constexpr int kW = 1280, kH = 1024;
inline constexpr QRgb kKey = qRgb(7, 7, 39);

inline int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
           std::abs(qBlue(a) - qBlue(b));
}

inline void WritePicture(const QString& path, int w, int h, QRgb colour) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    ASSERT_TRUE(img.save(path, "JPEG", 95));
}

inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class AlbumE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << "Xvfb did not start";
        book = PlaceBook(kW, kH);
    }
    // A pixel of the book, counted from its top-left corner (dx: the window's moves).
    QRgb At(const QImage& shot, int bx, int by, int dx = 0) const {
        return shot.pixel(book.BookLeft + bx + dx, book.BookTop + by);
    }
    // Waits until the book shows the colour at a point (its middle by default); the last
    // screenshot.
    QImage WaitForBook(QRgb colour, int dx = 0, QPoint at = {375, 250}) {
        QImage shot;
        WaitFor(
            [&] {
                shot = x.Screenshot();
                return !shot.isNull() && Distance(At(shot, at.x(), at.y(), dx), colour) < 30;
            },
            30000);
        return shot;
    }
    bool Mouse(const QStringList& args) {
        return x.XDoTool(QStringList{QStringLiteral("mousemove")} + args);
    }
    // A click on the book gives the window the keyboard focus; then the key.
    void FocusAndPress(const char* key) {
        x.XDoTool({QStringLiteral("mousemove"), QString::number(book.BookLeft + 300),
                   QString::number(book.BookTop + 200), QStringLiteral("click"),
                   QStringLiteral("1")});
        x.XDoTool({QStringLiteral("key"), QString::fromLatin1(key)});
    }
    QStringList TempFiles(AlbumRun& run) const {
        return QDir(run.runtimeDir() + QStringLiteral("/leafsong")).entryList(QDir::Files);
    }

    XSession x{kW, kH};
    BookGeometry book;
};

}  // namespace leafsong::e2e
