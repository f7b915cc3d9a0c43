// Writes pictures whose headers lie, for measuring what the album's memory does with them: each
// is small on disk and claims a size whose decoding would take gigabytes.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QTextStream>
#include <QtEndian>

#include "samplegen/gif_writer.h"

namespace {

bool Write(const QDir& out, const char* name, const QByteArray& bytes) {
    QFile f(out.filePath(QString::fromLatin1(name)));
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QImage Small() {
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::darkYellow);
    return img;
}

// A real progressive JPEG whose frame header is changed to claim 30000 x 30000.
QByteArray ProgressiveGiant() {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(Small());
    QByteArray b = buffer.data();
    const qsizetype sof = b.indexOf("\xff\xc2");
    if (sof >= 0) {
        qToBigEndian<quint16>(30000, b.data() + sof + 5);
        qToBigEndian<quint16>(30000, b.data() + sof + 7);
    }
    return b;
}

// A one-pixel GIF whose logical screen claims 8192 x 8192.
QByteArray GifGiant(const QString& scratch) {
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(Qt::red);
    leafsong::WriteGif(scratch, {pixel}, 0);
    QFile f(scratch);
    QByteArray b = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    if (b.size() > 10) {
        qToLittleEndian<quint16>(8192, b.data() + 6);
        qToLittleEndian<quint16>(8192, b.data() + 8);
    }
    return b;
}

// A run-length BMP of 8-bit colour claiming 20000 x 20000, its data one end-of-picture code.
QByteArray Rle8Giant() {
    QByteArray b(54 + 1024, '\0');
    uchar* p = reinterpret_cast<uchar*>(b.data());
    p[0] = 'B', p[1] = 'M';
    qToLittleEndian<quint32>(quint32(b.size() + 2), p + 2);
    qToLittleEndian<quint32>(54 + 1024, p + 10);
    qToLittleEndian<quint32>(40, p + 14);
    qToLittleEndian<qint32>(20000, p + 18);
    qToLittleEndian<qint32>(20000, p + 22);
    qToLittleEndian<quint16>(1, p + 26);
    qToLittleEndian<quint16>(8, p + 28);
    qToLittleEndian<quint32>(1, p + 30);  // RLE8
    return b + QByteArray::fromHex("0001");
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1 || !QDir().mkpath(args[0])) {
        QTextStream(stderr) << "usage: leafsong_craftgen OUTDIR\n";
        return 2;
    }
    const QDir out(args[0]);
    const bool ok =
        Write(out, "a progressive giant.jpg", ProgressiveGiant()) &&
        Write(out, "b screen giant.gif", GifGiant(out.filePath(QStringLiteral(".gif")))) &&
        Write(out, "c rle8 giant.bmp", Rle8Giant()) &&
        QFile::remove(out.filePath(QStringLiteral(".gif")));
    return ok ? 0 : 1;
}
