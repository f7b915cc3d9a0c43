// Files dropped on the real program from another program, over XDND under Xvfb.
#include "e2e/album_fixture.h"

namespace leafsong::e2e {
namespace {

TEST_F(AlbumE2E, DroppedPicturesOpenTheirFolderAndDroppedMusicPlays) {
    root.writePicture(u"album/a.jpg"_s, 800, 600, qRgb(200, 60, 60));
    root.writePicture(u"dropped/b.jpg"_s, 800, 600, qRgb(60, 60, 200));
    const QString picture = root.writePicture(u"dropped/c.JPG"_s, 800, 600, qRgb(60, 200, 60));
    // A 1 s silent WAV: 8 kHz, 8-bit mono.
    const QString tune =
        root.write(u"dropped/曲 \"one\".wav"_s,
                   QByteArray::fromHex("52494646641f000057415645666d7420100000000100"
                                       "0100401f0000401f00000100080064617461401f0000") +
                       QByteArray(8000, char(128)));
    env.insert(u"QT_LOGGING_RULES"_s, u"leafsong.media.debug=true"_s);
    Start({Album()});
    ASSERT_TRUE(WaitForBook(qRgb(200, 60, 60))) << err.toStdString();

    // The source's square lies at (10, 10).
    auto drop = [&](const QStringList& files) {
        QProcess source;
        source.start(QStringLiteral(LEAFSONG_DRAG_SOURCE), files);
        bool ok = WaitForShot([&] { return Distance(shot.pixel(60, 60), qRgb(32, 160, 64)) < 40; });
        MoveTo(60, 60);
        XDo(u"mousedown 1"_s);
        MoveTo(book.BookLeft + 300, book.BookTop + 200);
        QByteArray said;
        ok = ok &&
             WaitFor([&] { return (said += source.readAllStandardOutput()).contains("action 1"); });
        XDo(u"mouseup 1"_s);
        return source.waitForFinished(10000) && ok;
    };
    // A text file first, then a picture: the album opens at the first picture of its folder.
    EXPECT_TRUE(drop({root.write(u"notes.txt"_s, "not a picture\n"), picture}));
    EXPECT_TRUE(WaitForBook(qRgb(60, 60, 200))) << err.toStdString();
    EXPECT_TRUE(drop({tune}));
    EXPECT_TRUE(WaitFor([&] { return err.contains(u"\"play NOWMEDIA\" -> 0"_s); }))
        << err.toStdString();

    Signal(SIGINT);
    ASSERT_EQ(WaitForExit(), 0);
    EXPECT_TRUE(Settings().contains("BackGroundMusic=" + tune.toUtf8() + "\n"));
    EXPECT_TRUE(Settings().contains("PicturePath=" + root.path(u"dropped/"_s).toUtf8() + "\n"));
    EXPECT_TRUE(TempFiles().isEmpty());
}

}  // namespace
}  // namespace leafsong::e2e
